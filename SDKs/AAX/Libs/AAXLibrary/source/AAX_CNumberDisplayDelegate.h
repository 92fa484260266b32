// Shows a value as a fixed-point number with Precision decimals ("0.200").
#pragma once

#include "AAX_CString.h"
#include "AAX_IDisplayDelegate.h"

#include <algorithm>

/** SpaceAfter would put spaces after the number; this system only uses 0. */
template <typename T, uint32_t Precision = 2, uint32_t SpaceAfter = 0>
class AAX_CNumberDisplayDelegate : public AAX_IDisplayDelegate<T>
{
    static_assert (SpaceAfter == 0, "numbers are shown without spaces after them");

public:
    AAX_CNumberDisplayDelegate* Clone() const override  { return new AAX_CNumberDisplayDelegate (*this); }

    bool ValueToString (T value, AAX_CString* target) const override
    {
        target->Clear();
        target->AppendNumber (static_cast<double> (value), static_cast<int32_t> (Precision));
        return true;
    }

    /** The text cut to maxNumChars (none when negative), without a point left at its end. */
    bool ValueToString (T value, int32_t maxNumChars, AAX_CString* target) const override
    {
        ValueToString (value, target);
        const auto limit = static_cast<uint32_t> (std::max (maxNumChars, 0));

        if (target->Length() > limit)
            target->Erase (limit, target->Length() - limit);

        if (limit > 0 && target->Length() == limit && (*target)[limit - 1] == '.')
            target->Erase (limit - 1, 1);

        return true;
    }

    /** Reads a number from the start of the text; 0 and false when there is none. */
    bool StringToValue (const AAX_CString& text, T* out) const override
    {
        double value = 0.0;
        const bool parsed = text.ToDouble (&value);
        *out = static_cast<T> (value);
        return parsed;
    }
};
