// The plug-in's effect parameters object driven by the fake AAX host: its
// parameters, the automation round trip, the bypass packet and audio, and the
// two chunks a host saves and restores.
#include "JuceAaxFixture.h"

#include "../../support/CraftedXmlTexts.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <limits>
#include <mutex>
#include <thread>

namespace
{
const char* const processorIDs[] { "0", "1", "2", "3", "4", "5", "6", "7", "8" };
constexpr float defaults[] { 1.0f, 0.0f, 0.2f, 1.0f / 6.0f, 0.2f, 0.5f, 0.5f, 0.0f, 0.0f };

class JuceAaxProcessorTest : public FakeHostFixture
{
protected:
    std::vector<std::string> posts() const  { return host.callsStartingWith ("automation"); }
};

/** A control's whole gesture, as the editor makes it. */
void changeAsTheEditorDoes (juce::AudioProcessor& processor, int index, float value)
{
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    processor.beginParameterChangeGesture (index);
    processor.setParameterNotifyingHost (index, value);
    processor.endParameterChangeGesture (index);
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
}

/** A host thread of its own that runs one call at a time, for a host that
    asks for a chunk's size and then the chunk on the same thread. */
class HostThread
{
public:
    HostThread() : worker ([this] { serve(); }) {}

    ~HostThread()
    {
        post (nullptr);
        worker.join();
    }

    /** Runs call on this thread and waits for it to finish. */
    void run (const std::function<void()>& call)
    {
        std::promise<void> done;
        post ([&] { call(); done.set_value(); });
        done.get_future().wait();
    }

private:
    void post (std::function<void()> task)
    {
        {
            const std::lock_guard<std::mutex> guard (lock);
            tasks.push_back (std::move (task));
        }

        wake.notify_one();
    }

    void serve()
    {
        for (;;)
        {
            std::function<void()> task;

            {
                std::unique_lock<std::mutex> guard (lock);
                wake.wait (guard, [this] { return ! tasks.empty(); });
                task = std::move (tasks.front());
                tasks.pop_front();
            }

            if (task == nullptr)
                return;

            task();
        }
    }

    std::mutex lock;
    std::condition_variable wake;
    std::deque<std::function<void()>> tasks;
    std::thread worker;
};

std::vector<float> sine (size_t length, double frequency)
{
    std::vector<float> samples (length);
    for (size_t i = 0; i < length; ++i)
        samples[i] = static_cast<float> (0.5 * std::sin (2.0 * juce::MathConstants<double>::pi * frequency * static_cast<double> (i) / 44100.0));
    return samples;
}
}

