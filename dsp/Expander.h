#pragma once

#include "OnePole.h"
#include "CompanderDetector.h"

#include <cmath>

/** Feed-forward expander: multiplies the signal by the smoothed magnitude of
    its input, y[n] = x[n] LP (|x|)[n], the inverse of the compressor's law
    (1:2 in decibels).
*/
class Expander final : public ModuleBase
{
public:
    /** Builds the detector and resets. */
    Expander() noexcept;
    ~Expander() override;

    Expander (const Expander&) = delete;
    Expander& operator= (const Expander&) = delete;

    /** Stores the rate and hands it to the detector. */
    void setSampleRate (float fs) override;

    /** Clears both envelopes and the detector and restores the default capacitance. */
    void resetBuffer() override;

    /** Makes the detector a pass-through until the next calc(). */
    void resetCoeffs() override;

    /** Tunes the detector to the RC cutoff of the stored capacitance. */
    void calc() override;

    /** Stores the detector capacitance in farads; nothing changes until calc(). */
    void setCap (float farads) noexcept { capacitance = farads; }

    /** Expands one sample in place. */
    void process (double& x) noexcept override
    {
        leftEnvelope = std::abs (x);
        detector.process (leftEnvelope);
        x *= leftEnvelope;
    }

    /** Expands a left and a right sample in place, each with its own envelope. */
    void process (double& left, double& right) noexcept override
    {
        leftEnvelope = std::abs (left);
        rightEnvelope = std::abs (right);
        detector.process (leftEnvelope, rightEnvelope);
        left *= leftEnvelope;
        right *= rightEnvelope;
    }

private:
    OnePole detector;
    float capacitance = CompanderDetector::defaultCapacitance;
    double leftEnvelope = 0.0;
    double rightEnvelope = 0.0;
};
