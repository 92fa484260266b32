#include "PictureArt.h"

#include <array>
#include <cmath>

namespace art
{
namespace
{
std::array<juce::Typeface::Ptr, 4> faces;

constexpr float pi = juce::MathConstants<float>::pi;

/** The direction the light comes from: the top left, as on a desk lamp. */
constexpr float lightAngle = -0.75f * pi;

juce::Typeface::Ptr loadTypeface (const juce::File& fontDir, const char* fileName)
{
    juce::MemoryBlock data;
    if (! fontDir.getChildFile (fileName).loadFileAsData (data))
        return nullptr;
    return juce::Typeface::createSystemTypefaceFor (data.getData(), data.getSize());
}

float smoothStep (float t) noexcept
{
    return t * t * (3.0f - 2.0f * t);
}

/** Value noise along one axis: hashed knots `spacing` apart, eased between. */
float smoothNoise (float position, int row, juce::uint32 seed) noexcept
{
    const auto knot = (int) std::floor (position);
    const auto t = smoothStep (position - (float) knot);
    const auto a = noise (knot, row, seed);
    const auto b = noise (knot + 1, row, seed);
    return a + (b - a) * t;
}

void setGrain (juce::Image::BitmapData& pixels, int x, int y, float value, float strength)
{
    const auto alpha = juce::jlimit (0.0f, 1.0f, std::abs (value) * 2.0f * strength);
    pixels.setPixelColour (x, y, (value > 0.0f ? juce::Colours::white : juce::Colours::black).withAlpha (alpha));
}
} // namespace

//==============================================================================
juce::Image renderPicture (const Picture& picture)
{
    juce::Image image (juce::Image::ARGB, picture.width, picture.height, true, juce::SoftwareImageType());
    juce::Graphics g (image);
    for (int i = 0; i < picture.frames; ++i)
        paintFrame (g, picture, i, { 0, i * (picture.height / picture.frames) });
    return image;
}

void paintFrame (juce::Graphics& g, const Picture& picture, int index, juce::Point<int> topLeft)
{
    const int frameHeight = picture.height / picture.frames;
    juce::Graphics::ScopedSaveState state (g);
    g.reduceClipRegion ({ topLeft.x, topLeft.y, picture.width, frameHeight });
    g.setOrigin (topLeft);
    picture.drawFrame (g, { (float) picture.width, (float) frameHeight }, index);
}

//==============================================================================
bool loadFaces (const juce::File& fontDir)
{
    faces = { loadTypeface (fontDir, "DejaVuSans.ttf"),
              loadTypeface (fontDir, "DejaVuSans-Bold.ttf"),
              loadTypeface (fontDir, "DejaVuSansCondensed-Bold.ttf"),
              loadTypeface (fontDir, "DejaVuSerifCondensed-BoldItalic.ttf") };
    for (const auto& face : faces)
        if (face == nullptr)
            return false;
    return true;
}

juce::Font font (Face face, float height, float extraKerning)
{
    return juce::Font (faces[(size_t) face]).withHeight (height).withExtraKerningFactor (extraKerning);
}

juce::Font fittedFont (Face face, float height, const juce::String& text, float maxWidth, float extraKerning)
{
    auto f = font (face, height, extraKerning);
    while (f.getHeight() > 4.0f && f.getStringWidthFloat (text) - extraKerning * f.getHeight() > maxWidth)
        f = font (face, f.getHeight() - 0.25f, extraKerning);
    return f;
}

float capHeight (const juce::Font& f)
{
    return textPath ("H", f, 0.0f, 0.0f, juce::Justification::left).getBounds().getHeight();
}

juce::Path textPath (const juce::String& text, const juce::Font& f, float x, float baseline,
                     juce::Justification justification)
{
    // The width of a line counts the extra kerning after its last letter too;
    // centring leaves that out so spaced-out words sit truly in the middle.
    const auto width = f.getStringWidthFloat (text) - f.getExtraKerningFactor() * f.getHeight();
    auto left = x;
    if (justification.testFlags (juce::Justification::horizontallyCentred))
        left -= width * 0.5f;
    else if (justification.testFlags (juce::Justification::right))
        left -= width;

    juce::GlyphArrangement glyphs;
    glyphs.addLineOfText (f, text, left, baseline);
    juce::Path path;
    glyphs.createPath (path);
    return path;
}

juce::Path textPathIn (const juce::String& text, const juce::Font& f, juce::Rectangle<float> area,
                       juce::Justification justification)
{
    const auto baseline = area.getCentreY() + capHeight (f) * 0.5f;
    const auto x = justification.testFlags (juce::Justification::horizontallyCentred) ? area.getCentreX()
                 : justification.testFlags (juce::Justification::right)               ? area.getRight()
                                                                                      : area.getX();
    return textPath (text, f, x, baseline, justification);
}

void fillWithShadow (juce::Graphics& g, const juce::Path& shape, juce::Colour colour, float shadowAlpha, float drop)
{
    g.setColour (juce::Colours::black.withAlpha (shadowAlpha));
    g.fillPath (shape, juce::AffineTransform::translation (0.0f, drop));
    g.setColour (colour);
    g.fillPath (shape);
}

void printText (juce::Graphics& g, const juce::String& text, const juce::Font& f, juce::Rectangle<float> area,
                juce::Justification justification, juce::Colour colour, float shadowAlpha)
{
    fillWithShadow (g, textPathIn (text, f, area, justification), colour, shadowAlpha);
}

//==============================================================================
juce::uint32 hash (int x, int y, juce::uint32 seed) noexcept
{
    auto h = (juce::uint32) x * 0x8da6b343u ^ (juce::uint32) y * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    h *= 0x27d4eb2du;
    h ^= h >> 16;
    return h;
}

float noise (int x, int y, juce::uint32 seed) noexcept
{
    return (float) (hash (x, y, seed) & 0xffffffu) / (float) 0xffffffu;
}

juce::Image brushedTexture (int width, int height, juce::uint32 seed, float strength)
{
    juce::Image texture (juce::Image::ARGB, width, height, true, juce::SoftwareImageType());
    juce::Image::BitmapData pixels (texture, juce::Image::BitmapData::writeOnly);
    for (int y = 0; y < height; ++y)
    {
        // Each row is one stroke of the brush: its own brightness, and long
        // streaks of its own length along it.
        const auto row = noise (0, y, seed) - 0.5f;
        const auto streakLength = 10.0f + 50.0f * noise (1, y, seed);
        const auto phase = streakLength * noise (2, y, seed);
        for (int x = 0; x < width; ++x)
        {
            const auto streak = smoothNoise (((float) x + phase) / streakLength, y, seed + 3) - 0.5f;
            const auto grain = noise (x, y, seed + 4) - 0.5f;
            setGrain (pixels, x, y, 0.5f * row + 0.38f * streak + 0.12f * grain, strength);
        }
    }
    return texture;
}

juce::Image flakeTexture (int width, int height, juce::uint32 seed)
{
    juce::Image texture (juce::Image::ARGB, width, height, true, juce::SoftwareImageType());
    juce::Image::BitmapData pixels (texture, juce::Image::BitmapData::writeOnly);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const auto flake = noise (x, y, seed);
            if (flake > 0.988f)
                pixels.setPixelColour (x, y, juce::Colours::white.withAlpha (0.12f + 22.0f * (flake - 0.988f)));
            else
                setGrain (pixels, x, y, noise (x, y, seed + 1) - 0.5f, 0.07f);
        }
    return texture;
}

