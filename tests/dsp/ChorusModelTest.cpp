#include "ChorusModelTestSupport.h"
#include "RateSyncSteps.h"
#include "TestBits.h"

#include "../support/RateSyncCases.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <numeric>
#include <string>

namespace
{
    constexpr float notANumber = std::numeric_limits<float>::quiet_NaN();
    constexpr float infinity = std::numeric_limits<float>::infinity();

    bool sameBits (const std::vector<float>& a, const std::vector<float>& b)
    {
        return a.size() == b.size() && std::memcmp (a.data(), b.data(), a.size() * sizeof (float)) == 0;
    }

    bool allFinite (const std::vector<float>& samples)
    {
        return std::all_of (samples.begin(), samples.end(), [] (float x) { return std::isfinite (x); });
    }

    std::vector<float> scaled (std::vector<float> samples, float factor)
    {
        for (auto& x : samples)
            x *= factor;

        return samples;
    }

    // The model-parameter table, written out independently of the models.
    struct ParameterRow { const char* name; float defaultValue; };

    const std::array<ParameterRow, 8> parameterTable { {
        { "Bypass", 1.0f }, { "Rate", 0.2f }, { "RateSync", 0.16666667f }, { "Depth", 0.2f },
        { "Mix", 0.5f }, { "Level", 0.5f }, { "StereoOn", 0.0f }, { "SyncOn", 0.0f },
    } };

    // Beats per LFO cycle of the 19 tempo-synced steps, "8/1" to "1/32T".
    const std::array<float, 19> beatsTable {
        32.0f, 16.0f, 8.0f, 4.0f, 3.0f, 2.0f, 1.333f, 1.5f, 1.0f, 0.6665f,
        0.75f, 0.5f, 0.333f, 0.375f, 0.25f, 0.1665f, 0.1875f, 0.125f, 0.083f
    };

    // Upper bound of step k: a hair above the float nearest to k/18, where hosts keep it as text.
    float stepBound (int k) { return static_cast<float> (k / 18.0) + RateSyncSteps::nominalTolerance; }

    float syncedFrequency (float bpm, float beats) { return 1.0f / ((60.0f / bpm) * beats); }
}

class ChorusModelTest : public ::testing::TestWithParam<ModelKind> {};

INSTANTIATE_TEST_SUITE_P (AllModels, ChorusModelTest, ::testing::ValuesIn (allModelKinds()),
                          [] (const auto& testInfo) { return std::string (testInfo.param.label); });

TEST_P (ChorusModelTest, FreshModelReportsItsDefaultsNamesAndCounts)
{
    const auto model = GetParam().make();

    EXPECT_STREQ (model->getName(), GetParam().name);
    EXPECT_EQ (model->getParameterNum(), 8);
    EXPECT_EQ (model->getBpm(), 120.0f);
    EXPECT_EQ (model->getInputsUsed(), 1);
    EXPECT_EQ (model->getOutputsUsed(), 1);
    EXPECT_FALSE (model->isContainer());
    EXPECT_EQ (bitsOf (model->getDefaultParameter (2)), 0x3E2AAAABu);

    for (int i = 0; i < 8; ++i)
    {
        const auto& row = parameterTable[static_cast<size_t> (i)];
        EXPECT_STREQ (model->getParameterName (i), row.name);
        EXPECT_EQ (model->getDefaultParameter (i), row.defaultValue) << i;
        EXPECT_EQ (model->getParameter (i), row.defaultValue) << i;
        EXPECT_EQ (model->getAllParameters()[i], row.defaultValue) << i;
    }

    for (int i : { -1, 8, 100, std::numeric_limits<int>::min() })
    {
        EXPECT_STREQ (model->getParameterName (i), "") << i;
        EXPECT_EQ (model->getDefaultParameter (i), 0.0f) << i;
        EXPECT_EQ (model->getParameter (i), 0.0f) << i;
    }
}

