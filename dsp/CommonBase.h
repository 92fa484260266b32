#pragma once

/** Second root of the block tree, for gain stages: a sample rate and the
    per-sample operations, without a name or coefficients. */
class CommonBase
{
public:
    CommonBase() noexcept = default;
    virtual ~CommonBase() = default;

    /** Stores the sample rate. */
    virtual void setSampleRate (float fs) { sampleRate = fs; }

    /** Does nothing; subclasses with state override it. */
    virtual void reset() {}

    /** Transforms one sample in place. */
    virtual void process (double& x) noexcept = 0;

    /** Transforms a left and a right sample in place. */
    virtual void process (double& left, double& right) noexcept = 0;

protected:
    float sampleRate = 44100.0f;
};
