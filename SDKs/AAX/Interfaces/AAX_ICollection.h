// The plug-in side's view of the host collection that registration fills.
#pragma once

#include "AAX.h"

class AAX_IEffectDescriptor;
class AAX_IPropertyMap;

class AAX_ICollection
{
public:
    virtual ~AAX_ICollection() = default;

    /** A new effect descriptor owned by the collection. */
    virtual AAX_IEffectDescriptor* NewDescriptor() = 0;
    virtual AAX_Result AddEffect (const char* effectID, AAX_IEffectDescriptor* descriptor) = 0;
    virtual AAX_Result SetManufacturerName (const char* name) = 0;
    virtual AAX_Result AddPackageName (const char* name) = 0;
    virtual AAX_Result SetPackageVersion (uint32_t version) = 0;
    virtual AAX_IPropertyMap* NewPropertyMap() = 0;
    virtual AAX_Result SetProperties (AAX_IPropertyMap* properties) = 0;
};
