// The main panel group: the pedal's enamel front with its printed labels,
// the knob strips, the chorus-type toggle, the footswitch and the about box.

#include "PanelLayout.h"
#include "PictureArt.h"

#include <cmath>
#include <memory>

namespace art
{
namespace
{
constexpr float pi = juce::MathConstants<float>::pi;

/** A knob turns through 270 degrees, from 7:30 to 4:30 on a clock face. */
constexpr float knobSweep = 1.5f * pi;
constexpr float knobStart = -0.5f * knobSweep;

const char* const panel = "ModulixQR7150BinImg";

//==============================================================================
// Knobs: a black knurled skirt under a spun-aluminium cap. The skirt's
// grooves and the pointer turn; light and shadow stay where the lamp is.

constexpr float skirtRadius = 24.5f;
constexpr float knobCapRadius = 17.5f;

struct KnobParts
{
    juce::Image shadow;
    juce::Image cap;
};

std::shared_ptr<const KnobParts> makeKnobParts (juce::Point<float> centre, int width, int height)
{
    auto parts = std::make_shared<KnobParts>();
    parts->shadow = juce::Image (juce::Image::ARGB, width, height, true, juce::SoftwareImageType());
    {
        juce::Graphics g (parts->shadow);
        juce::Path body;
        body.addEllipse (juce::Rectangle<float> (skirtRadius * 2.0f, skirtRadius * 2.0f).withCentre (centre));
        dropShadow (g, body, juce::Colours::black.withAlpha (0.55f), 6, { 3, 4 });
        dropShadow (g, body, juce::Colours::black.withAlpha (0.6f), 2, { 1, 1 });
    }
    parts->cap = spunMetalDisc (width, height, centre, knobCapRadius, 0x6b6e6f62u);
    return parts;
}

void drawKnob (juce::Graphics& g, const KnobParts& parts, juce::Point<float> centre, float angle)
{
    g.drawImageAt (parts.shadow, 0, 0);

    const auto skirt = juce::Rectangle<float> (skirtRadius * 2.0f, skirtRadius * 2.0f).withCentre (centre);
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff3a3c40), centre.translated (-8.0f, -10.0f),
                                             juce::Colour (0xff0c0c0e), centre.translated (skirtRadius, skirtRadius),
                                             true));
    g.fillEllipse (skirt);

    // Knurled grip: each ridge catches light by how squarely it faces the lamp.
    constexpr int ridges = 36;
    for (int i = 0; i < ridges; ++i)
    {
        const auto a = angle + (float) i * 2.0f * pi / (float) ridges;
        const auto facing = std::cos (a + 0.25f * pi);
        g.setColour (juce::Colours::white.withAlpha (0.05f + 0.22f * juce::jmax (0.0f, facing)));
        g.drawLine ({ polar (centre, knobCapRadius + 2.6f, a), polar (centre, skirtRadius - 0.6f, a) }, 1.1f);
        const auto b = a + pi / (float) ridges;
        g.setColour (juce::Colours::black.withAlpha (0.7f));
        g.drawLine ({ polar (centre, knobCapRadius + 2.6f, b), polar (centre, skirtRadius - 0.6f, b) }, 1.0f);
    }

    juce::ColourGradient rim (juce::Colours::white.withAlpha (0.35f), skirt.getTopLeft(),
                              juce::Colours::black.withAlpha (0.6f), skirt.getBottomRight(), false);
    rim.addColour (0.5, juce::Colours::transparentWhite);
    g.setGradientFill (rim);
    g.drawEllipse (skirt.reduced (0.5f), 1.0f);

    // The sloped shoulder between grip and cap.
    const auto shoulder = skirt.reduced (skirtRadius - knobCapRadius - 2.4f);
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff55585e), shoulder.getTopLeft(),
                                             juce::Colour (0xff101113), shoulder.getBottomRight(), false));
    g.fillEllipse (shoulder);

    g.drawImageAt (parts.cap, 0, 0);

    // Pointer: a white line on the grip, continued by a groove cut into the cap.
    g.setColour (colours::ink);
    g.drawLine ({ polar (centre, knobCapRadius + 1.2f, angle), polar (centre, skirtRadius - 0.8f, angle) }, 2.6f);
    const juce::Line<float> groove (polar (centre, 5.0f, angle), polar (centre, knobCapRadius - 1.8f, angle));
    g.setColour (juce::Colours::white.withAlpha (0.55f));
    g.drawLine (groove, 2.4f);
    g.setColour (juce::Colour (0xff1b1c1f));
    const auto shift = juce::AffineTransform::translation (-0.5f, -0.5f);
    g.drawLine ({ groove.getStart().transformedBy (shift), groove.getEnd().transformedBy (shift) }, 2.2f);
}

