// A fake AAX host of our own: the objects a host hands to an AAX plug-in,
// written from the host interfaces the library calls. Its root object creates
// the collection, descriptors, property maps and host services; an instance
// host answers the controller, automation delegate and transport. Every call
// is recorded, any interface or class can be refused, and every object counts
// the references it hands out and gets back, so a test can end by checking
// that nothing is left outstanding and nothing was released twice.
#pragma once

#include "AAX.h"
#include "AAX_IACFAutomationDelegate.h"
#include "AAX_IACFCollection.h"
#include "AAX_IACFComponentDescriptor.h"
#include "AAX_IACFController.h"
#include "AAX_IACFEffectDescriptor.h"
#include "AAX_IACFHostServices.h"
#include "AAX_IACFPropertyMap.h"
#include "AAX_IACFTransport.h"
#include "AAX_IACFViewContainer.h"
#include "AAX_UIDs.h"

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

class FakeHost;

/** How the host answers a request for an interface that it withholds: with the
    proper "no interface" and a null pointer, or in one of the two ways a
    careless host does, which a plug-in must equally read as "no interface". */
enum class Withholding
{
    none,               ///< the interface is granted, with a pointer and a reference
    refusal,            ///< an error and a null pointer
    errorWithPointer,   ///< an error, yet a pointer (without a reference)
    successWithNull     ///< success, yet a null pointer
};

/** The name of a known identifier ("IID_IAAXControllerV2"), or its digits. */
std::string identifierName (const acfUID& id);

//==============================================================================
/** Reference bookkeeping and call recording shared by every fake. */
class FakeObject
{
public:
    FakeObject (FakeHost& owner, std::string objectName);
    virtual ~FakeObject() = default;

    FakeObject (const FakeObject&) = delete;
    FakeObject& operator= (const FakeObject&) = delete;

    const std::string& name() const noexcept  { return objectName; }
    /** References handed out (queries, creations, AddRef) minus those released. */
    int outstanding() const noexcept  { return handedOut.load() - released.load(); }
    /** Releases beyond the references handed out. */
    int overReleases() const noexcept  { return overReleased.load(); }

    /** What every operation of this object answers (pass-through checks). */
    AAX_Result answer = AAX_SUCCESS;

    /** The object's own IACFUnknown. */
    virtual IACFUnknown* unknown() = 0;

    /** Answers iid with a pointer and a reference, unless the host withholds it. */
    virtual ACFRESULT query (const acfIID& iid, void** out);
    /** Answers with face (null: no such interface) as the host's withholding of iid says. */
    ACFRESULT answerQuery (const acfIID& iid, void* face, void** out);
    uint32_t addRef();
    uint32_t release();

protected:
    /** The object's interface for iid, or null. */
    virtual void* interfaceFor (const acfIID& iid) = 0;

    /** Records "name.operation(arguments)" in the host's log. */
    template <class... Arguments>
    void record (const char* operation, const Arguments&... arguments) const;

    FakeHost& host;

private:
    std::string objectName;
    std::atomic<int> handedOut { 0 };
    std::atomic<int> released { 0 };
    std::atomic<int> overReleased { 0 };
};

/** A fake implementing the host interface Interface. */
template <class Interface>
class Fake : public Interface, public FakeObject
{
public:
    using FakeObject::FakeObject;

    ACFRESULT QueryInterface (const acfIID& iid, void** out) override  { return query (iid, out); }
    uint32_t AddRef() override  { return addRef(); }
    uint32_t Release() override  { return release(); }
    IACFUnknown* unknown() override  { return this; }
};

//==============================================================================
class FakePluginDefinition final : public Fake<IACFPluginDefinition>
{
public:
    using Fake::Fake;

protected:
    void* interfaceFor (const acfIID& iid) override;
};

class FakePropertyMap final : public Fake<AAX_IACFPropertyMap_V2>
{
public:
    using Fake::Fake;

    std::map<int32_t, AAX_CPropertyValue> properties;
    std::map<int32_t, std::vector<AAX_SPlugInIdentifierTriad>> idArrays;

