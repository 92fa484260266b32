#pragma once

#include "ModuleBase.h"

/** Base of the digital filters made from analog prototypes H(s) = num(s) / den(s)
    by the bilinear transform s = 2 fs (1 - z^-1) / (1 + z^-1), without prewarping.

    A subclass holds the coefficients and states of one order; a prototype class
    derives from that and hands its two s-polynomials to setCoeffs() in calc().
*/
class SZBase : public ModuleBase
{
public:
    SZBase() noexcept = default;

    SZBase (const SZBase&) = delete;
    SZBase& operator= (const SZBase&) = delete;

    /** A hook run before the coefficients are computed; unused. */
    virtual void preCalc() = 0;

    /** Computes the digital coefficients at the stored sample rate from the
        prototype's denominator and numerator, each in ascending powers of s
        and holding order + 1 values. Leaves the filter states as they are. */
    virtual void setCoeffs (const double* den, const double* num) = 0;

    /** Returns k! as a double, for k >= 0. */
    static double f (int k) noexcept;

    /** Returns the coefficient of z^-n of the bilinear transform of the
        s-polynomial values[0] + values[1] s + ... + values[order] s^order at
        sample rate fs, multiplied through by (1 + z^-1)^order; 0 for a negative order. */
    static double s_to_z (const double* values, int order, int n, double fs) noexcept;
};