void addKnob (std::vector<Picture>& pictures, const char* name, int frames)
{
    constexpr int width = 73, frameHeight = 72;
    const juce::Point<float> centre (36.5f, 36.0f);
    auto parts = makeKnobParts (centre, width, frameHeight);
    pictures.push_back ({ panel, name, width, frameHeight * frames, frames,
                          [parts, centre, frames] (juce::Graphics& g, juce::Rectangle<float>, int index)
                          {
                              const auto p = (float) index / (float) (frames - 1);
                              drawKnob (g, *parts, centre, knobStart + knobSweep * p);
                          } });
}

//==============================================================================
// The chorus-type toggle: a chrome bat lever in a threaded bushing; the lever
// points at the printed type name it selects.

void drawLever (juce::Graphics& g, juce::Point<float> base, juce::Point<float> tip)
{
    const juce::Line<float> axis (base, tip);
    const auto angle = axis.getAngle();
    juce::Path lever;
    lever.addRoundedRectangle (-3.6f, -axis.getLength(), 7.2f, axis.getLength(), 1.0f);
    lever.applyTransform (juce::AffineTransform::rotation (angle).translated (base));
    const auto ballRadius = 4.5f;
    juce::Path ball;
    ball.addEllipse (juce::Rectangle<float> (ballRadius * 2.0f, ballRadius * 2.0f).withCentre (tip));
    juce::Path whole (lever);
    whole.addPath (ball);
    dropShadow (g, whole, juce::Colours::black.withAlpha (0.65f), 3, { 3, 4 });

    // Cylinder shading across the lever: dark rims, a bright line off-centre.
    const auto across = juce::Point<float> (std::cos (angle), std::sin (angle)) * 3.6f;
    juce::ColourGradient chrome (juce::Colour (0xff4a4e55), base - across, juce::Colour (0xff2a2d31), base + across,
                                 false);
    chrome.addColour (0.3, juce::Colour (0xfff7f9fb));
    chrome.addColour (0.55, juce::Colour (0xffaab0b8));
    g.setGradientFill (chrome);
    g.fillPath (lever);

    juce::ColourGradient sphere (juce::Colours::white, tip.translated (-1.4f, -1.6f), juce::Colour (0xff3c4046),
                                 tip.translated (ballRadius, ballRadius), true);
    sphere.addColour (0.4, juce::Colour (0xffc3c8cf));
    g.setGradientFill (sphere);
    g.fillPath (ball);
}

void drawToggle (juce::Graphics& g, int position)
{
    const juce::Point<float> centre (24.0f, 22.5f);
    drawHexNut (g, centre, 15.0f, 0.0f);

    const auto bushing = juce::Rectangle<float> (19.0f, 19.0f).withCentre (centre);
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xffdfe3e8), bushing.getTopLeft(),
                                             juce::Colour (0xff4b4f56), bushing.getBottomRight(), false));
    g.fillEllipse (bushing);
    for (float r = 9.0f; r > 4.0f; r -= 1.4f)
    {
        g.setColour (juce::Colours::black.withAlpha (0.35f));
        g.drawEllipse (juce::Rectangle<float> (r * 2.0f, r * 2.0f).withCentre (centre), 0.6f);
    }
    g.setColour (juce::Colour (0xff16181b));
    g.fillEllipse (juce::Rectangle<float> (6.0f, 6.0f).withCentre (centre));

    if (position == 1)
    {
        // The lever points at the viewer: only its rounded end shows.
        drawLever (g, centre, centre.translated (0.3f, 0.4f));
        return;
    }
    drawLever (g, centre, centre.translated (0.0f, position == 0 ? -17.0f : 17.0f));
}

//==============================================================================
// The footswitch: a chrome stomp button in a big nut, with its LED above.

