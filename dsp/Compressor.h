#pragma once

#include "CompanderHalf.h"

#include <cmath>

/** Feedback compressor: divides the signal by the smoothed magnitude of its own
    previous output, y[n] = x[n] / LP (|y[n-1]|), which settles near the square
    root of a steady input level (2:1 in decibels). The smoothed magnitude never
    falls below 3e-3, in the detector's memory as well as in the divisor.
*/
class Compressor final : public CompanderHalf
{
public:
    /** The lowest smoothed magnitude, 3e-3f widened to double: where an analog
        noise floor of about -97 dBFS would hold the detector, capping the gain
        at +50.5 dB. Were the detector let decay further in exact digital
        silence, it would divide the next note's first samples by almost
        nothing and burst into the soft clip. */
    static constexpr double envelopeFloor = static_cast<double> (3.0e-3f);

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
        using std::abs; // the DoublePair version comes in by argument-dependent lookup
        auto level = abs (loadChannels<Sample> (envelopes));
        detector.processAtLeast (level, envelopeFloor);
        x /= level;
        storeChannels (envelopes, x);
    }
};
