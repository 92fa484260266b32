#pragma once

#include "CommonBase.h"
#include "DoublePair.h"

#include <cstdint>

/** Gain stage whose gain glides linearly to a new target over the band length
    of the sample rate, landing exactly on the target at the last step. The
    first calc() after construction or reset() jumps straight to the target.
*/
class SmoothVolume final : public CommonBase
{
public:
    SmoothVolume() noexcept = default;
    ~SmoothVolume() override;

    SmoothVolume (const SmoothVolume&) = delete;
    SmoothVolume& operator= (const SmoothVolume&) = delete;

    /** Stores the rate and takes the ramp length from its band; a running ramp goes on. */
    void setSampleRate (float fs) override;

    /** Waits for the next calc() to jump to the target; the gain is 0 meanwhile. */
    void reset() override { resetCoeffs(); }

    /** Same as reset(). */
    void resetCoeffs() noexcept;

    /** Has no signal memory to clear. */
    void resetBuffer() noexcept {}

    /** Stores the target gain; nothing moves until calc(). */
    void setValue (float gain) noexcept { targetGain = static_cast<double> (gain); }

    /** Starts a ramp of one band length from the current gain to the target. */
    void calc() noexcept;

    /** Advances the ramp by one sample, then applies the gain to x. */
    void process (double& x) noexcept override
    {
        advanceRamp();
        x *= currentGain;
    }

    /** Advances the ramp by one sample, then applies the same gain to both samples. */
    void process (double& left, double& right) noexcept override
    {
        advanceRamp();
        left *= currentGain;
        right *= currentGain;
    }

    /** Advances the ramp by one sample, then applies the same gain to both lanes. */
    void process (DoublePair& pair) noexcept
    {
        advanceRamp();
        pair *= DoublePair (currentGain);
    }

private:
    void advanceRamp() noexcept
    {
        if (stepCounter >= rampLength)
            return;

        ++stepCounter;
        currentGain += step;

        if (stepCounter == rampLength)
            currentGain = targetGain;
    }

    double currentGain = 0.0;
    double targetGain = 0.0;
    double step = 0.0;
    std::int16_t stepCounter = 0;
    bool firstCalc = true;
    int rampLength = 2048;
    double rampLengthAsDouble = 2048.0;
};
