// The description of one processing component, forwarded to the host's.
#pragma once

#include "ACFPtr.h"
#include "AAX_IACFComponentDescriptor.h"
#include "AAX_IComponentDescriptor.h"

#include <memory>
#include <vector>

class AAX_VPropertyMap;

class AAX_VComponentDescriptor : public AAX_IComponentDescriptor
{
public:
    /** Keeps unknown (with a reference) for the maps it makes and creates the
        host's descriptor through its component factory. */
    explicit AAX_VComponentDescriptor (IACFUnknown* unknown);
    /** Deletes the maps it made and releases every host reference. */
    ~AAX_VComponentDescriptor() override;

    AAX_Result Clear() override;
    AAX_Result AddAudioIn (AAX_CFieldIndex field) override;
    AAX_Result AddAudioOut (AAX_CFieldIndex field) override;
    AAX_Result AddAudioBufferLength (AAX_CFieldIndex field) override;
    AAX_Result AddSampleRate (AAX_CFieldIndex field) override;
    AAX_Result AddClock (AAX_CFieldIndex field) override;
    AAX_Result AddSideChainIn (AAX_CFieldIndex field) override;
    AAX_Result AddDataInPort (AAX_CFieldIndex field, uint32_t packetSize, AAX_EDataInPortType type) override;
    AAX_Result AddAuxOutputStem (AAX_CFieldIndex field, int32_t stemFormat, const char* name) override;
    AAX_Result AddPrivateData (AAX_CFieldIndex field, int32_t dataSize, uint32_t options) override;
    AAX_Result AddTemporaryData (AAX_CFieldIndex field, uint32_t dataElementSize) override;
    AAX_Result AddDmaInstance (AAX_CFieldIndex field, AAX_IDma::EMode mode) override;
    AAX_Result AddMeters (AAX_CFieldIndex field, const AAX_CTypeID* meterIDs, uint32_t meterCount) override;
    AAX_Result AddMIDINode (AAX_CFieldIndex field, AAX_EMIDINodeType type, const char* name,
                            uint32_t channelMask) override;
    AAX_Result AddReservedField (AAX_CFieldIndex field, uint32_t fieldType) override;
    AAX_IPropertyMap* NewPropertyMap() override;
    /** A null source gives an empty new map. */
    AAX_IPropertyMap* DuplicatePropertyMap (AAX_IPropertyMap* source) override;
    AAX_Result AddProcessProc_Native (AAX_CProcessProc processProc, AAX_IPropertyMap* properties,
                                      AAX_CInstanceInitProc instanceInitProc, AAX_CBackgroundProc backgroundProc,
                                      AAX_CSelector* outProcID) override;
    AAX_Result AddProcessProc_TI (const char* dllFileName, const char* processProcSymbol, AAX_IPropertyMap* properties,
                                  const char* instanceInitProcSymbol, const char* backgroundProcSymbol,
                                  AAX_CSelector* outProcID) override;

    /** The host's descriptor, or null. */
    IACFUnknown* GetIUnknown() const noexcept  { return hostDescriptor.Get(); }

private:
    ACFPtr<IACFUnknown> hostUnknown;
    ACFPtr<AAX_IACFComponentDescriptor> hostDescriptor;
    ACFPtr<AAX_IACFComponentDescriptor_V2> hostDescriptorV2;
    std::vector<std::unique_ptr<AAX_VPropertyMap>> propertyMaps;
};