void drawFootswitch (juce::Graphics& g, bool lit, bool pressed)
{
    const juce::Point<float> led (45.0f, 14.0f);
    const juce::Point<float> centre (45.0f, 59.0f);

    drawLed (g, led, 4.6f, colours::redLed, lit, 14.0f);

    juce::Path washer;
    washer.addEllipse (juce::Rectangle<float> (62.0f, 62.0f).withCentre (centre));
    dropShadow (g, washer, juce::Colours::black.withAlpha (0.6f), 6, { 2, 4 });
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xffcfd3d8), centre.translated (-30.0f, -30.0f),
                                             juce::Colour (0xff3c4047), centre.translated (30.0f, 30.0f), false));
    g.fillPath (washer);
    g.setColour (juce::Colours::black.withAlpha (0.4f));
    g.strokePath (washer, juce::PathStrokeType (0.8f));

    drawHexNut (g, centre, 27.0f, pi / 6.0f);

    // The plunger: a steel cylinder under a domed cap, lower when stepped on.
    const auto capRadius = pressed ? 15.0f : 15.5f;
    const auto base = centre.translated (0.0f, 2.0f);
    const auto top = base.translated (0.0f, pressed ? -1.0f : -3.6f);
    const auto circle = [capRadius] (juce::Point<float> c)
    { return juce::Rectangle<float> (capRadius * 2.0f, capRadius * 2.0f).withCentre (c); };
    juce::Path cylinder;
    cylinder.addEllipse (circle (base));
    cylinder.addRectangle (top.x - capRadius, top.y, capRadius * 2.0f, base.y - top.y);
    dropShadow (g, cylinder, juce::Colours::black.withAlpha (0.7f), 2, { 1, 2 });
    juce::ColourGradient wall (juce::Colour (0xff9ba1a9), base.translated (-capRadius, 0.0f), juce::Colour (0xff2a2d32),
                               base.translated (capRadius, 0.0f), false);
    wall.addColour (0.3, juce::Colour (0xffe3e6ea));
    g.setGradientFill (wall);
    g.fillPath (cylinder);
    const auto cap = circle (top);

    const auto glintCentre = cap.getCentre().translated (-5.0f, -6.0f);
    juce::ColourGradient dome (pressed ? juce::Colour (0xffd8dce1) : juce::Colours::white, glintCentre,
                               pressed ? juce::Colour (0xff3f434a) : juce::Colour (0xff50555c), cap.getBottomRight(), true);
    dome.addColour (0.22, pressed ? juce::Colour (0xffaeb4bc) : juce::Colour (0xffe2e6ea));
    dome.addColour (0.6, pressed ? juce::Colour (0xff767c85) : juce::Colour (0xff9aa0a8));
    g.setGradientFill (dome);
    g.fillEllipse (cap);
    g.setColour (juce::Colours::black.withAlpha (0.5f));
    g.drawEllipse (cap, 0.8f);
    g.setColour (juce::Colours::white.withAlpha (pressed ? 0.25f : 0.5f));
    g.drawEllipse (cap.reduced (3.5f), 0.6f);
}

//==============================================================================
// The front panel.

juce::Path bodyOutline()
{
    juce::Path body;
    body.addRoundedRectangle (juce::Rectangle<float> (0.5f, 0.5f, 324.0f, 453.0f), 12.0f);
    return body;
}

void drawEnamel (juce::Graphics& g, const juce::Path& body)
{
    juce::ColourGradient enamel (colours::enamelTop, 0.0f, layout::deckBottom, colours::enamelBottom, 0.0f, 454.0f,
                                 false);
    enamel.addColour (0.45, colours::enamelTop.interpolatedWith (colours::enamelBottom, 0.4f));
    g.setGradientFill (enamel);
    g.fillPath (body);

    // The broad soft reflection of the lamp over the lacquer.
    g.setGradientFill (juce::ColourGradient (juce::Colours::white.withAlpha (0.16f), 60.0f, 120.0f,
                                             juce::Colours::white.withAlpha (0.0f), 330.0f, 300.0f, true));
    g.fillPath (body);
    overlayTexture (g, body, flakeTexture (325, 454, 0x656e616du));

    // The lacquer darkens a little towards the rounded edges of the case.
    juce::ColourGradient edges (juce::Colours::black.withAlpha (0.0f), 162.5f, 260.0f,
                                juce::Colours::black.withAlpha (0.3f), 162.5f + 290.0f, 260.0f, true);
    edges.addColour (0.55, juce::Colours::black.withAlpha (0.0f));
    g.setGradientFill (edges);
    g.fillPath (body);
}

