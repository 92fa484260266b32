#include "ProcessorTestRig.h"

#include <atomic>
#include <chrono>
#include <thread>

#include <limits>
#include <vector>

namespace
{
using modulix_test::ProcessorRig;
using modulix_test::ProcessorTest;
using modulix_test::expectEqualBuffers;
using modulix_test::expectSamples;
using modulix_test::buffersDiffer;
using modulix_test::letModelSwitchTimerFire;

using Buffer = juce::AudioBuffer<float>;

/** Weight of the outgoing side i samples into a fade of n samples that starts at `from`. */
float fadeOutGain (int i, int n, float from = 1.0f)
{
    return std::max (0.0f, from - static_cast<float> (i + 1) / static_cast<float> (n));
}

/** A play head whose tempo the test sets, or takes away. */
struct FakePlayHead : juce::AudioPlayHead
{
    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo info;

        if (bpm.hasValue())
            info.setBpm (*bpm);

        return info;
    }

    juce::Optional<double> bpm;
};

/** Host parameter values that differ from the defaults: host index, value. */
using HostValues = std::vector<std::pair<int, float>>;

/** Drives a model exactly as preparation does: defaults (or the host values
    given, host parameters 2 to 8 feeding model parameters 1 to 7), the tempo,
    model Bypass held at 1. */
template <typename Model>
void prepareLikeTheProcessor (Model& model, double sampleRate, const HostValues& values = {}, float bpm = 120.0f)
{
    float modelValues[] { 1.0f, 0.2f, 1.0f / 6.0f, 0.2f, 0.5f, 0.5f, 0.0f, 0.0f };

    for (const auto& [hostIndex, value] : values)
        modelValues[hostIndex - 1] = value;

    model.setSampleRate (static_cast<float> (sampleRate));
    model.setExpectedSampleFrame (16384);
    model.reset();
    model.setBpm (bpm);

    for (int i = 0; i < 8; ++i)
        model.setParameter (i, modelValues[i]);

    model.forceCalcParams();
}

template <typename Model>
Buffer processWithModel (Model& model, const Buffer& input)
{
    auto output = input;

    if (output.getNumChannels() == 1)
        model.process (output.getWritePointer (0), output.getNumSamples());
    else
        model.process (output.getWritePointer (0), output.getWritePointer (1), output.getNumSamples());

    return output;
}

template <typename Model>
Buffer processWithFreshModel (const Buffer& input, double sampleRate = 44100.0)
{
    Model model;
    prepareLikeTheProcessor (model, sampleRate);
    return processWithModel (model, input);
}

//==============================================================================
TEST_F (ProcessorTest, PreparedProcessorPlaysTheChosenModelAtOnce)
{
    struct Case { float type; Buffer (*reference) (const Buffer&, double); };

    const std::vector<Case> cases {
        { 0.0f, &processWithFreshModel<CE2Chorus> },
        { 0.5f, &processWithFreshModel<DimensionCChorus> },
        { 1.0f, &processWithFreshModel<TriChorus> },
    };

    std::vector<Buffer> outputs;

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.type);
        ProcessorRig rig;
        rig.processor.setParameter (1, c.type);
        rig.prepare();

        const auto block = rig.run (1024);

        const auto& input = block.input;

        const auto& output = block.output;
        expectEqualBuffers (output, c.reference (input, rig.sampleRate));
        EXPECT_TRUE (buffersDiffer (output, input, 0));
        EXPECT_TRUE (buffersDiffer (output, input, 1));
        outputs.push_back (output);
    }

    EXPECT_TRUE (buffersDiffer (outputs[0], outputs[1]));
    EXPECT_TRUE (buffersDiffer (outputs[1], outputs[2]));
    EXPECT_TRUE (buffersDiffer (outputs[0], outputs[2]));
}

