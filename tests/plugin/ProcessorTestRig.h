#pragma once

#include "ModulixQR7150AudioProcessor.h"
#include "../MessagePump.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <functional>

namespace modulix_test
{

/** The processor, counting its model-switch timer's callbacks, so that a test
    can wait for the callback that follows a chorus-type change. A change from
    another thread starts the timer only at a later tick of the message thread,
    so whether the timer runs does not tell on its own. */
class TimerCountingProcessor final : public ModulixQR7150AudioProcessor
{
public:
    void setParameter (int index, float value) override
    {
        if (index == typeIndex)
            callbacksBeforeTypeChange = timerCallbacks.load();

        ModulixQR7150AudioProcessor::setParameter (index, value);
    }

    void timerCallback() override
    {
        ModulixQR7150AudioProcessor::timerCallback();
        ++timerCallbacks;
    }

    /** True once the timer has called back since the last chorus-type change
        through setParameter, and has not been started again since. */
    bool hasSwitchTimerFired() const noexcept
    {
        return timerCallbacks.load() > callbacksBeforeTypeChange.load() && ! isTimerRunning();
    }

private:
    std::atomic<int> timerCallbacks { 0 }, callbacksBeforeTypeChange { -1 };
};

/** Runs the message loop until the model-switch timer has fired after the
    last chorus-type change; a test failure when it has not within many seconds. */
inline void letModelSwitchTimerFire (const TimerCountingProcessor& processor)
{
    if (! pumpUntil ([&processor] { return processor.hasSwitchTimerFired(); }, generousWaitMs))
        ADD_FAILURE() << "the model-switch timer did not fire";
}

/** A deterministic stereo test signal that continues across blocks. */
class TestSignal
{
public:
    juce::AudioBuffer<float> next (int numChannels, int numSamples)
    {
        juce::AudioBuffer<float> buffer (numChannels, numSamples);

        for (int i = 0; i < numSamples; ++i, ++position)
        {
            const auto t = static_cast<float> (position) / 44100.0f;

            for (int ch = 0; ch < numChannels; ++ch)
            {
                const auto f = ch == 0 ? 441.0f : 663.0f;
                buffer.setSample (ch, i, 0.4f * std::sin (juce::MathConstants<float>::twoPi * f * t)
                                         + 0.2f * std::sin (juce::MathConstants<float>::twoPi * 3.1f * f * t));
            }
        }

        return buffer;
    }

private:
    juce::int64 position = 0;
};

/** Bus layouts by their channel counts. */
inline juce::AudioProcessor::BusesLayout makeLayout (int ins, int outs)
{
    const auto set = [] (int n) { return n == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo(); };

    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (set (ins));
    layout.outputBuses.add (set (outs));
    return layout;
}

/** One processor with its own input signal: prepare, set values, run blocks. */
struct ProcessorRig
{
    explicit ProcessorRig (double rate = 44100.0, int ins = 2, int outs = 2, int announcedBlock = 512)
        : sampleRate (rate), numIns (ins), numOuts (outs), blockSize (announcedBlock)
    {
        processor.setBusesLayout (makeLayout (ins, outs));
    }

    void prepare()  { processor.prepareToPlay (sampleRate, blockSize); }

    int getFadeLength() const  { return getSampleRateBandLength (static_cast<float> (sampleRate)); }

    struct Block
    {
        juce::AudioBuffer<float> input, output;
    };

    /** The next block of this rig's signal, before and after processing. */
    Block run (int numSamples)
    {
        auto input = signal.next (std::max (numIns, numOuts), numSamples);
        auto output = process (input);
        return { std::move (input), std::move (output) };
    }

    juce::AudioBuffer<float> process (int numSamples)  { return run (numSamples).output; }

    /** Processes a copy of a given input instead of this rig's own signal. */
    juce::AudioBuffer<float> process (const juce::AudioBuffer<float>& input)
    {
        auto output = input;
        juce::MidiBuffer midi;
        processor.processBlock (output, midi);
        return output;
    }

    TimerCountingProcessor processor;
    TestSignal signal;
    double sampleRate;
    int numIns, numOuts, blockSize;
};

/** Fixture with JUCE's message manager, for the model-switch timer. */
class ProcessorTest : public ::testing::Test
{
protected:
    juce::ScopedJuceInitialiser_GUI juceInitialiser;
};

/** Compares every sample of two buffers against an expected per-sample value. */
inline void expectSamples (const juce::AudioBuffer<float>& actual, int channel,
                           const std::function<float (int)>& expected, float tolerance = 1.0e-6f)
{
    for (int i = 0; i < actual.getNumSamples(); ++i)
    {
        ASSERT_NEAR (actual.getSample (channel, i), expected (i), tolerance)
            << "channel " << channel << ", sample " << i;
    }
}

inline void expectEqualBuffers (const juce::AudioBuffer<float>& actual, const juce::AudioBuffer<float>& expected)
{
    ASSERT_EQ (actual.getNumChannels(), expected.getNumChannels());

    for (int ch = 0; ch < actual.getNumChannels(); ++ch)
        expectSamples (actual, ch, [&] (int i) { return expected.getSample (ch, i); }, 0.0f);
}

inline bool buffersDiffer (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b, int channel = 0)
{
    for (int i = 0; i < a.getNumSamples(); ++i)
        if (a.getSample (channel, i) != b.getSample (channel, i))
            return true;

    return false;
}

} // namespace modulix_test