void drawDeck (juce::Graphics& g, const juce::Path& body)
{
    juce::Graphics::ScopedSaveState state (g);
    g.reduceClipRegion (0, 0, 325, (int) layout::deckBottom);
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff3b4048), 0.0f, 0.0f, juce::Colour (0xff202328), 0.0f,
                                             layout::deckBottom, false));
    g.fillPath (body);
    overlayTexture (g, body, brushedTexture (325, 96, 0x6465636bu, 0.16f));
}

void drawTrim (juce::Graphics& g)
{
    const auto y = layout::deckBottom;
    // The deck's edge throws a shadow on the enamel below it.
    g.setGradientFill (juce::ColourGradient (juce::Colours::black.withAlpha (0.55f), 0.0f, y,
                                             juce::Colours::black.withAlpha (0.0f), 0.0f, y + 9.0f, false));
    g.fillRect (1.0f, y, 323.0f, 9.0f);
    juce::ColourGradient chrome (juce::Colour (0xfff0f2f5), 0.0f, y - 2.5f, juce::Colour (0xff4a4e55), 0.0f, y + 0.5f,
                                 false);
    chrome.addColour (0.5, juce::Colour (0xff9ca2aa));
    g.setGradientFill (chrome);
    g.fillRect (1.0f, y - 2.5f, 323.0f, 3.0f);
}

/** A dark rounded well that a control sits in, slightly larger than the control. */
void drawWell (juce::Graphics& g, juce::Rectangle<float> control, float corner, float margin = 1.5f)
{
    juce::Path well;
    well.addRoundedRectangle (control.expanded (margin), corner + margin);
    g.setColour (juce::Colour (0xff0d0e10));
    g.fillPath (well);
    juce::ColourGradient lip (juce::Colours::black.withAlpha (0.5f), control.getTopLeft(),
                              juce::Colours::white.withAlpha (0.22f), control.getBottomRight(), false);
    lip.addColour (0.5, juce::Colours::transparentBlack);
    g.setGradientFill (lip);
    g.strokePath (well, juce::PathStrokeType (1.0f));
}

void drawPresetDisplay (juce::Graphics& g)
{
    const auto glass = layout::presetDisplay;
    drawWell (g, glass, 3.0f, 2.0f);

    juce::Path window;
    window.addRoundedRectangle (glass, 2.5f);
    juce::ColourGradient backlight (juce::Colour (0xffe9f4ef), glass.getTopLeft(), juce::Colour (0xffbfd8ce),
                                    glass.getBottomLeft(), false);
    g.setGradientFill (backlight);
    g.fillPath (window);
    innerShadow (g, window, juce::Colours::black.withAlpha (0.55f), 3, { 0, 2 });

    // A faint reflection across the upper half of the glass.
    juce::Path sheen;
    sheen.addRectangle (glass.withHeight (glass.getHeight() * 0.42f).reduced (2.0f, 1.0f));
    g.setGradientFill (juce::ColourGradient (juce::Colours::white.withAlpha (0.35f), glass.getTopLeft(),
                                             juce::Colours::white.withAlpha (0.0f),
                                             glass.getTopLeft().translated (0.0f, glass.getHeight() * 0.45f), false));
    g.fillPath (sheen);
}

void drawKnobScale (juce::Graphics& g, juce::Rectangle<float> knob)
{
    const auto centre = knob.getCentre();
    for (int i = 0; i <= 10; ++i)
    {
        const auto a = knobStart + knobSweep * (float) i / 10.0f;
        g.setColour (colours::ink);
        if (i == 0 || i == 10 || i == 5)
            g.drawLine ({ polar (centre, 29.5f, a), polar (centre, 34.0f, a) }, 1.6f);
        else
            g.fillEllipse (juce::Rectangle<float> (2.6f, 2.6f).withCentre (polar (centre, 31.5f, a)));
    }
}

void printUnder (juce::Graphics& g, const juce::String& text, juce::Rectangle<float> control)
{
    const auto label = juce::Rectangle<float> (control.getX() - 10.0f, control.getBottom() + 3.0f,
                                               control.getWidth() + 20.0f, 12.0f);
    printText (g, text, font (Face::condensedBold, 14.0f, 0.12f), label, juce::Justification::centred, colours::ink);
}

/** The kind of effect, spaced out between two rules under the deck. */
void drawHeadline (juce::Graphics& g)
{
    printText (g, "STEREO  CHORUS", font (Face::condensedBold, 10.0f, 0.4f), { 0.0f, 102.0f, 325.0f, 10.0f },
               juce::Justification::centred, colours::ink.withAlpha (0.85f), 0.25f);
    g.setColour (colours::ink.withAlpha (0.6f));
    g.fillRect (40.0f, 106.5f, 78.0f, 1.0f);
    g.fillRect (207.0f, 106.5f, 78.0f, 1.0f);
}

