#pragma once

#include <juce_events/juce_events.h>

#include <functional>

namespace juce
{
    // JUCE's Linux message queue pump (what a plug-in host's message thread
    // runs): timers, posted clicks, X events and file-browser listings arrive through it.
    bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
}

namespace modulix_test
{

/** Runs this thread's message loop until the condition holds or the time is up;
    returns whether it held. */
inline bool pumpUntil (const std::function<bool()>& condition, int timeoutMs = 3000)
{
    const auto end = juce::Time::getMillisecondCounter() + static_cast<juce::uint32> (timeoutMs);

    while (! condition())
    {
        if (juce::Time::getMillisecondCounter() >= end)
            return false;
        if (! juce::dispatchNextMessageOnSystemQueue (true))
            juce::Thread::sleep (1);
    }
    return true;
}

/** Runs this thread's message loop for that long. */
inline void pumpMessages (int milliseconds)
{
    pumpUntil ([] { return false; }, milliseconds);
}

} // namespace modulix_test
