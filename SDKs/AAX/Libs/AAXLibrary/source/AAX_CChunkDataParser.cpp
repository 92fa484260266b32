#include "AAX_CChunkDataParser.h"

#include "AAX_CHostServices.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

namespace
{
    constexpr unsigned char marker[4] { 0x01, 0x01, 0x01, 0x01 };
    constexpr uint32_t maxKeyLength = 255;

    constexpr uint32_t roundUpTo4 (uint32_t n) noexcept  { return (n + 3u) & ~3u; }

    char tagOf (int32_t type) noexcept
    {
        switch (type)
        {
            case AAX_CChunkDataParser::typeFloat:  return 'f';
            case AAX_CChunkDataParser::typeInt32:  return 'l';
            case AAX_CChunkDataParser::typeDouble: return 'd';
            case AAX_CChunkDataParser::typeInt16:  return 's';
            case AAX_CChunkDataParser::typeString: return 'r';
            default:                               return 0;
        }
    }

    /** Bytes of the value as written; a text counts its zero byte. */
    uint32_t valueLength (const AAX_CChunkDataParser::DataValue& entry) noexcept
    {
        switch (entry.valueType)
        {
            case AAX_CChunkDataParser::typeDouble: return 8;
            case AAX_CChunkDataParser::typeInt16:  return 2;
            case AAX_CChunkDataParser::typeString: return entry.stringValue.Length() + 1;
            default:                               return 4;
        }
    }

    /** Bytes the value's slot takes in the chunk. */
    uint32_t valueSlot (const AAX_CChunkDataParser::DataValue& entry) noexcept
    {
        switch (entry.valueType)
        {
            case AAX_CChunkDataParser::typeNone:   return 0;
            case AAX_CChunkDataParser::typeDouble: return 8;
            case AAX_CChunkDataParser::typeString: return roundUpTo4 (entry.stringValue.Length() + 1);
            default:                               return 4;
        }
    }

    void writeBigEndian (char* target, uint64_t bits, uint32_t numBytes) noexcept
    {
        for (uint32_t i = 0; i < numBytes; ++i)
            target[i] = static_cast<char> ((bits >> (8u * (numBytes - 1u - i))) & 0xFFu);
    }

    uint64_t readBigEndian (const unsigned char* source, uint32_t numBytes) noexcept
    {
        uint64_t bits = 0;

        for (uint32_t i = 0; i < numBytes; ++i)
            bits = (bits << 8u) | source[i];

        return bits;
    }

    template <typename To, typename From>
    To bitsAs (From from) noexcept
    {
        static_assert (sizeof (To) == sizeof (From));
        To to;
        std::memcpy (&to, &from, sizeof (To));
        return to;
    }

    /** Length of the zero-terminated text at data[offset], if its zero byte lies
        before limit and within maxLength characters. */
    bool terminatedLength (const unsigned char* data, uint32_t offset, uint32_t limit, uint32_t maxLength,
                           uint32_t& length) noexcept
    {
        for (length = 0; offset + length < limit && length <= maxLength; ++length)
            if (data[offset + length] == 0)
                return true;

        return false;
    }

    /** Reads the value of the entry whose key was read, at offset; false when
        the value does not lie wholly before size. */
    bool readValue (const unsigned char* data, uint32_t size, char tag, uint32_t& offset,
                    AAX_CChunkDataParser::DataValue& entry)
    {
        const auto readNumber = [&] (int32_t type, uint32_t numBytes, uint32_t slot)
        {
            if (size - offset < slot)
                return false;

            entry.valueType = type;
            entry.numericValue = readBigEndian (data + offset, numBytes);

            if (type == AAX_CChunkDataParser::typeInt32)
                entry.numericValue = static_cast<uint32_t> (entry.numericValue);

            offset += slot;
            return true;
        };

        switch (tag)
        {
            case 'd': return readNumber (AAX_CChunkDataParser::typeDouble, 8, 8);
            case 'f': return readNumber (AAX_CChunkDataParser::typeFloat, 4, 4);
            case 'l': return readNumber (AAX_CChunkDataParser::typeInt32, 4, 4);
            case 's': return readNumber (AAX_CChunkDataParser::typeInt16, 2, 4);

            case 'r':
            {
                uint32_t length = 0;

                if (! terminatedLength (data, offset, size, size, length))
                    return false;

                entry.valueType = AAX_CChunkDataParser::typeString;
                entry.stringValue.Set (reinterpret_cast<const char*> (data + offset));
                // The padding may run past the end: the next read then finds nothing.
                offset += std::min (roundUpTo4 (length + 1), size - offset);
                return true;
            }

            default:
                entry.valueType = AAX_CChunkDataParser::typeNone;
                return true;
        }
    }
}

//==============================================================================
void AAX_CChunkDataParser::Clear()
{
    lastFoundIndex = -1;
    chunkVersion = -1;
    entries.clear();
}

void AAX_CChunkDataParser::AddDouble (const char* name, double value)
{
    entries.push_back ({ typeDouble, AAX_CString (name), bitsAs<uint64_t> (value), {} });
}

void AAX_CChunkDataParser::AddInt32 (const char* name, int32_t value)
{
    entries.push_back ({ typeInt32, AAX_CString (name), static_cast<uint64_t> (static_cast<int64_t> (value)), {} });
}

