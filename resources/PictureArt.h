// Drawing helpers shared by every picture of the window: fonts read from the
// DejaVu files, printed text, deterministic textures, shadows, bevels, LEDs.
//
// Nothing here draws from a random source or a system font: every texture is
// a hash of the pixel position, so every run paints the same pixels.

#pragma once

#include <juce_graphics/juce_graphics.h>

#include <functional>
#include <vector>

namespace art
{
/** One picture: its group, its name in the group, its pixel size, its frame
    count, and the function that paints frame `index` into a frame-sized area
    whose top-left corner is the origin of the graphics context. */
struct Picture
{
    const char* group;
    const char* name;
    int width;
    int height;
    int frames;
    std::function<void (juce::Graphics&, juce::Rectangle<float> frame, int index)> drawFrame;
};

void addPanelPictures (std::vector<Picture>& pictures);
void addUpperPanelPictures (std::vector<Picture>& pictures);
void addDialogPictures (std::vector<Picture>& pictures);

/** Paints every frame of a picture into a fresh image of the picture's size. */
juce::Image renderPicture (const Picture& picture);

/** Paints frame `index` of a picture with its top-left corner at `topLeft`,
    touching nothing outside the frame. */
void paintFrame (juce::Graphics& g, const Picture& picture, int index, juce::Point<int> topLeft);

//==============================================================================
enum class Face
{
    sans,
    sansBold,
    condensedBold,
    serifBoldItalic
};

/** Reads the DejaVu faces from the font folder; false when one is missing. */
bool loadFaces (const juce::File& fontDir);

juce::Font font (Face face, float height, float extraKerning = 0.0f);

/** The largest font of `face`, at most `height` high, in which `text` fits `maxWidth`. */
juce::Font fittedFont (Face face, float height, const juce::String& text, float maxWidth, float extraKerning = 0.0f);

/** Height of a capital letter of the font, for centring words on a line. */
float capHeight (const juce::Font& f);

/** The outline of one line of text with its baseline at `baseline`, placed
    left, centred or right of `x` by the horizontal part of `justification`. */
juce::Path textPath (const juce::String& text, const juce::Font& f, float x, float baseline,
                     juce::Justification justification);

/** The outline of one line of text whose capitals are centred vertically in `area`. */
juce::Path textPathIn (const juce::String& text, const juce::Font& f, juce::Rectangle<float> area,
                       juce::Justification justification);

/** Fills a shape over a copy of itself in translucent black, `drop` pixels lower. */
void fillWithShadow (juce::Graphics& g, const juce::Path& shape, juce::Colour colour, float shadowAlpha,
                     float drop = 1.0f);

/** Ink printed on the panel: the text in `colour` over a faint shadow below it. */
void printText (juce::Graphics& g, const juce::String& text, const juce::Font& f, juce::Rectangle<float> area,
                juce::Justification justification, juce::Colour colour, float shadowAlpha = 0.35f);

//==============================================================================
/** A well-mixed 32-bit hash of a pixel position and a seed. */
juce::uint32 hash (int x, int y, juce::uint32 seed) noexcept;

/** Hash mapped to 0 .. 1. */
float noise (int x, int y, juce::uint32 seed) noexcept;

/** Fine horizontal streaks of brushed metal: white and black pixels whose
    alpha carries the grain, to be laid over a base colour. */
juce::Image brushedTexture (int width, int height, juce::uint32 seed, float strength);

/** Sparse metal flakes and a fine grain for enamel paint. */
juce::Image flakeTexture (int width, int height, juce::uint32 seed);

/** Fills `area` of the path's inside with a texture laid over what is drawn. */
void overlayTexture (juce::Graphics& g, const juce::Path& shape, const juce::Image& texture, float opacity = 1.0f);

//==============================================================================
/** A soft shadow of `shape`, offset by `offset`, of the given blur radius. */
void dropShadow (juce::Graphics& g, const juce::Path& shape, juce::Colour colour, int radius,
                 juce::Point<int> offset);

/** A shadow cast inwards from the edge of `hole`, as in a recess. */
void innerShadow (juce::Graphics& g, const juce::Path& hole, juce::Colour colour, int radius,
                  juce::Point<int> offset);

/** A thin light edge on the top-left and a dark one on the bottom-right of `shape`. */
void bevelEdge (juce::Graphics& g, const juce::Path& shape, juce::Rectangle<float> bounds, float light,
                float dark, float thickness = 1.0f);

/** A round LED in a small chrome bezel; lit LEDs get a hot centre and a halo. */
void drawLed (juce::Graphics& g, juce::Point<float> centre, float radius, juce::Colour colour, bool lit,
              float haloRadius);

/** A cross-head screw seen from above, its slot turned by `angle` radians. */
void drawScrew (juce::Graphics& g, juce::Point<float> centre, float radius, float angle);

/** A regular hexagon nut in polished steel. */
void drawHexNut (juce::Graphics& g, juce::Point<float> centre, float radius, float angle);

/** A disc of spun aluminium of the given radius around `centre`, in an image
    of the given size: concentric grain, two opposite glints, a turned edge. */
juce::Image spunMetalDisc (int width, int height, juce::Point<float> centre, float radius, juce::uint32 seed);

/** A plastic push key in `face`: raised with a lit top edge and a shadow, or
    sunk and darker while pressed. `legend` then prints on the key's top, whose
    area it is given (one pixel lower while pressed). */
void drawKey (juce::Graphics& g, juce::Rectangle<float> face, float corner, bool pressed,
              const std::function<void (juce::Rectangle<float> top)>& legend);

juce::Point<float> polar (juce::Point<float> centre, float radius, float angle) noexcept;

//==============================================================================
namespace colours
{
    const juce::Colour ink { 0xfff4efe2 };        // panel print, warm white
    const juce::Colour dialogText { 0xffd3d3d3 }; // the kit's dialog text, RGB 211
    const juce::Colour enamelTop { 0xff2f86a6 };
    const juce::Colour enamelBottom { 0xff134b66 };
    const juce::Colour amberLed { 0xffffa21a };
    const juce::Colour redLed { 0xffff2a1a };
    const juce::Colour accent { 0xff47c4e6 };
}
} // namespace art
