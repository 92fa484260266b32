#include "Velora2StateKickButton.h"

Velora2StateKickButton::Velora2StateKickButton (const juce::String& name)
    : juce::Button (name)
{
    setClickingTogglesState (false);
}

void Velora2StateKickButton::setImage (juce::Image strip)
{
    image = strip;
    if (image.isValid())
    {
        frameHeight = image.getHeight() / 2;
        frameWidth = image.getWidth();
    }
    repaint();
}

void Velora2StateKickButton::paintButton (juce::Graphics& g, bool, bool isButtonDown)
{
    if (! image.isValid())
        return;

    const int frame = isButtonDown ? 1 : 0;
    g.drawImage (image, 0, 0, getWidth(), getHeight(), 0, frame * frameHeight, frameWidth, frameHeight);
}
