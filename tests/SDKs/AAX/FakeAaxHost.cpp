#include "FakeAaxHost.h"

#include "AAX_IACFEffectParameters.h"
#include "AAX_IString.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace
{
    struct NamedIdentifier
    {
        const acfUID& id;
        const char* name;
    };

    const NamedIdentifier knownIdentifiers[] {
        { IID_IACFUnknown, "IID_IACFUnknown" },
        { IID_IACFPluginDefinition, "IID_IACFPluginDefinition" },
        { IID_IAAXEffectParametersV1, "IID_IAAXEffectParametersV1" },
        { IID_IAAXEffectParametersV2, "IID_IAAXEffectParametersV2" },
        { IID_IAAXEffectParametersV3, "IID_IAAXEffectParametersV3" },
        { IID_IAAXEffectGUIV1, "IID_IAAXEffectGUIV1" },
        { IID_IACFComponentFactory, "IID_IACFComponentFactory" },
        { AAXCompID_HostServices, "AAXCompID_HostServices" },
        { IID_IAAXHostServicesV1, "IID_IAAXHostServicesV1" },
        { IID_IAAXHostServicesV2, "IID_IAAXHostServicesV2" },
        { AAXCompID_AAXCollection, "AAXCompID_AAXCollection" },
        { IID_IAAXCollectionV1, "IID_IAAXCollectionV1" },
        { AAXCompID_AAXEffectDescriptor, "AAXCompID_AAXEffectDescriptor" },
        { IID_IAAXEffectDescriptorV1, "IID_IAAXEffectDescriptorV1" },
        { IID_IAAXEffectDescriptorV2, "IID_IAAXEffectDescriptorV2" },
        { AAXCompID_AAXComponentDescriptor, "AAXCompID_AAXComponentDescriptor" },
        { IID_IAAXComponentDescriptorV1, "IID_IAAXComponentDescriptorV1" },
        { IID_IAAXComponentDescriptorV2, "IID_IAAXComponentDescriptorV2" },
        { AAXCompID_AAXPropertyMap, "AAXCompID_AAXPropertyMap" },
        { IID_IAAXPropertyMapV1, "IID_IAAXPropertyMapV1" },
        { IID_IAAXPropertyMapV2, "IID_IAAXPropertyMapV2" },
        { IID_IAAXControllerV1, "IID_IAAXControllerV1" },
        { IID_IAAXControllerV2, "IID_IAAXControllerV2" },
        { IID_IAAXControllerV3, "IID_IAAXControllerV3" },
        { IID_IAAXAutomationDelegateV1, "IID_IAAXAutomationDelegateV1" },
        { IID_IAAXTransportV1, "IID_IAAXTransportV1" },
        { IID_IAAXTransportV2, "IID_IAAXTransportV2" },
        { IID_IAAXViewContainerV1, "IID_IAAXViewContainerV1" },
        { IID_IAAXViewContainerV2, "IID_IAAXViewContainerV2" },
    };

    template <class Identifiers>
    bool contains (const Identifiers& ids, const acfUID& id)
    {
        return std::find (std::begin (ids), std::end (ids), id) != std::end (ids);
    }

    bool isOneOf (const acfIID& iid, std::initializer_list<acfIID> ids)
    {
        return contains (ids, iid);
    }

    /** The fake's interface when iid is one of ids. */
    void* answerIf (const acfIID& iid, std::initializer_list<acfIID> ids, void* face)
    {
        return isOneOf (iid, ids) ? face : nullptr;
    }
}

std::string identifierName (const acfUID& id)
{
    for (const auto& known : knownIdentifiers)
        if (known.id == id)
            return known.name;

    char text[40];
    std::snprintf (text, sizeof (text), "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                   id.Data1, id.Data2, id.Data3, id.Data4[0], id.Data4[1], id.Data4[2], id.Data4[3],
                   id.Data4[4], id.Data4[5], id.Data4[6], id.Data4[7]);
    return text;
}

std::string describeText (const char* text)
{
    return text != nullptr ? text : "null";
}

std::string describeUnknown (const FakeHost& host, const IACFUnknown* unknown)
{
    if (unknown == nullptr)
        return "null";

    if (const auto* fake = host.find (unknown))
        return fake->name();

    return "foreign";
}

std::string describePointer (const void* pointer)
{
    return pointer != nullptr ? "ptr" : "null";
}

std::string describeNumber (double value)
{
    char text[32];

    for (int digits = 1; digits <= 17; ++digits)
    {
        std::snprintf (text, sizeof (text), "%.*g", digits, value);

        if (std::strtod (text, nullptr) == value)
            break;
    }

    return text;
}

//==============================================================================
FakeObject::FakeObject (FakeHost& owner, std::string name)
    : host (owner), objectName (std::move (name))
{
}

