// A host of its own for one component state, run as a child process by the
// crafted-state tests so that a crash ends this process only.
//
//   vst3_state_probe write FILE   saves the component state of an instance with
//                                 settings away from the defaults
//   vst3_state_probe keeps FILE   restores FILE into an instance with other
//                                 settings, which must keep its state as it was
//   vst3_state_probe takes FILE   restores FILE into a fresh instance, which must
//                                 then save exactly FILE
//   vst3_state_probe loads FILE   restores FILE into a fresh instance and saves
//                                 the state it then holds over FILE
//
// Each then plays, and the sound must be finite and audible. Exits 0 when all
// holds; says what failed and exits 1 otherwise.

#include "../MessagePump.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <cmath>
#include <iostream>
#include <iterator>

namespace
{
constexpr double sampleRate = 44100.0;
constexpr int blockSize = 512;

juce::MemoryBlock componentState (juce::AudioPluginInstance& instance)
{
    juce::MemoryBlock hostState, component;
    instance.getStateInformation (hostState);

    if (const auto xml = juce::AudioProcessor::getXmlFromBinary (hostState.getData(), (int) hostState.getSize()))
        if (auto* element = xml->getChildByName ("IComponent"))
            component.fromBase64Encoding (element->getAllSubText());

    return component;
}

/** Hands the bytes to the plug-in as the host's saved IComponent stream. */
void restoreComponentState (juce::AudioPluginInstance& instance, const juce::MemoryBlock& component)
{
    juce::XmlElement state ("VST3PluginState");
    state.createNewChildElement ("IComponent")->addTextElement (component.toBase64Encoding());

    juce::MemoryBlock hostState;
    juce::AudioProcessor::copyXmlToBinary (state, hostState);
    instance.setStateInformation (hostState.getData(), (int) hostState.getSize());
}

/** Type, rate, depth, mix and stereo, one of two ways, and the host's bypass. */
void moveAwayFromDefaults (juce::AudioPluginInstance& instance, bool otherWay)
{
    const auto& parameters = instance.getParameters();
    const int indices[] { 1, 2, 4, 5, 7 };
    const float oneWay[] { 0.5f, 0.35f, 0.7f, 0.3f, 1.0f }, theOther[] { 1.0f, 0.6f, 0.4f, 0.8f, 0.0f };

    for (size_t i = 0; i < std::size (indices); ++i)
        parameters.getUnchecked (indices[i])->setValue (otherWay ? theOther[i] : oneWay[i]);

    instance.getBypassParameter()->setValue (1.0f);
}

bool playsFiniteAudibleSound (juce::AudioPluginInstance& instance)
{
    instance.getBypassParameter()->setValue (0.0f);
    instance.prepareToPlay (sampleRate, blockSize);
    juce::AudioBuffer<float> buffer (2, blockSize);
    double sumOfSquares = 0.0;

    for (int block = 0, sample = 0; block < 16; ++block)
    {
        for (int i = 0; i < blockSize; ++i, ++sample)
            for (int ch = 0; ch < 2; ++ch)
                buffer.setSample (ch, i, 0.5f * std::sin (0.05f * (float) sample + (float) ch));

        juce::MidiBuffer midi;
        instance.processBlock (buffer, midi);

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < blockSize; ++i)
            {
                const auto s = buffer.getSample (ch, i);

                if (! std::isfinite (s))
                    return false;

                sumOfSquares += (double) s * (double) s;
            }
    }

    instance.releaseResources();
    return sumOfSquares > 1.0;
}

int fail (const char* what)
{
    std::cerr << "vst3_state_probe: " << what << "\n";
    return 1;
}

int probe (const juce::String& mode, const juce::File& file)
{
    juce::VST3PluginFormat format;
    juce::OwnedArray<juce::PluginDescription> types;
    format.findAllTypesForFile (types, MODULIX_VST3_BUNDLE);

    if (types.size() != 1)
        return fail ("the bundle does not load");

    juce::String error;
    const auto instance = format.createInstanceFromDescription (*types[0], sampleRate, blockSize, error);

    if (instance == nullptr)
        return fail (error.toRawUTF8());

    if (mode != "takes" && mode != "loads")
    {
        moveAwayFromDefaults (*instance, mode == "keeps");
        modulix_test::pumpMessages (100);
    }

    const auto before = componentState (*instance);

    if (mode == "write")
        return file.replaceWithData (before.getData(), before.getSize()) ? 0 : fail ("cannot write the state");

    juce::MemoryBlock stream;

    if (! file.loadFileAsData (stream))
        return fail ("cannot read the state");

    restoreComponentState (*instance, stream);
    modulix_test::pumpMessages (100);
    const auto after = componentState (*instance);

    if (mode == "keeps" && after != before)
        return fail ("the state changed");

    if (mode == "takes" && after != stream)
        return fail ("the state saved is not the state restored");

    if (mode == "loads" && ! file.replaceWithData (after.getData(), after.getSize()))
        return fail ("cannot write the state");

    return playsFiniteAudibleSound (*instance) ? 0 : fail ("the sound is not finite and audible");
}
}

int main (int argc, char* argv[])
{
    if (argc != 3)
        return fail ("usage: vst3_state_probe write|keeps|takes|loads FILE");

    const juce::ScopedJuceInitialiser_GUI juceInitialiser;
    return probe (argv[1], juce::File::getCurrentWorkingDirectory().getChildFile (argv[2]));
}
