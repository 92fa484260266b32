// What restoring a project's component state costs a VST3 host's main thread,
// through the built bundle as a host reaches it (the component's setState with
// a stream that knows its size): the plug-in's own saved state; that state with
// private data holding many properties, which JUCE's value tree reader takes
// one by one, each looked for among those before; and with the largest private
// data the wrapper's state check lets through.

#include "Vst3HostStream.h"
#include "Vst3StateCheck.h"
#include "Vst3StateForms.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <benchmark/benchmark.h>

#include <pluginterfaces/vst/ivstcomponent.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace
{
using namespace Vst3StateForms;

/** One instance of the built bundle, with a home folder of its own so that the
    plug-in reads no user's files, and its component as a host holds it. */
struct Vst3Bench
{
    Vst3Bench()
    {
        const auto home = juce::File::getSpecialLocation (juce::File::tempDirectory)
                              .getChildFile ("modulix-vst3-benchmark-home");
        home.createDirectory();
        ::setenv ("HOME", home.getFullPathName().toRawUTF8(), 1);
    }

    bool load()
    {
        juce::OwnedArray<juce::PluginDescription> types;
        format.findAllTypesForFile (types, MODULIX_VST3_BUNDLE);
        juce::String error;

        if (types.size() == 1)
            instance = format.createInstanceFromDescription (*types[0], 44100.0, 512, error);

        struct : juce::ExtensionsVisitor
        {
            void visitVST3Client (const VST3Client& client) override  { found = client.getIComponentPtr(); }
            Steinberg::Vst::IComponent* found = nullptr;
        } visitor;

        if (instance != nullptr)
            instance->getExtensions (visitor);

        component = visitor.found;
        return component != nullptr;
    }

    /** The component state the instance saves. */
    Bytes savedState()
    {
        Vst3HostStream::Stream saved;
        component->getState (&saved);
        return saved.contents();
    }

    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    juce::VST3PluginFormat format;
    std::unique_ptr<juce::AudioPluginInstance> instance;
    Steinberg::Vst::IComponent* component = nullptr;
};

/** Restores the stream again and again; the wrapper seeks to its start each time. */
void restore (benchmark::State& state, Vst3Bench& bench, const Bytes& bytes)
{
    Vst3HostStream::Stream stream (bytes.data(), bytes.size(), {});

    for (auto _ : state)
        benchmark::DoNotOptimize (bench.component->setState (&stream));
}

void vst3RestoreSavedState (benchmark::State& state)
{
    Vst3Bench bench;

    if (! bench.load())
        return state.SkipWithError ("the VST3 bundle did not load");

    restore (state, bench, bench.savedState());
}

/** The plug-in's block of the saved state. */
Bytes savedBlock (Vst3Bench& bench)
{
    const auto saved = bench.savedState();
    Bytes block;
    Vst3StateCheck::forEachBlock (saved.data(), saved.size(), [&block] (const Vst3StateCheck::Block& found)
    {
        const auto* p = static_cast<const uint8_t*> (found.data);
        block.assign (p, p + found.size);
    });

    return block;
}

void vst3RestoreStateWithManyPrivateProperties (benchmark::State& state)
{
    Vst3Bench bench;

    if (! bench.load())
        return state.SkipWithError ("the VST3 bundle did not load");

    restore (state, bench, vstw (bank (withTrailer (savedBlock (bench), manyPropertiesTree ((uint32_t) state.range (0))))));
}

/** As much private data as the state check lets through: every node it
    allows, each property with a name as long as the tree's bytes allow. */
juce::ValueTree largestPrivateData()
{
    using namespace Vst3StateCheck;
    constexpr int numChildren = 3, propertiesEach = (maxNodes - 1) / (numChildren + 1) - 1;
    constexpr int nameLength = (int) std::min (maxNameBytes, maxTreeBytes / ((numChildren + 1) * propertiesEach) - 4);

    const auto withProperties = [] (juce::ValueTree tree)
    {
        for (int i = 0; i < propertiesEach; ++i)
            tree.setProperty (juce::String (i).paddedLeft ('p', nameLength), juce::var(), nullptr);

        return tree;
    };

    auto root = withProperties (juce::ValueTree ("JUCEPrivateData"));

    for (int i = 0; i < numChildren; ++i)
        root.appendChild (withProperties (juce::ValueTree ("Child" + juce::String (i))), nullptr);

    return root;
}

void vst3RestoreStateWithTheLargestPrivateDataTaken (benchmark::State& state)
{
    Vst3Bench bench;

    if (! bench.load())
        return state.SkipWithError ("the VST3 bundle did not load");

    const auto tree = treeBytes (largestPrivateData());

    if (! Vst3StateCheck::isSoundValueTree (tree.data(), tree.size()))
        return state.SkipWithError ("the state check refuses the private data");

    restore (state, bench, vstw (bank (withTrailer (savedBlock (bench), tree))));
}

BENCHMARK (vst3RestoreSavedState)->Unit (benchmark::kMicrosecond);
BENCHMARK (vst3RestoreStateWithManyPrivateProperties)->Arg (10000)->Arg (100000)->Arg (1000000)->Unit (benchmark::kMillisecond);
BENCHMARK (vst3RestoreStateWithTheLargestPrivateDataTaken)->Unit (benchmark::kMicrosecond);
} // namespace
