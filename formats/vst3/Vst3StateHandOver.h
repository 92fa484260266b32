#pragma once

namespace juce { class AudioProcessor; }

/** Hands the plug-in's block of a VST3 component state to the processor, for
    JUCE's VST3 wrapper, which answers the host's setState with the outcome and
    applies the rest of the state (its bypass) only when the block was taken.
*/
namespace Vst3StateHandOver
{
    /** Gives the block to the processor as setStateInformation does; false when
        the plug-in's reader refused it, which then changed nothing. */
    bool handToPlugin (juce::AudioProcessor& processor, const void* data, int size);
}
