// The host's assertion and trace services, created through its component factory.
#pragma once

#include "ACFPtr.h"
#include "AAX_IACFHostServices.h"
#include "AAX_IHostServices.h"

class AAX_VHostServices : public AAX_IHostServices
{
public:
    /** Creates both service versions through host's component factory; a null
        host, or one without a factory, gives none. */
    explicit AAX_VHostServices (IACFUnknown* host);
    ~AAX_VHostServices() override;

    AAX_Result Assert (const char* file, int32_t line, const char* note) override;
    AAX_Result Trace (int32_t priority, const char* message) override;
    AAX_Result StackTrace (int32_t traceLevel, int32_t stackTraceLevel, const char* message) override;

private:
    ACFPtr<AAX_IACFHostServices> hostServices;
    ACFPtr<AAX_IACFHostServices_V2> hostServicesV2;
};
