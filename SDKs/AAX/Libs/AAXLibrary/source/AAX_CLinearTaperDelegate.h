// A straight line between a minimum and a maximum real value.
#pragma once

#include "AAX_ITaperDelegate.h"

#include <cstdint>

/** RealPrecision would round real values; this system only uses 0, no rounding. */
template <typename T, int32_t RealPrecision = 0>
class AAX_CLinearTaperDelegate : public AAX_ITaperDelegate<T>
{
    static_assert (RealPrecision == 0, "real values are never rounded");

public:
    explicit AAX_CLinearTaperDelegate (T minimumValue = T (0), T maximumValue = T (1)) noexcept
        : minimum (minimumValue), maximum (maximumValue) {}

    AAX_CLinearTaperDelegate* Clone() const override  { return new AAX_CLinearTaperDelegate (*this); }

    T GetMaximumValue() const override  { return maximum; }
    T GetMinimumValue() const override  { return minimum; }

    /** The maximum above it, the minimum below it; a NaN stays a NaN. */
    T ConstrainRealValue (T value) const override
    {
        if (value > maximum)
            return maximum;

        return value < minimum ? minimum : value;
    }

    T NormalizedToReal (double normalized) const override
    {
        const auto real = (static_cast<double> (maximum) - static_cast<double> (minimum)) * normalized
                        + static_cast<double> (minimum);
        return this->ConstrainRealValue (static_cast<T> (real));
    }

    /** 0 for an empty range, where every value is the minimum. */
    double RealToNormalized (T value) const override
    {
        const auto range = static_cast<double> (maximum) - static_cast<double> (minimum);

        if (range == 0.0)
            return 0.0;

        return (static_cast<double> (this->ConstrainRealValue (value)) - static_cast<double> (minimum)) / range;
    }

private:
    T minimum;
    T maximum;
};
