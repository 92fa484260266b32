// The text interface through which names, identifiers and value texts cross
// the host boundary. On a foreign string only these operations are called.
#pragma once

#include <cstdint>

class AAX_IString
{
public:
    virtual ~AAX_IString() = default;

    /** The number of bytes of the text. */
    virtual uint32_t Length() const = 0;
    /** The longest text the object can hold. */
    virtual uint32_t MaxLength() const = 0;
    /** The zero-terminated text, valid until the next change. */
    virtual const char* Get() const = 0;
    /** Replaces the text with a zero-terminated one. */
    virtual void Set (const char* text) = 0;
    virtual AAX_IString& operator= (const AAX_IString& other) = 0;
    virtual AAX_IString& operator= (const char* text) = 0;

protected:
    AAX_IString() = default;
    AAX_IString (const AAX_IString&) = default;
};