    AAX_CBoolean GetProperty (AAX_EProperty property, AAX_CPropertyValue* out) const override;
    AAX_Result AddProperty (AAX_EProperty property, AAX_CPropertyValue value) override;
    AAX_Result RemoveProperty (AAX_EProperty property) override;
    AAX_Result AddPropertyWithIDArray (AAX_EProperty property, const AAX_SPlugInIdentifierTriad* pluginIDs,
                                       uint32_t count) override;
    AAX_CBoolean GetPropertyWithIDArray (AAX_EProperty property, const AAX_SPlugInIdentifierTriad** outPluginIDs,
                                         uint32_t* outCount) const override;

protected:
    void* interfaceFor (const acfIID& iid) override;
};

class FakeComponentDescriptor final : public Fake<AAX_IACFComponentDescriptor_V2>
{
public:
    using Fake::Fake;

    /** Every describing call, "AddAudioIn(0)", in order. */
    std::vector<std::string> calls;
    AAX_CProcessProc processProc = nullptr;
    FakePropertyMap* processProcProperties = nullptr;

    AAX_Result Clear() override;
    AAX_Result AddReservedField (AAX_CFieldIndex field, uint32_t fieldType) override;
    AAX_Result AddAudioIn (AAX_CFieldIndex field) override;
    AAX_Result AddAudioOut (AAX_CFieldIndex field) override;
    AAX_Result AddAudioBufferLength (AAX_CFieldIndex field) override;
    AAX_Result AddSampleRate (AAX_CFieldIndex field) override;
    AAX_Result AddClock (AAX_CFieldIndex field) override;
    AAX_Result AddSideChainIn (AAX_CFieldIndex field) override;
    AAX_Result AddDataInPort (AAX_CFieldIndex field, uint32_t packetSize, AAX_EDataInPortType type) override;
    AAX_Result AddAuxOutputStem (AAX_CFieldIndex field, int32_t stemFormat, const char* name) override;
    AAX_Result AddPrivateData (AAX_CFieldIndex field, int32_t dataSize, uint32_t options) override;
    AAX_Result AddDmaInstance (AAX_CFieldIndex field, AAX_IDma::EMode mode) override;
    AAX_Result AddMIDINode (AAX_CFieldIndex field, AAX_EMIDINodeType type, const char* name,
                            uint32_t channelMask) override;
    AAX_Result AddProcessProc_Native (AAX_CProcessProc proc, IACFUnknown* properties, AAX_CInstanceInitProc init,
                                      AAX_CBackgroundProc background, AAX_CSelector* outProcID) override;
    AAX_Result AddProcessProc_TI (const char* dllFileName, const char* processProcSymbol, IACFUnknown* properties,
                                  const char* instanceInitProcSymbol, const char* backgroundProcSymbol,
                                  AAX_CSelector* outProcID) override;
    AAX_Result AddMeters (AAX_CFieldIndex field, const AAX_CTypeID* meterIDs, uint32_t meterCount) override;
    AAX_Result AddTemporaryData (AAX_CFieldIndex field, uint32_t dataElementSize) override;

protected:
    void* interfaceFor (const acfIID& iid) override;

private:
    template <class... Arguments>
    AAX_Result describe (const char* operation, const Arguments&... arguments);
};

class FakeEffectDescriptor final : public Fake<AAX_IACFEffectDescriptor_V2>
{
public:
    using Fake::Fake;

    std::vector<std::string> names;
    std::vector<uint32_t> categories;
    /** Procedures in the order they were added. */
    std::vector<std::pair<AAX_CProcPtrID, void*>> procedures;
    std::vector<FakeComponentDescriptor*> components;
    FakePropertyMap* properties = nullptr;

    AAX_Result AddComponent (IACFUnknown* componentDescriptor) override;
    AAX_Result AddName (const char* name) override;
    AAX_Result AddCategory (uint32_t category) override;
    AAX_Result AddCategoryBypassParameter (uint32_t category, AAX_CParamID id) override;
    AAX_Result AddProcPtr (void* procedure, AAX_CProcPtrID procID) override;
    AAX_Result SetProperties (IACFUnknown* propertyMap) override;
    AAX_Result AddResourceInfo (AAX_EResourceType type, const char* info) override;
    AAX_Result AddMeterDescription (AAX_CTypeID meterID, const char* name, IACFUnknown* propertyMap) override;
    AAX_Result AddControlMIDINode (AAX_CTypeID nodeID, AAX_EMIDINodeType type, const char* name,
                                   uint32_t channelMask) override;

protected:
    void* interfaceFor (const acfIID& iid) override;
};

