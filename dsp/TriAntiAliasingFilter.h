#pragma once

#include "DimensionCAntiAliasing.h"

/** Fourth-order band-limiting filter ahead of the delay lines of TriChorus:
    blocks 0 Hz and falls off towards high frequencies. */
class TriAntiAliasingFilter final : public SZBase4s
{
public:
    /** The analog prototype of the DimensionCAntiAliasing, H(s) = numerator(s) / denominator(s). */
    static constexpr auto denominator = DimensionCAntiAliasing::denominator;
    static constexpr auto numerator = DimensionCAntiAliasing::numerator;

    ~TriAntiAliasingFilter() override;

    /** Computes the digital coefficients at the stored sample rate. */
    void calc() override;
};
