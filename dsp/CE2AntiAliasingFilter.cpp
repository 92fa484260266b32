#include "CE2AntiAliasingFilter.h"

CE2AntiAliasingFilter::~CE2AntiAliasingFilter() = default;

void CE2AntiAliasingFilter::calc()
{
    setCoeffs (denominator.data(), numerator.data());
}
