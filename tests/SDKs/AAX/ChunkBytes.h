// Building and reading AAX chunks as a host holds them: a 56-byte header, then
// the data bytes.
#pragma once

#include "AAX.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

/** A chunk with room for exactly dataSize bytes, so that a sanitizer sees any
    access beyond them; the size field says dataSize. */
class ChunkBuffer
{
public:
    explicit ChunkBuffer (size_t dataSize, AAX_CTypeID chunkID = 0)
        : storage (new uint8_t[AAX_SPlugInChunkHeaderSize + dataSize]()), capacity (dataSize)
    {
        get()->fSize = static_cast<int32_t> (dataSize);
        get()->fChunkID = chunkID;
    }

    /** A chunk holding these data bytes. */
    static ChunkBuffer holding (const std::vector<uint8_t>& data, AAX_CTypeID chunkID = 0)
    {
        ChunkBuffer chunk (data.size(), chunkID);
        std::copy (data.begin(), data.end(), chunk.storage.get() + AAX_SPlugInChunkHeaderSize);
        return chunk;
    }

    // The allocation is aligned as a host's is.
    AAX_SPlugInChunk* get() noexcept  { return static_cast<AAX_SPlugInChunk*> (static_cast<void*> (storage.get())); }
    const AAX_SPlugInChunk* get() const noexcept
    {
        return static_cast<const AAX_SPlugInChunk*> (static_cast<const void*> (storage.get()));
    }

    /** The data bytes, as many as the size field says (at most the room there is). */
    std::vector<uint8_t> data() const
    {
        const auto* bytes = storage.get() + AAX_SPlugInChunkHeaderSize;
        const auto size = std::min (static_cast<size_t> (std::max (get()->fSize, 0)), capacity);
        return { bytes, bytes + size };
    }

private:
    std::unique_ptr<uint8_t[]> storage;
    size_t capacity;
};
