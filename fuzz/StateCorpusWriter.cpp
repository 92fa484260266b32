// Writes the fuzzers' generated seeds into the folder given: the state blocks
// and a preset file from a fresh processor and from one with both settings of a
// program in use, a block packed by JUCE with its declaration, the AAX plug-in's
// controls chunk ('elck') and the VST3 bundle's component state as a host saves
// them; and a bank, a program, a preset file and a component state holding
// multi-byte characters as themselves, which the writers give as references.

#include "ModulixQR7150AudioProcessor.h"
#include "ModulixQR7150PatchXml.h"

#include "AAX_CChunkDataParser.h"
#include "FakeAaxHost.h"
#include "JuceAAX_Processor.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include "../tests/support/Vst3StateForms.h"

#include <iostream>
#include <regex>
#include <string>

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

    /** The used program, with characters of two, three and four bytes in its paths. */
    void prepareMultiByteProgram (Processor& p)
    {
        prepareUsedProgram (p);
        p.programs[7].presetPath[0] = juce::String::fromUTF8 ("Warm \xe2\x82\xac/\xf0\x9f\x8e\xb8 \xc3\xa9t\xc3\xa9.vmxp");
    }

    /** The text with each reference to a character beyond ASCII replaced by the
        character itself, in UTF-8. */
    std::string withRawCharacters (const std::string& text)
    {
        static const std::regex reference ("&#([0-9]+);");
        std::string result;
        auto rest = text.cbegin();

        for (std::sregex_iterator match (text.cbegin(), text.cend(), reference), end; match != end; ++match)
        {
            const auto code = std::stoul ((*match)[1].str());
            result.append (rest, (*match)[0].first);
            result += code < 0x80 ? match->str() : juce::String::charToString ((juce::juce_wchar) code).toStdString();
            rest = (*match)[0].second;
        }

        return result.append (rest, text.cend());
    }

    /** A state block, as the processor packs one, whose characters beyond ASCII
        stand as themselves. */
    Vst3StateForms::Bytes withRawCharacters (const juce::MemoryBlock& block)
    {
        constexpr size_t headerBytes = 8;
        const std::string text (static_cast<const char*> (block.getData()) + headerBytes, block.getSize() - headerBytes - 1);
        return Vst3StateForms::pluginBlock (withRawCharacters (text).c_str());
    }

    /** The preset file of the setting, with multi-byte text as itself in its device name. */
    std::string multiBytePresetFile (Processor& p)
    {
        auto xml = p.writePreset (true);
        auto* name = xml.getChildByName ("DeviceName");
        name->deleteAllTextElements();
        name->addTextElement (juce::String::fromUTF8 ("Modulix QR7150 \xc2\xb7 Gr\xc3\xbc\xc3\x9f\x65 \xe2\x82\xac \xf0\x9f\x8e\xb8"));

        juce::XmlElement::TextFormat format;
        format.customEncoding = "UTF-8";
        format.lineWrapLength = 60;
        return withRawCharacters (xml.toString (format).toStdString());
    }

    /** The component state the VST3 wrapper writes around a block: its header,
        a bank holding the block, and the bypass after it. */
    Vst3StateForms::Bytes componentStateHolding (const Vst3StateForms::Bytes& block)
    {
        using namespace Vst3StateForms;
        return vstw (bank (withTrailer (block, bypassTree (false))));
    }

    bool write (const juce::File& file, const Vst3StateForms::Bytes& bytes)
    {
        return file.replaceWithData (bytes.data(), bytes.size());
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

    Processor fresh, used, multiByte;
    prepareUsedProgram (used);
    prepareMultiByteProgram (multiByte);

    juce::MemoryBlock bank, program, programByJuce, multiByteBank, multiByteProgram;
    fresh.getStateInformation (bank);
    used.getCurrentProgramStateInformation (program);
    multiByte.getStateInformation (multiByteBank);
    multiByte.getCurrentProgramStateInformation (multiByteProgram);
    const auto rawBank = withRawCharacters (multiByteBank);
    const auto rawPreset = multiBytePresetFile (multiByte);
    juce::AudioProcessor::copyXmlToBinary (fresh.writeCurrentProgram(), programByJuce);
    // The bundle's instance first: the AAX plug-in runs JUCE's messages on a
    // thread of its own, after which this one is no longer JUCE's message
    // thread, and creating a VST3 instance would wait for a message loop.
    const auto component = vst3ComponentState();
    const auto controls = aaxControlsChunk();

    const bool written = folder.createDirectory().wasOk()
                      && write (folder.getChildFile ("bank.state"), bank)
                      && write (folder.getChildFile ("program.state"), program)
                      && write (folder.getChildFile ("program-juce.state"), programByJuce)
                      && ! controls.isEmpty() && write (folder.getChildFile ("controls.elck"), controls)
                      && ! component.isEmpty() && write (folder.getChildFile ("component.vst3state"), component)
                      && ModulixQR7150PatchXml::writeFile (used.writePreset (true), folder.getChildFile ("preset.vmxp"))
                      && write (folder.getChildFile ("bank-utf8.state"), rawBank)
                      && write (folder.getChildFile ("program-utf8.state"), withRawCharacters (multiByteProgram))
                      && folder.getChildFile ("preset-utf8.vmxp").replaceWithData (rawPreset.data(), rawPreset.size())
                      && write (folder.getChildFile ("component-utf8.vst3state"), componentStateHolding (rawBank));

    if (! written)
        std::cerr << "could not write into " << folder.getFullPathName() << "\n";

    return written ? 0 : 1;
}
