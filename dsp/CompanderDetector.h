#pragma once

/** The compander halves smooth their envelope with an RC low-pass made of a
    fixed 10 kOhm resistor and a settable capacitance. */
namespace CompanderDetector
{
    /** Capacitance the compander halves start with, 4.7e-7f farads. */
    constexpr float defaultCapacitance = 0x1.f8a89ep-22f;

    /** 2 pi x 10000 ohms, 62831.855f. */
    constexpr float twoPiResistance = 0x1.eadfb6p+15f;

    /** Returns the RC cutoff in Hz for a capacitance in farads. */
    inline float getCutoff (float capacitance) noexcept
    {
        return 1.0f / (capacitance * twoPiResistance);
    }
}
