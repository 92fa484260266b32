#include "Velora2StateKickButton.h"

Velora2StateKickButton::Velora2StateKickButton (const juce::String& name)
    : juce::Button (name)
{
    setClickingTogglesState (false);
}

void Velora2StateKickButton::setImage (juce::Image strip)
{
    filmStrip.setImage (strip, 2);
    repaint();
}

void Velora2StateKickButton::paintButton (juce::Graphics& g, bool, bool isButtonDown)
{
    filmStrip.drawFrame (g, isButtonDown ? 1 : 0, getLocalBounds());
}
