// Turns a parameter's real value into the text a host shows, and back.
#pragma once

#include <cstdint>

class AAX_CString;

/** The untyped root of all display delegates. */
class AAX_IDisplayDelegateBase
{
public:
    virtual ~AAX_IDisplayDelegateBase() = default;
};

template <typename T>
class AAX_IDisplayDelegate : public AAX_IDisplayDelegateBase
{
public:
    ~AAX_IDisplayDelegate() override = default;

    /** A new copy, owned by the caller. */
    virtual AAX_IDisplayDelegate* Clone() const = 0;
    virtual bool ValueToString (T value, AAX_CString* target) const = 0;
    virtual bool ValueToString (T value, int32_t maxNumChars, AAX_CString* target) const = 0;
    virtual bool StringToValue (const AAX_CString& text, T* out) const = 0;
};
