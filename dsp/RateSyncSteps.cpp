#include "RateSyncSteps.h"

#include <algorithm>
#include <array>

namespace
{
    // The upper bound of every step but the last, in single precision.
    constexpr std::array<float, RateSyncSteps::lastStep> makeStepBounds() noexcept
    {
        std::array<float, RateSyncSteps::lastStep> bounds {};

        for (size_t k = 0; k < bounds.size(); ++k)
            bounds[k] = static_cast<float> (k) / static_cast<float> (RateSyncSteps::lastStep)
                            + RateSyncSteps::nominalTolerance;

        return bounds;
    }

    constexpr std::array<float, RateSyncSteps::lastStep> stepBounds = makeStepBounds();
}

int RateSyncSteps::getStep (float value) noexcept
{
    const float limited = value >= 0.0f ? std::min (value, 1.0f) : 0.0f;

    for (size_t k = 0; k < stepBounds.size(); ++k)
        if (limited <= stepBounds[k])
            return static_cast<int> (k);

    return lastStep;
}
