// A host of its own for one component state, run as a child process by the
// crafted-state tests so that a crash ends this process only.
//
//   vst3_state_probe write FILE           saves the component state of an
//                                         instance with settings away from the
//                                         defaults
//   vst3_state_probe keeps FILE [READS]   restores FILE into an instance with
//                                         other settings: setState must answer
//                                         kResultFalse and the instance keep
//                                         its state as it was
//   vst3_state_probe takes FILE [READS]   restores FILE into a fresh instance:
//                                         setState must answer kResultTrue and
//                                         the instance then save exactly what
//                                         "write" saves
//   vst3_state_probe loads FILE [READS]   restores FILE into a fresh instance:
//                                         setState must answer kResultTrue, and
//                                         the state the instance then holds is
//                                         saved over FILE
//
// Each restore goes to the component's setState, in a stream that knows its
// size and reads as READS says: the most bytes it hands over per read, and
// optionally ",stops@N" or ",fails@N", from byte N on reads give nothing or
// fail. Without READS every read gives all it is asked for, and then the same
// bytes also go the road of JUCE's host (which drops setState's answer), after
// which the state must hold as well. Each then plays, and the sound must be
// finite and audible. Exits 0 when all holds; says what failed and exits 1
// otherwise.

#include "../MessagePump.h"
#include "Vst3HostStream.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <pluginterfaces/vst/ivstcomponent.h>

#include <cmath>
#include <iostream>
#include <iterator>
#include <memory>

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
void restoreThroughJucesHost (juce::AudioPluginInstance& instance, const juce::MemoryBlock& component)
{
    juce::XmlElement state ("VST3PluginState");
    state.createNewChildElement ("IComponent")->addTextElement (component.toBase64Encoding());

    juce::MemoryBlock hostState;
    juce::AudioProcessor::copyXmlToBinary (state, hostState);
    instance.setStateInformation (hostState.getData(), (int) hostState.getSize());
}

Steinberg::Vst::IComponent* componentOf (juce::AudioPluginInstance& instance)
{
    struct : juce::ExtensionsVisitor
    {
        void visitVST3Client (const VST3Client& client) override  { found = client.getIComponentPtr(); }
        Steinberg::Vst::IComponent* found = nullptr;
    } visitor;

    instance.getExtensions (visitor);
    return visitor.found;
}

/** Hands the bytes to the component's setState as a host's stream reading as
    described; true if it answered kResultTrue. */
bool restoreThroughSetState (juce::AudioPluginInstance& instance, const juce::MemoryBlock& component,
                             const Vst3HostStream::Reads& reads)
{
    Vst3HostStream::Stream stream (component.getData(), component.getSize(), reads);
    auto* target = componentOf (instance);
    return target != nullptr && target->setState (&stream) == Steinberg::kResultTrue;
}

/** "PIECE", "PIECE,stops@N" or "PIECE,fails@N"; an empty text reads whole. */
Vst3HostStream::Reads parseReads (const juce::String& text)
{
    Vst3HostStream::Reads reads;

    if (text.isEmpty())
        return reads;

    reads.largestPiece = text.upToFirstOccurrenceOf (",", false, false).getIntValue();
    const auto end = text.fromFirstOccurrenceOf (",", false, false);

    if (end.isNotEmpty())
    {
        reads.failFromStop = end.startsWith ("fails@");
        reads.stopAt = (size_t) end.fromFirstOccurrenceOf ("@", false, false).getLargeIntValue();
    }

    return reads;
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
    modulix_test::pumpMessages (100);
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

/** After setState, the instance must hold the expected state; without READS
    also after the same bytes went JUCE's host road. nullptr when it does. */
const char* whatDoesNotHold (juce::AudioPluginInstance& instance, const juce::MemoryBlock& stream,
                             const juce::MemoryBlock& expected, bool alsoThroughJucesHost)
{
    if (componentState (instance) != expected)
        return "the state after setState is not the one expected";

    if (! alsoThroughJucesHost)
        return nullptr;

    restoreThroughJucesHost (instance, stream);
    modulix_test::pumpMessages (100);

    return componentState (instance) != expected ? "the state after JUCE's host restored it is not the one expected"
                                                 : nullptr;
}

struct Host
{
    std::unique_ptr<juce::AudioPluginInstance> createInstance (juce::String& error)
    {
        juce::OwnedArray<juce::PluginDescription> types;
        format.findAllTypesForFile (types, MODULIX_VST3_BUNDLE);

        if (types.size() != 1)
        {
            error = "the bundle does not load";
            return {};
        }

        return format.createInstanceFromDescription (*types[0], sampleRate, blockSize, error);
    }

    juce::VST3PluginFormat format;
};

int probe (const juce::String& mode, const juce::File& file, const juce::String& readsText)
{
    Host host;
    juce::String error;
    const auto instance = host.createInstance (error);

    if (instance == nullptr)
        return fail (error.toRawUTF8());

    if (mode == "write")
    {
        moveAwayFromDefaults (*instance, false);
        const auto saved = componentState (*instance);
        return file.replaceWithData (saved.getData(), saved.getSize()) ? 0 : fail ("cannot write the state");
    }

    juce::MemoryBlock expected;

    if (mode == "keeps")
    {
        moveAwayFromDefaults (*instance, true);
        expected = componentState (*instance);
    }
    else if (mode == "takes")
    {
        const auto written = host.createInstance (error);

        if (written == nullptr)
            return fail (error.toRawUTF8());

        moveAwayFromDefaults (*written, false);
        expected = componentState (*written);
    }

    juce::MemoryBlock stream;

    if (! file.loadFileAsData (stream))
        return fail ("cannot read the state");

    const bool shouldTake = mode != "keeps";

    if (restoreThroughSetState (*instance, stream, parseReads (readsText)) != shouldTake)
        return fail (shouldTake ? "setState refused the state" : "setState took the state");

    modulix_test::pumpMessages (100);

    if (mode == "loads")
    {
        const auto loaded = componentState (*instance);

        if (! file.replaceWithData (loaded.getData(), loaded.getSize()))
            return fail ("cannot write the state");
    }
    else if (const auto* fault = whatDoesNotHold (*instance, stream, expected, readsText.isEmpty()))
    {
        return fail (fault);
    }

    return playsFiniteAudibleSound (*instance) ? 0 : fail ("the sound is not finite and audible");
}
}

int main (int argc, char* argv[])
{
    if (argc != 3 && argc != 4)
        return fail ("usage: vst3_state_probe write|keeps|takes|loads FILE [READS]");

    const juce::ScopedJuceInitialiser_GUI juceInitialiser;
    return probe (argv[1], juce::File::getCurrentWorkingDirectory().getChildFile (argv[2]), argc == 4 ? argv[3] : "");
}
