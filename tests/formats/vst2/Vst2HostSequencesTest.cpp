// Drives the built VST2 module through the call orders, threads, buffers and
// values that real hosts produce. Each sequence runs in a process of its own (a
// re-run of this test program), so one that crashes or hangs fails alone; after
// it the plug-in must still play a sine with finite output.

#include "Vst2TestHost.h"

#include "../../support/CraftedXmlTexts.h"

#include <atomic>
#include <cstdlib>
#include <iostream>
#include <limits>
#include <thread>

namespace
{
using namespace Vst2TestHost;

[[maybe_unused]] const bool displayChosen = [] { return setenv ("DISPLAY", ":65535", 0) == 0; }();

enum class Op
{
    sampleRate,       // value: the rate
    blockSize,        // value: the announced size
    resume,
    suspend,
    arrange,          // value: inputs, second: outputs, answer: what opcode 42 must reply
    process,          // value: frames
    processNullInputs,
    processNullChannels,
    processNullOutputs,
    processNonFinite,  // a block of input with NaN and infinite samples in it
    reprepareWhilePlaying  // rate, block size and resume, again and again, beside an audio thread
};

struct Step
{
    Op op;
    double value = 0.0;
    long long second = 0;
    int answer = -1;  // -1: any
};

struct Sequence
{
    const char* name;
    std::vector<Step> steps;
};

constexpr double infinity = std::numeric_limits<double>::infinity();
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr int refused = 0, accepted = 1;

const Step resume { Op::resume }, suspend { Op::suspend }, play { Op::process, blockSize };

// clang-format off
const Sequence sequences[] = {
    { "ArrangementRaisedWhileResumed",     { suspend, { Op::arrange, 1, 1, accepted }, resume, play, { Op::arrange, 2, 2, accepted }, play } },
    { "MonoTrackLayoutWhileResumed",       { suspend, { Op::arrange, 1, 1, accepted }, resume, play, { Op::arrange, 1, 2, accepted }, play } },
    { "ArrangementLoweredWhileResumed",    { resume, play, { Op::arrange, 1, 1, accepted }, play, { Op::arrange, 1, 2, accepted }, play } },
    { "ArrangementChangedWhileSuspended",  { resume, play, suspend, { Op::arrange, 1, 1, accepted }, play, resume, play } },
    { "UnsupportedArrangement",            { resume, { Op::arrange, 6, 6, refused }, { Op::arrange, 2, 1, refused }, { Op::arrange, -1, 2, refused }, play } },
    { "BillionChannels",                   { resume, { Op::arrange, 1e9, 1000000000, refused }, { Op::arrange, 2, 1000000000, refused }, play } },
    { "ResumeAgainWhileAudioRuns",         { resume, { Op::reprepareWhilePlaying } } },
    { "HugeBlockSize",                     { { Op::blockSize, 2147483647.0 }, resume, play } },
    { "ZeroAndNegativeBlockSizes",         { { Op::blockSize, 0 }, resume, play, { Op::blockSize, -512 }, resume, play } },
    { "InfiniteSampleRate",                { { Op::sampleRate, infinity }, resume, play } },
    { "SampleRateNotANumber",              { { Op::sampleRate, notANumber }, resume, play } },
    { "BillionHertz",                      { { Op::sampleRate, 1e9 }, resume, play } },
    { "ZeroAndNegativeSampleRates",        { { Op::sampleRate, 0 }, resume, play, { Op::sampleRate, -44100 }, resume, play } },
    { "UsualRateChangeKeepsPlaying",       { resume, play, suspend, { Op::sampleRate, 96000 }, { Op::blockSize, 64 }, resume, play } },
    { "ProcessBeforeResume",               { play, { Op::process, 3 * blockSize } } },
    { "ProcessAfterSuspend",               { resume, play, suspend, play } },
    { "ResumeTwiceSuspendTwice",           { resume, resume, play, suspend, suspend, play } },
    { "ZeroFrames",                        { resume, { Op::process, 0 }, play } },
    { "VeryLargeFrameCount",               { resume, { Op::process, 1 << 20 } } },
    { "NonFiniteInput",                    { resume, play, { Op::processNonFinite }, play } },
    { "NullBuffers",                       { resume, { Op::processNullInputs }, { Op::processNullChannels }, { Op::processNullOutputs }, play } },
};
// clang-format on

/** Collects what went wrong in the child, for its error output. */
struct Findings
{
    std::string text;

