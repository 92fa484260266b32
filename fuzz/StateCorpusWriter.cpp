// Writes the state fuzzer's generated seeds into the folder given: the state
// blocks and a preset file from a fresh processor and from one with both
// settings of a program in use, and a block packed by JUCE with its declaration.

#include "ModulixQR7150AudioProcessor.h"
#include "ModulixQR7150PatchXml.h"

#include <iostream>

namespace
{
    using Processor = ModulixQR7150AudioProcessor;

    void prepareUsedProgram (Processor& p)
    {
        auto& slot = p.programs[7];
        const float values[2][Processor::numParameters] { { 0.0f, 0.5f, 0.625f, 0.5f, 0.75f, 0.25f, 0.875f, 1.0f, 0.0f },
                                                          { 1.0f, 1.0f, 0.03125f, 1.0f, 1.0f, 0.0f, 0.125f, 0.0f, 1.0f } };
        slot.activeChannel = 1;
        slot.presetPath[0] = "Warm & <Wide>.vmxp";
        slot.presetPath[1] = juce::String::fromUTF8 ("Sub/Gr\xc3\xbc\xc3\x9f\x65.vmxp");
        std::copy (&values[0][0], &values[0][0] + 2 * Processor::numParameters, &slot.values[0][0]);
        p.setCurrentProgram (7);
    }

    bool write (const juce::File& file, const juce::MemoryBlock& block)
    {
        return file.replaceWithData (block.getData(), block.getSize());
    }
}

int main (int argc, char* argv[])
{
    if (argc != 2)
    {
        std::cerr << "usage: state_corpus_writer <folder>\n";
        return 1;
    }

    const juce::ScopedJuceInitialiser_GUI juceInitialiser;
    const auto folder = juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]);

    Processor fresh, used;
    prepareUsedProgram (used);

    juce::MemoryBlock bank, program, programByJuce;
    fresh.getStateInformation (bank);
    used.getCurrentProgramStateInformation (program);
    juce::AudioProcessor::copyXmlToBinary (fresh.writeCurrentProgram(), programByJuce);

    const bool written = folder.createDirectory().wasOk()
                      && write (folder.getChildFile ("bank.state"), bank)
                      && write (folder.getChildFile ("program.state"), program)
                      && write (folder.getChildFile ("program-juce.state"), programByJuce)
                      && ModulixQR7150PatchXml::writeFile (used.writePreset (true), folder.getChildFile ("preset.vmxp"));

    if (! written)
        std::cerr << "could not write into " << folder.getFullPathName() << "\n";

    return written ? 0 : 1;
}
