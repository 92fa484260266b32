// The reference count of the VST3 SDK objects that JUCE builds the plug-in's
// edit controller and editor view from, as juce_modules compiles it for the
// plug-in. Host threads and the plug-in's own may each drop a reference to one
// object at the same moment: a release that answers with a count another
// thread left lets two threads both see 0, and both delete the object.

#include <juce_audio_processors/juce_audio_processors.h>

#include <base/source/fobject.h>

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

namespace
{
/** Lets two threads go on from the same point at the same moment, as closely
    as spinning on an atomic lets them. */
class SpinBarrier
{
public:
    void arriveAndWait() noexcept
    {
        const int generationNow = generation.load();

        if (waiting.fetch_add (1) == 1)
        {
            waiting.store (0);
            generation.fetch_add (1);
            return;
        }

        while (generation.load() == generationNow)
        {
        }
    }

private:
    std::atomic<int> waiting { 0 }, generation { 0 };
};

struct CountedObject final : Steinberg::FObject {};

TEST (Vst3ReferenceCount, ReleasesAtOnceEachAnswerTheCountTheyLeft)
{
    // Three references in each round: two threads drop one each at once, so
    // the answers must be 2 and 1; the last reference goes afterwards. (With
    // two, a wrong count would delete the object twice.)
    constexpr int rounds = 100000;
    SpinBarrier barrier;
    CountedObject* object = nullptr;
    Steinberg::uint32 answers[2] {};

    std::thread other ([&]
    {
        for (int round = 0; round < rounds; ++round)
        {
            barrier.arriveAndWait();
            answers[1] = object->release();
            barrier.arriveAndWait();
        }
    });

    int wrongRounds = 0;

    for (int round = 0; round < rounds; ++round)
    {
        object = new CountedObject();
        object->addRef();
        object->addRef();

        barrier.arriveAndWait();
        answers[0] = object->release();
        barrier.arriveAndWait();

        if (std::set<Steinberg::uint32> (std::begin (answers), std::end (answers)) != std::set<Steinberg::uint32> { 1, 2 })
            ++wrongRounds;

        EXPECT_EQ (object->release(), 0u);
    }

    other.join();
    EXPECT_EQ (wrongRounds, 0) << "of " << rounds << " rounds";
}
}
