#include "CE2ReconstructionFilter.h"

CE2ReconstructionFilter::~CE2ReconstructionFilter() = default;

void CE2ReconstructionFilter::calc()
{
    setCoeffs (denominator.data(), numerator.data());
}
