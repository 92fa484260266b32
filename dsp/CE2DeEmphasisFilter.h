#pragma once

#include "SZBase1s.h"

#include <array>

/** Inverse of CE2PreEmphasisFilter: gain -1 at 0 Hz falling to -0.17544
    towards high frequencies. */
class CE2DeEmphasisFilter final : public SZBase1s
{
public:
    /** The analog prototype H(s) = numerator(s) / denominator(s), ascending powers of s. */
    static constexpr std::array<double, 2> denominator { 0x1.6f3p+15, 0x1.2379a6b50b0f2p+4 };
    static constexpr std::array<double, 2> numerator { -0x1.6f3p+15, -0x1.9916872b020c5p+1 };

    ~CE2DeEmphasisFilter() override;

    /** Computes the digital coefficients at the stored sample rate. */
    void calc() override;
};