class FakeCollection final : public Fake<AAX_IACFCollection>
{
public:
    FakeCollection (FakeHost& owner, std::string objectName);

    std::vector<std::pair<std::string, FakeEffectDescriptor*>> effects;
    std::string manufacturerName;
    std::vector<std::string> packageNames;
    uint32_t packageVersion = 0;
    FakePropertyMap* properties = nullptr;
    /** What registration hands back to the host. */
    FakePluginDefinition& definition;

    AAX_Result ReservedSlot3() override;
    AAX_Result ReservedSlot4() override;
    AAX_Result ReservedSlot5() override;
    AAX_Result ReservedSlot6() override;
    AAX_Result AddEffect (const char* effectID, IACFUnknown* effectDescriptor) override;
    AAX_Result SetManufacturerName (const char* name) override;
    AAX_Result AddPackageName (const char* name) override;
    AAX_Result SetPackageVersion (uint32_t version) override;
    AAX_Result SetProperties (IACFUnknown* propertyMap) override;

protected:
    void* interfaceFor (const acfIID& iid) override;
    ACFRESULT query (const acfIID& iid, void** out) override;
};

class FakeHostServices final : public Fake<AAX_IACFHostServices_V2>
{
public:
    using Fake::Fake;

    std::vector<std::pair<int32_t, std::string>> traces;

    AAX_Result Assert (const char* file, int32_t line, const char* note) override;
    AAX_Result Trace (int32_t priority, const char* message) override;
    AAX_Result StackTrace (int32_t traceLevel, int32_t stackTraceLevel, const char* message) override;

protected:
    void* interfaceFor (const acfIID& iid) override;
};

/** The root object: the host's component factory. */
class FakeRoot final : public Fake<IACFComponentFactory>
{
public:
    using Fake::Fake;

    ACFRESULT CreateInstance (const acfCLSID& clsid, IACFUnknown* outer, const acfIID& iid, void** out) override;

protected:
    void* interfaceFor (const acfIID& iid) override;
};

//==============================================================================
class FakeController final : public Fake<AAX_IACFController_V3>
{
public:
    using Fake::Fake;

    struct Packet
    {
        int32_t fieldIndex;
        std::vector<uint8_t> bytes;
    };

    float sampleRate = 44100.0f;
    AAX_EStemFormat inputStem = AAX_eStemFormat_Stereo;
    AAX_EStemFormat outputStem = AAX_eStemFormat_Stereo;
    std::string hostName = "Fake AAX Host";
    std::vector<Packet> packets;

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
    AAX_Result GetCurrentMeterValue (uint32_t meterID, float* outValue) const override;
    AAX_Result GetMeterPeakValue (uint32_t meterID, float* outValue) const override;
    AAX_Result ClearMeterPeakValue (uint32_t meterID) const override;
    AAX_Result GetMeterClipped (uint32_t meterID, AAX_CBoolean* outClipped) const override;
    AAX_Result ClearMeterClipped (uint32_t meterID) const override;
    AAX_Result GetMeterCount (uint32_t* outCount) const override;
    AAX_Result GetNextMIDIPacket (int32_t* outPort, AAX_CMidiPacket* outPacket) override;
    AAX_Result SendNotification (AAX_CTypeID type, const void* data, uint32_t size) override;
    AAX_Result GetHybridSignalLatency (int32_t* outSamples) const override;
    AAX_Result GetCurrentAutomationTimestamp (int64_t* outTimestamp) const override;
    AAX_Result GetHostName (AAX_IString* outName) const override;
    AAX_Result GetPlugInTargetPlatform (AAX_CTargetPlatform* outPlatform) const override;
    AAX_Result GetIsAudioSuite (AAX_CBoolean* outIsAudioSuite) const override;

protected:
    void* interfaceFor (const acfIID& iid) override;
};