TEST_F (JuceAaxProcessorTest, TheHostSeesTheBypassThenTheNineParameters)
{
    AaxInstance plugin (host, true);
    ASSERT_EQ (plugin.result, AAX_SUCCESS);

    int32_t count = 0;
    plugin.effect->GetNumberOfParameters (&count);
    ASSERT_EQ (count, 10);

    AAX_CString id, name;
    plugin.effect->GetParameterIDFromIndex (0, &id);
    EXPECT_STREQ (id.Get(), "MasterBypassID");
    plugin.effect->GetParameterName (id.Get(), &name);
    EXPECT_STREQ (name.Get(), "Master Bypass");
    EXPECT_EQ (plugin.text ("MasterBypassID"), "bypass");

    int32_t steps = 0;
    AAX_EParameterType type = AAX_eParameterType_Continuous;
    plugin.effect->GetParameterNumberOfSteps ("MasterBypassID", &steps);
    plugin.effect->GetParameterType ("MasterBypassID", &type);
    EXPECT_EQ (steps, 2);
    EXPECT_EQ (type, AAX_eParameterType_Discrete);

    for (int i = 0; i < 9; ++i)
    {
        plugin.effect->GetParameterIDFromIndex (i + 1, &id);
        EXPECT_STREQ (id.Get(), processorIDs[i]);

        plugin.effect->GetParameterName (processorIDs[i], &name);
        EXPECT_STREQ (name.Get(), ModulixQR7150AudioProcessor::parameterIds[i]);
        plugin.effect->GetParameterNameOfLength (processorIDs[i], &name, 4);
        EXPECT_EQ (std::string (name.Get()), std::string (ModulixQR7150AudioProcessor::parameterIds[i]).substr (0, 4));

        double defaultValue = -1.0;
        plugin.effect->GetParameterDefaultNormalizedValue (processorIDs[i], &defaultValue);
        EXPECT_EQ (defaultValue, static_cast<double> (defaults[i])) << i;
        EXPECT_EQ (plugin.value (processorIDs[i]), static_cast<double> (defaults[i])) << i;
        EXPECT_EQ (plugin.text (processorIDs[i]), juce::String (defaults[i], 3).toStdString()) << i;

        AAX_CBoolean automatable = 0;
        AAX_EParameterOrientation orientation = -1;
        plugin.effect->GetParameterIsAutomatable (processorIDs[i], &automatable);
        plugin.effect->GetParameterType (processorIDs[i], &type);
        plugin.effect->GetParameterOrientation (processorIDs[i], &orientation);
        EXPECT_EQ (automatable, 1);
        EXPECT_EQ (type, AAX_eParameterType_Continuous);
        EXPECT_EQ (orientation, 0);
    }

    double parsed = 0.0;
    EXPECT_EQ (plugin.effect->GetParameterValueFromString ("4", &parsed, AAX_CString ("0.750")), AAX_SUCCESS);
    EXPECT_EQ (parsed, 0.75);
    EXPECT_EQ (plugin.effect->GetParameterStringFromValue ("4", 0.25, &name, 3), AAX_SUCCESS);
    EXPECT_STREQ (name.Get(), "0.2");
}

TEST_F (JuceAaxProcessorTest, HostSetsReachTheProcessorOnlyWithTheHostsAnswer)
{
    AaxInstance plugin (host, true);
    host.clearCalls();

    EXPECT_EQ (plugin.effect->SetParameterNormalizedValue ("4", 0.7), AAX_SUCCESS);
    EXPECT_EQ (plugin.processor().currentValues[4].load(), 0.2f);
    EXPECT_EQ (plugin.value ("4"), static_cast<double> (0.2f));
    EXPECT_EQ (posts(), (std::vector<std::string> { "automation1.PostTouchRequest(4)",
                                                    "automation1.PostSetValueRequest(4, " + describeNumber (static_cast<double> (0.7f)) + ")",
                                                    "automation1.PostReleaseRequest(4)" }));

    EXPECT_EQ (plugin.instance.pump(), 1);
    EXPECT_EQ (plugin.processor().currentValues[4].load(), 0.7f);
    EXPECT_EQ (plugin.value ("4"), static_cast<double> (0.7f));
    EXPECT_EQ (plugin.text ("4"), "0.700");

    plugin.effect->SetParameterNormalizedRelative ("6", 0.8);
    plugin.instance.pump();
    EXPECT_EQ (plugin.processor().currentValues[6].load(), 1.0f);

    plugin.effect->SetParameterNormalizedRelative ("6", -3.0);
    plugin.instance.pump();
    EXPECT_EQ (plugin.value ("6"), 0.0);
}

TEST_F (JuceAaxProcessorTest, WithoutAutomationSetsAreStoredAtOnce)
{
    AaxInstance plugin (host, false);
    ASSERT_EQ (plugin.result, AAX_SUCCESS);

    plugin.effect->SetParameterNormalizedValue ("5", 0.9);
    EXPECT_EQ (plugin.processor().currentValues[5].load(), 0.9f);
    EXPECT_EQ (plugin.text ("5"), "0.900");

    plugin.effect->SetParameterNormalizedValue ("MasterBypassID", 1.0);
    EXPECT_EQ (plugin.text ("MasterBypassID"), "on");
}

