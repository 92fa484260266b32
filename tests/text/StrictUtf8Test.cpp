#include "StrictUtf8.h"

#include <juce_core/juce_core.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace
{
struct Text
{
    const char* what;
    std::string bytes;
};

const std::vector<Text> strictTexts {
    { "empty", "" },
    { "ASCII", "<veloraPatch a=\"1\"/>" },
    { "two bytes, lowest and highest", "\xC2\x80 \xDF\xBF" },
    { "three bytes, lowest and highest", "\xE0\xA0\x80 \xEF\xBF\xBF" },
    { "just below the surrogates, just above", "\xED\x9F\xBF \xEE\x80\x80" },
    { "four bytes, lowest and U+10FFFF", "\xF0\x90\x80\x80 \xF4\x8F\xBF\xBF" },
    { "a name with accents", "Caf\xC3\xA9 Ch\xC5\x93ur" },
};

const std::vector<Text> otherTexts {
    { "lone continuation byte", "a\x80" "b" },
    { "overlong '<' in two bytes", "\xC0\xBC" },
    { "overlong '/' in two bytes", "a\xC1\xAF" "b" },
    { "overlong in three bytes", "\xE0\x80\xAF" },
    { "overlong in four bytes", "\xF0\x80\x80\xAF" },
    { "surrogate", "\xED\xA0\x80" },
    { "above U+10FFFF", "\xF4\x90\x80\x80" },
    { "five-byte lead", "\xF8\x88\x80\x80\x80" },
    { "sequence cut at the end", "ab\xE2\x82" },
    { "sequence cut by ASCII", "\xE2\x82" "a" },
    { "byte FF", "\xFF" },
};

/** The bytes of a String as JUCE hands them on. */
std::string bytesOf (const juce::String& text)
{
    return { text.toRawUTF8(), text.getNumBytesAsUTF8() };
}
} // namespace

TEST (StrictUtf8Test, TakesEveryCharacterInItsShortestFormAndNothingElse)
{
    for (const auto& text : strictTexts)
        EXPECT_TRUE (isStrictUtf8 (text.bytes)) << text.what;

    for (const auto& text : otherTexts)
    {
        EXPECT_FALSE (isStrictUtf8 (text.bytes)) << text.what;
        EXPECT_FALSE (isStrictUtf8 ("prefix " + text.bytes + " suffix")) << text.what;
    }
}

// File names, HOME and other C strings reach JUCE as bytes of no known length.
// The String must hold whole characters in the bytes it was sized for; under
// AddressSanitizer a copy past them is a heap overflow.
TEST (StrictUtf8Test, AStringMadeOfAnyCStringHoldsWholeCharactersWithinItsSize)
{
    for (const auto& text : strictTexts)
        EXPECT_EQ (bytesOf (juce::String (juce::CharPointer_UTF8 (text.bytes.c_str()))), text.bytes) << text.what;

    for (const auto& text : otherTexts)
    {
        // Longer than a String's small buffers, so that an overrun leaves the allocation.
        const auto bytes = text.bytes + std::string (100, 'x');
        const juce::String made { juce::CharPointer_UTF8 (bytes.c_str()) };
        const auto held = bytesOf (made);

        EXPECT_EQ (std::strlen (made.toRawUTF8()), held.size()) << text.what;
        EXPECT_EQ (juce::CharPointer_UTF8::getBytesRequiredFor (juce::CharPointer_UTF8 (held.c_str())), held.size())
            << text.what << ": every sequence whole, as JUCE's iteration over it trusts its lead bytes";
        EXPECT_EQ (juce::String::fromUTF8 (held.c_str()), made) << text.what << ": reads back as the same characters";
    }
}

// What the directory listing hands to every JUCE file list (the save browser's
// among them) is named back by its String path: an entry whose name is not
// strict UTF-8 would come out as another name (an overlong '/' splits it).
TEST (StrictUtf8Test, JucesDirectoryListingOffersOnlyNamesInStrictUtf8)
{
    const auto folder = juce::File::getSpecialLocation (juce::File::userHomeDirectory)
                            .getChildFile ("listing-tests").getNonexistentSibling();
    ASSERT_TRUE (folder.createDirectory());
    const std::string path = folder.getFullPathName().toStdString() + "/";

    const auto canName = [] (const Text& text) { return ! text.bytes.empty() && text.bytes.find ('/') == std::string::npos; };
    juce::StringArray expected;

    for (const auto& text : strictTexts)
        if (canName (text))
            expected.add (juce::String::fromUTF8 (text.bytes.c_str()));

    for (const auto* texts : { &strictTexts, &otherTexts })
        for (const auto& text : *texts)
            if (canName (text))
                std::fclose (std::fopen ((path + text.bytes).c_str(), "w"));

    juce::StringArray listed;

    for (const auto& entry : juce::RangedDirectoryIterator (folder, false, "*", juce::File::findFiles))
    {
        listed.add (entry.getFile().getFileName());
        EXPECT_TRUE (entry.getFile().existsAsFile()) << entry.getFile().getFullPathName();
    }

    listed.sort (false);
    expected.sort (false);
    EXPECT_EQ (listed.joinIntoString ("|"), expected.joinIntoString ("|"));
    folder.deleteRecursively();
}
