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

        // The first voice in the left lane, the second in the right.
        DoublePair voices (direct, direct);
        ModulatingDelayLine::processPair (delay1, delay2, voices, modA, modB);
        softClip.process (voices);
        reconstruction1.process (voices);
        expander1.process (voices);
        direct = voices.left();

        double crossed = -voices.right();
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
        DoublePair dry (static_cast<double> (left[i]), static_cast<double> (right[i]));
        inputHighPass.processHP (dry);
        preEmphasis.process (dry);

        auto direct = dry;
        compressor.process (direct);
        antiAliasing.process (direct);

        float modA, modB;
        lfo.getOscSignal (modA, modB);
        lfoSmoother.process (modA, modB);

        // Spread: one voice per channel, each also crossed to the other channel;
        // otherwise two voices per channel, the second one crossed.
        DoublePair second;

        if constexpr (spread)
        {
            ModulatingDelayLine::processPair (delay1, delay4, direct, modA, modB);
            softClip.process (direct);
            reconstruction1.process (direct);
            expander1.process (direct);
            second = direct;
        }
        else
        {
            second = direct;
            ModulatingDelayLine::processPair (delay1, delay2, direct, modA, modA);
            ModulatingDelayLine::processPair (delay3, delay4, second, modB, modB);
            softClip.process (direct);
            reconstruction1.process (direct);
            expander1.process (direct);
            softClip.process (second);
            reconstruction2.process (second);
            expander2.process (second);
        }

        auto crossed = -second;
        crossFilter.process (crossed);

        directWetGain.process (direct);
        crossWetGain.process (crossed);
        dryGain.process (dry);

        // Each channel takes the other channel's crossed voice.
        auto out = dry + direct;
        deEmphasis.process (out);
        out = crossed.swapped() + out;
        outputHighPass.processHP (out);
        levelGain.process (out);
        out = out * DoublePair (outputScale);
        left[i] = static_cast<float> (out.left());
        right[i] = static_cast<float> (out.right());
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
