// The plug-in side's view of a property map of a description.
#pragma once

#include "AAX.h"

class AAX_IPropertyMap
{
public:
    virtual ~AAX_IPropertyMap() = default;

    /** True when the map holds the property; its value then goes to out. */
    virtual bool GetProperty (AAX_EProperty property, AAX_CPropertyValue* out) const = 0;
    virtual AAX_Result AddProperty (AAX_EProperty property, AAX_CPropertyValue value) = 0;
    virtual AAX_Result RemoveProperty (AAX_EProperty property) = 0;
    virtual AAX_Result AddPropertyWithIDArray (AAX_EProperty property, const AAX_SPlugInIdentifierTriad* pluginIDs,
                                               uint32_t count) = 0;
    virtual bool GetPropertyWithIDArray (AAX_EProperty property, const AAX_SPlugInIdentifierTriad** outPluginIDs,
                                         uint32_t* outCount) const = 0;
};
