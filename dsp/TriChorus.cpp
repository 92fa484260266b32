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

forcedinline void TriChorus::mixAndLevel (DoublePair wet, DoublePair dry, float& left, float& right) noexcept
{
    outputHighPass.processHP (wet);
    wetGain.process (wet);
    dryGain.process (dry);
    auto out = wet * DoublePair (wetScale) + dry;
    levelGain.process (out);
    left = static_cast<float> (out.left());
    right = static_cast<float> (out.right());
}

CHORUS_CHAIN_TARGETS void TriChorus::processSpread (float* left, float* right, int numSamples) noexcept
{
    // A left, a centre (fed by the mean of both channels) and a right voice.
    for (int i = 0; i < numSamples; ++i)
    {
        const DoublePair dry (static_cast<double> (left[i]), static_cast<double> (right[i]));
        auto sides = dry;
        inputHighPass.processHP (sides);
        compressor.process (sides);
        antiAliasing.process (sides);

        double centre = (sides.left() + sides.right()) * 0.5;
        float mod1, mod2, mod3;
        lfo.getOscSignal (mod1, mod2, mod3);

        ModulatingDelayLine::processPair (delay1, delay3, sides, mod1, mod3);
        delay2.process (centre, mod2);
        softClip.process (sides);
        softClip.process (centre);

        auto sideL = sides.left(), sideR = sides.right();
        reconstruction1.process (sideL);
        expander1.process (sideL);
        reconstruction2.process (centre);
        expander2.process (centre);
        reconstruction3.process (sideR);
        expander3.process (sideR);

        mixAndLevel (DoublePair (sideL, sideR) + DoublePair (centre), dry, left[i], right[i]);
    }
}

CHORUS_CHAIN_TARGETS void TriChorus::processDual (float* left, float* right, int numSamples) noexcept
{
    // Three voices on each channel, the left and right voice k in the lanes of one pair.
    ModulatingDelayLine::SweptPair lines1 (delay1, delay4), lines2 (delay2, delay5), lines3 (delay3, delay6);

    for (int i = 0; i < numSamples; ++i)
    {
        const DoublePair dry (static_cast<double> (left[i]), static_cast<double> (right[i]));
        auto voice1 = dry;
        inputHighPass.processHP (voice1);
        compressor.process (voice1);
        antiAliasing.process (voice1);

        auto voice2 = voice1, voice3 = voice1;
        float mod1, mod2, mod3;
        lfo.getOscSignal (mod1, mod2, mod3);

        lines1.process (voice1, mod1);
        lines2.process (voice2, mod2);
        lines3.process (voice3, mod3);
        softClip.process (voice1);
        softClip.process (voice2);
        softClip.process (voice3);
        reconstruction1.process (voice1);
        expander1.process (voice1);
        reconstruction2.process (voice2);
        expander2.process (voice2);
        reconstruction3.process (voice3);
        expander3.process (voice3);

        mixAndLevel ((voice1 + voice2) + voice3, dry, left[i], right[i]);
    }
}
