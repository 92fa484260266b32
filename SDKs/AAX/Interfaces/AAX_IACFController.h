// The host's controller of one effect instance.
#pragma once

#include "AAX.h"
#include "ACFUnknown.h"

class AAX_IString;

class AAX_IACFController : public IACFUnknown
{
public:
    virtual AAX_Result GetEffectID (AAX_IString* outEffectID) const = 0;                       // slot 3
    virtual AAX_Result GetSampleRate (float* outSampleRate) const = 0;                          // slot 4
    virtual AAX_Result GetInputStemFormat (AAX_EStemFormat* outFormat) const = 0;               // slot 5
    virtual AAX_Result GetOutputStemFormat (AAX_EStemFormat* outFormat) const = 0;              // slot 6
    virtual AAX_Result GetSignalLatency (int32_t* outSamples) const = 0;                        // slot 7
    virtual AAX_Result GetCycleCount (AAX_EProperty which, int32_t* outCycles) const = 0;       // slot 8
    virtual AAX_Result GetTODLocation (int64_t* outLocation) const = 0;                         // slot 9
    virtual AAX_Result SetSignalLatency (int32_t samples) = 0;                                  // slot 10
    virtual AAX_Result SetCycleCount (AAX_EProperty* which, int32_t* cycles, int32_t count) = 0;  // slot 11
    virtual AAX_Result PostPacket (int32_t fieldIndex, const void* payload, uint32_t size) = 0;  // slot 12
    virtual AAX_Result GetCurrentMeterValue (uint32_t meterID, float* outValue) const = 0;     // slot 13
    virtual AAX_Result GetMeterPeakValue (uint32_t meterID, float* outValue) const = 0;        // slot 14
    virtual AAX_Result ClearMeterPeakValue (uint32_t meterID) const = 0;                       // slot 15
    virtual AAX_Result GetMeterClipped (uint32_t meterID, AAX_CBoolean* outClipped) const = 0;  // slot 16
    virtual AAX_Result ClearMeterClipped (uint32_t meterID) const = 0;                         // slot 17
    virtual AAX_Result GetMeterCount (uint32_t* outCount) const = 0;                           // slot 18
    virtual AAX_Result GetNextMIDIPacket (int32_t* outPort, AAX_CMidiPacket* outPacket) = 0;   // slot 19

protected:
    ~AAX_IACFController() = default;
};

class AAX_IACFController_V2 : public AAX_IACFController
{
public:
    virtual AAX_Result SendNotification (AAX_CTypeID type, const void* data, uint32_t size) = 0;  // slot 20
    virtual AAX_Result GetHybridSignalLatency (int32_t* outSamples) const = 0;                   // slot 21
    virtual AAX_Result GetCurrentAutomationTimestamp (int64_t* outTimestamp) const = 0;          // slot 22
    virtual AAX_Result GetHostName (AAX_IString* outName) const = 0;                             // slot 23

protected:
    ~AAX_IACFController_V2() = default;
};

class AAX_IACFController_V3 : public AAX_IACFController_V2
{
public:
    virtual AAX_Result GetPlugInTargetPlatform (AAX_CTargetPlatform* outPlatform) const = 0;  // slot 24
    virtual AAX_Result GetIsAudioSuite (AAX_CBoolean* outIsAudioSuite) const = 0;             // slot 25

protected:
    ~AAX_IACFController_V3() = default;
};
