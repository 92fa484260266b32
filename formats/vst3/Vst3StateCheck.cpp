#include "Vst3StateCheck.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace
{
    constexpr char trailerMagic[] = "JUCEPrivateData";
    constexpr size_t trailerMagicBytes = sizeof (trailerMagic) - 1;
    constexpr size_t trailerTailBytes = 8 + trailerMagicBytes;   // size word, magic
    constexpr size_t trailerBytes = 8 + trailerTailBytes;        // zero word before the tree

    constexpr size_t vstwFixedBytes = 8;     // magic, header byte count
    constexpr size_t bankChunkSizeAt = 156;
    constexpr size_t bankHeaderBytes = 160;
    constexpr size_t presetListOffsetAt = 40;
    constexpr size_t presetMinimumBytes = 48;
    constexpr size_t presetListHeaderBytes = 8;   // "List", entry count
    constexpr size_t presetEntryBytes = 20;       // id, 64-bit offset, 64-bit size

    // The markers of JUCE's var stream format whose values have a size of their
    // own; the others (text, binary, undefined, unknown) take the bytes counted.
    enum Marker : uint8_t { intMarker = 1, trueMarker = 2, falseMarker = 3, doubleMarker = 4,
                            int64Marker = 6, arrayMarker = 7 };

    uint32_t bigEndian32 (const uint8_t* p) noexcept
    {
        return (uint32_t) p[0] << 24 | (uint32_t) p[1] << 16 | (uint32_t) p[2] << 8 | p[3];
    }

    uint64_t littleEndian (const uint8_t* p, int numBytes) noexcept
    {
        uint64_t value = 0;

        for (int i = numBytes; --i >= 0;)
            value = value << 8 | p[i];

        return value;
    }

    bool startsWith (const uint8_t* data, size_t size, const char* magic) noexcept
    {
        return size >= 4 && std::memcmp (data, magic, 4) == 0;
    }

    /** Reads forward through bytes, refusing to go past their end. */
    class Reader
    {
    public:
        Reader (const uint8_t* d, size_t n) noexcept : data (d), size (n) {}

        size_t position() const noexcept   { return pos; }
        size_t remaining() const noexcept  { return size - pos; }

        bool skip (size_t n) noexcept
        {
            if (n > remaining())
                return false;

            pos += n;
            return true;
        }

        bool byte (uint8_t& b) noexcept
        {
            if (remaining() == 0)
                return false;

            b = data[pos++];
            return true;
        }

        /** A count as OutputStream::writeCompressedInt writes it, refused when
            negative or larger than the bytes left, each item taking one at least. */
        bool count (int& n) noexcept
        {
            uint8_t head = 0;

            if (! byte (head))
                return false;

            const int numBytes = head & 0x7f;

            if (numBytes > 4 || (head & 0x80) != 0 || (size_t) numBytes > remaining())
                return false;

            const auto value = littleEndian (data + pos, numBytes);
            pos += (size_t) numBytes;

            if (value > remaining())
                return false;

            n = (int) value;
            return true;
        }

        /** A zero-terminated text of one to maxNameBytes characters. */
        bool name() noexcept
        {
            if (remaining() == 0)
                return false;

            const auto searched = std::min (remaining(), Vst3StateCheck::maxNameBytes + 1);
            const auto* end = static_cast<const uint8_t*> (std::memchr (data + pos, 0, searched));

            if (end == nullptr || end == data + pos)
                return false;

            pos = (size_t) (end - data) + 1;
            return true;
        }

    private:
        const uint8_t* data;
        size_t size, pos = 0;
    };

    size_t payloadBytes (uint8_t marker, size_t bytesAfterMarker) noexcept
    {
        switch (marker)
        {
            case intMarker:                     return 4;
            case int64Marker: case doubleMarker: return 8;
            case trueMarker: case falseMarker:  return 0;
            default:                            return bytesAfterMarker;
        }
    }

    /** Follows a value tree as ValueTree::readFromStream reads it, counting the
        objects that reader makes. */
    class TreeWalk
    {
    public:
        TreeWalk (const uint8_t* data, size_t size) noexcept : in (data, size) {}

        bool tree (int depth) noexcept
        {
            int numProperties = 0, numChildren = 0;

            if (depth >= Vst3StateCheck::maxDepth || ! makeNode() || ! in.name()
                || ! in.count (numProperties) || numProperties > Vst3StateCheck::maxProperties)
                return false;

            for (int i = 0; i < numProperties; ++i)
                if (! in.name() || ! var (depth + 1))
                    return false;

            if (! in.count (numChildren) || numChildren > Vst3StateCheck::maxChildren)
                return false;

            for (int i = 0; i < numChildren; ++i)
                if (! tree (depth + 1))
                    return false;

            return true;
        }

    private:
        bool makeNode() noexcept  { return ++numNodes <= Vst3StateCheck::maxNodes; }

        /** One var, which must take exactly the bytes its count gives it. */
        bool var (int depth) noexcept
        {
            int numBytes = 0;

            if (! makeNode() || ! in.count (numBytes))
                return false;

            if (numBytes == 0)
                return true;

            const auto end = in.position() + (size_t) numBytes;
            uint8_t marker = 0;

            if (! in.byte (marker))
                return false;

            const bool read = marker == arrayMarker ? array (depth)
                                                    : in.skip (payloadBytes (marker, (size_t) numBytes - 1));
            return read && in.position() == end;
        }

        bool array (int depth) noexcept
        {
            int numItems = 0;

            if (depth >= Vst3StateCheck::maxDepth || ! in.count (numItems))
                return false;

            for (int i = 0; i < numItems; ++i)
                if (! var (depth + 1))
                    return false;

            return true;
        }

        Reader in;
        int numNodes = 0;
    };

    using Visitor = Vst3StateCheck::BlockVisitor;

    /** The plug-in's block, and JUCE's private data if its magic ends the bytes. */
    bool isSoundBlock (const uint8_t* data, size_t size, const Visitor& visit) noexcept
    {
        if (size < trailerTailBytes
            || std::memcmp (data + size - trailerMagicBytes, trailerMagic, trailerMagicBytes) != 0)
        {
            visit ({ data, size, 0 });
            return true;
        }

        if (size < trailerBytes)
            return false;

        const auto treeBytes = littleEndian (data + size - trailerTailBytes, 8);

        if (treeBytes > size - trailerBytes
            || (treeBytes > 0 && ! Vst3StateCheck::isSoundValueTree (data + size - trailerTailBytes - treeBytes, (size_t) treeBytes)))
            return false;

        visit ({ data, size - trailerBytes - (size_t) treeBytes, (size_t) treeBytes });
        return true;
    }

    bool isSoundBank (const uint8_t* data, size_t size, const Visitor& visit) noexcept
    {
        if (size < bankHeaderBytes || ! startsWith (data, size, "CcnK"))
            return false;

        const auto chunkBytes = bigEndian32 (data + bankChunkSizeAt);

        return chunkBytes <= size - bankHeaderBytes && (int32_t) chunkBytes >= 0
            && isSoundBlock (data + bankHeaderBytes, chunkBytes, visit);
    }

    bool isSoundVstW (const uint8_t* data, size_t size, const Visitor& visit) noexcept
    {
        if (size < vstwFixedBytes || ! startsWith (data, size, "VstW"))
            return false;

        const auto headerBytes = bigEndian32 (data + 4);

        return headerBytes <= size - vstwFixedBytes
            && isSoundBank (data + vstwFixedBytes + headerBytes, size - vstwFixedBytes - headerBytes, visit);
    }

    /** A whole .vstpreset file: every entry of its chunk list inside it, and its
        component entry, which the wrapper loads as a "VstW" form, sound. A file
        holds one component state; the wrapper would load each entry naming one,
        so more are refused (the same bytes named again and again would cost a
        whole load each). */
    bool isSoundPresetFile (const uint8_t* data, size_t size, const Visitor& visit) noexcept
    {
        const auto listAt = littleEndian (data + presetListOffsetAt, 4);

        if (listAt > size - presetListHeaderBytes || (int32_t) listAt < 0
            || std::memcmp (data + listAt, "List", 4) != 0)
            return false;

        const auto numEntries = littleEndian (data + listAt + 4, 4);
        const auto entriesAt = listAt + presetListHeaderBytes;

        if ((int32_t) numEntries < 0 || numEntries > (size - entriesAt) / presetEntryBytes)
            return false;

        for (uint64_t i = 0, numComponents = 0; i < numEntries; ++i)
        {
            const auto* entry = data + entriesAt + i * presetEntryBytes;

            if (std::memcmp (entry, "Comp", 4) != 0)
                continue;

            if (++numComponents > 1)
                return false;

            const auto chunkAt = littleEndian (entry + 4, 8);
            const auto chunkBytes = littleEndian (entry + 12, 8);

            if (chunkAt > size || chunkBytes > size - chunkAt || ! isSoundVstW (data + chunkAt, (size_t) chunkBytes, visit))
                return false;
        }

        return true;
    }
}

bool Vst3StateCheck::isSoundValueTree (const void* data, size_t size) noexcept
{
    return size <= maxTreeBytes && TreeWalk (static_cast<const uint8_t*> (data), size).tree (0);
}

bool Vst3StateCheck::isLoadable (const void* data, size_t size) noexcept
{
    return forEachBlock (data, size, [] (const Block&) noexcept {});
}

bool Vst3StateCheck::forEachBlock (const void* data, size_t size, const BlockVisitor& visit) noexcept
{
    const auto* bytes = static_cast<const uint8_t*> (data);

    if (bytes == nullptr)
        return size == 0;

    if (startsWith (bytes, size, "VstW"))
        return isSoundVstW (bytes, size, visit);

    if (startsWith (bytes, size, "CcnK"))
        return isSoundBank (bytes, size, visit);

    if (startsWith (bytes, size, "VST3") && size >= presetMinimumBytes)
        return isSoundPresetFile (bytes, size, visit);

    return isSoundBlock (bytes, size, visit);
}
