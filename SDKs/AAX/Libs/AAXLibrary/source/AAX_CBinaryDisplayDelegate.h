// Shows off and on as two fixed texts and reads exactly those texts back.
#pragma once

#include "AAX_CString.h"
#include "AAX_IDisplayDelegate.h"

template <typename T = bool>
class AAX_CBinaryDisplayDelegate : public AAX_IDisplayDelegate<T>
{
public:
    AAX_CBinaryDisplayDelegate (const char* falseString, const char* trueString)
        : falseText (falseString), trueText (trueString) {}

    AAX_CBinaryDisplayDelegate* Clone() const override  { return new AAX_CBinaryDisplayDelegate (*this); }

    bool ValueToString (T value, AAX_CString* target) const override
    {
        *target = value ? trueText : falseText;
        return true;
    }

    /** The full text: a limit is not applied. */
    bool ValueToString (T value, int32_t, AAX_CString* target) const override
    {
        return ValueToString (value, target);
    }

    /** True for the true text; false for anything else, which only the false text parses as. */
    bool StringToValue (const AAX_CString& text, T* out) const override
    {
        *out = (text == trueText);
        return *out || text == falseText;
    }

private:
    AAX_CString falseText;
    AAX_CString trueText;
};
