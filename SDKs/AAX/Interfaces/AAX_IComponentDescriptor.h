// The plug-in side's view of the description of one processing component.
#pragma once

#include "AAX.h"

class AAX_IPropertyMap;

class AAX_IComponentDescriptor
{
public:
    virtual ~AAX_IComponentDescriptor() = default;

    virtual AAX_Result Clear() = 0;
    virtual AAX_Result AddAudioIn (AAX_CFieldIndex field) = 0;
    virtual AAX_Result AddAudioOut (AAX_CFieldIndex field) = 0;
    virtual AAX_Result AddAudioBufferLength (AAX_CFieldIndex field) = 0;
    virtual AAX_Result AddSampleRate (AAX_CFieldIndex field) = 0;
    virtual AAX_Result AddClock (AAX_CFieldIndex field) = 0;
    virtual AAX_Result AddSideChainIn (AAX_CFieldIndex field) = 0;
    virtual AAX_Result AddDataInPort (AAX_CFieldIndex field, uint32_t packetSize, AAX_EDataInPortType type) = 0;
    virtual AAX_Result AddAuxOutputStem (AAX_CFieldIndex field, int32_t stemFormat, const char* name) = 0;
    virtual AAX_Result AddPrivateData (AAX_CFieldIndex field, int32_t dataSize, uint32_t options) = 0;
    virtual AAX_Result AddTemporaryData (AAX_CFieldIndex field, uint32_t dataElementSize) = 0;
    virtual AAX_Result AddDmaInstance (AAX_CFieldIndex field, AAX_IDma::EMode mode) = 0;
    virtual AAX_Result AddMeters (AAX_CFieldIndex field, const AAX_CTypeID* meterIDs, uint32_t meterCount) = 0;
    virtual AAX_Result AddMIDINode (AAX_CFieldIndex field, AAX_EMIDINodeType type, const char* name,
                                    uint32_t channelMask) = 0;
    virtual AAX_Result AddReservedField (AAX_CFieldIndex field, uint32_t fieldType) = 0;
    /** A new map owned by this descriptor. */
    virtual AAX_IPropertyMap* NewPropertyMap() = 0;
    /** A new map, owned by this descriptor, holding the source's properties 10 to 401. */
    virtual AAX_IPropertyMap* DuplicatePropertyMap (AAX_IPropertyMap* source) = 0;
    virtual AAX_Result AddProcessProc_Native (AAX_CProcessProc processProc, AAX_IPropertyMap* properties = nullptr,
                                              AAX_CInstanceInitProc instanceInitProc = nullptr,
                                              AAX_CBackgroundProc backgroundProc = nullptr,
                                              AAX_CSelector* outProcID = nullptr) = 0;
    virtual AAX_Result AddProcessProc_TI (const char* dllFileName, const char* processProcSymbol,
                                          AAX_IPropertyMap* properties, const char* instanceInitProcSymbol = nullptr,
                                          const char* backgroundProcSymbol = nullptr,
                                          AAX_CSelector* outProcID = nullptr) = 0;
};