TEST_F (ProcessorTest, PreparationOnAHostThreadTakesTurnsWithTheModelSwitchTimer)
{
    // Hosts prepare on threads of their own while the message thread may be
    // setting up a newly chosen model; ThreadSanitizer builds see any overlap.
    ProcessorRig rig;
    std::atomic<bool> hostDone { false };

    std::thread host ([&]
    {
        for (int i = 0; i < 40; ++i)
        {
            rig.prepare();
            std::this_thread::sleep_for (std::chrono::milliseconds (5));
        }
        hostDone = true;
    });

    for (int round = 0; ! hostDone; ++round)
    {
        rig.processor.setParameter (1, round % 2 == 0 ? 1.0f : 0.0f);
        modulix_test::pumpMessages (60);
    }

    host.join();

    rig.processor.setParameter (1, 0.5f);
    letModelSwitchTimerFire (rig.processor);
    rig.prepare();
    const auto block = rig.run (1024);
    expectEqualBuffers (block.output, processWithFreshModel<DimensionCChorus> (block.input, rig.sampleRate));
}

TEST_F (ProcessorTest, BypassFadeLastsTheLengthOfTheSampleRateBand)
{
    struct Case { double rate; int length; };

    const std::vector<Case> cases {
        { 22050.0, 1024 }, { 32000.0, 1024 }, { 34049.0, 1024 }, { 34050.0, 2048 }, { 44100.0, 2048 },
        { 48000.0, 2048 }, { 67999.0, 2048 }, { 68000.0, 4096 }, { 96000.0, 4096 }, { 135999.0, 4096 },
        { 136000.0, 8192 }, { 192000.0, 8192 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.rate);
        ProcessorRig fading (c.rate), staying (c.rate);
        fading.prepare();
        staying.prepare();
        fading.process (256);
        staying.process (256);

        fading.processor.setParameter (0, 0.0f);
        const auto block = fading.run (c.length + 300);
        const auto& input = block.input;
        const auto& output = block.output;
        const auto wet = staying.process (c.length + 300);

        for (int ch = 0; ch < 2; ++ch)
            expectSamples (output, ch, [&] (int i)
            {
                const float g = fadeOutGain (i, c.length);
                return g * wet.getSample (ch, i) + (1.0f - g) * input.getSample (ch, i);
            });

        EXPECT_NE (output.getSample (0, c.length - 2), input.getSample (0, c.length - 2));
    }
}

TEST_F (ProcessorTest, SwitchedOffEffectReturnsEarlyAndItsModelsResumeWhereTheyStopped)
{
    ProcessorRig paused, direct;
    paused.prepare();
    direct.prepare();
    const int n = paused.getFadeLength();

    auto warmUp = paused.signal.next (2, 512);
    auto fadeOut = paused.signal.next (2, n);

    for (auto* rig : { &paused, &direct })
    {
        rig->process (warmUp);
        rig->processor.setParameter (0, 0.0f);
        rig->process (fadeOut);
    }

    for (int i = 0; i < 3; ++i)
    {
        const auto block = paused.run (700);
        expectEqualBuffers (block.output, block.input);
    }

    // Changes made while silent are handed over once processing resumes.
    paused.processor.setParameter (4, 0.8f);
    direct.processor.setParameter (4, 0.8f);

    const auto resumeInput = paused.signal.next (2, n + 100);

    for (auto* rig : { &paused, &direct })
        rig->processor.setParameter (0, 1.0f);

    expectEqualBuffers (paused.process (resumeInput), direct.process (resumeInput));
}

TEST_F (ProcessorTest, ReversingTheBypassMidFadeRampsFromThePresentGain)
{
    ProcessorRig fading, staying;
    fading.prepare();
    staying.prepare();
    const int n = fading.getFadeLength();

    fading.process (300);
    staying.process (300);

    fading.processor.setParameter (0, 0.0f);
    const auto block1 = fading.run (n / 2);
    const auto& in1 = block1.input;
    const auto& out1 = block1.output;
    const auto wet1 = staying.process (n / 2);
    expectSamples (out1, 0, [&] (int i)
    {
        const float g = fadeOutGain (i, n);
        return g * wet1.getSample (0, i) + (1.0f - g) * in1.getSample (0, i);
    });

    fading.processor.setParameter (0, 1.0f);
    const auto block2 = fading.run (n + 200);
    const auto& in2 = block2.input;
    const auto& out2 = block2.output;
    const auto wet2 = staying.process (n + 200);

    for (int ch = 0; ch < 2; ++ch)
        expectSamples (out2, ch, [&] (int i)
        {
            const float g = std::min (1.0f, 0.5f + static_cast<float> (i + 1) * (0.5f / static_cast<float> (n)));
            return g * wet2.getSample (ch, i) + (1.0f - g) * in2.getSample (ch, i);
        });

    EXPECT_EQ (out2.getSample (0, n + 199), wet2.getSample (0, n + 199));
}

