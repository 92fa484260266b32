#pragma once

#include "OscBaseClass.h"

/** LFO reading three raised-cosine waves a third of a cycle apart, one per
    chorus voice; all outputs lie in [0, 1]. Table 1 starts at 0 and peaks at
    half a cycle; tables 2 and 3 lead it by two thirds and one third of a cycle.
*/
class WavetableTriChorusOsc final : public OscBaseClass
{
public:
    /** Fills the three tables. */
    WavetableTriChorusOsc() noexcept;
    ~WavetableTriChorusOsc() override;

    /** Forgets the frequency and amplitude and goes back to the start of the tables. */
    void resetCoeffs() override;

    /** Returns 1 and leaves the oscillator as it is: this LFO runs only through
        the three-output form. */
    float getOscSignal() noexcept override { return 1.0f; }

    /** Runs one output step; a, b and c = tables 1, 2 and 3 at the same position. */
    void getOscSignal (float& a, float& b, float& c) noexcept
    {
        const auto read = step (position);
        a = read.valueIn (table1);
        b = read.valueIn (table2);
        c = read.valueIn (table3);
    }

    /** Returns the table position the next output step reads, in table points. */
    float getTablePosition() const noexcept { return position; }

private:
    Table table1;
    Table table2;
    Table table3;
    float position = 0.0f;
};
