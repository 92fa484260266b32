#include "VstMessageLoop.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <pthread.h>

namespace juce
{
    // JUCE's Linux event loop, in juce_linux_Messaging.cpp: dispatches what
    // is ready on the message queue and the X connection, and returns false
    // when nothing was. One thread at a time may call it.
    bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
}

namespace
{
    // How long the private thread rests when nothing is pending, as JUCE's own
    // plug-in message thread does; a host thread that wants the loop wakes it.
    constexpr auto restWhenIdle = std::chrono::milliseconds (1);

    // A host that idles its windows does so many times a second; after this
    // long without a turn it is taken to have stopped, and the private thread
    // carries on with the windows.
    constexpr auto hostSilenceLimit = std::chrono::milliseconds (250);
}

//==============================================================================
VstMessageLoop::VstMessageLoop()
{
    std::unique_lock<std::mutex> held (lock);
    privateThread = std::thread ([this] { run(); });
    changed.wait (held, [this] { return started; });
}

VstMessageLoop::~VstMessageLoop()
{
    {
        const std::lock_guard<std::mutex> held (lock);
        stopping = true;
    }

    changed.notify_all();
    privateThread.join();
    juce::MessageManager::getInstance()->setCurrentThreadAsMessageThread();
}

void VstMessageLoop::hold (std::thread::id caller)
{
    if (holder == caller)
        return;

    holder = caller;
    juce::MessageManager::getInstance()->setCurrentThreadAsMessageThread();
}

//==============================================================================
void VstMessageLoop::run()
{
    pthread_setname_np (pthread_self(), "VST2 messages");
    std::unique_lock<std::mutex> held (lock);
    privateThreadId = std::this_thread::get_id();
    hold (privateThreadId);
    depth = 1;

    // As JUCE's own plug-in message thread does, before any window exists.
    held.unlock();
    juce::XWindowSystem::getInstance();
    held.lock();
    depth = 0;
    started = true;
    changed.notify_all();

    for (;;)
    {
        waitForPrivateTurn (held);

        if (stopping)
            return;

        hold (privateThreadId);
        depth = 1;
        held.unlock();
        const bool dispatched = juce::dispatchNextMessageOnSystemQueue (true);
        held.lock();
        depth = 0;

        if (waitingHostThreads > 0)
            changed.notify_all();

        if (! dispatched)
            changed.wait_for (held, restWhenIdle, [this] { return stopping || waitingHostThreads > 0; });
    }
}

void VstMessageLoop::waitForPrivateTurn (std::unique_lock<std::mutex>& held)
{
    while (! stopping)
    {
        const bool free = depth == 0 && waitingHostThreads == 0;

        if (free && (holder == privateThreadId || hostIdledWindows == 0))
            return;

        // A host that idles a window keeps the loop while its turns come; the
        // end of a turn is then not announced, so look again in time.
        const auto silentFrom = free ? lastHostTurn + hostSilenceLimit : Clock::now() + hostSilenceLimit;

        if (free && Clock::now() >= silentFrom)
            return;

        changed.wait_until (held, silentFrom);
    }
}

//==============================================================================
bool VstMessageLoop::beginHostTurn (bool mayWaitForHostThreads)
{
    const auto caller = std::this_thread::get_id();
    std::unique_lock<std::mutex> held (lock);

    if (holder == caller && depth > 0)
    {
        ++depth;
        return true;
    }

    ++waitingHostThreads;
    changed.notify_all();
    changed.wait (held, [&] { return depth == 0 || (! mayWaitForHostThreads && holder != privateThreadId); });
    --waitingHostThreads;

    if (depth > 0)
    {
        // The private thread waits while any host thread does.
        changed.notify_all();
        return false;
    }

    hold (caller);
    depth = 1;
    return true;
}

void VstMessageLoop::endHostTurn()
{
    {
        const std::lock_guard<std::mutex> held (lock);

        if (--depth > 0)
            return;

        lastHostTurn = Clock::now();

        // While the host idles a window, the private thread waits on a clock
        // and only another host thread may go on now.
        if (hostIdledWindows > 0 && waitingHostThreads == 0)
            return;
    }

    changed.notify_all();
}

void VstMessageLoop::countHostIdledWindow (bool opened)
{
    {
        const std::lock_guard<std::mutex> held (lock);
        hostIdledWindows += opened ? 1 : -1;
        lastHostTurn = Clock::now();
    }

    changed.notify_all();
}

void VstMessageLoop::dispatchPendingEvents()
{
    if (dispatchingInTurn)
        return;

    const juce::ScopedValueSetter<bool> dispatching (dispatchingInTurn, true);

    while (juce::dispatchNextMessageOnSystemQueue (true))
    {
    }
}

//==============================================================================
VstMessageLoop::Turn::Turn (VstMessageLoop& l, Waiting waiting)
    : loop (l), taken (loop.beginHostTurn (waiting == Waiting::forAnyone))
{
}

VstMessageLoop::Turn::~Turn()
{
    if (taken)
        loop.endHostTurn();
}
