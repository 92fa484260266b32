#include "Compressor.h"

Compressor::Compressor() noexcept
{
    reset();
}

Compressor::~Compressor() = default;

void Compressor::setSampleRate (float fs)
{
    ModuleBase::setSampleRate (fs);
    detector.setSampleRate (fs);
}

void Compressor::resetBuffer()
{
    envelopes[0] = 1.0;
    envelopes[1] = 1.0;
    detector.resetBuffer();
}

void Compressor::resetCoeffs()
{
    detector.resetCoeffs();
}

void Compressor::calc()
{
    detector.setFrequency (CompanderDetector::getCutoff (capacitance));
    detector.calc();
}
