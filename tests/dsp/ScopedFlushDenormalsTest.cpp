#include "OnePole.h"
#include "ScopedFlushDenormals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
    /** Lets a 10 Hz low-pass decay from 1 on silent input and returns where its state ends. */
    double settledState (OnePole& filter, int samples)
    {
        double x = 0.0;

        for (int n = 0; n < samples; ++n)
        {
            x = 0.0;
            filter.process (x);
        }

        return x;
    }

    /** A 10 Hz low-pass at 44100 Hz holding 1.0. */
    void charge (OnePole& filter)
    {
        filter.setSampleRate (44100.0f);
        filter.reset();
        double x = 1.0;
        filter.process (x); // pass-through after reset: the state is now 1
        filter.setFrequency (10.0f);
    }

    // Long enough to fall from 1 past the smallest normal double with a pole of 0.998576.
    constexpr int decaySamples = 600000;

    constexpr bool hasFlushControl =
       #if defined (__SSE__) || defined (__x86_64__) || defined (_M_X64)
        true;
       #else
        false;
       #endif
}

TEST (ScopedFlushDenormalsTest, UnguardedOnePoleSettlesOnASubnormalState)
{
    if (! hasFlushControl)
        GTEST_SKIP() << "no flush-to-zero control on this processor";

    OnePole filter;
    charge (filter);
    const auto state = settledState (filter, decaySamples);

    // Rounding keeps a * y1 == y1 once y1 is a few hundred subnormal steps above 0.
    EXPECT_EQ (std::fpclassify (state), FP_SUBNORMAL);
    EXPECT_EQ (settledState (filter, 1000), state);
}

TEST (ScopedFlushDenormalsTest, GuardedOnePoleDecaysToExactlyZero)
{
    if (! hasFlushControl)
        GTEST_SKIP() << "no flush-to-zero control on this processor";

    OnePole filter;
    charge (filter);

    {
        const ScopedFlushDenormals guard;
        EXPECT_EQ (settledState (filter, decaySamples), 0.0);
    }

    // The previous mode is back: a new decay settles on a subnormal again.
    charge (filter);
    EXPECT_EQ (std::fpclassify (settledState (filter, decaySamples)), FP_SUBNORMAL);
}

TEST (ScopedFlushDenormalsTest, NestedGuardsRestoreTheOuterMode)
{
    if (! hasFlushControl)
        GTEST_SKIP() << "no flush-to-zero control on this processor";

    const ScopedFlushDenormals outer;
    {
        const ScopedFlushDenormals inner;
    }

    volatile double smallest = std::numeric_limits<double>::min();
    EXPECT_EQ (smallest * 0.5, 0.0);
}
