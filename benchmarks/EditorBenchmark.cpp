// What the plug-in window costs the host's main thread: opening it (every
// picture decoded, every child built) and one tick of its refresh timer while
// nothing changes, which an open window pays twenty times a second.

#include "ModulixQR7150AudioProcessorEditor.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace
{
/** JUCE's message manager for one benchmark, with a home folder of its own so
    that the preset menu reads no user's files. */
struct EditorBench
{
    EditorBench()
    {
        const auto home = juce::File::getSpecialLocation (juce::File::tempDirectory)
                              .getChildFile ("modulix-editor-benchmark-home");
        home.createDirectory();
        ::setenv ("HOME", home.getFullPathName().toRawUTF8(), 1);
    }

    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    ModulixQR7150AudioProcessor processor;
};

void openEditor (benchmark::State& state)
{
    EditorBench bench;

    for (auto _ : state)
    {
        std::unique_ptr<juce::AudioProcessorEditor> editor (bench.processor.createEditor());
        benchmark::DoNotOptimize (editor.get());
    }
}

void idleTimerTick (benchmark::State& state)
{
    EditorBench bench;
    std::unique_ptr<juce::AudioProcessorEditor> editor (bench.processor.createEditor());
    auto& timer = dynamic_cast<juce::Timer&> (*editor);
    timer.stopTimer();

    // The first ticks show the processor's state and re-select its preset.
    for (int i = 0; i < 4; ++i)
        timer.timerCallback();

    for (auto _ : state)
        timer.timerCallback();
}

BENCHMARK (openEditor)->Unit (benchmark::kMillisecond);
BENCHMARK (idleTimerTick)->Unit (benchmark::kNanosecond);
} // namespace
