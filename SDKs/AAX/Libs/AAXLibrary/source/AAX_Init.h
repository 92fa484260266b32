// The AAX functions behind the module's ACF entry functions, and the
// description function that the plug-in supplies.
#pragma once

#include "AAX.h"
#include "ACFUnknown.h"

class AAX_ICollection;

/** Supplied by the plug-in: describes its effects in the collection. */
AAX_Result GetEffectDescriptions (AAX_ICollection* collection);

/** The value ACFGetSDKVersion reports. */
constexpr uint64_t AAX_SDKVersion = 0x0000020200B45B38ull;

/** Describes the plug-in through a collection on host and hands back the
    host's plug-in definition; -20004 when the host gives none. */
ACFRESULT AAXRegisterPlugin (IACFUnknown* host, IACFPluginDefinition** outDefinition);
/** No components are registered one by one: null and 0. */
ACFRESULT AAXRegisterComponent (IACFUnknown* host, uint32_t index, IACFComponentDefinition** outDefinition);
/** There is no class factory: null and -20009. */
ACFRESULT AAXGetClassFactory (IACFUnknown* host, const acfCLSID& component, const acfIID& iid, void** outFactory);
/** The number of live objects: 0 lets the host unload the module. */
ACFRESULT AAXCanUnloadNow (IACFUnknown* host);
/** Keeps host as the library's host services. */
ACFRESULT AAXStartup (IACFUnknown* host);
/** Drops the host services. */
ACFRESULT AAXShutdown (IACFUnknown* host);
/** Writes AAX_SDKVersion. */
ACFRESULT AAXGetSDKVersion (uint64_t* outVersion);