class FakeAutomationDelegate final : public Fake<AAX_IACFAutomationDelegate>
{
public:
    using Fake::Fake;

    std::set<std::string> registered;

    /** Answers, as an asynchronous host does later, every set-value request
        queued so far, in order, and returns how many there were. */
    int pump (const std::function<void (const std::string& id, double normalized)>& answer);
    /** Set-value requests not yet answered. */
    size_t pendingRequests() const;

    AAX_Result RegisterParameter (AAX_CParamID id) override;
    AAX_Result UnregisterParameter (AAX_CParamID id) override;
    AAX_Result PostSetValueRequest (AAX_CParamID id, double normalized) const override;
    AAX_Result PostCurrentValue (AAX_CParamID id, double normalized) const override;
    AAX_Result PostTouchRequest (AAX_CParamID id) override;
    AAX_Result PostReleaseRequest (AAX_CParamID id) override;
    AAX_Result GetTouchState (AAX_CParamID id, AAX_CBoolean* outTouched) override;

protected:
    void* interfaceFor (const acfIID& iid) override;

private:
    mutable std::mutex queueLock;
    mutable std::vector<std::pair<std::string, double>> queuedRequests;
};

class FakeTransport final : public Fake<AAX_IACFTransport_V2>
{
public:
    using Fake::Fake;

    double tempo = 120.0;

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

protected:
    void* interfaceFor (const acfIID& iid) override;
};

class FakeViewContainer final : public Fake<AAX_IACFViewContainer_V2>
{
public:
    using Fake::Fake;

    int32_t type = AAX_eViewContainer_Type_Native;
    void* nativeView = nullptr;
    AAX_Point viewSize;

    int32_t GetType() override;
    void* GetPtr() override;
    AAX_Result GetModifiers (uint32_t* outModifiers) override;
    AAX_Result SetViewSize (AAX_Point& size) override;
    AAX_Result HandleParameterMouseDown (AAX_CParamID id, uint32_t modifiers) override;
    AAX_Result HandleParameterMouseDrag (AAX_CParamID id, uint32_t modifiers) override;
    AAX_Result HandleParameterMouseUp (AAX_CParamID id, uint32_t modifiers) override;
    AAX_Result HandleMultipleParametersMouseDown (const AAX_CParamID* ids, uint32_t count, uint32_t modifiers) override;
    AAX_Result HandleMultipleParametersMouseDrag (const AAX_CParamID* ids, uint32_t count, uint32_t modifiers) override;
    AAX_Result HandleMultipleParametersMouseUp (const AAX_CParamID* ids, uint32_t count, uint32_t modifiers) override;

protected:
    void* interfaceFor (const acfIID& iid) override;
};

/** The host object of one effect instance: answers the controller, automation
    delegate and transport versions with its own fakes, and the effect
    parameters interfaces with the instance's effect parameters object, when
    one is set. */
class FakeInstanceHost final : public Fake<IACFUnknown>
{
public:
    FakeInstanceHost (FakeHost& owner, std::string objectName);

    FakeController& controller;
    FakeAutomationDelegate& automation;
    FakeTransport& transport;
    /** The plug-in's effect parameters object, not counted here. */
    IACFUnknown* effectParameters = nullptr;

    /** Answers the queued set-value requests through the effect parameters'
        UpdateParameterNormalizedValue; returns how many. */
    int pump();

    ACFRESULT query (const acfIID& iid, void** out) override;

protected:
    void* interfaceFor (const acfIID& iid) override;
};

//==============================================================================
/** Owns every fake, the call log and the refusals. Fakes live as long as the
    host, so what they recorded can be read after the plug-in released them. */
class FakeHost
{
public:
    FakeHost();
    ~FakeHost();

    FakeHost (const FakeHost&) = delete;
    FakeHost& operator= (const FakeHost&) = delete;

    /** The root object, handed to ACFStartup and ACFRegisterPlugin. */
    IACFUnknown* root()  { return rootObject.unknown(); }

