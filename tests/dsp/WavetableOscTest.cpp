#include "WavetableTriChorusOsc.h"
#include "WavetableTriangleOsc.h"

#include "TestBits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace
{
    constexpr float fs = 44100.0f;
    constexpr int glideLength = 2048; // at 44100 Hz

    /** One output step of every output the oscillator has. */
    std::vector<float> step (WavetableTriangleOsc& osc)
    {
        std::vector<float> out (2);
        osc.getOscSignal (out[0], out[1]);
        return out;
    }

    std::vector<float> step (WavetableTriChorusOsc& osc)
    {
        std::vector<float> out (3);
        osc.getOscSignal (out[0], out[1], out[2]);
        return out;
    }

    template <typename Osc>
    void startAt (Osc& osc, float hz)
    {
        osc.setSampleRate (fs);
        osc.reset();
        osc.setFrequency (hz);
        osc.calc();
        osc.forceCalcParams();
    }

    /** Reads every table point once: at fs / 1024 Hz the increment is exactly one point. */
    template <typename Osc>
    std::vector<std::vector<float>> readTables (Osc& osc)
    {
        startAt (osc, fs / 1024.0f);
        std::vector<std::vector<float>> tables;

        for (int i = 0; i < OscBaseClass::tableSize; ++i)
        {
            const auto out = step (osc);
            tables.resize (out.size());

            for (size_t t = 0; t < out.size(); ++t)
                tables[t].push_back (out[t]);
        }

        return tables;
    }
}

TEST (WavetableTriangleOscTest, CurveConstantsHaveTheExactBits)
{
    EXPECT_EQ (bitsOf (WavetableTriangleOsc::curvature), 0x400ECE34u);
    EXPECT_EQ (bitsOf (WavetableTriangleOsc::curvatureMinusOne), 0x3F9D9C68u);
}

TEST (WavetableTriangleOscTest, TablesHoldTheCurvedTriangleAndItsHalfCycleTwin)
{
    WavetableTriangleOsc osc;
    const auto tables = readTables (osc);

    struct Case { size_t index; float value; };

    for (const auto& c : std::vector<Case> { { 0, 0.0f }, { 128, 0.184965f }, { 256, 0.402257f }, { 384, 0.665622f },
                                             { 512, 1.0f }, { 640, 0.665622f }, { 768, 0.402257f }, { 1023, 0.001344f } })
        EXPECT_NEAR (tables[0][c.index], c.value, 1e-6) << c.index;

    EXPECT_EQ (tables[0][0], 0.0f);
    EXPECT_EQ (tables[0][512], 1.0f);
    EXPECT_EQ (tables[1][0], 1.0f);
    EXPECT_EQ (tables[1][512], 0.0f);

    for (size_t i = 0; i < tables[0].size(); ++i)
        ASSERT_EQ (tables[1][i], tables[0][(i + 512) % 1024]) << i;
}

TEST (WavetableTriChorusOscTest, TablesHoldThreeRaisedCosinesAThirdOfACycleApart)
{
    WavetableTriChorusOsc osc;
    const auto tables = readTables (osc);

    EXPECT_NEAR (tables[0][0], 0.0f, 1e-7);
    EXPECT_EQ (tables[0][512], 1.0f);
    EXPECT_NEAR (tables[1][0], 0.75f, 1e-6);
    EXPECT_NEAR (tables[2][0], 0.75f, 1e-6);

    const double leads[] { 0.0, 2.0 / 3.0, 1.0 / 3.0 };

    for (size_t t = 0; t < 3; ++t)
        for (size_t i = 0; i < 1024; ++i)
        {
            const auto expected = 0.5 + 0.5 * std::cos (6.283185307179586 * (static_cast<double> (i) / 1024.0 + 0.5 + leads[t]));
            ASSERT_NEAR (tables[t][i], expected, 1e-6) << t << " " << i;
        }
}

TEST (WavetableTriChorusOscTest, ArgumentFreeSignalIsOneAndDoesNotRun)
{
    WavetableTriChorusOsc osc;
    startAt (osc, 100.0f);
    EXPECT_EQ (osc.getOscSignal(), 1.0f);
    EXPECT_EQ (osc.getTablePosition(), 0.0f);
}

TEST (WavetableTriangleOscTest, ArgumentFreeSignalRunsAndReturnsTableOne)
{
    WavetableTriangleOsc osc, twin;
    startAt (osc, 3.0f);
    startAt (twin, 3.0f);

    for (int n = 0; n < 500; ++n)
    {
        float a;
        twin.getOscSignal (a);
        ASSERT_EQ (osc.getOscSignal(), a) << n;
    }
}

