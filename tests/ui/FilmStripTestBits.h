#pragma once

#include "../MessagePump.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

#include <cstdlib>

/** Small synthetic film strips whose frames each have a colour of their own, so
    that a rendered control tells which frame it drew, and the snapshots that
    render controls headless. */
namespace FilmStripTestBits
{
    constexpr int noFrame = -1;      // nothing drawn
    constexpr int foreignColour = -2; // drawn, but no frame's colour

    constexpr int maxFrames = 121;

    /** The colour of frame i (up to maxFrames), opaque and far from any other frame's. */
    inline juce::Colour getFrameColour (int frame)
    {
        return juce::Colour::fromRGB ((juce::uint8) (frame % 11 * 23), (juce::uint8) (frame / 11 * 23), 90);
    }

    /** Rows below the last whole frame, which a control must never show. */
    inline juce::Colour getLeftoverColour()     { return juce::Colours::magenta; }

    /** A strip of that many frames of width x frameHeight, each filled with its
        colour, with leftoverRows rows more at the bottom. */
    inline juce::Image makeStrip (int frames, int width, int frameHeight, int leftoverRows = 0)
    {
        juce::Image strip (juce::Image::ARGB, width, frames * frameHeight + leftoverRows, true);
        juce::Graphics g (strip);

        for (int frame = 0; frame < frames; ++frame)
        {
            g.setColour (getFrameColour (frame));
            g.fillRect (0, frame * frameHeight, width, frameHeight);
        }

        g.setColour (getLeftoverColour());
        g.fillRect (0, frames * frameHeight, width, leftoverRows);
        return strip;
    }

    inline juce::Image render (juce::Component& component)
    {
        return component.createComponentSnapshot (component.getLocalBounds(), true, 1.0f);
    }

    /** The frame whose colour a rendered picture shows at a point, or noFrame /
        foreignColour. Only the colour counts, not its opacity (within the
        rounding of a pixel drawn translucent). */
    inline int getFrameAt (const juce::Image& rendered, juce::Point<int> point)
    {
        const auto pixel = rendered.getPixelAt (point.x, point.y);

        if (pixel.getAlpha() == 0)
            return noFrame;

        const auto near = [] (juce::uint8 a, juce::uint8 b) { return std::abs ((int) a - (int) b) <= 6; };

        for (int frame = 0; frame < maxFrames; ++frame)
        {
            const auto colour = getFrameColour (frame);

            if (near (pixel.getRed(), colour.getRed()) && near (pixel.getGreen(), colour.getGreen())
                && near (pixel.getBlue(), colour.getBlue()))
                return frame;
        }

        return foreignColour;
    }

    /** The frame a control shows: the same frame colour in its top row, its
        centre and its bottom row (of the frame area), else foreignColour. */
    inline int getShownFrame (juce::Component& component, juce::Rectangle<int> frameArea)
    {
        const auto rendered = render (component);
        const int top = getFrameAt (rendered, { frameArea.getCentreX(), frameArea.getY() });
        const int centre = getFrameAt (rendered, frameArea.getCentre());
        const int bottom = getFrameAt (rendered, { frameArea.getCentreX(), frameArea.getBottom() - 1 });
        return top == centre && centre == bottom ? centre : foreignColour;
    }

    inline int getShownFrame (juce::Component& component)
    {
        return getShownFrame (component, component.getLocalBounds());
    }

    /** The opacity at a control's centre, 0 to 255. */
    inline int getAlphaAtCentre (juce::Component& component)
    {
        const auto centre = component.getLocalBounds().getCentre();
        return render (component).getPixelAt (centre.x, centre.y).getAlpha();
    }

    /** Writes a control as it draws itself to the snapshot folder, as name.png, to look at. */
    inline void saveSnapshot (juce::Component& component, const juce::String& name)
    {
        const juce::File folder (MODULIX_SNAPSHOT_DIR);
        folder.createDirectory(); // other test processes may be making it at the same moment
        ASSERT_TRUE (folder.isDirectory());

        const auto file = folder.getChildFile (name + ".png");
        file.deleteFile();
        juce::FileOutputStream stream (file);
        ASSERT_TRUE (stream.openedOk());

        juce::PNGImageFormat png;
        ASSERT_TRUE (png.writeImageToStream (render (component), stream)) << name;
    }

    /** Decodes one embedded picture. */
    inline juce::Image loadPicture (const char* data, int size)
    {
        return juce::ImageFileFormat::loadFrom (data, (size_t) size);
    }

    /** Fixture with JUCE's message manager and desktop, which components need. */
    class UiTest : public ::testing::Test
    {
    protected:
        juce::ScopedJuceInitialiser_GUI juceInitialiser;
    };
}