ACFRESULT FakeObject::query (const acfIID& iid, void** out)
{
    return answerQuery (iid, interfaceFor (iid), out);
}

ACFRESULT FakeObject::answerQuery (const acfIID& iid, void* face, void** out)
{
    *out = nullptr;
    const auto how = face != nullptr ? host.withholdingOf (iid) : Withholding::refusal;
    static const char* const notes[] { ")", ") refused", ") refused with a pointer", ") granted with null" };
    host.record (objectName + ".QueryInterface(" + identifierName (iid) + notes[static_cast<int> (how)]);

    switch (how)
    {
        case Withholding::none:             *out = face; addRef(); return ACF_OK;
        case Withholding::errorWithPointer: *out = face; return ACF_E_NOINTERFACE;
        case Withholding::successWithNull:  return ACF_OK;
        case Withholding::refusal:          break;
    }

    return ACF_E_NOINTERFACE;
}

uint32_t FakeObject::addRef()
{
    return static_cast<uint32_t> (++handedOut - released.load());
}

uint32_t FakeObject::release()
{
    if (released.load() >= handedOut.load())
    {
        ++overReleased;
        return 0;
    }

    return static_cast<uint32_t> (handedOut.load() - ++released);
}

//==============================================================================
void* FakePluginDefinition::interfaceFor (const acfIID& iid)
{
    return answerIf (iid, { IID_IACFUnknown, IID_IACFPluginDefinition }, static_cast<IACFPluginDefinition*> (this));
}

//==============================================================================
AAX_CBoolean FakePropertyMap::GetProperty (AAX_EProperty property, AAX_CPropertyValue* out) const
{
    record ("GetProperty", property);
    const auto found = properties.find (property);

    if (found == properties.end())
        return 0;

    *out = found->second;
    return 1;
}

AAX_Result FakePropertyMap::AddProperty (AAX_EProperty property, AAX_CPropertyValue value)
{
    record ("AddProperty", property, value);
    properties[property] = value;
    return answer;
}

AAX_Result FakePropertyMap::RemoveProperty (AAX_EProperty property)
{
    record ("RemoveProperty", property);
    properties.erase (property);
    return answer;
}

AAX_Result FakePropertyMap::AddPropertyWithIDArray (AAX_EProperty property, const AAX_SPlugInIdentifierTriad* pluginIDs,
                                                    uint32_t count)
{
    record ("AddPropertyWithIDArray", property, count);
    idArrays[property].assign (pluginIDs, pluginIDs + count);
    return answer;
}

AAX_CBoolean FakePropertyMap::GetPropertyWithIDArray (AAX_EProperty property,
                                                      const AAX_SPlugInIdentifierTriad** outPluginIDs,
                                                      uint32_t* outCount) const
{
    record ("GetPropertyWithIDArray", property);
    const auto found = idArrays.find (property);

    if (found == idArrays.end())
        return 0;

    *outPluginIDs = found->second.data();
    *outCount = static_cast<uint32_t> (found->second.size());
    return 1;
}

void* FakePropertyMap::interfaceFor (const acfIID& iid)
{
    return answerIf (iid, { IID_IACFUnknown, IID_IAAXPropertyMapV1, IID_IAAXPropertyMapV2 },
                     static_cast<AAX_IACFPropertyMap_V2*> (this));
}

//==============================================================================
template <class... Arguments>
AAX_Result FakeComponentDescriptor::describe (const char* operation, const Arguments&... arguments)
{
    record (operation, arguments...);
    std::string text = std::string (operation) + "(";
    std::string separator;
    ((text += separator + describeArgument (host, arguments), separator = ", "), ...);
    calls.push_back (text + ")");
    return answer;
}

AAX_Result FakeComponentDescriptor::Clear()  { return describe ("Clear"); }
AAX_Result FakeComponentDescriptor::AddReservedField (AAX_CFieldIndex field, uint32_t fieldType)  { return describe ("AddReservedField", field, fieldType); }
AAX_Result FakeComponentDescriptor::AddAudioIn (AAX_CFieldIndex field)  { return describe ("AddAudioIn", field); }
AAX_Result FakeComponentDescriptor::AddAudioOut (AAX_CFieldIndex field)  { return describe ("AddAudioOut", field); }
AAX_Result FakeComponentDescriptor::AddAudioBufferLength (AAX_CFieldIndex field)  { return describe ("AddAudioBufferLength", field); }
AAX_Result FakeComponentDescriptor::AddSampleRate (AAX_CFieldIndex field)  { return describe ("AddSampleRate", field); }
AAX_Result FakeComponentDescriptor::AddClock (AAX_CFieldIndex field)  { return describe ("AddClock", field); }
AAX_Result FakeComponentDescriptor::AddSideChainIn (AAX_CFieldIndex field)  { return describe ("AddSideChainIn", field); }