TEST_F (ProcessorTest, PreparedWhileOffPassesTheInputAndFadesInWhenSwitchedOn)
{
    ProcessorRig rig;
    rig.processor.setParameter (0, 0.0f);
    rig.prepare();

    const auto block = rig.run (512);

    const auto& input = block.input;

    const auto& output = block.output;
    expectEqualBuffers (output, input);

    rig.processor.setParameter (0, 1.0f);
    const auto block2 = rig.run (512);
    const auto& input2 = block2.input;
    const auto& output2 = block2.output;
    EXPECT_TRUE (buffersDiffer (output2, input2));
}

//==============================================================================
class ModelSwitchTest : public ProcessorTest
{
protected:
    void SetUp() override
    {
        for (auto* rig : { &switching, &stayingOnFirst })
        {
            rig->prepare();
            rig->process (512);
        }
    }

    /** The next block of the shared signal through both rigs. */
    struct Block { Buffer input, switched, first; };

    Block run (int numSamples)
    {
        auto input = switching.signal.next (2, numSamples);
        return { input, switching.process (input), stayingOnFirst.process (input) };
    }

    ProcessorRig switching, stayingOnFirst;
    const int n = switching.getFadeLength();
};

TEST_F (ModelSwitchTest, ChorusTypeChangeWaitsForTheTimerThenCrossFadesOverTheBandLength)
{
    // From the message thread (an editor) and from another thread (host automation
    // on the audio thread), the change waits alike.
    using Processor = ModulixQR7150AudioProcessor;
    const std::vector<std::function<void (Processor&)>> ways {
        [] (Processor& p) { p.setParameter (1, 1.0f); },
        [] (Processor& p) { std::thread ([&p] { p.setParameter (1, 1.0f); }).join(); }
    };

    for (size_t way = 0; way < ways.size(); ++way)
    {
        SCOPED_TRACE ("way " + std::to_string (way));
        switching.processor.setParameter (1, 0.0f);
        letModelSwitchTimerFire (switching.processor); // nothing left waiting from the previous round
        switching.signal = stayingOnFirst.signal = {};
        SetUp(); // both rigs prepared on the first model again, on the same signal
        ways[way] (switching.processor);

        for (int block = 0; block < 3; ++block)
        {
            const auto b = run (512);
            expectEqualBuffers (b.switched, b.first);
        }

        letModelSwitchTimerFire (switching.processor);

        const auto b = run (n + 300);
        const auto incoming = processWithFreshModel<TriChorus> (b.input);

        for (int ch = 0; ch < 2; ++ch)
            expectSamples (b.switched, ch, [&] (int i)
            {
                const float g = fadeOutGain (i, n);
                return g * b.first.getSample (ch, i) + (1.0f - g) * incoming.getSample (ch, i);
            });
    }
}

TEST_F (ModelSwitchTest, AnotherChoiceDuringAFadeRestartsItTowardsTheNewestModel)
{
    switching.processor.setParameter (1, 0.5f);
    letModelSwitchTimerFire (switching.processor);
    run (n / 2);

    switching.processor.setParameter (1, 1.0f);
    letModelSwitchTimerFire (switching.processor);

    const auto b = run (n + 100);
    const auto incoming = processWithFreshModel<TriChorus> (b.input);

    expectSamples (b.switched, 1, [&] (int i)
    {
        const float g = fadeOutGain (i, n);
        return g * b.first.getSample (1, i) + (1.0f - g) * incoming.getSample (1, i);
    });
}

