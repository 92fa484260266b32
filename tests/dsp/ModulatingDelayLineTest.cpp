#include "ModulatingDelayLine.h"

#include "TestBits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace
{
    constexpr float notANumber = std::numeric_limits<float>::quiet_NaN();
    constexpr float inf = std::numeric_limits<float>::infinity();
    constexpr float huge = std::numeric_limits<float>::max();

    class ModulatingDelayLineTest : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            line.setSampleRate (44100.0f);
            line.reset();
        }

        /** Sets delay and sweep width and applies them at once. */
        void start (float delayMs, float sweepMs)
        {
            line.setDelay (delayMs);
            line.setSweepWidth (sweepMs);
            line.calc();
            line.forceCalcParams();
        }

        double process (double x, float mod = 0.0f)
        {
            line.process (x, mod);
            return x;
        }

        ModulatingDelayLine line;
    };

    double testSignal (int n) { return std::sin (0.01 * n) + 0.25 * std::cos (0.37 * n); }

    /** Feeds one sample into a line, unmodulated; returns what the line gives back. */
    double feed (ModulatingDelayLine& line, double x)
    {
        float mod = 0.0f;
        line.process (x, mod);
        return x;
    }
}

TEST (ModulatingDelayLineConstantsTest, MillisecondFactorHasTheExactBits)
{
    EXPECT_EQ (bitsOf (ModulatingDelayLine::negativeMsToSeconds), 0xBA83126Fu);
    EXPECT_EQ (ModulatingDelayLine::negativeMsToSeconds, -0.001f);
}

TEST_F (ModulatingDelayLineTest, BufferHoldsTheBufferTimeAtEachRate)
{
    struct Case { float fs; int length; };

    for (const auto& c : std::vector<Case> { { 22050.0f, 13450 }, { 44100.0f, 26901 }, { 48000.0f, 29280 },
                                             { 96000.0f, 58560 }, { 192000.0f, 117120 } })
    {
        line.setSampleRate (c.fs);
        EXPECT_EQ (line.getBufferLength(), c.length) << c.fs;
    }
}

TEST_F (ModulatingDelayLineTest, SettersLimitToTheMaximumDelayAndSweepWidth)
{
    line.setDelay (1000.0f);
    line.setSweepWidth (250.0f);
    EXPECT_EQ (line.getDelay(), 500.0f);
    EXPECT_EQ (line.getSweepWidth(), 100.0f);

    line.setDelay (7.0f);
    line.setSweepWidth (2.5f);
    EXPECT_EQ (line.getDelay(), 7.0f);
    EXPECT_EQ (line.getSweepWidth(), 2.5f);

    // Nothing moves until calc().
    EXPECT_EQ (line.getCurrentDelay(), 0.0f);
    EXPECT_EQ (line.getCurrentSweepWidth(), 0.0f);
}

TEST_F (ModulatingDelayLineTest, ZeroDelayReturnsTheInputUnchanged)
{
    start (0.0f, 0.0f);

    for (int n = 0; n < 30000; ++n)
        ASSERT_EQ (process (testSignal (n), 1.0f), testSignal (n)) << n;
}

TEST_F (ModulatingDelayLineTest, OneSampleDelayReturnsThePreviousInput)
{
    start (1000.0f / 44100.0f, 0.0f);
    EXPECT_NEAR (process (testSignal (0)), 0.0, 1e-5);

    for (int n = 1; n < 30000; ++n)
        ASSERT_NEAR (process (testSignal (n)), testSignal (n - 1), 1e-5) << n;
}

TEST_F (ModulatingDelayLineTest, SweepWidthScalesWithTheLfoValue)
{
    start (0.0f, 2000.0f / 44100.0f); // mod 0.5 gives one sample

    process (0.75, 0.5f);
    EXPECT_NEAR (process (-0.5, 0.5f), 0.75, 1e-5);
    EXPECT_NEAR (process (0.25, 0.0f), 0.25, 1e-12);
}

