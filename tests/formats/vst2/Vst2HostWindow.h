// The X11 window a Linux VST2 host hands the plug-in's editor, with the
// waits, grabs and clicks the window tests make through the X server.
#pragma once

#include "XScreen.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <set>
#include <thread>
#include <utility>
#include <vector>

namespace Vst2TestHost
{
constexpr int editorWidth = 325, editorHeight = 454;

struct Point { int x, y; };

// Inside the chorus type names, hot-spots of the window, and the A-to-B copy button.
constexpr Point secondTypeName { 193, 158 };
constexpr Point thirdTypeName { 187, 177 };
constexpr Point copyButton { 200, 42 };

using Pixels = std::vector<std::uint32_t>;

/** Polls until the condition holds or the time is up: the plug-in paints and
    handles clicks on a message thread of its own, or in the idle calls a
    condition makes. */
template <typename Condition>
bool waitUntil (Condition&& condition, std::chrono::seconds limit = std::chrono::seconds (3))
{
    constexpr auto poll = std::chrono::milliseconds (10);

    for (std::chrono::milliseconds waited { 0 }; waited < limit; waited += poll)
    {
        if (condition())
            return true;

        std::this_thread::sleep_for (poll);
    }

    return condition();
}

inline int countColours (const Pixels& pixels)
{
    return static_cast<int> (std::set<std::uint32_t> (pixels.begin(), pixels.end()).size());
}

/** The host's window that the editor goes into, placed by the window manager. */
class HostWindow
{
public:
    HostWindow (Display* d, int width, int height, int left = 40)
        : display (d),
          window (XCreateSimpleWindow (display, DefaultRootWindow (display), left, 40,
                                       static_cast<unsigned> (width), static_cast<unsigned> (height), 0, 0, 0))
    {
        XSizeHints hints {};
        hints.flags = USPosition | USSize;
        hints.x = left;
        hints.y = 40;
        hints.width = width;
        hints.height = height;
        XSetWMNormalHints (display, window, &hints);
        XMapRaised (display, window);
        XSync (display, False);
    }

    ~HostWindow()
    {
        XDestroyWindow (display, window);
        XSync (display, False);
    }

    HostWindow (const HostWindow&) = delete;
    HostWindow& operator= (const HostWindow&) = delete;

    void* handle() const  { return reinterpret_cast<void*> (window); }

    int countChildren() const
    {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        XQueryTree (display, window, &root, &parent, &children, &count);

        if (children != nullptr)
            XFree (children);

        return static_cast<int> (count);
    }

    /** The size of the window the plug-in put inside this one. */
    std::pair<int, int> childSize() const
    {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        XQueryTree (display, window, &root, &parent, &children, &count);
        XWindowAttributes attributes {};
        const bool found = count == 1 && XGetWindowAttributes (display, children[0], &attributes) != 0;

        if (children != nullptr)
            XFree (children);

        return found ? std::make_pair (attributes.width, attributes.height) : std::make_pair (0, 0);
    }

    bool hasChildren (int expected) const
    {
        return waitUntil ([&] { return countChildren() == expected; });
    }

    Point screenPosition() const
    {
        Point position {};
        Window child = 0;
        XTranslateCoordinates (display, window, DefaultRootWindow (display), 0, 0, &position.x, &position.y, &child);
        return position;
    }

    Pixels grab() const
    {
        const auto at = screenPosition();
        return XScreen::grab (at.x, at.y, editorWidth, editorHeight);
    }

    /** Waits until the window manager has placed the window and the plug-in has
        drawn its picture into it, then grabs it; whileWaiting runs between looks. */
    Pixels grabPainted (const std::function<void()>& whileWaiting = {}) const
    {
        Pixels pixels;
        auto placed = screenPosition();
        waitUntil ([&] {
            if (whileWaiting)
                whileWaiting();

            const auto now = screenPosition();
            const bool settled = now.x == placed.x && now.y == placed.y;
            placed = now;
            pixels = grab();
            return settled && countColours (pixels) > 20;
        });
        return pixels;
    }

    bool click (Point inWindow) const
    {
        const auto at = screenPosition();
        return XScreen::clickAt (at.x + inWindow.x, at.y + inWindow.y);
    }

private:
    Display* display;
    Window window;
};
}
