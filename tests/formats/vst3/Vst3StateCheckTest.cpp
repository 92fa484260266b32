// The check that JUCE's VST3 wrapper runs on a component state: states as the
// wrapper and hosts write them pass, crafted sizes, offsets and value trees
// are refused.

#include "Vst3StateCheck.h"
#include "Vst3StateForms.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
using namespace Vst3StateForms;

bool isLoadable (const Bytes& b)  { return Vst3StateCheck::isLoadable (b.data(), b.size()); }
bool isSoundTree (const Bytes& b) { return Vst3StateCheck::isSoundValueTree (b.data(), b.size()); }

const Bytes block = pluginBlock ("<veloraPatch a=\"1\"/>");
const Bytes blockWithTrailer = withTrailer (block, bypassTree (true));
const Bytes component = vstw (bank (blockWithTrailer));

juce::ValueTree everyKindOfValue()
{
    juce::MemoryBlock binary ("\0\1\2", 3);
    juce::Array<juce::var> inner { 1, "two" };
    juce::Array<juce::var> outer { juce::var (inner), 3.5, juce::var() };

    juce::ValueTree tree ("Root");
    tree.setProperty ("int", 7, nullptr)
        .setProperty ("int64", (juce::int64) 1 << 40, nullptr)
        .setProperty ("true", true, nullptr)
        .setProperty ("false", false, nullptr)
        .setProperty ("double", 0.25, nullptr)
        .setProperty ("text", "t\xc3\xa9xt", nullptr)
        .setProperty ("binary", binary, nullptr)
        .setProperty ("array", outer, nullptr)
        .setProperty ("void", juce::var(), nullptr)
        .setProperty ("undefined", juce::var::undefined(), nullptr);

    juce::ValueTree child ("Child");
    child.appendChild (juce::ValueTree ("Grandchild").setProperty ("x", 1, nullptr), nullptr);
    tree.appendChild (child, nullptr);
    tree.appendChild (juce::ValueTree ("Sibling"), nullptr);
    return tree;
}

/** A name of the given length, told apart by its number. */
juce::Identifier nameOfLength (size_t length, int number)
{
    return juce::String (number).paddedLeft ('n', (int) length);
}

/** A tree with the given number of properties, each an int. */
juce::ValueTree treeWithProperties (int numProperties, size_t nameBytes = 4)
{
    juce::ValueTree tree ("Props");

    for (int i = 0; i < numProperties; ++i)
        tree.setProperty (nameOfLength (nameBytes, i), i, nullptr);

    return tree;
}

/** A tree with the given number of children, each with the given number of properties. */
juce::ValueTree treeWithChildren (int numChildren, int propertiesEach = 0)
{
    juce::ValueTree tree ("Parent");

    for (int i = 0; i < numChildren; ++i)
        tree.appendChild (treeWithProperties (propertiesEach), nullptr);

    return tree;
}

/** A tree whose one property is an array of the given number of ints. */
juce::ValueTree treeWithArray (int numItems)
{
    juce::Array<juce::var> items;

    for (int i = 0; i < numItems; ++i)
        items.add (i);

    return juce::ValueTree ("Array").setProperty ("items", items, nullptr);
}

// Trees and arrays make one node each, and so does every property and item.
constexpr int nodesInParent (int numChildren, int propertiesEach)  { return 1 + numChildren * (1 + propertiesEach); }

