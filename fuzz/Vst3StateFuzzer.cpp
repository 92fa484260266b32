// Feeds each input to the built VST3 bundle as a host restores a project: as
// the stream handed to the component's setState, on an instance loaded through
// JUCE's VST3 host. A crash, a hang, a stream refused or taken against what the
// state check says, or sound that is not finite after a stream is taken fails
// the run.

#include "PluginBlockParse.h"
#include "Vst3StateCheck.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <pluginterfaces/base/ibstream.h>
#include <pluginterfaces/vst/ivstcomponent.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace
{
constexpr double sampleRate = 44100.0;
constexpr int blockSize = 256;

void require (bool condition)
{
    if (! condition)
        __builtin_trap();
}

/** A host's stream over bytes in memory, as plain as the interface allows: it
    offers no other interface, so the wrapper reads it to its end. */
class Stream final : public Steinberg::IBStream
{
public:
    Stream() = default;
    Stream (const uint8_t* data, size_t size) : bytes (data, data + size) {}

    const std::vector<uint8_t>& contents() const noexcept  { return bytes; }

    Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID, void** obj) override
    {
        *obj = nullptr;
        return Steinberg::kNoInterface;
    }

    Steinberg::uint32 PLUGIN_API addRef() override   { return 1; }
    Steinberg::uint32 PLUGIN_API release() override  { return 1; }

    Steinberg::tresult PLUGIN_API read (void* buffer, Steinberg::int32 numBytes, Steinberg::int32* numBytesRead) override
    {
        const auto n = (size_t) std::clamp<Steinberg::int64> (numBytes, 0, (Steinberg::int64) (bytes.size() - position));

        if (n > 0)
            std::memcpy (buffer, bytes.data() + position, n);

        position += n;

        if (numBytesRead != nullptr)
            *numBytesRead = (Steinberg::int32) n;

        return Steinberg::kResultOk;
    }

    Steinberg::tresult PLUGIN_API write (void* buffer, Steinberg::int32 numBytes, Steinberg::int32* numBytesWritten) override
    {
        const auto* p = static_cast<const uint8_t*> (buffer);
        bytes.insert (bytes.begin() + (std::ptrdiff_t) position, p, p + std::max (numBytes, 0));
        position += (size_t) std::max (numBytes, 0);

        if (numBytesWritten != nullptr)
            *numBytesWritten = numBytes;

        return Steinberg::kResultOk;
    }

    Steinberg::tresult PLUGIN_API seek (Steinberg::int64 pos, Steinberg::int32 mode, Steinberg::int64* result) override
    {
        const auto base = mode == kIBSeekSet ? 0 : mode == kIBSeekCur ? (Steinberg::int64) position : (Steinberg::int64) bytes.size();
        position = (size_t) std::clamp<Steinberg::int64> (base + pos, 0, (Steinberg::int64) bytes.size());

        if (result != nullptr)
            *result = (Steinberg::int64) position;

        return Steinberg::kResultTrue;
    }

    Steinberg::tresult PLUGIN_API tell (Steinberg::int64* pos) override
    {
        *pos = (Steinberg::int64) position;
        return Steinberg::kResultTrue;
    }

private:
    std::vector<uint8_t> bytes;
    size_t position = 0;
};

/** What a stream the wrapper takes can change in the instance: the bank, only
    through a block the plug-in can parse; the bypass, through private data. */
enum class Change { nothing, bypass, bank };

Change possibleChange (const uint8_t* data, size_t size)
{
    auto change = Change::nothing;

    Vst3StateCheck::forEachBlock (data, size, [&change] (const Vst3StateCheck::Block& block)
    {
        if (pluginCouldTakeBlock (static_cast<const uint8_t*> (block.data), block.size))
            change = Change::bank;
        else if (block.treeBytes > 0 && change == Change::nothing)
            change = Change::bypass;
    });

    return change;
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
        size_t blockBytes = 0;
        Vst3StateCheck::forEachBlock (bytes.data(), bytes.size(), [&blockBytes] (const Vst3StateCheck::Block& block)
        {
            blockBytes = block.size;
        });

        return new Stream (bytes.data() + blockBytes, bytes.size() - blockBytes);
    }();

    Stream stream (data, size);
    const bool taken = instance.component->setState (&stream) == Steinberg::kResultTrue;
    require (taken == (size > 0 && Vst3StateCheck::isLoadable (data, size)));

    // A stream refused leaves the instance as it was (the crafted-state tests
    // hold it to that); one taken that can change it is played, then undone
    // with as little as it could have changed: reading a whole bank back is most
    // of a run.
    const auto change = taken ? possibleChange (data, size) : Change::nothing;

    if (change == Change::nothing)
        return 0;

    require (instance.playsFiniteSound());
    require (instance.component->setState (change == Change::bank ? &fresh : &freshBypass) == Steinberg::kResultTrue);
    return 0;
}
