#pragma once

#include "ModulixQR7150PatchXml.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

/** Whether the plug-in could take anything from these bytes as its state block:
    only text that parses as XML, behind the block's magic and byte count, read
    as far as the plug-in reads it, whose root element is the plug-in's and holds
    elements (both state readers look no further into any other document). Bytes
    for which this is false leave an instance as it was, which spares the
    fuzzers writing a whole bank to find that out. */
inline bool pluginCouldTakeBlock (const uint8_t* data, size_t size)
{
    constexpr size_t headerBytes = 8;

    if (size <= headerBytes || std::memcmp (data, "VC2!", 4) != 0)
        return false;

    const auto numTextBytes = (int32_t) ((uint32_t) data[4] | (uint32_t) data[5] << 8
                                         | (uint32_t) data[6] << 16 | (uint32_t) data[7] << 24);

    if (numTextBytes <= 0)
        return false;

    const auto root = ModulixQR7150PatchXml::parse (reinterpret_cast<const char*> (data) + headerBytes,
                                                    std::min ((size_t) numTextBytes, size - headerBytes));

    return root != nullptr
        && root->getTagName() == ModulixQR7150PatchXml::rootTag
        && root->getFirstChildElement() != nullptr;
}
