// The host's view container, reached through its versioned interfaces.
// Without the first version it reports no view rather than an error.
#pragma once

#include "ACFPtr.h"
#include "AAX_IACFViewContainer.h"
#include "AAX_IViewContainer.h"

class AAX_VViewContainer : public AAX_IViewContainer
{
public:
    /** Asks container for every view-container version it offers; null gives none. */
    explicit AAX_VViewContainer (IACFUnknown* container);
    ~AAX_VViewContainer() override;

    /** 0 without a host container. */
    int32_t GetType() override;
    /** Null without a host container. */
    void* GetPtr() override;
    AAX_Result GetModifiers (uint32_t* outModifiers) override;
    /** 0, doing nothing, without a host container. */
    AAX_Result SetViewSize (AAX_Point& size) override;
    AAX_Result HandleParameterMouseDown (AAX_CParamID id, uint32_t modifiers) override;
    AAX_Result HandleParameterMouseDrag (AAX_CParamID id, uint32_t modifiers) override;
    AAX_Result HandleParameterMouseUp (AAX_CParamID id, uint32_t modifiers) override;
    AAX_Result HandleMultipleParametersMouseDown (const AAX_CParamID* ids, uint32_t count, uint32_t modifiers) override;
    AAX_Result HandleMultipleParametersMouseDrag (const AAX_CParamID* ids, uint32_t count, uint32_t modifiers) override;
    AAX_Result HandleMultipleParametersMouseUp (const AAX_CParamID* ids, uint32_t count, uint32_t modifiers) override;

private:
    ACFPtr<AAX_IACFViewContainer> hostViewContainer;
    ACFPtr<AAX_IACFViewContainer_V2> hostViewContainerV2;
};
