// The plug-in side's view of the host's automation for one instance.
#pragma once

#include "AAX.h"

class AAX_IAutomationDelegate
{
public:
    virtual ~AAX_IAutomationDelegate() = default;

    virtual AAX_Result RegisterParameter (AAX_CParamID id) = 0;
    virtual AAX_Result UnregisterParameter (AAX_CParamID id) = 0;
    /** Asks the host to set a value; the host answers through the effect parameters. */
    virtual AAX_Result PostSetValueRequest (AAX_CParamID id, double normalized) const = 0;
    /** Reports a value that has been stored. */
    virtual AAX_Result PostCurrentValue (AAX_CParamID id, double normalized) const = 0;
    virtual AAX_Result PostTouchRequest (AAX_CParamID id) = 0;
    virtual AAX_Result PostReleaseRequest (AAX_CParamID id) = 0;
    virtual AAX_Result GetTouchState (AAX_CParamID id, AAX_CBoolean* outTouched) = 0;
};
