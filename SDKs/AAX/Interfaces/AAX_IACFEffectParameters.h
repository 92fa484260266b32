// The effect parameters object as the host calls it: the data model of one
// effect instance (parameters, chunks, packets, notifications).
#pragma once

#include "AAX.h"
#include "ACFUnknown.h"

class AAX_IString;
class AAX_IParameter;

class AAX_IACFEffectParameters : public IACFUnknown
{
public:
    // Life cycle and notifications
    virtual AAX_Result Initialize (IACFUnknown* host) = 0;                                                  // slot 3
    virtual AAX_Result Uninitialize() = 0;
    virtual AAX_Result NotificationReceived (AAX_CTypeID type, const void* data, uint32_t size) = 0;

    // Parameter queries and changes
    virtual AAX_Result GetNumberOfParameters (int32_t* out) const = 0;
    virtual AAX_Result GetMasterBypassParameter (AAX_IString* out) const = 0;
    virtual AAX_Result GetParameterIsAutomatable (AAX_CParamID id, AAX_CBoolean* out) const = 0;
    virtual AAX_Result GetParameterNumberOfSteps (AAX_CParamID id, int32_t* out) const = 0;
    virtual AAX_Result GetParameterName (AAX_CParamID id, AAX_IString* out) const = 0;
    virtual AAX_Result GetParameterNameOfLength (AAX_CParamID id, AAX_IString* out, int32_t length) const = 0;
    virtual AAX_Result GetParameterDefaultNormalizedValue (AAX_CParamID id, double* out) const = 0;
    virtual AAX_Result SetParameterDefaultNormalizedValue (AAX_CParamID id, double value) = 0;
    virtual AAX_Result GetParameterType (AAX_CParamID id, AAX_EParameterType* out) const = 0;
    virtual AAX_Result GetParameterOrientation (AAX_CParamID id, AAX_EParameterOrientation* out) const = 0;
    virtual AAX_Result GetParameter (AAX_CParamID id, AAX_IParameter** out) = 0;
    virtual AAX_Result GetParameterIndex (AAX_CParamID id, int32_t* out) const = 0;
    virtual AAX_Result GetParameterIDFromIndex (int32_t index, AAX_IString* out) const = 0;
    virtual AAX_Result GetParameterValueInfo (AAX_CParamID id, int32_t selector, int32_t* out) const = 0;
    virtual AAX_Result GetParameterValueFromString (AAX_CParamID id, double* out, const AAX_IString& text) const = 0;
    virtual AAX_Result GetParameterStringFromValue (AAX_CParamID id, double normalized, AAX_IString* out,
                                                    int32_t maxLength) const = 0;
    virtual AAX_Result GetParameterValueString (AAX_CParamID id, AAX_IString* out, int32_t maxLength) const = 0;
    virtual AAX_Result GetParameterNormalizedValue (AAX_CParamID id, double* out) const = 0;
    virtual AAX_Result SetParameterNormalizedValue (AAX_CParamID id, double value) = 0;
    virtual AAX_Result SetParameterNormalizedRelative (AAX_CParamID id, double delta) = 0;
    virtual AAX_Result TouchParameter (AAX_CParamID id) = 0;
    virtual AAX_Result ReleaseParameter (AAX_CParamID id) = 0;
    virtual AAX_Result UpdateParameterTouch (AAX_CParamID id, AAX_CBoolean touched) = 0;
    virtual AAX_Result UpdateParameterNormalizedValue (AAX_CParamID id, double value, AAX_EUpdateSource source) = 0;
    virtual AAX_Result UpdateParameterNormalizedRelative (AAX_CParamID id, double delta) = 0;

    // Processing side
    virtual AAX_Result GenerateCoefficients() = 0;
    virtual AAX_Result ResetFieldData (AAX_CFieldIndex fieldIndex, void* data, uint32_t size) const = 0;

    // Chunks
    virtual AAX_Result GetNumberOfChunks (int32_t* out) const = 0;
    virtual AAX_Result GetChunkIDFromIndex (int32_t index, AAX_CTypeID* out) const = 0;
    virtual AAX_Result GetChunkSize (AAX_CTypeID id, uint32_t* out) const = 0;
    virtual AAX_Result GetChunk (AAX_CTypeID id, AAX_SPlugInChunk* chunk) const = 0;
    virtual AAX_Result SetChunk (AAX_CTypeID id, const AAX_SPlugInChunk* chunk) = 0;
    virtual AAX_Result CompareActiveChunk (const AAX_SPlugInChunk* chunk, AAX_CBoolean* isEqual) const = 0;
    virtual AAX_Result GetNumberOfChanges (int32_t* out) const = 0;

    // Other host services
    virtual AAX_Result TimerWakeup() = 0;
    virtual AAX_Result GetCurveData (AAX_CTypeID curveType, const float* values, uint32_t count,
                                     float* outValues) const = 0;
    virtual AAX_Result GetCustomData (AAX_CTypeID blockID, uint32_t size, void* data, uint32_t* outSize) const = 0;
    virtual AAX_Result SetCustomData (AAX_CTypeID blockID, uint32_t size, const void* data) = 0;
    virtual AAX_Result DoMIDITransfers() = 0;

protected:
    ~AAX_IACFEffectParameters() = default;
};

class AAX_IACFEffectParameters_V2 : public AAX_IACFEffectParameters
{
public:
    virtual AAX_Result RenderAudio_Hybrid (AAX_SHybridRenderInfo* info) = 0;
    virtual AAX_Result UpdateMIDINodes (AAX_CFieldIndex fieldIndex, AAX_CMidiPacket& packet) = 0;
    virtual AAX_Result UpdateControlMIDINodes (AAX_CTypeID nodeID, AAX_CMidiPacket& packet) = 0;

protected:
    ~AAX_IACFEffectParameters_V2() = default;
};

class AAX_IACFEffectParameters_V3 : public AAX_IACFEffectParameters_V2
{
public:
    virtual AAX_Result GetCurveDataMeterIds (AAX_CTypeID curveType, uint32_t* outXMeterID,
                                             uint32_t* outYMeterID) const = 0;
    virtual AAX_Result GetCurveDataDisplayRange (AAX_CTypeID curveType, float* outXMin, float* outXMax,
                                                 float* outYMin, float* outYMax) const = 0;

protected:
    ~AAX_IACFEffectParameters_V3() = default;
};
