// The plug-in side's view of the host controller of one instance.
#pragma once

#include "AAX.h"

class AAX_IString;

class AAX_IController
{
public:
    virtual ~AAX_IController() = default;

    virtual AAX_Result GetEffectID (AAX_IString* outEffectID) const = 0;
    virtual AAX_Result GetSampleRate (float* outSampleRate) const = 0;
    virtual AAX_Result GetInputStemFormat (AAX_EStemFormat* outFormat) const = 0;
    virtual AAX_Result GetOutputStemFormat (AAX_EStemFormat* outFormat) const = 0;
    virtual AAX_Result GetSignalLatency (int32_t* outSamples) const = 0;
    virtual AAX_Result GetCycleCount (AAX_EProperty which, int32_t* outCycles) const = 0;
    virtual AAX_Result GetTODLocation (int64_t* outLocation) const = 0;
    virtual AAX_Result SetSignalLatency (int32_t samples) = 0;
    virtual AAX_Result SetCycleCount (AAX_EProperty* which, int32_t* cycles, int32_t count) = 0;
    /** Sends a block of parameter data to the processing side. */
    virtual AAX_Result PostPacket (int32_t fieldIndex, const void* payload, uint32_t size) = 0;
    virtual AAX_Result SendNotification (AAX_CTypeID type, const void* data, uint32_t size) = 0;
    virtual AAX_Result GetCurrentMeterValue (uint32_t meterID, float* outValue) const = 0;
    virtual AAX_Result GetMeterPeakValue (uint32_t meterID, float* outValue) const = 0;
    virtual AAX_Result ClearMeterPeakValue (uint32_t meterID) const = 0;
    virtual AAX_Result GetMeterCount (uint32_t* outCount) const = 0;
    virtual AAX_Result GetMeterClipped (uint32_t meterID, AAX_CBoolean* outClipped) const = 0;
    virtual AAX_Result ClearMeterClipped (uint32_t meterID) const = 0;
    virtual AAX_Result GetNextMIDIPacket (int32_t* outPort, AAX_CMidiPacket* outPacket) = 0;
    virtual AAX_Result GetHybridSignalLatency (int32_t* outSamples) const = 0;
    virtual AAX_Result GetCurrentAutomationTimestamp (int64_t* outTimestamp) const = 0;
    virtual AAX_Result GetHostName (AAX_IString* outName) const = 0;
    virtual AAX_Result GetPlugInTargetPlatform (AAX_CTargetPlatform* outPlatform) const = 0;
    virtual AAX_Result GetIsAudioSuite (AAX_CBoolean* outIsAudioSuite) const = 0;
};
