#pragma once

#include "OnePole.h"
#include "CompanderDetector.h"

#include <algorithm>
#include <cmath>

/** Feedback compressor: divides the signal by the smoothed magnitude of its own
    previous output, y[n] = x[n] / max (LP (|y[n-1]|), 3e-6), which settles near
    the square root of a steady input level (2:1 in decibels).
*/
class Compressor final : public ModuleBase
{
public:
    /** Builds the detector and resets. */
    Compressor() noexcept;
    ~Compressor() override;

    Compressor (const Compressor&) = delete;
    Compressor& operator= (const Compressor&) = delete;

    /** Stores the rate and hands it to the detector. */
    void setSampleRate (float fs) override;

    /** Sets both envelopes to 1 and clears the detector. */
    void resetBuffer() override;

    /** Makes the detector a pass-through until the next calc(). */
    void resetCoeffs() override;

    /** Tunes the detector to the RC cutoff of the stored capacitance. */
    void calc() override;

    /** Stores the detector capacitance in farads; nothing changes until calc(). */
    void setCap (float farads) noexcept { capacitance = farads; }

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

    OnePole detector;
    float capacitance = CompanderDetector::defaultCapacitance;
    double envelopes[2] { 1.0, 1.0 }; // left, right: the previous outputs
};
