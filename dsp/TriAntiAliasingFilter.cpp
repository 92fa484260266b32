#include "TriAntiAliasingFilter.h"

TriAntiAliasingFilter::~TriAntiAliasingFilter() = default;

void TriAntiAliasingFilter::calc()
{
    setCoeffs (denominator.data(), numerator.data());
}
