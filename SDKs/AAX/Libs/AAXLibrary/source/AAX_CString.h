// The library's own string: every text the library builds or keeps, and what
// it hands to the host as an AAX_IString.
#pragma once

#include "AAX_IString.h"

#include <string>

class AAX_CString : public AAX_IString
{
public:
    AAX_CString() = default;
    /** A copy of the text; null gives an empty string. */
    AAX_CString (const char* text);
    AAX_CString (const AAX_CString& other) = default;
    /** A copy of the other string's text. */
    explicit AAX_CString (const AAX_IString& other);
    ~AAX_CString() override = default;

    AAX_CString& operator= (const AAX_CString& other);
    AAX_CString& operator= (const AAX_IString& other) override;
    AAX_CString& operator= (const char* text) override;

    uint32_t Length() const override;
    /** 0xFFFFFFFE: the class sets no limit of its own. */
    uint32_t MaxLength() const override;
    const char* Get() const override;
    /** Replaces the text; null empties it. */
    void Set (const char* text) override;

    const char* CString() const  { return Get(); }
    void Clear()  { text.clear(); }

    /** Compares the zero-terminated texts byte by byte. */
    bool operator== (const AAX_CString& other) const;
    bool operator!= (const AAX_CString& other) const  { return ! operator== (other); }

    /** The character at index, which must be below Length(). */
    char& operator[] (uint32_t index)  { return text[index]; }
    const char& operator[] (uint32_t index) const  { return text[index]; }

    /** Removes up to count characters from pos on, never past the end; a pos
        beyond the end removes nothing. */
    AAX_CString& Erase (uint32_t pos, uint32_t count);
    /** Sets out to at most count characters from pos on (empty when pos is beyond the end). */
    void SubString (uint32_t pos, uint32_t count, AAX_IString* out) const;
    /** Appends value in fixed-point notation with precision decimals ("0.500"). */
    AAX_CString& AppendNumber (double value, int32_t precision);
    /** Reads a number from the start of the text, after white space; false and 0 when there is none. */
    bool ToDouble (double* out) const;

private:
    std::string text;
};
