#pragma once

#include <juce_core/juce_core.h>

#include <memory>

/** Parses and writes the plug-in's XML documents: host state and preset files.

    That text comes from project files and preset files, that is from anywhere,
    and juce::XmlDocument recurses once per nesting level, expands DTD entities
    and loops forever on a processing instruction followed by text. Text reaches
    it only when it is valid UTF-8 within the limits below and keeps to plain
    XML: elements with quoted attributes, text, comments, CDATA and the five
    named and the numeric character references; declarations and processing
    instructions only before the root element; no document type. What follows
    the root element is ignored, as juce::XmlDocument ignores it.
*/
class ModulixQR7150PatchXml
{
public:
    static constexpr size_t maxTextBytes = 1 << 20;
    static constexpr int maxDepth = 32;
    static constexpr int maxElements = 1024;
    static constexpr int maxAttributes = 4096;

    /** Parses UTF-8 text; a leading byte-order mark is skipped and a zero byte ends
        the text. Returns nullptr for text that is refused or malformed. */
    static std::unique_ptr<juce::XmlElement> parse (const char* text, size_t numBytes);

    /** Parses a file as parse() does; nullptr for a missing, unreadable or oversized file. */
    static std::unique_ptr<juce::XmlElement> parseFile (const juce::File& file);

    /** Writes a preset document as UTF-8 behind its XML declaration, indented, with
        attribute lists wrapped at 60 characters; missing folders are created. */
    static bool writeFile (const juce::XmlElement& xml, const juce::File& file);

    ModulixQR7150PatchXml() = delete;
};
