// The audio-thread allocation counter sees every way of allocating, and only
// on the thread marked as the audio thread.
#include "AudioThreadAllocations.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <thread>
#include <vector>

namespace
{
using AudioThreadAllocations::Counts;
using AudioThreadAllocations::countDuring;

/** Keeps the compiler from pairing an allocation with its free and dropping both. */
void* escape (void* block)
{
    asm volatile ("" : : "g"(block) : "memory");
    return block;
}

struct AlignedBlock
{
    alignas (64) char bytes[64];
};

// TSan's runtime does not report aligned_alloc and posix_memalign to the
// allocation hooks the counter listens to there (their frees it does).
#if defined(__has_feature)
 #if __has_feature(thread_sanitizer)
  #define MODULIX_ALIGNED_C_ALLOCATIONS_UNSEEN 1
 #endif
#endif

#if MODULIX_ALIGNED_C_ALLOCATIONS_UNSEEN
constexpr bool alignedCAllocationsSeen = false;
#else
constexpr bool alignedCAllocationsSeen = true;
#endif

struct Form
{
    const char* name;
    void (*allocateAndFree)();
    bool allocationSeen = true;
};

const Form forms[] {
    { "new", [] { delete static_cast<int*> (escape (new int (1))); } },
    { "new[]", [] { delete[] static_cast<char*> (escape (new char[100])); } },
    { "nothrow new", [] { delete static_cast<int*> (escape (new (std::nothrow) int (2))); } },
    { "nothrow new[]", [] { delete[] static_cast<char*> (escape (new (std::nothrow) char[100])); } },
    { "aligned new", [] { delete static_cast<AlignedBlock*> (escape (new AlignedBlock())); } },
    { "aligned new[]", [] { delete[] static_cast<AlignedBlock*> (escape (new AlignedBlock[3])); } },
    { "malloc", [] { std::free (escape (std::malloc (100))); } },
    { "calloc", [] { std::free (escape (std::calloc (10, 10))); } },
    { "realloc", [] { std::free (escape (std::realloc (escape (std::malloc (10)), 1000))); } },
    { "aligned_alloc", [] { std::free (escape (std::aligned_alloc (64, 128))); }, alignedCAllocationsSeen },
    { "posix_memalign", [] { void* block = nullptr; if (posix_memalign (&block, 64, 128) == 0) std::free (escape (block)); }, alignedCAllocationsSeen },
    { "strdup", [] { std::free (escape (strdup ("a text to copy"))); } },
    { "std::string", [] { std::string text (100, 'x'); escape (text.data()); } },
    { "std::vector growth", [] { std::vector<int> v; for (int i = 0; i < 100; ++i) v.push_back (i); escape (v.data()); } },
};

TEST (AudioThreadAllocations, CountsEveryFormOnTheMarkedThread)
{
    for (const auto& form : forms)
    {
        const auto counts = countDuring (form.allocateAndFree);
        EXPECT_GE (counts.allocations, form.allocationSeen ? 1 : 0) << form.name;
        EXPECT_GE (counts.frees, 1) << form.name;
    }
}

TEST (AudioThreadAllocations, CountsNothingOnOtherThreads)
{
    for (const auto& form : forms)
    {
        // The other thread exists before the marking starts and allocates while it lasts.
        std::atomic<bool> go { false }, done { false };
        std::thread other ([&] {
            while (! go.load())
                std::this_thread::yield();

            form.allocateAndFree();
            done = true;
        });

        const auto counts = countDuring ([&] {
            go = true;

            while (! done.load())
                std::this_thread::yield();
        });

        other.join();
        EXPECT_EQ (counts, Counts {}) << form.name;
    }

    const auto before = AudioThreadAllocations::counted();
    forms[0].allocateAndFree();
    EXPECT_EQ (AudioThreadAllocations::counted(), before);
}

TEST (AudioThreadAllocations, CountsNothingForWorkThatDoesNotAllocate)
{
    int values[64] {};
    const auto counts = countDuring ([&] { for (int i = 0; i < 64; ++i) values[i] = i * i; escape (values); });
    EXPECT_EQ (counts, Counts {});
}
}
