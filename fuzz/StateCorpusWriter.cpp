// Writes the fuzzers' generated seeds into the folder given: the state blocks
// and a preset file from a fresh processor and from one with both settings of a
// program in use, a block packed by JUCE with its declaration, the AAX plug-in's
// controls chunk ('elck') and the VST3 bundle's component state as a host saves
// them.

#include "ModulixQR7150AudioProcessor.h"
#include "ModulixQR7150PatchXml.h"

#include "AAX_CChunkDataParser.h"
#include "FakeAaxHost.h"
#include "JuceAAX_Processor.h"

#include <juce_audio_processors/juce_audio_processors.h>

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

    /** The data of the controls chunk a host saves from a fresh AAX instance. */
    juce::MemoryBlock aaxControlsChunk()
    {
        FakeHost host;
        auto& instanceHost = host.newInstanceHost();
        auto* effect = new JuceAAX_Processor();
        effect->AddRef();
        instanceHost.effectParameters = effect;
        juce::MemoryBlock data;
        uint32_t size = 0;

        if (effect->Initialize (&instanceHost) == AAX_SUCCESS
            && effect->GetChunkSize (AAX_ControlsChunkID, &size) == AAX_SUCCESS)
        {
            juce::MemoryBlock chunk (AAX_SPlugInChunkHeaderSize + size, true);
            auto* header = static_cast<AAX_SPlugInChunk*> (chunk.getData());
            header->fChunkID = AAX_ControlsChunkID;

            if (effect->GetChunk (AAX_ControlsChunkID, header) == AAX_SUCCESS)
                data.append (static_cast<const char*> (chunk.getData()) + AAX_SPlugInChunkHeaderSize, (size_t) header->fSize);
        }

        effect->Uninitialize();
        effect->Release();
        return data;
    }

    /** The IComponent stream a host saves from a fresh instance of the bundle. */
    juce::MemoryBlock vst3ComponentState()
    {
        juce::VST3PluginFormat format;
        juce::OwnedArray<juce::PluginDescription> types;
        format.findAllTypesForFile (types, MODULIX_VST3_BUNDLE);
        juce::MemoryBlock hostState, component;
        juce::String error;

        if (types.size() == 1)
            if (auto instance = format.createInstanceFromDescription (*types[0], 44100.0, 512, error))
                instance->getStateInformation (hostState);

        if (const auto xml = juce::AudioProcessor::getXmlFromBinary (hostState.getData(), (int) hostState.getSize()))
            if (auto* element = xml->getChildByName ("IComponent"))
                component.fromBase64Encoding (element->getAllSubText());

        return component;
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
    const auto controls = aaxControlsChunk();
    const auto component = vst3ComponentState();

    const bool written = folder.createDirectory().wasOk()
                      && write (folder.getChildFile ("bank.state"), bank)
                      && write (folder.getChildFile ("program.state"), program)
                      && write (folder.getChildFile ("program-juce.state"), programByJuce)
                      && ! controls.isEmpty() && write (folder.getChildFile ("controls.elck"), controls)
                      && ! component.isEmpty() && write (folder.getChildFile ("component.vst3state"), component)
                      && ModulixQR7150PatchXml::writeFile (used.writePreset (true), folder.getChildFile ("preset.vmxp"));

    if (! written)
        std::cerr << "could not write into " << folder.getFullPathName() << "\n";

    return written ? 0 : 1;
}