TEST (Vst3StateCheckTest, TreesJuceWritesPass)
{
    using namespace Vst3StateCheck;
    static_assert (nodesInParent (3, maxProperties) <= maxNodes);

    const struct { const char* name; Bytes bytes; } cases[] {
        { "the bypass off", bypassTree (false) },
        { "the bypass on", bypassTree (true) },
        { "an empty tree", treeBytes (juce::ValueTree ("Empty")) },
        { "every kind of value", treeBytes (everyKindOfValue()) },
        { "nested one less than the limit", nestedTree (maxDepth - 1) },
        { "as many properties as allowed", treeBytes (treeWithProperties (maxProperties)) },
        { "as many children as allowed", treeBytes (treeWithChildren (maxChildren)) },
        { "names as long as allowed", treeBytes (treeWithProperties (2, maxNameBytes)) },
        { "a type name as long as allowed", treeBytes (juce::ValueTree (nameOfLength (maxNameBytes, 1))) },
        { "children with as many properties each as allowed", treeBytes (treeWithChildren (3, maxProperties)) },
        { "an array of as many items as nodes allow", treeBytes (treeWithArray (maxNodes - 3)) },
    };

    for (const auto& c : cases)
        EXPECT_TRUE (isSoundTree (c.bytes)) << c.name;
}

// Each costs JUCE's reader more than a few milliseconds, or fills its name
// pool: the limits bound the work, not only the bytes.
TEST (Vst3StateCheckTest, TreesBeyondTheLimitsOfWorkAreRefused)
{
    using namespace Vst3StateCheck;
    static_assert (nodesInParent (4, maxProperties) > maxNodes);

    const auto largeBinary = [] (size_t numBytes)
    {
        juce::MemoryBlock binary (numBytes, true);
        return treeBytes (juce::ValueTree ("Binary").setProperty ("data", binary, nullptr));
    };

    const struct { const char* name; Bytes bytes; } cases[] {
        { "one property more than allowed", treeBytes (treeWithProperties (maxProperties + 1)) },
        { "one child more than allowed", treeBytes (treeWithChildren (maxChildren + 1)) },
        { "a name one byte longer than allowed", treeBytes (treeWithProperties (1, maxNameBytes + 1)) },
        { "a type name one byte longer than allowed", treeBytes (juce::ValueTree (nameOfLength (maxNameBytes + 1, 1))) },
        { "more nodes in all than allowed", treeBytes (treeWithChildren (4, maxProperties)) },
        { "an array of more items than nodes allow", treeBytes (treeWithArray (maxNodes)) },
        { "more bytes than allowed", largeBinary (maxTreeBytes) },
        { "10,000 properties", manyPropertiesTree (10000) },
        { "100,000 properties", manyPropertiesTree (100000) },
        { "1,000,000 properties", manyPropertiesTree (1000000) },
    };

    for (const auto& c : cases)
        EXPECT_FALSE (isSoundTree (c.bytes)) << c.name;

    // Within the bytes' limit, a large value passes.
    EXPECT_TRUE (isSoundTree (largeBinary (maxTreeBytes - 64)));
}

TEST (Vst3StateCheckTest, CraftedTreesAreRefused)
{
    const auto everyKind = treeBytes (everyKindOfValue());
    const auto bypass = bypassTree (true);   // "JUCEPrivateData\0", 1 property: "Bypass\0", var: size 1, true; no children
    const auto cut = [] (const Bytes& b, size_t n) { return Bytes (b.begin(), b.end() - (std::ptrdiff_t) n); };
    const auto with = [] (Bytes b, size_t at, uint8_t value) { b.at (at) = value; return b; };
    const size_t propertyCountAt = 16, varSizeAt = 25, markerAt = 27;

    const struct { const char* name; Bytes bytes; } cases[] {
        { "nothing", {} },
        { "nested to the limit", nestedTree (Vst3StateCheck::maxDepth) },
        { "nested 400000 deep", nestedTree (400000) },
        { "an array claiming 0x7fffffff items", arrayTree (0x7fffffff) },
        { "an array claiming one item more than there are bytes", arrayTree (2) },
        { "cut short by one byte", cut (everyKind, 1) },
        { "the last byte missing of the bypass tree", cut (bypass, 1) },
        { "no type name", Bytes { 0, 0, 0 } },
        { "a type name without its end", Bytes { 'T', 'r', 'e', 'e' } },
        { "more properties than bytes", with (bypass, propertyCountAt + 1, 0x7f) },
        { "a negative property count", with (bypass, propertyCountAt, 0x81) },
        { "a five-byte count", with (bypass, propertyCountAt, 5) },
        { "a var larger than the bytes", with (bypass, varSizeAt + 1, 0x7f) },
        { "a var whose size does not fit its value", with (with (bypass, varSizeAt + 1, 2), markerAt, 1) },
        { "a property without a name", Bytes { 'T', 0, 1, 1, 0, 1, 1, 2, 0 } },
        { "more children than bytes", Bytes { 'T', 0, 0, 1, 200 } },
    };

    for (const auto& c : cases)
        EXPECT_FALSE (isSoundTree (c.bytes)) << c.name;

    // The places spoilt above hold what they should in the unspoilt tree.
    EXPECT_TRUE (isSoundTree (bypass));
    EXPECT_EQ (bypass[propertyCountAt + 1], 1);
    EXPECT_EQ (bypass[varSizeAt + 1], 1);
    EXPECT_EQ (bypass[markerAt], 2);
}

