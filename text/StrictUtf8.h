#pragma once

#include <string_view>

/** True for strict UTF-8: every character in its one shortest form, no
    surrogate, nothing beyond U+10FFFF, no sequence cut short.

    JUCE decodes the other forms too: an overlong C0 BC as '<', a lone
    continuation byte as the end of the text, and its XML writer writes a code
    point beyond U+10FFFF as a reference that no reader takes. Only in strict
    UTF-8 is every byte below 0x80 the character JUCE reads, and no other byte a
    character that a check of the text would have to see.

    Plain C++ below JUCE, so that our XML reader and JUCE's directory listing
    (mended in cmake/juce.patch) take text by this one rule. */
bool isStrictUtf8 (std::string_view text) noexcept;
