#include "VstHostNotifier.h"

#include "AEffect.h"

#include <algorithm>
#include <utility>

VstHostNotifier::VstHostNotifier (int numParameters, Send s)
    : send (std::move (s)), parameters (static_cast<size_t> (std::max (0, numParameters)))
{
}

//==============================================================================
VstHostNotifier::HostCall::HostCall (VstHostNotifier& notifier) noexcept
{
    if (notifier.isInsideHostCall())
        return;

    const auto caller = std::this_thread::get_id();

    for (auto& entry : notifier.callers)
    {
        std::thread::id none;

        if (entry.compare_exchange_strong (none, caller))
        {
            slot = &entry;
            return;
        }
    }
}

VstHostNotifier::HostCall::~HostCall()
{
    if (slot != nullptr)
        slot->store (std::thread::id());
}

bool VstHostNotifier::isInsideHostCall() const noexcept
{
    const auto caller = std::this_thread::get_id();
    return std::any_of (callers.begin(), callers.end(), [caller] (const auto& entry) { return entry.load() == caller; });
}

//==============================================================================
template <typename Change>
bool VstHostNotifier::holdBack (int index, Change&& change)
{
    const std::lock_guard<std::mutex> held (heldBackLock);

    if (index < 0 || index >= static_cast<int> (parameters.size()))
        return false;

    change (parameters[static_cast<size_t> (index)]);
    anyHeldBack = true;
    return true;
}

void VstHostNotifier::automate (int index, float value)
{
    if (stopped)
        return;

    if (canSendAtOnce())
        send (hostAutomate, index, value);
    else
        holdBackInOrder (index, [value] (HeldBack& h) { h.value = true; h.latest = value; });
}

void VstHostNotifier::beginEdit (int index)
{
    if (stopped)
        return;

    if (canSendAtOnce())
    {
        send (hostBeginEdit, index, 0.0f);
        return;
    }

    holdBackInOrder (index, [] (HeldBack& h)
    {
        // A gesture that begins again before the host heard it end goes on,
        // for the host, as one.
        if (h.end)
            h.end = false;
        else
            h.begin = true;
    });
}

void VstHostNotifier::endEdit (int index)
{
    if (stopped)
        return;

    if (canSendAtOnce())
        send (hostEndEdit, index, 0.0f);
    else
        holdBackInOrder (index, [] (HeldBack& h) { h.end = true; });
}

void VstHostNotifier::updateDisplay()
{
    if (stopped)
        return;

    if (canSendAtOnce())
    {
        send (hostUpdateDisplay, 0, 0.0f);
        return;
    }

    {
        const std::lock_guard<std::mutex> held (heldBackLock);
        displayChanged = true;
        anyHeldBack = true;
    }

    sendHeldBackIfInsideHostCall();
}

//==============================================================================
bool VstHostNotifier::canSendAtOnce() const noexcept
{
    // Anything held back, or on its way out on another thread, is older than this
    // and must reach the host first.
    return isInsideHostCall() && ! anyHeldBack && ! sending;
}

template <typename Change>
void VstHostNotifier::holdBackInOrder (int index, Change&& change)
{
    if (holdBack (index, std::forward<Change> (change)))
        sendHeldBackIfInsideHostCall();
}

void VstHostNotifier::sendHeldBackIfInsideHostCall()
{
    if (isInsideHostCall())
        sendHeldBack();
}

void VstHostNotifier::sendHeldBack()
{
    // What another thread held back while this one was letting go of the turn
    // goes out now, not at the host's next call.
    while (! stopped && anyHeldBack && ! sending.exchange (true))
    {
        while (! stopped && sendOneHeldBack())
        {
        }

        sending = false;
    }
}

bool VstHostNotifier::sendOneHeldBack()
{
    HeldBack taken;
    int index = 0;
    bool display = false;

    {
        const std::lock_guard<std::mutex> held (heldBackLock);
        const auto found = std::find_if (parameters.begin(), parameters.end(),
                                         [] (const HeldBack& h) { return h.begin || h.value || h.end; });

        if (found != parameters.end())
        {
            taken = std::exchange (*found, {});
            index = static_cast<int> (found - parameters.begin());
        }
        else
        {
            display = std::exchange (displayChanged, false);
            anyHeldBack = display;

            if (! display)
                return false;
        }
    }

    // Sent without the lock: the host may call in again from here.
    if (display)
    {
        send (hostUpdateDisplay, 0, 0.0f);
        return true;
    }

    if (taken.begin)  send (hostBeginEdit, index, 0.0f);
    if (taken.value)  send (hostAutomate, index, taken.latest);
    if (taken.end)    send (hostEndEdit, index, 0.0f);
    return true;
}

void VstHostNotifier::stop()
{
    stopped = true;
    const std::lock_guard<std::mutex> held (heldBackLock);
    std::fill (parameters.begin(), parameters.end(), HeldBack {});
    displayChanged = false;
    anyHeldBack = false;
}
