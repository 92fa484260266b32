#pragma once

#include "VeloraFilmStrip.h"

/** A two-state switch drawn from a two-frame film strip, scaled into the whole
    button: a toggling button (the default) shows frame 1 while on and frame 0
    while off; one set not to toggle shows frame 1 while held down. Without a
    picture it draws nothing and still takes clicks. */
class Velora2StateButton : public juce::Button
{
public:
    /** A button with that component name, no picture, toggling on each click. */
    explicit Velora2StateButton (const juce::String& name);

    /** Takes a two-frame strip (or a null image). */
    void setImage (juce::Image strip);

protected:
    void paintButton (juce::Graphics& g, bool isMouseOverButton, bool isButtonDown) override;

private:
    VeloraFilmStrip filmStrip;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Velora2StateButton)
};