TEST (Vst3StateCheckTest, StatesInEveryFormTheWrapperReadsPass)
{
    const struct { const char* name; Bytes bytes; } cases[] {
        { "the plug-in's block alone", block },
        { "the block with the private data", blockWithTrailer },
        { "the block with empty private data", withTrailer (block, {}) },
        { "a bank", bank (blockWithTrailer) },
        { "a bank with the VstW header", component },
        { "a bank with a longer VstW header", vstw (bank (block), false, 4) },
        { "a preset file", presetFile (component) },
        { "a preset file with no entries", [] { auto b = presetFile (component); putLittleEndian (b, presetListAt (b) + 4, 0, 4); return b; }() },
        { "a short VST3 text, taken as a block", Bytes { 'V', 'S', 'T', '3', 0, 0 } },
        { "nothing", {} },
    };

    for (const auto& c : cases)
        EXPECT_TRUE (isLoadable (c.bytes)) << c.name;
}

TEST (Vst3StateCheckTest, EachFormYieldsThePluginsBlockAndTheSizeOfItsPrivateData)
{
    const auto tree = bypassTree (true);

    const struct { const char* name; Bytes bytes; size_t treeBytes; int numBlocks; } cases[] {
        { "the plug-in's block alone", block, 0, 1 },
        { "the block with the private data", blockWithTrailer, tree.size(), 1 },
        { "the block with empty private data", withTrailer (block, {}), 0, 1 },
        { "a bank with the VstW header", component, tree.size(), 1 },
        { "a preset file", presetFile (component), tree.size(), 1 },
        { "a preset file with its component at an odd byte", presetFile (component, 3), tree.size(), 1 },
    };

    for (const auto& c : cases)
    {
        int numBlocks = 0;
        const bool loadable = Vst3StateCheck::forEachBlock (c.bytes.data(), c.bytes.size(), [&] (const Vst3StateCheck::Block& found)
        {
            ++numBlocks;
            EXPECT_EQ (Bytes (static_cast<const uint8_t*> (found.data), static_cast<const uint8_t*> (found.data) + found.size), block) << c.name;
            EXPECT_EQ (found.treeBytes, c.treeBytes) << c.name;
        });

        EXPECT_TRUE (loadable) << c.name;
        EXPECT_EQ (numBlocks, c.numBlocks) << c.name;
    }
}

