// The description of one effect, forwarded to the host's.
#pragma once

#include "ACFPtr.h"
#include "AAX_IACFEffectDescriptor.h"
#include "AAX_IEffectDescriptor.h"

#include <memory>
#include <vector>

class AAX_VComponentDescriptor;
class AAX_VPropertyMap;

class AAX_VEffectDescriptor : public AAX_IEffectDescriptor
{
public:
    /** Keeps unknown (with a reference) for what it makes and creates the
        host's descriptor through its component factory. */
    explicit AAX_VEffectDescriptor (IACFUnknown* unknown);
    /** Deletes the component descriptors, then the maps it made, and releases
        every host reference. */
    ~AAX_VEffectDescriptor() override;

    AAX_IComponentDescriptor* NewComponentDescriptor() override;
    AAX_Result AddComponent (AAX_IComponentDescriptor* component) override;
    AAX_Result AddName (const char* name) override;
    AAX_Result AddCategory (uint32_t category) override;
    AAX_Result AddCategoryBypassParameter (uint32_t category, AAX_CParamID id) override;
    AAX_Result AddProcPtr (void* procedure, AAX_CProcPtrID procID) override;
    AAX_IPropertyMap* NewPropertyMap() override;
    AAX_Result SetProperties (AAX_IPropertyMap* properties) override;
    AAX_Result AddResourceInfo (AAX_EResourceType type, const char* info) override;
    AAX_Result AddMeterDescription (AAX_CTypeID meterID, const char* name, AAX_IPropertyMap* properties) override;
    AAX_Result AddControlMIDINode (AAX_CTypeID nodeID, AAX_EMIDINodeType type, const char* name,
                                   uint32_t channelMask) override;

    /** The host's descriptor, or null. */
    IACFUnknown* GetIUnknown() const noexcept  { return hostDescriptor.Get(); }

private:
    ACFPtr<IACFUnknown> hostUnknown;
    ACFPtr<AAX_IACFEffectDescriptor> hostDescriptor;
    ACFPtr<AAX_IACFEffectDescriptor_V2> hostDescriptorV2;
    std::vector<std::unique_ptr<AAX_VComponentDescriptor>> componentDescriptors;
    std::vector<std::unique_ptr<AAX_VPropertyMap>> propertyMaps;
};
