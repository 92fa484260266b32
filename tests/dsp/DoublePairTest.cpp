#include "BBDNonLinearBiased.h"
#include "CE2PreEmphasisFilter.h"
#include "Compressor.h"
#include "DimensionCrossFilter.h"
#include "DoublePair.h"
#include "Expander.h"
#include "OnePole.h"
#include "SmoothVolume.h"
#include "TestBits.h"
#include "TriReconstructionFilter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

namespace
{
    constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
    constexpr double infinity = std::numeric_limits<double>::infinity();

    ::testing::AssertionResult sameBits (double actual, double expected)
    {
        if (bitsOf (actual) == bitsOf (expected))
            return ::testing::AssertionSuccess();

        return ::testing::AssertionFailure() << actual << " where " << expected << " was expected";
    }

    ::testing::AssertionResult lanesAre (DoublePair pair, double left, double right)
    {
        if (bitsOf (pair.left()) == bitsOf (left) && bitsOf (pair.right()) == bitsOf (right))
            return ::testing::AssertionSuccess();

        return ::testing::AssertionFailure() << "(" << pair.left() << ", " << pair.right() << ") where ("
                                             << left << ", " << right << ") was expected";
    }
}

TEST (DoublePairTest, EachLaneRoundsAsTheScalarOperation)
{
    const std::vector<double> values { 0.0, -0.0, 1.0, -2.5, 0.1, 1.0 / 3.0, 1e-300, -7.5e-37, 3.0e-6, 1e300,
                                       infinity, -infinity, notANumber };

    struct Operation
    {
        const char* name;
        std::function<DoublePair (DoublePair, DoublePair)> pair;
        std::function<double (double, double)> scalar;
    };

    const std::vector<Operation> operations {
        { "+", [] (DoublePair a, DoublePair b) { return a + b; }, [] (double a, double b) { return a + b; } },
        { "-", [] (DoublePair a, DoublePair b) { return a - b; }, [] (double a, double b) { return a - b; } },
        { "*", [] (DoublePair a, DoublePair b) { return a * b; }, [] (double a, double b) { return a * b; } },
        { "/", [] (DoublePair a, DoublePair b) { return a / b; }, [] (double a, double b) { return a / b; } },
        { "max", [] (DoublePair a, DoublePair b) { return max (a, b); }, [] (double a, double b) { return std::max (a, b); } },
        { "negate", [] (DoublePair a, DoublePair) { return -a; }, [] (double a, double) { return -a; } },
        { "abs", [] (DoublePair a, DoublePair) { return abs (a); }, [] (double a, double) { return std::abs (a); } },
    };

    for (const auto& operation : operations)
        for (const auto a : values)
            for (const auto b : values)
            {
                // The other lane holds a different pair of operands, so crossed lanes show.
                const auto result = operation.pair (DoublePair (a, b), DoublePair (b, 0.75));
                EXPECT_TRUE (sameBits (result.left(), operation.scalar (a, b))) << operation.name << " left of " << a << ", " << b;
                EXPECT_TRUE (sameBits (result.right(), operation.scalar (b, 0.75))) << operation.name << " right of " << b << ", 0.75";
            }
}

TEST (DoublePairTest, LoadsStoresAndSelectsPerLane)
{
    const double stored[] { 1.5, -4.0 };
    EXPECT_TRUE (lanesAre (DoublePair::load (stored), 1.5, -4.0));

    double written[] { 0.0, 0.0, 9.0 };
    DoublePair (-0.0, 2.0).store (written);
    EXPECT_TRUE (sameBits (written[0], -0.0));
    EXPECT_TRUE (sameBits (written[1], 2.0));
    EXPECT_EQ (written[2], 9.0);

    EXPECT_TRUE (lanesAre (DoublePair(), 0.0, 0.0));
    EXPECT_TRUE (lanesAre (DoublePair (0.25), 0.25, 0.25));

    // At the limit itself the replacement applies; a not-a-number never counts as beyond it.
    const DoublePair otherwise (10.0, 20.0);
    EXPECT_TRUE (lanesAre (whereAtLeast (DoublePair (1.0, 0.999), 1.0, -1.0, otherwise), -1.0, 20.0));
    EXPECT_TRUE (lanesAre (whereAtLeast (DoublePair (notANumber, infinity), 1.0, -1.0, otherwise), 10.0, -1.0));
    EXPECT_TRUE (lanesAre (whereAtMost (DoublePair (-1.0, -0.999), -1.0, 5.0, otherwise), 5.0, 20.0));
    EXPECT_TRUE (lanesAre (whereAtMost (DoublePair (-infinity, notANumber), -1.0, 5.0, otherwise), 5.0, 20.0));

    EXPECT_TRUE (lanesAre (DoublePair (1.0, -2.0).swapped(), -2.0, 1.0));
}

