// The host framework's (ACF) base interfaces: interface identifiers, the
// reference-counted unknown, the component factory and the definitions that
// registration hands back.
#pragma once

#include <cstdint>

using ACFRESULT = int32_t;

/** ACF results outside the AAX library's own table. */
constexpr ACFRESULT ACF_OK = 0;
constexpr ACFRESULT ACF_E_NOINTERFACE = static_cast<ACFRESULT> (0x80000004u);  ///< no such interface
constexpr ACFRESULT ACF_E_POINTER = static_cast<ACFRESULT> (0x80000005u);      ///< a null interface was used
constexpr ACFRESULT ACF_E_UNEXPECTED = static_cast<ACFRESULT> (0x8000FFFFu);   ///< an exception reached an entry

/** A 16-byte identifier: a 32-bit word, two 16-bit words and eight bytes. */
struct _acfUID
{
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};

using acfUID = _acfUID;
using acfIID = _acfUID;
using acfCLSID = _acfUID;

/** Two identifiers are equal when all four parts are. */
constexpr bool operator== (const _acfUID& a, const _acfUID& b) noexcept
{
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3)
        return false;

    for (int i = 0; i < 8; ++i)
        if (a.Data4[i] != b.Data4[i])
            return false;

    return true;
}

constexpr bool operator!= (const _acfUID& a, const _acfUID& b) noexcept  { return ! (a == b); }

/** The base of every host-framework interface. Objects are destroyed through
    Release only, so the destructor is not part of the interface. */
class IACFUnknown
{
public:
    virtual ACFRESULT QueryInterface (const acfIID& iid, void** out) = 0;   // slot 0
    virtual uint32_t AddRef() = 0;                                          // slot 1
    virtual uint32_t Release() = 0;                                         // slot 2

protected:
    ~IACFUnknown() = default;
};

/** Creates host components by class identifier. */
class IACFComponentFactory : public IACFUnknown
{
public:
    /** Creates the component clsid (not aggregated when outer is null) and
        writes its interface iid, with one reference, to out. */
    virtual ACFRESULT CreateInstance (const acfCLSID& clsid, IACFUnknown* outer,
                                      const acfIID& iid, void** out) = 0;   // slot 3

protected:
    ~IACFComponentFactory() = default;
};

/** What registration hands back to the host; the library only passes it on. */
class IACFPluginDefinition : public IACFUnknown
{
protected:
    ~IACFPluginDefinition() = default;
};

class IACFComponentDefinition : public IACFUnknown
{
protected:
    ~IACFComponentDefinition() = default;
};
