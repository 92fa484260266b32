#pragma once

// A host's stream over bytes in memory, as VST3 hosts hand one to a component's
// setState and getState: optionally sizeable, which sends JUCE's wrapper down
// its road for streams that know their size, and reading as the stream
// interface allows a host's stream to read: fewer bytes than asked for, or,
// from some point on, nothing or a failure.

#include <pluginterfaces/base/ibstream.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace Vst3HostStream
{
/** How a stream hands its bytes over. */
struct Reads
{
    static constexpr Steinberg::int32 whole = std::numeric_limits<Steinberg::int32>::max();
    static constexpr size_t never = std::numeric_limits<size_t>::max();

    bool sizeable = true;                  // offers ISizeableStream
    Steinberg::int32 largestPiece = whole; // bytes handed over per read at most
    size_t stopAt = never;                 // reads from this position on give no bytes...
    bool failFromStop = false;             // ...and answer kResultFalse
};

// The SDK's interfaces leave their destructors non-virtual; nothing deletes a
// stream through them.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

class Stream final : public Steinberg::IBStream,
                     public Steinberg::ISizeableStream
{
public:
    /** An empty stream to write into, offering no interface beside IBStream. */
    Stream() : reads { false } {}

    /** A stream over a copy of the bytes. */
    Stream (const void* data, size_t size, Reads howItReads)
        : bytes (static_cast<const uint8_t*> (data), static_cast<const uint8_t*> (data) + size),
          reads (howItReads)
    {
    }

    const std::vector<uint8_t>& contents() const noexcept  { return bytes; }

    Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID iid, void** obj) override
    {
        using Steinberg::FUnknownPrivate::iidEqual;

        if (iidEqual (iid, Steinberg::FUnknown_iid) || iidEqual (iid, Steinberg::IBStream_iid))
            *obj = static_cast<Steinberg::IBStream*> (this);
        else if (reads.sizeable && iidEqual (iid, Steinberg::ISizeableStream_iid))
            *obj = static_cast<Steinberg::ISizeableStream*> (this);
        else
            *obj = nullptr;

        return *obj != nullptr ? Steinberg::kResultOk : Steinberg::kNoInterface;
    }

    // Lives on the caller's stack or for the whole run: counting is not needed.
    Steinberg::uint32 PLUGIN_API addRef() override   { return 1; }
    Steinberg::uint32 PLUGIN_API release() override  { return 1; }

    Steinberg::tresult PLUGIN_API read (void* buffer, Steinberg::int32 numBytes, Steinberg::int32* numBytesRead) override
    {
        const bool fails = reads.failFromStop && position >= reads.stopAt;
        const auto end = std::min (bytes.size(), reads.stopAt);
        const auto available = position < end ? end - position : 0;
        const auto n = std::min (available, (size_t) std::clamp (numBytes, 0, reads.largestPiece));

        if (n > 0)
            std::memcpy (buffer, bytes.data() + position, n);

        position += n;

        if (numBytesRead != nullptr)
            *numBytesRead = (Steinberg::int32) n;

        return fails ? Steinberg::kResultFalse : Steinberg::kResultOk;
    }

    Steinberg::tresult PLUGIN_API write (void* buffer, Steinberg::int32 numBytes, Steinberg::int32* numBytesWritten) override
    {
        const auto n = (size_t) std::max (numBytes, 0);
        const auto* p = static_cast<const uint8_t*> (buffer);
        bytes.resize (std::max (bytes.size(), position + n));
        std::copy (p, p + n, bytes.begin() + (std::ptrdiff_t) position);
        position += n;

        if (numBytesWritten != nullptr)
            *numBytesWritten = (Steinberg::int32) n;

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
        if (pos == nullptr)
            return Steinberg::kInvalidArgument;

        *pos = (Steinberg::int64) position;
        return Steinberg::kResultTrue;
    }

    Steinberg::tresult PLUGIN_API getStreamSize (Steinberg::int64& size) override
    {
        size = (Steinberg::int64) bytes.size();
        return Steinberg::kResultOk;
    }

    Steinberg::tresult PLUGIN_API setStreamSize (Steinberg::int64) override  { return Steinberg::kNotImplemented; }

private:
    std::vector<uint8_t> bytes;
    size_t position = 0;
    Reads reads;
};

#pragma GCC diagnostic pop
}
