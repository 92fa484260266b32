#include "DimensionCrossFilter.h"

DimensionCrossFilter::~DimensionCrossFilter() = default;

void DimensionCrossFilter::calc()
{
    setCoeffs (denominator.data(), numerator.data());
}