AAX_Result FakeComponentDescriptor::AddDataInPort (AAX_CFieldIndex field, uint32_t packetSize, AAX_EDataInPortType type)
{
    return describe ("AddDataInPort", field, packetSize, type);
}

AAX_Result FakeComponentDescriptor::AddAuxOutputStem (AAX_CFieldIndex field, int32_t stemFormat, const char* name)
{
    return describe ("AddAuxOutputStem", field, stemFormat, name);
}

AAX_Result FakeComponentDescriptor::AddPrivateData (AAX_CFieldIndex field, int32_t dataSize, uint32_t options)
{
    return describe ("AddPrivateData", field, dataSize, options);
}

AAX_Result FakeComponentDescriptor::AddDmaInstance (AAX_CFieldIndex field, AAX_IDma::EMode mode)
{
    return describe ("AddDmaInstance", field, mode);
}

AAX_Result FakeComponentDescriptor::AddMIDINode (AAX_CFieldIndex field, AAX_EMIDINodeType type, const char* name,
                                                 uint32_t channelMask)
{
    return describe ("AddMIDINode", field, type, name, channelMask);
}

AAX_Result FakeComponentDescriptor::AddProcessProc_Native (AAX_CProcessProc proc, IACFUnknown* properties,
                                                           AAX_CInstanceInitProc init, AAX_CBackgroundProc background,
                                                           AAX_CSelector* outProcID)
{
    processProc = proc;
    processProcProperties = dynamic_cast<FakePropertyMap*> (host.find (properties));
    return describe ("AddProcessProc_Native", reinterpret_cast<void*> (proc), properties,
                     reinterpret_cast<void*> (init), reinterpret_cast<void*> (background), outProcID);
}

AAX_Result FakeComponentDescriptor::AddProcessProc_TI (const char* dllFileName, const char* processProcSymbol,
                                                       IACFUnknown* properties, const char* instanceInitProcSymbol,
                                                       const char* backgroundProcSymbol, AAX_CSelector* outProcID)
{
    return describe ("AddProcessProc_TI", dllFileName, processProcSymbol, properties, instanceInitProcSymbol,
                     backgroundProcSymbol, outProcID);
}

AAX_Result FakeComponentDescriptor::AddMeters (AAX_CFieldIndex field, const AAX_CTypeID* meterIDs, uint32_t meterCount)
{
    return describe ("AddMeters", field, meterIDs, meterCount);
}

AAX_Result FakeComponentDescriptor::AddTemporaryData (AAX_CFieldIndex field, uint32_t dataElementSize)
{
    return describe ("AddTemporaryData", field, dataElementSize);
}

void* FakeComponentDescriptor::interfaceFor (const acfIID& iid)
{
    return answerIf (iid, { IID_IACFUnknown, IID_IAAXComponentDescriptorV1, IID_IAAXComponentDescriptorV2 },
                     static_cast<AAX_IACFComponentDescriptor_V2*> (this));
}

//==============================================================================
AAX_Result FakeEffectDescriptor::AddComponent (IACFUnknown* componentDescriptor)
{
    record ("AddComponent", componentDescriptor);
    components.push_back (dynamic_cast<FakeComponentDescriptor*> (host.find (componentDescriptor)));
    return answer;
}

AAX_Result FakeEffectDescriptor::AddName (const char* name)
{
    record ("AddName", name);
    names.emplace_back (name);
    return answer;
}

AAX_Result FakeEffectDescriptor::AddCategory (uint32_t category)
{
    record ("AddCategory", category);
    categories.push_back (category);
    return answer;
}

AAX_Result FakeEffectDescriptor::AddCategoryBypassParameter (uint32_t category, AAX_CParamID id)
{
    record ("AddCategoryBypassParameter", category, id);
    return answer;
}

AAX_Result FakeEffectDescriptor::AddProcPtr (void* procedure, AAX_CProcPtrID procID)
{
    record ("AddProcPtr", procedure, procID);
    procedures.emplace_back (procID, procedure);
    return answer;
}

AAX_Result FakeEffectDescriptor::SetProperties (IACFUnknown* propertyMap)
{
    record ("SetProperties", propertyMap);
    properties = dynamic_cast<FakePropertyMap*> (host.find (propertyMap));
    return answer;
}

AAX_Result FakeEffectDescriptor::AddResourceInfo (AAX_EResourceType type, const char* info)
{
    record ("AddResourceInfo", type, info);
    return answer;
}

AAX_Result FakeEffectDescriptor::AddMeterDescription (AAX_CTypeID meterID, const char* name, IACFUnknown* propertyMap)
{
    record ("AddMeterDescription", meterID, name, propertyMap);
    return answer;
}

