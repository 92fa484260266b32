#pragma once

#include "SZBase2s.h"

#include <array>

/** Inverting second-order emphasis at the input of DimensionCChorus:
    gain -0.70213 at 0 Hz and -3.00912 towards high frequencies. */
class DimensionPreEmphasisFilter final : public SZBase2s
{
public:
    /** The analog prototype H(s) = numerator(s) / denominator(s), ascending powers of s. */
    static constexpr std::array<double, 3> denominator {
        0x1.6f3p+15, 0x1.86d35810624ddp+12, 0x1.2cd91eeaa6d26p-2
    };
    static constexpr std::array<double, 3> numerator {
        -0x1.01dp+15, -0x1.9d9ae703afb7ep+11, -0x1.c4a4d2b2bfdb4p-1
    };

    ~DimensionPreEmphasisFilter() override;

    /** Computes the digital coefficients at the stored sample rate. */
    void calc() override;
};
