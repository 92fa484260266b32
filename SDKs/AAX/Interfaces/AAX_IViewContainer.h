// The plug-in side's view of the host's view container.
#pragma once

#include "AAX.h"

class AAX_IViewContainer
{
public:
    virtual ~AAX_IViewContainer() = default;

    /** An AAX_EViewContainer_Type; 1 is a native view. */
    virtual int32_t GetType() = 0;
    /** The host's native view, or null. */
    virtual void* GetPtr() = 0;
    virtual AAX_Result GetModifiers (uint32_t* outModifiers) = 0;
    virtual AAX_Result SetViewSize (AAX_Point& size) = 0;
    virtual AAX_Result HandleParameterMouseDown (AAX_CParamID id, uint32_t modifiers) = 0;
    virtual AAX_Result HandleParameterMouseDrag (AAX_CParamID id, uint32_t modifiers) = 0;
    virtual AAX_Result HandleParameterMouseUp (AAX_CParamID id, uint32_t modifiers) = 0;
    virtual AAX_Result HandleMultipleParametersMouseDown (const AAX_CParamID* ids, uint32_t count,
                                                          uint32_t modifiers) = 0;
    virtual AAX_Result HandleMultipleParametersMouseDrag (const AAX_CParamID* ids, uint32_t count,
                                                          uint32_t modifiers) = 0;
    virtual AAX_Result HandleMultipleParametersMouseUp (const AAX_CParamID* ids, uint32_t count,
                                                        uint32_t modifiers) = 0;
};
