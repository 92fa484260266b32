// The data model of one effect instance as the host sees it: the parameters by
// identifier, automation round trips, the controls chunk 'elck', packets for
// the processing side and notifications. The plug-in derives from it and adds
// its parameters in EffectInit.
#pragma once

#include "AAX_CChunkDataParser.h"
#include "AAX_CPacketDispatcher.h"
#include "AAX_CParameterManager.h"
#include "AAX_IEffectParameters.h"

#include <atomic>
#include <memory>
#include <set>
#include <string>

class AAX_IController;
class AAX_ITransport;
class AAX_IAutomationDelegate;

/** The identifier of the master bypass parameter. */
extern const char* const cDefaultMasterBypassID;
/** The identifier of an optional preview parameter. */
extern const char* const cPreviewID;
/** The controls chunk's name. */
extern const char* const CONTROLS_CHUNK_DESCRIPTION;

/** The controls chunk's identifier. */
constexpr AAX_CTypeID AAX_ControlsChunkID = AAX_MakeTypeID ('e', 'l', 'c', 'k');
/** The host's preview notification; its data is a 32-bit on/off flag. */
constexpr AAX_CTypeID AAX_PreviewNotification = AAX_MakeTypeID ('A', 'S', 'P', 'v');

class AAX_CEffectParameters : public AAX_IEffectParameters
{
public:
    AAX_CEffectParameters();
    ~AAX_CEffectParameters() override;

    AAX_CEffectParameters (const AAX_CEffectParameters&) = delete;
    AAX_CEffectParameters& operator= (const AAX_CEffectParameters&) = delete;

    //==============================================================================
    /** Connects to the host (controller, automation, transport), lets the plug-in
        add its parameters through EffectInit and keeps the master bypass out of
        the controls chunk. A second call first deletes the parameters of the first. */
    AAX_Result Initialize (IACFUnknown* host) override;
    /** Deletes every parameter and the host proxies. */
    AAX_Result Uninitialize() override;
    /** Handles the preview notification when a "PreviewID" parameter exists. */
    AAX_Result NotificationReceived (AAX_CTypeID type, const void* data, uint32_t size) override;

    //==============================================================================
    AAX_Result GetNumberOfParameters (int32_t* out) const override;
    AAX_Result GetMasterBypassParameter (AAX_IString* out) const override;
    AAX_Result GetParameterIsAutomatable (AAX_CParamID id, AAX_CBoolean* out) const override;
    AAX_Result GetParameterNumberOfSteps (AAX_CParamID id, int32_t* out) const override;
    /** An unknown identifier gives "" and 0. */
    AAX_Result GetParameterName (AAX_CParamID id, AAX_IString* out) const override;
    /** The longest line of the best shortened name that fits length, else the
        name cut to length. */
    AAX_Result GetParameterNameOfLength (AAX_CParamID id, AAX_IString* out, int32_t length) const override;
    AAX_Result GetParameterDefaultNormalizedValue (AAX_CParamID id, double* out) const override;
    AAX_Result SetParameterDefaultNormalizedValue (AAX_CParamID id, double value) override;
    AAX_Result GetParameterType (AAX_CParamID id, AAX_EParameterType* out) const override;
    AAX_Result GetParameterOrientation (AAX_CParamID id, AAX_EParameterOrientation* out) const override;
    AAX_Result GetParameter (AAX_CParamID id, AAX_IParameter** out) override;
    AAX_Result GetParameterIndex (AAX_CParamID id, int32_t* out) const override;
    AAX_Result GetParameterIDFromIndex (int32_t index, AAX_IString* out) const override;
    AAX_Result GetParameterValueInfo (AAX_CParamID id, int32_t selector, int32_t* out) const override;
    AAX_Result GetParameterValueFromString (AAX_CParamID id, double* out, const AAX_IString& text) const override;
    AAX_Result GetParameterStringFromValue (AAX_CParamID id, double normalized, AAX_IString* out,
                                            int32_t maxLength) const override;
    AAX_Result GetParameterValueString (AAX_CParamID id, AAX_IString* out, int32_t maxLength) const override;
    AAX_Result GetParameterNormalizedValue (AAX_CParamID id, double* out) const override;
    /** With an automation delegate this only asks the host; without one the
        value is stored and goes to the processing side as a confirmed one does. */
    AAX_Result SetParameterNormalizedValue (AAX_CParamID id, double value) override;
    /** The current value plus delta, limited to 0..1. */
    AAX_Result SetParameterNormalizedRelative (AAX_CParamID id, double delta) override;
    AAX_Result TouchParameter (AAX_CParamID id) override;
    AAX_Result ReleaseParameter (AAX_CParamID id) override;
    AAX_Result UpdateParameterTouch (AAX_CParamID id, AAX_CBoolean touched) override;
    /** The host's confirmation: stores the value, marks its packets and counts a change. */
    AAX_Result UpdateParameterNormalizedValue (AAX_CParamID id, double value, AAX_EUpdateSource source) override;
    AAX_Result UpdateParameterNormalizedRelative (AAX_CParamID id, double delta) override;