void overlayTexture (juce::Graphics& g, const juce::Path& shape, const juce::Image& texture, float opacity)
{
    juce::Graphics::ScopedSaveState state (g);
    g.setTiledImageFill (texture, 0, 0, opacity);
    g.fillPath (shape);
}

//==============================================================================
void dropShadow (juce::Graphics& g, const juce::Path& shape, juce::Colour colour, int radius,
                 juce::Point<int> offset)
{
    juce::DropShadow (colour, radius, offset).drawForPath (g, shape);
}

void innerShadow (juce::Graphics& g, const juce::Path& hole, juce::Colour colour, int radius,
                  juce::Point<int> offset)
{
    juce::Graphics::ScopedSaveState state (g);
    g.reduceClipRegion (hole);
    juce::Path outside;
    outside.addRectangle (hole.getBounds().expanded ((float) (radius * 2 + 4)));
    outside.addPath (hole);
    outside.setUsingNonZeroWinding (false);
    dropShadow (g, outside, colour, radius, offset);
}

void bevelEdge (juce::Graphics& g, const juce::Path& shape, juce::Rectangle<float> bounds, float light,
                float dark, float thickness)
{
    juce::Graphics::ScopedSaveState state (g);
    g.reduceClipRegion (shape);
    juce::ColourGradient edge (juce::Colours::white.withAlpha (light), bounds.getTopLeft(),
                               juce::Colours::black.withAlpha (dark), bounds.getBottomRight(), false);
    edge.addColour (0.5, juce::Colours::transparentBlack);
    g.setGradientFill (edge);
    g.strokePath (shape, juce::PathStrokeType (thickness * 2.0f));
}