AAX_Result FakeEffectDescriptor::AddControlMIDINode (AAX_CTypeID nodeID, AAX_EMIDINodeType type, const char* name,
                                                     uint32_t channelMask)
{
    record ("AddControlMIDINode", nodeID, type, name, channelMask);
    return answer;
}

void* FakeEffectDescriptor::interfaceFor (const acfIID& iid)
{
    return answerIf (iid, { IID_IACFUnknown, IID_IAAXEffectDescriptorV1, IID_IAAXEffectDescriptorV2 },
                     static_cast<AAX_IACFEffectDescriptor_V2*> (this));
}

//==============================================================================
FakeCollection::FakeCollection (FakeHost& owner, std::string name)
    : Fake (owner, std::move (name)),
      definition (owner.make<FakePluginDefinition> ("definition"))
{
}

AAX_Result FakeCollection::ReservedSlot3()  { record ("ReservedSlot3"); return AAX_ERROR_UNIMPLEMENTED; }
AAX_Result FakeCollection::ReservedSlot4()  { record ("ReservedSlot4"); return AAX_ERROR_UNIMPLEMENTED; }
AAX_Result FakeCollection::ReservedSlot5()  { record ("ReservedSlot5"); return AAX_ERROR_UNIMPLEMENTED; }
AAX_Result FakeCollection::ReservedSlot6()  { record ("ReservedSlot6"); return AAX_ERROR_UNIMPLEMENTED; }

AAX_Result FakeCollection::AddEffect (const char* effectID, IACFUnknown* effectDescriptor)
{
    record ("AddEffect", effectID, effectDescriptor);
    effects.emplace_back (effectID, dynamic_cast<FakeEffectDescriptor*> (host.find (effectDescriptor)));
    return answer;
}

AAX_Result FakeCollection::SetManufacturerName (const char* name)
{
    record ("SetManufacturerName", name);
    manufacturerName = name;
    return answer;
}

AAX_Result FakeCollection::AddPackageName (const char* name)
{
    record ("AddPackageName", name);
    packageNames.emplace_back (name);
    return answer;
}

AAX_Result FakeCollection::SetPackageVersion (uint32_t version)
{
    record ("SetPackageVersion", version);
    packageVersion = version;
    return answer;
}

AAX_Result FakeCollection::SetProperties (IACFUnknown* propertyMap)
{
    record ("SetProperties", propertyMap);
    properties = dynamic_cast<FakePropertyMap*> (host.find (propertyMap));
    return answer;
}

void* FakeCollection::interfaceFor (const acfIID& iid)
{
    return answerIf (iid, { IID_IACFUnknown, IID_IAAXCollectionV1 }, static_cast<AAX_IACFCollection*> (this));
}

ACFRESULT FakeCollection::query (const acfIID& iid, void** out)
{
    // The plug-in definition is an object of its own that the collection hands out.
    if (iid == IID_IACFPluginDefinition && ! host.refuses (iid))
    {
        record ("QueryInterface", identifierName (iid).c_str());
        return definition.query (iid, out);
    }

    return FakeObject::query (iid, out);
}

//==============================================================================
AAX_Result FakeHostServices::Assert (const char* file, int32_t line, const char* note)
{
    record ("Assert", file, line, note);
    return answer;
}

AAX_Result FakeHostServices::Trace (int32_t priority, const char* message)
{
    record ("Trace", priority, message);
    traces.emplace_back (priority, message);
    return answer;
}

AAX_Result FakeHostServices::StackTrace (int32_t traceLevel, int32_t stackTraceLevel, const char* message)
{
    record ("StackTrace", traceLevel, stackTraceLevel, message);
    return answer;
}

void* FakeHostServices::interfaceFor (const acfIID& iid)
{
    return answerIf (iid, { IID_IACFUnknown, IID_IAAXHostServicesV1, IID_IAAXHostServicesV2 },
                     static_cast<AAX_IACFHostServices_V2*> (this));
}

//==============================================================================
ACFRESULT FakeRoot::CreateInstance (const acfCLSID& clsid, IACFUnknown* outer, const acfIID& iid, void** out)
{
    *out = nullptr;
    record ("CreateInstance", identifierName (clsid).c_str(), outer, identifierName (iid).c_str());

    if (host.refusesClass (clsid))
        return ACF_E_NOINTERFACE;

    FakeObject* created = nullptr;

    if (clsid == AAXCompID_AAXCollection)
        created = &host.make<FakeCollection> ("collection");
    else if (clsid == AAXCompID_AAXEffectDescriptor)
        created = &host.make<FakeEffectDescriptor> ("effect");
    else if (clsid == AAXCompID_AAXComponentDescriptor)
        created = &host.make<FakeComponentDescriptor> ("component");
    else if (clsid == AAXCompID_AAXPropertyMap)
        created = &host.make<FakePropertyMap> ("map");
    else if (clsid == AAXCompID_HostServices)
        created = &host.hostServices();

    return created != nullptr ? created->query (iid, out) : ACF_E_NOINTERFACE;
}

