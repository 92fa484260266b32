// The host controller of one instance, reached through its versioned interfaces.
#pragma once

#include "ACFPtr.h"
#include "AAX_IACFController.h"
#include "AAX_IController.h"

class AAX_VController : public AAX_IController
{
public:
    /** Asks host for every controller version it offers; null gives none. */
    explicit AAX_VController (IACFUnknown* host);
    ~AAX_VController() override;

    AAX_Result GetEffectID (AAX_IString* outEffectID) const override;
    AAX_Result GetSampleRate (float* outSampleRate) const override;
    AAX_Result GetInputStemFormat (AAX_EStemFormat* outFormat) const override;
    AAX_Result GetOutputStemFormat (AAX_EStemFormat* outFormat) const override;
    AAX_Result GetSignalLatency (int32_t* outSamples) const override;
    AAX_Result GetCycleCount (AAX_EProperty which, int32_t* outCycles) const override;
    AAX_Result GetTODLocation (int64_t* outLocation) const override;
    AAX_Result SetSignalLatency (int32_t samples) override;
    AAX_Result SetCycleCount (AAX_EProperty* which, int32_t* cycles, int32_t count) override;
    AAX_Result PostPacket (int32_t fieldIndex, const void* payload, uint32_t size) override;
    AAX_Result SendNotification (AAX_CTypeID type, const void* data, uint32_t size) override;
    AAX_Result GetCurrentMeterValue (uint32_t meterID, float* outValue) const override;
    AAX_Result GetMeterPeakValue (uint32_t meterID, float* outValue) const override;
    AAX_Result ClearMeterPeakValue (uint32_t meterID) const override;
    AAX_Result GetMeterCount (uint32_t* outCount) const override;
    AAX_Result GetMeterClipped (uint32_t meterID, AAX_CBoolean* outClipped) const override;
    AAX_Result ClearMeterClipped (uint32_t meterID) const override;
    AAX_Result GetNextMIDIPacket (int32_t* outPort, AAX_CMidiPacket* outPacket) override;
    AAX_Result GetHybridSignalLatency (int32_t* outSamples) const override;
    /** Without the second version also sets the timestamp to 0. */
    AAX_Result GetCurrentAutomationTimestamp (int64_t* outTimestamp) const override;
    AAX_Result GetHostName (AAX_IString* outName) const override;
    AAX_Result GetPlugInTargetPlatform (AAX_CTargetPlatform* outPlatform) const override;
    AAX_Result GetIsAudioSuite (AAX_CBoolean* outIsAudioSuite) const override;

private:
    ACFPtr<AAX_IACFController> hostController;
    ACFPtr<AAX_IACFController_V2> hostControllerV2;
    ACFPtr<AAX_IACFController_V3> hostControllerV3;
};