TEST_F (JuceAaxProcessorTest, EditorChangesAskTheHostAndKeepTheProcessorsValue)
{
    AaxInstance plugin (host, true);
    host.clearCalls();

    changeAsTheEditorDoes (plugin.processor(), 5, 0.9f);

    EXPECT_EQ (plugin.processor().currentValues[5].load(), 0.9f) << "the editor's value stays while the host answers";
    EXPECT_EQ (posts().front(), "automation1.PostTouchRequest(5)");
    EXPECT_EQ (posts().back(), "automation1.PostReleaseRequest(5)");
    EXPECT_EQ (plugin.instance.automation.pendingRequests(), 1u);

    plugin.instance.pump();
    EXPECT_EQ (plugin.text ("5"), "0.900");
}

TEST_F (JuceAaxProcessorTest, TheBypassIsPostedOncePerChangeAndReachesTheAudio)
{
    AaxInstance plugin (host, true);
    const auto input = sine (512, 441.0);
    auto left = input, right = input;

    EXPECT_EQ (plugin.effect->GenerateCoefficients(), AAX_SUCCESS);
    EXPECT_EQ (plugin.effect->GenerateCoefficients(), AAX_SUCCESS);
    ASSERT_EQ (plugin.instance.controller.packets.size(), 1u);
    EXPECT_EQ (plugin.instance.controller.packets[0].fieldIndex, 3);
    EXPECT_EQ (plugin.instance.controller.packets[0].bytes, (std::vector<uint8_t> { 0, 0, 0, 0 }));

    plugin.deliverPackets();
    plugin.render (left, right);
    EXPECT_NE (left, input) << "the chorus is playing";

    plugin.effect->SetParameterNormalizedValue ("MasterBypassID", 1.0);
    plugin.effect->GenerateCoefficients();
    EXPECT_EQ (plugin.instance.controller.packets.size(), 1u) << "nothing before the host's answer";

    plugin.instance.pump();
    plugin.effect->GenerateCoefficients();
    plugin.effect->GenerateCoefficients();
    ASSERT_EQ (plugin.instance.controller.packets.size(), 2u);
    EXPECT_EQ (plugin.instance.controller.packets[1].bytes, (std::vector<uint8_t> { 1, 0, 0, 0 }));

    plugin.deliverPackets();
    left = input;
    right = input;
    plugin.render (left, right);
    EXPECT_EQ (left, input) << "bypassed audio passes unchanged";
    EXPECT_EQ (right, input);
}

TEST_F (JuceAaxProcessorTest, PreparationTakesTheHostsRateAndStems)
{
    AaxInstance plugin (host, true);
    EXPECT_EQ (plugin.processor().getSampleRate(), 44100.0);
    EXPECT_EQ (plugin.processor().getTotalNumInputChannels(), 2);
    EXPECT_EQ (plugin.processor().getTotalNumOutputChannels(), 2);

    plugin.instance.controller.sampleRate = 96000.0f;
    int32_t prepared = 0;
    EXPECT_EQ (plugin.effect->ResetFieldData (JuceAAX::preparedFlag, &prepared, sizeof (prepared)), AAX_SUCCESS);
    EXPECT_EQ (prepared, 1);
    EXPECT_EQ (plugin.processor().getSampleRate(), 96000.0);

    plugin.instance.controller.answer = AAX_ERROR_NULL_OBJECT;
    EXPECT_EQ (plugin.effect->ResetFieldData (JuceAAX::preparedFlag, &prepared, sizeof (prepared)), AAX_SUCCESS);
    EXPECT_EQ (prepared, 0) << "a host that cannot tell its rate leaves the processing side unprepared";
}

TEST_F (JuceAaxProcessorTest, LongHostBlocksRunInSlices)
{
    AaxInstance plugin (host, true);
    plugin.bypassPacket = 1;
    const auto input = sine (3 * JuceAAX_Processor::maxBufferSize + 17, 220.0);
    auto left = input, right = input;

    plugin.render (left, right);
    EXPECT_EQ (left, input);
}