TEST_F (ModelSwitchTest, ReturningToThePlayingModelTurnsTheFadeAround)
{
    DimensionCChorus reference;
    prepareLikeTheProcessor (reference, 44100.0);

    switching.processor.setParameter (1, 0.5f);
    letModelSwitchTimerFire (switching.processor);
    const auto b1 = run (n / 4);
    const auto incoming1 = processWithModel (reference, b1.input);

    expectSamples (b1.switched, 0, [&] (int i)
    {
        const float g = fadeOutGain (i, n);
        return g * b1.first.getSample (0, i) + (1.0f - g) * incoming1.getSample (0, i);
    });

    switching.processor.setParameter (1, 0.0f);
    letModelSwitchTimerFire (switching.processor);
    const auto b2 = run (n);
    const auto incoming2 = processWithModel (reference, b2.input);

    // The second model keeps its weight of one quarter and hands back to the first.
    expectSamples (b2.switched, 0, [&] (int i)
    {
        const float g = fadeOutGain (i, n, 0.25f);
        return g * incoming2.getSample (0, i) + (1.0f - g) * b2.first.getSample (0, i);
    });

    const auto b3 = run (512);
    expectEqualBuffers (b3.switched, b3.first);
}

TEST_F (ModelSwitchTest, ChoicesTheAudioThreadHasNotTakenYetNeverResetTheModelFadingIn)
{
    // Two changes between audio blocks (a host block longer than the 50 ms wait):
    // back to the playing model, then to the one fading in. The fade runs on
    // exactly as if neither had happened.
    ProcessorRig unchanged;
    unchanged.prepare();
    unchanged.process (512);

    for (auto* rig : { &switching, &unchanged })
        rig->processor.setParameter (1, 0.5f);

    for (auto* rig : { &switching, &unchanged })
        letModelSwitchTimerFire (rig->processor);
    const auto input = switching.signal.next (2, n / 4);
    expectEqualBuffers (switching.process (input), unchanged.process (input));

    for (const float type : { 0.0f, 0.5f })
    {
        switching.processor.setParameter (1, type);
        letModelSwitchTimerFire (switching.processor);
    }

    const auto rest = switching.signal.next (2, n);
    expectEqualBuffers (switching.process (rest), unchanged.process (rest));
}

TEST_F (ModelSwitchTest, DuringAFadeOnlyTheIncomingModelRecalculatesAChangedValue)
{
    CE2Chorus outgoing;
    prepareLikeTheProcessor (outgoing, 44100.0);
    processWithModel (outgoing, modulix_test::TestSignal().next (2, 512));

    TriChorus incoming;
    prepareLikeTheProcessor (incoming, 44100.0);

    switching.processor.setParameter (1, 1.0f);
    letModelSwitchTimerFire (switching.processor);
    const auto b1 = run (n / 4);
    processWithModel (outgoing, b1.input);
    processWithModel (incoming, b1.input);

    switching.processor.setParameter (4, 0.9f);
    incoming.setParameter (3, 0.9f);
    incoming.calcParameter (3);
    outgoing.setParameter (3, 0.9f);

    const auto b = run (n);
    const auto fadingOut = processWithModel (outgoing, b.input);
    const auto fadingIn = processWithModel (incoming, b.input);

    for (int ch = 0; ch < 2; ++ch)
        expectSamples (b.switched, ch, [&] (int i)
        {
            const float g = fadeOutGain (i, n, 0.75f);
            return g * fadingOut.getSample (ch, i) + (1.0f - g) * fadingIn.getSample (ch, i);
        });
}

