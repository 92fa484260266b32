#include "DimensionDeEmphasisFilter.h"

DimensionDeEmphasisFilter::~DimensionDeEmphasisFilter() = default;

void DimensionDeEmphasisFilter::calc()
{
    setCoeffs (denominator.data(), numerator.data());
}
