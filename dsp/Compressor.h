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
    void process (double& x) noexcept override
    {
        auto e = std::abs (leftEnvelope);
        detector.process (e);
        divide (x, e, leftEnvelope);
    }

    /** Compresses a left and a right sample in place, each with its own envelope. */
    void process (double& left, double& right) noexcept override
    {
        auto leftLevel = std::abs (leftEnvelope);
        auto rightLevel = std::abs (rightEnvelope);
        detector.process (leftLevel, rightLevel);
        divide (left, leftLevel, leftEnvelope);
        divide (right, rightLevel, rightEnvelope);
    }

private:
    static void divide (double& x, double level, double& envelope) noexcept
    {
        x /= std::max (level, envelopeFloor);
        envelope = x;
    }

    /** Keeps the gain finite on silence: 3e-6f widened to double. */
    static constexpr double envelopeFloor = static_cast<double> (3.0e-6f);

    OnePole detector;
    float capacitance = CompanderDetector::defaultCapacitance;
    double leftEnvelope = 1.0;
    double rightEnvelope = 1.0;
};
