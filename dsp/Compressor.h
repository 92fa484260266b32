#pragma once

#include "CompanderHalf.h"

#include <algorithm>
#include <cmath>

/** Feedback compressor: divides the signal by the smoothed magnitude of its own
    previous output, y[n] = x[n] / max (LP (|y[n-1]|), 3e-6), which settles near
    the square root of a steady input level (2:1 in decibels).
*/
class Compressor final : public CompanderHalf
{
public:
    /** Builds the detector and resets. */
    Compressor() noexcept;
    ~Compressor() override;

    /** Sets both envelopes to 1 and clears the detector. */
    void resetBuffer() override;

    /** Compresses one sample in place. */
    void process (double& x) noexcept override                  { compress (x); }

    /** Compresses a left and a right sample in place, each with its own envelope. */
    void process (double& left, double& right) noexcept override
    {
        processAsPair (left, right, [this] (DoublePair& pair) { compress (pair); });
    }

    /** Compresses a left/right pair in place, each lane with its own envelope. */
    void process (DoublePair& pair) noexcept                    { compress (pair); }

private:
    template <typename Sample>
    void compress (Sample& x) noexcept
    {
        using std::abs, std::max; // the DoublePair versions come in by argument-dependent lookup
        auto level = abs (loadChannels<Sample> (envelopes));
        detector.process (level);
        x /= max (level, Sample (envelopeFloor));
        storeChannels (envelopes, x);
    }

    /** Keeps the gain finite on silence: 3e-6f widened to double. */
    static constexpr double envelopeFloor = static_cast<double> (3.0e-6f);
};
