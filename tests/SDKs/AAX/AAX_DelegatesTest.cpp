// Tapers and display delegates at their limits: the mappings and texts the
// host sees for the processor parameters and the master bypass.
#include "AAX_CBinaryDisplayDelegate.h"
#include "AAX_CBinaryTaperDelegate.h"
#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace
{
using LinearTaper = AAX_CLinearTaperDelegate<float, 0>;
using NumberDisplay = AAX_CNumberDisplayDelegate<float, 3u, 0u>;

struct TaperCase
{
    float minimum;
    float maximum;
    double normalized;
    float real;            ///< NormalizedToReal of normalized
};

class LinearTaperTest : public ::testing::TestWithParam<TaperCase> {};

TEST_P (LinearTaperTest, MapsNormalisedToRealWithinTheRange)
{
    const LinearTaper taper (GetParam().minimum, GetParam().maximum);
    EXPECT_EQ (taper.NormalizedToReal (GetParam().normalized), GetParam().real);
}

INSTANTIATE_TEST_SUITE_P (Limits, LinearTaperTest, ::testing::Values (
    TaperCase { 0.0f, 1.0f, 0.5, 0.5f },
    TaperCase { 0.0f, 1.0f, -0.2, 0.0f },
    TaperCase { 0.0f, 1.0f, 1.7, 1.0f },
    TaperCase { 0.0f, 1.0f, 0.7, 0.7f },
    TaperCase { 0.0f, 10.0f, 0.25, 2.5f },
    TaperCase { -1.0f, 1.0f, 0.0, -1.0f },
    TaperCase { 5.0f, 5.0f, 0.3, 5.0f }));

TEST (LinearTaperTest, RealToNormalizedConstrainsFirst)
{
    const LinearTaper unit;
    EXPECT_EQ (unit.RealToNormalized (2.0f), 1.0);
    EXPECT_EQ (unit.RealToNormalized (-3.0f), 0.0);
    EXPECT_EQ (unit.RealToNormalized (0.25f), 0.25);
    EXPECT_EQ (LinearTaper (0.0f, 10.0f).RealToNormalized (2.5f), 0.25);

    // The round trip through float precision the parameters rely on.
    EXPECT_EQ (unit.RealToNormalized (unit.NormalizedToReal (0.7)), 0.699999988079071);
}

TEST (LinearTaperTest, AnEmptyRangeMapsEveryValueToZeroInsteadOfDividingByZero)
{
    const LinearTaper empty (5.0f, 5.0f);
    EXPECT_EQ (empty.RealToNormalized (5.0f), 0.0);
    EXPECT_EQ (empty.RealToNormalized (7.0f), 0.0);
}

TEST (LinearTaperTest, ConstrainKeepsNaNAndTheLimits)
{
    const LinearTaper unit;
    EXPECT_TRUE (std::isnan (unit.ConstrainRealValue (std::numeric_limits<float>::quiet_NaN())));
    EXPECT_EQ (unit.ConstrainRealValue (1.0f), 1.0f);
    EXPECT_EQ (unit.ConstrainRealValue (0.0f), 0.0f);
    EXPECT_EQ (unit.GetMinimumValue(), 0.0f);
    EXPECT_EQ (unit.GetMaximumValue(), 1.0f);
}

TEST (LinearTaperTest, ClonesKeepTheirLimits)
{
    const std::unique_ptr<AAX_ITaperDelegate<float>> clone (LinearTaper (2.0f, 4.0f).Clone());
    EXPECT_EQ (clone->GetMinimumValue(), 2.0f);
    EXPECT_EQ (clone->GetMaximumValue(), 4.0f);
}

TEST (BinaryTaperTest, EveryValueAboveZeroIsOn)
{
    const AAX_CBinaryTaperDelegate<bool> taper;
    EXPECT_FALSE (taper.NormalizedToReal (0.0));
    EXPECT_FALSE (taper.NormalizedToReal (-1.0));
    EXPECT_FALSE (taper.NormalizedToReal (std::numeric_limits<double>::quiet_NaN()));
    EXPECT_TRUE (taper.NormalizedToReal (0.0001));
    EXPECT_EQ (taper.RealToNormalized (true), 1.0);
    EXPECT_EQ (taper.RealToNormalized (false), 0.0);
    EXPECT_TRUE (taper.ConstrainRealValue (true));
    EXPECT_FALSE (taper.GetMinimumValue());
    EXPECT_TRUE (taper.GetMaximumValue());
}

struct TextCase
{
    float value;
    int32_t limit;
    const char* expected;
};

class NumberDisplayTest : public ::testing::TestWithParam<TextCase> {};

TEST_P (NumberDisplayTest, CutsToTheLimitWithoutATrailingPoint)
{
    AAX_CString text ("old");
    EXPECT_TRUE (NumberDisplay().ValueToString (GetParam().value, GetParam().limit, &text));
    EXPECT_STREQ (text.Get(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P (Limits, NumberDisplayTest, ::testing::Values (
    TextCase { 0.2f, 6, "0.200" },
    TextCase { 0.2f, 5, "0.200" },
    TextCase { 0.2f, 4, "0.20" },
    TextCase { 0.2f, 3, "0.2" },
    TextCase { 0.2f, 2, "0" },
    TextCase { 0.2f, 1, "0" },
    TextCase { 0.2f, 0, "" },
    TextCase { 0.2f, -1, "" },
    TextCase { 12.5f, 3, "12" },
    TextCase { 100.0f, 4, "100" },
    TextCase { -0.5f, 4, "-0.5" }));

TEST (NumberDisplayTest, FullTextHasThreeDecimals)
{
    AAX_CString text ("old");

    for (const auto& [value, expected] : { std::pair { 0.2f, "0.200" }, std::pair { 1.0f, "1.000" },
                                           std::pair { -0.5f, "-0.500" }, std::pair { 0.9996f, "1.000" } })
    {
        EXPECT_TRUE (NumberDisplay().ValueToString (value, &text));
        EXPECT_STREQ (text.Get(), expected);
    }
}

struct ParseCase
{
    const char* text;
    bool parses;
    float value;
};

class NumberParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P (NumberParseTest, ReadsTheNumberAtTheStart)
{
    float value = -9.0f;
    EXPECT_EQ (NumberDisplay().StringToValue (AAX_CString (GetParam().text), &value), GetParam().parses);
    EXPECT_EQ (value, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P (Texts, NumberParseTest, ::testing::Values (
    ParseCase { "0.5", true, 0.5f },
    ParseCase { " 0.75", true, 0.75f },
    ParseCase { "0.5 dB", true, 0.5f },
    ParseCase { "abc", false, 0.0f },
    ParseCase { "", false, 0.0f }));

TEST (BinaryDisplayTest, ShowsAndReadsExactlyItsTwoTexts)
{
    const AAX_CBinaryDisplayDelegate<bool> display ("bypass", "on");
    const std::unique_ptr<AAX_IDisplayDelegate<bool>> clone (display.Clone());
    AAX_CString text;

    for (const auto* delegate : { static_cast<const AAX_IDisplayDelegate<bool>*> (&display), static_cast<const AAX_IDisplayDelegate<bool>*> (clone.get()) })
    {
        EXPECT_TRUE (delegate->ValueToString (true, &text));
        EXPECT_STREQ (text.Get(), "on");
        EXPECT_TRUE (delegate->ValueToString (false, 1, &text));
        EXPECT_STREQ (text.Get(), "bypass");

        bool value = false;
        EXPECT_TRUE (delegate->StringToValue (AAX_CString ("on"), &value));
        EXPECT_TRUE (value);
        EXPECT_TRUE (delegate->StringToValue (AAX_CString ("bypass"), &value));
        EXPECT_FALSE (value);

        for (const auto* other : { "ON", "", "Bypass", " on" })
        {
            value = true;
            EXPECT_FALSE (delegate->StringToValue (AAX_CString (other), &value)) << other;
            EXPECT_FALSE (value);
        }
    }
}
}
