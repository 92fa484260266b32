#pragma once

#include <juce_events/juce_events.h>

#include <atomic>
#include <functional>
#include <memory>

namespace juce
{
    // JUCE's Linux message queue pump (what a plug-in host's message thread
    // runs): timers, posted clicks, X events and file-browser listings arrive through it.
    bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
}

namespace modulix_test
{

/** A bound for waits on something that must happen soon: long enough that only
    a hang reaches it, also in a sanitizer build on a loaded machine. */
constexpr int generousWaitMs = 20000;

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

/** Runs this thread's message loop until every message posted before this call
    has been delivered (a posted click, say, whether or not its button takes
    it), then on while more are waiting, such as those the delivered ones
    posted; false when the messages posted before do not arrive in time. */
inline bool deliverPostedMessages (int timeoutMs = generousWaitMs)
{
    // The queue is first in, first out: once this marker arrives, all before it have.
    const auto delivered = std::make_shared<std::atomic<bool>> (false);
    juce::MessageManager::callAsync ([delivered] { *delivered = true; });

    if (! pumpUntil ([&delivered] { return delivered->load(); }, timeoutMs))
        return false;

    const auto end = juce::Time::getMillisecondCounter() + static_cast<juce::uint32> (timeoutMs);

    while (juce::dispatchNextMessageOnSystemQueue (true) && juce::Time::getMillisecondCounter() < end)
    {
    }

    return true;
}

/** Runs this thread's message loop for that long. */
inline void pumpMessages (int milliseconds)
{
    pumpUntil ([] { return false; }, milliseconds);
}

} // namespace modulix_test