void* FakeRoot::interfaceFor (const acfIID& iid)
{
    return answerIf (iid, { IID_IACFUnknown, IID_IACFComponentFactory }, static_cast<IACFComponentFactory*> (this));
}

//==============================================================================
AAX_Result FakeController::GetEffectID (AAX_IString* outEffectID) const
{
    record ("GetEffectID", outEffectID);
    outEffectID->Set ("com.velora.ModulixQR7150");
    return answer;
}

AAX_Result FakeController::GetSampleRate (float* outSampleRate) const
{
    record ("GetSampleRate", outSampleRate);
    *outSampleRate = sampleRate;
    return answer;
}

AAX_Result FakeController::GetInputStemFormat (AAX_EStemFormat* outFormat) const
{
    record ("GetInputStemFormat", outFormat);
    *outFormat = inputStem;
    return answer;
}

AAX_Result FakeController::GetOutputStemFormat (AAX_EStemFormat* outFormat) const
{
    record ("GetOutputStemFormat", outFormat);
    *outFormat = outputStem;
    return answer;
}

AAX_Result FakeController::GetSignalLatency (int32_t* outSamples) const
{
    record ("GetSignalLatency", outSamples);
    *outSamples = 0;
    return answer;
}

AAX_Result FakeController::GetCycleCount (AAX_EProperty which, int32_t* outCycles) const
{
    record ("GetCycleCount", which, outCycles);
    *outCycles = 0;
    return answer;
}

AAX_Result FakeController::GetTODLocation (int64_t* outLocation) const
{
    record ("GetTODLocation", outLocation);
    *outLocation = 0;
    return answer;
}

AAX_Result FakeController::SetSignalLatency (int32_t samples)
{
    record ("SetSignalLatency", samples);
    return answer;
}

AAX_Result FakeController::SetCycleCount (AAX_EProperty* which, int32_t* cycles, int32_t count)
{
    record ("SetCycleCount", which, cycles, count);
    return answer;
}

AAX_Result FakeController::PostPacket (int32_t fieldIndex, const void* payload, uint32_t size)
{
    record ("PostPacket", fieldIndex, payload, size);
    const auto* bytes = static_cast<const uint8_t*> (payload);
    packets.push_back ({ fieldIndex, std::vector<uint8_t> (bytes, bytes + size) });
    return answer;
}

AAX_Result FakeController::GetCurrentMeterValue (uint32_t meterID, float* outValue) const
{
    record ("GetCurrentMeterValue", meterID, outValue);
    return answer;
}

AAX_Result FakeController::GetMeterPeakValue (uint32_t meterID, float* outValue) const
{
    record ("GetMeterPeakValue", meterID, outValue);
    return answer;
}

AAX_Result FakeController::ClearMeterPeakValue (uint32_t meterID) const
{
    record ("ClearMeterPeakValue", meterID);
    return answer;
}

AAX_Result FakeController::GetMeterClipped (uint32_t meterID, AAX_CBoolean* outClipped) const
{
    record ("GetMeterClipped", meterID, outClipped);
    return answer;
}

AAX_Result FakeController::ClearMeterClipped (uint32_t meterID) const
{
    record ("ClearMeterClipped", meterID);
    return answer;
}

AAX_Result FakeController::GetMeterCount (uint32_t* outCount) const
{
    record ("GetMeterCount", outCount);
    *outCount = 0;
    return answer;
}

AAX_Result FakeController::GetNextMIDIPacket (int32_t* outPort, AAX_CMidiPacket* outPacket)
{
    record ("GetNextMIDIPacket", outPort, outPacket);
    return answer;
}

AAX_Result FakeController::SendNotification (AAX_CTypeID type, const void* data, uint32_t size)
{
    record ("SendNotification", type, data, size);
    return answer;
}

AAX_Result FakeController::GetHybridSignalLatency (int32_t* outSamples) const
{
    record ("GetHybridSignalLatency", outSamples);
    *outSamples = 0;
    return answer;
}

AAX_Result FakeController::GetCurrentAutomationTimestamp (int64_t* outTimestamp) const
{
    record ("GetCurrentAutomationTimestamp", outTimestamp);
    *outTimestamp = 1234;
    return answer;
}

AAX_Result FakeController::GetHostName (AAX_IString* outName) const
{
    record ("GetHostName", outName);
    outName->Set (hostName.c_str());
    return answer;
}

AAX_Result FakeController::GetPlugInTargetPlatform (AAX_CTargetPlatform* outPlatform) const
{
    record ("GetPlugInTargetPlatform", outPlatform);
    *outPlatform = 0;
    return answer;
}

