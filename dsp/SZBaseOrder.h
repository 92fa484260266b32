#pragma once

#include "SZBase.h"

#include <array>

/** The coefficients, states and direct-form-I processing shared by the
    bilinear-transform filters of order N (SZBase1s, SZBase2s, SZBase4s).

    Coefficients are kept divided by a0, except a0 itself. Until setCoeffs()
    runs, and after reset(), the filter outputs silence.
*/
template <int N>
class SZBaseOrder : public SZBase
{
public:
    static_assert (N >= 1, "a filter needs at least one pole");

    /** The filter's order: the number of poles and of samples each state remembers. */
    static constexpr int order = N;

    /** Creates a silent filter with cleared states. */
    SZBaseOrder() noexcept { resetCoeffs(); }

    /** Clears the states of both channels. */
    void resetBuffer() noexcept override
    {
        left = {};
        right = {};
    }

    /** Makes the filter silent: a0 = 1, every other coefficient 0. */
    void resetCoeffs() noexcept override
    {
        a.fill (0.0);
        b.fill (0.0);
        a[0] = 1.0;
    }

    /** Filters one sample in place with the left-channel state. */
    void process (double& x) noexcept override { x = left.filter (a, b, x); }

    /** Filters a left and a right sample in place, each with its own state. */
    void process (double& l, double& r) noexcept override
    {
        l = left.filter (a, b, l);
        r = right.filter (a, b, r);
    }

    /** Does nothing. */
    void preCalc() noexcept override {}

    void setCoeffs (const double* den, const double* num) noexcept override
    {
        const auto fs = static_cast<double> (sampleRate);

        a[0] = s_to_z (den, N, 0, fs);

        for (int k = 1; k <= N; ++k)
            a[k] = s_to_z (den, N, k, fs) / a[0];

        for (int k = 0; k <= N; ++k)
            b[k] = s_to_z (num, N, k, fs) / a[0];
    }

    /** Returns a0 for k = 0, else the feedback coefficient ak (divided by a0). */
    double getA (int k) const noexcept { return a[k]; }

    /** Returns the feed-forward coefficient bk (divided by a0). */
    double getB (int k) const noexcept { return b[k]; }

private:
    using Coefficients = std::array<double, N + 1>;

    struct Channel
    {
        std::array<double, N> x {}; // last inputs, most recent first
        std::array<double, N> y {}; // last outputs, most recent first

        double filter (const Coefficients& fa, const Coefficients& fb, double in) noexcept
        {
            double feedForward = fb[N] * x[N - 1];

            for (int k = N - 1; k >= 1; --k)
                feedForward = fb[k] * x[k - 1] + feedForward;

            double out = fb[0] * in + feedForward;

            for (int k = N; k >= 1; --k)
                out -= fa[k] * y[k - 1];

            // Rounds anything below ~7.5e-37 to exactly 0, so decaying states never go denormal.
            out += -1.0e-20;
            out += 1.0e-20;

            push (x, in);
            push (y, out);
            return out;
        }

        static void push (std::array<double, N>& history, double newest) noexcept
        {
            for (int k = N - 1; k >= 1; --k)
                history[k] = history[k - 1];

            history[0] = newest;
        }
    };

    Coefficients a {}, b {};
    Channel left, right;
};
