// The controls chunk: its bytes as written, values read back, the lookup
// cursor, and chunks that lie about their contents.
#include "ChunkBytes.h"

#include "AAX_CChunkDataParser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace
{
using Bytes = std::vector<uint8_t>;
const Bytes marker { 1, 1, 1, 1 };

Bytes operator+ (Bytes a, const Bytes& b)
{
    a.insert (a.end(), b.begin(), b.end());
    return a;
}

Bytes write (const AAX_CChunkDataParser& parser)
{
    ChunkBuffer chunk (static_cast<size_t> (parser.GetChunkDataSize()));
    chunk.get()->fSize = -7;
    EXPECT_EQ (parser.GetChunkData (chunk.get()), AAX_SUCCESS);
    return chunk.data();
}

AAX_CChunkDataParser read (const Bytes& data, int32_t version = 0)
{
    auto chunk = ChunkBuffer::holding (data);
    chunk.get()->fVersion = version;
    AAX_CChunkDataParser parser;
    parser.LoadChunk (chunk.get());
    return parser;
}

std::vector<std::string> namesOf (const AAX_CChunkDataParser& parser)
{
    std::vector<std::string> names;
    for (const auto& entry : parser.GetEntries())
        names.emplace_back (entry.valueName.Get());
    return names;
}
}

TEST (AAX_CChunkDataParserTest, EntriesAreWrittenByteForByte)
{
    AAX_CChunkDataParser parser;
    EXPECT_EQ (parser.GetChunkDataSize(), 4);
    EXPECT_EQ (write (parser), marker);

    parser.AddDouble ("0", 0.5);
    parser.AddInt32 ("7", -2);
    parser.AddString ("ab", AAX_CString ("xyz"));
    parser.AddString ("abcd", AAX_CString ("wxyz"));

    const Bytes expected = marker
        + Bytes { 'd', '_', '0', 0, 0x3F, 0xE0, 0, 0, 0, 0, 0, 0 }
        + Bytes { 'l', '_', '7', 0, 0xFF, 0xFF, 0xFF, 0xFE }
        + Bytes { 'r', '_', 'a', 'b', 0, 0, 0, 0, 'x', 'y', 'z', 0 }
        + Bytes { 'r', '_', 'a', 'b', 'c', 'd', 0, 0, 'w', 'x', 'y', 'z', 0, 0, 0, 0 };

    EXPECT_EQ (parser.GetChunkDataSize(), static_cast<int32_t> (expected.size()));
    EXPECT_EQ (write (parser), expected);
}

TEST (AAX_CChunkDataParserTest, KeysTakeTheirIdentifierPlusThreeRoundedUpTo4)
{
    for (const auto& [id, keyBytes] : { std::pair { "a", 4 }, { "ab", 8 }, { "abc", 8 }, { "abcd", 8 }, { "abcdef", 12 } })
    {
        AAX_CChunkDataParser parser;
        parser.AddInt32 (id, 1);
        EXPECT_EQ (parser.GetChunkDataSize(), 4 + keyBytes + 4) << id;
    }
}

TEST (AAX_CChunkDataParserTest, WrittenValuesReadBackInOrder)
{
    AAX_CChunkDataParser written;
    written.AddDouble ("0", -1.25);
    written.AddString ("t", AAX_CString ("hello"));   // 6 bytes with its zero: padded to 8
    written.AddInt32 ("1", 123456);
    written.AddDouble ("x", std::nan (""));

    auto chunk = ChunkBuffer::holding (write (written));
    chunk.get()->fVersion = -1;
    AAX_CChunkDataParser parser;
    parser.LoadChunk (chunk.get());

    EXPECT_EQ (parser.GetChunkVersion(), -1);
    EXPECT_EQ (namesOf (parser), (std::vector<std::string> { "0", "t", "1", "x" }));

    double d = 0.0;
    int32_t i = 0;
    AAX_CString text;
    EXPECT_TRUE (parser.FindDouble ("0", &d));
    EXPECT_EQ (d, -1.25);
    EXPECT_TRUE (parser.FindString ("t", &text));
    EXPECT_STREQ (text.Get(), "hello");
    EXPECT_TRUE (parser.FindInt32 ("1", &i));
    EXPECT_EQ (i, 123456);
    EXPECT_TRUE (parser.FindDouble ("x", &d));
    EXPECT_TRUE (std::isnan (d));

    EXPECT_FALSE (parser.FindDouble ("1", &d)) << "an integer is no double";
    EXPECT_FALSE (parser.FindInt32 ("0", &i));
    EXPECT_FALSE (parser.FindString ("missing", &text));
    EXPECT_EQ (i, 123456) << "a failed lookup leaves its output";
}

