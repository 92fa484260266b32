#include "VeloraModDelaySyncKnob.h"

#include <array>

namespace
{
    const std::array<const char*, VeloraModDelaySyncKnob::numPositions> noteTexts {
        "8/1", "4/1", "2/1", "1/1", "1/2D", "1/2", "1/2T", "1/4D", "1/4", "1/4T",
        "1/8D", "1/8", "1/8T", "1/16D", "1/16", "1/16T", "1/32D", "1/32", "1/32T"
    };
}

VeloraModDelaySyncKnob::VeloraModDelaySyncKnob (const juce::String& name)
    : VeloraKnob (name)
{
    setRange (0.0, 1.0, positionStep);
}

juce::String VeloraModDelaySyncKnob::getTextFromValue (double value)
{
    return noteTexts[static_cast<size_t> (getStepThatPlays (value))];
}

double VeloraModDelaySyncKnob::getValueThatPlays (double value) const
{
    return getStepThatPlays (value) * positionStep;
}

int VeloraModDelaySyncKnob::getStepThatPlays (double value) noexcept
{
    return RateSyncSteps::getStep (static_cast<float> (value));
}
