#pragma once

#include "DoublePair.h"
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
        inputs = {};
        outputs = {};
    }

    /** Makes the filter silent: a0 = 1, every other coefficient 0. */
    void resetCoeffs() noexcept override
    {
        a.fill (0.0);
        b.fill (0.0);
        a[0] = 1.0;
    }

    /** Filters one sample in place with the left-channel state. */
    void process (double& x) noexcept override { filter (x); }

    /** Filters a left and a right sample in place, each with its own state. */
    void process (double& l, double& r) noexcept override
    {
        processAsPair (l, r, [this] (DoublePair& pair) { filter (pair); });
    }

    /** Filters a left/right pair in place, each lane with its own state. */
    void process (DoublePair& pair) noexcept { filter (pair); }

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

    /** The last N values of one signal, most recent first, each kept as left then right. */
    using History = std::array<std::array<double, 2>, N>;

    template <typename Sample>
    void filter (Sample& x) noexcept
    {
        auto feedForward = Sample (b[N]) * loadChannels<Sample> (inputs[N - 1].data());

        for (int k = N - 1; k >= 1; --k)
            feedForward = Sample (b[k]) * loadChannels<Sample> (inputs[k - 1].data()) + feedForward;

        auto out = Sample (b[0]) * x + feedForward;

        for (int k = N; k >= 1; --k)
            out -= Sample (a[k]) * loadChannels<Sample> (outputs[k - 1].data());

        // Rounds anything below ~7.5e-37 to exactly 0, so decaying states never go denormal.
        out += Sample (-1.0e-20);
        out += Sample (1.0e-20);

        push (inputs, x);
        push (outputs, out);
        x = out;
    }

    // Shifts only the channels that Sample covers: a single-channel call leaves the right state alone.
    template <typename Sample>
    static void push (History& history, Sample newest) noexcept
    {
        for (int k = N - 1; k >= 1; --k)
            storeChannels (history[k].data(), loadChannels<Sample> (history[k - 1].data()));

        storeChannels (history[0].data(), newest);
    }

    Coefficients a {}, b {};
    History inputs {}, outputs {};
};
