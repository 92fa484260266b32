#include "VeloraKnob.h"

#include <cmath>

VeloraKnob::VeloraKnob (const juce::String& name)
    : juce::Slider (name)
{
    setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
    setRange (0.0, 1.0, 0.0);
    setSliderStyle (juce::Slider::RotaryVerticalDrag);
}

void VeloraKnob::setImage (juce::Image strip, int frameCount)
{
    filmStrip.setImage (strip, frameCount);
    repaint();
}

void VeloraKnob::setValue (double newValue, juce::NotificationType notification)
{
    juce::Slider::setValue (getValueThatPlays (newValue), notification);
}

double VeloraKnob::getValueThatPlays (double value) const
{
    return std::isnan (value) ? getMinimum() : value;
}

void VeloraKnob::paint (juce::Graphics& g)
{
    const auto proportion = (getValue() - getMinimum()) / (getMaximum() - getMinimum());
    filmStrip.drawFrame (g, filmStrip.getFrameForProportion (proportion), getLocalBounds());
}