void drawTypeLegend (juce::Graphics& g)
{
    const auto f = font (Face::condensedBold, 13.0f, 0.06f);
    const char* const names[] = { "TYPE 1", "TYPE 2", "TYPE 3" };
    for (size_t i = 0; i < layout::typeHotSpots.size(); ++i)
    {
        const auto spot = layout::typeHotSpots[i];
        printText (g, names[i], f, spot.withTrimmedLeft (1.0f), juce::Justification::left, colours::ink);
        g.setColour (colours::ink);
        g.fillEllipse (juce::Rectangle<float> (2.6f, 2.6f).withCentre ({ spot.getX() - 3.5f, spot.getCentreY() }));
    }
}

void drawTitle (juce::Graphics& g)
{
    const auto area = layout::aboutSpot;
    printText (g, "Velora", font (Face::serifBoldItalic, 17.0f), area.withHeight (14.0f).translated (1.0f, 2.0f),
               juce::Justification::left, colours::ink.withAlpha (0.9f));
    const auto title = fittedFont (Face::sansBold, 26.0f, "Modulix", area.getWidth() - 2.0f, -0.01f);
    printText (g, "Modulix", title, area.withTrimmedTop (18.0f).withHeight (20.0f), juce::Justification::left,
               colours::ink, 0.45f);
    g.setColour (colours::ink.withAlpha (0.85f));
    g.fillRect (area.getX() + 1.0f, area.getY() + 43.0f, 24.0f, 1.4f);
    printText (g, "QR7150", font (Face::condensedBold, 13.0f, 0.32f),
               area.withTrimmedTop (39.0f).withHeight (10.0f).withTrimmedLeft (29.0f), juce::Justification::left,
               colours::ink);
}

/** Three interleaved waves, the three voices a chorus sings with. */
void drawVoices (juce::Graphics& g)
{
    for (int voice = 0; voice < 3; ++voice)
    {
        juce::Path wave;
        const auto phase = (float) voice * 2.0f * pi / 3.0f;
        for (float x = 22.0f; x <= 200.0f; x += 1.0f)
        {
            const auto fade = std::sin (pi * (x - 22.0f) / 178.0f);
            const auto y = 346.0f + 9.0f * fade * std::sin (2.0f * pi * (x - 22.0f) / 89.0f + phase);
            if (x == 22.0f)
                wave.startNewSubPath (x, y);
            else
                wave.lineTo (x, y);
        }
        g.setColour (colours::ink.withAlpha (0.22f + 0.1f * (float) voice));
        g.strokePath (wave, juce::PathStrokeType (1.3f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    }
}

void drawDeckLabels (juce::Graphics& g)
{
    const auto f = font (Face::condensedBold, 10.5f, 0.16f);
    const auto grey = juce::Colour (0xffc7ccd3);
    printText (g, "A/B", f, layout::abSwitch.withY (62.0f).withHeight (8.0f), juce::Justification::centred, grey, 0.6f);
    printText (g, "COPY", f, layout::copyButton.withY (62.0f).withHeight (8.0f), juce::Justification::centred, grey,
               0.6f);
}

void drawBackground (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0xff0a0b0c));
    const auto body = bodyOutline();
    drawEnamel (g, body);
    drawDeck (g, body);
    drawTrim (g);

    // The pedal's pressed edge: light on top and left, shade below and right.
    bevelEdge (g, body, body.getBounds(), 0.5f, 0.65f, 2.0f);
    g.setColour (juce::Colours::black.withAlpha (0.8f));
    g.strokePath (body, juce::PathStrokeType (1.0f));

    drawPresetDisplay (g);
    for (const auto& control : { layout::fileButton, layout::presetStepper, layout::abSwitch, layout::copyButton,
                                 layout::syncButton, layout::stereoButton })
        drawWell (g, control, 4.0f);
    drawDeckLabels (g);

    drawHeadline (g);
    const std::pair<juce::Rectangle<float>, const char*> knobs[] = {
        { layout::rateKnob, "RATE" }, { layout::levelKnob, "LEVEL" }, { layout::depthKnob, "DEPTH" }, { layout::mixKnob, "MIX" }
    };
    for (const auto& [knob, name] : knobs)
    {
        drawKnobScale (g, knob);
        printUnder (g, name, knob);
    }

    drawTypeLegend (g);
    drawTitle (g);
    drawVoices (g);
}