TEST_F (JuceAaxProcessorTest, TheControlsChunkHoldsTheNineValues)
{
    AaxInstance plugin (host, true);

    const auto expectedChunk = [] (const float (&values)[9])
    {
        std::vector<uint8_t> data { 1, 1, 1, 1 };

        for (int i = 0; i < 9; ++i)
        {
            data.insert (data.end(), { 'd', '_', static_cast<uint8_t> ('0' + i), 0 });
            uint64_t raw = 0;
            const auto asDouble = static_cast<double> (values[i]);
            std::memcpy (&raw, &asDouble, sizeof (raw));

            for (int shift = 56; shift >= 0; shift -= 8)
                data.push_back (static_cast<uint8_t> (raw >> shift));
        }

        return data;
    };

    const auto dataOf = [] (const std::vector<uint8_t>& chunk)
    {
        return std::vector<uint8_t> (chunk.begin() + AAX_SPlugInChunkHeaderSize, chunk.end());
    };

    auto chunk = plugin.chunk (AAX_ControlsChunkID);
    EXPECT_EQ (chunk.size(), AAX_SPlugInChunkHeaderSize + 112u);
    EXPECT_EQ (dataOf (chunk), expectedChunk (defaults));

    float changed[9];
    std::copy (std::begin (defaults), std::end (defaults), changed);
    changed[3] = 0.75f;
    changed[7] = 1.0f;
    plugin.effect->UpdateParameterNormalizedValue ("3", 0.75, AAX_eUpdateSource_Unspecified);
    plugin.effect->UpdateParameterNormalizedValue ("7", 1.0, AAX_eUpdateSource_Unspecified);
    plugin.effect->UpdateParameterNormalizedValue ("MasterBypassID", 1.0, AAX_eUpdateSource_Unspecified);
    EXPECT_EQ (dataOf (plugin.chunk (AAX_ControlsChunkID)), expectedChunk (changed));
}

TEST_F (JuceAaxProcessorTest, ChunkIndicesListTheControlsThenTheStateChunk)
{
    AaxInstance plugin (host, true);
    int32_t count = 0;
    AAX_CTypeID id = 1;

    plugin.effect->GetNumberOfChunks (&count);
    EXPECT_EQ (count, 2);
    EXPECT_EQ (plugin.effect->GetChunkIDFromIndex (0, &id), AAX_SUCCESS);
    EXPECT_EQ (id, AAX_ControlsChunkID);
    EXPECT_EQ (plugin.effect->GetChunkIDFromIndex (1, &id), AAX_SUCCESS);
    EXPECT_EQ (id, JuceAAX_Processor::juceChunkID);
    EXPECT_EQ (plugin.effect->GetChunkIDFromIndex (2, &id), AAX_ERROR_INVALID_CHUNK_INDEX);

    std::vector<uint8_t> unasked (AAX_SPlugInChunkHeaderSize + 16);
    EXPECT_EQ (plugin.effect->GetChunk (JuceAAX_Processor::juceChunkID,
                                        static_cast<AAX_SPlugInChunk*> (static_cast<void*> (unasked.data()))),
               AAX_ERROR_INCORRECT_CHUNK_SIZE) << "the state chunk is written only at the size reported";
}

TEST_F (JuceAaxProcessorTest, TheStateChunkCarriesTheBankIntoASecondInstance)
{
    AaxInstance first (host, true);

    for (const auto& [id, value] : { std::pair { "1", 1.0 }, { "2", 0.35 }, { "4", 0.6 }, { "8", 1.0 } })
        first.effect->UpdateParameterNormalizedValue (id, value, AAX_eUpdateSource_Unspecified);

    first.processor().programs[3].presetPath[1] = "Lush/Wide.vmxp";
    const auto state = first.chunk (JuceAAX_Processor::juceChunkID);
    const auto controls = first.chunk (AAX_ControlsChunkID);

    AaxInstance second (host, true);
    host.clearCalls();
    EXPECT_EQ (second.restore (state), AAX_SUCCESS);
    EXPECT_EQ (second.processor().programs[3].presetPath[1], "Lush/Wide.vmxp");
    EXPECT_EQ (second.instance.automation.pendingRequests(), 4u) << "one request per value the state changed";
    second.instance.pump();

    EXPECT_EQ (second.restore (controls), AAX_SUCCESS);
    second.instance.pump();

    for (const auto* id : processorIDs)
    {
        EXPECT_EQ (second.value (id), first.value (id)) << id;
        EXPECT_EQ (second.text (id), first.text (id)) << id;
    }

    juce::MemoryBlock firstState, secondState;
    first.processor().getStateInformation (firstState);
    second.processor().getStateInformation (secondState);
    EXPECT_EQ (firstState, secondState);
}

