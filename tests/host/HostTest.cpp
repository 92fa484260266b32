// Loads the built VST3 bundle through JUCE's VST3 host, as a DAW would.

#include <juce_audio_processors/juce_audio_processors.h>

#include "RateSyncCases.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace juce
{
    // JUCE's Linux message queue pump.
    bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
}

namespace
{
using Buffer = juce::AudioBuffer<float>;
using Instance = juce::AudioPluginInstance;

constexpr double sampleRate = 44100.0;
constexpr int blockSize = 512;
constexpr int fadeLength = 2048;  // the band of 44100 Hz

enum Parameter { onBypass, chorusType, rate, rateSync, depth, mix, level, stereo, sync };

/** Runs this thread's message loop for a while: the plug-in's own timers need
    only time, the host's parameter hand-over needs the loop. */
void pumpMessages (int milliseconds)
{
    const auto end = juce::Time::getMillisecondCounter() + static_cast<juce::uint32> (milliseconds);

    while (juce::Time::getMillisecondCounter() < end)
        if (! juce::dispatchNextMessageOnSystemQueue (true))
            juce::Thread::sleep (1);
}

Buffer makeSignal (int numSamples, juce::int64 start)
{
    Buffer buffer (2, numSamples);

    for (int i = 0; i < numSamples; ++i)
    {
        const auto t = static_cast<float> (start + i) / static_cast<float> (sampleRate);
        buffer.setSample (0, i, 0.5f * std::sin (juce::MathConstants<float>::twoPi * 330.0f * t));
        buffer.setSample (1, i, 0.3f * std::sin (juce::MathConstants<float>::twoPi * 517.0f * t));
    }

    return buffer;
}

bool differ (const Buffer& a, const Buffer& b)
{
    for (int ch = 0; ch < a.getNumChannels(); ++ch)
        for (int i = 0; i < a.getNumSamples(); ++i)
            if (a.getSample (ch, i) != b.getSample (ch, i))
                return true;

    return false;
}

/** A loaded plug-in with its own continuing input signal. */
struct LoadedPlugin
{
    explicit LoadedPlugin (std::unique_ptr<Instance> p) : instance (std::move (p)) {}

    juce::AudioProcessorParameter& parameter (int index)  { return *instance->getParameters().getUnchecked (index); }

    void prepare()  { instance->prepareToPlay (sampleRate, blockSize); }

    /** Processes the next numSamples of the signal, in host-sized blocks. */
    std::pair<Buffer, Buffer> run (int numSamples)
    {
        auto input = makeSignal (numSamples, position);
        position += numSamples;
        Buffer output (2, numSamples);

        for (int start = 0; start < numSamples; start += blockSize)
        {
            const int length = std::min (blockSize, numSamples - start);
            Buffer block (2, length);

            for (int ch = 0; ch < 2; ++ch)
                block.copyFrom (ch, 0, input, ch, start, length);

            juce::MidiBuffer midi;
            instance->processBlock (block, midi);

            for (int ch = 0; ch < 2; ++ch)
                output.copyFrom (ch, start, block, ch, 0, length);
        }

        return { std::move (input), std::move (output) };
    }

    Buffer process (int numSamples)  { return run (numSamples).second; }

    /** Processes blocks beside another instance, on the same signal, running
        the message loop between blocks, until this one sounds different: a
        change it was given, and only it, has been heard. False when that takes
        many seconds. */
    bool processUntilItDiffersFrom (LoadedPlugin& other)
    {
        const auto end = juce::Time::getMillisecondCounter() + 20000u;

        while (juce::Time::getMillisecondCounter() < end)
        {
            if (differ (process (blockSize), other.process (blockSize)))
                return true;

            pumpMessages (5);
        }

        return false;
    }

    /** Chooses a chorus type the way automation does, waits until it is heard
        beside an instance staying on the first type, lets its fade finish, and
        starts afresh on it from the start of the signal: how long the switch
        took leaves no trace in what follows. */
    void chooseType (float value, LoadedPlugin& stayingOnFirst)
    {
        parameter (chorusType).setValue (value);
        EXPECT_TRUE (processUntilItDiffersFrom (stayingOnFirst));
        process (fadeLength + blockSize);
        prepare();
        position = 0;
    }

