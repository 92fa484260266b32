// What saving and restoring a project costs the host: the whole bank written
// and read back as the state block, as a host asks for it when it saves a
// project and opens it again.

#include "ModulixQR7150AudioProcessor.h"

#include <benchmark/benchmark.h>

namespace
{
void saveBank (benchmark::State& state)
{
    ModulixQR7150AudioProcessor processor;
    juce::MemoryBlock block;

    for (auto _ : state)
    {
        processor.getStateInformation (block);
        benchmark::DoNotOptimize (block.getData());
    }
}

void restoreBank (benchmark::State& state)
{
    ModulixQR7150AudioProcessor processor;
    juce::MemoryBlock block;
    processor.getStateInformation (block);

    for (auto _ : state)
        processor.setStateInformation (block.getData(), (int) block.getSize());
}

BENCHMARK (saveBank)->Unit (benchmark::kMicrosecond);
BENCHMARK (restoreBank)->Unit (benchmark::kMicrosecond);
} // namespace
