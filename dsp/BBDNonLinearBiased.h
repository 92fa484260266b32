#pragma once

#include "DoublePair.h"

/** Bucket-brigade soft clip: a cubic around a bias of -0.74 with flat limits
    at the cubic's extremes, slightly asymmetric, mapping 0 to exactly 0. Stateless.
*/
class BBDNonLinearBiased final
{
public:
    static constexpr double bias = -0.74;

    /** Biased input at and above which the output holds at upperOutput (1.811737835407257). */
    static constexpr double upperLimit = 0x1.cfce0dp+0;

    /** Output above the upper limit (1.856996288933607). */
    static constexpr double upperOutput = 0x1.db641bd9c361ap+0;

    /** Biased input at and below which the output holds at lowerOutput (-3.311737847328186). */
    static constexpr double lowerLimit = -0x1.a7e706999999ap+1;

    /** Output below the lower limit (-1.8788711777824965). */
    static constexpr double lowerOutput = -0x1.e0fdb395f90b0p+0;

    /** Cubic coefficient (-0.0555555555555556, not the double nearest -1/18). */
    static constexpr double cubic = -0x1.c71c71c71c723p-5;

    /** Cancels the curve's value at the bias (0.6609375555555556). */
    static constexpr double offset = 0x1.526668439e5bdp-1;

    BBDNonLinearBiased() noexcept;

    /** Soft-clips one sample in place. */
    void process (double& x) const noexcept
    {
        const auto y = x + bias;

        if (y >= upperLimit)
            x = upperOutput;
        else if (y <= lowerLimit)
            x = lowerOutput;
        else
            x = ((cubic * y * y * y) + (y - 0.125 * y * y)) + 0.125 + offset;
    }

    /** Soft-clips a left and then a right sample in place. */
    void process (double& left, double& right) const noexcept
    {
        process (left);
        process (right);
    }

    /** Soft-clips both lanes of a pair in place, without branches: both are
        curved, then the lanes beyond a limit take that limit's output. */
    void process (DoublePair& pair) const noexcept
    {
        const auto y = pair + DoublePair (bias);
        const auto curve = ((DoublePair (cubic) * y * y * y) + (y - DoublePair (0.125) * y * y))
                         + DoublePair (0.125) + DoublePair (offset);
        pair = whereAtLeast (y, upperLimit, upperOutput, whereAtMost (y, lowerLimit, lowerOutput, curve));
    }
};
