#pragma once

#include "SZBase2s.h"

#include <array>

/** Second-order filter shaping the inverted voice that DimensionCChorus adds to
    the other channel: blocks 0 Hz, gain 0.49454 towards high frequencies. */
class DimensionCrossFilter final : public SZBase2s
{
public:
    /** The analog prototype H(s) = numerator(s) / denominator(s), ascending powers of s. */
    static constexpr std::array<double, 3> denominator {
        0x1.04bep+18, 0x1.4cb03ec56d5cfp+16, 0x1.6bdbf487fcb92p+3
    };
    static constexpr std::array<double, 3> numerator {
        0.0, 0x1.57bffffffffffp+14, 0x1.67e28240b7803p+2
    };

    ~DimensionCrossFilter() override;

    /** Computes the digital coefficients at the stored sample rate. */
    void calc() override;
};
