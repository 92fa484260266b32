// The library's string: construction, bounds of its editing operations, and
// number formatting and parsing as the parameter texts rely on them.
#include "AAX_CString.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace
{
TEST (AAX_CStringTest, NullAndEmptyTextsGiveAnEmptyString)
{
    const AAX_CString fromNull (nullptr);
    EXPECT_EQ (fromNull.Length(), 0u);
    EXPECT_STREQ (fromNull.Get(), "");

    AAX_CString text ("abc");
    text.Set (nullptr);
    EXPECT_STREQ (text.Get(), "");
    EXPECT_EQ (AAX_CString().MaxLength(), 4294967294u);
}

TEST (AAX_CStringTest, CopiesAndAssignmentsTakeTheOtherText)
{
    const AAX_CString original ("Master");
    const AAX_IString& asInterface = original;

    AAX_CString copied (asInterface);
    AAX_CString assigned;
    assigned = asInterface;
    AAX_IString& target = assigned;
    target = "Bypass";

    EXPECT_STREQ (copied.Get(), "Master");
    EXPECT_STREQ (assigned.Get(), "Bypass");
    EXPECT_TRUE (copied == original);
    EXPECT_TRUE (copied != assigned);

    // Assigning a string to itself through the interface keeps its text.
    target = static_cast<const AAX_IString&> (assigned);
    EXPECT_STREQ (assigned.Get(), "Bypass");
}

struct EraseCase
{
    uint32_t pos;
    uint32_t count;
    const char* expected;
};

class AAX_CStringEraseTest : public ::testing::TestWithParam<EraseCase> {};

TEST_P (AAX_CStringEraseTest, NeverRemovesPastTheEnd)
{
    AAX_CString text ("hello");
    EXPECT_STREQ (text.Erase (GetParam().pos, GetParam().count).Get(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P (Bounds, AAX_CStringEraseTest, ::testing::Values (
    EraseCase { 2, 3, "he" },
    EraseCase { 2, 4, "he" },
    EraseCase { 2, 100, "he" },
    EraseCase { 1, 1, "hllo" },
    EraseCase { 0, 0, "hello" },
    EraseCase { 5, 1, "hello" },        // at the end: nothing to remove
    EraseCase { 9, 1, "hello" },        // beyond the end: nothing, nothing touched
    EraseCase { 0, 0xFFFFFFFFu, "" }));

struct SubStringCase
{
    uint32_t pos;
    uint32_t count;
    const char* expected;
};

class AAX_CStringSubStringTest : public ::testing::TestWithParam<SubStringCase> {};

TEST_P (AAX_CStringSubStringTest, TakesAtMostTheCharactersThere)
{
    AAX_CString out ("previous");
    AAX_CString ("Master").SubString (GetParam().pos, GetParam().count, &out);
    EXPECT_STREQ (out.Get(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P (Bounds, AAX_CStringSubStringTest, ::testing::Values (
    SubStringCase { 0, 3, "Mas" },
    SubStringCase { 4, 10, "er" },
    SubStringCase { 6, 2, "" },
    SubStringCase { 7, 2, "" }));

struct NumberCase
{
    const char* start;
    double value;
    int32_t precision;
    const char* expected;
};

class AAX_CStringNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P (AAX_CStringNumberTest, AppendsFixedPointWithTheGivenDecimals)
{
    AAX_CString text (GetParam().start);
    EXPECT_STREQ (text.AppendNumber (GetParam().value, GetParam().precision).Get(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P (Figures, AAX_CStringNumberTest, ::testing::Values (
    NumberCase { "x", 1.23456, 3, "x1.235" },
    NumberCase { "", -0.5, 1, "-0.5" },
    NumberCase { "", 0.5, 3, "0.500" },
    NumberCase { "", 2.0, 0, "2" },
    NumberCase { "", 0.9996, 3, "1.000" },
    NumberCase { "", static_cast<double> (0.2f), 3, "0.200" },
    NumberCase { "", 12345.678, 2, "12345.68" },
    NumberCase { "", 1.5, -2, "2" }));   // a negative precision counts as none

struct ParseCase
{
    const char* text;
    bool parses;
    double value;
};

class AAX_CStringParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P (AAX_CStringParseTest, ReadsTheNumberAtTheStart)
{
    double value = -99.0;
    EXPECT_EQ (AAX_CString (GetParam().text).ToDouble (&value), GetParam().parses);
    EXPECT_EQ (value, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P (Units, AAX_CStringParseTest, ::testing::Values (
    ParseCase { " 12.5dB", true, 12.5 },
    ParseCase { "0.5 dB", true, 0.5 },
    ParseCase { "-3 Hz", true, -3.0 },
    ParseCase { "1e2", true, 100.0 },
    ParseCase { "dB", false, 0.0 },
    ParseCase { "", false, 0.0 },
    ParseCase { "  ", false, 0.0 }));

TEST (AAX_CStringTest, IndexReachesSingleCharacters)
{
    AAX_CString text ("abc");
    text[1] = 'X';
    EXPECT_STREQ (text.Get(), "aXc");
    EXPECT_EQ (static_cast<const AAX_CString&> (text)[2], 'c');
}
}
