#include "RateSyncSteps.h"

#include "../support/RateSyncCases.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST (RateSyncStepsTest, AValueAHostKeptAsTextSelectsItsStepAndValuesInsideAStepKeepIt)
{
    for (const auto& c : RateSyncCases::makeCases())
        EXPECT_EQ (RateSyncSteps::getStep (c.value), c.step) << c.label << " (" << c.value << ")";
}

TEST (RateSyncStepsTest, EachStepEndsJustAboveItsNominalValue)
{
    for (int k = 0; k < RateSyncSteps::lastStep; ++k)
    {
        const float end = static_cast<float> (k / 18.0) + RateSyncSteps::nominalTolerance;
        EXPECT_EQ (RateSyncSteps::getStep (end), k) << k;
        EXPECT_EQ (RateSyncSteps::getStep (std::nextafter (end, 2.0f)), k + 1) << k;
    }

    // What rounding to four significant digits adds above k/18, and no more
    // than a small part of a step.
    EXPECT_GT (RateSyncSteps::nominalTolerance, 5.0e-5f);
    EXPECT_LT (RateSyncSteps::nominalTolerance, 1.0f / 18.0f / 100.0f);
}

TEST (RateSyncStepsTest, ValuesOutsideTheRangeSelectTheNearerEnd)
{
    constexpr float infinity = std::numeric_limits<float>::infinity();

    const struct { float value; int step; } cases[] = {
        { -0.1f, 0 }, { -infinity, 0 }, { std::numeric_limits<float>::quiet_NaN(), 0 },
        { 1.0f, 18 }, { 7.0f, 18 }, { infinity, 18 },
    };

    for (const auto& c : cases)
        EXPECT_EQ (RateSyncSteps::getStep (c.value), c.step) << c.value;
}