void drawLed (juce::Graphics& g, juce::Point<float> centre, float radius, juce::Colour colour, bool lit,
              float haloRadius)
{
    if (lit)
    {
        juce::ColourGradient halo (colour.withAlpha (0.8f), centre, colour.withAlpha (0.0f),
                                   centre.translated (haloRadius, 0.0f), true);
        halo.addColour (0.4, colour.withAlpha (0.35f));
        g.setGradientFill (halo);
        g.fillEllipse (juce::Rectangle<float> (haloRadius * 2.0f, haloRadius * 2.0f).withCentre (centre));
    }

    const auto bezel = juce::Rectangle<float> ((radius + 1.6f) * 2.0f, (radius + 1.6f) * 2.0f).withCentre (centre);
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xffe9ecef), bezel.getTopLeft(),
                                             juce::Colour (0xff3b3f45), bezel.getBottomRight(), false));
    g.fillEllipse (bezel);
    g.setColour (juce::Colours::black.withAlpha (0.8f));
    g.fillEllipse (bezel.reduced (1.1f));

    const auto lens = juce::Rectangle<float> (radius * 2.0f, radius * 2.0f).withCentre (centre);
    juce::ColourGradient body (lit ? colour.interpolatedWith (juce::Colours::white, 0.75f)
                                   : colour.darker (2.2f).withMultipliedSaturation (0.6f),
                               centre.translated (-radius * 0.2f, -radius * 0.25f),
                               lit ? colour.darker (0.4f) : colour.darker (4.0f).withMultipliedSaturation (0.5f),
                               centre.translated (radius, radius), true);
    body.addColour (0.45, lit ? colour.brighter (0.2f) : colour.darker (3.0f).withMultipliedSaturation (0.55f));
    g.setGradientFill (body);
    g.fillEllipse (lens);

    const auto glint = juce::Rectangle<float> (radius * 0.9f, radius * 0.6f)
                           .withCentre (centre.translated (-radius * 0.3f, -radius * 0.45f));
    g.setGradientFill (juce::ColourGradient (juce::Colours::white.withAlpha (lit ? 0.85f : 0.55f), glint.getCentre(),
                                             juce::Colours::white.withAlpha (0.0f), glint.getTopRight(), true));
    g.fillEllipse (glint);
}

void drawScrew (juce::Graphics& g, juce::Point<float> centre, float radius, float angle)
{
    const auto head = juce::Rectangle<float> (radius * 2.0f, radius * 2.0f).withCentre (centre);
    juce::Path headPath;
    headPath.addEllipse (head);
    dropShadow (g, headPath, juce::Colours::black.withAlpha (0.6f), 2, { 1, 1 });

    juce::ColourGradient steel (juce::Colour (0xfff2f3f5), head.getTopLeft(), juce::Colour (0xff50545a),
                                head.getBottomRight(), false);
    steel.addColour (0.55, juce::Colour (0xff9ea3aa));
    g.setGradientFill (steel);
    g.fillEllipse (head);
    g.setColour (juce::Colours::black.withAlpha (0.45f));
    g.drawEllipse (head, 0.6f);

    for (const auto turn : { 0.0f, 0.5f * pi })
    {
        juce::Path slot;
        slot.addRoundedRectangle (-radius * 0.72f, -radius * 0.16f, radius * 1.44f, radius * 0.32f, radius * 0.1f);
        const auto place = juce::AffineTransform::rotation (angle + turn).translated (centre);
        g.setColour (juce::Colours::white.withAlpha (0.5f));
        g.fillPath (slot, place.translated (0.5f, 0.5f));
        g.setColour (juce::Colour (0xff1d1f22));
        g.fillPath (slot, place);
    }
}

