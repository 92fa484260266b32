#include "AAX_IEffectParameters.h"

#include "AAX_UIDs.h"

#include <initializer_list>

ACFRESULT AAX_IEffectParameters::InternalQueryInterface (const acfIID& iid, void** out)
{
    if (out == nullptr)
        return ACF_E_POINTER;

    for (const auto& version : { IID_IAAXEffectParametersV1, IID_IAAXEffectParametersV2, IID_IAAXEffectParametersV3 })
    {
        if (iid == version)
        {
            // Every version is this object's own start, where the host's interface lives.
            *out = static_cast<AAX_IACFEffectParameters_V3*> (this);
            AddRef();
            return ACF_OK;
        }
    }

    return CACFUnknown::InternalQueryInterface (iid, out);
}
