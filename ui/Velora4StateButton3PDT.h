#pragma once

#include "Velora4StateButton.h"

/** The on/off footswitch: a four-frame strip of LED dark or lit, switch up or
    pressed. While toggling (the default) it shows frame 0 when off, 1 off and
    held down, 2 on, 3 on and held down; one set not to toggle always shows
    frame 0. Dimmed to 40 % opacity while disabled. */
class Velora4StateButton3PDT : public Velora4StateButton
{
public:
    /** A footswitch with that component name, no picture, toggling on each click. */
    explicit Velora4StateButton3PDT (const juce::String& name);

protected:
    void paintButton (juce::Graphics& g, bool isMouseOverButton, bool isButtonDown) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Velora4StateButton3PDT)
};
