#include "CE2AntiAliasingFilter.h"
#include "CE2DeEmphasisFilter.h"
#include "CE2PreEmphasisFilter.h"
#include "CE2ReconstructionFilter.h"
#include "DimensionCAntiAliasing.h"
#include "DimensionCReconstructionFilter.h"
#include "DimensionCrossFilter.h"
#include "DimensionDeEmphasisFilter.h"
#include "DimensionPreEmphasisFilter.h"
#include "TriAntiAliasingFilter.h"
#include "TriReconstructionFilter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace
{
const std::vector<float> sampleRates { 22050.0f, 44100.0f, 48000.0f, 96000.0f, 192000.0f };

template <std::size_t M>
std::vector<double> toVector (const std::array<double, M>& values)
{
    return { values.begin(), values.end() };
}

std::uint64_t bitsOf (double value)
{
    std::uint64_t bits;
    std::memcpy (&bits, &value, sizeof bits);
    return bits;
}

struct BitPatternCase
{
    std::string name;
    std::vector<double> values;
    std::vector<std::uint64_t> bits;
};

constexpr std::uint64_t zero = 0x0000000000000000, one = 0x3FF0000000000000;
} // namespace

TEST (FilterPrototypesTest, AnalogCoefficientsHaveTheirExactBitPatterns)
{
    const std::vector<BitPatternCase> cases {
        { "CE2PreEmphasisFilter den", toVector (CE2PreEmphasisFilter::denominator), { 0x40E6F30000000000, 0x4009916872B020C4 } },
        { "CE2PreEmphasisFilter num", toVector (CE2PreEmphasisFilter::numerator), { 0xC0E6F30000000000, 0xC032379A6B50B0F2 } },
        { "CE2DeEmphasisFilter den", toVector (CE2DeEmphasisFilter::denominator), { 0x40E6F30000000000, 0x4032379A6B50B0F2 } },
        { "CE2DeEmphasisFilter num", toVector (CE2DeEmphasisFilter::numerator), { 0xC0E6F30000000000, 0xC009916872B020C5 } },
        { "CE2AntiAliasingFilter den", toVector (CE2AntiAliasingFilter::denominator),
          { one, 0x3F6E8200F6A004ED, 0x3E85F0AEF024C8A5, 0x3D904DEFB5471212, 0x3C8831B0097A6B67 } },
        { "CE2AntiAliasingFilter num", toVector (CE2AntiAliasingFilter::numerator), { zero, 0x3F6B089A02752546, zero, zero, zero } },
        { "CE2ReconstructionFilter den", toVector (CE2ReconstructionFilter::denominator),
          { one, 0x3F88F274FD021EBD, 0x3EA2046817A63BCA, 0x3DAAD68714C203E9, 0x3CA3F5CAD49E989C } },
        { "CE2ReconstructionFilter num", toVector (CE2ReconstructionFilter::numerator), { zero, 0x3F864D7F0ED3D859, zero, zero, zero } },
        { "DimensionPreEmphasisFilter den", toVector (DimensionPreEmphasisFilter::denominator),
          { 0x40E6F30000000000, 0x40B86D35810624DD, 0x3FD2CD91EEAA6D26 } },
        { "DimensionPreEmphasisFilter num", toVector (DimensionPreEmphasisFilter::numerator),
          { 0xC0E01D0000000000, 0xC0A9D9AE703AFB7E, 0xBFEC4A4D2B2BFDB4 } },
        { "DimensionDeEmphasisFilter den", toVector (DimensionDeEmphasisFilter::denominator), { 0x40E01D0000000000, 0x4021AE703AFB7E91 } },
        { "DimensionDeEmphasisFilter num", toVector (DimensionDeEmphasisFilter::numerator), { 0xC0E6F30000000000, 0xC001AC083126E979 } },
        { "DimensionCrossFilter den", toVector (DimensionCrossFilter::denominator),
          { 0x41104BE000000000, 0x40F4CB03EC56D5CF, 0x4026BDBF487FCB92 } },
        { "DimensionCrossFilter num", toVector (DimensionCrossFilter::numerator), { zero, 0x40D57BFFFFFFFFFF, 0x40167E28240B7803 } },
        { "DimensionCAntiAliasing den", toVector (DimensionCAntiAliasing::denominator),
          { one, 0x3FB99EDCCF794F75, 0x3EB2F854BE850983, 0x3DA5F7E58C647FDC, 0x3C75754AF5ACB7CE } },
        { "DimensionCAntiAliasing num", toVector (DimensionCAntiAliasing::numerator), { zero, 0x3FB9999999999999, zero, zero, zero } },
        { "DimensionCReconstructionFilter den", toVector (DimensionCReconstructionFilter::denominator),
          { one, 0x3F8F9F44D4456713, 0x3E8740B8062D7375, 0x3D7A8322FCAB2D57, 0x3C49AE5F723584BB } },
        { "DimensionCReconstructionFilter num", toVector (DimensionCReconstructionFilter::numerator),
          { zero, 0x3F8EA35935FC3B4F, zero, zero, zero } },
        { "TriAntiAliasingFilter den", toVector (TriAntiAliasingFilter::denominator),
          { one, 0x3FB99EDCCF794F75, 0x3EB2F854BE850983, 0x3DA5F7E58C647FDC, 0x3C75754AF5ACB7CE } },
        { "TriAntiAliasingFilter num", toVector (TriAntiAliasingFilter::numerator), { zero, 0x3FB9999999999999, zero, zero, zero } },
        { "TriReconstructionFilter den", toVector (TriReconstructionFilter::denominator),
          { one, 0x3F8F9F44D4456713, 0x3E8740B8062D7375, 0x3D7A8322FCAB2D57, 0x3C49AE5F723584BB } },
        { "TriReconstructionFilter num", toVector (TriReconstructionFilter::numerator), { zero, 0x3F8EA35935FC3B4F, zero, zero, zero } },
    };

    for (const auto& c : cases)
    {
        ASSERT_EQ (c.values.size(), c.bits.size()) << c.name;

        for (std::size_t j = 0; j < c.bits.size(); ++j)
            EXPECT_EQ (bitsOf (c.values[j]), c.bits[j]) << c.name << "[" << j << "] = " << std::hexfloat << c.values[j];
    }
}