TEST (WavetableTriangleOscTest, PositionBetweenLastPointAndStartInterpolatesHalfway)
{
    WavetableTriangleOsc osc;
    const auto tables = readTables (osc);

    startAt (osc, fs / 2048.0f); // half a point per step
    auto out = step (osc);
    EXPECT_EQ (out[0], 0.0f);
    EXPECT_EQ (out[1], 1.0f);

    for (int n = 1; n < 1024; ++n)
        out = step (osc);

    EXPECT_EQ (osc.getTablePosition(), 512.0f);
    out = step (osc);
    EXPECT_EQ (out[0], 1.0f);
    EXPECT_EQ (out[1], 0.0f);

    for (int n = 1025; n < 2047; ++n)
        step (osc);

    ASSERT_EQ (osc.getTablePosition(), 1023.5f);
    out = step (osc);
    EXPECT_EQ (out[0], 0.5f * tables[0][0] + 0.5f * tables[0][1023]);
    EXPECT_EQ (out[1], 0.5f * tables[1][0] + 0.5f * tables[1][1023]);
    EXPECT_EQ (osc.getTablePosition(), 0.0f);
}

template <typename Osc>
class WavetableOscTest : public ::testing::Test
{
protected:
    /** Runs output steps and checks every output and table position. */
    ::testing::AssertionResult readsInside (int steps)
    {
        for (int n = 0; n < steps; ++n)
        {
            for (const auto value : step (oscillator))
                if (! (value >= 0.0f && value <= 1.0f))
                    return ::testing::AssertionFailure() << "output " << value << " at step " << n;

            const auto position = oscillator.getTablePosition();

            if (! (position >= 0.0f && position < 1024.0f))
                return ::testing::AssertionFailure() << "position " << position << " at step " << n;
        }

        return ::testing::AssertionSuccess();
    }

    Osc oscillator;
};

using Oscillators = ::testing::Types<WavetableTriangleOsc, WavetableTriChorusOsc>;
TYPED_TEST_SUITE (WavetableOscTest, Oscillators);

TYPED_TEST (WavetableOscTest, OneHertzCompletesOneCycleIn44100Steps)
{
    auto& osc = this->oscillator;
    startAt (osc, 1.0f);
    EXPECT_EQ (osc.getIncrement(), 1024.0f / 44100.0f);
    EXPECT_NEAR (osc.getIncrement(), 0.0232200f, 1e-7);

    // One cycle is 44100 steps; float accumulation of the position stretches it by a few.
    int steps = 0;
    for (auto previous = -1.0f; osc.getTablePosition() > previous && steps < 50000; ++steps)
    {
        previous = osc.getTablePosition();
        step (osc);
    }

    EXPECT_NEAR (steps, 44100, 30);
}

TYPED_TEST (WavetableOscTest, NewFrequencyGlidesInEqualStepsWithoutSnap)
{
    auto& osc = this->oscillator;
    startAt (osc, 1.0f);
    const auto start = osc.getIncrement();

    osc.setFrequency (2.0f);
    osc.calc();
    EXPECT_EQ (osc.getIncrement(), start); // the glide starts with the next step

    const auto target = 2.0f * 1024.0f / fs;
    const auto glideStep = (target - start) * (1.0f / glideLength);
    auto expected = start;

    for (int n = 0; n < glideLength; ++n)
    {
        step (osc);
        expected += glideStep;
        ASSERT_EQ (osc.getIncrement(), expected) << n;
    }

    for (int n = 0; n < 100; ++n)
        step (osc);

    EXPECT_EQ (osc.getIncrement(), expected);
    EXPECT_NEAR (expected, 0.04644f, 1e-5);
}

TYPED_TEST (WavetableOscTest, CalcWithTheSameFrequencyDoesNotRestartTheGlide)
{
    auto& osc = this->oscillator;
    TypeParam reference;

    for (auto* o : { &osc, &reference })
    {
        startAt (*o, 1.0f);
        o->setFrequency (3.0f);
        o->calc();
    }

    for (int n = 0; n < glideLength + 10; ++n)
    {
        if (n == 1000)
            osc.calc();

        step (osc);
        step (reference);
        ASSERT_EQ (osc.getIncrement(), reference.getIncrement()) << n;
    }
}

TYPED_TEST (WavetableOscTest, ForceCalcParamsAppliesTheFrequencyAtOnce)
{
    auto& osc = this->oscillator;
    startAt (osc, 1.0f);
    osc.setFrequency (4.0f);
    osc.calc();
    osc.forceCalcParams();
    EXPECT_EQ (osc.getIncrement(), 4.0f * 1024.0f / fs);
    EXPECT_EQ (osc.getFreq(), 4.0f);
}

TYPED_TEST (WavetableOscTest, ValidFrequenciesKeepTheExactIncrement)
{
    auto& osc = this->oscillator;

    for (const float hz : { 0.0f, 0.01f, 0.5f, 7.5f, 20.0f, 1000.0f, 22050.0f })
    {
        startAt (osc, hz);
        EXPECT_EQ (osc.getIncrement(), hz * 1024.0f / fs) << hz;
    }
}

