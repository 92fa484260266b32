// The host's property map: numbered 32-bit properties of a description.
#pragma once

#include "AAX.h"
#include "ACFUnknown.h"

class AAX_IACFPropertyMap : public IACFUnknown
{
public:
    /** Nonzero when the map holds the property; its value then goes to out. */
    virtual AAX_CBoolean GetProperty (AAX_EProperty property, AAX_CPropertyValue* out) const = 0;  // slot 3
    virtual AAX_Result AddProperty (AAX_EProperty property, AAX_CPropertyValue value) = 0;         // slot 4
    virtual AAX_Result RemoveProperty (AAX_EProperty property) = 0;                                // slot 5

protected:
    ~AAX_IACFPropertyMap() = default;
};

class AAX_IACFPropertyMap_V2 : public AAX_IACFPropertyMap
{
public:
    virtual AAX_Result AddPropertyWithIDArray (AAX_EProperty property,
                                               const AAX_SPlugInIdentifierTriad* pluginIDs,
                                               uint32_t count) = 0;                                 // slot 6
    virtual AAX_CBoolean GetPropertyWithIDArray (AAX_EProperty property,
                                                 const AAX_SPlugInIdentifierTriad** outPluginIDs,
                                                 uint32_t* outCount) const = 0;                     // slot 7

protected:
    ~AAX_IACFPropertyMap_V2() = default;
};
