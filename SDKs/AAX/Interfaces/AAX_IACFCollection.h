// The host's collection: what one plug-in bundle offers.
#pragma once

#include "AAX.h"
#include "ACFUnknown.h"

class AAX_IACFCollection : public IACFUnknown
{
public:
    // Slots 3 to 6 belong to host operations the library never calls; they
    // keep the called operations at their positions.
    virtual AAX_Result ReservedSlot3() = 0;
    virtual AAX_Result ReservedSlot4() = 0;
    virtual AAX_Result ReservedSlot5() = 0;
    virtual AAX_Result ReservedSlot6() = 0;

    virtual AAX_Result AddEffect (const char* effectID, IACFUnknown* effectDescriptor) = 0;  // slot 7
    virtual AAX_Result SetManufacturerName (const char* name) = 0;                           // slot 8
    virtual AAX_Result AddPackageName (const char* name) = 0;                                // slot 9
    virtual AAX_Result SetPackageVersion (uint32_t version) = 0;                             // slot 10
    virtual AAX_Result SetProperties (IACFUnknown* propertyMap) = 0;                         // slot 11

protected:
    ~AAX_IACFCollection() = default;
};
