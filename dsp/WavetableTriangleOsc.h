#pragma once

#include "OscBaseClass.h"

/** LFO reading a curved triangle (table 1) and its twin shifted by half a
    cycle (table 2); both outputs lie in [0, 1]. The curve rises slowly from 0
    and quickly near its top: g(t) = ln (K / (K - (K - 1) t)) / ln K.
*/
class WavetableTriangleOsc final : public OscBaseClass
{
public:
    /** K of the curve, 2.2313356f. */
    static constexpr float curvature = 0x1.1d9c68p+1f;

    /** K - 1, 1.2313356f. */
    static constexpr float curvatureMinusOne = 0x1.3b38d0p+0f;

    /** Fills both tables. */
    WavetableTriangleOsc() noexcept;
    ~WavetableTriangleOsc() override;

    /** Forgets the frequency and amplitude and goes back to the start of the tables. */
    void resetCoeffs() override;

    /** Runs one output step and returns the value of table 1. */
    float getOscSignal() noexcept override
    {
        float a;
        getOscSignal (a);
        return a;
    }

    /** Runs one output step; a = table 1. */
    void getOscSignal (float& a) noexcept
    {
        a = step (position).valueIn (table1);
    }

    /** Runs one output step; a = table 1 and b = table 2 at the same position. */
    void getOscSignal (float& a, float& b) noexcept
    {
        const auto read = step (position);
        a = read.valueIn (table1);
        b = read.valueIn (table2);
    }

    /** Returns the table position the next output step reads, in table points. */
    float getTablePosition() const noexcept { return position; }

private:
    Table table1;
    Table table2;
    float position = 0.0f;
};
