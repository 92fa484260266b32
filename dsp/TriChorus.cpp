#include "TriChorus.h"

namespace
{
    // The three-voice sum is scaled down before the dry signal joins it.
    constexpr double wetScale = 0.667;
}

TriChorus::TriChorus() : ChorusModel ("TriChorus")
{
    connect ({ lfo, nullptr, { &delay1, &delay2, &delay3, &delay4, &delay5, &delay6 }, compressor,
               { &expander1, &expander2, &expander3 }, inputHighPass, outputHighPass, { &wetGain }, dryGain, levelGain,
               { &delay1, &delay2, &delay3, &delay4, &delay5, &delay6, &compressor, &antiAliasing,
                 &reconstruction1, &expander1, &reconstruction2, &expander2, &reconstruction3, &expander3,
                 &inputHighPass, &outputHighPass } });
}

TriChorus::~TriChorus() = default;

void TriChorus::processChorus (float* buffer, int numSamples) noexcept
{
    processMono (buffer, numSamples);
}

void TriChorus::processChorus (float* left, float* right, int numSamples) noexcept
{
    if (stereoOn)
        processSpread (left, right, numSamples);
    else
        processDual (left, right, numSamples);
}

CHORUS_CHAIN_TARGETS void TriChorus::processMono (float* buffer, int numSamples) noexcept
{
    for (int i = 0; i < numSamples; ++i)
    {
        double dry = static_cast<double> (buffer[i]);
        double voice1 = dry;
        inputHighPass.processHP (voice1);
        compressor.process (voice1);
        antiAliasing.process (voice1);

        double voice2 = voice1, voice3 = voice1;
        float mod1, mod2, mod3;
        lfo.getOscSignal (mod1, mod2, mod3);

        delay1.process (voice1, mod1);
        delay2.process (voice2, mod2);
        delay3.process (voice3, mod3);
        softClip.process (voice1, voice3);
        softClip.process (voice2);
        reconstruction1.process (voice1);
        expander1.process (voice1);
        reconstruction2.process (voice2);
        expander2.process (voice2);
        reconstruction3.process (voice3);
        expander3.process (voice3);

        double out = (voice1 + voice2) + voice3;
        outputHighPass.processHP (out);
        wetGain.process (out);
        dryGain.process (dry);
        out = out * wetScale + dry;
        levelGain.process (out);
        buffer[i] = static_cast<float> (out);
    }
}

CHORUS_CHAIN_TARGETS void TriChorus::processSpread (float* left, float* right, int numSamples) noexcept
{
    // A left, a centre (fed by the mean of both channels) and a right voice.
    for (int i = 0; i < numSamples; ++i)
    {
        double dryL = static_cast<double> (left[i]), dryR = static_cast<double> (right[i]);
        double wetL = dryL, wetR = dryR;
        inputHighPass.processHP (wetL, wetR);
        compressor.process (wetL, wetR);
        antiAliasing.process (wetL, wetR);

        double centre = (wetL + wetR) * 0.5;
        float mod1, mod2, mod3;
        lfo.getOscSignal (mod1, mod2, mod3);

        delay1.process (wetL, mod1);
        delay2.process (centre, mod2);
        delay3.process (wetR, mod3);
        softClip.process (wetL, wetR);
        softClip.process (centre);
        reconstruction1.process (wetL);
        expander1.process (wetL);
        reconstruction2.process (centre);
        expander2.process (centre);
        reconstruction3.process (wetR);
        expander3.process (wetR);

        double outL = wetL + centre;
        double outR = centre + wetR;
        outputHighPass.processHP (outL, outR);
        wetGain.process (outL, outR);
        dryGain.process (dryL, dryR);
        outL = outL * wetScale + dryL;
        outR = outR * wetScale + dryR;
        levelGain.process (outL, outR);
        left[i] = static_cast<float> (outL);
        right[i] = static_cast<float> (outR);
    }
}

CHORUS_CHAIN_TARGETS void TriChorus::processDual (float* left, float* right, int numSamples) noexcept
{
    // Three voices on each channel.
    for (int i = 0; i < numSamples; ++i)
    {
        double dryL = static_cast<double> (left[i]), dryR = static_cast<double> (right[i]);
        double l1 = dryL, r1 = dryR;
        inputHighPass.processHP (l1, r1);
        compressor.process (l1, r1);
        antiAliasing.process (l1, r1);

        double l2 = l1, l3 = l1, r2 = r1, r3 = r1;
        float mod1, mod2, mod3;
        lfo.getOscSignal (mod1, mod2, mod3);

        delay1.process (l1, mod1);
        delay2.process (l2, mod2);
        delay3.process (l3, mod3);
        delay4.process (r1, mod1);
        delay5.process (r2, mod2);
        delay6.process (r3, mod3);
        softClip.process (l1, l3);
        softClip.process (l2);
        softClip.process (r1, r3);
        softClip.process (r2);
        reconstruction1.process (l1, r1);
        expander1.process (l1, r1);
        reconstruction2.process (l2, r2);
        expander2.process (l2, r2);
        reconstruction3.process (l3, r3);
        expander3.process (l3, r3);

        double outL = (l1 + l2) + l3;
        double outR = (r1 + r2) + r3;
        outputHighPass.processHP (outL, outR);
        wetGain.process (outL, outR);
        dryGain.process (dryL, dryR);
        outL = outL * wetScale + dryL;
        outR = outR * wetScale + dryR;
        levelGain.process (outL, outR);
        left[i] = static_cast<float> (outL);
        right[i] = static_cast<float> (outR);
    }
}