TEST (FilterPrototypesTest, CE2PreEmphasisGainsAtDcAndNyquistAtEveryRate)
{
    for (float fs : sampleRates)
    {
        CE2PreEmphasisFilter filter;
        filter.setSampleRate (fs);
        filter.calc();

        const double b0 = filter.getB (0), b1 = filter.getB (1), a1 = filter.getA (1);
        EXPECT_NEAR ((b0 + b1) / (1.0 + a1), -1.0, 1.0e-12) << fs;
        EXPECT_NEAR ((b0 - b1) / (1.0 - a1), -5.7, 1.0e-12) << fs;
    }
}

/** Cases that hold for every prototype class. */
template <typename Filter>
class FilterPrototypeTest : public ::testing::Test
{
protected:
    static constexpr int N = Filter::order;

    /** Checks H(z) = g, cross-multiplied: sum bk z^-k = g sum ak z^-k (a0 taken as 1),
        relative to the size of the terms. */
    static void expectDigitalGain (const Filter& filter, double z, double g, float fs)
    {
        double num = 0.0, den = 0.0, scale = 0.0;

        for (int k = 0; k <= N; ++k)
        {
            const double zk = std::pow (z, -k);
            const double ak = k == 0 ? 1.0 : filter.getA (k);
            num += filter.getB (k) * zk;
            den += ak * zk;
            scale += std::abs (filter.getB (k)) + std::abs (g * ak);
        }

        EXPECT_LE (std::abs (num - g * den), 1.0e-12 * scale) << "fs " << fs << ", z " << z << ", gain " << g;
    }
};

using Prototypes = ::testing::Types<CE2PreEmphasisFilter, CE2DeEmphasisFilter, CE2AntiAliasingFilter,
                                    CE2ReconstructionFilter, DimensionPreEmphasisFilter, DimensionDeEmphasisFilter,
                                    DimensionCrossFilter, DimensionCAntiAliasing, DimensionCReconstructionFilter,
                                    TriAntiAliasingFilter, TriReconstructionFilter>;
TYPED_TEST_SUITE (FilterPrototypeTest, Prototypes, /* default names */);

TYPED_TEST (FilterPrototypeTest, SilentUntilCalc)
{
    TypeParam filter;

    for (double x : { 1.0, 0.0, -2.0 })
    {
        double l = x, r = x;
        filter.process (l, r);
        EXPECT_EQ (l, 0.0);
        EXPECT_EQ (r, 0.0);
    }
}

TYPED_TEST (FilterPrototypeTest, NewRateTakesEffectAtNextCalc)
{
    TypeParam filter, reference;
    filter.setSampleRate (48000.0f);
    filter.calc();
    const double b1At48k = filter.getB (1);

    filter.setSampleRate (96000.0f);
    EXPECT_EQ (filter.getB (1), b1At48k);

    filter.calc();
    reference.setSampleRate (96000.0f);
    reference.calc();

    for (int k = 0; k <= TestFixture::N; ++k)
    {
        EXPECT_EQ (filter.getA (k), reference.getA (k)) << k;
        EXPECT_EQ (filter.getB (k), reference.getB (k)) << k;
    }

    EXPECT_NE (filter.getB (1), b1At48k);
}

// The transform maps 0 Hz onto z = 1 and infinite analog frequency onto z = -1,
// so the digital gains there are num[0] / den[0] and num[N] / den[N].
TYPED_TEST (FilterPrototypeTest, AnalogGainsAtZeroAndInfinityReappearAtDcAndNyquist)
{
    constexpr int order = TestFixture::N;
    const auto& den = TypeParam::denominator;
    const auto& num = TypeParam::numerator;

    for (float fs : sampleRates)
    {
        TypeParam filter;
        filter.setSampleRate (fs);
        filter.calc();

        this->expectDigitalGain (filter, 1.0, num[0] / den[0], fs);
        this->expectDigitalGain (filter, -1.0, num[order] / den[order], fs);
    }
}
