#include "CE2DeEmphasisFilter.h"

CE2DeEmphasisFilter::~CE2DeEmphasisFilter() = default;

void CE2DeEmphasisFilter::calc()
{
    setCoeffs (denominator.data(), numerator.data());
}
