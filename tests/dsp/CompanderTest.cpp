#include "Compressor.h"
#include "Expander.h"

#include "TestBits.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
    template <typename Block>
    void prepare (Block& block, float fs = 44100.0f)
    {
        block.setSampleRate (fs);
        block.reset();
        block.calc();
    }

    template <typename Block>
    double run (Block& block, double x)
    {
        block.process (x);
        return x;
    }

    /** Input gain b0 of the detector at the default 4.7e-7 F and 44100 Hz. */
    const double defaultB0 = 1.0 - std::exp (-6.283185307179586 * static_cast<double> (CompanderHalf::getCutoff (4.7e-7f)) / 44100.0);
}

TEST (CompanderHalfTest, ConstantsHaveTheExactBitsAndGiveTheRcCutoff)
{
    EXPECT_EQ (bitsOf (CompanderHalf::defaultCapacitance), 0x34FC544Fu);
    EXPECT_EQ (bitsOf (CompanderHalf::twoPiResistance), 0x47756FDBu);
    EXPECT_NEAR (CompanderHalf::getCutoff (CompanderHalf::defaultCapacitance), 33.8628f, 1e-4f);
    EXPECT_NEAR (defaultB0, 0.004813, 1e-6);
}

TEST (CompressorTest, FirstOutputsAfterResetAndCalc)
{
    Compressor compressor;
    prepare (compressor);

    EXPECT_EQ (run (compressor, 1.0), 1.0 / defaultB0);
    EXPECT_NEAR (1.0 / defaultB0, 207.77, 0.01);
    EXPECT_NEAR (run (compressor, 1.0), 1.0, 0.01);
}

TEST (CompressorTest, SteadyLevelSettlesOnItsSquareRoot)
{
    for (const double level : { 0.01, 0.25, 4.0 })
    {
        Compressor compressor;
        prepare (compressor);

        double out = 0.0;
        for (int n = 0; n < 44100; ++n)
            out = run (compressor, level);

        EXPECT_NEAR (out, std::sqrt (level), 1e-3 * std::sqrt (level)) << level;
    }
}

TEST (CompressorTest, TheDetectorRestsOnItsFloorInSilence)
{
    EXPECT_EQ (Compressor::envelopeFloor, 0.003000000026077032);

    Compressor compressor;
    prepare (compressor);

    for (int n = 0; n < 5000; ++n)
        ASSERT_EQ (run (compressor, 0.0), 0.0) << n;

    // The floor is both the divisor and what the detector remembers, so the
    // next step starts its decay from the floor, not from below it.
    const auto first = run (compressor, 1e-3);
    EXPECT_EQ (first, 1e-3 / Compressor::envelopeFloor);
    EXPECT_DOUBLE_EQ (run (compressor, 1e-3), 1e-3 / (defaultB0 * first + (1.0 - defaultB0) * Compressor::envelopeFloor));
}

TEST (CompressorTest, AFirstLowPassValueBelowTheFloorIsRaisedToIt)
{
    for (const auto fs : { 88200.0f, 96000.0f, 192000.0f })
    {
        Compressor compressor;
        prepare (compressor, fs); // b0 below 3e-3: 0.0024, 0.0022 and 0.0011

        EXPECT_EQ (run (compressor, 1.0), 1.0 / Compressor::envelopeFloor) << fs;
    }
}

TEST (CompressorTest, WithoutCalcTheDetectorPassesTheEnvelope)
{
    Compressor compressor;
    compressor.setCap (1e-6f);
    compressor.calc();
    compressor.reset();

    for (int n = 0; n < 10; ++n)
        EXPECT_EQ (run (compressor, 0.5), n % 2 == 0 ? 0.5 : 1.0) << n;
}

TEST (CompressorTest, CapacitanceSetsTheDetectorCutoffOnCalc)
{
    Compressor compressor;
    prepare (compressor);
    compressor.reset();
    compressor.setCap (2.2e-7f);
    EXPECT_EQ (run (compressor, 1.0), 1.0); // pass-through until calc()

    compressor.reset();
    compressor.calc();
    const auto b0 = 1.0 - std::exp (-6.283185307179586 * static_cast<double> (1.0f / (2.2e-7f * 62831.855f)) / 44100.0);
    EXPECT_EQ (run (compressor, 1.0), 1.0 / b0);
}

TEST (ExpanderTest, ConstantInputRisesWithTheDetectorFromB0)
{
    Expander expander;
    prepare (expander);

    double previous = run (expander, 1.0);
    EXPECT_EQ (previous, defaultB0);

    for (int n = 1; n < 44100; ++n)
    {
        const auto out = run (expander, 1.0);
        ASSERT_GE (out, previous) << n;
        previous = out;
    }

    EXPECT_NEAR (previous, 1.0, 1e-9);
}

TEST (ExpanderTest, WithoutCalcTheOutputFollowsTheSquareOfTheInput)
{
    Expander expander;
    expander.reset();

    EXPECT_EQ (run (expander, 1.0), 1.0);
    EXPECT_EQ (run (expander, -0.5), -0.25);
}

TEST (ExpanderTest, SteadyLevelSettlesOnItsSquare)
{
    Expander expander;
    prepare (expander);

    double out = 0.0;
    for (int n = 0; n < 44100; ++n)
        out = run (expander, 0.1);

    EXPECT_NEAR (out, 0.01, 1e-9);
}

TEST (ExpanderTest, ResetBufferRestoresTheDefaultCapacitance)
{
    Expander changed, fresh;
    changed.setCap (1e-6f);
    prepare (changed);
    prepare (fresh);

    for (int n = 0; n < 100; ++n)
        ASSERT_EQ (run (changed, 0.3), run (fresh, 0.3)) << n;
}

TEST (CompanderTest, PairsKeepOneEnvelopePerChannel)
{
    Compressor stereoCompressor, monoCompressor;
    Expander stereoExpander, monoExpander;
    prepare (stereoCompressor);
    prepare (monoCompressor);
    prepare (stereoExpander);
    prepare (monoExpander);

    for (int n = 0; n < 2000; ++n)
    {
        const auto input = std::sin (0.05 * n);

        double left = input, right = 0.0;
        stereoCompressor.process (left, right);
        ASSERT_EQ (left, run (monoCompressor, input)) << n;
        ASSERT_EQ (right, 0.0) << n;

        double expandedLeft = 0.0, expandedRight = input;
        stereoExpander.process (expandedLeft, expandedRight);
        ASSERT_EQ (expandedLeft, 0.0) << n;
        ASSERT_EQ (expandedRight, run (monoExpander, input)) << n;
    }
}
