#pragma once

#include <cstddef>
#include <functional>

/** Checks the bytes a VST3 host hands over as the component state, before
    JUCE's VST3 wrapper takes them apart. The wrapper follows the sizes and
    offsets it finds without comparing them with the bytes there, and passes the
    private-data trailer to JUCE's recursive value tree reader, which trusts its
    counts and stores each property after a search through those before it. A
    state passes only when everything the wrapper and that reader will follow
    lies inside the bytes given and the value tree is small (see the limits
    below: the wrapper itself writes one tree with one property); otherwise the
    wrapper refuses the whole stream and the plug-in keeps its state.

    The forms are those the wrapper tells apart: a "VstW" header before a "CcnK"
    bank, a bare "CcnK" bank, a whole ".vstpreset" file ("VST3", from Cubase 5)
    with one component state, or the plug-in's block with no container. Each ends in the plug-in's block,
    optionally followed by JUCE's private data: a zero word, the value tree, its
    byte count as a 64-bit word and "JUCEPrivateData".
*/
namespace Vst3StateCheck
{
    /** True if the wrapper may load this component state. */
    bool isLoadable (const void* data, size_t size) noexcept;

    /** A block the wrapper hands to the plug-in, and the bytes of the value tree
        of the private data after it (0 for none). */
    struct Block
    {
        const void* data;
        size_t size;
        size_t treeBytes;
    };

    using BlockVisitor = std::function<void (const Block&)>;

    /** isLoadable, calling back with each block as it is found: all of them for
        a loadable state, those before the fault for one refused. */
    bool forEachBlock (const void* data, size_t size, const BlockVisitor& visit) noexcept;

    /** True if JUCE's value tree reader reads a whole tree from these bytes
        without reaching past them, and the tree keeps within the limits below. */
    bool isSoundValueTree (const void* data, size_t size) noexcept;

    /** Value trees and arrays nested deeper than this are refused: JUCE reads
        them by recursion, on the host's stack. */
    constexpr int maxDepth = 32;

    /** Properties of one tree: each is looked for among those stored before it. */
    constexpr int maxProperties = 64;

    /** Children of one tree. */
    constexpr int maxChildren = 64;

    /** Trees, properties and array items in all, each one object to make, and
        each tree's type and property's name looked up in JUCE's process-wide
        pool of names, comparing it with a dozen names or more. */
    constexpr int maxNodes = 256;

    /** Bytes of a tree's type or a property's name. */
    constexpr size_t maxNameBytes = 64;

    /** Bytes of the whole tree, which JUCE copies value by value. */
    constexpr size_t maxTreeBytes = 1 << 14;
}
