#include "AAX_VController.h"

#include "AAX_HostCalls.h"

AAX_VController::AAX_VController (IACFUnknown* host)
{
    AAX_QueryHostInterface (host, IID_IAAXControllerV1, hostController);
    AAX_QueryHostInterface (host, IID_IAAXControllerV2, hostControllerV2);
    AAX_QueryHostInterface (host, IID_IAAXControllerV3, hostControllerV3);
}

AAX_VController::~AAX_VController()
{
    hostControllerV3.Clear();
    hostControllerV2.Clear();
    hostController.Clear();
}

AAX_Result AAX_VController::GetEffectID (AAX_IString* outEffectID) const
{
    return AAX_ForwardTo (hostController, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.GetEffectID (outEffectID); });
}

AAX_Result AAX_VController::GetSampleRate (float* outSampleRate) const
{
    return AAX_ForwardTo (hostController, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.GetSampleRate (outSampleRate); });
}

AAX_Result AAX_VController::GetInputStemFormat (AAX_EStemFormat* outFormat) const
{
    return AAX_ForwardTo (hostController, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.GetInputStemFormat (outFormat); });
}

AAX_Result AAX_VController::GetOutputStemFormat (AAX_EStemFormat* outFormat) const
{
    return AAX_ForwardTo (hostController, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.GetOutputStemFormat (outFormat); });
}

AAX_Result AAX_VController::GetSignalLatency (int32_t* outSamples) const
{
    return AAX_ForwardTo (hostController, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.GetSignalLatency (outSamples); });
}

AAX_Result AAX_VController::GetCycleCount (AAX_EProperty which, int32_t* outCycles) const
{
    return AAX_ForwardTo (hostController, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.GetCycleCount (which, outCycles); });
}

AAX_Result AAX_VController::GetTODLocation (int64_t* outLocation) const
{
    return AAX_ForwardTo (hostController, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.GetTODLocation (outLocation); });
}

AAX_Result AAX_VController::SetSignalLatency (int32_t samples)
{
    return AAX_ForwardTo (hostController, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.SetSignalLatency (samples); });
}

AAX_Result AAX_VController::SetCycleCount (AAX_EProperty* which, int32_t* cycles, int32_t count)
{
    return AAX_ForwardTo (hostController, AAX_ERROR_NULL_OBJECT,
                          [&] (auto& h) { return h.SetCycleCount (which, cycles, count); });
}

AAX_Result AAX_VController::PostPacket (int32_t fieldIndex, const void* payload, uint32_t size)
{
    return AAX_ForwardTo (hostController, AAX_ERROR_NULL_OBJECT,
                          [&] (auto& h) { return h.PostPacket (fieldIndex, payload, size); });
}

AAX_Result AAX_VController::SendNotification (AAX_CTypeID type, const void* data, uint32_t size)
{
    return AAX_ForwardTo (hostControllerV2, AAX_ERROR_UNIMPLEMENTED,
                          [&] (auto& h) { return h.SendNotification (type, data, size); });
}

AAX_Result AAX_VController::GetCurrentMeterValue (uint32_t meterID, float* outValue) const
{
    return AAX_ForwardTo (hostController, AAX_ERROR_NULL_OBJECT,
                          [&] (auto& h) { return h.GetCurrentMeterValue (meterID, outValue); });
}

AAX_Result AAX_VController::GetMeterPeakValue (uint32_t meterID, float* outValue) const
{
    return AAX_ForwardTo (hostController, AAX_ERROR_NULL_OBJECT,
                          [&] (auto& h) { return h.GetMeterPeakValue (meterID, outValue); });
}

AAX_Result AAX_VController::ClearMeterPeakValue (uint32_t meterID) const
{
    return AAX_ForwardTo (hostController, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.ClearMeterPeakValue (meterID); });
}

AAX_Result AAX_VController::GetMeterCount (uint32_t* outCount) const
{
    return AAX_ForwardTo (hostController, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.GetMeterCount (outCount); });
}

AAX_Result AAX_VController::GetMeterClipped (uint32_t meterID, AAX_CBoolean* outClipped) const
{
    return AAX_ForwardTo (hostController, AAX_ERROR_NULL_OBJECT,
                          [&] (auto& h) { return h.GetMeterClipped (meterID, outClipped); });
}

AAX_Result AAX_VController::ClearMeterClipped (uint32_t meterID) const
{
    return AAX_ForwardTo (hostController, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.ClearMeterClipped (meterID); });
}

AAX_Result AAX_VController::GetNextMIDIPacket (int32_t* outPort, AAX_CMidiPacket* outPacket)
{
    return AAX_ForwardTo (hostController, AAX_ERROR_NULL_OBJECT,
                          [&] (auto& h) { return h.GetNextMIDIPacket (outPort, outPacket); });
}

AAX_Result AAX_VController::GetHybridSignalLatency (int32_t* outSamples) const
{
    return AAX_ForwardTo (hostControllerV2, AAX_ERROR_UNIMPLEMENTED,
                          [&] (auto& h) { return h.GetHybridSignalLatency (outSamples); });
}

AAX_Result AAX_VController::GetCurrentAutomationTimestamp (int64_t* outTimestamp) const
{
    if (! hostControllerV2)
    {
        if (outTimestamp != nullptr)
            *outTimestamp = 0;

        return AAX_ERROR_UNIMPLEMENTED;
    }

    return hostControllerV2->GetCurrentAutomationTimestamp (outTimestamp);
}

AAX_Result AAX_VController::GetHostName (AAX_IString* outName) const
{
    return AAX_ForwardTo (hostControllerV2, AAX_ERROR_UNIMPLEMENTED, [&] (auto& h) { return h.GetHostName (outName); });
}

AAX_Result AAX_VController::GetPlugInTargetPlatform (AAX_CTargetPlatform* outPlatform) const
{
    return AAX_ForwardTo (hostControllerV3, AAX_ERROR_UNIMPLEMENTED,
                          [&] (auto& h) { return h.GetPlugInTargetPlatform (outPlatform); });
}

AAX_Result AAX_VController::GetIsAudioSuite (AAX_CBoolean* outIsAudioSuite) const
{
    return AAX_ForwardTo (hostControllerV3, AAX_ERROR_UNIMPLEMENTED,
                          [&] (auto& h) { return h.GetIsAudioSuite (outIsAudioSuite); });
}
