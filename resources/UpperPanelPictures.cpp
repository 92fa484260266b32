// The upper deck group: the preset bar's keys, the A/B slide switch, the copy
// key and the two latching keys with their LEDs.

#include "PictureArt.h"

namespace art
{
namespace
{
const char* const upper = "ModulixModulationUpperPanelBinImg";

const juce::Colour keyPrint { 0xffe8ebef };
const juce::Colour keyPrintPressed { 0xffc9ced5 };

juce::Colour printFor (bool pressed)
{
    return pressed ? keyPrintPressed : keyPrint;
}

void addKey (std::vector<Picture>& pictures, const char* name, int width, int height,
             std::function<void (juce::Graphics&, juce::Rectangle<float> top, bool pressed)> legend)
{
    pictures.push_back ({ upper, name, width, height, 2,
                          [legend] (juce::Graphics& g, juce::Rectangle<float> frame, int index)
                          {
                              const auto pressed = index == 1;
                              drawKey (g, frame.reduced (1.0f), 3.5f, pressed,
                                       [&] (juce::Rectangle<float> top) { legend (g, top, pressed); });
                          } });
}

juce::Path triangle (juce::Point<float> centre, float width, float height, bool pointsRight)
{
    const auto tipX = centre.x + (pointsRight ? width : -width) * 0.5f;
    const auto backX = centre.x + (pointsRight ? -width : width) * 0.5f;
    juce::Path p;
    p.addTriangle (tipX, centre.y, backX, centre.y - height * 0.5f, backX, centre.y + height * 0.5f);
    return p;
}

/** Key legends are printed over a dark shadow that lifts them off the cap. */
constexpr float legendShadow = 0.7f;

void drawFileLegend (juce::Graphics& g, juce::Rectangle<float> top, bool pressed)
{
    const auto f = font (Face::condensedBold, 13.0f, 0.14f);
    auto text = textPathIn ("FILE", f, top.withTrimmedRight (10.0f), juce::Justification::centred);
    // A small down-pointing mark: the key opens a menu.
    const auto mark = top.getCentre().translated (17.0f, 0.0f);
    text.addTriangle (mark.x - 3.5f, mark.y - 1.8f, mark.x + 3.5f, mark.y - 1.8f, mark.x, mark.y + 2.4f);
    fillWithShadow (g, text, printFor (pressed), legendShadow);
}

void drawArrowLegend (juce::Graphics& g, juce::Rectangle<float> top, bool pressed, bool right)
{
    fillWithShadow (g, triangle (top.getCentre(), 7.0f, 10.0f, right).createPathWithRoundedCorners (1.0f),
                    printFor (pressed), legendShadow);
}

void drawCopyLegend (juce::Graphics& g, juce::Rectangle<float> top, bool pressed, const char* from, const char* to)
{
    const auto f = font (Face::condensedBold, 14.0f);
    const auto middle = top.getCentre();
    auto print = textPathIn (from, f, top.withWidth (top.getWidth() * 0.32f), juce::Justification::centred);
    print.addPath (textPathIn (to, f, top.withTrimmedLeft (top.getWidth() * 0.68f), juce::Justification::centred));
    print.addRectangle (middle.x - 8.0f, middle.y - 1.1f, 10.0f, 2.2f);
    print.addPath (triangle (middle.translated (4.5f, 0.0f), 6.5f, 8.0f, true));
    fillWithShadow (g, print, printFor (pressed), legendShadow);
}

void addLatchingKey (std::vector<Picture>& pictures, const char* name, const char* label)
{
    pictures.push_back ({ upper, name, 54, 44, 2,
                          [label] (juce::Graphics& g, juce::Rectangle<float> frame, int index)
                          {
                              const auto on = index == 1;
                              drawKey (g, frame.reduced (1.0f), 3.5f, on,
                                       [&] (juce::Rectangle<float> top)
                                       {
                                           drawLed (g, { top.getX() + 8.5f, top.getCentreY() }, 3.0f,
                                                    colours::amberLed, on, 9.0f);
                                           const auto area = top.withTrimmedLeft (14.5f).withTrimmedRight (4.0f);
                                           const auto f = fittedFont (Face::condensedBold, 12.0f, label,
                                                                      area.getWidth(), 0.06f);
                                           fillWithShadow (g, textPathIn (label, f, area, juce::Justification::centred),
                                                           on ? colours::ink : keyPrint, legendShadow);
                                       });
                          } });
}

//==============================================================================
// The A/B slide switch: a slot with a ribbed slider, the chosen letter lit.

void drawSlideSwitch (juce::Graphics& g, juce::Rectangle<float> frame, bool atB)
{
    juce::Path plate;
    plate.addRoundedRectangle (frame.reduced (0.5f), 4.0f);
    g.setGradientFill (juce::ColourGradient::vertical (juce::Colour (0xff17191c), frame.getY(),
                                                       juce::Colour (0xff262a2f), frame.getBottom()));
    g.fillPath (plate);
    innerShadow (g, plate, juce::Colours::black.withAlpha (0.7f), 2, { 0, 1 });

    const auto f = font (Face::condensedBold, 14.0f);
    const auto letter = [&] (const char* text, juce::Rectangle<float> area, bool chosen)
    {
        const auto path = textPathIn (text, f, area, juce::Justification::centred);
        if (chosen)
        {
            juce::Path glow (path);
            dropShadow (g, glow, colours::amberLed.withAlpha (0.9f), 4, {});
        }
        g.setColour (chosen ? colours::amberLed.interpolatedWith (juce::Colours::white, 0.35f)
                            : juce::Colour (0xff6f767f));
        g.fillPath (path);
    };
    letter ("A", frame.withWidth (14.0f), ! atB);
    letter ("B", frame.withTrimmedLeft (frame.getWidth() - 14.0f), atB);

    const auto slotArea = juce::Rectangle<float> (15.0f, frame.getCentreY() - 4.0f, 32.0f, 8.0f);
    juce::Path slot;
    slot.addRoundedRectangle (slotArea, 3.0f);
    g.setColour (juce::Colour (0xff050506));
    g.fillPath (slot);
    innerShadow (g, slot, juce::Colours::black, 2, { 0, 1 });

    const auto thumbArea = juce::Rectangle<float> (atB ? 32.0f : 15.0f, 2.5f, 15.0f, frame.getHeight() - 5.0f);
    juce::Path thumb;
    thumb.addRoundedRectangle (thumbArea, 2.5f);
    dropShadow (g, thumb, juce::Colours::black.withAlpha (0.8f), 3, { 1, 2 });
    juce::ColourGradient steel (juce::Colour (0xffeef1f4), thumbArea.getTopLeft(), juce::Colour (0xff5b6068),
                                thumbArea.getBottomRight(), false);
    steel.addColour (0.5, juce::Colour (0xffaab0b8));
    g.setGradientFill (steel);
    g.fillPath (thumb);
    for (int i = 0; i < 4; ++i)
    {
        const auto x = thumbArea.getX() + 4.0f + (float) i * 2.4f;
        g.setColour (juce::Colours::black.withAlpha (0.45f));
        g.fillRect (x, thumbArea.getY() + 3.5f, 1.0f, thumbArea.getHeight() - 7.0f);
        g.setColour (juce::Colours::white.withAlpha (0.6f));
        g.fillRect (x + 1.0f, thumbArea.getY() + 3.5f, 0.8f, thumbArea.getHeight() - 7.0f);
    }
    g.setColour (juce::Colours::black.withAlpha (0.7f));
    g.strokePath (thumb, juce::PathStrokeType (0.8f));
}
} // namespace

void addUpperPanelPictures (std::vector<Picture>& pictures)
{
    pictures.push_back ({ upper, "ab_png", 62, 46, 2,
                          [] (juce::Graphics& g, juce::Rectangle<float> frame, int index)
                          { drawSlideSwitch (g, frame, index == 1); } });
    addKey (pictures, "atob_png", 75, 50,
            [] (juce::Graphics& g, juce::Rectangle<float> top, bool pressed) { drawCopyLegend (g, top, pressed, "A", "B"); });
    addKey (pictures, "btoa_png", 75, 50,
            [] (juce::Graphics& g, juce::Rectangle<float> top, bool pressed) { drawCopyLegend (g, top, pressed, "B", "A"); });
    addKey (pictures, "file_png", 58, 52, drawFileLegend);
    addKey (pictures, "left_png", 29, 52,
            [] (juce::Graphics& g, juce::Rectangle<float> top, bool pressed) { drawArrowLegend (g, top, pressed, false); });
    addKey (pictures, "right_png", 29, 52,
            [] (juce::Graphics& g, juce::Rectangle<float> top, bool pressed) { drawArrowLegend (g, top, pressed, true); });
    addLatchingKey (pictures, "stereo_png", "STEREO");
    addLatchingKey (pictures, "sync_png", "SYNC");
}
} // namespace art
