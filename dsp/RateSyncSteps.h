#pragma once

/** The nineteen steps of the tempo-synced rate, from "8/1" (step 0) to "1/32T"
    (step 18), and the one rule that picks the step of a normalised rate-sync
    value. The sound, the sync knob's frame and note text and the stored bank
    all take their step from getStep, so they never name different steps.

    Step k stands for the value k/18 and takes the values above the one before
    it, up to its own. Hosts that keep a parameter as text with a few
    significant digits hand k/18 back a hair above it (0.166667 for 3/18), so
    the steps end a small tolerance above k/18 rather than at k/18 itself. */
class RateSyncSteps final
{
public:
    static constexpr int numSteps = 19;
    static constexpr int lastStep = numSteps - 1;

    /** How far above k/18 a value still selects step k: more than rounding to
        four significant digits adds (at most 5e-5) and a float's rounding with
        it, yet a small fraction of a step's width of 1/18, so values a knob or
        automation puts inside a step stay in it. */
    static constexpr float nominalTolerance = 1.0e-4f;

    /** The step, 0 to 18, that a value selects. The value is limited to 0 to 1
        (not-a-number as 0); then the first k whose bound k/18 + nominalTolerance,
        in single precision, is not below it, else step 18. */
    static int getStep (float value) noexcept;
};
