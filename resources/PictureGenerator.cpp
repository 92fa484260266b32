// Draws every picture of the window and writes them as PNG byte arrays, one
// header/source pair per picture group, plus the PNG files themselves.
//
//   modulix_picture_generator SOURCE_DIR PNG_DIR FONT_DIR
//
// Everything is drawn from code and from the DejaVu font files in FONT_DIR: no
// system font, no randomness, so every run writes the same bytes.

#include <juce_graphics/juce_graphics.h>

#include <functional>
#include <map>
#include <vector>

namespace
{
struct Picture
{
    const char* group;
    const char* name;
    int width;
    int height;
    int frames;
    std::function<void (juce::Graphics&, juce::Rectangle<float> frame, int index)> drawFrame;
};

juce::Typeface::Ptr loadTypeface (const juce::File& fontDir, const char* fileName)
{
    juce::MemoryBlock data;
    if (! fontDir.getChildFile (fileName).loadFileAsData (data))
        return nullptr;
    return juce::Typeface::createSystemTypefaceFor (data.getData(), data.getSize());
}

juce::Typeface::Ptr boldFace;

juce::Font font (float height)
{
    return juce::Font (boldFace).withHeight (height);
}

void drawPlaceholder (juce::Graphics& g, juce::Rectangle<float> frame, int index, const char* name)
{
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff5a6470), frame.getTopLeft(),
                                             juce::Colour (0xff2a3038), frame.getBottomLeft(), false));
    g.fillRect (frame);
    g.setColour (juce::Colours::white);
    g.setFont (font (juce::jmin (11.0f, frame.getHeight() * 0.4f)));
    g.drawFittedText (juce::String (name) + " " + juce::String (index), frame.toNearestInt(),
                      juce::Justification::centred, 2);
}

std::vector<Picture> allPictures()
{
    std::vector<Picture> pictures;
    const auto add = [&pictures] (const char* group, const char* name, int w, int h, int frames)
    {
        pictures.push_back ({ group, name, w, h, frames,
                              [name] (juce::Graphics& g, juce::Rectangle<float> frame, int index)
                              { drawPlaceholder (g, frame, index, name); } });
    };

    const char* const panel = "ModulixQR7150BinImg";
    add (panel, "about_png", 325, 455, 1);
    add (panel, "bg_chorus_png", 325, 454, 1);
    add (panel, "bypass_png", 90, 396, 4);
    for (auto* knob : { "rate_png", "depth_png", "mix_png", "level_png" })
        add (panel, knob, 73, 7272, 101);
    add (panel, "rate_sync_png", 73, 1368, 19);
    add (panel, "type_png", 48, 240, 3);

    const char* const upper = "ModulixModulationUpperPanelBinImg";
    add (upper, "ab_png", 62, 46, 2);
    add (upper, "atob_png", 75, 50, 2);
    add (upper, "btoa_png", 75, 50, 2);
    add (upper, "file_png", 58, 52, 2);
    add (upper, "left_png", 29, 52, 2);
    add (upper, "right_png", 29, 52, 2);
    add (upper, "stereo_png", 54, 44, 2);
    add (upper, "sync_png", 54, 44, 2);

    const char* const dialogs = "ModulixDialogBoxBinImg";
    for (auto* full : { "dialog_box_clean_png", "file_browser_clean_png", "browser_textonly_save_as_png",
                        "browser_textonly_load_png", "icononly_asterix_png", "icononly_smile_png",
                        "icononly_frown_png" })
        add (dialogs, full, 325, 454, 1);
    for (auto* button : { "ok_png", "cancel_png", "save_png", "newfolder_png", "overwrite_png" })
        add (dialogs, button, 132, 102, 2);

    return pictures;
}

juce::MemoryBlock render (const Picture& picture)
{
    juce::Image image (juce::Image::ARGB, picture.width, picture.height, true, juce::SoftwareImageType());
    {
        juce::Graphics g (image);
        const int frameHeight = picture.height / picture.frames;
        for (int i = 0; i < picture.frames; ++i)
        {
            juce::Graphics::ScopedSaveState state (g);
            const auto frame = juce::Rectangle<int> (0, i * frameHeight, picture.width, frameHeight);
            g.reduceClipRegion (frame);
            picture.drawFrame (g, frame.toFloat(), i);
        }
    }

    juce::MemoryOutputStream png;
    juce::PNGImageFormat().writeImageToStream (image, png);
    return png.getMemoryBlock();
}

juce::String byteArray (const juce::MemoryBlock& data)
{
    juce::String text;
    const auto* bytes = static_cast<const unsigned char*> (data.getData());
    for (size_t i = 0; i < data.getSize(); ++i)
        text << (i % 20 == 0 ? "\n    " : "") << juce::String (bytes[i]) << ",";
    return text;
}

bool writeGroup (const juce::File& sourceDir, const juce::String& group,
                 const std::vector<std::pair<const Picture*, juce::MemoryBlock>>& rendered)
{
    juce::String header, source;
    header << "// Drawn by modulix_picture_generator; do not edit.\n#pragma once\n\nnamespace " << group << "\n{\n";
    source << "// Drawn by modulix_picture_generator; do not edit.\n#include \"" << group << ".h\"\n\nnamespace " << group << "\n{\n";

    for (const auto& [picture, data] : rendered)
    {
        const juce::String name (picture->name);
        header << "    extern const char* const " << name << ";\n"
               << "    extern const int " << name << "Size;\n";
        source << "static const unsigned char " << name << "Data[] = {" << byteArray (data) << "\n};\n"
               << "const char* const " << name << " = reinterpret_cast<const char*> (" << name << "Data);\n"
               << "const int " << name << "Size = " << juce::String ((int) data.getSize()) << ";\n\n";
    }
    header << "}\n";
    source << "}\n";

    return sourceDir.getChildFile (group + ".h").replaceWithText (header)
        && sourceDir.getChildFile (group + ".cpp").replaceWithText (source);
}
} // namespace

int main (int argc, char* argv[])
{
    if (argc != 4)
    {
        std::fprintf (stderr, "usage: %s SOURCE_DIR PNG_DIR FONT_DIR\n", argv[0]);
        return 2;
    }
    const juce::File sourceDir (juce::String::fromUTF8 (argv[1]));
    const juce::File pngDir (juce::String::fromUTF8 (argv[2]));
    const juce::File fontDir (juce::String::fromUTF8 (argv[3]));

    boldFace = loadTypeface (fontDir, "DejaVuSansCondensed-Bold.ttf");
    if (boldFace == nullptr || ! sourceDir.createDirectory() || ! pngDir.createDirectory())
    {
        std::fprintf (stderr, "cannot read the fonts or create the output folders\n");
        return 1;
    }

    const auto pictures = allPictures();
    std::map<juce::String, std::vector<std::pair<const Picture*, juce::MemoryBlock>>> groups;
    for (const auto& picture : pictures)
    {
        auto data = render (picture);
        pngDir.getChildFile (juce::String (picture.name).upToLastOccurrenceOf ("_png", false, false) + ".png")
              .replaceWithData (data.getData(), data.getSize());
        groups[picture.group].emplace_back (&picture, std::move (data));
    }

    for (const auto& [group, rendered] : groups)
        if (! writeGroup (sourceDir, group, rendered))
            return 1;

    return 0;
}
