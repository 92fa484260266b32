// The list of named, typed values behind the controls chunk 'elck', and the
// chunk's byte format: a marker, then per value a key (type tag, '_',
// identifier, zero byte, padded to 4) and the value in big-endian byte order.
#pragma once

#include "AAX.h"
#include "AAX_CString.h"

#include <vector>

class AAX_CChunkDataParser
{
public:
    /** Type codes of the entries. */
    enum ValueType : int32_t
    {
        typeNone   = 0,
        typeFloat  = 1,
        typeInt32  = 2,
        typeDouble = 3,
        typeInt16  = 4,
        typeString = 5
    };

    /** One named value of the list. */
    struct DataValue
    {
        int32_t valueType = typeNone;
        AAX_CString valueName;
        /** The double's bits, the integer, the float's bits or the 16-bit value, by type. */
        uint64_t numericValue = 0;
        AAX_CString stringValue;
    };

    AAX_CChunkDataParser() = default;
    virtual ~AAX_CChunkDataParser() = default;

    /** Empties the list; the version becomes -1. */
    void Clear();

    void AddDouble (const char* name, double value);
    void AddInt32 (const char* name, int32_t value);
    void AddString (const char* name, AAX_CString value);

    /** True and the value when an entry of the name holds a value of the type asked for. */
    bool FindDouble (const char* name, double* out);
    bool FindInt32 (const char* name, int32_t* out);
    bool FindString (const char* name, AAX_CString* out);

    /** The entry's index, or -1. Looking names up in chunk order takes one
        comparison each: the search starts after the last entry found. */
    int32_t FindName (const AAX_CString& name);

    /** Bytes the chunk's data takes: 4 for the marker plus every entry. */
    int32_t GetChunkDataSize() const;

    /** Writes the data and its size into chunk, whose data area holds at least
        GetChunkDataSize() bytes; -333 (size left unwritten) if it would not fit. */
    AAX_Result GetChunkData (AAX_SPlugInChunk* chunk) const;

    /** Replaces the list with the chunk's entries. A chunk without the marker
        reads as empty; reading ends at the first entry that runs past the
        chunk's data, which is dropped. */
    void LoadChunk (const AAX_SPlugInChunk* chunk);

    /** The version of the chunk last read; -1 after Clear. */
    int32_t GetChunkVersion() const noexcept  { return chunkVersion; }
    const std::vector<DataValue>& GetEntries() const noexcept  { return entries; }

private:
    void writeEntries (char* data, int32_t size) const;

    int32_t lastFoundIndex = -1;
    int32_t chunkVersion = -1;
    std::vector<DataValue> entries;
};
