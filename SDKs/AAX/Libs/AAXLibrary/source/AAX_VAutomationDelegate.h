// The host's automation of one instance, reached through its interface.
#pragma once

#include "ACFPtr.h"
#include "AAX_IACFAutomationDelegate.h"
#include "AAX_IAutomationDelegate.h"

class AAX_VAutomationDelegate : public AAX_IAutomationDelegate
{
public:
    /** Asks host for its automation delegate; null gives none. */
    explicit AAX_VAutomationDelegate (IACFUnknown* host);
    ~AAX_VAutomationDelegate() override;

    AAX_Result RegisterParameter (AAX_CParamID id) override;
    AAX_Result UnregisterParameter (AAX_CParamID id) override;
    AAX_Result PostSetValueRequest (AAX_CParamID id, double normalized) const override;
    AAX_Result PostCurrentValue (AAX_CParamID id, double normalized) const override;
    AAX_Result PostTouchRequest (AAX_CParamID id) override;
    AAX_Result PostReleaseRequest (AAX_CParamID id) override;
    AAX_Result GetTouchState (AAX_CParamID id, AAX_CBoolean* outTouched) override;

    /** True when the host gave its automation interface. */
    bool IsConnected() const noexcept  { return static_cast<bool> (hostAutomation); }

private:
    ACFPtr<AAX_IACFAutomationDelegate> hostAutomation;
};
