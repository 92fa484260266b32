#include "AAX_Init.h"

#include "AAX_CHostServices.h"
#include "AAX_UIDs.h"
#include "AAX_VCollection.h"
#include "CACFUnknown.h"

ACFRESULT AAXRegisterPlugin (IACFUnknown* host, IACFPluginDefinition** outDefinition)
{
    if (outDefinition == nullptr)
        return AAX_ERROR_NULL_OBJECT;

    AAX_VCollection collection (host);

    if (const auto result = GetEffectDescriptions (&collection); result != AAX_SUCCESS)
        return result;

    *outDefinition = nullptr;
    auto* hostCollection = collection.GetIUnknown();

    // Without a host collection there is no definition to hand back.
    if (hostCollection == nullptr)
        return AAX_ERROR_NULL_OBJECT;

    void* definition = nullptr;

    if (hostCollection->QueryInterface (IID_IACFPluginDefinition, &definition) != ACF_OK || definition == nullptr)
        return AAX_ERROR_NULL_OBJECT;

    *outDefinition = static_cast<IACFPluginDefinition*> (definition);
    return AAX_SUCCESS;
}

ACFRESULT AAXRegisterComponent (IACFUnknown*, uint32_t, IACFComponentDefinition** outDefinition)
{
    if (outDefinition != nullptr)
        *outDefinition = nullptr;

    return AAX_SUCCESS;
}

ACFRESULT AAXGetClassFactory (IACFUnknown*, const acfCLSID&, const acfIID&, void** outFactory)
{
    if (outFactory != nullptr)
        *outFactory = nullptr;

    return AAX_ERROR_UNIMPLEMENTED;
}

ACFRESULT AAXCanUnloadNow (IACFUnknown*)
{
    return CACFUnknown::GetActiveObjectCount();
}

ACFRESULT AAXStartup (IACFUnknown* host)
{
    AAX_CHostServices::Set (host);
    return AAX_SUCCESS;
}

ACFRESULT AAXShutdown (IACFUnknown*)
{
    AAX_CHostServices::Set (nullptr);
    return AAX_SUCCESS;
}

ACFRESULT AAXGetSDKVersion (uint64_t* outVersion)
{
    if (outVersion == nullptr)
        return AAX_ERROR_NULL_OBJECT;

    *outVersion = AAX_SDKVersion;
    return AAX_SUCCESS;
}