TEST (Vst3StateCheckTest, SizesAndOffsetsBeyondTheBytesAreRefused)
{
    const auto changed = [] (Bytes b, const std::function<void (Bytes&)>& change) { change (b); return b; };
    const auto vstwHeaderSize = [&] (uint32_t size) { return changed (component, [=] (Bytes& b) { putBigEndian32 (b, vstwHeaderSizeAt, size); }); };
    const auto chunkSize = [&] (uint32_t size) { return changed (bank (block), [=] (Bytes& b) { putBigEndian32 (b, bankChunkSizeAt, size); }); };
    const auto trailerSize = [&] (uint64_t size) { return withTrailer (block, bypassTree (true), size); };
    const auto preset = presetFile (component);
    const auto presetField = [&] (size_t at, uint64_t value, int numBytes) { return changed (preset, [=] (Bytes& b) { putLittleEndian (b, at, value, numBytes); }); };

    const struct { const char* name; Bytes bytes; } cases[] {
        { "VstW header size 0x7ffffff0", vstwHeaderSize (0x7ffffff0) },
        { "VstW header size reaching one past the end", vstwHeaderSize ((uint32_t) component.size() - 8 + 1) },
        { "VstW header size 0, so no bank after it", vstwHeaderSize (0) },
        { "VstW header size 0xffffffff", vstwHeaderSize (0xffffffff) },
        { "VstW of 16 bytes", Bytes (component.begin(), component.begin() + 16) },
        { "VstW of 4 bytes", Bytes (component.begin(), component.begin() + 4) },
        { "a bare CcnK of 8 bytes", Bytes (component.begin() + 16, component.begin() + 24) },
        { "a bank one byte short of its header", Bytes (component.begin() + 16, component.begin() + 16 + 159) },
        { "a chunk size one past the end", chunkSize ((uint32_t) block.size() + 1) },
        { "a negative chunk size", chunkSize (0x80000000) },
        { "a chunk size of 0xffffffff", chunkSize (0xffffffff) },
        { "a trailer size of 0x100000000010", trailerSize (0x100000000010) },
        { "a trailer size one past the block", trailerSize (blockWithTrailer.size() - 31 + 1) },
        { "a trailer size of -1", trailerSize (~(uint64_t) 0) },
        { "a trailer size one more than its tree", trailerSize (bypassTree (true).size() + 1) },
        { "a trailer holding a tree nested 400000 deep", withTrailer (block, nestedTree (400000)) },
        { "a trailer holding an array of 0x7fffffff items", withTrailer (block, arrayTree (0x7fffffff)) },
        { "a trailer with no room for its zero word", [] { Bytes b (8, 0); append (b, "JUCEPrivateData"); return b; }() },
        { "a bank holding a crafted trailer", vstw (bank (trailerSize (0x7fffffff))) },
        { "a preset list offset of 0x40000000", presetField (presetListOffsetAt, 0x40000000, 4) },
        { "a preset list offset one past its room", presetField (presetListOffsetAt, preset.size() - 8 + 1, 4) },
        { "a negative preset list offset", presetField (presetListOffsetAt, 0xfffffff0, 4) },
        { "a preset list not starting with List", presetField (presetListAt (preset), 0, 4) },
        { "a preset entry count of 0x7fffffff", presetField (presetListAt (preset) + 4, 0x7fffffff, 4) },
        { "a preset entry count one too many", presetField (presetListAt (preset) + 4, 2, 4) },
        { "a negative preset entry count", presetField (presetListAt (preset) + 4, 0xffffffff, 4) },
        { "a component offset past the end", presetField (presetChunkOffsetAt (preset), preset.size() + 1, 8) },
        { "a negative component offset", presetField (presetChunkOffsetAt (preset), ~(uint64_t) 0, 8) },
        { "a component size one past the end", presetField (presetChunkSizeAt (preset), preset.size() - presetHeaderBytes + 1, 8) },
        { "a component size of 2^63", presetField (presetChunkSizeAt (preset), (uint64_t) 1 << 63, 8) },
        { "a component that is not a VstW form", presetFile (bank (block)) },
        { "a preset file naming its component twice", namingTheComponentTwice (preset) },
        { "a preset file holding a crafted component", presetFile (vstwHeaderSize (0x7ffffff0)) },
    };

    for (const auto& c : cases)
        EXPECT_FALSE (isLoadable (c.bytes)) << c.name;
}
}
