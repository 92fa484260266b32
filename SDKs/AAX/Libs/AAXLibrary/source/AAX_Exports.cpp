// The seven functions a host looks up by name in the module. Each hands its
// arguments to the AAX function of the same purpose; no exception crosses
// into the host, whose framework has no way to receive one.
#include "AAX_Init.h"

#include <utility>

#define AAX_ENTRY extern "C" __attribute__ ((visibility ("default")))

namespace
{
    template <class Function, class... Arguments>
    ACFRESULT callGuarded (Function function, Arguments&&... arguments) noexcept
    {
        try
        {
            return function (std::forward<Arguments> (arguments)...);
        }
        catch (...)
        {
            return ACF_E_UNEXPECTED;
        }
    }
}

AAX_ENTRY ACFRESULT ACFRegisterPlugin (IACFUnknown* host, IACFPluginDefinition** outDefinition)
{
    return callGuarded (AAXRegisterPlugin, host, outDefinition);
}

AAX_ENTRY ACFRESULT ACFRegisterComponent (IACFUnknown* host, uint32_t index, IACFComponentDefinition** outDefinition)
{
    return callGuarded (AAXRegisterComponent, host, index, outDefinition);
}

AAX_ENTRY ACFRESULT ACFGetClassFactory (IACFUnknown* host, const acfCLSID& component, const acfIID& iid, void** outFactory)
{
    return callGuarded (AAXGetClassFactory, host, component, iid, outFactory);
}

AAX_ENTRY ACFRESULT ACFCanUnloadNow (IACFUnknown* host)
{
    return callGuarded (AAXCanUnloadNow, host);
}

AAX_ENTRY ACFRESULT ACFStartup (IACFUnknown* host)
{
    return callGuarded (AAXStartup, host);
}

AAX_ENTRY ACFRESULT ACFShutdown (IACFUnknown* host)
{
    return callGuarded (AAXShutdown, host);
}

AAX_ENTRY ACFRESULT ACFGetSDKVersion (uint64_t* outVersion)
{
    return callGuarded (AAXGetSDKVersion, outVersion);
}

/** The loader runs this as the module is unloaded; the library keeps nothing
    that needs ending then (ACFShutdown has dropped the host services). The
    compiler drops a termination routine whose body is empty, registration and
    all: the empty statement the optimiser may not remove keeps it there. */
__attribute__ ((destructor)) static void module_term_routine()
{
    asm volatile ("");
}
