// The dialog group: the message box and browser backgrounds, the browser
// titles, the message-box icons and the dialog keys.
//
// The dialogs write their texts in light grey, so every place a text, a name
// box or the file list goes is a dark recess. The places follow the dialogs'
// layout: the message text at 32, 136, 260, 182 (the new-folder name box at
// 23, 229, 280, 24), the keys at y 307; the browser's list at 12, 59, 300, 275,
// its keys at 16 / 179, 336 and 179, 386, its title across the top; icons are
// drawn 12 pixels lower than they are painted here.

#include "PictureArt.h"

#include <cmath>

namespace art
{
namespace
{
const char* const dialogs = "ModulixDialogBoxBinImg";
constexpr float pi = juce::MathConstants<float>::pi;

/** The message-box icon's centre in its overlay, which the box draws at y 12. */
const juce::Point<float> iconCentre { 162.5f, 70.0f };
constexpr float iconRadius = 27.0f;

void drawBackdrop (juce::Graphics& g)
{
    g.setGradientFill (juce::ColourGradient::vertical (juce::Colour (0xff2b3038), 0.0f, juce::Colour (0xff0f1114), 454.0f));
    g.fillAll();
    juce::Path all;
    all.addRectangle (0.0f, 0.0f, 325.0f, 454.0f);
    overlayTexture (g, all, brushedTexture (325, 454, 0x64696167u, 0.1f));
}

/** A raised plate with a bevel and a thin line of the accent colour on top. */
void drawPlate (juce::Graphics& g, juce::Rectangle<float> area)
{
    juce::Path plate;
    plate.addRoundedRectangle (area, 9.0f);
    dropShadow (g, plate, juce::Colours::black.withAlpha (0.75f), 8, { 0, 4 });
    g.setGradientFill (juce::ColourGradient::vertical (juce::Colour (0xff3a414b), area.getY(), juce::Colour (0xff1e2227),
                                                       area.getBottom()));
    g.fillPath (plate);
    overlayTexture (g, plate, brushedTexture (325, 454, 0x706c6174u, 0.09f));
    bevelEdge (g, plate, area, 0.3f, 0.5f, 1.5f);
    g.setColour (juce::Colours::black.withAlpha (0.85f));
    g.strokePath (plate, juce::PathStrokeType (1.0f));
    g.setColour (colours::accent.withAlpha (0.8f));
    g.fillRect (area.getX() + 24.0f, area.getY() + 1.5f, area.getWidth() - 48.0f, 1.2f);

    const auto corners = area.reduced (9.0f);
    for (const auto& corner : { corners.getTopLeft(), corners.getTopRight(), corners.getBottomLeft(),
                                corners.getBottomRight() })
        drawScrew (g, corner, 3.5f, 0.3f + corner.x * 0.013f + corner.y * 0.007f);
}

/** A dark sunken window for text or a list. */
void drawRecess (juce::Graphics& g, juce::Rectangle<float> area)
{
    juce::Path recess;
    recess.addRoundedRectangle (area, 5.0f);
    g.setGradientFill (juce::ColourGradient::vertical (juce::Colour (0xff0b0c0e), area.getY(), juce::Colour (0xff15181c),
                                                       area.getBottom()));
    g.fillPath (recess);
    innerShadow (g, recess, juce::Colours::black, 5, { 0, 3 });
    juce::ColourGradient lip (juce::Colours::black.withAlpha (0.6f), area.getTopLeft(),
                              juce::Colours::white.withAlpha (0.18f), area.getBottomRight(), false);
    lip.addColour (0.5, juce::Colours::transparentBlack);
    g.setGradientFill (lip);
    g.strokePath (recess, juce::PathStrokeType (1.2f));
}

void drawMaker (juce::Graphics& g, juce::Rectangle<float> area, juce::Justification justification)
{
    printText (g, "Velora", font (Face::serifBoldItalic, 19.0f), area.withHeight (18.0f), justification,
               colours::dialogText.withAlpha (0.55f), 0.5f);
    printText (g, "MODULIX QR7150", font (Face::condensedBold, 9.0f, 0.3f), area.withTrimmedTop (20.0f).withHeight (8.0f),
               justification, colours::dialogText.withAlpha (0.4f), 0.5f);
}

void drawMessageBackground (juce::Graphics& g)
{
    drawBackdrop (g);
    drawPlate (g, { 10.0f, 24.0f, 305.0f, 348.0f });
    drawRecess (g, { 19.0f, 128.0f, 287.0f, 172.0f });
    drawMaker (g, { 0.0f, 392.0f, 325.0f, 30.0f }, juce::Justification::centred);
}

void drawBrowserBackground (juce::Graphics& g)
{
    drawBackdrop (g);
    drawPlate (g, { 4.0f, 4.0f, 317.0f, 444.0f });
    drawRecess (g, { 9.0f, 56.0f, 307.0f, 281.0f });
    drawMaker (g, { 20.0f, 397.0f, 124.0f, 30.0f }, juce::Justification::centred);
}

void drawTitle (juce::Graphics& g, const juce::String& title)
{
    printText (g, title, font (Face::sansBold, 23.0f, 0.02f), { 0.0f, 6.0f, 325.0f, 40.0f },
               juce::Justification::centred, colours::dialogText, 0.8f);
}

//==============================================================================
// Icons: glossy enamel badges.

void drawBadge (juce::Graphics& g, juce::Colour colour)
{
    const auto disc = juce::Rectangle<float> (iconRadius * 2.0f, iconRadius * 2.0f).withCentre (iconCentre);
    juce::Path badge;
    badge.addEllipse (disc);
    dropShadow (g, badge, juce::Colours::black.withAlpha (0.8f), 6, { 0, 4 });

    const auto ring = disc.expanded (2.5f);
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xffeef1f4), ring.getTopLeft(), juce::Colour (0xff40454c),
                                             ring.getBottomRight(), false));
    g.fillEllipse (ring);

    juce::ColourGradient body (colour.brighter (0.5f), iconCentre.translated (-8.0f, -12.0f), colour.darker (0.9f),
                               iconCentre.translated (iconRadius, iconRadius), true);
    body.addColour (0.5, colour);
    g.setGradientFill (body);
    g.fillPath (badge);
    innerShadow (g, badge, juce::Colours::black.withAlpha (0.5f), 4, { 0, 2 });
}