    /** A new instance host, handed to the effect parameters' and GUI's Initialize. */
    FakeInstanceHost& newInstanceHost();
    /** A new view container, handed to the GUI's SetViewContainer. */
    FakeViewContainer& newViewContainer();

    /** Every query for iid, and every creation asking for it, fails from now on. */
    void refuse (const acfIID& iid);
    /** Every query for iid, and every creation asking for it, is answered as how says from now on. */
    void withhold (const acfIID& iid, Withholding how);
    /** How queries for iid are answered. */
    Withholding withholdingOf (const acfIID& iid) const;
    /** Every creation of clsid fails from now on. */
    void refuseClass (const acfCLSID& clsid);
    bool refuses (const acfIID& iid) const;
    bool refusesClass (const acfCLSID& clsid) const;

    /** The log of calls, "collection.AddPackageName(QR7150)". */
    std::vector<std::string> calls() const;
    /** The calls whose text starts with prefix. */
    std::vector<std::string> callsStartingWith (const std::string& prefix) const;
    void clearCalls();
    void record (std::string call);

    /** References handed to the plug-in and not yet released, over all fakes. */
    int outstandingReferences() const;
    /** Releases beyond the references handed out, over all fakes. */
    int overReleases() const;
    /** "name: n" for every fake with references outstanding. */
    std::string outstandingReport() const;

    /** The fake behind a pointer that the host handed out, or null. */
    FakeObject* find (const IACFUnknown* unknown) const;
    /** Every fake of type T, in creation order. */
    template <class T>
    std::vector<T*> all() const;

    /** The host services, created on first request. */
    FakeHostServices& hostServices();

    /** Creates a fake of type T named after its kind and running number. */
    template <class T>
    T& make (const std::string& kind);

private:
    mutable std::recursive_mutex lock;
    std::vector<std::unique_ptr<FakeObject>> objects;
    std::map<const IACFUnknown*, FakeObject*> byUnknown;
    std::map<std::string, int> counters;
    std::vector<std::string> log;
    std::vector<std::pair<acfIID, Withholding>> withheldInterfaces;
    std::vector<acfCLSID> refusedClasses;
    FakeRoot& rootObject;
    FakeHostServices* services = nullptr;
};

//==============================================================================
std::string describeText (const char* text);
std::string describeUnknown (const FakeHost& host, const IACFUnknown* unknown);
std::string describePointer (const void* pointer);
/** The shortest text that reads back as the same double. */
std::string describeNumber (double value);

/** Text of one recorded argument: texts as they are, fakes by name, numbers exactly. */
template <class T>
std::string describeArgument (const FakeHost& host, const T& value)
{
    if constexpr (std::is_convertible_v<T, const char*>)
        return describeText (value);
    else if constexpr (std::is_convertible_v<T, const IACFUnknown*>)
        return describeUnknown (host, value);
    else if constexpr (std::is_pointer_v<T>)
        return describePointer (value);
    else if constexpr (std::is_floating_point_v<T>)
        return describeNumber (static_cast<double> (value));
    else if constexpr (std::is_enum_v<T> || std::is_signed_v<T>)
        return std::to_string (static_cast<long long> (value));
    else
        return std::to_string (static_cast<unsigned long long> (value));
}

template <class... Arguments>
void FakeObject::record (const char* operation, const Arguments&... arguments) const
{
    std::string text = objectName + "." + operation + "(";
    std::string separator;
    ((text += separator + describeArgument (host, arguments), separator = ", "), ...);
    host.record (text + ")");
}

template <class T>
std::vector<T*> FakeHost::all() const
{
    const std::lock_guard<std::recursive_mutex> guard (lock);
    std::vector<T*> found;

    for (const auto& object : objects)
        if (auto* typed = dynamic_cast<T*> (object.get()))
            found.push_back (typed);

    return found;
}

template <class T>
T& FakeHost::make (const std::string& kind)
{
    const std::lock_guard<std::recursive_mutex> guard (lock);
    auto object = std::make_unique<T> (*this, kind + std::to_string (++counters[kind]));
    auto& result = *object;
    byUnknown[result.unknown()] = object.get();
    objects.push_back (std::move (object));
    return result;
}
