#include "ModulatingDelayLine.h"

namespace
{
    // Keeps every buffer index exactly representable as a float read position.
    constexpr double maxBufferLength = 1 << 24;

    int bufferLengthFor (float fs, float bufferTimeMs) noexcept
    {
        const auto samples = static_cast<double> (fs) * (static_cast<double> (bufferTimeMs) * 0.001);
        return samples >= 1.0 ? static_cast<int> (std::min (samples, maxBufferLength)) : 0;
    }
}

ModulatingDelayLine::~ModulatingDelayLine() = default;

void ModulatingDelayLine::setSampleRate (float fs)
{
    DspBase::setSampleRate (fs);

    const auto bandLength = getSampleRateBandLength (fs);
    delay.length = 16 * bandLength;
    sweep.length = bandLength;

    buffer.reset();
    bufferLength = 0;

    const auto length = bufferLengthFor (fs, bufferTime);
    buffer = std::make_unique<double[]> (static_cast<size_t> (length)); // value-initialised: silent
    bufferLength = length;

    if (writeIndex >= bufferLength)
        writeIndex = 0;
}

void ModulatingDelayLine::resetBuffer()
{
    writeIndex = 0;
    readPosition = 0.0f;
    clearBuffer();
}

void ModulatingDelayLine::resetCoeffs()
{
    delay.target = 0.0f;
    writeIndex = 0;
    readPosition = 0.0f;
}

void ModulatingDelayLine::calc()
{
    writeIndex = 0;
    delay.start();
    sweep.start();
}

void ModulatingDelayLine::forceCalcParams() noexcept
{
    delay.finish();
    sweep.finish();
    writeIndex = 0;
    clearBuffer();
}

void ModulatingDelayLine::clearBuffer() noexcept
{
    std::fill (buffer.get(), buffer.get() + bufferLength, 0.0);
}

float ModulatingDelayLine::foldIntoBuffer (float position, float length) const noexcept
{
    if (! std::isfinite (position))
        return static_cast<float> (writeIndex);

    position = std::fmod (position, length);

    if (position < 0.0f)
        position += length;

    // A tiny negative remainder can round up to the length itself: that is index 0.
    return position < length ? position : 0.0f;
}