TEST_P (ChorusModelTest, MonoEqualsLeftOfStereoOffWithEqualInputs)
{
    const ModelSettings settings { 0.5f, 0.16666667f, 0.7f, 0.6f, 0.5f, 0.0f, 0.0f };
    const auto monoModel = makePrepared (GetParam(), 48000.0f, settings);
    const auto stereoModel = makePrepared (GetParam(), 48000.0f, settings);

    auto mono = makeTestSignal (24000);
    auto left = mono, right = mono;
    processMono (*monoModel, mono);
    processStereo (*stereoModel, left, right);

    EXPECT_TRUE (sameBits (mono, left));
    EXPECT_TRUE (sameBits (left, right));
}

TEST_P (ChorusModelTest, StereoOnWithEqualInputsStillDiffersBetweenChannels)
{
    const ModelSettings settings { 0.5f, 0.16666667f, 1.0f, 1.0f, 0.5f, 1.0f, 0.0f };
    const auto model = makePrepared (GetParam(), 48000.0f, settings);

    auto left = makeTestSignal (24000), right = left;
    processStereo (*model, left, right);

    EXPECT_FALSE (sameBits (left, right));
}

TEST_P (ChorusModelTest, LevelScalesTheOutputLinearly)
{
    for (const float stereo : { 0.0f, 1.0f })
    {
        std::vector<std::vector<float>> outputs;

        for (const float level : { 0.25f, 0.5f, 1.0f })
        {
            const auto model = makePrepared (GetParam(), 44100.0f, { 0.3f, 0.5f, 0.5f, 0.5f, level, stereo, 0.0f });
            auto left = makeTestSignal (8192, 3), right = makeTestSignal (8192, 4);
            processStereo (*model, left, right);
            outputs.push_back (left);
            outputs.push_back (right);
        }

        for (size_t channel = 0; channel < 2; ++channel)
        {
            EXPECT_TRUE (sameBits (outputs[channel], scaled (outputs[2 + channel], 0.5f))) << stereo;
            EXPECT_TRUE (sameBits (outputs[4 + channel], scaled (outputs[2 + channel], 2.0f))) << stereo;
        }
    }
}

TEST_P (ChorusModelTest, SilenceInGivesSilenceOut)
{
    for (const float stereo : { 0.0f, 1.0f })
    {
        const auto model = makePrepared (GetParam(), 48000.0f, { 1.0f, 0.5f, 1.0f, 0.5f, 1.0f, stereo, 0.0f });
        std::vector<float> mono (48000), left (48000), right (48000);
        processStereo (*model, left, right);
        processMono (*model, mono);

        for (const auto* channel : { &mono, &left, &right })
            EXPECT_TRUE (std::all_of (channel->begin(), channel->end(), [] (float x) { return x == 0.0f; }));
    }
}

TEST_P (ChorusModelTest, EmptyBlockChangesNothingButAPendingTempo)
{
    const ModelSettings settings { 0.2f, 0.5f, 0.5f, 0.5f, 0.5f, 1.0f, 1.0f, 120.0f };
    const auto model = makePrepared (GetParam(), 48000.0f, settings);
    const auto reference = makePrepared (GetParam(), 48000.0f, settings);

    auto first = makeTestSignal (1000, 5), firstReference = first;
    processMono (*model, first);
    processMono (*reference, firstReference);

    float untouched = 0.75f;
    model->process (&untouched, 0);
    model->process (&untouched, &untouched, 0);
    EXPECT_EQ (untouched, 0.75f);

    model->setBpm (90.0f);
    EXPECT_EQ (model->getLfoFrequency(), syncedFrequency (120.0f, 0.6665f));
    model->process (&untouched, 0);
    EXPECT_EQ (model->getLfoFrequency(), syncedFrequency (90.0f, 0.6665f));
    EXPECT_EQ (untouched, 0.75f);

    reference->setBpm (90.0f);
    auto second = makeTestSignal (4000, 6), secondReference = second;
    processMono (*model, second);
    processMono (*reference, secondReference);
    EXPECT_TRUE (sameBits (second, secondReference));
}

