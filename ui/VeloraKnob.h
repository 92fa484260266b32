#pragma once

#include "VeloraFilmStrip.h"

/** A rotary control drawn from a film strip of knob pointer frames: a
    continuous slider from 0 to 1, dragged up and down, that draws the frame its
    value picks scaled into the whole control, and no text box. */
class VeloraKnob : public juce::Slider
{
public:
    /** A continuous knob from 0 to 1 with that component name, no picture and no text box. */
    explicit VeloraKnob (const juce::String& name);

    /** Takes a strip of frameCount pointer positions (or a null picture, after
        which the knob draws nothing). The range is not changed. */
    void setImage (juce::Image strip, int frameCount);

    /** Shows a value set from outside, such as a host's, at getValueThatPlays.
        This hides juce::Slider::setValue, so call it through this class; drags,
        clicks and the double-click value go the slider's own way. */
    void setValue (double newValue, juce::NotificationType notification = juce::sendNotificationAsync);

    /** The knob's value for a value from outside: the value itself, or the
        minimum for not-a-number, which the engine plays as 0 (a knob holding
        not-a-number could not be dragged back). A knob whose engine rounds to
        steps shows the step that plays. */
    virtual double getValueThatPlays (double value) const;

    void paint (juce::Graphics& g) override;

private:
    VeloraFilmStrip filmStrip;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VeloraKnob)
};
