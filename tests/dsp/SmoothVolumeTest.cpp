#include "SmoothVolume.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace
{
    /** Returns the gain applied by the next mono process call. */
    double nextGain (SmoothVolume& volume)
    {
        double x = 1.0;
        volume.process (x);
        return x;
    }

    constexpr int bandLength = 2048; // at 44100 Hz

    class SmoothVolumeTest : public ::testing::Test
    {
    protected:
        void SetUp() override { volume.setSampleRate (44100.0f); }

        SmoothVolume volume;
    };
}

TEST_F (SmoothVolumeTest, FirstCalcJumpsToTheTarget)
{
    volume.setValue (0.5f);
    volume.calc();
    EXPECT_EQ (nextGain (volume), 0.5);
}

TEST_F (SmoothVolumeTest, RampRisesInEqualStepsAndLandsExactlyAfterOneBandLength)
{
    volume.setValue (0.5f);
    volume.calc();
    volume.setValue (1.0f);
    volume.calc();

    const double step = 0.5 * (1.0 / bandLength);
    double expected = 0.5;

    for (int n = 1; n < bandLength; ++n)
    {
        expected += step;
        ASSERT_EQ (nextGain (volume), expected) << n;
    }

    for (int n = 0; n < 10; ++n)
        EXPECT_EQ (nextGain (volume), 1.0);
}

TEST_F (SmoothVolumeTest, RampLengthFollowsTheSampleRateBand)
{
    const std::vector<std::pair<float, int>> bands { { 32000.0f, 1024 }, { 96000.0f, 4096 }, { 192000.0f, 8192 } };

    for (const auto& [fs, length] : bands)
    {
        volume.setSampleRate (fs);
        volume.reset();
        volume.setValue (0.0f);
        volume.calc();
        volume.setValue (1.0f);
        volume.calc();

        for (int n = 1; n < length; ++n)
            ASSERT_LT (nextGain (volume), 1.0) << fs << " " << n;

        EXPECT_EQ (nextGain (volume), 1.0) << fs;
    }
}

TEST_F (SmoothVolumeTest, ResetWithoutCalcIsSilentUntilTheCounterRunsOut)
{
    volume.setValue (0.8f);
    volume.calc();
    volume.reset();

    for (int n = 1; n < bandLength; ++n)
        ASSERT_EQ (nextGain (volume), 0.0) << n;

    EXPECT_EQ (nextGain (volume), static_cast<double> (0.8f));
    EXPECT_EQ (nextGain (volume), static_cast<double> (0.8f));
}

TEST_F (SmoothVolumeTest, PairAdvancesTheRampOncePerCall)
{
    SmoothVolume mono;
    mono.setSampleRate (44100.0f);

    for (auto* v : { &volume, &mono })
    {
        v->setValue (0.0f);
        v->calc();
        v->setValue (1.0f);
        v->calc();
    }

    for (int n = 0; n < bandLength + 2; ++n)
    {
        double left = 1.0, right = -2.0;
        volume.process (left, right);
        const auto gain = nextGain (mono);
        ASSERT_EQ (left, gain) << n;
        ASSERT_EQ (right, -2.0 * gain) << n;
    }
}

TEST_F (SmoothVolumeTest, CalcRestartsTheRampFromTheCurrentGain)
{
    volume.setValue (1.0f);
    volume.calc();
    volume.calc(); // unchanged target after the jump: zero step, gain stays

    for (int n = 0; n < bandLength + 5; ++n)
        ASSERT_EQ (nextGain (volume), 1.0) << n;

    volume.setValue (0.0f);
    volume.calc();

    for (int n = 0; n < bandLength / 2; ++n)
        nextGain (volume);

    volume.calc(); // mid-ramp: a fresh ramp of a full band length

    for (int n = 1; n < bandLength; ++n)
        ASSERT_GT (nextGain (volume), 0.0) << n;

    EXPECT_EQ (nextGain (volume), 0.0);
}
