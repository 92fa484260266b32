#include "Velora4StateButton3PDT.h"

Velora4StateButton3PDT::Velora4StateButton3PDT (const juce::String& name)
    : Velora4StateButton (name)
{
}

void Velora4StateButton3PDT::paintButton (juce::Graphics& g, bool, bool isButtonDown)
{
    int frame = 0;

    if (getClickingTogglesState())
        frame = (getToggleState() ? 2 : 0) + (isButtonDown ? 1 : 0);

    paintFrame (g, frame);
}
