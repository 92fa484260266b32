// The base of every object that the host holds: reference counting, interface
// queries and the module-wide count of live objects.
#pragma once

#include "ACFUnknown.h"

#include <atomic>

class CACFUnknown
{
public:
    /** Starts with no references and counts the object as live. */
    CACFUnknown();
    /** No longer counts the object as live. */
    virtual ~CACFUnknown();

    CACFUnknown (const CACFUnknown&) = delete;
    CACFUnknown& operator= (const CACFUnknown&) = delete;

    /** Returns 0; a hook for objects that need the outer unknown. */
    virtual ACFRESULT InitializeInstance (IACFUnknown* outer);
    /** Runs just before the last Release deletes the object. */
    virtual void FinalRelease();
    /** Deletes the object. */
    virtual void ReclaimMemory();
    /** Answers IID_IACFUnknown with the private unknown; ACF_E_NOINTERFACE otherwise,
        ACF_E_POINTER without a place for the answer. */
    virtual ACFRESULT InternalQueryInterface (const acfIID& iid, void** out);
    /** Adds a reference; returns the new count. */
    virtual uint32_t InternalAddRef();
    /** Drops a reference and deletes the object at 0; returns the new count. */
    virtual uint32_t InternalRelease();

    /** The number of CACFUnknown objects alive in this module. */
    static int32_t GetActiveObjectCount() noexcept;

protected:
    /** Where QueryInterface, AddRef and Release of the host-facing interface go. */
    IACFUnknown* GetOuterIUnknown() const noexcept  { return outerUnknown; }

private:
    /** The object's own IACFUnknown, reaching the owner's overridable operations. */
    class PrivateUnknown final : public IACFUnknown
    {
    public:
        explicit PrivateUnknown (CACFUnknown& ownerToUse) noexcept : owner (ownerToUse) {}

        ACFRESULT QueryInterface (const acfIID& iid, void** out) override  { return owner.InternalQueryInterface (iid, out); }
        uint32_t AddRef() override  { return owner.InternalAddRef(); }
        uint32_t Release() override  { return owner.InternalRelease(); }

    private:
        CACFUnknown& owner;
    };

    std::atomic<int32_t> referenceCount { 0 };
    IACFUnknown* outerUnknown;
    PrivateUnknown privateUnknown;

    static std::atomic<int32_t> m_ActiveObjects;
};
