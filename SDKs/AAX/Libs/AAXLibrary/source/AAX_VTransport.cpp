#include "AAX_VTransport.h"

#include "AAX_HostCalls.h"

AAX_VTransport::AAX_VTransport (IACFUnknown* host)
{
    AAX_QueryHostInterface (host, IID_IAAXTransportV1, hostTransport);
    AAX_QueryHostInterface (host, IID_IAAXTransportV2, hostTransportV2);
}

AAX_VTransport::~AAX_VTransport()
{
    hostTransportV2.Clear();
    hostTransport.Clear();
}

AAX_Result AAX_VTransport::GetCurrentTempo (double* outTempo) const
{
    return AAX_ForwardTo (hostTransport, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.GetCurrentTempo (outTempo); });
}

AAX_Result AAX_VTransport::GetCurrentMeter (int32_t* outNumerator, int32_t* outDenominator) const
{
    return AAX_ForwardTo (hostTransport, AAX_ERROR_NULL_OBJECT,
                          [&] (auto& h) { return h.GetCurrentMeter (outNumerator, outDenominator); });
}

AAX_Result AAX_VTransport::IsTransportPlaying (bool* outPlaying) const
{
    return AAX_ForwardTo (hostTransport, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.IsTransportPlaying (outPlaying); });
}

AAX_Result AAX_VTransport::GetCurrentTickPosition (int64_t* outTicks) const
{
    return AAX_ForwardTo (hostTransport, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.GetCurrentTickPosition (outTicks); });
}

AAX_Result AAX_VTransport::GetCurrentLoopPosition (bool* outLooping, int64_t* outLoopStartTick,
                                                   int64_t* outLoopEndTick) const
{
    return AAX_ForwardTo (hostTransport, AAX_ERROR_NULL_OBJECT,
                          [&] (auto& h) { return h.GetCurrentLoopPosition (outLooping, outLoopStartTick, outLoopEndTick); });
}

AAX_Result AAX_VTransport::GetCurrentNativeSampleLocation (int64_t* outSample) const
{
    return AAX_ForwardTo (hostTransport, AAX_ERROR_NULL_OBJECT,
                          [&] (auto& h) { return h.GetCurrentNativeSampleLocation (outSample); });
}

AAX_Result AAX_VTransport::GetCustomTickPosition (int64_t* outTicks, int64_t sampleLocation) const
{
    return AAX_ForwardTo (hostTransport, AAX_ERROR_NULL_OBJECT,
                          [&] (auto& h) { return h.GetCustomTickPosition (outTicks, sampleLocation); });
}

AAX_Result AAX_VTransport::GetBarBeatPosition (int32_t* outBars, int32_t* outBeats, int64_t* outDisplayTicks,
                                               int64_t sampleLocation) const
{
    return AAX_ForwardTo (hostTransport, AAX_ERROR_NULL_OBJECT,
                          [&] (auto& h) { return h.GetBarBeatPosition (outBars, outBeats, outDisplayTicks, sampleLocation); });
}

AAX_Result AAX_VTransport::GetTicksPerQuarter (uint32_t* outTicks) const
{
    return AAX_ForwardTo (hostTransport, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.GetTicksPerQuarter (outTicks); });
}

AAX_Result AAX_VTransport::GetCurrentTicksPerBeat (uint32_t* outTicks) const
{
    return AAX_ForwardTo (hostTransport, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.GetCurrentTicksPerBeat (outTicks); });
}

AAX_Result AAX_VTransport::GetTimelineSelectionStartPosition (int64_t* outSample) const
{
    return AAX_ForwardTo (hostTransportV2, AAX_ERROR_UNIMPLEMENTED,
                          [&] (auto& h) { return h.GetTimelineSelectionStartPosition (outSample); });
}

AAX_Result AAX_VTransport::GetTimeCodeInfo (AAX_EFrameRate* outRate, int32_t* outOffset) const
{
    return AAX_ForwardTo (hostTransportV2, AAX_ERROR_UNIMPLEMENTED,
                          [&] (auto& h) { return h.GetTimeCodeInfo (outRate, outOffset); });
}

AAX_Result AAX_VTransport::GetFeetFramesInfo (AAX_EFeetFramesRate* outRate, int64_t* outOffset) const
{
    return AAX_ForwardTo (hostTransportV2, AAX_ERROR_UNIMPLEMENTED,
                          [&] (auto& h) { return h.GetFeetFramesInfo (outRate, outOffset); });
}

AAX_Result AAX_VTransport::IsMetronomeEnabled (int32_t* outEnabled) const
{
    return AAX_ForwardTo (hostTransportV2, AAX_ERROR_UNIMPLEMENTED,
                          [&] (auto& h) { return h.IsMetronomeEnabled (outEnabled); });
}
