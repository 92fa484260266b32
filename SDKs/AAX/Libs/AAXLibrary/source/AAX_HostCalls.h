// How the proxies obtain host interfaces and forward calls to them.
#pragma once

#include "ACFPtr.h"
#include "AAX_UIDs.h"

#include <type_traits>

/** Asks unknown for iid; the answer is kept only when the host grants it with
    a pointer. A refusal, or a null unknown, leaves into empty. */
template <class T>
void AAX_QueryHostInterface (IACFUnknown* unknown, const acfIID& iid, ACFPtr<T>& into)
{
    into.Clear();

    if (unknown == nullptr)
        return;

    void* answer = nullptr;

    if (unknown->QueryInterface (iid, &answer) == ACF_OK && answer != nullptr)
        *into.OutArgument() = answer;
}

/** Creates the host component clsid through factory and keeps its interface
    iid in into; a refusal leaves into empty. */
template <class T>
void AAX_CreateHostObject (IACFComponentFactory& factory, const acfCLSID& clsid, const acfIID& iid, ACFPtr<T>& into)
{
    into.Clear();
    void* answer = nullptr;

    if (factory.CreateInstance (clsid, nullptr, iid, &answer) == ACF_OK && answer != nullptr)
        *into.OutArgument() = answer;
}

/** The result of call on the host interface, or missing when the host did not
    provide that interface. */
template <class T, class Call>
std::invoke_result_t<Call, T&> AAX_ForwardTo (const ACFPtr<T>& host, std::invoke_result_t<Call, T&> missing, Call&& call)
{
    if (auto* h = host.Get())
        return call (*h);

    return missing;
}