TEST_F (JuceAaxProcessorTest, ARefusedStateChunkLeavesEveryParameter)
{
    AaxInstance plugin (host, true);
    plugin.effect->UpdateParameterNormalizedValue ("4", 0.9, AAX_eUpdateSource_Unspecified);
    host.clearCalls();

    std::vector<uint8_t> garbage (AAX_SPlugInChunkHeaderSize + 64, 0xA5);
    auto* header = static_cast<AAX_SPlugInChunk*> (static_cast<void*> (garbage.data()));
    header->fSize = 64;
    EXPECT_EQ (plugin.effect->SetChunk (JuceAAX_Processor::juceChunkID, header), AAX_SUCCESS);
    header->fSize = -1;
    EXPECT_EQ (plugin.effect->SetChunk (JuceAAX_Processor::juceChunkID, header), AAX_ERROR_INCORRECT_CHUNK_SIZE);

    EXPECT_TRUE (posts().empty());
    EXPECT_EQ (plugin.value ("4"), static_cast<double> (0.9f));
    EXPECT_EQ (plugin.processor().currentValues[4].load(), 0.9f);
}

/** The state chunk a host hands back: the plug-in's block holding the text given. */
std::vector<uint8_t> stateChunkHolding (const std::string& text)
{
    std::vector<uint8_t> bytes (AAX_SPlugInChunkHeaderSize);
    const std::string block = std::string ("VC2!") + std::string (4, '\0') + text + std::string (1, '\0');
    bytes.insert (bytes.end(), block.begin(), block.end());

    for (size_t i = 0; i < 4; ++i)
        bytes[AAX_SPlugInChunkHeaderSize + 4 + i] = static_cast<uint8_t> (text.size() >> (8 * i));

    auto* header = static_cast<AAX_SPlugInChunk*> (static_cast<void*> (bytes.data()));
    header->fChunkID = JuceAAX_Processor::juceChunkID;
    header->fSize = static_cast<int32_t> (block.size());
    return bytes;
}

// JUCE's reader takes overlong UTF-8 for the characters it spells, on which it
// never finishes or overflows the host's stack: only strict UTF-8 is read.
TEST_F (JuceAaxProcessorTest, StateChunksThatAreNotStrictUtf8AreRefusedWhole)
{
    using CraftedXmlTexts::Form;
    GTEST_FLAG_SET (death_test_style, "threadsafe");

    // In a child process, so that a restore that hangs or crashes fails this test only.
    EXPECT_EXIT (
        {
            CraftedXmlTexts::boundHangs();
            bool held = false;

            {
                AaxInstance plugin (host, true);
                plugin.effect->UpdateParameterNormalizedValue ("4", 0.9, AAX_eUpdateSource_Unspecified);
                plugin.processor().programs[3].presetPath[1] = "Lush/Wide.vmxp";
                const auto state = plugin.chunk (JuceAAX_Processor::juceChunkID);
                host.clearCalls();

                held = CraftedXmlTexts::holdsForEach (Form::bank, [&] (const std::string& text)
                {
                    return plugin.restore (stateChunkHolding (text)) == AAX_SUCCESS
                        && posts().empty()
                        && plugin.chunk (JuceAAX_Processor::juceChunkID) == state;
                });
            }

            CraftedXmlTexts::exitChild (held);
        },
        ::testing::ExitedWithCode (0), "");

    AaxInstance plugin (host, true);
    EXPECT_EQ (plugin.restore (stateChunkHolding (CraftedXmlTexts::multiByteDocument (Form::bank))), AAX_SUCCESS);
    EXPECT_EQ (plugin.processor().programs[0].presetPath[0], juce::String::fromUTF8 (CraftedXmlTexts::multiByteText.c_str()));
    plugin.instance.pump();
    EXPECT_EQ (plugin.value ("5"), 0.125);
}

