#include "BBDNonLinearBiased.h"

#include "TestBits.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace
{
    double clip (double x)
    {
        const BBDNonLinearBiased bbd;
        bbd.process (x);
        return x;
    }
}

TEST (BBDNonLinearBiasedTest, CurveConstantsHaveTheExactBits)
{
    struct Case { double value; std::uint64_t bits; };

    for (const auto& c : std::vector<Case> {
             { BBDNonLinearBiased::upperLimit, 0x3FFCFCE0D0000000u },
             { BBDNonLinearBiased::upperOutput, 0x3FFDB641BD9C361Au },
             { BBDNonLinearBiased::lowerLimit, 0xC00A7E706999999Au },
             { BBDNonLinearBiased::lowerOutput, 0xBFFE0FDB395F90B0u },
             { BBDNonLinearBiased::cubic, 0xBFAC71C71C71C723u },
             { BBDNonLinearBiased::offset, 0x3FE526668439E5BDu } })
        EXPECT_EQ (bitsOf (c.value), c.bits) << c.value;

    EXPECT_NE (BBDNonLinearBiased::cubic, -1.0 / 18.0);
}

TEST (BBDNonLinearBiasedTest, SoftClipValues)
{
    struct Case { double input; double output; };

    const std::vector<Case> cases {
        { 0.0, 0.0 },
        { 0.5, 0.5395055555555556 },
        { -0.5, -0.5403388888888888 },
        { 1.0, 1.0365111111111112 },
        { -1.0, -1.0398444444444443 },
        { 2.6, 1.856996288933607 },
        { -2.6, -1.8788711777824965 },
        { 2.5517378354072573, 1.856996288933607 },
        { -2.571737847328186, -1.8788711777824965 },
        { 1e300, 1.856996288933607 },
        { -1e300, -1.8788711777824965 },
    };

    for (const auto& c : cases)
        EXPECT_EQ (bitsOf (clip (c.input)), bitsOf (c.output)) << c.input;
}

TEST (BBDNonLinearBiasedTest, CurveJoinsItsFlatPartsWithoutAStep)
{
    EXPECT_NEAR (clip (2.55173783540725), BBDNonLinearBiased::upperOutput, 1e-10);
    EXPECT_NEAR (clip (-2.5717378473281), BBDNonLinearBiased::lowerOutput, 1e-10);
}

TEST (BBDNonLinearBiasedTest, PairClipsEachChannelOnItsOwn)
{
    const BBDNonLinearBiased bbd;
    double left = 0.5, right = -2.6;
    bbd.process (left, right);
    EXPECT_EQ (left, clip (0.5));
    EXPECT_EQ (right, BBDNonLinearBiased::lowerOutput);
}
