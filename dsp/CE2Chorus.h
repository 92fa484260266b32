#pragma once

#include "BBDNonLinearBiased.h"
#include "CE2AntiAliasingFilter.h"
#include "CE2DeEmphasisFilter.h"
#include "CE2PreEmphasisFilter.h"
#include "CE2ReconstructionFilter.h"
#include "ChorusModel.h"
#include "WavetableTriangleOsc.h"

/** "Type 1": one bucket-brigade voice per channel, a delay line swept by a
    smoothed curved-triangle LFO between a compander pair, inside first-order
    pre- and de-emphasis and fourth-order anti-aliasing and reconstruction filters. */
class CE2Chorus final : public ChorusModel
{
public:
    CE2Chorus();
    ~CE2Chorus() override;

private:
    void processChorus (float* buffer, int numSamples) noexcept override;
    void processChorus (float* left, float* right, int numSamples) noexcept override;

    CHORUS_CHAIN_TARGETS void processMono (float* buffer, int numSamples) noexcept;
    CHORUS_CHAIN_TARGETS void processSpread (float* left, float* right, int numSamples) noexcept;
    CHORUS_CHAIN_TARGETS void processShared (float* left, float* right, int numSamples) noexcept;

    /** The stereo chain around its delay stage, which takes the LFO step and runs the delay lines. */
    template <typename DelayStage>
    forcedinline void processStereo (float* left, float* right, int numSamples, DelayStage&& delayStage) noexcept;

    WavetableTriangleOsc lfo;
    ModulatingDelayLine leftDelay;
    ModulatingDelayLine rightDelay;
    CE2PreEmphasisFilter preEmphasis;
    CE2AntiAliasingFilter antiAliasing;
    BBDNonLinearBiased softClip;
    CE2ReconstructionFilter reconstruction;
    CE2DeEmphasisFilter deEmphasis;
    OnePole inputHighPass;
    OnePole outputHighPass;
    Compressor compressor;
    Expander expander;
    SmoothVolume wetGain;
    SmoothVolume dryGain;
    SmoothVolume levelGain;
    OnePole lfoSmoother;
};
