#pragma once

#include "SZBase4s.h"

#include <array>

/** Fourth-order smoothing filter after the delay lines of DimensionCChorus:
    blocks 0 Hz and falls off towards high frequencies. */
class DimensionCReconstructionFilter final : public SZBase4s
{
public:
    /** The analog prototype H(s) = numerator(s) / denominator(s), ascending powers of s. */
    static constexpr std::array<double, 5> denominator {
        1.0, 0x1.f9f44d4456713p-7, 0x1.740b8062d7375p-23, 0x1.a8322fcab2d57p-40, 0x1.9ae5f723584bbp-59
    };
    static constexpr std::array<double, 5> numerator { 0.0, 0x1.ea35935fc3b4fp-7, 0.0, 0.0, 0.0 };

    ~DimensionCReconstructionFilter() override;

    /** Computes the digital coefficients at the stored sample rate. */
    void calc() override;
};