TEST_P (ChorusModelTest, BlockLongerThanPreparedIsProcessedCompletely)
{
    const ModelSettings settings { 0.6f, 0.5f, 0.8f, 0.7f, 0.5f, 1.0f, 0.0f };
    const auto model = makePrepared (GetParam(), 48000.0f, settings, 64);
    const auto reference = makePrepared (GetParam(), 48000.0f, settings, 64);

    for (auto* m : { model.get(), reference.get() })
    {
        m->setParameter (ChorusModel::bypassParameter, 0.0f);
        m->forceCalcParams();
        m->setParameter (ChorusModel::bypassParameter, 1.0f);
        m->calcParameter (ChorusModel::bypassParameter);   // fading in: the dry copies are in use
    }

    auto left = makeTestSignal (5000, 7), right = makeTestSignal (5000, 8);
    auto leftReference = left, rightReference = right;
    model->process (left.data(), right.data(), 5000);
    processStereo (*reference, leftReference, rightReference, 64);

    EXPECT_EQ (model->getExpectedSampleFrame(), 5000);
    EXPECT_TRUE (sameBits (left, leftReference));
    EXPECT_TRUE (sameBits (right, rightReference));
}

TEST_P (ChorusModelTest, BypassFadeRunsOneBandLengthWithExactWeightsThenLeavesBuffersAlone)
{
    struct Case { float sampleRate; int fadeLength; };

    for (const auto& c : { Case { 22050.0f, 1024 }, Case { 44100.0f, 2048 }, Case { 96000.0f, 4096 }, Case { 192000.0f, 8192 } })
    {
        const ModelSettings settings { 0.4f, 0.5f, 0.6f, 0.7f, 0.5f, 1.0f, 0.0f };
        const auto fading = makePrepared (GetParam(), c.sampleRate, settings);
        const auto reference = makePrepared (GetParam(), c.sampleRate, settings);

        auto preRoll = makeTestSignal (3000, 9, c.sampleRate), preRollReference = preRoll;
        processMono (*fading, preRoll);
        processMono (*reference, preRollReference);

        fading->setParameter (ChorusModel::bypassParameter, 0.0f);
        fading->calcParameter (ChorusModel::bypassParameter);

        const int n = c.fadeLength + 300;
        const auto input = makeTestSignal (n, 10, c.sampleRate);
        auto out = input, processed = input;
        fading->process (out.data(), n);
        reference->process (processed.data(), n);

        const float step = 1.0f / static_cast<float> (c.fadeLength);
        float wet = 1.0f, dry = 0.0f;

        for (int k = 0; k < n; ++k)
        {
            const auto i = static_cast<size_t> (k);
            ASSERT_EQ (bitsOf (out[i]), bitsOf (wet * processed[i] + dry * input[i])) << c.sampleRate << " frame " << k;

            if (k == c.fadeLength)
            {
                ASSERT_TRUE (wet == 0.0f && dry == 1.0f) << c.sampleRate;
            }

            if (dry < 1.0f)
            {
                dry += step;
                wet -= step;
            }
        }

        auto afterwards = makeTestSignal (1000, 11, c.sampleRate);
        const auto original = afterwards;
        fading->process (afterwards.data(), 1000);
        EXPECT_TRUE (sameBits (afterwards, original)) << c.sampleRate;

        // Switched on again, the model resumes from where it stopped: a reference
        // that skipped the bypassed block gives the processed share.
        fading->setParameter (ChorusModel::bypassParameter, 1.0f);
        fading->calcParameter (ChorusModel::bypassParameter);

        const auto frozen = makePrepared (GetParam(), c.sampleRate, settings);
        auto frozenPreRoll = makeTestSignal (3000, 9, c.sampleRate);
        auto frozenFade = input;
        processMono (*frozen, frozenPreRoll);
        frozen->process (frozenFade.data(), n);

        const auto fadeIn = makeTestSignal (n, 12, c.sampleRate);
        auto fadedIn = fadeIn, frozenOut = fadeIn;
        fading->process (fadedIn.data(), n);
        frozen->process (frozenOut.data(), n);

        wet = 0.0f;
        dry = 1.0f;

        for (int k = 0; k < n; ++k)
        {
            const auto i = static_cast<size_t> (k);
            ASSERT_EQ (bitsOf (fadedIn[i]), bitsOf (wet * frozenOut[i] + dry * fadeIn[i])) << c.sampleRate << " frame " << k;

            if (wet < 1.0f)
            {
                wet += step;
                dry -= step;
            }
        }
    }
}

