#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A picture of equal frames stacked from top to bottom, from which every
    control of the kit draws one frame. A frame is as wide as the picture and as
    tall as the picture's height divided by the frame count; rows left over at
    the bottom are never shown. Without a picture there are no frames and
    nothing is drawn. */
class VeloraFilmStrip
{
public:
    /** Takes a picture of that many frames (a count below 1 is taken as 1), or a
        null picture, which leaves the strip without frames. */
    void setImage (juce::Image strip, int frameCount);

    /** True when there is no picture to draw from. */
    bool isEmpty() const noexcept            { return frameCount == 0; }

    int getFrameCount() const noexcept       { return frameCount; }
    int getFrameWidth() const noexcept       { return frameWidth; }
    int getFrameHeight() const noexcept      { return frameHeight; }

    /** The frame that a position along a control's range shows: the proportion
        (0 at the minimum, 1 at the maximum) times the last frame's index, rounded
        up. It is taken in single precision, as the engine takes the chorus type
        (ceil (2 v)), so a three-frame switch always shows the model that plays.
        Proportions outside 0 to 1 show the end frames, and not-a-number frame 0. */
    int getFrameForProportion (double proportion) const noexcept;

    /** Draws one frame scaled into the destination; draws nothing without a
        picture or for a frame index outside the strip. */
    void drawFrame (juce::Graphics& g, int frame, juce::Rectangle<int> destination) const;

private:
    juce::Image image;
    int frameCount = 0;
    int frameWidth = 0;
    int frameHeight = 0;
};