void drawHexNut (juce::Graphics& g, juce::Point<float> centre, float radius, float angle)
{
    const auto corner = [&] (int i, float r) { return polar (centre, r, angle + (float) i * pi / 3.0f); };
    const auto inner = radius * 0.8f;

    juce::Path outline;
    outline.addPolygon (centre, 6, radius, angle);
    dropShadow (g, outline, juce::Colours::black.withAlpha (0.7f), 4, { 2, 3 });

    // Each chamfered side is lit by how squarely it faces the lamp.
    for (int i = 0; i < 6; ++i)
    {
        juce::Path facet;
        facet.startNewSubPath (corner (i, radius));
        facet.lineTo (corner (i + 1, radius));
        facet.lineTo (corner (i + 1, inner));
        facet.lineTo (corner (i, inner));
        facet.closeSubPath();
        const auto facing = std::cos (angle + ((float) i + 0.5f) * pi / 3.0f - (lightAngle + 0.5f * pi));
        const auto level = 0.45f + 0.4f * facing;
        g.setColour (juce::Colour::fromFloatRGBA (level, level * 1.01f, level * 1.04f, 1.0f));
        g.fillPath (facet);
    }

    juce::Path top;
    top.addPolygon (centre, 6, inner, angle);
    const auto box = top.getBounds();
    juce::ColourGradient face (juce::Colour (0xffe6e9ed), box.getTopLeft(), juce::Colour (0xff6c7178),
                               box.getBottomRight(), false);
    face.addColour (0.5, juce::Colour (0xffb4b9c0));
    g.setGradientFill (face);
    g.fillPath (top);
    g.setColour (juce::Colours::black.withAlpha (0.35f));
    g.strokePath (outline, juce::PathStrokeType (0.7f));
}

juce::Image spunMetalDisc (int width, int height, juce::Point<float> centre, float radius, juce::uint32 seed)
{
    juce::Image disc (juce::Image::ARGB, width, height, true, juce::SoftwareImageType());
    juce::Image::BitmapData pixels (disc, juce::Image::BitmapData::writeOnly);
    constexpr int subSamples = 4;

    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            int inside = 0;
            for (int sy = 0; sy < subSamples; ++sy)
                for (int sx = 0; sx < subSamples; ++sx)
                {
                    const auto dx = (float) x + ((float) sx + 0.5f) / subSamples - centre.x;
                    const auto dy = (float) y + ((float) sy + 0.5f) / subSamples - centre.y;
                    inside += dx * dx + dy * dy <= radius * radius ? 1 : 0;
                }
            if (inside == 0)
                continue;

            const auto dx = (float) x + 0.5f - centre.x;
            const auto dy = (float) y + 0.5f - centre.y;
            const auto r = std::sqrt (dx * dx + dy * dy);
            const auto theta = std::atan2 (dy, dx);

            // Turned metal shines in two opposite wedges along the light,
            // and every groove of the lathe has a brightness of its own.
            const auto glint = std::pow (0.5f + 0.5f * std::cos (2.0f * (theta - lightAngle)), 5.0f);
            const auto rings = smoothNoise (r * 2.2f, 0, seed) - 0.5f;
            const auto fine = noise ((int) (r * 6.0f), 1, seed) - 0.5f;
            auto level = 0.56f + 0.34f * glint + 0.09f * rings + 0.05f * fine - 0.05f * dy / radius;

            const auto edge = juce::jlimit (0.0f, 1.0f, (r - (radius - 2.0f)) / 2.0f);
            level += edge * 0.3f * std::cos (theta - lightAngle) - edge * 0.08f;

            level = juce::jlimit (0.0f, 1.0f, level);
            const auto alpha = (float) inside / (float) (subSamples * subSamples);
            pixels.setPixelColour (x, y, juce::Colour::fromFloatRGBA (level * 0.97f, level * 0.985f, level,
                                                                      alpha));
        }
    return disc;
}

void drawKey (juce::Graphics& g, juce::Rectangle<float> face, float corner, bool pressed,
              const std::function<void (juce::Rectangle<float> top)>& legend)
{
    juce::Path key;
    key.addRoundedRectangle (face, corner);
    if (! pressed)
        dropShadow (g, key, juce::Colours::black.withAlpha (0.7f), 3, { 0, 2 });

    g.setGradientFill (pressed ? juce::ColourGradient::vertical (juce::Colour (0xff1a1c20), face.getY(),
                                                                 juce::Colour (0xff2c3036), face.getBottom())
                               : juce::ColourGradient::vertical (juce::Colour (0xff4f555e), face.getY(),
                                                                 juce::Colour (0xff24282d), face.getBottom()));
    g.fillPath (key);
    if (pressed)
        innerShadow (g, key, juce::Colours::black.withAlpha (0.8f), 3, { 0, 2 });
    else
        bevelEdge (g, key, face, 0.35f, 0.45f, 1.0f);

    g.setColour (juce::Colours::black.withAlpha (0.85f));
    g.strokePath (key, juce::PathStrokeType (1.0f));
    legend (face.translated (0.0f, pressed ? 1.0f : 0.0f));
}

juce::Point<float> polar (juce::Point<float> centre, float radius, float angle) noexcept
{
    return centre.getPointOnCircumference (radius, angle);
}
} // namespace art
