#pragma once

#include "VeloraFilmStrip.h"

/** A multi-position lever switch drawn from a film strip with one frame per
    position: a vertical slider from 0 (the top position, frame 0) to 1 (the
    bottom one), whose value steps from position to position. The frame is
    drawn at its own size at the top-left corner. The top of the control is the
    first position and dragging down raises the value; the whole range lies
    within the upper "controllable image height" pixels of the control. */
class VeloraVerticalSwitch2 : public juce::Slider
{
public:
    /** A continuous vertical switch from 0 to 1 with that component name, no
        picture and no text box. */
    explicit VeloraVerticalSwitch2 (const juce::String& name);

    /** Takes a strip of frameCount positions, which become the value's steps
        (interval 1 / (frameCount - 1); a single frame leaves the range
        continuous), or a null picture, after which the switch draws nothing. */
    void setImage (juce::Image strip, int frameCount);

    /** The height in pixels, from the top, over which a drag covers the whole range. */
    void setControllableImageHeight (int height);

    /** Shows a value set from outside, such as a host's, at the position that
        plays it: rounded up to the next position, as the frame is chosen and as
        the engine picks the chorus type (ceil (2 v)), where the slider itself would
        take the nearest one; not-a-number shows the first position. This hides
        juce::Slider::setValue, so call it through this class. Drags, clicks and
        the interval still give the slider's own positions. */
    void setValue (double newValue, juce::NotificationType notification = juce::sendNotificationAsync);

    /** The value a value set from outside is shown at (see setValue). */
    double getValueThatPlays (double value) const;

    void paint (juce::Graphics& g) override;
    double proportionOfLengthToValue (double proportion) override;
    double valueToProportionOfLength (double value) override;

private:
    double getProportion (double value) const;
    double getDragScale() const;

    VeloraFilmStrip filmStrip;
    double controllableImageHeight = 1.0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VeloraVerticalSwitch2)
};