AAX_Result FakeController::GetIsAudioSuite (AAX_CBoolean* outIsAudioSuite) const
{
    record ("GetIsAudioSuite", outIsAudioSuite);
    *outIsAudioSuite = 0;
    return answer;
}

void* FakeController::interfaceFor (const acfIID& iid)
{
    return answerIf (iid, { IID_IACFUnknown, IID_IAAXControllerV1, IID_IAAXControllerV2, IID_IAAXControllerV3 },
                     static_cast<AAX_IACFController_V3*> (this));
}

//==============================================================================
AAX_Result FakeAutomationDelegate::RegisterParameter (AAX_CParamID id)
{
    record ("RegisterParameter", id);
    registered.insert (id);
    return answer;
}

AAX_Result FakeAutomationDelegate::UnregisterParameter (AAX_CParamID id)
{
    record ("UnregisterParameter", id);
    registered.erase (id);
    return answer;
}

AAX_Result FakeAutomationDelegate::PostSetValueRequest (AAX_CParamID id, double normalized) const
{
    record ("PostSetValueRequest", id, normalized);
    const std::lock_guard<std::mutex> guard (queueLock);
    queuedRequests.emplace_back (id, normalized);
    return answer;
}

int FakeAutomationDelegate::pump (const std::function<void (const std::string&, double)>& answerRequest)
{
    std::vector<std::pair<std::string, double>> requests;

    {
        const std::lock_guard<std::mutex> guard (queueLock);
        requests.swap (queuedRequests);
    }

    for (const auto& [id, normalized] : requests)
        answerRequest (id, normalized);

    return static_cast<int> (requests.size());
}

size_t FakeAutomationDelegate::pendingRequests() const
{
    const std::lock_guard<std::mutex> guard (queueLock);
    return queuedRequests.size();
}

AAX_Result FakeAutomationDelegate::PostCurrentValue (AAX_CParamID id, double normalized) const
{
    record ("PostCurrentValue", id, normalized);
    return answer;
}

AAX_Result FakeAutomationDelegate::PostTouchRequest (AAX_CParamID id)
{
    record ("PostTouchRequest", id);
    return answer;
}

AAX_Result FakeAutomationDelegate::PostReleaseRequest (AAX_CParamID id)
{
    record ("PostReleaseRequest", id);
    return answer;
}

AAX_Result FakeAutomationDelegate::GetTouchState (AAX_CParamID id, AAX_CBoolean* outTouched)
{
    record ("GetTouchState", id, outTouched);
    *outTouched = 0;
    return answer;
}

void* FakeAutomationDelegate::interfaceFor (const acfIID& iid)
{
    return answerIf (iid, { IID_IACFUnknown, IID_IAAXAutomationDelegateV1 },
                     static_cast<AAX_IACFAutomationDelegate*> (this));
}

//==============================================================================
AAX_Result FakeTransport::GetCurrentTempo (double* outTempo) const
{
    record ("GetCurrentTempo", outTempo);
    *outTempo = tempo;
    return answer;
}

AAX_Result FakeTransport::GetCurrentMeter (int32_t* outNumerator, int32_t* outDenominator) const
{
    record ("GetCurrentMeter", outNumerator, outDenominator);
    *outNumerator = 4;
    *outDenominator = 4;
    return answer;
}

AAX_Result FakeTransport::IsTransportPlaying (bool* outPlaying) const
{
    record ("IsTransportPlaying", outPlaying);
    *outPlaying = false;
    return answer;
}

AAX_Result FakeTransport::GetCurrentTickPosition (int64_t* outTicks) const
{
    record ("GetCurrentTickPosition", outTicks);
    *outTicks = 0;
    return answer;
}

AAX_Result FakeTransport::GetCurrentLoopPosition (bool* outLooping, int64_t* outLoopStartTick,
                                                  int64_t* outLoopEndTick) const
{
    record ("GetCurrentLoopPosition", outLooping, outLoopStartTick, outLoopEndTick);
    return answer;
}

AAX_Result FakeTransport::GetCurrentNativeSampleLocation (int64_t* outSample) const
{
    record ("GetCurrentNativeSampleLocation", outSample);
    return answer;
}

AAX_Result FakeTransport::GetCustomTickPosition (int64_t* outTicks, int64_t sampleLocation) const
{
    record ("GetCustomTickPosition", outTicks, sampleLocation);
    return answer;
}

AAX_Result FakeTransport::GetBarBeatPosition (int32_t* outBars, int32_t* outBeats, int64_t* outDisplayTicks,
                                              int64_t sampleLocation) const
{
    record ("GetBarBeatPosition", outBars, outBeats, outDisplayTicks, sampleLocation);
    return answer;
}

AAX_Result FakeTransport::GetTicksPerQuarter (uint32_t* outTicks) const
{
    record ("GetTicksPerQuarter", outTicks);
    return answer;
}