TEST_F (ModulatingDelayLineTest, ReadPositionBetweenLastIndexAndTheEndInterpolatesWithIndexZero)
{
    const auto length = line.getBufferLength();
    start (500.0f / 44100.0f, 0.0f); // half a sample

    for (int n = 0; n <= length; ++n)
    {
        const auto out = process (n + 1.0);

        if (n % length != 0)
            continue;

        // At write index 0 the sample just stored is at index 0 and the one before it at the last index.
        const auto position = line.getReadPosition();
        ASSERT_GT (position, static_cast<float> (length - 1));
        ASSERT_LT (position, static_cast<float> (length));

        const auto frac = static_cast<double> (position - static_cast<float> (length - 1));
        const auto previous = n == 0 ? 0.0 : static_cast<double> (n);
        EXPECT_NEAR (frac, 0.5, 1e-3);
        EXPECT_EQ (out, (1.0 - frac) * previous + frac * (n + 1.0)) << n;
    }
}

TEST_F (ModulatingDelayLineTest, RampsLandExactlyOnTheirTargets)
{
    struct Case { float fs; int delaySamples; int sweepSamples; };

    for (const auto& c : std::vector<Case> { { 44100.0f, 32768, 2048 }, { 96000.0f, 65536, 4096 }, { 22050.0f, 16384, 1024 } })
    {
        line.setSampleRate (c.fs);
        line.reset();
        start (3.0f, 1.0f);

        line.setDelay (7.0f);
        line.setSweepWidth (5.0f);
        line.calc();

        for (int n = 1; n <= c.delaySamples; ++n)
        {
            process (0.0, 0.5f);

            if (n == c.sweepSamples - 1)
            {
                EXPECT_NE (line.getCurrentSweepWidth(), 5.0f) << c.fs;
            }
            else if (n == c.sweepSamples)
            {
                EXPECT_EQ (line.getCurrentSweepWidth(), 5.0f) << c.fs;
            }
            else if (n == c.delaySamples - 1)
            {
                EXPECT_NE (line.getCurrentDelay(), 7.0f) << c.fs;
            }
        }

        EXPECT_EQ (line.getCurrentDelay(), 7.0f) << c.fs;

        // A depth change alone glides over one band length.
        line.setSweepWidth (9.0f);
        line.calcSweepWidth();

        for (int n = 0; n < c.sweepSamples; ++n)
            process (0.0, 0.5f);

        EXPECT_EQ (line.getCurrentSweepWidth(), 9.0f) << c.fs;
        EXPECT_EQ (line.getCurrentDelay(), 7.0f) << c.fs;
    }
}

TEST_F (ModulatingDelayLineTest, EveryResetSilencesTheLineHoweverItWasWritten)
{
    // A reset leaves a line that holds only silence as it is; a line written
    // since, alone or as one of a pair, must be cleared all the same, also by
    // a second reset after a first. Every line is written all through, so
    // that what a reset left would be read back.
    using Line = ModulatingDelayLine;

    struct Write { const char* name; void (*run) (Line& first, Line& second); };
    struct Reset { const char* name; void (*run) (Line&); };

    const Write writes[] {
        { "alone", [] (Line& first, Line& second)
          {
              for (auto* l : { &first, &second })
                  for (int n = 0; n < l->getBufferLength(); ++n)
                      feed (*l, 1.0);
          } },
        { "as a pair", [] (Line& first, Line& second)
          {
              Line::SweptPair pair (first, second);

              for (int n = 0; n < first.getBufferLength(); ++n)
              {
                  DoublePair lanes (1.0, 1.0);
                  pair.process (lanes, 0.0f);
              }
          } },
    };

    const Reset resets[] {
        { "forceCalcParams", [] (Line& l) { l.forceCalcParams(); } },
        { "resetBuffer", [] (Line& l) { l.resetBuffer(); l.calc(); l.forceCalcParams(); } },
        { "written again after a reset", [] (Line& l)
          {
              l.forceCalcParams();

              for (int n = 0; n < l.getBufferLength(); ++n)
                  feed (l, 1.0);

              l.forceCalcParams();
          } },
    };

    const auto delaySamples = static_cast<int> (7.0 * 44.1); // 308.7

    for (const auto& write : writes)
    {
        for (const auto& reset : resets)
        {
            SCOPED_TRACE (std::string (write.name) + ", " + reset.name);
            Line first, second;

            for (auto* l : { &first, &second })
            {
                l->setSampleRate (44100.0f);
                l->reset();
                l->setDelay (7.0f);
                l->setSweepWidth (0.0f);
                l->calc();
                l->forceCalcParams();
            }

            write.run (first, second);

            for (auto* l : { &first, &second })
            {
                reset.run (*l);

                for (int n = 0; n < delaySamples; ++n)
                    ASSERT_EQ (feed (*l, 1.0), 0.0) << n;

                EXPECT_GT (feed (*l, 1.0), 0.0); // interpolates into the first new sample
                EXPECT_NEAR (feed (*l, 1.0), 1.0, 1e-12);
            }
        }
    }
}

