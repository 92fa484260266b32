#include "AAX_CHostServices.h"

#include "AAX_VHostServices.h"

#include <cstdarg>
#include <cstdio>
#include <memory>
#include <mutex>

namespace
{
    // Set and Trace may come on different host threads; the lock keeps a
    // trace from using a proxy that shutdown is deleting.
    std::mutex hostServicesLock;
    std::unique_ptr<AAX_VHostServices> sHostServices;

    constexpr size_t traceBufferSize = 512;
}

void AAX_CHostServices::Set (IACFUnknown* host)
{
    const std::lock_guard<std::mutex> lock (hostServicesLock);

    if (sHostServices == nullptr && host != nullptr)
        sHostServices = std::make_unique<AAX_VHostServices> (host);
    else if (sHostServices != nullptr && host == nullptr)
        sHostServices.reset();
}

AAX_Result AAX_CHostServices::Trace (AAX_ETracePriorityHost priority, const char* format, ...)
{
    const std::lock_guard<std::mutex> lock (hostServicesLock);

    if (sHostServices == nullptr)
        return AAX_SUCCESS;

    char text[traceBufferSize];
    va_list arguments;
    va_start (arguments, format);
    std::vsnprintf (text, sizeof (text), format, arguments);
    va_end (arguments);

    return sHostServices->Trace (priority, text);
}