void AAX_CChunkDataParser::AddString (const char* name, AAX_CString value)
{
    entries.push_back ({ typeString, AAX_CString (name), 0, std::move (value) });
}

bool AAX_CChunkDataParser::FindDouble (const char* name, double* out)
{
    const auto index = FindName (AAX_CString (name));

    if (index < 0 || entries[static_cast<size_t> (index)].valueType != typeDouble)
        return false;

    *out = bitsAs<double> (entries[static_cast<size_t> (index)].numericValue);
    return true;
}

bool AAX_CChunkDataParser::FindInt32 (const char* name, int32_t* out)
{
    const auto index = FindName (AAX_CString (name));

    if (index < 0 || entries[static_cast<size_t> (index)].valueType != typeInt32)
        return false;

    *out = static_cast<int32_t> (static_cast<uint32_t> (entries[static_cast<size_t> (index)].numericValue));
    return true;
}

bool AAX_CChunkDataParser::FindString (const char* name, AAX_CString* out)
{
    const auto index = FindName (AAX_CString (name));

    if (index < 0 || entries[static_cast<size_t> (index)].valueType != typeString)
        return false;

    out->Set (entries[static_cast<size_t> (index)].stringValue.Get());
    return true;
}

int32_t AAX_CChunkDataParser::FindName (const AAX_CString& name)
{
    const auto count = static_cast<int32_t> (entries.size());

    if (lastFoundIndex >= count - 1)
        lastFoundIndex = -1;

    const auto search = [&] (int32_t from, int32_t to)
    {
        for (auto i = from; i < to; ++i)
        {
            if (entries[static_cast<size_t> (i)].valueName == name)
            {
                lastFoundIndex = i;
                return true;
            }
        }

        return false;
    };

    if (search (lastFoundIndex + 1, count))
        return lastFoundIndex;

    if (lastFoundIndex < 0 || ! search (0, lastFoundIndex + 1))
        return -1;

    return lastFoundIndex;
}

int32_t AAX_CChunkDataParser::GetChunkDataSize() const
{
    uint32_t size = sizeof (marker);

    for (const auto& entry : entries)
        size += roundUpTo4 (entry.valueName.Length() + 3) + valueSlot (entry);

    return static_cast<int32_t> (size);
}

void AAX_CChunkDataParser::writeEntries (char* data, int32_t size) const
{
    uint32_t offset = sizeof (marker);

    for (const auto& entry : entries)
    {
        const auto nameLength = entry.valueName.Length();
        const auto length = valueLength (entry);

        if (static_cast<uint64_t> (offset) + nameLength + length + 3 > static_cast<uint64_t> (size))
            throw std::out_of_range ("aborting: chunk data will overflow buffer");

        if (const auto tag = tagOf (entry.valueType))
        {
            data[offset] = tag;
            data[offset + 1] = '_';
        }

        std::memcpy (data + offset + 2, entry.valueName.Get(), nameLength + 1);
        offset = roundUpTo4 (offset + nameLength + 3);

        if (entry.valueType == typeString)
            std::memcpy (data + offset, entry.stringValue.Get(), length);
        else
            writeBigEndian (data + offset, entry.numericValue, length);

        offset += entry.valueType == typeString ? roundUpTo4 (length) : (entry.valueType == typeDouble ? 8u : 4u);
    }
}

AAX_Result AAX_CChunkDataParser::GetChunkData (AAX_SPlugInChunk* chunk) const
{
    const auto size = GetChunkDataSize();
    std::memset (chunk->fData, 0, static_cast<size_t> (size));
    std::memcpy (chunk->fData, marker, sizeof (marker));

    try
    {
        writeEntries (chunk->fData, size);
    }
    catch (const std::exception& e)
    {
        AAX_CHostServices::Trace (AAX_eTracePriorityHost_Normal, "AAX_CChunkDataParser::GetChunkData ERROR: %s", e.what());
        return AAX_ERROR_CHUNK_OVERFLOW;
    }
    catch (...)
    {
        return AAX_ERROR_CHUNK_OVERFLOW;
    }

    chunk->fSize = size;
    return AAX_SUCCESS;
}

void AAX_CChunkDataParser::LoadChunk (const AAX_SPlugInChunk* chunk)
{
    Clear();

    if (chunk == nullptr)
        return;

    chunkVersion = chunk->fVersion;

    if (chunk->fSize < 5 || std::memcmp (chunk->fData, marker, sizeof (marker)) != 0)
        return;

    const auto size = static_cast<uint32_t> (chunk->fSize);
    const auto* data = reinterpret_cast<const unsigned char*> (chunk->fData);
    uint32_t offset = sizeof (marker);

    while (offset < size)
    {
        uint32_t keyLength = 0;

        if (! terminatedLength (data, offset, size, maxKeyLength, keyLength))
            return;

        const std::string key (reinterpret_cast<const char*> (data + offset), keyLength);
        offset = static_cast<uint32_t> (std::min<uint64_t> (roundUpTo4 (offset + keyLength + 1), size));

        DataValue entry;

        if (! readValue (data, size, key.empty() ? '\0' : key[0], offset, entry))
            return;

        entry.valueName = key.size() > 2 ? key.substr (2).c_str() : "";
        entries.push_back (std::move (entry));
    }
}
