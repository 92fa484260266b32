#include "DimensionCReconstructionFilter.h"

DimensionCReconstructionFilter::~DimensionCReconstructionFilter() = default;

void DimensionCReconstructionFilter::calc()
{
    setCoeffs (denominator.data(), numerator.data());
}
