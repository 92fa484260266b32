#include "SmoothVolume.h"

#include "DspBase.h"

SmoothVolume::~SmoothVolume() = default;

void SmoothVolume::setSampleRate (float fs)
{
    CommonBase::setSampleRate (fs);
    rampLength = getSampleRateBandLength (fs);
    rampLengthAsDouble = rampLength;
}

void SmoothVolume::resetCoeffs() noexcept
{
    firstCalc = true;
    stepCounter = 0;
    currentGain = 0.0;
    step = 0.0;
}

void SmoothVolume::calc() noexcept
{
    if (firstCalc)
    {
        currentGain = targetGain;
        firstCalc = false;
    }

    step = (targetGain - currentGain) * (1.0 / rampLengthAsDouble);
    stepCounter = 0;
}
