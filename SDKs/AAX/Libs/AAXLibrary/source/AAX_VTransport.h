// The host transport, reached through its versioned interfaces.
#pragma once

#include "ACFPtr.h"
#include "AAX_IACFTransport.h"
#include "AAX_ITransport.h"

class AAX_VTransport : public AAX_ITransport
{
public:
    /** Asks host for every transport version it offers; null gives none. */
    explicit AAX_VTransport (IACFUnknown* host);
    ~AAX_VTransport() override;

    AAX_Result GetCurrentTempo (double* outTempo) const override;
    AAX_Result GetCurrentMeter (int32_t* outNumerator, int32_t* outDenominator) const override;
    AAX_Result IsTransportPlaying (bool* outPlaying) const override;
    AAX_Result GetCurrentTickPosition (int64_t* outTicks) const override;
    AAX_Result GetCurrentLoopPosition (bool* outLooping, int64_t* outLoopStartTick,
                                       int64_t* outLoopEndTick) const override;
    AAX_Result GetCurrentNativeSampleLocation (int64_t* outSample) const override;
    AAX_Result GetCustomTickPosition (int64_t* outTicks, int64_t sampleLocation) const override;
    AAX_Result GetBarBeatPosition (int32_t* outBars, int32_t* outBeats, int64_t* outDisplayTicks,
                                   int64_t sampleLocation) const override;
    AAX_Result GetTicksPerQuarter (uint32_t* outTicks) const override;
    AAX_Result GetCurrentTicksPerBeat (uint32_t* outTicks) const override;
    AAX_Result GetTimelineSelectionStartPosition (int64_t* outSample) const override;
    AAX_Result GetTimeCodeInfo (AAX_EFrameRate* outRate, int32_t* outOffset) const override;
    AAX_Result GetFeetFramesInfo (AAX_EFeetFramesRate* outRate, int64_t* outOffset) const override;
    AAX_Result IsMetronomeEnabled (int32_t* outEnabled) const override;

private:
    ACFPtr<AAX_IACFTransport> hostTransport;
    ACFPtr<AAX_IACFTransport_V2> hostTransportV2;
};