TEST_F (JuceAaxProcessorTest, AudioAndHostThreadsShareTheInstance)
{
    AaxInstance plugin (host, true);
    std::atomic<bool> running { true };

    std::thread audio ([&]
    {
        auto left = sine (256, 330.0), right = left;

        while (running.load())
            plugin.render (left, right);
    });

    for (int i = 0; i < 200; ++i)
    {
        const auto value = static_cast<double> (i % 10) / 10.0;
        plugin.effect->UpdateParameterNormalizedValue (processorIDs[i % 9], value, AAX_eUpdateSource_Unspecified);
        plugin.effect->UpdateParameterNormalizedValue ("MasterBypassID", static_cast<double> (i % 2),
                                                       AAX_eUpdateSource_Unspecified);
        plugin.effect->GenerateCoefficients();

        if (i % 50 == 0)
            plugin.chunk (JuceAAX_Processor::juceChunkID);
    }

    running = false;
    audio.join();
    EXPECT_EQ (plugin.instance.controller.packets.size(), 200u);
}

TEST_F (JuceAaxProcessorTest, TheProcessorPlaysTheValueTheParameterHolds)
{
    AaxInstance plugin (host, true);
    plugin.effect->UpdateParameterNormalizedValue ("1", 0.5, AAX_eUpdateSource_Unspecified);

    struct HostValueCase { double fromHost; float held; const char* text; };
    const HostValueCase cases[] {
        { 1.5, 1.0f, "1.000" },
        { -0.25, 0.0f, "0.000" },
        { std::numeric_limits<double>::quiet_NaN(), 0.0f, "0.000" },
        { std::numeric_limits<double>::infinity(), 1.0f, "1.000" },
    };

    for (const auto& [fromHost, held, text] : cases)
    {
        EXPECT_EQ (plugin.effect->UpdateParameterNormalizedValue ("1", fromHost, AAX_eUpdateSource_Unspecified), AAX_SUCCESS);
        EXPECT_EQ (plugin.value ("1"), static_cast<double> (held)) << fromHost;
        EXPECT_EQ (plugin.text ("1"), text) << fromHost;
        EXPECT_EQ (plugin.processor().currentValues[1].load(), held) << fromHost;
    }
}

TEST_F (JuceAaxProcessorTest, AStateChunkIsWrittenAtTheSizeItsOwnThreadWasTold)
{
    AaxInstance plugin (host, false);
    constexpr auto juceChunk = JuceAAX_Processor::juceChunkID;
    constexpr size_t guardBytes = 256;
    HostThread saving;

    uint32_t savingSize = 0;
    saving.run ([&] { EXPECT_EQ (plugin.effect->GetChunkSize (juceChunk, &savingSize), AAX_SUCCESS); });

    // Meanwhile the state grows (a preset chosen in the editor) and another host thread asks too.
    {
        const juce::MessageManagerLock lock;
        plugin.processor().programs[3].presetPath[1] = "Lush/A Preset With A Long Name.vmxp";
    }

    uint32_t laterSize = 0;
    plugin.effect->GetChunkSize (juceChunk, &laterSize);
    ASSERT_GT (laterSize, savingSize);

    const auto chunkOfSize = [] (uint32_t size) { return std::vector<uint8_t> (AAX_SPlugInChunkHeaderSize + size + guardBytes, 0xA5); };
    const auto headerOf = [] (std::vector<uint8_t>& bytes) { return static_cast<AAX_SPlugInChunk*> (static_cast<void*> (bytes.data())); };
    const auto guardIntact = [] (const std::vector<uint8_t>& bytes)
    {
        return std::all_of (bytes.end() - guardBytes, bytes.end(), [] (uint8_t b) { return b == 0xA5; });
    };

    auto saved = chunkOfSize (savingSize);
    saving.run ([&] { EXPECT_EQ (plugin.effect->GetChunk (juceChunk, headerOf (saved)), AAX_SUCCESS); });
    EXPECT_EQ (headerOf (saved)->fSize, static_cast<int32_t> (savingSize));
    EXPECT_TRUE (guardIntact (saved)) << "nothing written past the size the saving thread was told";

    auto later = chunkOfSize (laterSize);
    EXPECT_EQ (plugin.effect->GetChunk (juceChunk, headerOf (later)), AAX_SUCCESS);
    EXPECT_EQ (headerOf (later)->fSize, static_cast<int32_t> (laterSize));
    EXPECT_TRUE (guardIntact (later));

    saving.run ([&] { EXPECT_EQ (plugin.effect->GetChunk (juceChunk, headerOf (saved)), AAX_ERROR_INCORRECT_CHUNK_SIZE)
                          << "a size is good for one chunk"; });
}

