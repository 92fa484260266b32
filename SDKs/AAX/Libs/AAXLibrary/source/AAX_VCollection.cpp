#include "AAX_VCollection.h"

#include "AAX_HostCalls.h"
#include "AAX_VEffectDescriptor.h"
#include "AAX_VPropertyMap.h"

AAX_VCollection::AAX_VCollection (IACFUnknown* unknown)
{
    hostUnknown.Assign (unknown);

    ACFPtr<IACFComponentFactory> factory;
    AAX_QueryHostInterface (unknown, IID_IACFComponentFactory, factory);

    if (factory)
        AAX_CreateHostObject (*factory.Get(), AAXCompID_AAXCollection, IID_IAAXCollectionV1, hostCollection);
}

AAX_VCollection::~AAX_VCollection()
{
    // The maps made here are deleted like the descriptors' own, so none outlives registration.
    effectDescriptors.clear();
    propertyMaps.clear();
    hostCollection.Clear();
    hostUnknown.Clear();
}

AAX_IEffectDescriptor* AAX_VCollection::NewDescriptor()
{
    effectDescriptors.push_back (std::make_unique<AAX_VEffectDescriptor> (hostUnknown.Get()));
    return effectDescriptors.back().get();
}

AAX_Result AAX_VCollection::AddEffect (const char* effectID, AAX_IEffectDescriptor* descriptor)
{
    const auto* proxy = dynamic_cast<AAX_VEffectDescriptor*> (descriptor);

    if (proxy == nullptr)
        return AAX_ERROR_NULL_OBJECT;

    return AAX_ForwardTo (hostCollection, AAX_ERROR_NULL_OBJECT,
                          [&] (auto& h) { return h.AddEffect (effectID, proxy->GetIUnknown()); });
}

AAX_Result AAX_VCollection::SetManufacturerName (const char* name)
{
    return AAX_ForwardTo (hostCollection, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.SetManufacturerName (name); });
}

AAX_Result AAX_VCollection::AddPackageName (const char* name)
{
    return AAX_ForwardTo (hostCollection, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.AddPackageName (name); });
}

AAX_Result AAX_VCollection::SetPackageVersion (uint32_t version)
{
    return AAX_ForwardTo (hostCollection, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.SetPackageVersion (version); });
}

AAX_IPropertyMap* AAX_VCollection::NewPropertyMap()
{
    propertyMaps.push_back (std::make_unique<AAX_VPropertyMap> (hostUnknown.Get()));
    return propertyMaps.back().get();
}

AAX_Result AAX_VCollection::SetProperties (AAX_IPropertyMap* properties)
{
    return AAX_ForwardTo (hostCollection, AAX_ERROR_NULL_OBJECT,
                          [&] (auto& h) { return h.SetProperties (AAX_HostObjectOf (properties)); });
}
