#include "AAX_VComponentDescriptor.h"

#include "AAX_HostCalls.h"
#include "AAX_VPropertyMap.h"

namespace
{
    // DuplicatePropertyMap copies the properties in this range, both ends included.
    constexpr int32_t firstCopiedProperty = 10;
    constexpr int32_t lastCopiedProperty = 401;
}

AAX_VComponentDescriptor::AAX_VComponentDescriptor (IACFUnknown* unknown)
{
    hostUnknown.Assign (unknown);

    ACFPtr<IACFComponentFactory> factory;
    AAX_QueryHostInterface (unknown, IID_IACFComponentFactory, factory);

    if (factory)
        AAX_CreateHostObject (*factory.Get(), AAXCompID_AAXComponentDescriptor, IID_IAAXComponentDescriptorV1,
                              hostDescriptor);

    AAX_QueryHostInterface (hostDescriptor.Get(), IID_IAAXComponentDescriptorV2, hostDescriptorV2);
}

AAX_VComponentDescriptor::~AAX_VComponentDescriptor()
{
    propertyMaps.clear();
    hostDescriptorV2.Clear();
    hostDescriptor.Clear();
    hostUnknown.Clear();
}

AAX_Result AAX_VComponentDescriptor::Clear()
{
    return AAX_ForwardTo (hostDescriptor, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.Clear(); });
}

AAX_Result AAX_VComponentDescriptor::AddAudioIn (AAX_CFieldIndex field)
{
    return AAX_ForwardTo (hostDescriptor, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.AddAudioIn (field); });
}

AAX_Result AAX_VComponentDescriptor::AddAudioOut (AAX_CFieldIndex field)
{
    return AAX_ForwardTo (hostDescriptor, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.AddAudioOut (field); });
}

AAX_Result AAX_VComponentDescriptor::AddAudioBufferLength (AAX_CFieldIndex field)
{
    return AAX_ForwardTo (hostDescriptor, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.AddAudioBufferLength (field); });
}

AAX_Result AAX_VComponentDescriptor::AddSampleRate (AAX_CFieldIndex field)
{
    return AAX_ForwardTo (hostDescriptor, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.AddSampleRate (field); });
}

AAX_Result AAX_VComponentDescriptor::AddClock (AAX_CFieldIndex field)
{
    return AAX_ForwardTo (hostDescriptor, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.AddClock (field); });
}

AAX_Result AAX_VComponentDescriptor::AddSideChainIn (AAX_CFieldIndex field)
{
    return AAX_ForwardTo (hostDescriptor, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.AddSideChainIn (field); });
}

AAX_Result AAX_VComponentDescriptor::AddDataInPort (AAX_CFieldIndex field, uint32_t packetSize, AAX_EDataInPortType type)
{
    return AAX_ForwardTo (hostDescriptor, AAX_ERROR_NULL_OBJECT,
                          [&] (auto& h) { return h.AddDataInPort (field, packetSize, type); });
}

AAX_Result AAX_VComponentDescriptor::AddAuxOutputStem (AAX_CFieldIndex field, int32_t stemFormat, const char* name)
{
    return AAX_ForwardTo (hostDescriptor, AAX_ERROR_NULL_OBJECT,
                          [&] (auto& h) { return h.AddAuxOutputStem (field, stemFormat, name); });
}

AAX_Result AAX_VComponentDescriptor::AddPrivateData (AAX_CFieldIndex field, int32_t dataSize, uint32_t options)
{
    return AAX_ForwardTo (hostDescriptor, AAX_ERROR_NULL_OBJECT,
                          [&] (auto& h) { return h.AddPrivateData (field, dataSize, options); });
}

AAX_Result AAX_VComponentDescriptor::AddTemporaryData (AAX_CFieldIndex field, uint32_t dataElementSize)
{
    return AAX_ForwardTo (hostDescriptorV2, AAX_ERROR_UNIMPLEMENTED,
                          [&] (auto& h) { return h.AddTemporaryData (field, dataElementSize); });
}

AAX_Result AAX_VComponentDescriptor::AddDmaInstance (AAX_CFieldIndex field, AAX_IDma::EMode mode)
{
    return AAX_ForwardTo (hostDescriptor, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.AddDmaInstance (field, mode); });
}

AAX_Result AAX_VComponentDescriptor::AddMeters (AAX_CFieldIndex field, const AAX_CTypeID* meterIDs, uint32_t meterCount)
{
    return AAX_ForwardTo (hostDescriptor, AAX_ERROR_NULL_OBJECT,
                          [&] (auto& h) { return h.AddMeters (field, meterIDs, meterCount); });
}

AAX_Result AAX_VComponentDescriptor::AddMIDINode (AAX_CFieldIndex field, AAX_EMIDINodeType type, const char* name,
                                                  uint32_t channelMask)
{
    return AAX_ForwardTo (hostDescriptor, AAX_ERROR_NULL_OBJECT,
                          [&] (auto& h) { return h.AddMIDINode (field, type, name, channelMask); });
}

AAX_Result AAX_VComponentDescriptor::AddReservedField (AAX_CFieldIndex field, uint32_t fieldType)
{
    return AAX_ForwardTo (hostDescriptor, AAX_ERROR_NULL_OBJECT,
                          [&] (auto& h) { return h.AddReservedField (field, fieldType); });
}

AAX_IPropertyMap* AAX_VComponentDescriptor::NewPropertyMap()
{
    propertyMaps.push_back (std::make_unique<AAX_VPropertyMap> (hostUnknown.Get()));
    return propertyMaps.back().get();
}

AAX_IPropertyMap* AAX_VComponentDescriptor::DuplicatePropertyMap (AAX_IPropertyMap* source)
{
    auto* copy = NewPropertyMap();

    if (source == nullptr)
        return copy;

    for (auto id = firstCopiedProperty; id <= lastCopiedProperty; ++id)
    {
        const auto property = static_cast<AAX_EProperty> (id);
        AAX_CPropertyValue value = 0;

        if (source->GetProperty (property, &value))
            copy->AddProperty (property, value);
    }

    return copy;
}

AAX_Result AAX_VComponentDescriptor::AddProcessProc_Native (AAX_CProcessProc processProc, AAX_IPropertyMap* properties,
                                                            AAX_CInstanceInitProc instanceInitProc,
                                                            AAX_CBackgroundProc backgroundProc, AAX_CSelector* outProcID)
{
    return AAX_ForwardTo (hostDescriptor, AAX_ERROR_NULL_OBJECT, [&] (auto& h)
    {
        return h.AddProcessProc_Native (processProc, AAX_HostObjectOf (properties), instanceInitProc, backgroundProc,
                                        outProcID);
    });
}

AAX_Result AAX_VComponentDescriptor::AddProcessProc_TI (const char* dllFileName, const char* processProcSymbol,
                                                        AAX_IPropertyMap* properties, const char* instanceInitProcSymbol,
                                                        const char* backgroundProcSymbol, AAX_CSelector* outProcID)
{
    return AAX_ForwardTo (hostDescriptor, AAX_ERROR_NULL_OBJECT, [&] (auto& h)
    {
        return h.AddProcessProc_TI (dllFileName, processProcSymbol, AAX_HostObjectOf (properties),
                                    instanceInitProcSymbol, backgroundProcSymbol, outProcID);
    });
}