    void add (const std::string& what)  { text += what + "\n"; }
    bool empty() const                  { return text.empty(); }
};

bool allFinite (const std::vector<float>& samples)
{
    for (auto s : samples)
        if (! std::isfinite (s))
            return false;

    return true;
}

float rms (const std::vector<float>& samples)
{
    double sum = 0.0;

    for (auto s : samples)
        sum += (double) s * (double) s;

    return samples.empty() ? 0.0f : (float) std::sqrt (sum / (double) samples.size());
}

int arrange (Instance& plugin, double inputs, long long outputs)
{
    VstSpeakerArrangement in {}, out {};
    in.numChannels = (int32_t) inputs;
    out.numChannels = (int32_t) outputs;
    return (int) plugin.dispatch (effectSetSpeakerArrangement, 0, (long long) (intptr_t) &in, &out);
}

/** A block through channel arrays the host leaves empty in one of three ways. */
void processWithMissingBuffers (Instance& plugin, Op op, Findings& findings)
{
    std::vector<float> left (blockSize, 0.25f), right (blockSize, -0.25f);
    float* channels[] = { left.data(), right.data() };
    float* missing[] = { nullptr, nullptr };

    float** inputs = op == Op::processNullInputs ? nullptr : (op == Op::processNullChannels ? missing : channels);
    float** outputs = op == Op::processNullOutputs ? nullptr : channels;
    plugin.effect->processReplacing (plugin.effect, inputs, outputs, blockSize);

    if (! allFinite (left) || ! allFinite (right))
        findings.add ("non-finite output with missing buffers");
}

/** Input that is not audio: NaN and infinities among ordinary samples. */
void processNonFinite (Instance& plugin, Findings& findings)
{
    std::vector<float> left (blockSize, 0.25f), right (blockSize, -0.25f);
    left[10] = std::numeric_limits<float>::quiet_NaN();
    right[20] = std::numeric_limits<float>::infinity();
    left[30] = -std::numeric_limits<float>::infinity();
    float* channels[] = { left.data(), right.data() };
    plugin.effect->processReplacing (plugin.effect, channels, channels, blockSize);

    if (! allFinite (left) || ! allFinite (right))
        findings.add ("non-finite output of non-finite input");
}

void reprepareWhilePlaying (Instance& plugin, Findings& findings)
{
    std::atomic<bool> stop { false }, finite { true };

    std::thread audio ([&]
    {
        while (! stop.load())
            if (! allFinite (plugin.process (blockSize)))
                finite = false;
    });

    for (int i = 0; i < 40; ++i)
    {
        plugin.dispatch (effectSetSampleRate, 0, 0, nullptr, i % 2 == 0 ? 48000.0f : sampleRate);
        plugin.dispatch (effectSetBlockSize, 0, i % 3 == 0 ? 256 : blockSize);
        plugin.resume();
    }

    stop = true;
    audio.join();

    if (! finite)
        findings.add ("non-finite output while preparing again");
}

void runStep (Instance& plugin, const Step& step, Findings& findings)
{
    switch (step.op)
    {
        case Op::sampleRate: plugin.dispatch (effectSetSampleRate, 0, 0, nullptr, (float) step.value); break;
        case Op::blockSize:  plugin.dispatch (effectSetBlockSize, 0, (long long) step.value); break;
        case Op::resume:     plugin.resume(); break;
        case Op::suspend:    plugin.dispatch (effectSuspendResume, 0, 0); break;
        case Op::arrange:
        {
            const int answer = arrange (plugin, step.value, step.second);

            if (step.answer >= 0 && answer != step.answer)
                findings.add ("speaker arrangement " + std::to_string (step.value) + " / " + std::to_string (step.second)
                              + " answered " + std::to_string (answer));
            break;
        }
        case Op::process:
            if (! allFinite (plugin.process ((int) step.value)))
                findings.add ("non-finite output of " + std::to_string ((int) step.value) + " frames");
            break;
        case Op::processNullInputs:
        case Op::processNullChannels:
        case Op::processNullOutputs:
            processWithMissingBuffers (plugin, step.op, findings);
            break;
        case Op::processNonFinite:
            processNonFinite (plugin, findings);
            break;
        case Op::reprepareWhilePlaying:
            reprepareWhilePlaying (plugin, findings);
            break;
    }
}

/** The whole life of one instance through a sequence; exits 0 when all went well. */
void runSequenceAndExit (const Sequence& sequence)
{
    Findings findings;

    {
        Instance plugin;

        if (plugin.effect == nullptr)
        {
            std::cerr << "no effect\n";
            std::exit (2);
        }

        for (const auto& step : sequence.steps)
            runStep (plugin, step, findings);

        // The host's usual way on: resume, then several blocks of a sine.
        plugin.resume();
        std::vector<float> out;

        for (int i = 0; i < 8; ++i)
            out = plugin.process (blockSize);

        if (! allFinite (out) || rms (out) < 0.01f)
            findings.add ("no sine afterwards (rms " + std::to_string (rms (out)) + ")");
    }

    std::cerr << findings.text;
    std::exit (findings.empty() ? 0 : 1);
}

TEST (Vst2HostSequences, EachLeavesTheHostRunningAndThePluginPlaying)
{
    GTEST_FLAG_SET (death_test_style, "threadsafe");

    for (const auto& sequence : sequences)
    {
        SCOPED_TRACE (sequence.name);
        EXPECT_EXIT (runSequenceAndExit (sequence), testing::ExitedWithCode (0), "");
    }
}

//==============================================================================
using CraftedXmlTexts::Form;

constexpr int mixIndex = 5;

/** A chunk as the plug-in writes one, holding the text given. */
std::vector<char> chunkHolding (const std::string& text)
{
    std::vector<char> chunk { 'V', 'C', '2', '!' };

    for (int i = 0; i < 4; ++i)
        chunk.push_back ((char) (text.size() >> (8 * i)));

    chunk.insert (chunk.end(), text.begin(), text.end());
    chunk.push_back (0);
    return chunk;
}

void setChunk (Instance& plugin, const std::string& text, Form form)
{
    auto chunk = chunkHolding (text);
    plugin.dispatch (effectSetChunk, form == Form::program ? 1 : 0, (long long) chunk.size(), chunk.data());
}

/** In a child process: each refused text of the form, as a bank or as a program
    chunk, leaves both chunks as they were, and the plug-in plays on. */
void refuseEachAndExit (Form form)
{
    CraftedXmlTexts::boundHangs();
    bool held = false;

    {
        Instance plugin;
        plugin.dispatch (effectSetProgram, 0, 3);
        plugin.setParameter (mixIndex, 0.25f);
        const auto bank = plugin.chunk (false), program = plugin.chunk (true);

        held = CraftedXmlTexts::holdsForEach (form, [&] (const std::string& text)
        {
            setChunk (plugin, text, form);
            return plugin.chunk (false) == bank && plugin.chunk (true) == program;
        });

        plugin.resume();
        std::vector<float> out;

        for (int i = 0; i < 8; ++i)
            out = plugin.process (blockSize);

        held = held && allFinite (out) && rms (out) >= 0.01f;
    }

    CraftedXmlTexts::exitChild (held);
}

// JUCE's reader takes overlong UTF-8 for the characters it spells, on which it
// never finishes or overflows the host's stack: only strict UTF-8 is read.
TEST (Vst2HostSequences, ChunksThatAreNotStrictUtf8AreRefusedWholeAndMultiByteTextLoads)
{
    GTEST_FLAG_SET (death_test_style, "threadsafe");
    EXPECT_EXIT (refuseEachAndExit (Form::bank), testing::ExitedWithCode (0), "") << "bank chunks";
    EXPECT_EXIT (refuseEachAndExit (Form::program), testing::ExitedWithCode (0), "") << "program chunks";

    // Written back as the writer escapes it.
    const auto written = "presetPath=\"" + CraftedXmlTexts::multiByteTextAsWritten + "\"";

    for (const auto form : { Form::bank, Form::program })
    {
        Instance plugin;
        ASSERT_NE (plugin.effect, nullptr);
        setChunk (plugin, CraftedXmlTexts::multiByteDocument (form), form);

        const auto chunk = plugin.chunk (form == Form::program);
        EXPECT_NE (std::string (chunk.begin(), chunk.end()).find (written), std::string::npos);
        EXPECT_EQ (plugin.getParameter (mixIndex), 0.125f);
    }
}
}
