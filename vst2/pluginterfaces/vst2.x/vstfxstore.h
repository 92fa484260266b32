#pragma once

// The 160-byte bank header that a VST3 build standing in for a VST2 build writes
// in front of its state, so that projects saved with either load in both. Every
// field is a big-endian 32-bit word on disk. JUCE's VST3 wrapper includes this
// inside a namespace of its own, so it includes nothing itself.

/** A bank of programs stored as one opaque chunk. */
struct fxBank
{
    int chunkMagic;    // "CcnK"
    int byteSize;      // bytes that follow this field, chunk included
    int fxMagic;       // "FBCh": the bank is an opaque chunk
    int version;       // 1 or 2
    int fxID;          // the plug-in's unique id
    int fxVersion;     // the plug-in's version code
    int numPrograms;
    char future[128];  // reserved, zero

    union
    {
        struct
        {
            int size;       // bytes in the chunk
            char chunk[8];  // the chunk starts here, at byte 160, and runs on
        } data;
    } content;
};
