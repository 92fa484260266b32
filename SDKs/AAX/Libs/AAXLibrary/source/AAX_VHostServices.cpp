#include "AAX_VHostServices.h"

#include "AAX_HostCalls.h"

AAX_VHostServices::AAX_VHostServices (IACFUnknown* host)
{
    ACFPtr<IACFComponentFactory> factory;
    AAX_QueryHostInterface (host, IID_IACFComponentFactory, factory);

    if (factory)
    {
        AAX_CreateHostObject (*factory.Get(), AAXCompID_HostServices, IID_IAAXHostServicesV1, hostServices);
        AAX_CreateHostObject (*factory.Get(), AAXCompID_HostServices, IID_IAAXHostServicesV2, hostServicesV2);
    }
}

AAX_VHostServices::~AAX_VHostServices()
{
    hostServicesV2.Clear();
    hostServices.Clear();
}

AAX_Result AAX_VHostServices::Assert (const char* file, int32_t line, const char* note)
{
    return AAX_ForwardTo (hostServices, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.Assert (file, line, note); });
}

AAX_Result AAX_VHostServices::Trace (int32_t priority, const char* message)
{
    return AAX_ForwardTo (hostServices, AAX_ERROR_NULL_OBJECT, [&] (auto& h) { return h.Trace (priority, message); });
}

AAX_Result AAX_VHostServices::StackTrace (int32_t traceLevel, int32_t stackTraceLevel, const char* message)
{
    return AAX_ForwardTo (hostServicesV2, AAX_ERROR_UNIMPLEMENTED,
                          [&] (auto& h) { return h.StackTrace (traceLevel, stackTraceLevel, message); });
}
