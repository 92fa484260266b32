#include "DimensionPreEmphasisFilter.h"

DimensionPreEmphasisFilter::~DimensionPreEmphasisFilter() = default;

void DimensionPreEmphasisFilter::calc()
{
    setCoeffs (denominator.data(), numerator.data());
}