TEST (AAX_CChunkDataParserTest, LookupsWrapAroundFromTheLastFound)
{
    auto parser = read (marker + Bytes { 'l', '_', 'a', 0, 0, 0, 0, 1 } + Bytes { 'l', '_', 'b', 0, 0, 0, 0, 2 }
                        + Bytes { 'l', '_', 'c', 0, 0, 0, 0, 3 });

    EXPECT_EQ (parser.FindName (AAX_CString ("a")), 0);
    EXPECT_EQ (parser.FindName (AAX_CString ("b")), 1);
    EXPECT_EQ (parser.FindName (AAX_CString ("c")), 2);
    EXPECT_EQ (parser.FindName (AAX_CString ("c")), 2);
    EXPECT_EQ (parser.FindName (AAX_CString ("b")), 1);
    EXPECT_EQ (parser.FindName (AAX_CString ("a")), 0);
    EXPECT_EQ (parser.FindName (AAX_CString ("z")), -1);

    AAX_CChunkDataParser empty;
    EXPECT_EQ (empty.FindName (AAX_CString ("a")), -1);
}

TEST (AAX_CChunkDataParserTest, UnknownTagsAndShortKeysStillAdvance)
{
    const auto parser = read (marker + Bytes { 'q', '_', 'x', 0 } + Bytes { 'f', '_', 'f', 0, 0x3F, 0x80, 0, 0 }
                              + Bytes { 's', '_', 's', 0, 0x01, 0x02, 0, 0 } + Bytes { 'd', 0, 0, 0 }
                              + Bytes { 0, 0, 0, 0, 0, 0, 0, 0 });

    const auto& entries = parser.GetEntries();
    ASSERT_EQ (entries.size(), 4u);
    EXPECT_EQ (entries[0].valueType, AAX_CChunkDataParser::typeNone);
    EXPECT_STREQ (entries[0].valueName.Get(), "x");
    EXPECT_EQ (entries[1].valueType, AAX_CChunkDataParser::typeFloat);
    EXPECT_EQ (entries[1].numericValue, 0x3F800000u);
    EXPECT_EQ (entries[2].valueType, AAX_CChunkDataParser::typeInt16);
    EXPECT_EQ (entries[2].numericValue, 0x0102u);
    EXPECT_EQ (entries[3].valueType, AAX_CChunkDataParser::typeDouble);
    EXPECT_STREQ (entries[3].valueName.Get(), "");
}

TEST (AAX_CChunkDataParserTest, HostileChunksAreReadWithinTheirBounds)
{
    const Bytes goodEntry { 'l', '_', 'a', 0, 0, 0, 0, 5 };

    struct HostileCase
    {
        const char* what;
        Bytes data;
        int32_t sizeField;                 ///< what the chunk claims; the buffer holds data only
        std::vector<std::string> names;    ///< the entries read
    };

    const std::vector<HostileCase> cases {
        { "no marker", Bytes { 1, 1, 1, 2 } + goodEntry, 12, {} },
        { "only the marker", marker, 4, {} },
        { "negative size", marker + goodEntry, -12, {} },
        { "size below the marker", marker, 3, {} },
        { "size cuts the value", marker + goodEntry, 10, {} },
        { "size cuts the key", marker + goodEntry, 6, {} },
        { "double runs past the end", marker + goodEntry + Bytes { 'd', '_', 'b', 0, 1, 2, 3, 4 }, 20, { "a" } },
        { "int16 slot runs past the end", marker + goodEntry + Bytes { 's', '_', 'b', 0, 1, 2 }, 18, { "a" } },
        { "unterminated key", marker + goodEntry + Bytes { 'l', '_', 'b', 'b' }, 16, { "a" } },
        { "key longer than 255", marker + Bytes (300, 'k') + Bytes { 0, 0, 0, 0 }, 308, {} },
        { "unterminated text", marker + goodEntry + Bytes { 'r', '_', 'b', 0, 'x', 'y', 'z', 'w' }, 20, { "a" } },
        { "text ending the chunk without padding", marker + Bytes { 'r', '_', 'b', 0, 'x', 0 }, 10, { "b" } },
    };

    for (const auto& c : cases)
    {
        // The buffer holds exactly the case's bytes: a sanitizer sees any read beyond them.
        auto chunk = ChunkBuffer::holding (c.data);
        chunk.get()->fSize = c.sizeField;
        AAX_CChunkDataParser parser;
        parser.AddInt32 ("stale", 1);
        parser.LoadChunk (chunk.get());

        EXPECT_EQ (namesOf (parser), c.names) << c.what;
    }
}

TEST (AAX_CChunkDataParserTest, AnOverflowIsCaughtAndLeavesTheSizeUnwritten)
{
    AAX_CChunkDataParser parser;
    parser.LoadChunk (ChunkBuffer::holding (marker + Bytes { 'q', '_', 'x', 'y', 'z', 0, 0, 0 }).get());
    ASSERT_EQ (parser.GetEntries().size(), 1u);

    // An entry without a value counts no value bytes, but is written with four.
    ChunkBuffer chunk (static_cast<size_t> (parser.GetChunkDataSize()) + 8);
    chunk.get()->fSize = -7;
    EXPECT_EQ (parser.GetChunkData (chunk.get()), AAX_ERROR_CHUNK_OVERFLOW);
    EXPECT_EQ (chunk.get()->fSize, -7);
}
