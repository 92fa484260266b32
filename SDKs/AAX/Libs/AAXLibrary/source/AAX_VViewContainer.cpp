#include "AAX_VViewContainer.h"

#include "AAX_HostCalls.h"

AAX_VViewContainer::AAX_VViewContainer (IACFUnknown* container)
{
    AAX_QueryHostInterface (container, IID_IAAXViewContainerV1, hostViewContainer);
    AAX_QueryHostInterface (container, IID_IAAXViewContainerV2, hostViewContainerV2);
}

AAX_VViewContainer::~AAX_VViewContainer()
{
    hostViewContainerV2.Clear();
    hostViewContainer.Clear();
}

int32_t AAX_VViewContainer::GetType()
{
    return AAX_ForwardTo (hostViewContainer, int32_t (AAX_eViewContainer_Type_NULL), [] (auto& h) { return h.GetType(); });
}

void* AAX_VViewContainer::GetPtr()
{
    return AAX_ForwardTo (hostViewContainer, nullptr, [] (auto& h) { return h.GetPtr(); });
}

AAX_Result AAX_VViewContainer::GetModifiers (uint32_t* outModifiers)
{
    return AAX_ForwardTo (hostViewContainer, AAX_ERROR_UNIMPLEMENTED, [&] (auto& h) { return h.GetModifiers (outModifiers); });
}

AAX_Result AAX_VViewContainer::SetViewSize (AAX_Point& size)
{
    return AAX_ForwardTo (hostViewContainer, AAX_SUCCESS, [&] (auto& h) { return h.SetViewSize (size); });
}

AAX_Result AAX_VViewContainer::HandleParameterMouseDown (AAX_CParamID id, uint32_t modifiers)
{
    return AAX_ForwardTo (hostViewContainer, AAX_ERROR_UNIMPLEMENTED,
                          [&] (auto& h) { return h.HandleParameterMouseDown (id, modifiers); });
}

AAX_Result AAX_VViewContainer::HandleParameterMouseDrag (AAX_CParamID id, uint32_t modifiers)
{
    return AAX_ForwardTo (hostViewContainer, AAX_ERROR_UNIMPLEMENTED,
                          [&] (auto& h) { return h.HandleParameterMouseDrag (id, modifiers); });
}

AAX_Result AAX_VViewContainer::HandleParameterMouseUp (AAX_CParamID id, uint32_t modifiers)
{
    return AAX_ForwardTo (hostViewContainer, AAX_ERROR_UNIMPLEMENTED,
                          [&] (auto& h) { return h.HandleParameterMouseUp (id, modifiers); });
}

AAX_Result AAX_VViewContainer::HandleMultipleParametersMouseDown (const AAX_CParamID* ids, uint32_t count,
                                                                  uint32_t modifiers)
{
    return AAX_ForwardTo (hostViewContainerV2, AAX_ERROR_UNIMPLEMENTED,
                          [&] (auto& h) { return h.HandleMultipleParametersMouseDown (ids, count, modifiers); });
}

AAX_Result AAX_VViewContainer::HandleMultipleParametersMouseDrag (const AAX_CParamID* ids, uint32_t count,
                                                                  uint32_t modifiers)
{
    return AAX_ForwardTo (hostViewContainerV2, AAX_ERROR_UNIMPLEMENTED,
                          [&] (auto& h) { return h.HandleMultipleParametersMouseDrag (ids, count, modifiers); });
}

AAX_Result AAX_VViewContainer::HandleMultipleParametersMouseUp (const AAX_CParamID* ids, uint32_t count,
                                                                uint32_t modifiers)
{
    return AAX_ForwardTo (hostViewContainerV2, AAX_ERROR_UNIMPLEMENTED,
                          [&] (auto& h) { return h.HandleMultipleParametersMouseUp (ids, count, modifiers); });
}
