// The effect GUI object's host-facing interface together with its
// reference-counted object base.
#pragma once

#include "AAX_IACFEffectGUI.h"
#include "CACFUnknown.h"

class AAX_IEffectGUI : public AAX_IACFEffectGUI, public CACFUnknown
{
public:
    // The host's reference counting and queries go to the object base.
    ACFRESULT QueryInterface (const acfIID& iid, void** out) override  { return GetOuterIUnknown()->QueryInterface (iid, out); }
    uint32_t AddRef() override  { return GetOuterIUnknown()->AddRef(); }
    uint32_t Release() override  { return GetOuterIUnknown()->Release(); }

    /** Answers the GUI interface with this object. */
    ACFRESULT InternalQueryInterface (const acfIID& iid, void** out) override;

    ~AAX_IEffectGUI() override = default;
};
