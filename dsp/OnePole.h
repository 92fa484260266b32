#pragma once

#include "DoublePair.h"
#include "ModuleBase.h"

#include <algorithm>

/** One-pole low-pass with a complementary high-pass output, y = b0 x - a1 y1.

    Serves as DC blocker (high-pass), LFO smoother (single-precision samples)
    and compander envelope detector. The float and double variants share the
    same double-precision state, as do the low-pass and high-pass outputs.
*/
class OnePole final : public ModuleBase
{
public:
    OnePole() noexcept = default;
    ~OnePole() override;

    OnePole (const OnePole&) = delete;
    OnePole& operator= (const OnePole&) = delete;

    /** Clears both channel states. */
    void resetBuffer() override;

    /** Makes the filter a pass-through low-pass (b0 = 1, a1 = 0) and forgets the cutoff. */
    void resetCoeffs() override;

    /** Stores the cutoff in Hz and computes the coefficients for the stored
        sample rate at once; call it again after a change of sample rate. */
    void setFrequency (float hz);

    /** Returns the stored cutoff in Hz. */
    float getFrequency() const noexcept { return frequency; }

    /** Low-pass of one sample in place, with the left state. */
    void process (double& x) noexcept override                  { lowPass (x); }

    /** Low-pass of a left and a right sample in place, each with its own state. */
    void process (double& left, double& right) noexcept override
    {
        processAsPair (left, right, [this] (DoublePair& pair) { lowPass (pair); });
    }

    /** Low-pass of a left/right pair in place, each lane with its own state. */
    void process (DoublePair& pair) noexcept                    { lowPass (pair); }

    /** Low-pass of a single-precision sample; the state stays in double precision. */
    void process (float& x) noexcept
    {
        auto y = static_cast<double> (x);
        lowPass (y);
        x = static_cast<float> (y);
    }

    /** Low-pass of a single-precision pair; the states stay in double precision. */
    void process (float& left, float& right) noexcept
    {
        DoublePair pair (static_cast<double> (left), static_cast<double> (right));
        lowPass (pair);
        left = static_cast<float> (pair.left());
        right = static_cast<float> (pair.right());
    }

    /** Low-pass of one sample in place, raised to at least floor, which is also
        what the filter keeps: an envelope that never decays below the floor. */
    void processAtLeast (double& x, double floor) noexcept      { lowPassAtLeast (x, floor); }

    /** The same for a left/right pair, each lane with its own state. */
    void processAtLeast (DoublePair& pair, double floor) noexcept { lowPassAtLeast (pair, floor); }

    /** High-pass of one sample in place: the input minus the new low-pass value. */
    void processHP (double& x) noexcept                         { highPass (x); }

    /** High-pass of a left and a right sample in place, each with its own state. */
    void processHP (double& left, double& right) noexcept
    {
        processAsPair (left, right, [this] (DoublePair& pair) { highPass (pair); });
    }

    /** High-pass of a left/right pair in place, each lane with its own state. */
    void processHP (DoublePair& pair) noexcept                  { highPass (pair); }

private:
    template <typename Sample>
    void lowPass (Sample& x) noexcept
    {
        const auto y = Sample (b0) * x - Sample (a1) * loadChannels<Sample> (states);
        storeChannels (states, y);
        x = y;
    }

    template <typename Sample>
    void lowPassAtLeast (Sample& x, double floor) noexcept
    {
        using std::max; // the DoublePair version comes in by argument-dependent lookup
        x = max (Sample (b0) * x - Sample (a1) * loadChannels<Sample> (states), Sample (floor));
        storeChannels (states, x);
    }

    template <typename Sample>
    void highPass (Sample& x) noexcept
    {
        auto y = x;
        lowPass (y);
        x -= y;
    }

    float frequency = 0.0f;
    double b0 = 1.0;
    double a1 = 0.0;
    double states[2] {}; // left, right
};
