// What the preset bar costs the host's main thread: a rebuild of its menu, which
// the editor runs as it opens, at each click on the preset name and three times
// after each program change or preset step, over libraries of 4096 and 10,000
// presets and over a tree larger than a build may read; and a paint of its label
// after a project handed over an overlong preset path.

#include "ModulixQR7150AudioProcessor.h"
#include "VeloraPresetMenu.h"

#include <benchmark/benchmark.h>

namespace
{
/** A folder of that many presets in 20 sub-folders, made once per machine. */
juce::File presetFolderOf (int numFiles)
{
    const auto folder = juce::File::getSpecialLocation (juce::File::tempDirectory)
                            .getChildFile ("modulix-preset-menu-benchmark-" + juce::String (numFiles));

    for (int i = 0; i < numFiles; ++i)
        if (const auto file = folder.getChildFile ("Sub" + juce::String (i % 20) + "/p" + juce::String (i) + ".vmxp");
            ! file.existsAsFile())
            file.create();

    return folder;
}

void rebuildMenu (benchmark::State& state, int numFiles)
{
    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    VeloraPresetMenu menu ("presetMenu_");
    menu.setDirectoryPath (presetFolderOf (numFiles).getFullPathName());
    menu.setFileExtension ("*.vmxp");

    for (auto _ : state)
        benchmark::DoNotOptimize (menu.createMenuTree());

    state.counters["files"] = menu.getNumOfFiles() - 1;
}

void rebuildMenuOf4096Presets (benchmark::State& state)   { rebuildMenu (state, 4096); }
void rebuildMenuOf10000Presets (benchmark::State& state)  { rebuildMenu (state, 10000); }
void rebuildMenuAtItsBound (benchmark::State& state)      { rebuildMenu (state, VeloraOptionMenuTree::maxEntriesRead + 2000); }

void paintLabelAfterAnOverlongStatePath (benchmark::State& state)
{
    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    ModulixQR7150AudioProcessor source, processor;
    source.programs[0].presetPath[0] = juce::String::repeatedString ("p", 1000000);
    juce::MemoryBlock block;
    source.getStateInformation (block);
    processor.setStateInformation (block.getData(), (int) block.getSize());

    VeloraPresetMenu menu ("presetMenu_");
    // A library of its own with no presets: the temporary folder, shared with other
    // programs, would be walked whatever it holds, any number of files of any names.
    menu.setDirectoryPath (presetFolderOf (0).getFullPathName());
    menu.setSelectedFilePath (processor.programs[0].presetPath[0]);
    menu.setBounds (0, 0, 200, 26);
    juce::Image image (juce::Image::ARGB, 200, 26, true);
    {
        juce::Graphics g (image);
        menu.paintEntireComponent (g, false);   // loads the font once
    }

    for (auto _ : state)
    {
        juce::Graphics g (image);
        menu.paintEntireComponent (g, false);
    }
}

BENCHMARK (rebuildMenuOf4096Presets)->Unit (benchmark::kMillisecond);
BENCHMARK (rebuildMenuOf10000Presets)->Unit (benchmark::kMillisecond);
BENCHMARK (rebuildMenuAtItsBound)->Unit (benchmark::kMillisecond);
BENCHMARK (paintLabelAfterAnOverlongStatePath)->Unit (benchmark::kMicrosecond);
} // namespace