TEST_F (ModulatingDelayLineTest, LineWithoutBufferPassesSamplesThrough)
{
    ModulatingDelayLine fresh;
    double x = 0.3;
    float mod = 0.5f;
    fresh.process (x, mod);
    EXPECT_EQ (x, 0.3);

    for (const float fs : { 0.0f, -44100.0f, notANumber })
    {
        fresh.setSampleRate (fs);
        EXPECT_EQ (fresh.getBufferLength(), 0) << fs;
        fresh.process (x, mod);
        EXPECT_EQ (x, 0.3) << fs;
    }
}

TEST_F (ModulatingDelayLineTest, ShorterBufferKeepsTheWriteIndexInside)
{
    line.setSampleRate (96000.0f);
    start (7.0f, 1.0f);

    for (int n = 0; n < 50000; ++n)
        process (testSignal (n), 0.5f);

    line.setSampleRate (44100.0f); // no reset in between

    for (int n = 0; n < 100; ++n)
        ASSERT_TRUE (std::isfinite (process (testSignal (n), 0.5f)));
}

namespace
{
    const std::vector<float> hostileDelays { 0.0f, 7.0f, 500.0f, 1000.0f, 1e-30f, -1e-30f, -7.0f, -1e30f, -huge, notANumber, inf, -inf };
    const std::vector<float> hostileSweeps { 0.0f, 10.0f, 100.0f, 1e-30f, -50.0f, -1e30f, -huge, notANumber, inf, -inf };
    const std::vector<float> hostileMods { 0.0f, 0.5f, 1.0f, 1e-30f, -1.0f, 2.0f, 1e30f, -1e30f, notANumber, inf, -inf };

    /** Every read must stay inside the buffer and return a mix of stored samples. */
    ::testing::AssertionResult readInside (const ModulatingDelayLine& line, double out, float delay, float sweep, float mod)
    {
        const auto position = line.getReadPosition();

        if (position >= 0.0f && position < static_cast<float> (line.getBufferLength()) && std::isfinite (out) && std::abs (out) <= 1.25)
            return ::testing::AssertionSuccess();

        return ::testing::AssertionFailure() << "position " << position << " output " << out
                                             << " for delay " << delay << " sweep " << sweep << " mod " << mod;
    }
}

TEST_F (ModulatingDelayLineTest, HostileSettingsNeverReadOutsideTheBuffer)
{
    for (const auto delay : hostileDelays)
        for (const auto sweep : hostileSweeps)
            for (auto mod : hostileMods)
            {
                start (delay, sweep);

                for (int n = 0; n < 4; ++n)
                {
                    double x = testSignal (n);
                    line.process (x, mod);
                    ASSERT_TRUE (readInside (line, x, delay, sweep, mod));
                }
            }
}

TEST_F (ModulatingDelayLineTest, HostileRampsNeverReadOutsideTheBuffer)
{
    const auto length = line.getBufferLength();

    for (const auto delay : hostileDelays)
        for (const auto sweep : hostileSweeps)
        {
            start (7.0f, 1.0f);
            line.setDelay (delay);
            line.setSweepWidth (sweep);
            line.calc();

            for (int n = 0; n < 2 * length; n += 97)
            {
                auto mod = hostileMods[static_cast<size_t> (n) % hostileMods.size()];

                for (int k = 0; k < 97; ++k)
                {
                    double x = testSignal (n + k);
                    line.process (x, mod);
                    ASSERT_TRUE (readInside (line, x, delay, sweep, mod));
                }
            }
        }
}
