#pragma once

#include "DoublePair.h"
#include "DspBase.h"

#include <algorithm>
#include <cmath>
#include <memory>

/** Circular delay line read at a delay that an LFO value moves between a base
    delay and the base delay plus a sweep width (both in ms), with linear
    interpolation between neighbouring samples. New base delays glide in over
    16 band lengths, new sweep widths over one band length.

    The read position is kept inside the buffer whatever the delay, sweep width
    and LFO value are, and a line without a buffer passes samples through.
*/
class ModulatingDelayLine final : public DspBase
{
public:
    /** Multiplier turning milliseconds into seconds, negated (the read runs backwards). */
    static constexpr float negativeMsToSeconds = -0x1.0624dep-10f; // -0.001f

    ModulatingDelayLine() noexcept = default;
    ~ModulatingDelayLine() override;

    ModulatingDelayLine (const ModulatingDelayLine&) = delete;
    ModulatingDelayLine& operator= (const ModulatingDelayLine&) = delete;

    /** Stores the rate, derives the ramp lengths and allocates a cleared buffer
        of the buffer time. Allocates: call it only while nothing is processed. */
    void setSampleRate (float fs) override;

    /** Clears the buffer, the write index and the read position. */
    void resetBuffer() override;

    /** Sets the delay target to 0 and clears the write index and read position. */
    void resetCoeffs() override;

    /** Starts both ramps towards their targets and restarts writing at index 0. */
    void calc() override;

    /** Stores the base delay target in ms, limited to the maximum delay. */
    void setDelay (float ms) noexcept                   { delay.target = std::min (maxDelay, ms); }

    /** Stores the sweep width target in ms, limited to the maximum sweep width. */
    void setSweepWidth (float ms) noexcept              { sweep.target = std::min (maxSweepWidth, ms); }

    /** Starts only the sweep-width ramp. */
    void calcSweepWidth() noexcept                      { sweep.start(); }

    /** Ends both ramps at their targets and silences the line. */
    void forceCalcParams() noexcept;

    /** Returns the base delay target in ms. */
    float getDelay() const noexcept                     { return delay.target; }

    /** Returns the base delay in use, in ms. */
    float getCurrentDelay() const noexcept              { return delay.current; }

    /** Returns the sweep width target in ms. */
    float getSweepWidth() const noexcept                { return sweep.target; }

    /** Returns the sweep width in use, in ms. */
    float getCurrentSweepWidth() const noexcept         { return sweep.current; }

    /** Returns the buffer length in samples (0 before the first setSampleRate). */
    int getBufferLength() const noexcept                { return bufferLength; }

    /** Returns the fractional buffer index read by the last process call. */
    float getReadPosition() const noexcept              { return readPosition; }

    /** Writes x into the line and replaces it with the sample delayed by
        delay + sweep width x mod (mod normally in [0, 1]). */
    void process (double& x, float& mod) noexcept
    {
        if (bufferLength <= 0)
            return;

        advanceRamps();
        buffer[writeIndex] = x;
        holdsOnlySilence = false;
        x = readFor (mod).from (buffer.get());
        advanceWriteIndex();
    }

    /** Runs two lines side by side on the lanes of a pair: the left lane
        through leftLine modulated by leftMod, the right lane through rightLine
        modulated by rightMod. */
    static void processPair (ModulatingDelayLine& leftLine, ModulatingDelayLine& rightLine,
                             DoublePair& pair, float leftMod, float rightMod) noexcept
    {
        auto left = pair.left(), right = pair.right();
        leftLine.process (left, leftMod);
        rightLine.process (right, rightMod);
        pair = DoublePair (left, right);
    }

    /** True when other reads where this line reads for any LFO value, sample
        after sample: the same rate, buffer length, write index and ramps, bit for bit. */
    bool movesInStepWith (const ModulatingDelayLine& other) const noexcept;

    class SweptPair;

private:
    /** A linear ramp of a fixed length that lands exactly on its target. */
    struct Ramp
    {
        void start() noexcept
        {
            counter = 0;
            step = (target - current) / static_cast<float> (length);
        }

        void finish() noexcept
        {
            counter = length;
            step = 0.0f;
            current = target;
        }

        void advance() noexcept
        {
            if (counter >= length)
                return;

            ++counter;
            current += step;

            if (counter == length)
                current = target;
        }

