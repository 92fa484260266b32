#include "VeloraVerticalSwitch2.h"

#include <cmath>

VeloraVerticalSwitch2::VeloraVerticalSwitch2 (const juce::String& name)
    : juce::Slider (name)
{
    setSliderStyle (juce::Slider::LinearVertical);
    setTextBoxStyle (juce::Slider::NoTextBox, false, 0, 0);
    setRange (0.0, 1.0, 0.0);
}

void VeloraVerticalSwitch2::setImage (juce::Image strip, int frameCount)
{
    filmStrip.setImage (strip, frameCount);

    if (! filmStrip.isEmpty())
    {
        const int steps = filmStrip.getFrameCount() - 1;
        setRange (0.0, 1.0, steps > 0 ? 1.0 / steps : 0.0);
    }

    repaint();
}

void VeloraVerticalSwitch2::setControllableImageHeight (int height)
{
    jassert (height > 0);

    if (height > 0)
        controllableImageHeight = height;
}

void VeloraVerticalSwitch2::setValue (double newValue, juce::NotificationType notification)
{
    juce::Slider::setValue (getValueThatPlays (newValue), notification);
}

double VeloraVerticalSwitch2::getValueThatPlays (double value) const
{
    const int steps = filmStrip.getFrameCount() - 1;

    if (steps < 1)
        return std::isnan (value) ? getMinimum() : value;

    const int position = filmStrip.getFrameForProportion (getProportion (value));
    return getMinimum() + (getMaximum() - getMinimum()) * position / steps;
}

void VeloraVerticalSwitch2::paint (juce::Graphics& g)
{
    const int frame = filmStrip.getFrameForProportion (getProportion (getValue()));
    filmStrip.drawFrame (g, frame, { filmStrip.getFrameWidth(), filmStrip.getFrameHeight() });
}

double VeloraVerticalSwitch2::proportionOfLengthToValue (double proportion)
{
    return juce::Slider::proportionOfLengthToValue (getDragScale() * (1.0 - proportion));
}

double VeloraVerticalSwitch2::valueToProportionOfLength (double value)
{
    return 1.0 - juce::Slider::valueToProportionOfLength (value) / getDragScale();
}

double VeloraVerticalSwitch2::getProportion (double value) const
{
    return (value - getMinimum()) / (getMaximum() - getMinimum());
}

double VeloraVerticalSwitch2::getDragScale() const
{
    return getHeight() / controllableImageHeight;
}
