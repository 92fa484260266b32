#include "AAX_IEffectGUI.h"

#include "AAX_UIDs.h"

ACFRESULT AAX_IEffectGUI::InternalQueryInterface (const acfIID& iid, void** out)
{
    if (out == nullptr)
        return ACF_E_POINTER;

    if (iid == IID_IAAXEffectGUIV1)
    {
        *out = static_cast<AAX_IACFEffectGUI*> (this);
        AddRef();
        return ACF_OK;
    }

    return CACFUnknown::InternalQueryInterface (iid, out);
}