TYPED_TEST (WavetableOscTest, HostileFrequenciesNeverReadOutsideTheTables)
{
    constexpr auto nan = std::numeric_limits<float>::quiet_NaN();
    constexpr auto inf = std::numeric_limits<float>::infinity();

    struct Case { float hz; float increment; };

    const std::vector<Case> cases {
        { nan, 0.01f * 1024.0f / fs },
        { inf, OscBaseClass::maxIncrement },
        { -inf, 0.0f },
        { -1.0f, 0.0f },
        { -1e-30f, 0.0f },
        { 44099.0f, OscBaseClass::maxIncrement },
        { 44100.0f, OscBaseClass::maxIncrement },
        { 88200.0f, OscBaseClass::maxIncrement },
        { 1e30f, OscBaseClass::maxIncrement },
        { std::numeric_limits<float>::max(), OscBaseClass::maxIncrement },
        { std::numeric_limits<float>::denorm_min(), 0.0f },
    };

    auto& osc = this->oscillator;

    for (const auto& c : cases)
    {
        startAt (osc, c.hz);
        EXPECT_EQ (osc.getIncrement(), c.increment) << c.hz;
        EXPECT_TRUE (this->readsInside (3000)) << c.hz;

        // Gliding into and back out of the bound.
        startAt (osc, 5.0f);
        osc.setFrequency (c.hz);
        osc.calc();
        EXPECT_TRUE (this->readsInside (3000)) << c.hz;
        osc.setFrequency (0.0f);
        osc.calc();
        EXPECT_TRUE (this->readsInside (3000)) << c.hz;
    }
}

TYPED_TEST (WavetableOscTest, PhaseAndAmplitudeAreOnlyStored)
{
    auto& osc = this->oscillator;
    TypeParam twin;
    startAt (osc, 5.0f);
    startAt (twin, 5.0f);
    osc.setPhase (0.25f);
    osc.setAmplitude (0.5f);
    EXPECT_EQ (osc.getPhase(), 0.25f);
    EXPECT_EQ (osc.getAmplitude(), 0.5f);

    for (int n = 0; n < 3000; ++n)
        ASSERT_EQ (step (osc), step (twin)) << n;
}

TYPED_TEST (WavetableOscTest, ResetHalvesClearOnlyWhatTheyOwn)
{
    auto& osc = this->oscillator;
    startAt (osc, 5.0f);
    osc.setPhase (0.25f);
    osc.setAmplitude (0.5f);

    for (int n = 0; n < 100; ++n)
        step (osc);

    const auto position = osc.getTablePosition();
    ASSERT_GT (position, 0.0f);

    // Signal memory: phase and increments go, frequency, amplitude and table position stay.
    osc.resetBuffer();
    EXPECT_EQ (osc.getPhase(), 0.0f);
    EXPECT_EQ (osc.getIncrement(), 0.0f);
    EXPECT_EQ (osc.getFreq(), 5.0f);
    EXPECT_EQ (osc.getAmplitude(), 0.5f);
    EXPECT_EQ (osc.getTablePosition(), position);

    // Derived values: frequency, amplitude and table position go back, the increment stays.
    osc.calc();
    osc.forceCalcParams();
    osc.resetCoeffs();
    EXPECT_EQ (osc.getFreq(), 0.0f);
    EXPECT_EQ (osc.getAmplitude(), 1.0f);
    EXPECT_EQ (osc.getTablePosition(), 0.0f);
    EXPECT_EQ (osc.getIncrement(), 5.0f * 1024.0f / fs);
}

TYPED_TEST (WavetableOscTest, IncrementGlidedBelowZeroKeepsTheLfoMovingBackwards)
{
    auto& osc = this->oscillator;
    startAt (osc, 1000.0f);
    osc.setFrequency (0.0f);
    osc.calc();

    for (int n = 0; n < glideLength; ++n)
        step (osc);

    // resetCoeffs() rearms the glide: it runs on from the start of the table into negative increments.
    osc.resetCoeffs();
    ASSERT_EQ (osc.getTablePosition(), 0.0f);

    for (int n = 0; n < glideLength; ++n)
    {
        const auto before = osc.getTablePosition();
        ASSERT_TRUE (this->readsInside (1)) << n;
        const auto increment = osc.getIncrement();
        ASSERT_LT (increment, 0.0f) << n;

        const auto movedBack = std::fmod (before - osc.getTablePosition() + 1024.0f, 1024.0f);
        ASSERT_NEAR (movedBack, -increment, 1e-3f) << n;
    }
}

TYPED_TEST (WavetableOscTest, GlideRunOnPastItsTargetStillReadsInside)
{
    auto& osc = this->oscillator;
    constexpr auto inf = std::numeric_limits<float>::infinity();

    // resetCoeffs() alone rearms the glide counter without a new step, so the
    // increment runs on past the target: below 0 gliding down, above 1024 gliding up.
    for (const auto& [from, to] : { std::pair { 1.0f, 0.0f }, std::pair { 0.0f, inf } })
    {
        startAt (osc, from);
        osc.setFrequency (to);
        osc.calc();

        auto lowest = osc.getIncrement(), highest = osc.getIncrement();

        for (int glide = 0; glide < 4; ++glide)
        {
            for (int n = 0; n < glideLength; ++n)
            {
                ASSERT_TRUE (this->readsInside (1)) << from << " -> " << to;
                lowest = std::min (lowest, osc.getIncrement());
                highest = std::max (highest, osc.getIncrement());
            }

            osc.resetCoeffs();
        }

        EXPECT_TRUE (lowest < 0.0f || highest > 1024.0f) << from << " -> " << to;
    }
}
