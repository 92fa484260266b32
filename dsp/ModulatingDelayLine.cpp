#include "ModulatingDelayLine.h"

#include <cstring>

namespace
{
    // Keeps every buffer index exactly representable as a float read position.
    constexpr double maxBufferLength = 1 << 24;

    bool sameBits (float a, float b) noexcept
    {
        return std::memcmp (&a, &b, sizeof a) == 0;
    }

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
    holdsOnlySilence = true;
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
    if (holdsOnlySilence)
        return;

    std::fill (buffer.get(), buffer.get() + bufferLength, 0.0);
    holdsOnlySilence = true;
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

bool ModulatingDelayLine::Ramp::isInStepWith (const Ramp& other) const noexcept
{
    return sameBits (target, other.target) && sameBits (current, other.current) && sameBits (step, other.step)
        && counter == other.counter && length == other.length;
}

bool ModulatingDelayLine::movesInStepWith (const ModulatingDelayLine& other) const noexcept
{
    return sameBits (sampleRate, other.sampleRate) && bufferLength == other.bufferLength && writeIndex == other.writeIndex
        && delay.isInStepWith (other.delay) && sweep.isInStepWith (other.sweep);
}

void ModulatingDelayLine::followMotionOf (const ModulatingDelayLine& leader) noexcept
{
    delay = leader.delay;
    sweep = leader.sweep;
    writeIndex = leader.writeIndex;
    readPosition = leader.readPosition;
}
