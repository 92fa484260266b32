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

template <typename Voices>
forcedinline void DimensionCChorus::processStereo (float* left, float* right, int numSamples, Voices&& voices) noexcept
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

        DoublePair second;
        voices (direct, second, modA, modB);

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
        out *= DoublePair (outputScale);
        left[i] = static_cast<float> (out.left());
        right[i] = static_cast<float> (out.right());
    }
}

CHORUS_CHAIN_TARGETS void DimensionCChorus::processSpread (float* left, float* right, int numSamples) noexcept
{
    // One voice per channel, each also crossed to the other channel.
    processStereo (left, right, numSamples, [this] (DoublePair& direct, DoublePair& second, float modA, float modB)
    {
        ModulatingDelayLine::processPair (delay1, delay4, direct, modA, modB);
        softClip.process (direct);
        reconstruction1.process (direct);
        expander1.process (direct);
        second = direct;
    });
}

CHORUS_CHAIN_TARGETS void DimensionCChorus::processDual (float* left, float* right, int numSamples) noexcept
{
    // Two voices per channel, the second one crossed; each pair of lines runs on one LFO output.
    ModulatingDelayLine::SweptPair directLines (delay1, delay2), secondLines (delay3, delay4);

    processStereo (left, right, numSamples, [&] (DoublePair& direct, DoublePair& second, float modA, float modB)
    {
        second = direct;
        directLines.process (direct, modA);
        secondLines.process (second, modB);
        softClip.process (direct);
        reconstruction1.process (direct);
        expander1.process (direct);
        softClip.process (second);
        reconstruction2.process (second);
        expander2.process (second);
    });
}
