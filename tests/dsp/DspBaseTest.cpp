#include "CE2ReconstructionFilter.h"
#include "CommonBase.h"
#include "Compressor.h"
#include "Expander.h"
#include "ModulatingDelayLine.h"
#include "OnePole.h"
#include "WavetableTriChorusOsc.h"
#include "WavetableTriangleOsc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

TEST (SampleRateBandTest, BandEdgesAndCommonRates)
{
    struct Case { float fs; int length; };

    const std::vector<Case> cases {
        { 22050.0f, 1024 }, { 32000.0f, 1024 }, { 34049.996f, 1024 },
        { 34050.0f, 2048 }, { 44100.0f, 2048 }, { 48000.0f, 2048 }, { 67999.996f, 2048 },
        { 68000.0f, 4096 }, { 88200.0f, 4096 }, { 96000.0f, 4096 }, { 135999.98f, 4096 },
        { 136000.0f, 8192 }, { 176400.0f, 8192 }, { 192000.0f, 8192 },
        { std::numeric_limits<float>::quiet_NaN(), 8192 },
    };

    for (const auto& c : cases)
        EXPECT_EQ (getSampleRateBandLength (c.fs), c.length) << c.fs;
}

TEST (SampleRateBandTest, LowestEdgeCaseIsTheFloatJustBelow34050)
{
    EXPECT_EQ (34049.996f, std::nextafter (34050.0f, 0.0f));
}

TEST (DspBaseTest, BlocksReportTheNameOfTheirBase)
{
    struct Case { std::unique_ptr<DspBase> block; std::string name; };

    std::vector<Case> cases;
    cases.push_back ({ std::make_unique<OnePole>(), "ModuleBase" });
    cases.push_back ({ std::make_unique<Compressor>(), "ModuleBase" });
    cases.push_back ({ std::make_unique<Expander>(), "ModuleBase" });
    cases.push_back ({ std::make_unique<CE2ReconstructionFilter>(), "ModuleBase" });
    cases.push_back ({ std::make_unique<ModulatingDelayLine>(), "DspBase" });
    cases.push_back ({ std::make_unique<WavetableTriangleOsc>(), "DspBase" });
    cases.push_back ({ std::make_unique<WavetableTriChorusOsc>(), "DspBase" });

    for (const auto& c : cases)
    {
        EXPECT_EQ (c.block->getName(), c.name);
        EXPECT_EQ (c.block->getSampleRate(), 44100.0f);
    }
}

namespace
{
    /** Records the order in which reset() reaches the two halves. */
    class RecordingBlock final : public DspBase
    {
    public:
        explicit RecordingBlock (const char* blockName = "Recording") : DspBase (blockName) {}

        void resetBuffer() override  { calls += "buffer;"; }
        void resetCoeffs() override  { calls += "coeffs;"; }

        std::string calls;
    };

    class PlainGain final : public CommonBase
    {
    public:
        void process (double& x) noexcept override                  { x *= gain; }
        void process (double& left, double& right) noexcept override { left *= gain; right *= gain; }

        float rate() const noexcept { return sampleRate; }

        double gain = 0.5;
    };
}

TEST (DspBaseTest, NullNameReadsAsEmptyText)
{
    const RecordingBlock block (nullptr);
    ASSERT_NE (block.getName(), nullptr);
    EXPECT_STREQ (block.getName(), "");
}

TEST (DspBaseTest, ResetClearsBuffersBeforeCoefficients)
{
    RecordingBlock block;
    block.reset();
    EXPECT_EQ (block.calls, "buffer;coeffs;");
}

TEST (DspBaseTest, SetSampleRateOnlyStoresTheRate)
{
    RecordingBlock block;
    block.setSampleRate (96000.0f);
    block.calc();
    EXPECT_EQ (block.getSampleRate(), 96000.0f);
    EXPECT_TRUE (block.calls.empty());
}

TEST (CommonBaseTest, ResetLeavesEverythingAsItWas)
{
    PlainGain block;
    block.setSampleRate (48000.0f);
    block.reset();

    double x = 2.0;
    block.process (x);
    EXPECT_EQ (x, 1.0);
    EXPECT_EQ (block.rate(), 48000.0f);
}
