#include "OscBaseClass.h"

#include <algorithm>

OscBaseClass::~OscBaseClass() = default;

void OscBaseClass::setSampleRate (float fs)
{
    DspBase::setSampleRate (fs);
    glideLength = getSampleRateBandLength (fs);
    glideReciprocal = 1.0f / static_cast<float> (glideLength);
}

void OscBaseClass::resetBuffer()
{
    phase = 0.0f;
    targetIncrement = 0.0f;
    glideStep = 0.0f;
    currentIncrement = 0.0f;
    lastTarget = 0.0f;
}

void OscBaseClass::resetCoeffs()
{
    frequency = 0.0f;
    amplitude = 1.0f;
    glideCounter = 0;
}

void OscBaseClass::calc()
{
    targetIncrement = incrementFor (frequency, sampleRate);
}

void OscBaseClass::forceCalcParams() noexcept
{
    currentIncrement = targetIncrement;
    lastTarget = targetIncrement;
    glideStep = 0.0f;
    glideCounter = glideLength;
}

float OscBaseClass::incrementFor (float hz, float fs) noexcept
{
    const auto increment = (std::isnan (hz) ? minFrequency : hz) * static_cast<float> (tableSize) / fs;
    return increment > 0.0f ? std::min (increment, maxIncrement) : 0.0f;
}
