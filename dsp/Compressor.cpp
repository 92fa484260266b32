#include "Compressor.h"

Compressor::Compressor() noexcept
{
    reset();
}

Compressor::~Compressor() = default;

void Compressor::resetBuffer()
{
    resetEnvelopes (1.0); // the previous outputs
}
