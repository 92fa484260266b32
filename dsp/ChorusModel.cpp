#include "ChorusModel.h"

#include "RateSyncSteps.h"
#include "ScopedFlushDenormals.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace
{
    struct ParameterInfo
    {
        const char* name;
        float defaultValue;
    };

    constexpr std::array<ParameterInfo, ChorusModel::numParameters> parameterInfos { {
        { "Bypass",   1.0f },
        { "Rate",     0.2f },
        { "RateSync", 0.16666667f },
        { "Depth",    0.2f },
        { "Mix",      0.5f },
        { "Level",    0.5f },
        { "StereoOn", 0.0f },
        { "SyncOn",   0.0f },
    } };

    // Beats per LFO cycle, from "8/1" to "1/32T", by step.
    constexpr std::array<float, RateSyncSteps::numSteps> beatsPerCycle {
        32.0f, 16.0f, 8.0f, 4.0f, 3.0f, 2.0f, 1.333f, 1.5f, 1.0f, 0.6665f,
        0.75f, 0.5f, 0.333f, 0.375f, 0.25f, 0.1665f, 0.1875f, 0.125f, 0.083f
    };

    bool isValidIndex (int index) noexcept { return index >= 0 && index < ChorusModel::numParameters; }

    // Host values are not trusted: anything outside 0..1 is pulled to the nearer end, not-a-number to 0.
    float limitToUnitRange (float value) noexcept { return value >= 0.0f ? std::min (value, 1.0f) : 0.0f; }

    void zeroNonFinite (float* samples, int numSamples) noexcept
    {
        for (int i = 0; i < numSamples; ++i)
            samples[i] = std::isfinite (samples[i]) ? samples[i] : 0.0f;
    }

    constexpr float sweepWidthSpan = 9.99f;
    constexpr float minSweepWidth = 0.01f;
    constexpr float baseDelayMs = 7.0f;
    constexpr float companderCapacitance = 4.7e-7f;
    constexpr float dcBlockerFrequency = 10.0f;
    constexpr float lfoSmootherFrequency = 50.0f;
}

ChorusModel::ChorusModel (const char* modelName)
{
    parameters = std::make_unique<float[]> (numParameters);
    name = modelName;
    parameterNum = numParameters;
}

ChorusModel::~ChorusModel() = default;

void ChorusModel::connect (Blocks modelBlocks)
{
    blocks = std::make_unique<Blocks> (std::move (modelBlocks));

    for (int i = 0; i < numParameters; ++i)
        setParameter (i, getDefaultParameter (i));

    reset();
}

template <typename Operation>
void ChorusModel::forEachBlock (Operation&& operation)
{
    operation (blocks->lfo);

    for (auto* block : blocks->calcOrder)
        operation (*block);

    for (auto* gain : blocks->wetGains)
        operation (*gain);

    operation (blocks->dryGain);
    operation (blocks->levelGain);
}

void ChorusModel::setSampleRate (float fs)
{
    DspBase::setSampleRate (fs);
    forEachBlock ([fs] (auto& block) { block.setSampleRate (fs); });
}

void ChorusModel::resetBuffer()
{
    forEachBlock ([] (auto& block) { block.resetBuffer(); });
}

void ChorusModel::resetCoeffs()
{
    forEachBlock ([] (auto& block) { block.resetCoeffs(); });
}

void ChorusModel::calc()
{
    updateFadeState();
    calcOsc();

    for (auto* block : blocks->calcOrder)
        block->calc();

    for (auto* gain : blocks->wetGains)
        gain->calc();

    blocks->dryGain.calc();
    blocks->levelGain.calc();
}