TEST_F (JuceAaxProcessorTest, AHostsTypeChangeReachesTheAudioWithoutAMessageLoop)
{
    // Two instances on Type 1; the host switches one to Type 3 and renders
    // both in real time, as it does, without running any message loop.
    AaxInstance changing (host, true), staying (host, true);
    constexpr size_t blockSize = 441;    // 10 ms at 44.1 kHz
    constexpr int blockLimit = 500;      // a hang guard: 5 s of audio
    const auto input = sine (blockSize * blockLimit, 330.0);

    changing.effect->UpdateParameterNormalizedValue ("1", 1.0, AAX_eUpdateSource_Unspecified);
    const auto answered = std::chrono::steady_clock::now();
    int blocks = 0;

    for (; blocks < blockLimit; ++blocks)
    {
        // No block is rendered before its time, so the audio never runs ahead of the clock.
        std::this_thread::sleep_until (answered + std::chrono::milliseconds (10 * blocks));
        const auto start = input.begin() + static_cast<std::ptrdiff_t> (static_cast<size_t> (blocks) * blockSize);
        std::vector<float> changedLeft (start, start + blockSize), changedRight = changedLeft;
        std::vector<float> stayedLeft = changedLeft, stayedRight = changedLeft;
        changing.render (changedLeft, changedRight);
        staying.render (stayedLeft, stayedRight);

        if (changedLeft != stayedLeft || changedRight != stayedRight)
            break;
    }

    // The switch waits on the processor's 50 ms timer, so how soon it is heard
    // depends on the machine's load; what matters is that it is heard at all.
    EXPECT_LT (blocks, blockLimit) << "the new type was never heard";
}

TEST_F (JuceAaxProcessorTest, HostThreadsAndTheAudioThreadAtOnce)
{
    // Values confirmed on one host thread, coefficients generated on another,
    // states saved on two more, while the audio thread renders.
    AaxInstance plugin (host, true);
    std::atomic<bool> running { true };

    const auto whileRunning = [&running] (std::function<void()> work)
    {
        return std::thread ([&running, work] { while (running.load()) work(); });
    };

    std::vector<std::thread> threads;
    threads.push_back (whileRunning ([&plugin, left = sine (256, 330.0), right = sine (256, 330.0)] () mutable { plugin.render (left, right); }));
    threads.push_back (whileRunning ([&plugin] { plugin.effect->GenerateCoefficients(); }));

    for (int saver = 0; saver < 2; ++saver)
        threads.push_back (whileRunning ([&plugin] { plugin.chunk (JuceAAX_Processor::juceChunkID); }));

    for (int i = 0; i < 200; ++i)
        plugin.effect->UpdateParameterNormalizedValue ("MasterBypassID", static_cast<double> (i % 2), AAX_eUpdateSource_Unspecified);

    running = false;

    for (auto& thread : threads)
        thread.join();
}
