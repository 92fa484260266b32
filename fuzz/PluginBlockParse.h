#pragma once

#include "ModulixQR7150PatchXml.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

/** What the plug-in's state readers make of bytes handed to them as a state block. */
enum class BlockVerdict
{
    refused,    // no document of the plug-in's in them: it changes nothing and says so
    takenEmpty, // the plug-in's root holding no elements, which the reader looks no further into
    taken       // the plug-in's root with elements: the bank may change
};

/** The verdict, found as the plug-in finds it: text that parses as XML, behind
    the block's magic and byte count, read as far as the plug-in reads it. */
inline BlockVerdict pluginVerdictOnBlock (const uint8_t* data, size_t size)
{
    constexpr size_t headerBytes = 8;

    if (size <= headerBytes || std::memcmp (data, "VC2!", 4) != 0)
        return BlockVerdict::refused;

    const auto numTextBytes = (int32_t) ((uint32_t) data[4] | (uint32_t) data[5] << 8
                                         | (uint32_t) data[6] << 16 | (uint32_t) data[7] << 24);

    if (numTextBytes <= 0)
        return BlockVerdict::refused;

    const auto root = ModulixQR7150PatchXml::parse (reinterpret_cast<const char*> (data) + headerBytes,
                                                    std::min ((size_t) numTextBytes, size - headerBytes));

    if (root == nullptr || root->getTagName() != ModulixQR7150PatchXml::rootTag)
        return BlockVerdict::refused;

    return root->getFirstChildElement() != nullptr ? BlockVerdict::taken : BlockVerdict::takenEmpty;
}

/** Whether the plug-in could take anything from these bytes as its state block.
    Bytes for which this is false leave an instance as it was, which spares the
    fuzzers writing a whole bank to find that out. */
inline bool pluginCouldTakeBlock (const uint8_t* data, size_t size)
{
    return pluginVerdictOnBlock (data, size) == BlockVerdict::taken;
}