void drawGloss (juce::Graphics& g)
{
    const auto gloss = juce::Rectangle<float> (iconRadius * 1.5f, iconRadius * 0.9f)
                           .withCentre (iconCentre.translated (0.0f, -iconRadius * 0.5f));
    g.setGradientFill (juce::ColourGradient::vertical (juce::Colours::white.withAlpha (0.45f), gloss.getY(),
                                                       juce::Colours::white.withAlpha (0.0f), gloss.getBottom()));
    g.fillEllipse (gloss);
}

void drawAsterisk (juce::Graphics& g)
{
    drawBadge (g, juce::Colour (0xff1f8fb8));
    juce::Path star;
    for (int i = 0; i < 6; ++i)
    {
        juce::Path arm;
        arm.addRoundedRectangle (-3.2f, -17.0f, 6.4f, 17.0f, 3.2f);
        star.addPath (arm, juce::AffineTransform::rotation ((float) i * pi / 3.0f).translated (iconCentre));
    }
    star.addEllipse (juce::Rectangle<float> (9.0f, 9.0f).withCentre (iconCentre));
    fillWithShadow (g, star, juce::Colours::white, 0.45f, 1.5f);
    drawGloss (g);
}

void drawFace (juce::Graphics& g, juce::Colour colour, bool smiling)
{
    drawBadge (g, colour);
    juce::Path features;
    for (const auto side : { -1.0f, 1.0f })
        features.addEllipse (juce::Rectangle<float> (6.0f, 8.5f).withCentre (iconCentre.translated (side * 8.5f, -6.5f)));

    juce::Path mouth;
    const auto mouthCentre = iconCentre.translated (0.0f, smiling ? -1.0f : 21.0f);
    const auto from = smiling ? 0.62f * pi : -0.34f * pi;
    const auto to = smiling ? 1.38f * pi : 0.34f * pi;
    mouth.addCentredArc (mouthCentre.x, mouthCentre.y, 14.0f, 14.0f, 0.0f, from, to, true);
    juce::PathStrokeType (3.6f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded)
        .createStrokedPath (mouth, mouth);
    features.addPath (mouth);
    fillWithShadow (g, features, juce::Colour (0xff1d1a16), 0.45f, 1.5f);
    drawGloss (g);
}

//==============================================================================
// Dialog keys: wide plastic keys with their word in light grey; the word
// lights in the accent colour while the key is held down.

void drawDialogKey (juce::Graphics& g, juce::Rectangle<float> frame, bool pressed, const juce::String& word)
{
    drawKey (g, frame.reduced (7.0f, 6.0f).withTrimmedBottom (1.0f), 7.0f, pressed,
             [&] (juce::Rectangle<float> top)
             {
                 const auto f = fittedFont (Face::condensedBold, 17.0f, word, top.getWidth() - 16.0f, 0.1f);
                 const auto text = textPathIn (word, f, top, juce::Justification::centred);
                 if (pressed)
                     dropShadow (g, text, colours::accent.withAlpha (0.8f), 4, {});
                 fillWithShadow (g, text,
                                 pressed ? colours::accent.interpolatedWith (juce::Colours::white, 0.4f)
                                         : juce::Colour (0xffeef0f3),
                                 0.7f);
             });
}

void addOverlay (std::vector<Picture>& pictures, const char* name, std::function<void (juce::Graphics&)> draw)
{
    pictures.push_back ({ dialogs, name, 325, 454, 1,
                          [draw] (juce::Graphics& g, juce::Rectangle<float>, int) { draw (g); } });
}
} // namespace

void addDialogPictures (std::vector<Picture>& pictures)
{
    addOverlay (pictures, "dialog_box_clean_png", drawMessageBackground);
    addOverlay (pictures, "file_browser_clean_png", drawBrowserBackground);
    addOverlay (pictures, "browser_textonly_save_as_png", [] (juce::Graphics& g) { drawTitle (g, "Save As"); });
    addOverlay (pictures, "browser_textonly_load_png", [] (juce::Graphics& g) { drawTitle (g, "Load"); });
    addOverlay (pictures, "icononly_asterix_png", drawAsterisk);
    addOverlay (pictures, "icononly_smile_png", [] (juce::Graphics& g) { drawFace (g, juce::Colour (0xfff2b233), true); });
    addOverlay (pictures, "icononly_frown_png", [] (juce::Graphics& g) { drawFace (g, juce::Colour (0xffe0553a), false); });

    const std::pair<const char*, const char*> keys[] = { { "ok_png", "OK" },
                                                         { "cancel_png", "CANCEL" },
                                                         { "save_png", "SAVE" },
                                                         { "newfolder_png", "NEW FOLDER" },
                                                         { "overwrite_png", "OVERWRITE" } };
    for (const auto& [name, word] : keys)
        pictures.push_back ({ dialogs, name, 132, 102, 2,
                              [word = juce::String (word)] (juce::Graphics& g, juce::Rectangle<float> frame, int index)
                              { drawDialogKey (g, frame, index == 1, word); } });
}
} // namespace art