AAX_Result FakeTransport::GetCurrentTicksPerBeat (uint32_t* outTicks) const
{
    record ("GetCurrentTicksPerBeat", outTicks);
    return answer;
}

AAX_Result FakeTransport::GetTimelineSelectionStartPosition (int64_t* outSample) const
{
    record ("GetTimelineSelectionStartPosition", outSample);
    return answer;
}

AAX_Result FakeTransport::GetTimeCodeInfo (AAX_EFrameRate* outRate, int32_t* outOffset) const
{
    record ("GetTimeCodeInfo", outRate, outOffset);
    return answer;
}

AAX_Result FakeTransport::GetFeetFramesInfo (AAX_EFeetFramesRate* outRate, int64_t* outOffset) const
{
    record ("GetFeetFramesInfo", outRate, outOffset);
    return answer;
}

AAX_Result FakeTransport::IsMetronomeEnabled (int32_t* outEnabled) const
{
    record ("IsMetronomeEnabled", outEnabled);
    return answer;
}

void* FakeTransport::interfaceFor (const acfIID& iid)
{
    return answerIf (iid, { IID_IACFUnknown, IID_IAAXTransportV1, IID_IAAXTransportV2 },
                     static_cast<AAX_IACFTransport_V2*> (this));
}

//==============================================================================
int32_t FakeViewContainer::GetType()
{
    record ("GetType");
    return type;
}

void* FakeViewContainer::GetPtr()
{
    record ("GetPtr");
    return nativeView;
}

AAX_Result FakeViewContainer::GetModifiers (uint32_t* outModifiers)
{
    record ("GetModifiers", outModifiers);
    *outModifiers = 0;
    return answer;
}

AAX_Result FakeViewContainer::SetViewSize (AAX_Point& size)
{
    record ("SetViewSize", size.horz, size.vert);
    viewSize = size;
    return answer;
}

AAX_Result FakeViewContainer::HandleParameterMouseDown (AAX_CParamID id, uint32_t modifiers)
{
    record ("HandleParameterMouseDown", id, modifiers);
    return answer;
}

AAX_Result FakeViewContainer::HandleParameterMouseDrag (AAX_CParamID id, uint32_t modifiers)
{
    record ("HandleParameterMouseDrag", id, modifiers);
    return answer;
}

AAX_Result FakeViewContainer::HandleParameterMouseUp (AAX_CParamID id, uint32_t modifiers)
{
    record ("HandleParameterMouseUp", id, modifiers);
    return answer;
}

AAX_Result FakeViewContainer::HandleMultipleParametersMouseDown (const AAX_CParamID* ids, uint32_t count,
                                                                 uint32_t modifiers)
{
    record ("HandleMultipleParametersMouseDown", ids, count, modifiers);
    return answer;
}

AAX_Result FakeViewContainer::HandleMultipleParametersMouseDrag (const AAX_CParamID* ids, uint32_t count,
                                                                 uint32_t modifiers)
{
    record ("HandleMultipleParametersMouseDrag", ids, count, modifiers);
    return answer;
}

AAX_Result FakeViewContainer::HandleMultipleParametersMouseUp (const AAX_CParamID* ids, uint32_t count,
                                                               uint32_t modifiers)
{
    record ("HandleMultipleParametersMouseUp", ids, count, modifiers);
    return answer;
}

void* FakeViewContainer::interfaceFor (const acfIID& iid)
{
    return answerIf (iid, { IID_IACFUnknown, IID_IAAXViewContainerV1, IID_IAAXViewContainerV2 },
                     static_cast<AAX_IACFViewContainer_V2*> (this));
}

//==============================================================================
FakeInstanceHost::FakeInstanceHost (FakeHost& owner, std::string name)
    : Fake (owner, std::move (name)),
      controller (owner.make<FakeController> ("controller")),
      automation (owner.make<FakeAutomationDelegate> ("automation")),
      transport (owner.make<FakeTransport> ("transport"))
{
}

ACFRESULT FakeInstanceHost::query (const acfIID& iid, void** out)
{
    *out = nullptr;
    FakeObject* answering = nullptr;

    if (isOneOf (iid, { IID_IAAXControllerV1, IID_IAAXControllerV2, IID_IAAXControllerV3 }))
        answering = &controller;
    else if (iid == IID_IAAXAutomationDelegateV1)
        answering = &automation;
    else if (isOneOf (iid, { IID_IAAXTransportV1, IID_IAAXTransportV2 }))
        answering = &transport;

    if (answering != nullptr)
    {
        record ("QueryInterface", identifierName (iid).c_str());
        return answering->query (iid, out);
    }

    if (effectParameters != nullptr
        && isOneOf (iid, { IID_IAAXEffectParametersV1, IID_IAAXEffectParametersV2, IID_IAAXEffectParametersV3 }))
    {
        record ("QueryInterface", identifierName (iid).c_str());

        // The effect parameters object answers for itself, unless the host withholds it.
        switch (host.withholdingOf (iid))
        {
            case Withholding::none:             return effectParameters->QueryInterface (iid, out);
            case Withholding::errorWithPointer: *out = effectParameters; return ACF_E_NOINTERFACE;
            case Withholding::successWithNull:  *out = nullptr; return ACF_OK;
            case Withholding::refusal:          break;
        }
    }

    return FakeObject::query (iid, out);
}

