#pragma once

#include <juce_core/juce_core.h>

#include <cstdlib>

#include <sched.h>
#include <sys/mount.h>

namespace modulix_test
{

/** Whether this process may give a child a mount namespace of its own (root in a
    container that allows it). */
inline bool canMountPrivately()
{
    return std::system ("unshare --mount true >/dev/null 2>&1") == 0;
}

/** In a mount namespace of this process's own, so that what is mounted vanishes with it. */
inline bool enterPrivateMounts()
{
    return ::unshare (CLONE_NEWNS) == 0 && ::mount (nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

/** Makes a folder read-only where it is, by mounting it on itself read-only. */
inline bool remountReadOnly (const char* folder)
{
    return ::mount (folder, folder, nullptr, MS_BIND, nullptr) == 0
        && ::mount (nullptr, folder, nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

/** Runs each case (with members what and needsMount) that this machine can arrange,
    and returns the names of those it cannot, for the test to say so as it skips. */
template <typename Cases, typename Run>
juce::StringArray runArrangeableCases (const Cases& cases, Run&& run)
{
    const bool mountsPossible = canMountPrivately();
    juce::StringArray untested;

    for (const auto& c : cases)
    {
        if (c.needsMount && ! mountsPossible)
            untested.add (c.what);
        else
            run (c);
    }

    return untested;
}

} // namespace modulix_test
