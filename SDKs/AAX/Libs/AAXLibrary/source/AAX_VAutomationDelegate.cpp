#include "AAX_VAutomationDelegate.h"

#include "AAX_HostCalls.h"

AAX_VAutomationDelegate::AAX_VAutomationDelegate (IACFUnknown* host)
{
    AAX_QueryHostInterface (host, IID_IAAXAutomationDelegateV1, hostAutomation);
}

AAX_VAutomationDelegate::~AAX_VAutomationDelegate() = default;

AAX_Result AAX_VAutomationDelegate::RegisterParameter (AAX_CParamID id)
{
    return AAX_ForwardTo (hostAutomation, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.RegisterParameter (id); });
}

AAX_Result AAX_VAutomationDelegate::UnregisterParameter (AAX_CParamID id)
{
    return AAX_ForwardTo (hostAutomation, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.UnregisterParameter (id); });
}

AAX_Result AAX_VAutomationDelegate::PostSetValueRequest (AAX_CParamID id, double normalized) const
{
    return AAX_ForwardTo (hostAutomation, AAX_ERROR_NULL_OBJECT,
                          [&] (auto& h) { return h.PostSetValueRequest (id, normalized); });
}

AAX_Result AAX_VAutomationDelegate::PostCurrentValue (AAX_CParamID id, double normalized) const
{
    return AAX_ForwardTo (hostAutomation, AAX_ERROR_NULL_OBJECT,
                          [&] (auto& h) { return h.PostCurrentValue (id, normalized); });
}

AAX_Result AAX_VAutomationDelegate::PostTouchRequest (AAX_CParamID id)
{
    return AAX_ForwardTo (hostAutomation, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.PostTouchRequest (id); });
}

AAX_Result AAX_VAutomationDelegate::PostReleaseRequest (AAX_CParamID id)
{
    return AAX_ForwardTo (hostAutomation, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.PostReleaseRequest (id); });
}

AAX_Result AAX_VAutomationDelegate::GetTouchState (AAX_CParamID id, AAX_CBoolean* outTouched)
{
    return AAX_ForwardTo (hostAutomation, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.GetTouchState (id, outTouched); });
}
