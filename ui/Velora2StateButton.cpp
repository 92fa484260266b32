#include "Velora2StateButton.h"

Velora2StateButton::Velora2StateButton (const juce::String& name)
    : juce::Button (name)
{
    setClickingTogglesState (true);
}

void Velora2StateButton::setImage (juce::Image strip)
{
    filmStrip.setImage (strip, 2);
    repaint();
}

void Velora2StateButton::paintButton (juce::Graphics& g, bool, bool isButtonDown)
{
    const bool lit = getClickingTogglesState() ? getToggleState() : isButtonDown;
    filmStrip.drawFrame (g, lit ? 1 : 0, getLocalBounds());
}
