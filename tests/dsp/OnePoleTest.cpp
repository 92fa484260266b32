#include "OnePole.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
    class OnePoleTest : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            filter.setSampleRate (44100.0f);
            filter.reset();
        }

        /** Feeds the low-pass one sample through the pass-through coefficients of a reset. */
        void primeState (double value)
        {
            filter.resetCoeffs();
            filter.process (value);
        }

        OnePole filter;
    };

    const double tenHzPole = std::exp (-6.283185307179586 * 10.0 / 44100.0);
}

TEST_F (OnePoleTest, ResetGivesPassThroughLowPassAndSilentHighPass)
{
    for (const double input : { 1.0, -0.25, 3.5 })
    {
        double low = input, high = input;
        filter.process (low);
        filter.processHP (high);
        EXPECT_EQ (low, input);
        EXPECT_EQ (high, 0.0);
    }
}

TEST_F (OnePoleTest, ZeroCutoffHoldsTheLastLowPassValue)
{
    primeState (0.7);
    filter.setFrequency (0.0f);

    for (const double input : { 5.0, -2.0, 0.0 })
    {
        double low = input, high = input;
        filter.process (low);
        EXPECT_EQ (low, 0.7);
        filter.processHP (high);
        EXPECT_EQ (high, input - 0.7);
    }
}

TEST_F (OnePoleTest, TenHertzHighPassDecaysDcByThePolePerSample)
{
    EXPECT_NEAR (tenHzPole, 0.998576, 1e-6);
    filter.setFrequency (10.0f);
    EXPECT_EQ (filter.getFrequency(), 10.0f);

    double previous = 1.0;
    filter.processHP (previous);
    EXPECT_EQ (previous, 1.0 - (1.0 - tenHzPole));

    for (int n = 1; n < 2000; ++n)
    {
        double x = 1.0;
        filter.processHP (x);
        ASSERT_NEAR (x / previous, tenHzPole, 1e-9) << n;
        previous = x;
    }
}

TEST_F (OnePoleTest, CoefficientsFollowANewRateOnlyAfterSetFrequency)
{
    OnePole reference;
    reference.reset();
    reference.setFrequency (50.0f);
    filter.setFrequency (50.0f);
    filter.setSampleRate (96000.0f);

    double a = 1.0, b = 1.0;
    filter.process (a);
    reference.process (b);
    EXPECT_EQ (a, b);

    filter.setFrequency (50.0f);
    a = 1.0, b = 1.0;
    filter.process (a);
    reference.process (b);
    EXPECT_NE (a, b);
}

TEST_F (OnePoleTest, FloatAndDoubleVariantsShareOneState)
{
    OnePole reference;
    reference.reset();
    reference.setFrequency (50.0f);
    filter.setFrequency (50.0f);

    const std::vector<float> inputs { 1.0f, 0.5f, -0.25f, 0.75f, 0.0f, 1.0f, -1.0f, 0.125f };

    for (size_t n = 0; n < inputs.size(); ++n)
    {
        double expected = static_cast<double> (inputs[n]);
        reference.process (expected);

        if (n % 2 == 0)
        {
            float x = inputs[n];
            filter.process (x);
            EXPECT_EQ (x, static_cast<float> (expected)) << n;
        }
        else
        {
            double x = static_cast<double> (inputs[n]);
            filter.process (x);
            EXPECT_EQ (x, expected) << n;
        }
    }
}

TEST_F (OnePoleTest, PairKeepsChannelsApartWithSharedCoefficients)
{
    OnePole leftOnly, rightOnly;

    for (auto* f : { &filter, &leftOnly, &rightOnly })
    {
        f->setSampleRate (44100.0f);
        f->reset();
        f->setFrequency (100.0f);
    }

    for (int n = 0; n < 300; ++n)
    {
        const auto input = std::sin (0.1 * n);
        double left = input, right = 0.0, expectedLeft = input, expectedRight = 0.0;

        // Alternate the pair forms: all of them run on the same two states.
        switch (n % 3)
        {
            case 0:
                filter.process (left, right);
                leftOnly.process (expectedLeft);
                rightOnly.process (expectedRight);
                break;

            case 1:
                filter.processHP (left, right);
                leftOnly.processHP (expectedLeft);
                rightOnly.processHP (expectedRight);
                break;

            default:
            {
                auto floatLeft = static_cast<float> (input), floatRight = 0.0f;
                filter.process (floatLeft, floatRight);
                left = static_cast<double> (floatLeft);
                right = static_cast<double> (floatRight);
                expectedLeft = static_cast<double> (static_cast<float> (input));
                leftOnly.process (expectedLeft);
                expectedLeft = static_cast<double> (static_cast<float> (expectedLeft));
                break;
            }
        }

        ASSERT_EQ (left, expectedLeft) << n;
        ASSERT_EQ (right, 0.0) << n;
    }
}
