// Feeds each input to the built VST3 bundle as a host restores a project: as
// the stream handed to the component's setState, on an instance loaded through
// JUCE's VST3 host. A crash, a hang, a stream refused or taken against what the
// state check and the plug-in's reader say, or sound that is not finite after a
// stream is taken fails the run.

#include "PluginBlockParse.h"
#include "Vst3HostStream.h"
#include "Vst3StateCheck.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <pluginterfaces/vst/ivstcomponent.h>

#include <cmath>
#include <cstdint>

namespace
{
constexpr double sampleRate = 44100.0;
constexpr int blockSize = 256;

void require (bool condition)
{
    if (! condition)
        __builtin_trap();
}

using Vst3HostStream::Stream;

// As plain a stream as the interface allows: it offers no other interface, so
// the wrapper reads it to its end.
constexpr Vst3HostStream::Reads plainReads { false };

/** What a stream the wrapper takes can change in the instance: the bank, only
    through a block the plug-in can parse; the bypass, through private data. */
enum class Change { nothing, bypass, bank };

/** What the wrapper should make of a stream: whether it takes it, which needs
    the state check and the plug-in's reader both to take it (a state with no
    block of the plug-in's gives the reader nothing to refuse), and what then
    may change. */
struct Outcome
{
    bool taken = false;
    Change change = Change::nothing;
};

Outcome expectedOutcome (const uint8_t* data, size_t size)
{
    bool blockTaken = true;
    auto change = Change::nothing;

    const bool loadable = Vst3StateCheck::forEachBlock (data, size, [&] (const Vst3StateCheck::Block& block)
    {
        const auto verdict = block.size == 0 ? BlockVerdict::takenEmpty
                                             : pluginVerdictOnBlock (static_cast<const uint8_t*> (block.data), block.size);
        blockTaken = blockTaken && verdict != BlockVerdict::refused;

        if (verdict == BlockVerdict::taken)
            change = Change::bank;
        else if (block.treeBytes > 0 && change == Change::nothing)
            change = Change::bypass;
    });

    if (size == 0 || ! loadable || ! blockTaken)
        return {};

    return { true, change };
}

/** An instance that lives for the whole run: loading one per input would spend
    the run building chorus models. Never deleted: at exit it would unload after
    the bundle's statics are gone. */
struct Instance
{
    Instance()
    {
        static auto& format = *new juce::VST3PluginFormat();
        juce::OwnedArray<juce::PluginDescription> types;
        format.findAllTypesForFile (types, MODULIX_VST3_BUNDLE);
        require (types.size() == 1);

        juce::String error;
        plugin = format.createInstanceFromDescription (*types[0], sampleRate, blockSize, error).release();
        require (plugin != nullptr);
        struct : juce::ExtensionsVisitor
        {
            void visitVST3Client (const VST3Client& client) override  { found = client.getIComponentPtr(); }
            Steinberg::Vst::IComponent* found = nullptr;
        } visitor;

        plugin->getExtensions (visitor);
        component = visitor.found;
        require (component != nullptr);
        plugin->prepareToPlay (sampleRate, blockSize);
    }

    bool playsFiniteSound()
    {
        juce::AudioBuffer<float> buffer (2, blockSize);

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < blockSize; ++i)
                buffer.setSample (ch, i, (float) ((i * 7 + ch * 3) % 19) / 19.0f - 0.5f);

        juce::MidiBuffer midi;
        plugin->processBlock (buffer, midi);

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < blockSize; ++i)
                if (! std::isfinite (buffer.getSample (ch, i)))
                    return false;

        return true;
    }

    juce::AudioPluginInstance* plugin = nullptr;
    Steinberg::Vst::IComponent* component = nullptr;
};
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    [[maybe_unused]] static const auto* juceInitialiser = new juce::ScopedJuceInitialiser_GUI();
    static auto& instance = *new Instance();
    static auto& fresh = *[]
    {
        auto* saved = new Stream();
        require (instance.component->getState (saved) == Steinberg::kResultOk);
        return saved;
    }();

    // The fresh state's private data alone: the wrapper takes it without handing
    // the plug-in a block, so it puts back the bypass and nothing else.
    static auto& freshBypass = *[]
    {
        const auto& bytes = fresh.contents();
        size_t privateDataAt = 0;
        Vst3StateCheck::forEachBlock (bytes.data(), bytes.size(), [&] (const Vst3StateCheck::Block& block)
        {
            privateDataAt = (size_t) (static_cast<const uint8_t*> (block.data) + block.size - bytes.data());
        });

        return new Stream (bytes.data() + privateDataAt, bytes.size() - privateDataAt, plainReads);
    }();

    Stream stream (data, size, plainReads);
    const bool taken = instance.component->setState (&stream) == Steinberg::kResultTrue;
    const auto expected = expectedOutcome (data, size);
    require (taken == expected.taken);

    // A stream refused leaves the instance as it was (the crafted-state tests
    // hold it to that); one taken that can change it is played, then undone
    // with as little as it could have changed: reading a whole bank back is most
    // of a run.
    if (! taken || expected.change == Change::nothing)
        return 0;

    require (instance.playsFiniteSound());
    require (instance.component->setState (expected.change == Change::bank ? &fresh : &freshBypass) == Steinberg::kResultTrue);
    return 0;
}
