#include "TriReconstructionFilter.h"

TriReconstructionFilter::~TriReconstructionFilter() = default;

void TriReconstructionFilter::calc()
{
    setCoeffs (denominator.data(), numerator.data());
}
