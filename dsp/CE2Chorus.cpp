#include "CE2Chorus.h"

namespace
{
    // The wet voice is summed 1.3 times as loud as the dry signal.
    constexpr double wetScale = 1.3;
}

CE2Chorus::CE2Chorus() : ChorusModel ("CE2Chorus")
{
    connect ({ lfo, &lfoSmoother, { &leftDelay, &rightDelay }, compressor, { &expander },
               inputHighPass, outputHighPass, { &wetGain }, dryGain, levelGain,
               { &lfoSmoother, &leftDelay, &rightDelay, &preEmphasis, &antiAliasing, &reconstruction,
                 &deEmphasis, &compressor, &expander, &inputHighPass, &outputHighPass } });
}

CE2Chorus::~CE2Chorus() = default;

void CE2Chorus::processChorus (float* buffer, int numSamples) noexcept
{
    processMono (buffer, numSamples);
}

void CE2Chorus::processChorus (float* left, float* right, int numSamples) noexcept
{
    if (stereoOn)
        processSpread (left, right, numSamples);
    else
        processShared (left, right, numSamples);
}

CHORUS_CHAIN_TARGETS void CE2Chorus::processMono (float* buffer, int numSamples) noexcept
{
    for (int i = 0; i < numSamples; ++i)
    {
        double dry = static_cast<double> (buffer[i]);
        inputHighPass.processHP (dry);
        preEmphasis.process (dry);

        double wet = dry;
        compressor.process (wet);
        antiAliasing.process (wet);

        float mod;
        lfo.getOscSignal (mod);
        lfoSmoother.process (mod);

        leftDelay.process (wet, mod);
        softClip.process (wet);
        reconstruction.process (wet);
        expander.process (wet);

        wetGain.process (wet);
        dryGain.process (dry);

        double out = wet * wetScale + dry;
        deEmphasis.process (out);
        outputHighPass.processHP (out);
        levelGain.process (out);
        buffer[i] = static_cast<float> (out);
    }
}

template <typename DelayStage>
forcedinline void CE2Chorus::processStereo (float* left, float* right, int numSamples, DelayStage&& delayStage) noexcept
{
    for (int i = 0; i < numSamples; ++i)
    {
        DoublePair dry (static_cast<double> (left[i]), static_cast<double> (right[i]));
        inputHighPass.processHP (dry);
        preEmphasis.process (dry);

        auto wet = dry;
        compressor.process (wet);
        antiAliasing.process (wet);

        delayStage (wet);
        softClip.process (wet);
        reconstruction.process (wet);
        expander.process (wet);

        wetGain.process (wet);
        dryGain.process (dry);
        auto out = wet * DoublePair (wetScale) + dry;
        deEmphasis.process (out);
        outputHighPass.processHP (out);
        levelGain.process (out);
        left[i] = static_cast<float> (out.left());
        right[i] = static_cast<float> (out.right());
    }
}

CHORUS_CHAIN_TARGETS void CE2Chorus::processSpread (float* left, float* right, int numSamples) noexcept
{
    // Each channel follows its own LFO phase.
    processStereo (left, right, numSamples, [this] (DoublePair& wet)
    {
        float modL, modR;
        lfo.getOscSignal (modL, modR);
        lfoSmoother.process (modL, modR);
        ModulatingDelayLine::processPair (leftDelay, rightDelay, wet, modL, modR);
    });
}

CHORUS_CHAIN_TARGETS void CE2Chorus::processShared (float* left, float* right, int numSamples) noexcept
{
    // Both channels follow the first LFO phase.
    ModulatingDelayLine::SweptPair lines (leftDelay, rightDelay);

    processStereo (left, right, numSamples, [this, &lines] (DoublePair& wet)
    {
        float mod;
        lfo.getOscSignal (mod);
        lfoSmoother.process (mod);
        lines.process (wet, mod);
    });
}