    //==============================================================================
    /** Posts the packets of every parameter that changed. */
    AAX_Result GenerateCoefficients() override;
    AAX_Result ResetFieldData (AAX_CFieldIndex fieldIndex, void* data, uint32_t size) const override;

    //==============================================================================
    AAX_Result GetNumberOfChunks (int32_t* out) const override;
    AAX_Result GetChunkIDFromIndex (int32_t index, AAX_CTypeID* out) const override;
    AAX_Result GetChunkSize (AAX_CTypeID id, uint32_t* out) const override;
    /** Fails with -20008 unless GetChunkSize reported the size that the chunk now has. */
    AAX_Result GetChunk (AAX_CTypeID id, AAX_SPlugInChunk* chunk) const override;
    /** Sets every parameter the chunk holds a value for; others stay. */
    AAX_Result SetChunk (AAX_CTypeID id, const AAX_SPlugInChunk* chunk) override;
    AAX_Result CompareActiveChunk (const AAX_SPlugInChunk* chunk, AAX_CBoolean* isEqual) const override;
    AAX_Result GetNumberOfChanges (int32_t* out) const override;

    //==============================================================================
    AAX_Result TimerWakeup() override;
    AAX_Result GetCurveData (AAX_CTypeID curveType, const float* values, uint32_t count, float* outValues) const override;
    AAX_Result GetCustomData (AAX_CTypeID blockID, uint32_t size, void* data, uint32_t* outSize) const override;
    AAX_Result SetCustomData (AAX_CTypeID blockID, uint32_t size, const void* data) override;
    AAX_Result DoMIDITransfers() override;
    AAX_Result RenderAudio_Hybrid (AAX_SHybridRenderInfo* info) override;
    AAX_Result UpdateMIDINodes (AAX_CFieldIndex fieldIndex, AAX_CMidiPacket& packet) override;
    AAX_Result UpdateControlMIDINodes (AAX_CTypeID nodeID, AAX_CMidiPacket& packet) override;
    AAX_Result GetCurveDataMeterIds (AAX_CTypeID curveType, uint32_t* outXMeterID, uint32_t* outYMeterID) const override;
    AAX_Result GetCurveDataDisplayRange (AAX_CTypeID curveType, float* outXMin, float* outXMax, float* outYMin,
                                         float* outYMax) const override;

    //==============================================================================
    /** The plug-in's own initialisation: adds its parameters and packets. */
    virtual AAX_Result EffectInit();

    /** The host proxies; null outside Initialize ... Uninitialize. */
    AAX_IController* Controller() const noexcept  { return controller.get(); }
    AAX_ITransport* Transport() const noexcept  { return transport.get(); }

    /** Keeps the identifier's parameter out of the controls chunk. */
    void FilterParameterIDOnSave (AAX_CParamID id);

    /** Fills the chunk parser from the live parameters. */
    void BuildChunkData() const;

protected:
    std::atomic<int32_t> changeCount { 0 };
    mutable std::atomic<int32_t> chunkSize { 0 };
    mutable AAX_CChunkDataParser chunkParser;
    AAX_CPacketDispatcher packetDispatcher;
    AAX_CParameterManager parameterManager;
    std::set<std::string> filteredParameterIDs;
    std::unique_ptr<AAX_IController> controller;
    std::unique_ptr<AAX_ITransport> transport;
    std::unique_ptr<AAX_IAutomationDelegate> automationDelegate;

private:
    /** A value a parameter stored at once: one more change, and its packets to post. */
    AAX_Result valueStored (AAX_CParamID id);
};
