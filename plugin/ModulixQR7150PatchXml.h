#pragma once

#include <juce_core/juce_core.h>

#include <memory>

/** Parses and writes the plug-in's XML documents: host state and preset files.

    That text comes from project files and preset files, that is from anywhere,
    and juce::XmlDocument recurses once per nesting level, expands DTD entities
    and loops forever on a processing instruction followed by text. Text reaches
    it only when it is strict UTF-8 (juce::XmlDocument reads overlong forms as
    the characters they spell, which a check of the bytes would not see),
    within the limits below, and keeps to plain XML: elements with quoted
    attributes, text, comments, CDATA and the five named and the numeric
    character references; declarations and processing instructions only before
    the root element; no document type. What follows the root element is
    ignored, as juce::XmlDocument ignores it, but must be strict UTF-8 too.
*/
class ModulixQR7150PatchXml
{
public:
    static constexpr size_t maxTextBytes = 1 << 20;
    static constexpr int maxDepth = 32;
    static constexpr int maxElements = 1024;
    static constexpr int maxAttributes = 4096;

    /** The root tag of every document, the element of a preset's identity and values,
        and the product id that element names first. */
    static constexpr const char* rootTag = "veloraPatch";
    static constexpr const char* propertiesTag = "Properties";
    static constexpr const char* productId = "com.velora.ModulixQR7150";

    /** Parses strict UTF-8 text; a leading byte-order mark is skipped and a zero byte ends
        the text. Returns nullptr for text that is refused or malformed. */
    static std::unique_ptr<juce::XmlElement> parse (const char* text, size_t numBytes);

    /** Parses a regular file as parse() does; nullptr for a missing, unreadable or
        oversized file and for anything else of that name (folder, pipe, device). What
        the path names is opened without waiting and then looked at, so a pipe swapped
        in at any moment never blocks the caller. */
    static std::unique_ptr<juce::XmlElement> parseFile (const juce::File& file);

    /** Writes a preset document as UTF-8 behind its XML declaration, indented, with
        attribute lists wrapped at 60 characters; missing folders are created. The
        text goes into a short hidden temporary file beside the target, which replaces
        the target only once it reads back as every byte of the document: on any
        failure the old file stays as it was and the temporary file is removed. True
        once the target has been replaced. A target that exists but is no regular
        file is refused. */
    static bool writeFile (const juce::XmlElement& xml, const juce::File& file);

    /** True for a preset document of this product: the root tag is ours and its
        first "Properties" child names this product by its first attribute. */
    static bool isPresetOfThisProduct (const juce::XmlElement& root);

    /** True for a regular file, also through symbolic links. */
    static bool isRegularFile (const juce::File& file);

    ModulixQR7150PatchXml() = delete;

private:
    /** Reads at most maxBytes of a regular file; false for anything else or a longer file. */
    static bool readRegularFile (const juce::File& file, size_t maxBytes, juce::MemoryBlock& data);

    /** Reads the open file from its start, as the other overload does. */
    static bool readRegularFile (int descriptor, size_t maxBytes, juce::MemoryBlock& data);

    /** Creates a new file of an unused temporary name in the open folder; its
        descriptor, or -1 with an empty name. */
    static int createTemporaryFile (int folder, juce::String& name);

    /** Writes every byte to the open file, flushed to the disk. */
    static bool writeWhole (int descriptor, const void* data, size_t numBytes);

    /** True when the open file holds exactly those bytes. */
    static bool holdsExactly (int descriptor, const void* data, size_t numBytes);

    /** True when the written text parses as the document it was written from. */
    static bool readsBackAs (const juce::MemoryOutputStream& text, const juce::XmlElement& xml);
};
