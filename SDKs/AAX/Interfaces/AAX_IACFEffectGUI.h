// The effect GUI object as the host calls it: the editor window of one instance.
#pragma once

#include "AAX.h"
#include "ACFUnknown.h"

class AAX_IString;

class AAX_IACFEffectGUI : public IACFUnknown
{
public:
    virtual AAX_Result Initialize (IACFUnknown* host) = 0;                                            // slot 3
    virtual AAX_Result Uninitialize() = 0;
    virtual AAX_Result NotificationReceived (AAX_CTypeID type, const void* data, uint32_t size) = 0;
    virtual AAX_Result SetViewContainer (IACFUnknown* container) = 0;
    virtual AAX_Result GetViewSize (AAX_Point* outSize) const = 0;
    virtual AAX_Result Draw (AAX_Rect* area) = 0;
    virtual AAX_Result TimerWakeup() = 0;
    virtual AAX_Result ParameterUpdated (AAX_CParamID id) = 0;
    virtual AAX_Result GetCustomLabel (AAX_EPlugInStrings which, AAX_IString* out) const = 0;
    virtual AAX_Result SetControlHighlightInfo (AAX_CParamID id, AAX_CBoolean highlighted,
                                                AAX_EHighlightColor colour) = 0;

protected:
    ~AAX_IACFEffectGUI() = default;
};
