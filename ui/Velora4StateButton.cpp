#include "Velora4StateButton.h"

namespace
{
    constexpr float disabledOpacity = 0.4f;
}

Velora4StateButton::Velora4StateButton (const juce::String& name)
    : juce::Button (name)
{
    setClickingTogglesState (true);
}

void Velora4StateButton::setImage (juce::Image strip)
{
    filmStrip.setImage (strip, 4);
    repaint();
}

int Velora4StateButton::getImageHeight() const
{
    return filmStrip.isEmpty() ? 0 : filmStrip.getFrameHeight();
}

int Velora4StateButton::getImageWidth() const
{
    return filmStrip.isEmpty() ? 0 : filmStrip.getFrameWidth();
}

void Velora4StateButton::paintButton (juce::Graphics& g, bool isMouseOverButton, bool isButtonDown)
{
    int frame = 0;

    if (getClickingTogglesState())
        frame = getToggleState() ? (isMouseOverButton ? 2 : 3) : (isMouseOverButton ? 1 : 0);
    else
        frame = isButtonDown ? 2 : (isMouseOverButton ? 1 : 0);

    paintFrame (g, frame);
}

void Velora4StateButton::paintFrame (juce::Graphics& g, int frame) const
{
    if (! isEnabled())
        g.setOpacity (disabledOpacity);

    filmStrip.drawFrame (g, frame, getLocalBounds());
}
