#pragma once

#include "BBDNonLinearBiased.h"
#include "ChorusModel.h"
#include "TriAntiAliasingFilter.h"
#include "TriReconstructionFilter.h"
#include "WavetableTriChorusOsc.h"

/** "Type 3": three voices per channel swept by a three-phase raised-cosine
    LFO, summed and mixed with the untreated input; no emphasis filters. */
class TriChorus final : public ChorusModel
{
public:
    TriChorus();
    ~TriChorus() override;

private:
    void processChorus (float* buffer, int numSamples) noexcept override;
    void processChorus (float* left, float* right, int numSamples) noexcept override;

    CHORUS_CHAIN_TARGETS void processMono (float* buffer, int numSamples) noexcept;
    CHORUS_CHAIN_TARGETS void processSpread (float* left, float* right, int numSamples) noexcept;
    CHORUS_CHAIN_TARGETS void processDual (float* left, float* right, int numSamples) noexcept;

    /** The stereo chains' last stage: high-passes and scales the voice sum,
        adds the dry signal and applies the level. */
    forcedinline void mixAndLevel (DoublePair wet, DoublePair dry, float& left, float& right) noexcept;

    WavetableTriChorusOsc lfo;
    ModulatingDelayLine delay1;
    ModulatingDelayLine delay2;
    ModulatingDelayLine delay3;
    ModulatingDelayLine delay4;
    ModulatingDelayLine delay5;
    ModulatingDelayLine delay6;
    BBDNonLinearBiased softClip;
    Compressor compressor;
    TriAntiAliasingFilter antiAliasing;
    TriReconstructionFilter reconstruction1;
    Expander expander1;
    TriReconstructionFilter reconstruction2;
    Expander expander2;
    TriReconstructionFilter reconstruction3;
    Expander expander3;
    OnePole inputHighPass;
    OnePole outputHighPass;
    SmoothVolume wetGain;
    SmoothVolume dryGain;
    SmoothVolume levelGain;
};