    std::unique_ptr<Instance> instance;
    juce::int64 position = 0;
};

bool isFiniteAndAudible (const Buffer& b)
{
    for (int ch = 0; ch < b.getNumChannels(); ++ch)
    {
        for (int i = 0; i < b.getNumSamples(); ++i)
            if (! std::isfinite (b.getSample (ch, i)))
                return false;

        if (b.getRMSLevel (ch, 0, b.getNumSamples()) < 1.0e-3f)
            return false;
    }

    return true;
}

/** A play head with a fixed tempo. */
struct TempoPlayHead : juce::AudioPlayHead
{
    explicit TempoPlayHead (double tempo) : bpm (tempo) {}

    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo info;
        info.setBpm (bpm);
        info.setIsPlaying (true);
        return info;
    }

    double bpm;
};

juce::uint32 bigEndianWord (const juce::MemoryBlock& data, size_t offset)
{
    return juce::ByteOrder::bigEndianInt (static_cast<const char*> (data.getData()) + offset);
}

juce::uint32 littleEndianWord (const juce::MemoryBlock& data, size_t offset)
{
    return juce::ByteOrder::littleEndianInt (static_cast<const char*> (data.getData()) + offset);
}

/** The component stream inside the host's saved state. */
juce::MemoryBlock decodeComponentState (const juce::MemoryBlock& hostState)
{
    juce::MemoryBlock component;
    const auto xml = juce::AudioProcessor::getXmlFromBinary (hostState.getData(), static_cast<int> (hostState.getSize()));

    if (xml != nullptr)
        if (auto* element = xml->getChildByName ("IComponent"))
            component.fromBase64Encoding (element->getAllSubText());

    return component;
}

//==============================================================================
class HostTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        format.findAllTypesForFile (types, MODULIX_VST3_BUNDLE);
        ASSERT_EQ (types.size(), 1) << MODULIX_VST3_BUNDLE;
    }

    LoadedPlugin load()
    {
        juce::String error;
        auto instance = format.createInstanceFromDescription (*types[0], sampleRate, blockSize, error);
        EXPECT_NE (instance, nullptr) << error;
        return LoadedPlugin (std::move (instance));
    }

    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    juce::VST3PluginFormat format;
    juce::OwnedArray<juce::PluginDescription> types;
};

TEST_F (HostTest, DescribesItselfByNameVendorVersionAndCategory)
{
    const auto& d = *types[0];

    EXPECT_EQ (d.name, "Modulix QR7150");
    EXPECT_EQ (d.manufacturerName, "Velora");
    EXPECT_EQ (d.version, "1.0.1");
    EXPECT_EQ (d.pluginFormatName, "VST3");
    EXPECT_EQ (d.category, "Fx|Modulation");
    EXPECT_FALSE (d.isInstrument);
    EXPECT_EQ (d.numInputChannels, 2);
    EXPECT_EQ (d.numOutputChannels, 2);

    auto plugin = load();
    EXPECT_FALSE (plugin.instance->acceptsMidi());
    EXPECT_FALSE (plugin.instance->producesMidi());
    EXPECT_TRUE (plugin.instance->hasEditor());
}

