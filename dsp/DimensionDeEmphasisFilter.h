#pragma once

#include "SZBase1s.h"

#include <array>

/** Inverting first-order de-emphasis of DimensionCChorus:
    gain -1.42424 at 0 Hz and -0.24987 towards high frequencies. */
class DimensionDeEmphasisFilter final : public SZBase1s
{
public:
    /** The analog prototype H(s) = numerator(s) / denominator(s), ascending powers of s. */
    static constexpr std::array<double, 2> denominator { 0x1.01dp+15, 0x1.1ae703afb7e91p+3 };
    static constexpr std::array<double, 2> numerator { -0x1.6f3p+15, -0x1.1ac083126e979p+1 };

    ~DimensionDeEmphasisFilter() override;

    /** Computes the digital coefficients at the stored sample rate. */
    void calc() override;
};
