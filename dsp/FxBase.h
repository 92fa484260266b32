#pragma once

#include "FxModuleBase.h"

#include <memory>

/** An effect with a table of normalised parameters, a tempo and in-place
    processing of mono or stereo buffers. */
class FxBase : public FxModuleBase
{
public:
    ~FxBase() override;

    /** Processes one channel of numSamples samples in place. */
    virtual void process (float* buffer, int numSamples) noexcept = 0;

    /** Processes a left and a right channel of numSamples samples in place. */
    virtual void process (float* left, float* right, int numSamples) noexcept = 0;

    /** Stores a parameter value and hands it to the blocks as a target. */
    virtual void setParameter (int index, float value) noexcept = 0;

    /** Makes the stored value of one parameter audible. */
    virtual void calcParameter (int index) noexcept = 0;

    /** Returns a parameter's default value, or 0 for an unknown index. */
    virtual float getDefaultParameter (int index) const noexcept = 0;

    /** Returns a parameter's stored value, or 0 for an index outside the table. */
    virtual float getParameter (int index) const noexcept;

    /** Returns the parameter table (getParameterNum() values), or null before it exists. */
    virtual float* getAllParameters() noexcept;

    /** Returns a parameter's name, or an empty text for an unknown index. */
    virtual const char* getParameterName (int index) const noexcept = 0;

    /** Returns the number of parameters. */
    virtual int getParameterNum() const noexcept;

    /** Stores the longest block length the effect must accept without growing. */
    virtual void setExpectedSampleFrame (int frames);

    /** Returns the longest block length the effect holds buffers for. */
    virtual int getExpectedSampleFrame() const noexcept;

    /** Stores the host tempo in beats per minute; it takes effect at the next process call. */
    virtual void setBpm (float beatsPerMinute) noexcept;

    /** Returns the stored tempo. */
    virtual float getBpm() const noexcept;

    /** Makes every parameter take effect at once, without glides. */
    virtual void forceCalcParams() = 0;

protected:
    FxBase() noexcept;

    std::unique_ptr<float[]> parameters;
    int parameterNum = 0;
    int expectedSampleFrame = 0;
    float bpm = 120.0f;
    float lastBpm = -1.0f;
};
