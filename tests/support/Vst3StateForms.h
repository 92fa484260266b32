#pragma once

// Builds VST3 component states in the forms JUCE's VST3 wrapper reads, as hosts
// and the wrapper itself write them, for tests to take apart and spoil.

#include <juce_data_structures/juce_data_structures.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace Vst3StateForms
{
using Bytes = std::vector<uint8_t>;

inline void append (Bytes& b, const void* data, size_t size)
{
    const auto* p = static_cast<const uint8_t*> (data);

    for (size_t i = 0; i < size; ++i)
        b.push_back (p[i]);
}

inline void append (Bytes& b, const Bytes& more)  { append (b, more.data(), more.size()); }
inline void append (Bytes& b, const char* text)   { append (b, text, std::strlen (text)); }

inline void appendBigEndian32 (Bytes& b, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        b.push_back ((uint8_t) (v >> shift));
}

inline void appendLittleEndian (Bytes& b, uint64_t v, int numBytes)
{
    for (int i = 0; i < numBytes; ++i)
        b.push_back ((uint8_t) (v >> (8 * i)));
}

inline void putBigEndian32 (Bytes& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.at (at + (size_t) i) = (uint8_t) (v >> (24 - 8 * i));
}

inline void putLittleEndian (Bytes& b, size_t at, uint64_t v, int numBytes)
{
    for (int i = 0; i < numBytes; ++i)
        b.at (at + (size_t) i) = (uint8_t) (v >> (8 * i));
}

/** The plug-in's block: "VC2!", the text's byte count, the text, a zero. */
inline Bytes pluginBlock (const char* xml)
{
    Bytes b;
    append (b, "VC2!");
    appendLittleEndian (b, std::strlen (xml), 4);
    append (b, xml);
    b.push_back (0);
    return b;
}

/** A value tree as JUCE writes it. */
inline Bytes treeBytes (const juce::ValueTree& tree)
{
    juce::MemoryOutputStream out;
    tree.writeToStream (out);
    return Bytes (static_cast<const uint8_t*> (out.getData()),
                  static_cast<const uint8_t*> (out.getData()) + out.getDataSize());
}

/** The wrapper's private data with the bypass flag, as it writes it. */
inline Bytes bypassTree (bool bypassed)
{
    juce::ValueTree tree ("JUCEPrivateData");
    tree.setProperty ("Bypass", bypassed, nullptr);
    return treeBytes (tree);
}

/** The block, a zero word, the tree, the given tree byte count and the magic. */
inline Bytes withTrailer (const Bytes& block, const Bytes& tree, uint64_t declaredTreeBytes)
{
    Bytes b (block);
    appendLittleEndian (b, 0, 8);
    append (b, tree);
    appendLittleEndian (b, declaredTreeBytes, 8);
    append (b, "JUCEPrivateData");
    return b;
}

inline Bytes withTrailer (const Bytes& block, const Bytes& tree)  { return withTrailer (block, tree, tree.size()); }

constexpr size_t bankHeaderBytes = 160;
constexpr size_t bankChunkSizeAt = 156;

/** A "CcnK" opaque-chunk bank around the block, as the wrapper writes it. */
inline Bytes bank (const Bytes& chunk)
{
    Bytes b;
    append (b, "CcnK");
    appendBigEndian32 (b, (uint32_t) (bankHeaderBytes - 8 + chunk.size()));
    append (b, "FBCh");
    appendBigEndian32 (b, 2);
    append (b, "Vqr7");
    appendBigEndian32 (b, 0x10001);
    while (b.size() < bankChunkSizeAt)
        b.push_back (0);
    appendBigEndian32 (b, (uint32_t) chunk.size());
    append (b, chunk);
    return b;
}

constexpr size_t vstwHeaderSizeAt = 4;

/** The "VstW" header (size 8, version 1, bypass, then any padding) before the bank. */
inline Bytes vstw (const Bytes& bankBytes, bool bypassed = false, uint32_t padding = 0)
{
    Bytes b;
    append (b, "VstW");
    appendBigEndian32 (b, 8 + padding);
    appendBigEndian32 (b, 1);
    appendBigEndian32 (b, bypassed ? 1 : 0);
    b.insert (b.end(), padding, 0);
    append (b, bankBytes);
    return b;
}

constexpr size_t presetListOffsetAt = 40;
constexpr size_t presetHeaderBytes = 48;

/** A .vstpreset file: header, the given number of bytes of another chunk, the
    component state, then the chunk list with one "Comp" entry. */
inline Bytes presetFile (const Bytes& component, size_t bytesBefore = 0)
{
    const auto componentAt = presetHeaderBytes + bytesBefore;

    Bytes b;
    append (b, "VST3");
    appendLittleEndian (b, 1, 4);
    append (b, "0123456789ABCDEF0123456789ABCDEF");
    appendLittleEndian (b, componentAt + component.size(), 8);
    b.insert (b.end(), bytesBefore, 0);
    append (b, component);
    append (b, "List");
    appendLittleEndian (b, 1, 4);
    append (b, "Comp");
    appendLittleEndian (b, componentAt, 8);
    appendLittleEndian (b, component.size(), 8);
    return b;
}

constexpr size_t presetEntryBytes = 20;   // id, 64-bit offset, 64-bit size

/** Offsets of the "Comp" entry's fields in a presetFile. */
inline size_t presetListAt (const Bytes& file)            { return file.size() - 28; }
inline size_t presetChunkOffsetAt (const Bytes& file)     { return file.size() - 16; }
inline size_t presetChunkSizeAt (const Bytes& file)       { return file.size() - 8; }

/** A presetFile whose chunk list names its component a second time. */
inline Bytes namingTheComponentTwice (const Bytes& file)
{
    Bytes b (file);
    append (b, Bytes (file.end() - (std::ptrdiff_t) presetEntryBytes, file.end()));
    putLittleEndian (b, presetListAt (file) + 4, 2, 4);
    return b;
}

/** A value tree nested the given number of levels, each node holding one child. */
inline Bytes nestedTree (int depth)
{
    Bytes b;

    for (int i = 0; i < depth; ++i)
        append (b, Bytes { 'T', 0, 0, 1, 1 });   // type, no properties, one child

    append (b, Bytes { 'T', 0, 0, 0 });
    return b;
}

/** A count as OutputStream::writeCompressedInt writes it: its byte count, then
    its bytes, least significant first. */
inline void appendCompressedInt (Bytes& b, uint32_t v)
{
    Bytes digits;

    for (; v > 0; v >>= 8)
        digits.push_back ((uint8_t) v);

    b.push_back ((uint8_t) digits.size());
    append (b, digits);
}

/** A private-data tree with the given number of properties, each with a name of
    its own (four characters, in ascending order) and no value: the most work
    per byte for JUCE's reader, which looks for each name among those before. */
inline Bytes manyPropertiesTree (uint32_t numProperties)
{
    static constexpr char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    constexpr uint32_t base = sizeof (digits) - 1;

    Bytes b;
    append (b, "JUCEPrivateData");
    b.push_back (0);
    appendCompressedInt (b, numProperties);

    for (uint32_t i = 0; i < numProperties; ++i)
    {
        for (uint32_t place = base * base * base; place > 0; place /= base)
            b.push_back ((uint8_t) digits[(i / place) % base]);

        append (b, Bytes { 0, 0 });   // end of the name, a var of no bytes
    }

    b.push_back (0);   // no children
    return b;
}

/** A tree whose one property is an array that claims the given item count. */
inline Bytes arrayTree (uint32_t claimedItems)
{
    Bytes b;
    append (b, Bytes { 'T', 0, 1, 1, 'a', 0, 1, 6, 7, 4 });   // property a: an array of 6 bytes
    appendLittleEndian (b, claimedItems, 4);
    b.push_back (0);   // no children
    return b;
}
}
