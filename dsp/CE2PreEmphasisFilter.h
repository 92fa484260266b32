#pragma once

#include "SZBase1s.h"

#include <array>

/** Inverting high-frequency boost at the input of CE2Chorus:
    gain -1 at 0 Hz rising to -5.7 towards high frequencies. */
class CE2PreEmphasisFilter final : public SZBase1s
{
public:
    /** The analog prototype H(s) = numerator(s) / denominator(s), ascending powers of s. */
    static constexpr std::array<double, 2> denominator { 0x1.6f3p+15, 0x1.9916872b020c4p+1 };
    static constexpr std::array<double, 2> numerator { -0x1.6f3p+15, -0x1.2379a6b50b0f2p+4 };

    ~CE2PreEmphasisFilter() override;

    /** Computes the digital coefficients at the stored sample rate. */
    void calc() override;
};