TEST_F (ProcessorTest, TheIncomingModelPlaysWhatIsInForceWhenItTakesOver)
{
    // Changes that come after the timer chose the new model, just before the
    // block in which it takes over: it must sound as if prepared with them.
    struct Case { const char* what; HostValues changes; double tempo; };

    const std::vector<Case> cases {
        { "depth, mix and rate", { { 4, 0.9f }, { 5, 0.7f }, { 2, 0.6f } }, 120.0 },
        { "sync, its rate and the host tempo", { { 8, 1.0f }, { 3, 0.5f } }, 75.0 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        ProcessorRig switching, stayingOnFirst;
        FakePlayHead switchingHead, firstHead;
        switchingHead.bpm = firstHead.bpm = 120.0;
        switching.processor.setPlayHead (&switchingHead);
        stayingOnFirst.processor.setPlayHead (&firstHead);

        for (auto* rig : { &switching, &stayingOnFirst })
        {
            rig->prepare();
            rig->process (512);
        }

        switching.processor.setParameter (1, 1.0f);
        letModelSwitchTimerFire (switching.processor);

        for (auto* rig : { &switching, &stayingOnFirst })
            for (const auto& [index, value] : c.changes)
                rig->processor.setParameter (index, value);

        switchingHead.bpm = firstHead.bpm = c.tempo;

        const int n = switching.getFadeLength();
        const auto input = switching.signal.next (2, n + 300);
        const auto switched = switching.process (input);
        const auto first = stayingOnFirst.process (input);

        TriChorus incoming;
        prepareLikeTheProcessor (incoming, 44100.0, c.changes, static_cast<float> (c.tempo));
        const auto fadingIn = processWithModel (incoming, input);

        for (int ch = 0; ch < 2; ++ch)
            expectSamples (switched, ch, [&] (int i)
            {
                const float g = fadeOutGain (i, n);
                return g * first.getSample (ch, i) + (1.0f - g) * fadingIn.getSample (ch, i);
            });

        for (auto* rig : { &switching, &stayingOnFirst })
            rig->processor.setPlayHead (nullptr);
    }
}

TEST_F (ModelSwitchTest, ReturningToTheOutgoingModelCalculatesWhatItOnlyStoredWhileFadingOut)
{
    CE2Chorus first;
    prepareLikeTheProcessor (first, 44100.0);
    processWithModel (first, modulix_test::TestSignal().next (2, 512));

    DimensionCChorus second;
    prepareLikeTheProcessor (second, 44100.0);

    switching.processor.setParameter (1, 0.5f);
    letModelSwitchTimerFire (switching.processor);
    const auto b1 = run (n / 4);
    processWithModel (first, b1.input);
    processWithModel (second, b1.input);

    switching.processor.setParameter (4, 0.9f);
    first.setParameter (3, 0.9f);
    second.setParameter (3, 0.9f);
    second.calcParameter (3);
    const auto b2 = run (n / 4);
    processWithModel (first, b2.input);
    processWithModel (second, b2.input);

    switching.processor.setParameter (1, 0.0f);
    letModelSwitchTimerFire (switching.processor);
    first.calcParameter (3);

    const auto b3 = run (n);
    const auto fadingIn = processWithModel (first, b3.input);
    const auto fadingOut = processWithModel (second, b3.input);

    for (int ch = 0; ch < 2; ++ch)
        expectSamples (b3.switched, ch, [&] (int i)
        {
            const float g = fadeOutGain (i, n, 0.5f);
            return g * fadingOut.getSample (ch, i) + (1.0f - g) * fadingIn.getSample (ch, i);
        });

    const auto b4 = run (2048);
    expectEqualBuffers (b4.switched, processWithModel (first, b4.input));
}

TEST_F (ModelSwitchTest, ChangeWhileSilentFadesTogetherWithTheBypassRampWhenSwitchedOn)
{
    for (auto* rig : { &switching, &stayingOnFirst })
        rig->processor.setParameter (0, 0.0f);

    run (n);
    switching.processor.setParameter (1, 1.0f);
    letModelSwitchTimerFire (switching.processor);

    const auto silent = run (512);
    expectEqualBuffers (silent.switched, silent.input);

    for (auto* rig : { &switching, &stayingOnFirst })
        rig->processor.setParameter (0, 1.0f);

    const auto b = run (n + 300);
    const auto incoming = processWithFreshModel<TriChorus> (b.input);

    // first = on * model0 + (1 - on) * input, with the bypass ramp on = 1 - fadeOutGain.
    for (int ch = 0; ch < 2; ++ch)
        expectSamples (b.switched, ch, [&] (int i)
        {
            const float off = fadeOutGain (i, n);
            const float g = fadeOutGain (i, n);
            const float x = b.input.getSample (ch, i);
            return g * (b.first.getSample (ch, i) - off * x) + (1.0f - g) * (1.0f - off) * incoming.getSample (ch, i) + off * x;
        }, 1.0e-5f);

    EXPECT_EQ (b.switched.getSample (0, n + 299), incoming.getSample (0, n + 299));
}

TEST_F (ProcessorTest, ChorusTypeOutsideTheThreeModelsFadesToTheUnprocessedInput)
{
    for (const float type : { 5.0f, -0.5f, -3.0f, std::numeric_limits<float>::quiet_NaN(),
                              std::numeric_limits<float>::infinity(), 1.0000001f })
    {
        SCOPED_TRACE (type);
        ProcessorRig switching, stayingOnFirst;

        for (auto* rig : { &switching, &stayingOnFirst })
        {
            rig->prepare();
            rig->process (512);
        }

        switching.processor.setParameter (1, type);
        letModelSwitchTimerFire (switching.processor);

        const int n = switching.getFadeLength();
        const auto block = switching.run (n + 200);
        const auto& input = block.input;
        const auto& output = block.output;
        const auto first = stayingOnFirst.process (input);

        expectSamples (output, 0, [&] (int i)
        {
            const float g = fadeOutGain (i, n);
            return g * first.getSample (0, i) + (1.0f - g) * input.getSample (0, i);
        });

        const auto block2 = switching.run (512);

        const auto& input2 = block2.input;

        const auto& output2 = block2.output;
        expectEqualBuffers (output2, input2);

        // A valid choice afterwards fades a freshly prepared model in.
        switching.processor.setParameter (1, 0.0f);
        letModelSwitchTimerFire (switching.processor);
        const auto block3 = switching.run (n + 10);
        const auto& input3 = block3.input;
        const auto& output3 = block3.output;
        const auto incoming = processWithFreshModel<CE2Chorus> (input3);

        expectSamples (output3, 1, [&] (int i)
        {
            const float g = fadeOutGain (i, n);
            return g * input3.getSample (1, i) + (1.0f - g) * incoming.getSample (1, i);
        });
    }
}

//==============================================================================
TEST_F (ProcessorTest, MonoInputOnStereoOutputIsCopiedToTheRightBeforeProcessing)
{
    ProcessorRig monoIn (44100.0, 1, 2), stereoIn;
    ASSERT_EQ (monoIn.processor.getTotalNumInputChannels(), 1);
    monoIn.prepare();
    stereoIn.prepare();

    auto input = monoIn.signal.next (2, 1024);
    auto dualMono = input;
    dualMono.copyFrom (1, 0, input, 0, 0, input.getNumSamples());

    expectEqualBuffers (monoIn.process (input), stereoIn.process (dualMono));

    monoIn.processor.setParameter (0, 0.0f);
    monoIn.process (monoIn.getFadeLength());

    const auto silent = monoIn.run (512);

    const auto& silentIn = silent.input;

    const auto& silentOut = silent.output;
    expectSamples (silentOut, 0, [&] (int i) { return silentIn.getSample (0, i); }, 0.0f);
    expectSamples (silentOut, 1, [&] (int i) { return silentIn.getSample (0, i); }, 0.0f);
}

TEST_F (ProcessorTest, HostBypassPassesTheBufferAndCopiesAMonoInputToBothOutputs)
{
    struct Case { int ins; bool rightBecomesLeft; };

    for (const auto& c : { Case { 1, true }, Case { 2, false } })
    {
        ProcessorRig rig (44100.0, c.ins, 2);
        rig.prepare();

        const auto input = rig.signal.next (2, 512);
        auto output = input;
        juce::MidiBuffer midi;
        rig.processor.processBlockBypassed (output, midi);

        expectSamples (output, 0, [&] (int i) { return input.getSample (0, i); }, 0.0f);
        expectSamples (output, 1, [&] (int i) { return input.getSample (c.rightBecomesLeft ? 0 : 1, i); }, 0.0f);
    }
}

TEST_F (ProcessorTest, NonFiniteInputSamplesComeOutAsSilenceOnEveryPath)
{
    enum class Path { effectOn, effectOff, hostBypass };
    struct Case { Path path; int ins; };
    const auto nan = std::numeric_limits<float>::quiet_NaN();
    const auto inf = std::numeric_limits<float>::infinity();

    for (const auto& c : { Case { Path::effectOn, 2 }, Case { Path::effectOn, 1 }, Case { Path::effectOff, 2 },
                           Case { Path::effectOff, 1 }, Case { Path::hostBypass, 2 }, Case { Path::hostBypass, 1 } })
    {
        SCOPED_TRACE (testing::Message() << "path " << static_cast<int> (c.path) << ", inputs " << c.ins);
        ProcessorRig rig (44100.0, c.ins, 2);
        rig.processor.setParameter (0, c.path == Path::effectOff ? 0.0f : 1.0f);
        rig.prepare();

        auto input = rig.signal.next (2, 512);

        for (int ch = 0; ch < 2; ++ch)
            for (const int i : { 3, 100, 511 })
                input.setSample (ch, i, i == 100 ? -inf : (ch == 0 ? nan : inf));

        auto output = input;
        juce::MidiBuffer midi;

        if (c.path == Path::hostBypass)
            rig.processor.processBlockBypassed (output, midi);
        else
            rig.processor.processBlock (output, midi);

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < output.getNumSamples(); ++i)
                ASSERT_TRUE (std::isfinite (output.getSample (ch, i))) << ch << ", " << i;

        // Passed through, a silenced sample stays silent.
        if (c.path != Path::effectOn)
        {
            EXPECT_EQ (output.getSample (0, 3), 0.0f);
        }
    }
}

