#include "OnePole.h"

#include <cmath>

OnePole::~OnePole() = default;

void OnePole::resetBuffer()
{
    states[0] = 0.0;
    states[1] = 0.0;
}

void OnePole::resetCoeffs()
{
    b0 = 1.0;
    a1 = 0.0;
    frequency = 0.0f;
}

void OnePole::setFrequency (float hz)
{
    frequency = hz;
    const double a = std::exp (-6.283185307179586 * static_cast<double> (hz) / static_cast<double> (sampleRate));
    b0 = 1.0 - a;
    a1 = -a;
}
