#pragma once

#include "RateSyncSteps.h"
#include "VeloraKnob.h"

/** The tempo-synced rate knob: 19 positions, from "8/1" to "1/32T", at k times
    a step of 1/18.1 in single precision. Its frame and its note text always show
    the note value that the engine plays: a value from outside is shown at the
    position of the step that the engine takes for it (RateSyncSteps), not at
    the nearest position. */
class VeloraModDelaySyncKnob : public VeloraKnob
{
public:
    static constexpr int numPositions = RateSyncSteps::numSteps;

    /** The distance between positions: 1/18.1 in single precision, widened. */
    static constexpr double positionStep = 0.05524861812591553;

    /** A knob with that component name whose value steps through the 19 positions. */
    explicit VeloraModDelaySyncKnob (const juce::String& name);

    /** The note text of the step that plays for the value ("8/1" ... "1/32T"). */
    juce::String getTextFromValue (double value) override;

    /** The position of the step that plays for a value from outside. */
    double getValueThatPlays (double value) const override;

    /** The step (0 to 18) the engine plays for a value, which reaches it in
        single precision. */
    static int getStepThatPlays (double value) noexcept;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VeloraModDelaySyncKnob)
};