TEST_F (HostTest, ShowsNineParametersByIndexThenItsBypassAndProgramParameters)
{
    struct Row { const char* name; float defaultValue; const char* text; };

    const std::vector<Row> rows {
        { "onBypass", 1.0f, "On" }, { "chorusType", 0.0f, "Type 1" }, { "rate", 0.2f, "2.00" },
        { "rateSync", 1.0f / 6.0f, "1.67" }, { "depth", 0.2f, "2.00" }, { "mix", 0.5f, "5.00" },
        { "level", 0.5f, "5.00" }, { "stereo", 0.0f, "Off" }, { "sync", 0.0f, "Off" },
    };

    auto plugin = load();
    const auto& parameters = plugin.instance->getParameters();
    ASSERT_EQ (parameters.size(), 11);

    for (int i = 0; i < 9; ++i)
    {
        const auto& row = rows[static_cast<size_t> (i)];
        auto* p = dynamic_cast<juce::HostedAudioProcessorParameter*> (parameters[i]);
        ASSERT_NE (p, nullptr);
        SCOPED_TRACE (row.name);

        EXPECT_EQ (p->getParameterID(), juce::String (i));
        EXPECT_EQ (p->getName (100), row.name);
        EXPECT_FLOAT_EQ (p->getDefaultValue(), row.defaultValue);
        EXPECT_FLOAT_EQ (p->getValue(), row.defaultValue);
        EXPECT_EQ (p->getText (p->getValue(), 100), row.text);
    }

    auto* bypass = plugin.instance->getBypassParameter();
    ASSERT_NE (bypass, nullptr);
    EXPECT_EQ (bypass, parameters[9]);
    EXPECT_EQ (bypass->getName (100), "Bypass");
    EXPECT_EQ (bypass->getValue(), 0.0f);

    // The program list of the bank is driven through one more parameter.
    EXPECT_EQ (parameters[10]->getName (100), "Program");
}

TEST_F (HostTest, OffersTwelveProgramsNamedInit)
{
    auto plugin = load();
    ASSERT_EQ (plugin.instance->getNumPrograms(), 12);

    for (int i = 0; i < 12; ++i)
        EXPECT_EQ (plugin.instance->getProgramName (i), "Init") << i;
}

TEST_F (HostTest, EachChorusTypeSoundsDifferentFromTheOthersAndFromTheInput)
{
    std::vector<Buffer> outputs;

    for (const float type : { 0.0f, 0.5f, 1.0f })
    {
        SCOPED_TRACE (type);
        auto plugin = load();
        auto stayingOnFirst = load();
        plugin.prepare();
        stayingOnFirst.prepare();

        if (type != 0.0f)
            plugin.chooseType (type, stayingOnFirst);

        const auto [input, output] = plugin.run (4096);
        EXPECT_TRUE (isFiniteAndAudible (output));
        EXPECT_TRUE (differ (output, input));
        outputs.push_back (output);
    }

    EXPECT_TRUE (differ (outputs[0], outputs[1]));
    EXPECT_TRUE (differ (outputs[1], outputs[2]));
    EXPECT_TRUE (differ (outputs[0], outputs[2]));
}

TEST_F (HostTest, ChorusTypeChangeIsHeardOnlyAfterTheSwitchDelay)
{
    auto changing = load();
    auto steady = load();

    for (auto* p : { &changing, &steady })
    {
        p->prepare();
        p->process (2048);
    }

    // The delay's timer fires only through the message loop, which does not
    // run before this block: the change cannot have been heard yet.
    changing.parameter (chorusType).setValue (1.0f);
    EXPECT_FALSE (differ (changing.process (blockSize), steady.process (blockSize)));

    EXPECT_TRUE (changing.processUntilItDiffersFrom (steady));
}

TEST_F (HostTest, HostBypassPassesTheInputUnchanged)
{
    auto plugin = load();
    plugin.prepare();
    plugin.process (2048);

    plugin.instance->getBypassParameter()->setValue (1.0f);
    plugin.process (blockSize);

    const auto [input, output] = plugin.run (2048);
    EXPECT_FALSE (differ (output, input));
}

TEST_F (HostTest, HostTempoDrivesTheSyncedRateOnlyWhileSyncIsOn)
{
    struct Case { double tempo; bool syncOn; };

    const auto render = [this] (Case c)
    {
        TempoPlayHead head (c.tempo);
        auto plugin = load();
        plugin.instance->setPlayHead (&head);
        plugin.parameter (sync).setValue (c.syncOn ? 1.0f : 0.0f);
        plugin.parameter (rateSync).setValue (0.5f);
        plugin.parameter (depth).setValue (0.8f);
        pumpMessages (50);
        plugin.prepare();
        auto output = plugin.process (44100);
        plugin.instance->releaseResources();
        plugin.instance->setPlayHead (nullptr);
        return output;
    };

    const auto slowSynced = render ({ 60.0, true });
    EXPECT_FALSE (differ (slowSynced, render ({ 60.0, true })));
    EXPECT_TRUE (differ (slowSynced, render ({ 200.0, true })));
    EXPECT_FALSE (differ (render ({ 60.0, false }), render ({ 200.0, false })));
}

