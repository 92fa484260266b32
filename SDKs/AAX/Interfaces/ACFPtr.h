// Holds one reference to a host interface and releases it when destroyed.
#pragma once

#include "ACFUnknown.h"

template <class T>
class ACFPtr
{
public:
    ACFPtr() noexcept = default;
    ~ACFPtr()  { Clear(); }

    ACFPtr (const ACFPtr&) = delete;
    ACFPtr& operator= (const ACFPtr&) = delete;

    /** Holds p with a reference of its own (AddRef); a null p holds nothing. */
    void Assign (T* p)
    {
        if (p != nullptr)
            p->AddRef();

        Clear();
        raw = p;
    }

    /** Releases what is held and gives a place for a host call to write a new
        interface pointer, with its reference, into. */
    void** OutArgument()
    {
        Clear();
        return &raw;
    }

    /** Releases what is held. */
    void Clear()
    {
        if (auto* p = Get())
        {
            raw = nullptr;
            p->Release();
        }
    }

    T* Get() const noexcept  { return static_cast<T*> (raw); }
    explicit operator bool() const noexcept  { return raw != nullptr; }

    /** The held pointer; throws ACF_E_POINTER when there is none. */
    T* operator->() const
    {
        if (raw == nullptr)
            throw ACF_E_POINTER;

        return Get();
    }

private:
    void* raw = nullptr;
};
