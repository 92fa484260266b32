#pragma once

#include "SZBase4s.h"

#include <array>

/** Fourth-order band-limiting filter ahead of the delay lines of DimensionCChorus:
    blocks 0 Hz and falls off towards high frequencies. */
class DimensionCAntiAliasing final : public SZBase4s
{
public:
    /** The analog prototype H(s) = numerator(s) / denominator(s), ascending powers of s. */
    static constexpr std::array<double, 5> denominator {
        1.0, 0x1.99edccf794f75p-4, 0x1.2f854be850983p-20, 0x1.5f7e58c647fdcp-37, 0x1.5754af5acb7cep-56
    };
    static constexpr std::array<double, 5> numerator { 0.0, 0x1.9999999999999p-4, 0.0, 0.0, 0.0 };

    ~DimensionCAntiAliasing() override;

    /** Computes the digital coefficients at the stored sample rate. */
    void calc() override;
};