TEST_F (HostTest, ComponentStateCarriesTheVst2BankHeaderAroundTheXmlBlock)
{
    auto plugin = load();
    plugin.instance->getBypassParameter()->setValue (1.0f);
    pumpMessages (50);

    juce::MemoryBlock hostState;
    plugin.instance->getStateInformation (hostState);
    const auto component = decodeComponentState (hostState);
    ASSERT_GT (component.getSize(), 16u + 160u + 8u);

    EXPECT_EQ (bigEndianWord (component, 0), juce::ByteOrder::bigEndianInt ("VstW"));
    EXPECT_EQ (bigEndianWord (component, 4), 8u);
    EXPECT_EQ (bigEndianWord (component, 8), 1u);
    EXPECT_EQ (bigEndianWord (component, 12), 1u);  // bypassed by the host

    constexpr size_t bank = 16;
    const auto chunkSize = bigEndianWord (component, bank + 156);
    EXPECT_EQ (bigEndianWord (component, bank), juce::ByteOrder::bigEndianInt ("CcnK"));
    EXPECT_EQ (bigEndianWord (component, bank + 4), 160u - 8u + chunkSize);
    EXPECT_EQ (bigEndianWord (component, bank + 8), juce::ByteOrder::bigEndianInt ("FBCh"));
    EXPECT_EQ (bigEndianWord (component, bank + 12), 2u);
    EXPECT_EQ (bigEndianWord (component, bank + 16), juce::ByteOrder::bigEndianInt ("Vqr7"));
    EXPECT_EQ (bigEndianWord (component, bank + 20), 0x10001u);

    for (size_t offset = bank + 24; offset < bank + 156; offset += 4)
        EXPECT_EQ (bigEndianWord (component, offset), 0u) << offset;

    EXPECT_EQ (component.getSize(), bank + 160 + chunkSize);

    constexpr size_t chunk = bank + 160;
    EXPECT_EQ (std::memcmp (static_cast<const char*> (component.getData()) + chunk, "VC2!", 4), 0);
    const auto xmlBytes = littleEndianWord (component, chunk + 4);
    ASSERT_LT (chunk + 8 + xmlBytes, component.getSize());

    const char* text = static_cast<const char*> (component.getData()) + chunk + 8;
    EXPECT_EQ (text[xmlBytes], '\0');
    const auto xml = juce::parseXML (juce::String::fromUTF8 (text));
    ASSERT_NE (xml, nullptr);
    EXPECT_TRUE (xml->hasTagName ("veloraPatch"));
}

TEST_F (HostTest, StateSavedByTheHostRestoresSoundAndParametersInASecondInstance)
{
    const std::vector<std::pair<int, float>> settings {
        { chorusType, 0.5f }, { rate, 0.35f }, { depth, 0.7f }, { mix, 0.3f }, { level, 0.6f }, { stereo, 1.0f },
    };

    auto original = load();

    for (const auto& [index, value] : settings)
        original.parameter (index).setValue (value);

    original.prepare();
    original.process (blockSize);

    juce::MemoryBlock hostState;
    original.instance->getStateInformation (hostState);

    auto restored = load();
    restored.instance->setStateInformation (hostState.getData(), static_cast<int> (hostState.getSize()));

    // The host learns the restored values through the message loop.
    const auto hostHasTheValues = [&]
    {
        for (int i = 0; i < 9; ++i)
            if (restored.parameter (i).getValue() != original.parameter (i).getValue())
                return false;

        return true;
    };

    for (const auto end = juce::Time::getMillisecondCounter() + 20000u;
         ! hostHasTheValues() && juce::Time::getMillisecondCounter() < end;)
        pumpMessages (5);

    for (int i = 0; i < 9; ++i)
        EXPECT_FLOAT_EQ (restored.parameter (i).getValue(), original.parameter (i).getValue()) << i;

    // The same settings entered by hand must sound the same as the restored ones.
    auto byHand = load();

    for (const auto& [index, value] : settings)
        byHand.parameter (index).setValue (value);

    pumpMessages (100);

    for (auto* p : { &restored, &byHand })
        p->prepare();

    const auto restoredSound = restored.process (8192);
    EXPECT_FALSE (differ (restoredSound, byHand.process (8192)));

    auto fresh = load();
    fresh.prepare();
    EXPECT_TRUE (differ (restoredSound, fresh.process (8192)));
}

