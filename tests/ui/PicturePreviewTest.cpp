// The pictures as a user meets them: every control's frame placed over the
// background at the editor's bounds, the dialogs with their icons, keys and
// texts, written under the snapshot folder to be looked at; and the knob
// strips measured, so that a pointer that does not sweep its 270 degrees
// is caught.

#include "ModulixDialogBoxBinImg.h"
#include "ModulixModulationUpperPanelBinImg.h"
#include "ModulixQR7150BinImg.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

#include <cmath>

namespace
{
juce::Image decode (const char* data, int size)
{
    return juce::ImageFileFormat::loadFrom (data, (size_t) size);
}

#define PICTURE(group, name) decode (group::name, group::name##Size)

struct Strip
{
    juce::Image image;
    int frames;

    int frameHeight() const { return image.getHeight() / frames; }

    juce::Image frame (int index) const
    {
        return image.getClippedImage ({ 0, index * frameHeight(), image.getWidth(), frameHeight() });
    }
};

/** Draws frame `index` of a strip scaled into `bounds`, as the kit's controls do. */
void place (juce::Graphics& g, const Strip& strip, int index, juce::Rectangle<int> bounds)
{
    g.drawImage (strip.image, bounds.getX(), bounds.getY(), bounds.getWidth(), bounds.getHeight(), 0,
                 index * strip.frameHeight(), strip.image.getWidth(), strip.frameHeight());
}

juce::Font previewFont (float height)
{
    static const auto face = []
    {
        juce::MemoryBlock data;
        juce::File (MODULIX_PICTURE_FONT_DIR).getChildFile ("DejaVuSans.ttf").loadFileAsData (data);
        return juce::Typeface::createSystemTypefaceFor (data.getData(), data.getSize());
    }();
    return juce::Font (face).withHeight (height);
}

void writeSnapshot (const juce::Image& image, const juce::String& name)
{
    const auto folder = juce::File (MODULIX_SNAPSHOT_DIR).getChildFile ("pictures");
    ASSERT_TRUE (folder.createDirectory());
    const auto file = folder.getChildFile (name + ".png");
    file.deleteFile();
    juce::FileOutputStream out (file);
    ASSERT_TRUE (out.openedOk());
    ASSERT_TRUE (juce::PNGImageFormat().writeImageToStream (image, out));
}

/** A copy `factor` times as large, pixel for pixel, for looking at details. */
juce::Image enlarged (const juce::Image& image, int factor = 2)
{
    juce::Image big (juce::Image::ARGB, image.getWidth() * factor, image.getHeight() * factor, true);
    juce::Graphics g (big);
    g.setImageResamplingQuality (juce::Graphics::lowResamplingQuality);
    g.drawImageTransformed (image, juce::AffineTransform::scale ((float) factor));
    return big;
}

//==============================================================================
/** One way the window can look: every control's frame. */
struct PanelState
{
    const char* name;
    int knob[4]; // rate or synced rate, depth, mix, level
    int type;
    int footswitch;
    bool sync, stereo, atB;
    int pressed; // 0 none, 1 file, 2 previous, 3 next, 4 copy
};

juce::Image composeEditor (const PanelState& state)
{
    juce::Image window (juce::Image::ARGB, 325, 454, true);
    juce::Graphics g (window);
    g.drawImageAt (PICTURE (ModulixQR7150BinImg, bg_chorus_png), 0, 0);

    using Upper = Strip;
    place (g, Upper { PICTURE (ModulixModulationUpperPanelBinImg, file_png), 2 }, state.pressed == 1, { 6, 3, 58, 26 });
    place (g, Upper { PICTURE (ModulixModulationUpperPanelBinImg, left_png), 2 }, state.pressed == 2, { 263, 3, 29, 26 });
    place (g, Upper { PICTURE (ModulixModulationUpperPanelBinImg, right_png), 2 }, state.pressed == 3, { 292, 3, 29, 26 });
    place (g, Upper { PICTURE (ModulixModulationUpperPanelBinImg, ab_png), 2 }, state.atB, { 92, 35, 62, 23 });
    const auto copy = state.atB ? PICTURE (ModulixModulationUpperPanelBinImg, btoa_png)
                                : PICTURE (ModulixModulationUpperPanelBinImg, atob_png);
    place (g, Upper { copy, 2 }, state.pressed == 4, { 163, 30, 75, 25 });
    place (g, Upper { PICTURE (ModulixModulationUpperPanelBinImg, stereo_png), 2 }, state.stereo, { 263, 62, 54, 22 });
    place (g, Upper { PICTURE (ModulixModulationUpperPanelBinImg, sync_png), 2 }, state.sync, { 7, 62, 54, 22 });

    place (g, { PICTURE (ModulixQR7150BinImg, bypass_png), 4 }, state.footswitch, { 222, 354, 90, 99 });
    // The type switch draws its frame at its own size from its top-left corner.
    const Strip type { PICTURE (ModulixQR7150BinImg, type_png), 3 };
    g.drawImageAt (type.frame (state.type), 106, 137);

    const auto rate = state.sync ? Strip { PICTURE (ModulixQR7150BinImg, rate_sync_png), 19 }
                                 : Strip { PICTURE (ModulixQR7150BinImg, rate_png), 101 };
    place (g, rate, state.knob[0], { 14, 126, 73, 72 });
    place (g, { PICTURE (ModulixQR7150BinImg, depth_png), 101 }, state.knob[1], { 68, 225, 73, 72 });
    place (g, { PICTURE (ModulixQR7150BinImg, mix_png), 101 }, state.knob[2], { 180, 225, 73, 72 });
    place (g, { PICTURE (ModulixQR7150BinImg, level_png), 101 }, state.knob[3], { 237, 126, 73, 72 });

    g.setColour (juce::Colours::black);
    g.setFont (previewFont (15.0f));
    g.drawText (state.atB ? "Wide Shimmer*" : "Init", juce::Rectangle<int> (67, 3, 192, 26).reduced (5, 1),
                juce::Justification::centred);
    return window;
}

//==============================================================================
juce::Image composeMessageBox (int buttons, const juce::Image& icon, const juce::String& text)
{
    juce::Image box (juce::Image::ARGB, 325, 454, true);
    juce::Graphics g (box);
    g.drawImageAt (PICTURE (ModulixDialogBoxBinImg, dialog_box_clean_png), 0, 0);
    g.drawImageAt (icon, 162 - icon.getWidth() / 2, 12);
    g.setColour (juce::Colour (211, 211, 211));
    g.setFont (previewFont (15.0f));
    g.drawFittedText (text, { 32, 136, 260, 182 }, juce::Justification::centred, 8);

    const Strip ok { PICTURE (ModulixDialogBoxBinImg, ok_png), 2 };
    const Strip cancel { PICTURE (ModulixDialogBoxBinImg, cancel_png), 2 };
    if (buttons == 2)
    {
        place (g, ok, 0, { 16, 307, 132, 51 });
        place (g, cancel, 1, { 179, 307, 132, 51 });
    }
    else
    {
        place (g, ok, 0, { 97, 307, 132, 51 });
    }
    return box;
}

juce::Image composeNewFolder()
{
    juce::Image box (juce::Image::ARGB, 325, 454, true);
    juce::Graphics g (box);
    g.drawImageAt (PICTURE (ModulixDialogBoxBinImg, dialog_box_clean_png), 0, 0);
    g.setColour (juce::Colour (211, 211, 211));
    g.setFont (previewFont (15.0f));
    g.drawText ("Please enter the name of the new folder:", juce::Rectangle<int> (0, 136, 325, 136),
                juce::Justification::centred);
    g.setColour (juce::Colours::white);
    g.fillRect (23, 229, 280, 24);
    g.setColour (juce::Colours::black);
    g.drawText ("Live Sets", juce::Rectangle<int> (27, 229, 272, 24), juce::Justification::centredLeft);
    place (g, { PICTURE (ModulixDialogBoxBinImg, ok_png), 2 }, 0, { 16, 307, 132, 51 });
    place (g, { PICTURE (ModulixDialogBoxBinImg, cancel_png), 2 }, 0, { 179, 307, 132, 51 });
    return box;
}

juce::Image composeBrowser (const juce::Image& title, const juce::Image& okStrip)
{
    juce::Image box (juce::Image::ARGB, 325, 454, true);
    juce::Graphics g (box);
    g.drawImageAt (PICTURE (ModulixDialogBoxBinImg, file_browser_clean_png), 0, 0);
    g.drawImageAt (title, 0, 0);

    // Where the file list goes, with a few rows as a list would draw them.
    g.setFont (previewFont (14.0f));
    const char* const rows[] = { "Factory", "Live", "Init.vmxp", "Wide Shimmer.vmxp" };
    for (int i = 0; i < 4; ++i)
    {
        g.setColour (juce::Colour (211, 211, 211));
        g.drawText (rows[i], juce::Rectangle<int> (20, 92 + i * 22, 280, 20), juce::Justification::centredLeft);
    }
    g.setColour (juce::Colours::white.withAlpha (0.15f));
    g.drawRect (12, 59, 300, 275);
    g.setColour (juce::Colours::black); // pictures take the opacity of the current colour

    place (g, { PICTURE (ModulixDialogBoxBinImg, newfolder_png), 2 }, 0, { 16, 336, 132, 51 });
    place (g, { okStrip, 2 }, 0, { 179, 336, 132, 51 });
    place (g, { PICTURE (ModulixDialogBoxBinImg, cancel_png), 2 }, 1, { 179, 386, 132, 51 });
    return box;
}

juce::Image composeAbout()
{
    juce::Image about (juce::Image::ARGB, 325, 455, true);
    juce::Graphics g (about);
    g.drawImageAt (PICTURE (ModulixQR7150BinImg, about_png), 0, 0);
    g.setColour (juce::Colour (211, 211, 211));
    g.setFont (previewFont (15.0f));
    // The label's own border leaves five pixels on the left and one below.
    g.drawText ("1.0.1 (64bit)", juce::Rectangle<int> (155, 113, 90, 14), juce::Justification::bottomLeft);
    return about;
}

/** Chosen frames of a strip side by side on a mid-grey card. */
juce::Image sheet (const Strip& strip, std::initializer_list<int> frames)
{
    const auto w = strip.image.getWidth();
    const auto h = strip.frameHeight();
    juce::Image card (juce::Image::ARGB, w * (int) frames.size(), h, true);
    juce::Graphics g (card);
    g.fillAll (juce::Colour (0xff23607a));
    int x = 0;
    for (const auto index : frames)
    {
        g.drawImageAt (strip.frame (index), x, 0);
        x += w;
    }
    return card;
}

//==============================================================================
/** The pointer's direction, in degrees clockwise from straight up: the mean
    direction of the bright print on the knob's dark grip ring. */
double pointerAngle (const juce::Image& frame)
{
    const juce::Point<double> centre (frame.getWidth() * 0.5, frame.getHeight() * 0.5);
    double sx = 0.0, sy = 0.0;
    for (int y = 0; y < frame.getHeight(); ++y)
        for (int x = 0; x < frame.getWidth(); ++x)
        {
            const juce::Point<double> d (x + 0.5 - centre.x, y + 0.5 - centre.y);
            const auto r = d.getDistanceFromOrigin();
            const auto pixel = frame.getPixelAt (x, y);
            if (r < 20.5 || r > 23.0 || pixel.getAlpha() < 200 || pixel.getPerceivedBrightness() < 0.7f)
                continue;
            sx += d.x / r;
            sy += d.y / r;
        }
    return juce::radiansToDegrees (std::atan2 (sx, -sy));
}

struct KnobCase
{
    const char* name;
    const char* data;
    int size;
    int frames;
};

#define KNOB(name, frames) KnobCase { #name, ModulixQR7150BinImg::name, ModulixQR7150BinImg::name##Size, frames }

const KnobCase knobCases[] = { KNOB (rate_png, 101), KNOB (depth_png, 101), KNOB (mix_png, 101),
                               KNOB (level_png, 101), KNOB (rate_sync_png, 19) };

#undef KNOB

class KnobStripTest : public ::testing::TestWithParam<KnobCase> {};
} // namespace

