#include "DimensionCChorus.h"

namespace
{
    // Make-up gain of the whole output, applied after the level.
    constexpr double outputScale = 1.33;
}

DimensionCChorus::DimensionCChorus() : ChorusModel ("DimensionChorus")
{
    connect ({ lfo, &lfoSmoother, { &delay1, &delay2, &delay3, &delay4 }, compressor, { &expander1, &expander2 },
               inputHighPass, outputHighPass, { &directWetGain, &crossWetGain }, dryGain, levelGain,
               { &lfoSmoother, &delay1, &delay2, &delay3, &delay4, &compressor, &antiAliasing,
                 &reconstruction1, &expander1, &reconstruction2, &expander2, &inputHighPass,
                 &outputHighPass, &preEmphasis, &deEmphasis, &crossFilter } });
}

DimensionCChorus::~DimensionCChorus() = default;

void DimensionCChorus::processChorus (float* buffer, int numSamples) noexcept
{
    processMono (buffer, numSamples);
}

void DimensionCChorus::processChorus (float* left, float* right, int numSamples) noexcept
{
    if (stereoOn)
        processSpread (left, right, numSamples);
    else
        processDual (left, right, numSamples);
}

CHORUS_CHAIN_TARGETS void DimensionCChorus::processMono (float* buffer, int numSamples) noexcept
{
    for (int i = 0; i < numSamples; ++i)
    {
        double dry = static_cast<double> (buffer[i]);
        inputHighPass.processHP (dry);
        preEmphasis.process (dry);

        double direct = dry;
        compressor.process (direct);
        antiAliasing.process (direct);

        float modA, modB;
        lfo.getOscSignal (modA, modB);
        lfoSmoother.process (modA, modB);

        double second = direct;
        delay1.process (direct, modA);
        delay2.process (second, modB);
        softClip.process (direct, second);
        reconstruction1.process (direct, second);
        expander1.process (direct, second);

        double crossed = -second;
        crossFilter.process (crossed);

        directWetGain.process (direct);
        crossWetGain.process (crossed);
        dryGain.process (dry);

        double out = dry + direct;
        deEmphasis.process (out);
        out = crossed + out;
        outputHighPass.processHP (out);
        levelGain.process (out);
        buffer[i] = static_cast<float> (out * outputScale);
    }
}

template <bool spread>
forcedinline void DimensionCChorus::processStereo (float* left, float* right, int numSamples) noexcept
{
    for (int i = 0; i < numSamples; ++i)
    {
        double dryL = static_cast<double> (left[i]), dryR = static_cast<double> (right[i]);
        inputHighPass.processHP (dryL, dryR);
        preEmphasis.process (dryL, dryR);

        double directL = dryL, directR = dryR;
        compressor.process (directL, directR);
        antiAliasing.process (directL, directR);

        float modA, modB;
        lfo.getOscSignal (modA, modB);
        lfoSmoother.process (modA, modB);

        // Spread: one voice per channel, each also crossed to the other channel;
        // otherwise two voices per channel, the second one crossed.
        double secondL, secondR;

        if constexpr (spread)
        {
            delay1.process (directL, modA);
            delay4.process (directR, modB);
            softClip.process (directL, directR);
            reconstruction1.process (directL, directR);
            expander1.process (directL, directR);
            secondL = directL;
            secondR = directR;
        }
        else
        {
            secondL = directL;
            secondR = directR;
            delay1.process (directL, modA);
            delay2.process (directR, modA);
            delay3.process (secondL, modB);
            delay4.process (secondR, modB);
            softClip.process (directL, directR);
            reconstruction1.process (directL, directR);
            expander1.process (directL, directR);
            softClip.process (secondL, secondR);
            reconstruction2.process (secondL, secondR);
            expander2.process (secondL, secondR);
        }

        double crossedL = -secondL, crossedR = -secondR;
        crossFilter.process (crossedL, crossedR);

        directWetGain.process (directL, directR);
        crossWetGain.process (crossedL, crossedR);
        dryGain.process (dryL, dryR);

        double outL = dryL + directL;
        double outR = dryR + directR;
        deEmphasis.process (outL, outR);
        outL = crossedR + outL;
        outR = crossedL + outR;
        outputHighPass.processHP (outL, outR);
        levelGain.process (outL, outR);
        left[i] = static_cast<float> (outL * outputScale);
        right[i] = static_cast<float> (outR * outputScale);
    }
}

CHORUS_CHAIN_TARGETS void DimensionCChorus::processSpread (float* left, float* right, int numSamples) noexcept
{
    processStereo<true> (left, right, numSamples);
}

CHORUS_CHAIN_TARGETS void DimensionCChorus::processDual (float* left, float* right, int numSamples) noexcept
{
    processStereo<false> (left, right, numSamples);
}
