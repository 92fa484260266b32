#include "WavetableTriangleOsc.h"

namespace
{
    float curve (float t) noexcept
    {
        constexpr auto k = WavetableTriangleOsc::curvature;
        constexpr auto kMinusOne = WavetableTriangleOsc::curvatureMinusOne;
        return std::log (k / (kMinusOne - (t * kMinusOne - 1.0f))) / std::log (k);
    }

    float foldedTriangle (int i) noexcept
    {
        const auto b = static_cast<float> (i) * 0x1p-10f;
        return b < 0.5f ? 2.0f * b : (b - 0.5f) * -2.0f + 1.0f;
    }
}

WavetableTriangleOsc::WavetableTriangleOsc() noexcept
{
    for (int i = 0; i < tableSize; ++i)
    {
        const auto t = foldedTriangle (i);
        table1[static_cast<size_t> (i)] = curve (t);
        table2[static_cast<size_t> (i)] = curve (1.0f - t);
    }
}

WavetableTriangleOsc::~WavetableTriangleOsc() = default;

void WavetableTriangleOsc::resetCoeffs()
{
    OscBaseClass::resetCoeffs();
    position = 0.0f;
}
