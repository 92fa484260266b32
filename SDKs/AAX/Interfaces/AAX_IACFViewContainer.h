// The host's view container: the native window area an editor lives in.
#pragma once

#include "AAX.h"
#include "ACFUnknown.h"

class AAX_IACFViewContainer : public IACFUnknown
{
public:
    virtual int32_t GetType() = 0;                                                              // slot 3
    virtual void* GetPtr() = 0;                                                                 // slot 4
    virtual AAX_Result GetModifiers (uint32_t* outModifiers) = 0;                               // slot 5
    virtual AAX_Result SetViewSize (AAX_Point& size) = 0;                                       // slot 6
    virtual AAX_Result HandleParameterMouseDown (AAX_CParamID id, uint32_t modifiers) = 0;      // slot 7
    virtual AAX_Result HandleParameterMouseDrag (AAX_CParamID id, uint32_t modifiers) = 0;      // slot 8
    virtual AAX_Result HandleParameterMouseUp (AAX_CParamID id, uint32_t modifiers) = 0;        // slot 9

protected:
    ~AAX_IACFViewContainer() = default;
};

class AAX_IACFViewContainer_V2 : public AAX_IACFViewContainer
{
public:
    virtual AAX_Result HandleMultipleParametersMouseDown (const AAX_CParamID* ids, uint32_t count,
                                                          uint32_t modifiers) = 0;              // slot 10
    virtual AAX_Result HandleMultipleParametersMouseDrag (const AAX_CParamID* ids, uint32_t count,
                                                          uint32_t modifiers) = 0;              // slot 11
    virtual AAX_Result HandleMultipleParametersMouseUp (const AAX_CParamID* ids, uint32_t count,
                                                        uint32_t modifiers) = 0;                // slot 12

protected:
    ~AAX_IACFViewContainer_V2() = default;
};