void ChorusModel::setParameter (int index, float value) noexcept
{
    if (! isValidIndex (index))
        return;

    value = limitToUnitRange (value);
    parameters[static_cast<size_t> (index)] = value;

    switch (index)
    {
        case bypassParameter:   on = value > 0.0f; break;
        case rateParameter:     rate = value; break;
        case rateSyncParameter: rateSync = value; break;

        case depthParameter:
            sweepWidth = value * sweepWidthSpan + minSweepWidth;
            passSweepWidthOn();
            break;

        case mixParameter:
            mix = value;
            passMixOn();
            break;

        case levelParameter:
            level = 2.0f * value;
            blocks->levelGain.setValue (level);
            break;

        case stereoOnParameter:
            stereoOn = value > 0.0f;
            notifyStereoArrangement();
            break;

        case syncOnParameter:   syncOn = value > 0.0f; break;
        default:                break;
    }
}

void ChorusModel::calcParameter (int index) noexcept
{
    switch (index)
    {
        case bypassParameter:
            updateFadeState();
            break;

        case rateParameter:
        case rateSyncParameter:
        case syncOnParameter:
            calcOsc();
            break;

        case depthParameter:
            for (auto* line : blocks->delayLines)
                line->calcSweepWidth();

            break;

        case mixParameter:
            for (auto* gain : blocks->wetGains)
                gain->calc();

            blocks->dryGain.calc();
            break;

        case levelParameter:
            blocks->levelGain.calc();
            break;

        default:
            break;
    }
}

float ChorusModel::getDefaultParameter (int index) const noexcept
{
    return isValidIndex (index) ? parameterInfos[static_cast<size_t> (index)].defaultValue : 0.0f;
}

const char* ChorusModel::getParameterName (int index) const noexcept
{
    return isValidIndex (index) ? parameterInfos[static_cast<size_t> (index)].name : "";
}

void ChorusModel::setExpectedSampleFrame (int frames)
{
    expectedSampleFrame = std::max (frames, 0);
    const auto size = static_cast<size_t> (expectedSampleFrame);

    dryLeft.reset();
    dryRight.reset();
    dryLeft = std::make_unique<float[]> (size);
    dryRight = std::make_unique<float[]> (size);
}

void ChorusModel::forceCalcParams()
{
    lastOn = on;
    fadeState = on ? fullyOn : bypassed;
    wetFade = on ? 1.0f : 0.0f;
    dryFade = on ? 0.0f : 1.0f;

    fadeLength = getSampleRateBandLength (sampleRate);
    fadeStep = 1.0f / static_cast<float> (fadeLength);

    if (blocks->lfoSmoother != nullptr)
        blocks->lfoSmoother->setFrequency (lfoSmootherFrequency);

    for (auto* line : blocks->delayLines)
        line->setDelay (baseDelayMs);

    blocks->compressor.setCap (companderCapacitance);

    for (auto* expander : blocks->expanders)
        expander->setCap (companderCapacitance);

    blocks->inputHighPass.setFrequency (dcBlockerFrequency);
    blocks->outputHighPass.setFrequency (dcBlockerFrequency);

    passSweepWidthOn();
    passMixOn();
    blocks->levelGain.setValue (level);

    notifyStereoArrangement();
    calc();
    blocks->lfo.forceCalcParams();

    for (auto* line : blocks->delayLines)
        line->forceCalcParams();
}

void ChorusModel::processBlock (float* input, float* output, int numSamples) noexcept
{
    // A one-input model with the stereo switch on spreads its input over both outputs.
    if (getInputsUsed() == 1 && stereoOn)
    {
        if (numSamples > 0)
            std::copy_n (input, numSamples, output);

        process (input, output, numSamples);
        return;
    }

    ModuleModel::processBlock (input, output, numSamples);
}

float ChorusModel::getLfoFrequency() const noexcept { return blocks->lfo.getFreq(); }

float ChorusModel::getBeatsPerCycle (float rateSyncValue) noexcept
{
    return beatsPerCycle[static_cast<size_t> (RateSyncSteps::getStep (rateSyncValue))];
}

void ChorusModel::passSweepWidthOn() noexcept
{
    for (auto* line : blocks->delayLines)
        line->setSweepWidth (sweepWidth);
}

