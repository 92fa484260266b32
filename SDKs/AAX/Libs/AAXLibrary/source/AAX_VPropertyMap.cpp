#include "AAX_VPropertyMap.h"

#include "AAX_HostCalls.h"

AAX_VPropertyMap::AAX_VPropertyMap (IACFUnknown* unknown)
{
    ACFPtr<IACFComponentFactory> factory;
    AAX_QueryHostInterface (unknown, IID_IACFComponentFactory, factory);

    if (factory)
        AAX_CreateHostObject (*factory.Get(), AAXCompID_AAXPropertyMap, IID_IAAXPropertyMapV1, hostMap);

    AAX_QueryHostInterface (hostMap.Get(), IID_IAAXPropertyMapV2, hostMapV2);
}

AAX_VPropertyMap::~AAX_VPropertyMap()
{
    hostMapV2.Clear();
    hostMap.Clear();
}

bool AAX_VPropertyMap::GetProperty (AAX_EProperty property, AAX_CPropertyValue* out) const
{
    return AAX_ForwardTo (hostMap, false, [&] (auto& h) { return h.GetProperty (property, out) != 0; });
}

AAX_Result AAX_VPropertyMap::AddProperty (AAX_EProperty property, AAX_CPropertyValue value)
{
    return AAX_ForwardTo (hostMap, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.AddProperty (property, value); });
}

AAX_Result AAX_VPropertyMap::RemoveProperty (AAX_EProperty property)
{
    return AAX_ForwardTo (hostMap, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.RemoveProperty (property); });
}

AAX_Result AAX_VPropertyMap::AddPropertyWithIDArray (AAX_EProperty property, const AAX_SPlugInIdentifierTriad* pluginIDs,
                                                     uint32_t count)
{
    return AAX_ForwardTo (hostMapV2, AAX_ERROR_UNIMPLEMENTED,
                          [&] (auto& h) { return h.AddPropertyWithIDArray (property, pluginIDs, count); });
}

bool AAX_VPropertyMap::GetPropertyWithIDArray (AAX_EProperty property, const AAX_SPlugInIdentifierTriad** outPluginIDs,
                                               uint32_t* outCount) const
{
    return AAX_ForwardTo (hostMapV2, false,
                          [&] (auto& h) { return h.GetPropertyWithIDArray (property, outPluginIDs, outCount) != 0; });
}

IACFUnknown* AAX_HostObjectOf (AAX_IPropertyMap* map) noexcept
{
    const auto* proxy = dynamic_cast<AAX_VPropertyMap*> (map);
    return proxy != nullptr ? proxy->GetIUnknown() : nullptr;
}
