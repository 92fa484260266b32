// The module's one host-services proxy, for trace text from anywhere in the library.
#pragma once

#include "AAX.h"

class IACFUnknown;

class AAX_CHostServices
{
public:
    AAX_CHostServices() = delete;

    /** Builds the proxy on the first non-null host; null deletes it. A second
        host while one is kept changes nothing. */
    static void Set (IACFUnknown* host);

    /** Formats printf-style, cut to 511 characters, and sends the text to the
        host; 0 without host services. */
    static AAX_Result Trace (AAX_ETracePriorityHost priority, const char* format, ...)
        __attribute__ ((format (printf, 2, 3)));
};