/** The first blocks the plug-in plays once prepared with the synced rate at
    that value, from the start of its signal each time. The host hands a new
    value over in the next block; preparing again puts it in force at once. */
Buffer soundAt (LoadedPlugin& plugin, float rateSyncValue)
{
    plugin.instance->releaseResources();
    plugin.parameter (rateSync).setValue (rateSyncValue);
    plugin.prepare();
    plugin.process (blockSize);
    plugin.instance->releaseResources();
    plugin.prepare();
    plugin.position = 0;
    return plugin.process (8 * blockSize);
}

int storedStep (Instance& instance)
{
    juce::MemoryBlock hostState;
    instance.getStateInformation (hostState);
    const auto component = decodeComponentState (hostState);
    return RateSyncCases::firstStoredStep (static_cast<const char*> (component.getData()), component.getSize());
}

TEST_F (HostTest, ARateSyncValueKeptAsTextComesBackAsItsStepInTheSoundAndTheBank)
{
    auto plugin = load();
    plugin.parameter (sync).setValue (1.0f);

    // Each step played from its knob position; neighbours sound different, so
    // a sound names its step.
    std::vector<Buffer> stepSounds;

    for (int k = 0; k < RateSyncCases::numSteps; ++k)
        stepSounds.push_back (soundAt (plugin, RateSyncCases::positionValue (k)));

    for (size_t k = 1; k < stepSounds.size(); ++k)
        ASSERT_TRUE (differ (stepSounds[k], stepSounds[k - 1])) << k;

    for (const auto& c : RateSyncCases::makeCases())
    {
        EXPECT_FALSE (differ (soundAt (plugin, c.value), stepSounds[static_cast<size_t> (c.step)])) << c.label;
        EXPECT_EQ (storedStep (*plugin.instance), c.step) << c.label;
    }
}

TEST_F (HostTest, AProjectReopenedFromItsStateAndParameterTextsSavesTheSameState)
{
    // The host hands changed values over with the next block it processes.
    const auto handOver = [] (LoadedPlugin& plugin)
    {
        plugin.prepare();
        plugin.process (blockSize);
    };

    for (int k = 0; k < RateSyncCases::numSteps; ++k)
    {
        SCOPED_TRACE ("step " + std::to_string (k));
        auto saved = load();
        auto reopened = load();

        // The synced rate as a loaded preset or project sets it, beside other settings.
        const std::pair<int, float> settings[] {
            { chorusType, 0.5f }, { rate, 0.35f }, { rateSync, RateSyncCases::nominalValue (k) },
            { depth, 0.7f }, { sync, 1.0f },
        };

        for (const auto& [index, value] : settings)
            saved.parameter (index).setValue (value);

        handOver (saved);
        juce::MemoryBlock state;
        saved.instance->getStateInformation (state);
        std::vector<std::string> texts;

        for (auto* p : saved.instance->getParameters())
            texts.push_back (RateSyncCases::asText (p->getValue(), 6));

        reopened.instance->setStateInformation (state.getData(), static_cast<int> (state.getSize()));

        for (int i = 0; i < reopened.instance->getParameters().size(); ++i)
            reopened.parameter (i).setValue (std::strtof (texts[static_cast<size_t> (i)].c_str(), nullptr));

        handOver (reopened);
        juce::MemoryBlock stateAgain;
        reopened.instance->getStateInformation (stateAgain);
        EXPECT_TRUE (stateAgain == state);
        EXPECT_EQ (storedStep (*reopened.instance), k);
    }
}

} // namespace