        bool isInStepWith (const Ramp& other) const noexcept;

        float target = 0.0f;
        float current = 0.0f;
        float step = 0.0f;
        int counter = 0;
        int length = 0;
    };

    /** Where one sample is read: two neighbouring indices and the weight of the second. */
    struct Read
    {
        double from (const double* samples) const noexcept
        {
            return (1.0 - frac) * samples[index] + frac * samples[next];
        }

        /** The same read from two buffers at once, one per lane. */
        DoublePair from (const double* leftSamples, const double* rightSamples) const noexcept
        {
            return DoublePair (1.0 - frac) * DoublePair (leftSamples[index], rightSamples[index])
                 + DoublePair (frac) * DoublePair (leftSamples[next], rightSamples[next]);
        }

        int index;
        int next;
        double frac;
    };

    void advanceRamps() noexcept
    {
        delay.advance();
        sweep.advance();
    }

    void advanceWriteIndex() noexcept                   { writeIndex = writeIndex + 1 == bufferLength ? 0 : writeIndex + 1; }

    /** Finds and records the read position for LFO value mod. */
    Read readFor (float mod) noexcept
    {
        readPosition = readPositionFor (mod);

        // The read position lies in [0, length), where truncation is the floor.
        const auto index = static_cast<int> (readPosition);
        const auto frac = readPosition - static_cast<float> (index);
        return { index, index + 1 == bufferLength ? 0 : index + 1, static_cast<double> (frac) };
    }

    /** The fractional buffer index for LFO value mod, inside [0, length). */
    float readPositionFor (float mod) const noexcept
    {
        const auto length = static_cast<float> (bufferLength);
        auto position = (sweep.current * mod + delay.current) * negativeMsToSeconds * sampleRate
                      + static_cast<float> (writeIndex);

        if (position < 0.0f)
            position += length;

        return position >= 0.0f && position < length ? position : foldIntoBuffer (position, length);
    }

    /** Brings a read position that is still outside [0, length) after the single
        wrap back inside; one that is not finite reads at the write index. */
    float foldIntoBuffer (float position, float length) const noexcept;

    /** Takes over the ramps, write index and read position of a line that moved in step with this one. */
    void followMotionOf (const ModulatingDelayLine& leader) noexcept;

    /** Silences the buffer; one written nothing since it was last silenced is
        left as it is, since clearing is the costly part of every reset. */
    void clearBuffer() noexcept;

    float maxDelay = 500.0f;
    float bufferTime = 610.0f;
    float maxSweepWidth = 100.0f;
    Ramp delay;
    Ramp sweep;
    std::unique_ptr<double[]> buffer;
    bool holdsOnlySilence = true;
    int bufferLength = 0;
    int writeIndex = 0;
    float readPosition = 0.0f;
};

/** Two lines swept by the same LFO value through one block, on the lanes of a
    pair. Lines that move in step read at the same position, so while they do
    the right line only stores its input and shares the left line's read, and
    takes over the left line's motion when the pair is destroyed at the end of
    the block. Neither line may be used on its own while the pair exists.
*/
class ModulatingDelayLine::SweptPair final
{
public:
    SweptPair (ModulatingDelayLine& leftLine, ModulatingDelayLine& rightLine) noexcept
        : left (leftLine), right (rightLine), inStep (rightLine.movesInStepWith (leftLine))
    {
    }

    ~SweptPair()
    {
        if (inStep)
            right.followMotionOf (left);
    }

    SweptPair (const SweptPair&) = delete;
    SweptPair& operator= (const SweptPair&) = delete;

    /** The left lane through the left line, the right lane through the right line, both modulated by mod. */
    void process (DoublePair& pair, float mod) noexcept
    {
        if (! inStep)
        {
            processPair (left, right, pair, mod, mod);
            return;
        }

        if (left.bufferLength <= 0)
            return;

        left.advanceRamps();
        left.buffer[left.writeIndex] = pair.left();
        right.buffer[left.writeIndex] = pair.right();
        left.holdsOnlySilence = right.holdsOnlySilence = false;
        pair = left.readFor (mod).from (left.buffer.get(), right.buffer.get());
        left.advanceWriteIndex();
    }

private:
    ModulatingDelayLine& left;
    ModulatingDelayLine& right;
    const bool inStep;
};
