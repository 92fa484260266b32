#include "SZBase.h"

#include <algorithm>
#include <cmath>

double SZBase::f (int k) noexcept
{
    return k <= 0 ? 1.0 : f (k - 1) * k;
}

double SZBase::s_to_z (const double* values, int order, int n, double fs) noexcept
{
    static constexpr double sign[2] = { 1.0, -1.0 };

    // (s^j (1 + z^-1)^order) becomes (2 fs)^j (1 - z^-1)^j (1 + z^-1)^(order - j):
    // t collects the coefficient of z^-n of the two binomial expansions.
    double sum = 0.0;

    for (int j = 0; j <= order; ++j)
    {
        double t = 0.0;

        for (int m = std::max (0, n + j - order); m <= std::min (n, j); ++m)
            t += sign[m % 2] * (f (j) * f (order - j)
                                / (f (order - n - j + m) * f (n - m) * f (j - m) * f (m)));

        sum += (std::pow (2.0 * fs, j) * values[j]) * t;
    }

    return sum;
}
