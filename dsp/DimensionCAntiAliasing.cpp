#include "DimensionCAntiAliasing.h"

DimensionCAntiAliasing::~DimensionCAntiAliasing() = default;

void DimensionCAntiAliasing::calc()
{
    setCoeffs (denominator.data(), numerator.data());
}
