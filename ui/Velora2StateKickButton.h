#pragma once

#include "VeloraFilmStrip.h"

/** A momentary push button drawn from a two-frame film strip: frame 1 while it
    is held down, frame 0 otherwise, scaled into the whole button. Without a
    picture it draws nothing and is an invisible hot-spot that still takes clicks. */
class Velora2StateKickButton : public juce::Button
{
public:
    /** A button with that component name, no picture, not toggling. */
    explicit Velora2StateKickButton (const juce::String& name);

    /** Takes a two-frame strip (or a null image); may be called again at any time to swap it. */
    void setImage (juce::Image strip);

protected:
    void paintButton (juce::Graphics& g, bool isMouseOverButton, bool isButtonDown) override;

private:
    VeloraFilmStrip filmStrip;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Velora2StateKickButton)
};
