#include "Expander.h"

Expander::Expander() noexcept
{
    reset();
}

Expander::~Expander() = default;

void Expander::resetBuffer()
{
    resetEnvelopes (0.0); // the last smoothed magnitudes
    capacitance = defaultCapacitance;
}
