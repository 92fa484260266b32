#include "Vst3StateHandOver.h"

#include "ModulixQR7150AudioProcessor.h"

bool Vst3StateHandOver::handToPlugin (juce::AudioProcessor& processor, const void* data, int size)
{
    if (auto* plugin = dynamic_cast<ModulixQR7150AudioProcessor*> (&processor))
        return plugin->takeStateInformation (data, size);

    // A processor that cannot tell: taken, as JUCE has it.
    processor.setStateInformation (data, size);
    return true;
}
