#pragma once

#include "VeloraFilmStrip.h"

/** A button drawn from a four-frame film strip, scaled into the whole button and
    dimmed to 40 % opacity while disabled. A toggling button (the default) shows,
    while off, frame 1 with the mouse over it and frame 0 without; while on,
    frame 2 with the mouse over it and frame 3 without. One set not to toggle
    shows frame 2 while held down, else frame 1 with the mouse over it, else
    frame 0. Without a picture it draws nothing and still takes clicks. */
class Velora4StateButton : public juce::Button
{
public:
    /** A button with that component name, no picture, toggling on each click. */
    explicit Velora4StateButton (const juce::String& name);

    /** Takes a four-frame strip (or a null image). */
    void setImage (juce::Image strip);

    /** The height of one frame (the picture's height / 4); 0 without a picture. */
    virtual int getImageHeight() const;

    /** The picture's width; 0 without a picture. */
    virtual int getImageWidth() const;

protected:
    void paintButton (juce::Graphics& g, bool isMouseOverButton, bool isButtonDown) override;

    /** Draws a frame into the whole button, dimmed while the button is disabled. */
    void paintFrame (juce::Graphics& g, int frame) const;

private:
    VeloraFilmStrip filmStrip;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Velora4StateButton)
};
