// Counts the heap allocations and frees made on a thread while it plays the
// part of a host's audio thread, in this process and in every plug-in module
// it loads. Linked into a test executable, it takes over the global operator
// new and delete and the C allocator; under ASan or TSan, whose runtimes own
// the allocator, it listens through the sanitizers' allocation hooks instead
// (TSan's runtime leaves aligned_alloc and posix_memalign out of those).
#pragma once

#include <cstdint>
#include <ostream>

namespace AudioThreadAllocations
{
/** Allocations and frees counted so far, over every thread ever marked. */
struct Counts
{
    std::int64_t allocations = 0;
    std::int64_t frees = 0;

    bool operator== (const Counts& other) const noexcept
    {
        return allocations == other.allocations && frees == other.frees;
    }
};

inline std::ostream& operator<< (std::ostream& out, const Counts& counts)
{
    return out << counts.allocations << " allocations and " << counts.frees << " frees";
}

Counts counted() noexcept;

/** Marks the calling thread as the audio thread while it lives: every
    allocation and free it makes meanwhile is counted. */
class ScopedAudioThread
{
public:
    ScopedAudioThread() noexcept;
    ~ScopedAudioThread();

    ScopedAudioThread (const ScopedAudioThread&) = delete;
    ScopedAudioThread& operator= (const ScopedAudioThread&) = delete;

private:
    bool wasMarked;
};

/** What one marked stretch of work allocated and freed. */
template <typename Work>
Counts countDuring (Work&& work)
{
    const auto before = counted();
    {
        const ScopedAudioThread audioThread;
        work();
    }
    const auto after = counted();
    return { after.allocations - before.allocations, after.frees - before.frees };
}
}
