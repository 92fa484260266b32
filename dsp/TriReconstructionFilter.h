#pragma once

#include "DimensionCReconstructionFilter.h"

/** Fourth-order smoothing filter after the delay lines of TriChorus:
    blocks 0 Hz and falls off towards high frequencies. */
class TriReconstructionFilter final : public SZBase4s
{
public:
    /** The analog prototype of the DimensionCReconstructionFilter, H(s) = numerator(s) / denominator(s). */
    static constexpr auto denominator = DimensionCReconstructionFilter::denominator;
    static constexpr auto numerator = DimensionCReconstructionFilter::numerator;

    ~TriReconstructionFilter() override;

    /** Computes the digital coefficients at the stored sample rate. */
    void calc() override;
};
