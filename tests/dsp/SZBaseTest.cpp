#include "SZBase1s.h"
#include "SZBase2s.h"
#include "SZBase4s.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

TEST (SZBaseTest, FactorialsAndBilinearTermsMatchTheWorkedForms)
{
    const std::vector<std::pair<int, double>> factorials { { 0, 1.0 }, { 1, 1.0 }, { 2, 2.0 }, { 4, 24.0 }, { 6, 720.0 } };

    for (const auto& [k, expected] : factorials)
        EXPECT_EQ (SZBase::f (k), expected) << k << "!";

    // With fs = 1, K = 2 fs = 2: c0 + c1 K + c2 K^2, 2 c0 - 2 c2 K^2, c0 - c1 K + c2 K^2, ...
    const double poly[] = { 3.0, 5.0, 7.0 };

    struct Case { int order; int n; double expected; };
    const std::vector<Case> cases {
        { 2, 0, 41.0 }, { 2, 1, -50.0 }, { 2, 2, 21.0 },
        { 1, 0, 13.0 }, { 1, 1, -7.0 },
        { 0, 0, 3.0 },
        { -1, 0, 0.0 },
    };

    for (const auto& c : cases)
        EXPECT_EQ (SZBase::s_to_z (poly, c.order, c.n, 1.0), c.expected) << "order " << c.order << ", n " << c.n;
}

TEST (SZBaseTest, DifferentiatorAt44100)
{
    SZBase1s filter;
    const double den[] = { 1.0, 0.0 };
    const double num[] = { 0.0, 1.0 };
    filter.setCoeffs (den, num);

    EXPECT_EQ (filter.getA (0), 1.0);
    EXPECT_EQ (filter.getA (1), 1.0);
    EXPECT_EQ (filter.getB (0), 88200.0);
    EXPECT_EQ (filter.getB (1), -88200.0);
}

/** Runs each case for orders 1, 2 and 4. At 32768 Hz, K = 2 fs is a power of two,
    so the polynomials built from (K + s) and (K - s) transform without rounding. */
template <typename Filter>
class SZBaseOrderTest : public ::testing::Test
{
protected:
    static constexpr int N = Filter::order;
    static constexpr double K = 65536.0;
    using Poly = std::array<double, N + 1>;

    SZBaseOrderTest() { filter.setSampleRate (32768.0f); }

    /** Returns p (c0 + c1 s), dropping any power above N. */
    static Poly times (Poly p, double c0, double c1)
    {
        for (int j = N; j > 0; --j)
            p[j] = c0 * p[j] + c1 * p[j - 1];

        p[0] *= c0;
        return p;
    }

    /** (K + s)^(N - d) (K - s)^d, whose transform is (2K)^N z^-d. */
    static Poly delayed (int d)
    {
        Poly p { 1.0 };

        for (int factor = 0; factor < N; ++factor)
            p = times (p, K, factor < d ? -1.0 : 1.0);

        return p;
    }

    /** (1 + tau s)^N: N real poles at -1 / tau. */
    static Poly realPoles (double tau)
    {
        Poly p { 1.0 };

        for (int factor = 0; factor < N; ++factor)
            p = times (p, 1.0, tau);

        return p;
    }

    /** A denominator giving y = x + y[n - N]. */
    static Poly comb()
    {
        auto c = delayed (0);
        const auto d = delayed (N);

        for (int j = 0; j <= N; ++j)
            c[j] -= d[j];

        return c;
    }

    void setCoeffs (const Poly& den, const Poly& num) { filter.setCoeffs (den.data(), num.data()); }

    /** Gives target, at 44100 Hz, poles inside the unit circle and a non-trivial numerator. */
    static void setGenericCoeffs (Filter& target)
    {
        target.setSampleRate (44100.0f);
        const auto den = realPoles (4.0e-5);
        Poly num {};

        for (int j = 0; j <= N; ++j)
            num[j] = std::pow (3.0e-5, j) * (j % 2 == 0 ? 1.0 : -2.0);

        target.setCoeffs (den.data(), num.data());
    }

    Filter filter;
};

struct OrderName
{
    template <typename Filter>
    static std::string GetName (int) { return "Order" + std::to_string (Filter::order); }
};

using Orders = ::testing::Types<SZBase1s, SZBase2s, SZBase4s>;
TYPED_TEST_SUITE (SZBaseOrderTest, Orders, OrderName);

