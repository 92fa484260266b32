#include "VeloraModDelayFreq20HzMaxLog10Knob.h"

#include <cmath>

namespace
{
    constexpr double lowestShownHz = 0.009999999776482582; // 0.01 in single precision
}

VeloraModDelayFreq20HzMaxLog10Knob::VeloraModDelayFreq20HzMaxLog10Knob (const juce::String& name)
    : VeloraKnob (name)
{
}

juce::String VeloraModDelayFreq20HzMaxLog10Knob::getTextFromValue (double value)
{
    const auto limited = value >= 0.0 ? juce::jmin (value, 1.0) : 0.0;
    const auto hz = (std::pow (81.0, limited) - 1.0) * 0.0125 * 20.0;
    return juce::String (juce::jmax (hz, lowestShownHz), 2) + " Hz";
}