TEST_F (ProcessorTest, MonoBusRunsTheMonoModelAndFadesItsOnlyChannel)
{
    ProcessorRig mono (44100.0, 1, 1);
    ASSERT_EQ (mono.processor.getTotalNumOutputChannels(), 1);
    mono.prepare();

    CE2Chorus reference;
    prepareLikeTheProcessor (reference, mono.sampleRate);

    const auto block = mono.run (1024);

    const auto& input = block.input;

    const auto& output = block.output;
    ASSERT_EQ (output.getNumChannels(), 1);
    expectEqualBuffers (output, processWithModel (reference, input));

    mono.processor.setParameter (0, 0.0f);
    const auto block2 = mono.run (mono.getFadeLength() + 10);
    const auto& input2 = block2.input;
    const auto& output2 = block2.output;
    const auto wet = processWithModel (reference, input2);

    expectSamples (output2, 0, [&] (int i)
    {
        const float g = fadeOutGain (i, mono.getFadeLength());
        return g * wet.getSample (0, i) + (1.0f - g) * input2.getSample (0, i);
    });
}

//==============================================================================
class TempoTest : public ProcessorTest
{
protected:
    void SetUp() override
    {
        for (auto* rig : { &following, &reference })
        {
            rig->processor.setParameter (8, 1.0f);
            rig->processor.setParameter (3, 0.5f);
        }

        followingHead.bpm = referenceHead.bpm = 90.0;
        following.processor.setPlayHead (&followingHead);
        reference.processor.setPlayHead (&referenceHead);
        following.prepare();
        reference.prepare();
    }

