#pragma once

#include "DspBase.h"

#include <array>
#include <cmath>

/** Shared part of the wavetable LFOs: frequency, table increment and the glide
    of the increment to a new frequency over one band length (no final snap).

    Frequencies are bounded where they become an increment, so a rate that is
    not a number, infinite, negative or at or above half the sample rate still
    reads inside the tables.
*/
class OscBaseClass : public DspBase
{
public:
    static constexpr int tableSize = 1024;
    using Table = std::array<float, tableSize>;

    /** Rate used in place of a frequency that is not a number. */
    static constexpr float minFrequency = 0.01f;

    /** Largest increment, half a table per sample: the LFO's Nyquist limit. */
    static constexpr float maxIncrement = 0.5f * static_cast<float> (tableSize);

    OscBaseClass() noexcept = default;
    ~OscBaseClass() override;

    OscBaseClass (const OscBaseClass&) = delete;
    OscBaseClass& operator= (const OscBaseClass&) = delete;

    /** Stores the rate and takes the glide length from its band. */
    void setSampleRate (float fs) override;

    /** Clears the phase, the increments and the glide step. */
    void resetBuffer() override;

    /** Forgets the frequency and amplitude and rearms the glide counter. */
    void resetCoeffs() override;

    /** Derives the target increment from the frequency; the next output step
        starts gliding towards it. */
    void calc() override;

    /** Stores the frequency in Hz; nothing changes until calc(). */
    virtual void setFrequency (float hz) noexcept       { frequency = hz; }

    /** Returns the stored frequency in Hz. */
    virtual float getFreq() const noexcept              { return frequency; }

    /** Stores a phase; the wavetable oscillators do not use it. */
    virtual void setPhase (float newPhase) noexcept     { phase = newPhase; }

    /** Returns the stored phase. */
    virtual float getPhase() const noexcept             { return phase; }

    /** Stores an amplitude; the wavetable oscillators do not scale by it. */
    virtual void setAmplitude (float gain) noexcept     { amplitude = gain; }

    /** Returns the stored amplitude. */
    virtual float getAmplitude() const noexcept         { return amplitude; }

    /** Ends any glide: the target increment applies from the next step on. */
    virtual void forceCalcParams() noexcept;

    /** Runs one output step and returns the first output. */
    virtual float getOscSignal() noexcept = 0;

    /** Returns the increment in use, in table points per sample. */
    float getIncrement() const noexcept                 { return currentIncrement; }

protected:
    /** Where one output step reads the tables. */
    struct TableRead
    {
        /** Returns the linearly interpolated value of table at this read. */
        float valueIn (const Table& table) const noexcept
        {
            return frac * table[static_cast<size_t> (next)] + (1.0f - frac) * table[static_cast<size_t> (index)];
        }

        int index;
        int next;
        float frac;
    };

    /** Glides the increment one step, then returns where to read at position
        and moves position on by the increment. */
    TableRead step (float& position) noexcept
    {
        glide();
        const auto read = readAt (position);
        position = advance (position, currentIncrement);
        return read;
    }

private:
    void glide() noexcept
    {
        if (targetIncrement != lastTarget)
        {
            glideStep = (targetIncrement - currentIncrement) * glideReciprocal;
            glideCounter = 0;
            lastTarget = targetIncrement;
        }

        if (glideCounter < glideLength)
        {
            ++glideCounter;
            currentIncrement += glideStep;
        }
    }

    static TableRead readAt (float position) noexcept
    {
        // advance() keeps the position in [0, tableSize), where truncation is the floor.
        const auto index = static_cast<int> (position);
        return { index, index == tableSize - 1 ? 0 : index + 1, position - static_cast<float> (index) };
    }

    static float advance (float position, float increment) noexcept
    {
        constexpr auto size = static_cast<float> (tableSize);
        position += increment;

        if (position >= size)
            position -= size;
        else if (position < 0.0f)
            position += size; // an increment that glided on below 0 runs the table backwards

        // An increment that glided on past its bounds must still read inside.
        return position >= 0.0f && position < size ? position : 0.0f;
    }

    static float incrementFor (float hz, float fs) noexcept;

    float frequency = 0.0f;
    float amplitude = 1.0f;
    float phase = 0.0f;
    float targetIncrement = 0.0f;
    int glideCounter = 0;
    int glideLength = 0;
    float glideStep = 0.0f;
    float currentIncrement = 0.0f;
    float lastTarget = 0.0f;
    float glideReciprocal = 0.0f;
};