namespace
{
    /** One fresh block, seen through its single-channel and its pair processing. */
    struct Channels
    {
        std::function<void (double&)> single;
        std::function<void (DoublePair&)> pair;
    };

    struct PairedBlock
    {
        const char* name;
        std::function<Channels()> make;
        double inputGain = 1.0;
        bool sharesOneRamp = false; // a gain ramp advances for either kind of call
    };

    template <typename Block, typename Prepare>
    std::function<Channels()> channelsOf (Prepare prepare)
    {
        return [prepare]
        {
            const auto block = std::make_shared<Block>();
            prepare (*block);
            return Channels { [block] (double& x) { block->process (x); }, [block] (DoublePair& x) { block->process (x); } };
        };
    }

    template <typename Filter>
    void tune (Filter& filter)
    {
        filter.setSampleRate (48000.0f);
        filter.reset();
        filter.calc();
    }

    const std::vector<PairedBlock>& pairedBlocks()
    {
        static const std::vector<PairedBlock> blocks {
            { "OnePole low-pass", channelsOf<OnePole> ([] (OnePole& f)
              {
                  f.setSampleRate (48000.0f);
                  f.reset();
                  f.setFrequency (50.0f);
              }), 1.0 },
            { "OnePole high-pass", []
              {
                  const auto f = std::make_shared<OnePole>();
                  f->setSampleRate (48000.0f);
                  f->reset();
                  f->setFrequency (10.0f);
                  return Channels { [f] (double& x) { f->processHP (x); }, [f] (DoublePair& x) { f->processHP (x); } };
              }, 1.0 },
            { "first order", channelsOf<CE2PreEmphasisFilter> (tune<CE2PreEmphasisFilter>), 1.0 },
            { "second order", channelsOf<DimensionCrossFilter> (tune<DimensionCrossFilter>), 1.0 },
            { "fourth order", channelsOf<TriReconstructionFilter> (tune<TriReconstructionFilter>), 1.0 },
            { "Compressor", channelsOf<Compressor> (tune<Compressor>), 1.0 },
            { "Expander", channelsOf<Expander> (tune<Expander>), 1.0 },
            { "SmoothVolume", channelsOf<SmoothVolume> ([] (SmoothVolume& v)
              {
                  v.setSampleRate (48000.0f);
                  v.setValue (0.3f);
                  v.calc();
                  v.setValue (0.9f); // still gliding while the test runs
                  v.calc();
              }), 1.0, true },
            { "soft clip", channelsOf<BBDNonLinearBiased> ([] (BBDNonLinearBiased&) {}), 4.0 }, // beyond both limits
        };

        return blocks;
    }

    double signal (int n, double phase, double gain)
    {
        return gain * (0.6 * std::sin (0.0371 * n + phase) + 0.3 * std::sin (0.41 * n + 2.0 * phase) + (n % 7 == 0 ? 0.1 : -0.05));
    }
}

TEST (DoublePairTest, PairProcessingRunsEachChannelAsASingleChannelBlockWould)
{
    for (const auto& block : pairedBlocks())
    {
        const auto both = block.make(), leftOnly = block.make(), rightOnly = block.make();

        for (int n = 0; n < 3000; ++n)
        {
            auto left = signal (n, 0.0, block.inputGain), right = signal (n, 1.3, block.inputGain);
            DoublePair pair (left, right);
            both.pair (pair);
            leftOnly.single (left);
            rightOnly.single (right);
            ASSERT_TRUE (lanesAre (pair, left, right)) << block.name << " at sample " << n;
        }
    }
}

TEST (DoublePairTest, SingleChannelCallsLeaveTheRightStateAlone)
{
    for (const auto& block : pairedBlocks())
    {
        if (block.sharesOneRamp)
            continue;

        const auto mixed = block.make(), rightOnly = block.make();

        for (int n = 0; n < 3000; ++n)
        {
            auto right = signal (n, 1.3, block.inputGain);
            DoublePair pair (signal (n, 0.0, block.inputGain), right);
            mixed.pair (pair);
            rightOnly.single (right);
            ASSERT_TRUE (sameBits (pair.right(), right)) << block.name << " at sample " << n;

            auto single = signal (n, 2.1, block.inputGain);
            mixed.single (single);
        }
    }
}
