#pragma once

#include "OnePole.h"

/** What the compressor and the expander share: an envelope detector, a one-pole
    low-pass tuned by an RC time constant of a fixed 10 kOhm resistor and a
    settable capacitance, and one envelope per channel. Each half adds its law.
*/
class CompanderHalf : public ModuleBase
{
public:
    /** Capacitance the compander halves start with, 4.7e-7f farads. */
    static constexpr float defaultCapacitance = 0x1.f8a89ep-22f;

    /** 2 pi x 10000 ohms, 62831.855f. */
    static constexpr float twoPiResistance = 0x1.eadfb6p+15f;

    /** Returns the RC cutoff in Hz for a capacitance in farads. */
    static float getCutoff (float capacitance) noexcept { return 1.0f / (capacitance * twoPiResistance); }

    CompanderHalf() noexcept = default;
    ~CompanderHalf() override;

    CompanderHalf (const CompanderHalf&) = delete;
    CompanderHalf& operator= (const CompanderHalf&) = delete;

    /** Stores the rate and hands it to the detector. */
    void setSampleRate (float fs) override;

    /** Makes the detector a pass-through until the next calc(). */
    void resetCoeffs() override;

    /** Tunes the detector to the RC cutoff of the stored capacitance. */
    void calc() override;

    /** Stores the detector capacitance in farads; nothing changes until calc(). */
    void setCap (float farads) noexcept { capacitance = farads; }

protected:
    /** Sets both envelopes and clears the detector's memory. */
    void resetEnvelopes (double value) noexcept;

    OnePole detector;
    float capacitance = defaultCapacitance;
    double envelopes[2] {}; // left, right
};
