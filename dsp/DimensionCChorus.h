#pragma once

#include "BBDNonLinearBiased.h"
#include "ChorusModel.h"
#include "DimensionCAntiAliasing.h"
#include "DimensionCReconstructionFilter.h"
#include "DimensionCrossFilter.h"
#include "DimensionDeEmphasisFilter.h"
#include "DimensionPreEmphasisFilter.h"
#include "WavetableTriangleOsc.h"

/** "Type 2": two voices swept by the two opposite outputs of one smoothed
    curved-triangle LFO; the first voice joins its own channel, the second is
    inverted, cross-filtered and joins the other channel. Second-order
    pre-emphasis, first-order de-emphasis. */
class DimensionCChorus final : public ChorusModel
{
public:
    DimensionCChorus();
    ~DimensionCChorus() override;

private:
    void processChorus (float* buffer, int numSamples) noexcept override;
    void processChorus (float* left, float* right, int numSamples) noexcept override;

    CHORUS_CHAIN_TARGETS void processMono (float* buffer, int numSamples) noexcept;
    CHORUS_CHAIN_TARGETS void processSpread (float* left, float* right, int numSamples) noexcept;
    CHORUS_CHAIN_TARGETS void processDual (float* left, float* right, int numSamples) noexcept;

    /** The stereo chain around its voices, which run the delay lines and the
        stages up to the expanders: the direct voice in place, the one to be crossed into second. */
    template <typename Voices>
    forcedinline void processStereo (float* left, float* right, int numSamples, Voices&& voices) noexcept;

    WavetableTriangleOsc lfo;
    ModulatingDelayLine delay1;
    ModulatingDelayLine delay2;
    ModulatingDelayLine delay3;
    ModulatingDelayLine delay4;
    BBDNonLinearBiased softClip;
    Compressor compressor;
    DimensionCAntiAliasing antiAliasing;
    DimensionCReconstructionFilter reconstruction1;
    Expander expander1;
    DimensionCReconstructionFilter reconstruction2;
    Expander expander2;
    OnePole inputHighPass;
    OnePole outputHighPass;
    DimensionPreEmphasisFilter preEmphasis;
    DimensionDeEmphasisFilter deEmphasis;
    DimensionCrossFilter crossFilter;
    SmoothVolume directWetGain;
    SmoothVolume crossWetGain;
    SmoothVolume dryGain;
    SmoothVolume levelGain;
    OnePole lfoSmoother;
};
