#include "CompanderHalf.h"

CompanderHalf::~CompanderHalf() = default;

void CompanderHalf::setSampleRate (float fs)
{
    ModuleBase::setSampleRate (fs);
    detector.setSampleRate (fs);
}

void CompanderHalf::resetCoeffs()
{
    detector.resetCoeffs();
}

void CompanderHalf::calc()
{
    detector.setFrequency (getCutoff (capacitance));
    detector.calc();
}

void CompanderHalf::resetEnvelopes (double value) noexcept
{
    envelopes[0] = value;
    envelopes[1] = value;
    detector.resetBuffer();
}