    bool followingSoundsLikeReference (int numBlocks)
    {
        bool same = true;

        for (int block = 0; block < numBlocks; ++block)
            same = ! buffersDiffer (following.process (512), reference.process (512)) && same;

        return same;
    }

    ProcessorRig following, reference;
    FakePlayHead followingHead, referenceHead;
};

TEST_F (TempoTest, AChangedHostTempoReachesTheSyncedModels)
{
    EXPECT_TRUE (followingSoundsLikeReference (4));

    followingHead.bpm = 180.0;
    EXPECT_FALSE (followingSoundsLikeReference (40));
}

TEST_F (TempoTest, AMissingPlayHeadOrTempoKeepsTheLastTempo)
{
    followingHead.bpm.reset();
    EXPECT_TRUE (followingSoundsLikeReference (10));

    following.processor.setPlayHead (nullptr);
    EXPECT_TRUE (followingSoundsLikeReference (10));
}

/** Synced output of a processor whose host tempo moves from 90 to the given one. */
Buffer renderAfterTempoChange (double bpm)
{
    FakePlayHead head;
    head.bpm = 90.0;
    ProcessorRig rig;
    rig.processor.setParameter (8, 1.0f);
    rig.processor.setParameter (3, 0.5f);
    rig.processor.setPlayHead (&head);
    rig.prepare();
    rig.process (512);

    head.bpm = bpm;
    const auto output = rig.process (8192);
    rig.processor.setPlayHead (nullptr);
    return output;
}