TEST_P (ChorusModelTest, FreeRateGivesTheLfoFrequency)
{
    struct Case { float rate; float hz; };

    for (const auto& c : { Case { 0.0f, 0.01f }, Case { 1.0f, 20.0f },
                           Case { 0.2f, (std::pow (81.0f, 0.2f) - 1.0f) * 0.0125f * 20.0f } })
    {
        const auto model = makePrepared (GetParam(), 48000.0f, { c.rate });
        EXPECT_EQ (model->getLfoFrequency(), c.hz) << c.rate;
    }

    const auto model = makePrepared (GetParam());
    model->setParameter (ChorusModel::rateParameter, 1.0f);
    EXPECT_NE (model->getLfoFrequency(), 20.0f);   // stored, not yet applied
    model->calcParameter (ChorusModel::rateParameter);
    EXPECT_EQ (model->getLfoFrequency(), 20.0f);
}

TEST_P (ChorusModelTest, SyncedRateFollowsTheNineteenStepsAndTheTempo)
{
    const auto model = makePrepared (GetParam(), 48000.0f, { 0.2f, 0.5f, 0.2f, 0.5f, 0.5f, 0.0f, 1.0f, 120.0f });

    const auto expectBeats = [&] (float rateSync, float beats)
    {
        model->setParameter (ChorusModel::rateSyncParameter, rateSync);
        model->calcParameter (ChorusModel::rateSyncParameter);
        EXPECT_EQ (model->getLfoFrequency(), std::max (syncedFrequency (120.0f, beats), 0.01f))
            << "rateSync " << rateSync << " beats " << beats;
    };

    for (int k = 0; k < 18; ++k)
    {
        const auto bound = stepBound (k);
        expectBeats (bound, beatsTable[static_cast<size_t> (k)]);                          // bounds belong to the lower step
        expectBeats (std::nextafter (bound, 1.0f), beatsTable[static_cast<size_t> (k + 1)]);
    }

    expectBeats (1.0f, 0.083f);
    expectBeats (-0.1f, 32.0f);
    expectBeats (0.16666667f, 4.0f);

    model->setParameter (ChorusModel::rateSyncParameter, 0.16666667f);
    model->calcParameter (ChorusModel::rateSyncParameter);
    EXPECT_EQ (model->getLfoFrequency(), 0.5f);   // "1/1" at 120 bpm

    model->setBpm (0.0f);
    EXPECT_EQ (model->getLfoFrequency(), 0.5f);   // the tempo waits for the next block
    float sample = 0.0f;
    model->process (&sample, 1);
    EXPECT_EQ (model->getLfoFrequency(), 0.01f);

    // Tempi no host sends: the synced rate they give is held inside the LFO's bounds.
    struct TempoCase { float bpm; float hz; };

    for (const auto& c : { TempoCase { infinity, ChorusModel::maxLfoFrequency }, TempoCase { 1.0e9f, ChorusModel::maxLfoFrequency },
                           TempoCase { -infinity, 0.01f }, TempoCase { -120.0f, 0.01f }, TempoCase { notANumber, 0.01f } })
    {
        model->setBpm (c.bpm);
        model->process (&sample, 1);
        EXPECT_EQ (model->getLfoFrequency(), c.hz) << c.bpm;
    }
}

