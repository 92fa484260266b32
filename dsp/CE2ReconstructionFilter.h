#pragma once

#include "SZBase4s.h"

#include <array>

/** Fourth-order smoothing filter after the delay line of CE2Chorus:
    blocks 0 Hz and falls off towards high frequencies. */
class CE2ReconstructionFilter final : public SZBase4s
{
public:
    /** The analog prototype H(s) = numerator(s) / denominator(s), ascending powers of s. */
    static constexpr std::array<double, 5> denominator {
        1.0, 0x1.8f274fd021ebdp-7, 0x1.2046817a63bcap-21, 0x1.ad68714c203e9p-37, 0x1.3f5cad49e989cp-53
    };
    static constexpr std::array<double, 5> numerator { 0.0, 0x1.64d7f0ed3d859p-7, 0.0, 0.0, 0.0 };

    ~CE2ReconstructionFilter() override;

    /** Computes the digital coefficients at the stored sample rate. */
    void calc() override;
};
