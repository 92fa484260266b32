#pragma once

#include <juce_events/juce_events.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

/** JUCE's event loop for every VST2 instance in the process, handed between a
    private thread and the host's threads. JUCE has one message thread per
    process: here it is whichever thread holds the loop, and only that thread
    dispatches.

    The private thread holds the loop while no host thread wants it, so
    windows, timers and clicks work for hosts that never send idle calls. A
    host thread takes the loop for a turn to open, close or idle a window or to
    close an instance; during its turn it is JUCE's message thread and needs
    to wait for no one. While a window that the host idles is open, the host
    thread keeps the loop between its turns, so the editor's events run on the
    host's GUI thread inside its idle calls, as in JUCE's own VST2 wrapper. The
    private thread takes the loop back once no such window is open, or when
    the host has taken no turn for a while.

    A host thread may wait for the private thread, which never calls the host
    (VstHostNotifier holds back whatever it would tell the host); it waits for
    another host thread only to open or close a window or an instance, never
    to idle. Share one through juce::SharedResourcePointer. */
class VstMessageLoop
{
public:
    /** Starts the private thread and returns once it is JUCE's message thread. */
    VstMessageLoop();

    /** Stops the private thread and makes the calling thread JUCE's message
        thread, for JUCE's shutdown that may follow on it. */
    ~VstMessageLoop();

    /** While it lives, the calling host thread holds the loop and is JUCE's
        message thread. Turns nest on one thread. */
    class Turn
    {
    public:
        /** Whom a thread that wants a turn waits for. */
        enum class Waiting
        {
            forAnyone,            // the private thread or another host thread's turn
            forPrivateThreadOnly  // no turn, rather than wait for another host thread
        };

        /** Waits until the private thread has dispatched what it is
            dispatching, or, if allowed, until another host thread's turn ends. */
        explicit Turn (VstMessageLoop& loop, Waiting waiting = Waiting::forAnyone);
        ~Turn();

        /** False when another host thread had its turn and this one would not wait. */
        bool isTaken() const noexcept  { return taken; }

        Turn (const Turn&) = delete;
        Turn& operator= (const Turn&) = delete;

    private:
        VstMessageLoop& loop;
        const bool taken;
    };

    /** Dispatches everything pending for all instances, until nothing is;
        only on a thread that has taken a turn. Inside an event that this
        dispatches (a host that idles again from a call the event made), it
        does nothing: the outer call goes on with the rest. */
    void dispatchPendingEvents();

    /** Tells the loop that a window the host idles has opened (true) or closed
        (false); host threads keep the loop between turns while one is open. */
    void countHostIdledWindow (bool opened);

private:
    using Clock = std::chrono::steady_clock;

    void run();
    void waitForPrivateTurn (std::unique_lock<std::mutex>& held);
    bool beginHostTurn (bool mayWaitForHostThreads);
    void endHostTurn();
    /** Makes the calling thread the holder and JUCE's message thread. */
    void hold (std::thread::id caller);

    std::mutex lock;
    std::condition_variable changed;

    // Under the lock. depth counts the holder's nested turns; the private
    // thread counts one while it dispatches.
    std::thread::id holder, privateThreadId;
    int depth = 0;
    int waitingHostThreads = 0;
    int hostIdledWindows = 0;
    Clock::time_point lastHostTurn;
    bool started = false, stopping = false;

    bool dispatchingInTurn = false;  // only the holder, in its turn

    std::thread privateThread;

    JUCE_DECLARE_NON_COPYABLE (VstMessageLoop)
};
