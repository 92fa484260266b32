#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

/** Tells a VST2 host of automation, edit gestures and display changes, and
    only ever from a thread that is inside one of the host's calls into this
    instance.

    Hosts guard each instance with a lock of their own, taken around their
    calls and again when the plug-in calls them. A call from any other thread
    (JUCE's private message thread, or a host thread busy with another
    instance) could wait for that lock while its holder, inside a call, waits
    for that very thread. Such calls are held back and go out at the start of
    the host's next call: for each parameter its latest value, inside the edit
    gesture that began or ended meanwhile. */
class VstHostNotifier
{
public:
    /** Makes one call to the host: its opcode, index and value. */
    using Send = std::function<void (int32_t opcode, int32_t index, float value)>;

    VstHostNotifier (int numParameters, Send send);

    /** Marks the calling thread as inside a host call for as long as it
        lives; calls on one thread nest. Takes no lock and allocates nothing. */
    class HostCall
    {
    public:
        explicit HostCall (VstHostNotifier& notifier) noexcept;
        ~HostCall();

        HostCall (const HostCall&) = delete;
        HostCall& operator= (const HostCall&) = delete;

    private:
        std::atomic<std::thread::id>* slot = nullptr;
    };

    void automate (int index, float value);
    void beginEdit (int index);
    void endEdit (int index);
    void updateDisplay();

    /** Sends what was held back; call it inside a host call. Nothing happens
        while another thread sends. */
    void sendHeldBack();

    /** Drops what is held back and tells the host nothing more. */
    void stop();

private:
    struct HeldBack
    {
        bool begin = false, value = false, end = false;
        float latest = 0.0f;
    };

    bool isInsideHostCall() const noexcept;
    /** True when a change may go to the host directly: from inside a host call,
        with nothing older held back or being sent. */
    bool canSendAtOnce() const noexcept;
    /** Holds a change back behind the older ones, and sends them all at once when
        this thread is inside a host call. */
    template <typename Change>
    void holdBackInOrder (int index, Change&& change);
    void sendHeldBackIfInsideHostCall();
    /** Applies change to the parameter's held-back state; false for an index
        outside the parameters. */
    template <typename Change>
    bool holdBack (int index, Change&& change);
    /** Takes and sends the held-back calls of one parameter, or the display
        change; false when nothing was held back. */
    bool sendOneHeldBack();

    const Send send;

    // Enough for the threads a host runs into one instance at once; a thread
    // beyond them counts as outside, and what it says is held back.
    std::array<std::atomic<std::thread::id>, 8> callers {};

    std::mutex heldBackLock;
    std::vector<HeldBack> parameters;  // sized once, under heldBackLock
    bool displayChanged = false;       // under heldBackLock
    std::atomic<bool> anyHeldBack { false }, sending { false }, stopped { false };
};
