// Cost of the processor's audio callback around a change of chorus type, for
// 64-sample stereo blocks: the block in which a new model takes over (it is
// prepared for the values in force and starts its cross-fade) against a block
// of a cross-fade already running. Both rotate through the three models; each
// timed block follows a whole fade, so the count of blocks timed is fixed.

#include "ModulixQR7150AudioProcessor.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace
{
constexpr int blockSize = 64;

class SwitchingProcessor
{
public:
    explicit SwitchingProcessor (double sampleRate)
        : fadeBlocks (getSampleRateBandLength (static_cast<float> (sampleRate)) / blockSize + 1)
    {
        processor.prepareToPlay (sampleRate, blockSize);
        processor.setParameter (4, 0.6f);
        processor.setParameter (7, 1.0f);
        processBlock();
    }

    /** Lets any running fade end, then has the timer choose the next model. */
    void chooseNextModel()
    {
        for (int i = 0; i < fadeBlocks; ++i)
            processBlock();

        type = (type + 1) % 3;
        processor.setParameter (1, 0.5f * static_cast<float> (type));
        processor.timerCallback();
    }

    void processBlock()
    {
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < blockSize; ++i)
                buffer.setSample (ch, i, 0.4f * std::sin (0.0577f * static_cast<float> (position + i) + static_cast<float> (ch)));

        position += blockSize;
        processor.processBlock (buffer, midi);
        benchmark::DoNotOptimize (buffer.getReadPointer (0));
    }

private:
    ModulixQR7150AudioProcessor processor;
    juce::AudioBuffer<float> buffer { 2, blockSize };
    juce::MidiBuffer midi;
    const int fadeBlocks;
    int type = 0;
    long position = 0;
};

/** Times one block: the one in which the newly chosen model takes over, or
    one later, while the cross-fade runs. */
void blockAfterAModelChoice (benchmark::State& state, int blocksBefore)
{
    SwitchingProcessor switching (static_cast<double> (state.range (0)));

    for (auto _ : state)
    {
        state.PauseTiming();
        switching.chooseNextModel();

        for (int i = 0; i < blocksBefore; ++i)
            switching.processBlock();

        state.ResumeTiming();
        switching.processBlock();
    }
}

BENCHMARK_CAPTURE (blockAfterAModelChoice, whereTheNewModelTakesOver, 0)
    ->Arg (48000)->Arg (192000)->Iterations (400)->Unit (benchmark::kMicrosecond);
BENCHMARK_CAPTURE (blockAfterAModelChoice, ofTheRunningCrossFade, 1)
    ->Arg (48000)->Arg (192000)->Iterations (400)->Unit (benchmark::kMicrosecond);
}