TEST_F (ProcessorTest, EveryTempoTheHostGivesReachesTheModels)
{
    // Far too slow for any note value: the synced rate stops at its lowest.
    const auto lowestRate = renderAfterTempoChange (0.001);
    const auto unchanged = renderAfterTempoChange (90.0);
    EXPECT_TRUE (buffersDiffer (lowestRate, unchanged));

    for (const double bpm : { 0.0, -120.0 })
    {
        SCOPED_TRACE (bpm);
        expectEqualBuffers (renderAfterTempoChange (bpm), lowestRate);
    }

    for (const double bpm : { std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN() })
    {
        SCOPED_TRACE (bpm);
        const auto output = renderAfterTempoChange (bpm);
        EXPECT_TRUE (buffersDiffer (output, unchanged));

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < output.getNumSamples(); ++i)
                ASSERT_TRUE (std::isfinite (output.getSample (ch, i)));
    }
}

//==============================================================================
TEST_F (ProcessorTest, BlocksLongerThanTheWorkBuffersAreProcessedInSlices)
{
    ProcessorRig whole, sliced;

    for (auto* rig : { &whole, &sliced })
    {
        rig->prepare();
        rig->process (512);
        rig->processor.setParameter (1, 0.5f);
    }

    for (auto* rig : { &whole, &sliced })
        letModelSwitchTimerFire (rig->processor);

    for (auto* rig : { &whole, &sliced })
        rig->processor.setParameter (0, 0.0f);

    constexpr int longBlock = 40000;
    const auto input = whole.signal.next (2, longBlock);
    const auto output = whole.process (input);

    Buffer expected (2, longBlock);

    for (int start = 0; start < longBlock; start += 16384)
    {
        const int length = std::min (16384, longBlock - start);
        Buffer slice (2, length);

        for (int ch = 0; ch < 2; ++ch)
            slice.copyFrom (ch, 0, input, ch, start, length);

        const auto out = sliced.process (slice);

        for (int ch = 0; ch < 2; ++ch)
            expected.copyFrom (ch, start, out, ch, 0, length);
    }

    expectEqualBuffers (output, expected);
}

TEST_F (ProcessorTest, HostileParameterValuesSoundLikeTheNearestValidOnes)
{
    const auto nan = std::numeric_limits<float>::quiet_NaN();
    const auto inf = std::numeric_limits<float>::infinity();

    struct Case { int index; float hostile, limited; };

    const std::vector<Case> cases {
        { 2, nan, 0.0f }, { 3, 100.0f, 1.0f }, { 4, -5.0f, 0.0f }, { 5, inf, 1.0f },
        { 6, 2.0f, 1.0f }, { 7, nan, 0.0f }, { 8, -inf, 0.0f },
    };

    ProcessorRig hostile, limited;

    for (const auto& c : cases)
    {
        hostile.processor.setParameter (c.index, c.hostile);
        limited.processor.setParameter (c.index, c.limited);
    }

    hostile.prepare();
    limited.prepare();

    for (int block = 0; block < 4; ++block)
    {
        const auto out = hostile.process (1024);
        expectEqualBuffers (out, limited.process (1024));

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < out.getNumSamples(); ++i)
                ASSERT_TRUE (std::isfinite (out.getSample (ch, i)));
    }

    // The same values arriving while audio runs.
    hostile.processor.setParameter (3, -100.0f);
    limited.processor.setParameter (3, 0.0f);
    expectEqualBuffers (hostile.process (1024), limited.process (1024));
}

TEST_F (ProcessorTest, ProcessingBeforePreparationOrAfterReleaseLeavesTheBufferAlone)
{
    ProcessorRig rig;
    const auto block = rig.run (256);
    const auto& input = block.input;
    const auto& output = block.output;
    expectEqualBuffers (output, input);

    rig.prepare();
    rig.process (256);
    rig.processor.releaseResources();

    const auto block2 = rig.run (256);

    const auto& input2 = block2.input;

    const auto& output2 = block2.output;
    expectEqualBuffers (output2, input2);

    Buffer empty (2, 0);
    juce::MidiBuffer midi;
    rig.prepare();
    rig.processor.processBlock (empty, midi);
}

} // namespace
