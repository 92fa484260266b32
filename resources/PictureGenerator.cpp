// Draws every picture of the window and writes them as PNG byte arrays, one
// header/source pair per picture group, plus the PNG files themselves.
//
//   modulix_picture_generator SOURCE_DIR PNG_DIR FONT_DIR
//
// Everything is drawn from code and from the DejaVu font files in FONT_DIR: no
// system font, no randomness, so every run writes the same bytes.

#include "PictureArt.h"

#include <map>
#include <vector>

namespace
{
using art::Picture;

juce::MemoryBlock encode (const Picture& picture)
{
    juce::MemoryOutputStream png;
    juce::PNGImageFormat().writeImageToStream (art::renderPicture (picture), png);
    return png.getMemoryBlock();
}

// Streams, not strings: the knob strips run to megabytes of source text.
void writeByteArray (juce::OutputStream& out, const juce::MemoryBlock& data)
{
    const auto* bytes = static_cast<const unsigned char*> (data.getData());
    for (size_t i = 0; i < data.getSize(); ++i)
    {
        if (i % 20 == 0)
            out << "\n    ";
        out << (int) bytes[i] << ",";
    }
}

bool writeGroup (const juce::File& sourceDir, const juce::String& group,
                 const std::vector<std::pair<const Picture*, juce::MemoryBlock>>& rendered)
{
    juce::String header;
    juce::MemoryOutputStream source;
    header << "// Drawn by modulix_picture_generator; do not edit.\n#pragma once\n\nnamespace " << group << "\n{\n";
    source << "// Drawn by modulix_picture_generator; do not edit.\n#include \"" << group << ".h\"\n\nnamespace " << group << "\n{\n";

    for (const auto& [picture, data] : rendered)
    {
        const juce::String name (picture->name);
        header << "    extern const char* const " << name << ";\n"
               << "    extern const int " << name << "Size;\n";
        source << "static const unsigned char " << name << "Data[] = {";
        writeByteArray (source, data);
        source << "\n};\n"
               << "const char* const " << name << " = reinterpret_cast<const char*> (" << name << "Data);\n"
               << "const int " << name << "Size = " << juce::String ((int) data.getSize()) << ";\n\n";
    }
    header << "}\n";
    source << "}\n";

    return sourceDir.getChildFile (group + ".h").replaceWithText (header)
        && sourceDir.getChildFile (group + ".cpp").replaceWithData (source.getData(), source.getDataSize());
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

    if (! art::loadFaces (fontDir) || ! sourceDir.createDirectory() || ! pngDir.createDirectory())
    {
        std::fprintf (stderr, "cannot read the fonts or create the output folders\n");
        return 1;
    }

    // The about box draws the whole panel from the other pictures, so the
    // list lives here, where it outlives every drawing.
    std::vector<Picture> pictures;
    art::addPanelPictures (pictures);
    art::addUpperPanelPictures (pictures);
    art::addDialogPictures (pictures);

    std::map<juce::String, std::vector<std::pair<const Picture*, juce::MemoryBlock>>> groups;
    for (const auto& picture : pictures)
    {
        auto data = encode (picture);
        pngDir.getChildFile (juce::String (picture.name).upToLastOccurrenceOf ("_png", false, false) + ".png")
              .replaceWithData (data.getData(), data.getSize());
        groups[picture.group].emplace_back (&picture, std::move (data));
    }

    for (const auto& [group, rendered] : groups)
        if (! writeGroup (sourceDir, group, rendered))
            return 1;

    return 0;
}
