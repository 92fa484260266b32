#pragma once

#include "SZBase4s.h"

#include <array>

/** Fourth-order band-limiting filter ahead of the delay line of CE2Chorus:
    blocks 0 Hz and falls off towards high frequencies. */
class CE2AntiAliasingFilter final : public SZBase4s
{
public:
    /** The analog prototype H(s) = numerator(s) / denominator(s), ascending powers of s. */
    static constexpr std::array<double, 5> denominator {
        1.0, 0x1.e8200f6a004edp-9, 0x1.5f0aef024c8a5p-23, 0x1.04defb5471212p-38, 0x1.831b0097a6b67p-55
    };
    static constexpr std::array<double, 5> numerator { 0.0, 0x1.b089a02752546p-9, 0.0, 0.0, 0.0 };

    ~CE2AntiAliasingFilter() override;

    /** Computes the digital coefficients at the stored sample rate. */
    void calc() override;
};
