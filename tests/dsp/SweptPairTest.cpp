#include "ModulatingDelayLine.h"
#include "TestBits.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

namespace
{
    std::unique_ptr<ModulatingDelayLine> makeLine (float sampleRate = 48000.0f)
    {
        auto line = std::make_unique<ModulatingDelayLine>();
        line->setSampleRate (sampleRate);
        line->reset();
        line->setDelay (7.0f);
        line->setSweepWidth (2.0f);
        line->calc();
        line->forceCalcParams();
        return line;
    }

    double input (int n, double phase)  { return 0.7 * std::sin (0.013 * n + phase) + 0.2 * std::sin (0.21 * n); }
    float lfo (int n)                   { return 0.5f + 0.5f * static_cast<float> (std::sin (0.0011 * n)); }

    /** Two lines run through a SweptPair beside two twins run one by one, from the same state. */
    class SweptPairTest : public ::testing::Test
    {
    protected:
        /** Runs one block through both pairs and checks every output sample. */
        ::testing::AssertionResult runBlock (int numSamples)
        {
            {
                ModulatingDelayLine::SweptPair pair (*left, *right);

                for (int k = 0; k < numSamples; ++k, ++n)
                {
                    DoublePair lanes (input (n, 0.0), input (n, 1.0));
                    pair.process (lanes, lfo (n));

                    auto alone = input (n, 0.0), twin = input (n, 1.0);
                    auto mod = lfo (n);
                    leftTwin->process (alone, mod);
                    rightTwin->process (twin, mod);

                    if (bitsOf (lanes.left()) != bitsOf (alone) || bitsOf (lanes.right()) != bitsOf (twin))
                        return ::testing::AssertionFailure() << "sample " << n << " gave (" << lanes.left() << ", "
                                                             << lanes.right() << ") where (" << alone << ", " << twin << ") was expected";
                }
            }

            for (const auto& [line, twin] : { std::pair (left.get(), leftTwin.get()), std::pair (right.get(), rightTwin.get()) })
                if (! line->movesInStepWith (*twin) || bitsOf (line->getReadPosition()) != bitsOf (twin->getReadPosition()))
                    return ::testing::AssertionFailure() << "a line left the block in another state than its twin, after sample " << n;

            return ::testing::AssertionSuccess();
        }

        void forEachLine (const std::function<void (ModulatingDelayLine&)>& change)
        {
            for (auto* line : { left.get(), right.get(), leftTwin.get(), rightTwin.get() })
                change (*line);
        }

        std::unique_ptr<ModulatingDelayLine> left = makeLine(), right = makeLine();
        std::unique_ptr<ModulatingDelayLine> leftTwin = makeLine(), rightTwin = makeLine();
        int n = 0;
    };
}

TEST_F (SweptPairTest, LinesInStepGiveWhatEachLineGivesAlone)
{
    ASSERT_TRUE (right->movesInStepWith (*left));

    const std::array<int, 6> blockSizes { 512, 1, 33, 2048, 7, 4096 };

    for (size_t block = 0; block < 24; ++block)
    {
        if (block == 4)
            forEachLine ([] (auto& line) { line.setSweepWidth (9.0f); line.calcSweepWidth(); }); // a sweep glide

        if (block == 12)
            forEachLine ([] (auto& line) { line.setDelay (9.5f); line.calc(); });               // a delay glide from index 0

        ASSERT_TRUE (runBlock (blockSizes[block % blockSizes.size()])) << "block " << block;
        EXPECT_TRUE (right->movesInStepWith (*left));
    }
}

TEST_F (SweptPairTest, LinesOutOfStepRunEachOnItsOwn)
{
    // The right line and its twin run 100 samples alone, as a line that sat out a mode.
    for (int k = 0; k < 100; ++k)
        for (auto* line : { right.get(), rightTwin.get() })
        {
            auto x = input (k, 2.0);
            auto mod = 0.3f;
            line->process (x, mod);
        }

    ASSERT_FALSE (right->movesInStepWith (*left));

    for (const int size : { 480, 1, 2000, 33 })
        ASSERT_TRUE (runBlock (size));

    EXPECT_FALSE (right->movesInStepWith (*left));
}

TEST (SweptPairStepTest, InStepMeansTheSameRateLengthWriteIndexAndRamps)
{
    struct Case
    {
        const char* what;
        std::function<void (ModulatingDelayLine&)> changeSecond;
        bool inStep;
    };

    const std::vector<Case> cases {
        { "nothing", [] (auto&) {}, true },
        { "a sample rate one step higher, same buffer length", [] (auto& line)
          {
              line.setSampleRate (std::nextafter (48000.0f, 96000.0f));
              line.forceCalcParams();
          }, false },
        { "one sample more", [] (auto& line) { double x = 0.1; float mod = 0.5f; line.process (x, mod); }, false },
        { "a sweep glide of its own", [] (auto& line) { line.setSweepWidth (5.0f); line.calcSweepWidth(); }, false },
        { "a new sweep target only", [] (auto& line) { line.setSweepWidth (5.0f); }, false },
        { "a delay glide of its own", [] (auto& line) { line.setDelay (8.0f); line.calc(); }, false },
        { "a restart at the same settings", [] (auto& line) { line.calc(); line.forceCalcParams(); }, true },
        { "cleared samples", [] (auto& line) { line.resetBuffer(); }, true },
    };

    for (const auto& c : cases)
    {
        const auto first = makeLine(), second = makeLine();
        c.changeSecond (*second);
        EXPECT_EQ (second->movesInStepWith (*first), c.inStep) << c.what;
        EXPECT_EQ (first->movesInStepWith (*second), c.inStep) << c.what;
    }
}

TEST (SweptPairStepTest, LinesWithoutBufferPassSamplesThrough)
{
    ModulatingDelayLine first, second;
    ModulatingDelayLine::SweptPair pair (first, second);
    DoublePair lanes (0.25, -0.5);
    pair.process (lanes, 0.5f);
    EXPECT_EQ (lanes.left(), 0.25);
    EXPECT_EQ (lanes.right(), -0.5);
}
