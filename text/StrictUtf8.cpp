#include "StrictUtf8.h"

#include <algorithm>
#include <iterator>

namespace
{
    /** The lead bytes of the multi-byte forms, and the range of the byte after
        each, which is what keeps out overlong forms, surrogates and code points
        beyond U+10FFFF. */
    struct MultiByteForm
    {
        unsigned char firstLead, lastLead;
        size_t length;
        unsigned char lowestSecond, highestSecond;
    };

    constexpr MultiByteForm multiByteForms[] {
        { 0xc2, 0xdf, 2, 0x80, 0xbf },
        { 0xe0, 0xe0, 3, 0xa0, 0xbf },
        { 0xe1, 0xec, 3, 0x80, 0xbf },
        { 0xed, 0xed, 3, 0x80, 0x9f },
        { 0xee, 0xef, 3, 0x80, 0xbf },
        { 0xf0, 0xf0, 4, 0x90, 0xbf },
        { 0xf1, 0xf3, 4, 0x80, 0xbf },
        { 0xf4, 0xf4, 4, 0x80, 0x8f },
    };
} // namespace

bool isStrictUtf8 (std::string_view text) noexcept
{
    for (size_t i = 0; i < text.size();)
    {
        const auto lead = (unsigned char) text[i];

        if (lead < 0x80)
        {
            ++i;
            continue;
        }

        const auto* form = std::find_if (std::begin (multiByteForms), std::end (multiByteForms),
                                         [lead] (const MultiByteForm& f) { return lead >= f.firstLead && lead <= f.lastLead; });

        if (form == std::end (multiByteForms) || text.size() - i < form->length)
            return false;

        const auto second = (unsigned char) text[i + 1];

        if (second < form->lowestSecond || second > form->highestSecond)
            return false;

        for (size_t k = 2; k < form->length; ++k)
            if (((unsigned char) text[i + k] & 0xc0) != 0x80)
                return false;

        i += form->length;
    }

    return true;
}
