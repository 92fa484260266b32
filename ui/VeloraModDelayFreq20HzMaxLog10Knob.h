#pragma once

#include "VeloraKnob.h"

/** The free rate knob: continuous, with the rate it stands for as its text,
    from "0.01 Hz" to "20.00 Hz" on a logarithmic scale (2.00 Hz in the middle). */
class VeloraModDelayFreq20HzMaxLog10Knob : public VeloraKnob
{
public:
    /** A continuous knob with that component name. */
    explicit VeloraModDelayFreq20HzMaxLog10Knob (const juce::String& name);

    /** The rate for the value with two decimals and " Hz": (81^v - 1) x 0.25 Hz,
        never shown below 0.01 Hz; values outside 0 to 1 show the end they play as. */
    juce::String getTextFromValue (double value) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VeloraModDelayFreq20HzMaxLog10Knob)
};
