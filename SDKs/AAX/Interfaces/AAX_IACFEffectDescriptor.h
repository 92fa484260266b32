// The host's description of one effect.
#pragma once

#include "AAX.h"
#include "ACFUnknown.h"

class AAX_IACFEffectDescriptor : public IACFUnknown
{
public:
    virtual AAX_Result AddComponent (IACFUnknown* componentDescriptor) = 0;                  // slot 3
    virtual AAX_Result AddName (const char* name) = 0;                                       // slot 4
    virtual AAX_Result AddCategory (uint32_t category) = 0;                                  // slot 5
    virtual AAX_Result AddCategoryBypassParameter (uint32_t category, AAX_CParamID id) = 0;  // slot 6
    virtual AAX_Result AddProcPtr (void* procedure, AAX_CProcPtrID procID) = 0;              // slot 7
    virtual AAX_Result SetProperties (IACFUnknown* propertyMap) = 0;                         // slot 8
    virtual AAX_Result AddResourceInfo (AAX_EResourceType type, const char* info) = 0;       // slot 9
    virtual AAX_Result AddMeterDescription (AAX_CTypeID meterID, const char* name,
                                            IACFUnknown* propertyMap) = 0;                   // slot 10

protected:
    ~AAX_IACFEffectDescriptor() = default;
};

class AAX_IACFEffectDescriptor_V2 : public AAX_IACFEffectDescriptor
{
public:
    virtual AAX_Result AddControlMIDINode (AAX_CTypeID nodeID, AAX_EMIDINodeType type,
                                           const char* name, uint32_t channelMask) = 0;      // slot 11

protected:
    ~AAX_IACFEffectDescriptor_V2() = default;
};
