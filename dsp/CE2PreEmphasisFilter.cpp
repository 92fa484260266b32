#include "CE2PreEmphasisFilter.h"

CE2PreEmphasisFilter::~CE2PreEmphasisFilter() = default;

void CE2PreEmphasisFilter::calc()
{
    setCoeffs (denominator.data(), numerator.data());
}
