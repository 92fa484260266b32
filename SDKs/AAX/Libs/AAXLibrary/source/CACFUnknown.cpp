#include "CACFUnknown.h"

#include "AAX_UIDs.h"

std::atomic<int32_t> CACFUnknown::m_ActiveObjects { 0 };

CACFUnknown::CACFUnknown()
    : outerUnknown (&privateUnknown),
      privateUnknown (*this)
{
    m_ActiveObjects.fetch_add (1);
}

CACFUnknown::~CACFUnknown()
{
    m_ActiveObjects.fetch_sub (1);
}

ACFRESULT CACFUnknown::InitializeInstance (IACFUnknown*)
{
    return ACF_OK;
}

void CACFUnknown::FinalRelease()
{
}

void CACFUnknown::ReclaimMemory()
{
    delete this;
}

ACFRESULT CACFUnknown::InternalQueryInterface (const acfIID& iid, void** out)
{
    if (out == nullptr)
        return ACF_E_POINTER;

    *out = nullptr;

    if (iid != IID_IACFUnknown)
        return ACF_E_NOINTERFACE;

    *out = &privateUnknown;
    privateUnknown.AddRef();
    return ACF_OK;
}

uint32_t CACFUnknown::InternalAddRef()
{
    return static_cast<uint32_t> (referenceCount.fetch_add (1) + 1);
}

uint32_t CACFUnknown::InternalRelease()
{
    const auto count = referenceCount.fetch_sub (1) - 1;

    // Exactly one Release, on whichever thread, sees the count reach 0.
    if (count == 0)
    {
        FinalRelease();
        ReclaimMemory();
    }

    return static_cast<uint32_t> (count);
}

int32_t CACFUnknown::GetActiveObjectCount() noexcept
{
    return m_ActiveObjects.load();
}
