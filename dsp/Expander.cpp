#include "Expander.h"

Expander::Expander() noexcept
{
    reset();
}

Expander::~Expander() = default;

void Expander::setSampleRate (float fs)
{
    ModuleBase::setSampleRate (fs);
    detector.setSampleRate (fs);
}

void Expander::resetBuffer()
{
    envelopes[0] = 0.0;
    envelopes[1] = 0.0;
    capacitance = CompanderDetector::defaultCapacitance;
    detector.resetBuffer();
}

void Expander::resetCoeffs()
{
    detector.resetCoeffs();
}

void Expander::calc()
{
    detector.setFrequency (CompanderDetector::getCutoff (capacitance));
    detector.calc();
}
