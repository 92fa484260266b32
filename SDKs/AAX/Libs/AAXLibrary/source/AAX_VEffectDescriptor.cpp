#include "AAX_VEffectDescriptor.h"

#include "AAX_HostCalls.h"
#include "AAX_VComponentDescriptor.h"
#include "AAX_VPropertyMap.h"

AAX_VEffectDescriptor::AAX_VEffectDescriptor (IACFUnknown* unknown)
{
    hostUnknown.Assign (unknown);

    ACFPtr<IACFComponentFactory> factory;
    AAX_QueryHostInterface (unknown, IID_IACFComponentFactory, factory);

    if (factory)
        AAX_CreateHostObject (*factory.Get(), AAXCompID_AAXEffectDescriptor, IID_IAAXEffectDescriptorV1, hostDescriptor);

    AAX_QueryHostInterface (hostDescriptor.Get(), IID_IAAXEffectDescriptorV2, hostDescriptorV2);
}

AAX_VEffectDescriptor::~AAX_VEffectDescriptor()
{
    componentDescriptors.clear();
    propertyMaps.clear();
    hostDescriptorV2.Clear();
    hostDescriptor.Clear();
    hostUnknown.Clear();
}

AAX_IComponentDescriptor* AAX_VEffectDescriptor::NewComponentDescriptor()
{
    componentDescriptors.push_back (std::make_unique<AAX_VComponentDescriptor> (hostUnknown.Get()));
    return componentDescriptors.back().get();
}

AAX_Result AAX_VEffectDescriptor::AddComponent (AAX_IComponentDescriptor* component)
{
    const auto* proxy = dynamic_cast<AAX_VComponentDescriptor*> (component);
    auto* hostComponent = proxy != nullptr ? proxy->GetIUnknown() : nullptr;
    return AAX_ForwardTo (hostDescriptor, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.AddComponent (hostComponent); });
}

AAX_Result AAX_VEffectDescriptor::AddName (const char* name)
{
    return AAX_ForwardTo (hostDescriptor, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.AddName (name); });
}

AAX_Result AAX_VEffectDescriptor::AddCategory (uint32_t category)
{
    return AAX_ForwardTo (hostDescriptor, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.AddCategory (category); });
}

AAX_Result AAX_VEffectDescriptor::AddCategoryBypassParameter (uint32_t category, AAX_CParamID id)
{
    return AAX_ForwardTo (hostDescriptor, AAX_ERROR_NULL_OBJECT,
                          [&] (auto& h) { return h.AddCategoryBypassParameter (category, id); });
}

AAX_Result AAX_VEffectDescriptor::AddProcPtr (void* procedure, AAX_CProcPtrID procID)
{
    return AAX_ForwardTo (hostDescriptor, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.AddProcPtr (procedure, procID); });
}

AAX_IPropertyMap* AAX_VEffectDescriptor::NewPropertyMap()
{
    propertyMaps.push_back (std::make_unique<AAX_VPropertyMap> (hostUnknown.Get()));
    return propertyMaps.back().get();
}

AAX_Result AAX_VEffectDescriptor::SetProperties (AAX_IPropertyMap* properties)
{
    return AAX_ForwardTo (hostDescriptor, AAX_ERROR_NULL_OBJECT,
                          [&] (auto& h) { return h.SetProperties (AAX_HostObjectOf (properties)); });
}

AAX_Result AAX_VEffectDescriptor::AddResourceInfo (AAX_EResourceType type, const char* info)
{
    return AAX_ForwardTo (hostDescriptor, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.AddResourceInfo (type, info); });
}

AAX_Result AAX_VEffectDescriptor::AddMeterDescription (AAX_CTypeID meterID, const char* name, AAX_IPropertyMap* properties)
{
    return AAX_ForwardTo (hostDescriptor, AAX_ERROR_NULL_OBJECT,
                          [&] (auto& h) { return h.AddMeterDescription (meterID, name, AAX_HostObjectOf (properties)); });
}

AAX_Result AAX_VEffectDescriptor::AddControlMIDINode (AAX_CTypeID nodeID, AAX_EMIDINodeType type, const char* name,
                                                      uint32_t channelMask)
{
    return AAX_ForwardTo (hostDescriptorV2, AAX_ERROR_UNIMPLEMENTED,
                          [&] (auto& h) { return h.AddControlMIDINode (nodeID, type, name, channelMask); });
}
