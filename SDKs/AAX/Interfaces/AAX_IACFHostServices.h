// The host's services for assertions and trace text.
#pragma once

#include "AAX.h"
#include "ACFUnknown.h"

class AAX_IACFHostServices : public IACFUnknown
{
public:
    virtual AAX_Result Assert (const char* file, int32_t line, const char* note) = 0;        // slot 3
    virtual AAX_Result Trace (int32_t priority, const char* message) = 0;                    // slot 4

protected:
    ~AAX_IACFHostServices() = default;
};

class AAX_IACFHostServices_V2 : public AAX_IACFHostServices
{
public:
    virtual AAX_Result StackTrace (int32_t traceLevel, int32_t stackTraceLevel, const char* message) = 0;  // slot 5

protected:
    ~AAX_IACFHostServices_V2() = default;
};
