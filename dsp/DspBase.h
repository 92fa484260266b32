#pragma once

#include <cmath>

/** Number of samples over which ramps, glides and fades run at sample rate fs:
    1024 below 34050 Hz, 2048 below 68000 Hz, 4096 below 136000 Hz, else 8192
    (a rate that is not a number falls in the last band). */
inline int getSampleRateBandLength (float fs) noexcept
{
    if (fs < 34050.0f)  return 1024;
    if (fs < 68000.0f)  return 2048;
    if (fs < 136000.0f) return 4096;
    return 8192;
}

/** Root of most processing blocks: a sample rate, a name and the life-cycle
    operations every owner drives (setSampleRate, reset, calc, process). */
class DspBase
{
public:
    DspBase() noexcept = default;
    virtual ~DspBase() = default;

    /** Stores the sample rate; derives nothing unless a subclass says so. */
    virtual void setSampleRate (float fs) { sampleRate = fs; }

    /** Returns the stored sample rate. */
    virtual float getSampleRate() const noexcept { return sampleRate; }

    /** Returns the block's name, or an empty text when it has none. */
    virtual const char* getName() const noexcept { return name != nullptr ? name : ""; }

    /** Clears signal memory, then puts derived values back to neutral. */
    virtual void reset()
    {
        resetBuffer();
        resetCoeffs();
    }

    /** Clears signal memory (filter states, delay buffers, envelopes). */
    virtual void resetBuffer() {}

    /** Puts coefficients and ramp counters back to a neutral state. */
    virtual void resetCoeffs() {}

    /** Derives coefficients or starts ramps from the stored settings. */
    virtual void calc() {}

protected:
    explicit DspBase (const char* blockName) noexcept : name (blockName) {}

    float sampleRate = 44100.0f;
    const char* name = "DspBase";
};