int FakeInstanceHost::pump()
{
    void* parameters = nullptr;

    if (effectParameters == nullptr || effectParameters->QueryInterface (IID_IAAXEffectParametersV1, &parameters) != ACF_OK)
        return 0;

    auto* target = static_cast<AAX_IACFEffectParameters*> (parameters);
    const auto answered = automation.pump ([target] (const std::string& id, double normalized)
    {
        target->UpdateParameterNormalizedValue (id.c_str(), normalized, AAX_eUpdateSource_Unspecified);
    });

    target->Release();
    return answered;
}

void* FakeInstanceHost::interfaceFor (const acfIID& iid)
{
    return answerIf (iid, { IID_IACFUnknown }, static_cast<IACFUnknown*> (this));
}

//==============================================================================
FakeHost::FakeHost()
    : rootObject (make<FakeRoot> ("root"))
{
}

FakeHost::~FakeHost() = default;

FakeInstanceHost& FakeHost::newInstanceHost()
{
    return make<FakeInstanceHost> ("instance");
}

FakeViewContainer& FakeHost::newViewContainer()
{
    return make<FakeViewContainer> ("view");
}

FakeHostServices& FakeHost::hostServices()
{
    const std::lock_guard<std::recursive_mutex> guard (lock);

    if (services == nullptr)
        services = &make<FakeHostServices> ("services");

    return *services;
}

void FakeHost::refuse (const acfIID& iid)
{
    withhold (iid, Withholding::refusal);
}

void FakeHost::withhold (const acfIID& iid, Withholding how)
{
    const std::lock_guard<std::recursive_mutex> guard (lock);
    withheldInterfaces.emplace_back (iid, how);
}

Withholding FakeHost::withholdingOf (const acfIID& iid) const
{
    const std::lock_guard<std::recursive_mutex> guard (lock);
    auto how = Withholding::none;

    for (const auto& [withheld, kind] : withheldInterfaces)
        if (withheld == iid)
            how = kind;

    return how;
}

void FakeHost::refuseClass (const acfCLSID& clsid)
{
    const std::lock_guard<std::recursive_mutex> guard (lock);
    refusedClasses.push_back (clsid);
}

bool FakeHost::refuses (const acfIID& iid) const
{
    return withholdingOf (iid) == Withholding::refusal;
}

bool FakeHost::refusesClass (const acfCLSID& clsid) const
{
    const std::lock_guard<std::recursive_mutex> guard (lock);
    return contains (refusedClasses, clsid);
}

std::vector<std::string> FakeHost::calls() const
{
    const std::lock_guard<std::recursive_mutex> guard (lock);
    return log;
}

std::vector<std::string> FakeHost::callsStartingWith (const std::string& prefix) const
{
    std::vector<std::string> found;

    for (auto& call : calls())
        if (call.compare (0, prefix.size(), prefix) == 0)
            found.push_back (call);

    return found;
}

void FakeHost::clearCalls()
{
    const std::lock_guard<std::recursive_mutex> guard (lock);
    log.clear();
}

void FakeHost::record (std::string call)
{
    const std::lock_guard<std::recursive_mutex> guard (lock);
    log.push_back (std::move (call));
}

int FakeHost::outstandingReferences() const
{
    const std::lock_guard<std::recursive_mutex> guard (lock);
    int total = 0;

    for (const auto& object : objects)
        total += object->outstanding();

    return total;
}

int FakeHost::overReleases() const
{
    const std::lock_guard<std::recursive_mutex> guard (lock);
    int total = 0;

    for (const auto& object : objects)
        total += object->overReleases();

    return total;
}

std::string FakeHost::outstandingReport() const
{
    const std::lock_guard<std::recursive_mutex> guard (lock);
    std::string report;

    for (const auto& object : objects)
        if (object->outstanding() != 0 || object->overReleases() != 0)
            report += object->name() + ": " + std::to_string (object->outstanding()) + " outstanding, "
                    + std::to_string (object->overReleases()) + " over-released\n";

    return report;
}

FakeObject* FakeHost::find (const IACFUnknown* unknown) const
{
    const std::lock_guard<std::recursive_mutex> guard (lock);
    const auto found = byUnknown.find (unknown);
    return found != byUnknown.end() ? found->second : nullptr;
}