//==============================================================================
// The about box: the pedal itself, small, over a dark stage, with the version
// printed in the dark plate beside the version label.

void drawAbout (juce::Graphics& g, const juce::Image& pedal)
{
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff1b2a33), 162.0f, 120.0f, juce::Colour (0xff07090b),
                                             162.0f, 520.0f, true));
    g.fillAll();
    juce::Path all;
    all.addRectangle (0.0f, 0.0f, 325.0f, 455.0f);
    overlayTexture (g, all, brushedTexture (325, 455, 0x61626f75u, 0.07f));

    printText (g, "Velora", font (Face::serifBoldItalic, 30.0f), { 0.0f, 22.0f, 325.0f, 26.0f },
               juce::Justification::centred, colours::ink, 0.5f);
    printText (g, "Modulix QR7150", font (Face::sansBold, 21.0f), { 0.0f, 60.0f, 325.0f, 20.0f },
               juce::Justification::centred, colours::ink, 0.5f);
    printText (g, "STEREO  CHORUS", font (Face::condensedBold, 10.0f, 0.4f), { 0.0f, 86.0f, 325.0f, 10.0f },
               juce::Justification::centred, colours::accent, 0.3f);

    // The version label sits at 150, 112 and writes its text in light grey.
    juce::Path plate;
    plate.addRoundedRectangle (juce::Rectangle<float> (62.0f, 106.0f, 201.0f, 26.0f), 5.0f);
    g.setColour (juce::Colours::black.withAlpha (0.6f));
    g.fillPath (plate);
    g.setColour (juce::Colours::white.withAlpha (0.12f));
    g.strokePath (plate, juce::PathStrokeType (1.0f));
    g.setColour (colours::dialogText.withAlpha (0.75f));
    g.fillPath (textPath ("Version", font (Face::sans, 13.0f), 146.0f, 124.0f, juce::Justification::right));

    const auto shot = juce::Rectangle<float> (0.0f, 0.0f, 325.0f * 0.5f, 454.0f * 0.5f).withCentre ({ 162.5f, 259.0f });
    juce::Path outline;
    outline.addRoundedRectangle (shot, 6.0f);
    dropShadow (g, outline, juce::Colours::black.withAlpha (0.85f), 12, { 4, 8 });
    g.setImageResamplingQuality (juce::Graphics::highResamplingQuality);
    g.drawImage (pedal, shot);

    const auto small = font (Face::sans, 11.0f);
    printText (g, "Three analog-modelled chorus types", small, { 0.0f, 386.0f, 325.0f, 12.0f },
               juce::Justification::centred, colours::dialogText, 0.0f);
    printText (g, "12 programs with A/B settings", small, { 0.0f, 401.0f, 325.0f, 12.0f },
               juce::Justification::centred, colours::dialogText, 0.0f);
    printText (g, "Click anywhere to close", font (Face::sans, 10.0f), { 0.0f, 430.0f, 325.0f, 10.0f },
               juce::Justification::centred, colours::dialogText.withAlpha (0.5f), 0.0f);
}
} // namespace

//==============================================================================
void addPanelPictures (std::vector<Picture>& pictures)
{
    pictures.push_back ({ panel, "about_png", 325, 455, 1,
                          [&pictures] (juce::Graphics& g, juce::Rectangle<float>, int)
                          { drawAbout (g, composeDefaultPanel (pictures)); } });
    pictures.push_back ({ panel, "bg_chorus_png", 325, 454, 1,
                          [] (juce::Graphics& g, juce::Rectangle<float>, int) { drawBackground (g); } });
    pictures.push_back ({ panel, "bypass_png", 90, 396, 4,
                          [] (juce::Graphics& g, juce::Rectangle<float>, int index)
                          { drawFootswitch (g, index >= 2, index % 2 == 1); } });
    for (auto* knob : { "rate_png", "depth_png", "mix_png", "level_png" })
        addKnob (pictures, knob, 101);
    addKnob (pictures, "rate_sync_png", 19);
    pictures.push_back ({ panel, "type_png", 48, 240, 3,
                          [] (juce::Graphics& g, juce::Rectangle<float>, int index) { drawToggle (g, index); } });
}
} // namespace art