TYPED_TEST (SZBaseOrderTest, SilentBeforeSetCoeffsAndAfterReset)
{
    auto expectSilence = [this]
    {
        for (double x : { 1.0, -0.5, 0.25, 3.0 })
        {
            double l = x, r = -x, mono = x;
            this->filter.process (l, r);
            this->filter.process (mono);
            EXPECT_EQ (l, 0.0);
            EXPECT_EQ (r, 0.0);
            EXPECT_EQ (mono, 0.0);
        }
    };

    expectSilence();

    this->setGenericCoeffs (this->filter);
    double x = 1.0;
    this->filter.process (x);
    ASSERT_NE (x, 0.0);

    this->filter.reset();
    EXPECT_EQ (this->filter.getA (0), 1.0);
    expectSilence();
}

TYPED_TEST (SZBaseOrderTest, NumeratorEqualToDenominatorPassesSamplesThrough)
{
    this->filter.setSampleRate (44100.0f);
    const auto den = this->realPoles (5.0e-5);
    this->setCoeffs (den, den);

    EXPECT_EQ (this->filter.getB (0), 1.0);

    for (int k = 1; k <= TestFixture::N; ++k)
        EXPECT_EQ (this->filter.getB (k), this->filter.getA (k)) << "k = " << k;

    for (int n = 0; n < 200; ++n)
    {
        const double in = std::sin (0.3 * n) + 0.1;
        double out = in;
        this->filter.process (out);
        EXPECT_NEAR (out, in, 1.0e-12) << "sample " << n;
    }
}

TYPED_TEST (SZBaseOrderTest, PureDelaysShiftTheInputHistoryInOrder)
{
    constexpr int order = TestFixture::N;

    for (int d = 0; d <= order; ++d)
    {
        this->filter.reset();
        this->setCoeffs (this->delayed (0), this->delayed (d));

        EXPECT_EQ (this->filter.getA (0), std::pow (2.0 * TestFixture::K, order));

        for (int k = 0; k <= order; ++k)
            EXPECT_EQ (this->filter.getB (k), k == d ? 1.0 : 0.0) << "d = " << d << ", k = " << k;

        for (int k = 1; k <= order; ++k)
            EXPECT_EQ (this->filter.getA (k), 0.0) << "d = " << d << ", k = " << k;

        for (int n = 0; n < 12; ++n)
        {
            double x = n + 1.0;
            this->filter.process (x);
            EXPECT_EQ (x, n >= d ? n - d + 1.0 : 0.0) << "d = " << d << ", sample " << n;
        }
    }
}

TYPED_TEST (SZBaseOrderTest, GuardFlushesTinyResultsToExactlyZero)
{
    const auto passThrough = this->delayed (0);
    this->setCoeffs (passThrough, passThrough);

    for (double tiny : { 1.0e-40, -1.0e-40, 5.0e-37 })
    {
        double x = tiny;
        this->filter.process (x);
        EXPECT_EQ (x, 0.0) << tiny;
    }

    // Larger values are only rounded to the spacing of doubles near 1e-20 (2^-119).
    double x = 1.0e-35;
    this->filter.process (x);
    EXPECT_NE (x, 0.0);
    EXPECT_LE (std::abs (x - 1.0e-35), std::ldexp (1.0, -120));
}

TYPED_TEST (SZBaseOrderTest, LeftAndRightChannelsKeepSeparateStates)
{
    this->setGenericCoeffs (this->filter);
    TypeParam mono;
    this->setGenericCoeffs (mono);

    for (int n = 0; n < 64; ++n)
    {
        double l = n == 0 ? 1.0 : 0.0, r = 0.0, m = l;
        this->filter.process (l, r);
        mono.process (m);
        EXPECT_EQ (r, 0.0) << "sample " << n;
        EXPECT_EQ (l, m) << "sample " << n;
    }
}

TYPED_TEST (SZBaseOrderTest, SetCoeffsKeepsBothHistories)
{
    constexpr int order = TestFixture::N;
    const auto passThrough = this->delayed (0);
    this->setCoeffs (passThrough, passThrough);

    std::vector<double> played;

    for (int n = 0; n < order; ++n)
    {
        double x = 10.0 * (n + 1);
        played.push_back (x);
        this->filter.process (x);
    }

    // A pure delay of the full order now outputs the oldest remembered input...
    this->setCoeffs (passThrough, this->delayed (order));
    double x = 1.0;
    this->filter.process (x);
    EXPECT_EQ (x, played.front());

    // ...and y = x + y[n - order] adds the oldest remembered output.
    this->setCoeffs (this->comb(), passThrough);
    EXPECT_EQ (this->filter.getA (order), -1.0);
    x = 0.5;
    this->filter.process (x);
    EXPECT_EQ (x, 0.5 + (order == 1 ? played.front() : played[1]));
}