TEST_P (KnobStripTest, PointerSweeps270DegreesFromSevenThirtyToFourThirtyInEqualSteps)
{
    const auto& knob = GetParam();
    const Strip strip { decode (knob.data, knob.size), knob.frames };
    ASSERT_TRUE (strip.image.isValid());

    for (int i = 0; i < knob.frames; ++i)
    {
        const auto expected = -135.0 + 270.0 * i / (knob.frames - 1);
        EXPECT_NEAR (pointerAngle (strip.frame (i)), expected, 2.5) << knob.name << " frame " << i;
    }
}

INSTANTIATE_TEST_SUITE_P (EmbeddedKnobs, KnobStripTest, ::testing::ValuesIn (knobCases),
                          [] (const auto& testInfo) { return juce::String (testInfo.param.name).toStdString(); });

TEST (PicturePreview, WritesTheWindowAndDialogsAsTheyAppear)
{
    const PanelState states[] = {
        { "editor_default", { 20, 20, 50, 50 }, 0, 2, false, false, false, 0 },
        { "editor_minimum_bypassed", { 0, 0, 0, 0 }, 1, 0, false, false, false, 1 },
        { "editor_maximum_sync_b", { 18, 100, 100, 100 }, 2, 3, true, true, true, 4 },
    };
    for (const auto& state : states)
    {
        const auto window = composeEditor (state);
        writeSnapshot (window, state.name);
        writeSnapshot (enlarged (window), juce::String (state.name) + "_x2");
        writeSnapshot (enlarged (window.getClippedImage ({ 0, 0, 325, 96 }), 4), juce::String (state.name) + "_deck_x4");
    }

    const Strip rate { PICTURE (ModulixQR7150BinImg, rate_png), 101 };
    const Strip sync { PICTURE (ModulixQR7150BinImg, rate_sync_png), 19 };
    writeSnapshot (enlarged (sheet (rate, { 0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100 })), "knob_sweep");
    writeSnapshot (enlarged (sheet (sync, { 0, 2, 4, 6, 8, 9, 10, 12, 14, 16, 18 })), "knob_sync_sweep");
    writeSnapshot (enlarged (sheet ({ PICTURE (ModulixQR7150BinImg, type_png), 3 }, { 0, 1, 2 })), "type_switch");
    writeSnapshot (enlarged (sheet ({ PICTURE (ModulixQR7150BinImg, bypass_png), 4 }, { 0, 1, 2, 3 })), "footswitch");

    writeSnapshot (composeMessageBox (2, PICTURE (ModulixDialogBoxBinImg, icononly_asterix_png),
                                      "Are you sure you want to overwrite this preset?\n\n\"Live/Wide Shimmer.vmxp\""),
                   "dialog_overwrite");
    writeSnapshot (composeMessageBox (1, PICTURE (ModulixDialogBoxBinImg, icononly_frown_png),
                                      "User manual on: \"/usr/share/doc/Modulix QR7150 Manual.pdf\" is not available."),
                   "dialog_frown");
    writeSnapshot (composeMessageBox (1, PICTURE (ModulixDialogBoxBinImg, icononly_smile_png), "Preset saved."),
                   "dialog_smile");
    writeSnapshot (composeNewFolder(), "dialog_new_folder");
    writeSnapshot (composeBrowser (PICTURE (ModulixDialogBoxBinImg, browser_textonly_save_as_png),
                                   PICTURE (ModulixDialogBoxBinImg, save_png)),
                   "dialog_browser_save_as");
    writeSnapshot (composeBrowser (PICTURE (ModulixDialogBoxBinImg, browser_textonly_load_png),
                                   PICTURE (ModulixDialogBoxBinImg, ok_png)),
                   "dialog_browser_load");
    writeSnapshot (composeAbout(), "about");

    const juce::Image keys[] = { PICTURE (ModulixDialogBoxBinImg, ok_png), PICTURE (ModulixDialogBoxBinImg, cancel_png),
                                 PICTURE (ModulixDialogBoxBinImg, save_png),
                                 PICTURE (ModulixDialogBoxBinImg, newfolder_png),
                                 PICTURE (ModulixDialogBoxBinImg, overwrite_png) };
    juce::Image keySheet (juce::Image::ARGB, 132 * 5, 102, true);
    {
        juce::Graphics g (keySheet);
        g.fillAll (juce::Colour (0xff1f2328));
        for (int i = 0; i < 5; ++i)
            g.drawImageAt (keys[i], 132 * i, 0);
    }
    writeSnapshot (enlarged (keySheet), "dialog_keys");
}
