// The host collection that registration describes the bundle's effects in.
#pragma once

#include "ACFPtr.h"
#include "AAX_IACFCollection.h"
#include "AAX_ICollection.h"

#include <memory>
#include <vector>

class AAX_VEffectDescriptor;
class AAX_VPropertyMap;

class AAX_VCollection : public AAX_ICollection
{
public:
    /** Keeps unknown (with a reference) for what it makes and creates the
        host's collection through its component factory. */
    explicit AAX_VCollection (IACFUnknown* unknown);
    /** Deletes everything made through it and releases every host reference. */
    ~AAX_VCollection() override;

    AAX_IEffectDescriptor* NewDescriptor() override;
    /** -20004 without a host collection or a descriptor. */
    AAX_Result AddEffect (const char* effectID, AAX_IEffectDescriptor* descriptor) override;
    AAX_Result SetManufacturerName (const char* name) override;
    AAX_Result AddPackageName (const char* name) override;
    AAX_Result SetPackageVersion (uint32_t version) override;
    AAX_IPropertyMap* NewPropertyMap() override;
    AAX_Result SetProperties (AAX_IPropertyMap* properties) override;

    /** The host's collection, or null. */
    IACFUnknown* GetIUnknown() const noexcept  { return hostCollection.Get(); }

private:
    ACFPtr<IACFUnknown> hostUnknown;
    ACFPtr<AAX_IACFCollection> hostCollection;
    std::vector<std::unique_ptr<AAX_VEffectDescriptor>> effectDescriptors;
    std::vector<std::unique_ptr<AAX_VPropertyMap>> propertyMaps;
};
