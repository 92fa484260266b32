// A property map of a description, forwarded to the host's map.
#pragma once

#include "ACFPtr.h"
#include "AAX_IACFPropertyMap.h"
#include "AAX_IPropertyMap.h"

class AAX_VPropertyMap : public AAX_IPropertyMap
{
public:
    /** Creates the host's map through unknown's component factory; a null
        unknown, or a host that refuses, leaves the proxy without one. */
    explicit AAX_VPropertyMap (IACFUnknown* unknown);
    ~AAX_VPropertyMap() override;

    bool GetProperty (AAX_EProperty property, AAX_CPropertyValue* out) const override;
    AAX_Result AddProperty (AAX_EProperty property, AAX_CPropertyValue value) override;
    AAX_Result RemoveProperty (AAX_EProperty property) override;
    AAX_Result AddPropertyWithIDArray (AAX_EProperty property, const AAX_SPlugInIdentifierTriad* pluginIDs,
                                       uint32_t count) override;
    bool GetPropertyWithIDArray (AAX_EProperty property, const AAX_SPlugInIdentifierTriad** outPluginIDs,
                                 uint32_t* outCount) const override;

    /** The host's map, or null. */
    IACFUnknown* GetIUnknown() const noexcept  { return hostMap.Get(); }

private:
    ACFPtr<AAX_IACFPropertyMap> hostMap;
    ACFPtr<AAX_IACFPropertyMap_V2> hostMapV2;
};

/** The host object of a map made by this library, or null. */
IACFUnknown* AAX_HostObjectOf (AAX_IPropertyMap* map) noexcept;