TEST_P (ChorusModelTest, SyncedRateOfAValueKeptAsTextIsItsSteps)
{
    const auto model = makePrepared (GetParam(), 48000.0f, { 0.2f, 0.5f, 0.2f, 0.5f, 0.5f, 0.0f, 1.0f, 120.0f });

    const auto playedFrequency = [&] (float rateSync)
    {
        model->setParameter (ChorusModel::rateSyncParameter, rateSync);
        model->calcParameter (ChorusModel::rateSyncParameter);
        return model->getLfoFrequency();
    };

    for (const auto& c : RateSyncCases::makeCases())
        EXPECT_EQ (playedFrequency (c.value), syncedFrequency (120.0f, beatsTable[static_cast<size_t> (c.step)]))
            << c.label << " (" << c.value << ")";
}

TEST_P (ChorusModelTest, DepthGivesTheSweepWidth)
{
    struct Case { float depth; float ms; };

    for (const auto& c : { Case { 0.0f, 0.01f }, Case { 1.0f, 10.0f }, Case { 0.5f, 0.5f * 9.99f + 0.01f } })
    {
        const auto model = GetParam().make();
        model->setParameter (ChorusModel::depthParameter, c.depth);
        EXPECT_EQ (model->getSweepWidth(), c.ms) << c.depth;
    }
}

TEST_P (ChorusModelTest, HostileParametersAndTempiKeepTheOutputFinite)
{
    const std::vector<float> values { notANumber, -notANumber, infinity, -infinity, -1.0f, 2.0f, 1.0e30f, -1.0e30f,
                                      std::numeric_limits<float>::max(), std::numeric_limits<float>::denorm_min(), -0.0f };
    const std::vector<float> tempi { 0.0f, -120.0f, notANumber, infinity, -infinity, 1.0e30f, 1.0e-30f,
                                     std::numeric_limits<float>::max(), 120.0f };
    const std::vector<int> indices { -1, 8, 1000, std::numeric_limits<int>::min(), std::numeric_limits<int>::max() };

    const auto model = makePrepared (GetParam(), 44100.0f, { 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f });
    auto left = makeTestSignal (256, 13), right = left, mono = left;

    const auto runAll = [&] (const std::string& what)
    {
        for (int mode = 0; mode < 3; ++mode)
        {
            left = makeTestSignal (256, 13);
            right = left;
            mono = left;

            if (mode == 2)
            {
                model->process (mono.data(), 256);
                ASSERT_TRUE (allFinite (mono)) << what;
            }
            else
            {
                model->setParameter (ChorusModel::stereoOnParameter, static_cast<float> (mode));
                model->process (left.data(), right.data(), 256);
                ASSERT_TRUE (allFinite (left) && allFinite (right)) << what;
            }
        }
    };

    for (int index = 0; index < 8; ++index)
    {
        for (const auto value : values)
        {
            const auto what = "parameter " + std::to_string (index) + " = " + std::to_string (value);
            model->setParameter (index, value);
            EXPECT_TRUE (model->getParameter (index) >= 0.0f && model->getParameter (index) <= 1.0f) << what;
            model->calcParameter (index);
            runAll (what);
            model->forceCalcParams();
            runAll (what + " after forceCalcParams");
        }

        model->setParameter (index, model->getDefaultParameter (index));
        model->setParameter (ChorusModel::bypassParameter, 1.0f);
        model->forceCalcParams();
    }

    for (const auto index : indices)
    {
        model->setParameter (index, 0.5f);
        model->calcParameter (index);
        runAll ("index " + std::to_string (index));
    }

    for (const float rateSync : { 0.0f, 0.5f, 1.0f })
    {
        model->setParameter (ChorusModel::syncOnParameter, 1.0f);
        model->setParameter (ChorusModel::rateSyncParameter, rateSync);
        model->calcParameter (ChorusModel::rateSyncParameter);

        for (const auto tempo : tempi)
        {
            const auto what = "tempo " + std::to_string (tempo) + " rateSync " + std::to_string (rateSync);
            model->setBpm (tempo);
            runAll (what);
            const auto hz = model->getLfoFrequency();
            EXPECT_TRUE (hz >= ChorusModel::minLfoFrequency && hz <= ChorusModel::maxLfoFrequency) << what << " gave " << hz;
        }
    }
}

