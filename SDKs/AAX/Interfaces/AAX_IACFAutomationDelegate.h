// The host's automation of one effect instance's parameters.
#pragma once

#include "AAX.h"
#include "ACFUnknown.h"

class AAX_IACFAutomationDelegate : public IACFUnknown
{
public:
    virtual AAX_Result RegisterParameter (AAX_CParamID id) = 0;                              // slot 3
    virtual AAX_Result UnregisterParameter (AAX_CParamID id) = 0;                            // slot 4
    virtual AAX_Result PostSetValueRequest (AAX_CParamID id, double normalized) const = 0;   // slot 5
    virtual AAX_Result PostCurrentValue (AAX_CParamID id, double normalized) const = 0;      // slot 6
    virtual AAX_Result PostTouchRequest (AAX_CParamID id) = 0;                               // slot 7
    virtual AAX_Result PostReleaseRequest (AAX_CParamID id) = 0;                             // slot 8
    virtual AAX_Result GetTouchState (AAX_CParamID id, AAX_CBoolean* outTouched) = 0;        // slot 9

protected:
    ~AAX_IACFAutomationDelegate() = default;
};
