#include "ChorusModelTestSupport.h"
#include "TestBits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace
{
    constexpr int numSamples = 24000;

    struct LeftOnlyRun
    {
        std::vector<float> left, right;
    };

    /** Runs a model with the stereo switch on, the signal on the left and silence on the right. */
    LeftOnlyRun runLeftOnly (const ModelKind& kind, float mix)
    {
        const auto model = makePrepared (kind, 48000.0f, { 0.5f, 0.5f, 0.6f, mix, 0.5f, 1.0f, 0.0f });
        LeftOnlyRun run { makeTestSignal (numSamples, 21), std::vector<float> (numSamples) };
        processStereo (*model, run.left, run.right);
        return run;
    }

    int firstNonZero (const std::vector<float>& samples)
    {
        const auto it = std::find_if (samples.begin(), samples.end(), [] (float x) { return x != 0.0f; });
        return static_cast<int> (it - samples.begin());
    }
}

// With the stereo switch on and input on the left only, the right output holds
// one voice and nothing else: no dry signal (it vanishes at Mix 0), nothing
// undelayed (it starts after the 7 ms base delay) and it scales with the wet
// gain exactly. Type 2 crosses its left voice over; Type 3 feeds its centre voice.
class CrossedVoiceTest : public ::testing::TestWithParam<ModelKind> {};

INSTANTIATE_TEST_SUITE_P (VoiceModels, CrossedVoiceTest,
                          ::testing::Values (allModelKinds()[1], allModelKinds()[2]),
                          [] (const auto& testInfo) { return std::string (testInfo.param.label); });

TEST_P (CrossedVoiceTest, RightOutputCarriesOnlyTheDelayedVoice)
{
    const auto dry = runLeftOnly (GetParam(), 0.0f);
    EXPECT_EQ (firstNonZero (dry.right), numSamples);

    const auto full = runLeftOnly (GetParam(), 1.0f);
    const auto half = runLeftOnly (GetParam(), 0.5f);

    const int baseDelay = 7 * 48;
    EXPECT_GE (firstNonZero (full.right), baseDelay - 1);
    EXPECT_LT (firstNonZero (full.right), numSamples);

    for (size_t i = 0; i < static_cast<size_t> (numSamples); ++i)
        ASSERT_EQ (bitsOf (half.right[i]), bitsOf (0.5f * full.right[i])) << i;
}

TEST (TriChorusTest, MixZeroGivesTheInputTimesTheLevelGainExactly)
{
    for (const float level : { 0.3f, 0.5f, 0.85f })
    {
        for (const float stereo : { 0.0f, 1.0f })
        {
            TriChorus model;
            prepareModel (model, 44100.0f, { 0.7f, 0.5f, 1.0f, 0.0f, level, stereo, 0.0f });

            const auto input = makeTestSignal (20000, 22);
            auto mono = input, left = input, right = makeTestSignal (20000, 23);
            const auto rightInput = right;
            processStereo (model, left, right);
            processMono (model, mono);

            const auto gain = static_cast<double> (2.0f * level);

            for (size_t i = 0; i < input.size(); ++i)
            {
                ASSERT_EQ (bitsOf (left[i]), bitsOf (static_cast<float> (static_cast<double> (input[i]) * gain))) << i;
                ASSERT_EQ (bitsOf (right[i]), bitsOf (static_cast<float> (static_cast<double> (rightInput[i]) * gain))) << i;
                ASSERT_EQ (bitsOf (mono[i]), bitsOf (static_cast<float> (static_cast<double> (input[i]) * gain))) << i;
            }
        }
    }
}