TEST_P (ChorusModelTest, NonFiniteInputCountsAsSilence)
{
    const ModelSettings settings { 0.5f, 0.5f, 0.7f, 0.6f, 0.5f, 1.0f, 0.0f };
    const auto model = makePrepared (GetParam(), 48000.0f, settings);
    const auto reference = makePrepared (GetParam(), 48000.0f, settings);

    auto left = makeTestSignal (48000, 14), right = makeTestSignal (48000, 15);
    auto leftReference = left, rightReference = right;

    for (size_t i = 20000; i < 20100; ++i)
    {
        left[i] = (i % 3 == 0) ? notANumber : (i % 3 == 1 ? infinity : -infinity);
        right[i] = notANumber;
        leftReference[i] = rightReference[i] = 0.0f;
    }

    processStereo (*model, left, right);
    processStereo (*reference, leftReference, rightReference);

    EXPECT_TRUE (allFinite (left) && allFinite (right));
    EXPECT_TRUE (sameBits (left, leftReference));
    EXPECT_TRUE (sameBits (right, rightReference));

    const auto tailEnergy = std::accumulate (left.end() - 4800, left.end(), 0.0, [] (double sum, float x) { return sum + static_cast<double> (x) * static_cast<double> (x); });
    EXPECT_GT (tailEnergy, 1.0);
}

TEST_P (ChorusModelTest, SyncedRateIsRecomputedOnlyWhenTheTempoChanges)
{
    const auto model = makePrepared (GetParam(), 48000.0f, { 0.2f, 0.5f, 0.2f, 0.5f, 0.5f, 0.0f, 1.0f, 120.0f });
    EXPECT_EQ (model->getLfoFrequency(), syncedFrequency (120.0f, 0.6665f));
    float sample = 0.0f;

    // The first block applies the tempo, with the rate-sync value stored by then.
    model->setParameter (ChorusModel::rateSyncParameter, 1.0f);
    model->process (&sample, 1);
    EXPECT_EQ (model->getLfoFrequency(), syncedFrequency (120.0f, 0.083f));

    model->setParameter (ChorusModel::rateSyncParameter, 0.0f);
    model->process (&sample, 1);
    model->setBpm (120.0f);
    model->process (&sample, &sample, 1);
    EXPECT_EQ (model->getLfoFrequency(), syncedFrequency (120.0f, 0.083f));

    model->setBpm (60.0f);
    model->process (&sample, &sample, 1);
    EXPECT_EQ (model->getLfoFrequency(), syncedFrequency (60.0f, 32.0f));

    // With the sync switch off a tempo change is only stored.
    const auto free = makePrepared (GetParam(), 48000.0f, { 0.2f, 0.5f, 0.2f, 0.5f, 0.5f, 0.0f, 0.0f, 120.0f });
    const auto freeHz = free->getLfoFrequency();
    free->setBpm (60.0f);
    free->process (&sample, 1);
    EXPECT_EQ (free->getLfoFrequency(), freeHz);
    EXPECT_EQ (free->getBpm(), 60.0f);
}