void ChorusModel::passMixOn() noexcept
{
    for (auto* gain : blocks->wetGains)
        gain->setValue (mix);

    blocks->dryGain.setValue (1.0f - mix);
}

void ChorusModel::updateFadeState() noexcept
{
    if (on == lastOn)
        return;

    fadeState = (on && ! lastOn) ? fadingIn : fadingOut;
    lastOn = on;
}

void ChorusModel::calcOsc() noexcept
{
    float frequency = syncOn ? 1.0f / ((60.0f / bpm) * getBeatsPerCycle (rateSync))
                             : (std::pow (81.0f, rate) - 1.0f) * 0.0125f * 20.0f;

    // Any tempo reaches this: 0, negative or not-a-number give the lowest rate, and an
    // absurd one (infinite too) stops well below the rate at which the LFO would skip through its table.
    if (! (frequency >= minLfoFrequency))
        frequency = minLfoFrequency;

    frequency = std::min (frequency, maxLfoFrequency);

    blocks->lfo.setFrequency (frequency);
    blocks->lfo.calc();
}

void ChorusModel::notifyStereoArrangement() noexcept
{
    if (getInputsUsed() != 1)
    {
        lastStereoArranged = ! stereoArranged;
        return;
    }

    stereoArranged = stereoOn;

    if (stereoArranged != lastStereoArranged)
    {
        sendArrangementNotice();
        lastStereoArranged = stereoArranged;
    }
}

bool ChorusModel::beginBlock (int numSamples) noexcept
{
    if (expectedSampleFrame < numSamples)
        setExpectedSampleFrame (numSamples);

    if (syncOn && bpm != lastBpm)
    {
        lastBpm = bpm;
        calcOsc();
    }

    return numSamples > 0 && fadeState != bypassed;
}

void ChorusModel::advanceFade() noexcept
{
    if (fadeState == fadingIn)
    {
        if (wetFade < 1.0f)
        {
            wetFade += fadeStep;
            dryFade -= fadeStep;
        }
        else
        {
            wetFade = 1.0f;
            dryFade = 0.0f;
            fadeState = fullyOn;
        }
    }
    else if (fadeState == fadingOut)
    {
        if (dryFade < 1.0f)
        {
            dryFade += fadeStep;
            wetFade -= fadeStep;
        }
        else
        {
            dryFade = 1.0f;
            wetFade = 0.0f;
            fadeState = bypassed;
        }
    }
}

void ChorusModel::process (float* buffer, int numSamples) noexcept
{
    const ScopedFlushDenormals flushDenormals;

    if (! beginBlock (numSamples))
        return;

    zeroNonFinite (buffer, numSamples);

    if (fadeState == fullyOn)
    {
        processChorus (buffer, numSamples);
        return;
    }

    std::copy_n (buffer, numSamples, dryLeft.get());
    processChorus (buffer, numSamples);

    for (int k = 0; k < numSamples; ++k)
    {
        buffer[k] = wetFade * buffer[k] + dryFade * dryLeft[static_cast<size_t> (k)];
        advanceFade();
    }
}

void ChorusModel::process (float* left, float* right, int numSamples) noexcept
{
    const ScopedFlushDenormals flushDenormals;

    if (! beginBlock (numSamples))
        return;

    zeroNonFinite (left, numSamples);
    zeroNonFinite (right, numSamples);

    if (fadeState == fullyOn)
    {
        processChorus (left, right, numSamples);
        return;
    }

    std::copy_n (left, numSamples, dryLeft.get());
    std::copy_n (right, numSamples, dryRight.get());
    processChorus (left, right, numSamples);

    for (int k = 0; k < numSamples; ++k)
    {
        const auto i = static_cast<size_t> (k);
        left[k] = wetFade * left[k] + dryFade * dryLeft[i];
        right[k] = wetFade * right[k] + dryFade * dryRight[i];
        advanceFade();
    }
}