TEST_P (ChorusModelTest, FadeReversedHalfwayContinuesFromItsWeights)
{
    const ModelSettings settings { 0.4f, 0.5f, 0.6f, 0.7f, 0.5f, 1.0f, 0.0f };
    const auto fading = makePrepared (GetParam(), 44100.0f, settings);
    const auto reference = makePrepared (GetParam(), 44100.0f, settings);
    constexpr int fadeLength = 2048, firstPart = 1034, secondPart = fadeLength + 100;
    constexpr float step = 1.0f / static_cast<float> (fadeLength);

    auto left = makeTestSignal (3000, 51), right = makeTestSignal (3000, 52);
    processStereo (*fading, left, right);
    left = makeTestSignal (3000, 51);
    right = makeTestSignal (3000, 52);
    processStereo (*reference, left, right);

    // A full recalculation follows the switch too; the reference recalculates alike, staying on.
    fading->setParameter (ChorusModel::bypassParameter, 0.0f);
    fading->calc();
    reference->calc();

    float wet = 1.0f, dry = 0.0f;

    const auto expectWeighted = [&] (int n, std::uint32_t seed, bool fadingIn)
    {
        const auto inLeft = makeTestSignal (n, seed), inRight = makeTestSignal (n, seed + 1);
        auto outLeft = inLeft, outRight = inRight, wetLeft = inLeft, wetRight = inRight;
        fading->process (outLeft.data(), outRight.data(), n);
        reference->process (wetLeft.data(), wetRight.data(), n);

        for (size_t k = 0; k < static_cast<size_t> (n); ++k)
        {
            ASSERT_EQ (bitsOf (outLeft[k]), bitsOf (wet * wetLeft[k] + dry * inLeft[k])) << "frame " << k;
            ASSERT_EQ (bitsOf (outRight[k]), bitsOf (wet * wetRight[k] + dry * inRight[k])) << "frame " << k;

            if (fadingIn && wet < 1.0f)
            {
                wet += step;
                dry -= step;
            }
            else if (! fadingIn && dry < 1.0f)
            {
                dry += step;
                wet -= step;
            }
        }
    };

    expectWeighted (firstPart, 53, false);
    EXPECT_EQ (dry, static_cast<float> (firstPart) * step);

    fading->setParameter (ChorusModel::bypassParameter, 1.0f);
    fading->calcParameter (ChorusModel::bypassParameter);
    expectWeighted (secondPart, 55, true);
    EXPECT_TRUE (wet == 1.0f && dry == 0.0f);
}

TEST_P (ChorusModelTest, ProcessBlockFeedsTheChainsByInputsUsed)
{
    struct Case { int inputs; float stereo; };

    for (const auto& c : { Case { 1, 0.0f }, Case { 1, 1.0f }, Case { 2, 0.0f }, Case { 2, 1.0f }, Case { 0, 1.0f }, Case { 3, 0.0f } })
    {
        const ModelSettings settings { 0.5f, 0.5f, 0.7f, 0.6f, 0.5f, c.stereo, 0.0f };
        const auto model = makePrepared (GetParam(), 48000.0f, settings);
        const auto reference = makePrepared (GetParam(), 48000.0f, settings);
        model->setInputsUsed (c.inputs);

        const auto original = makeTestSignal (4096, 61), originalOutput = makeTestSignal (4096, 62);
        auto input = original, output = originalOutput;
        model->processBlock (input.data(), output.data(), 4096);

        auto expectedInput = original, expectedOutput = originalOutput;

        if (c.inputs == 2)
        {
            reference->process (expectedInput.data(), expectedOutput.data(), 4096);
        }
        else if (c.inputs == 1 && c.stereo > 0.0f)
        {
            expectedOutput = original;
            reference->process (expectedInput.data(), expectedOutput.data(), 4096);
        }
        else if (c.inputs == 1)
        {
            reference->process (expectedInput.data(), 4096);
            expectedOutput = expectedInput;
        }

        EXPECT_TRUE (sameBits (input, expectedInput)) << c.inputs << " inputs, stereo " << c.stereo;
        EXPECT_TRUE (sameBits (output, expectedOutput)) << c.inputs << " inputs, stereo " << c.stereo;
    }
}
