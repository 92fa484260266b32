// Opens the VST2 editor inside an X11 window of our own, as a Linux host does,
// and closes it again. Needs a display: the suite runs it under
// tools/with-display.sh.

#include "AEffect.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dlfcn.h>

#include <chrono>
#include <thread>

namespace
{
long long quietHost (AEffect*, int32_t opcode, int32_t, long long, void*, float)
{
    return opcode == hostVersion ? 2400 : 0;
}

int countChildren (Display* display, Window window)
{
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    XQueryTree (display, window, &root, &parent, &children, &count);

    if (children != nullptr)
        XFree (children);

    return static_cast<int> (count);
}

/** Waits until the window has the number of children expected, or a while has gone. */
bool waitForChildren (Display* display, Window window, int expected)
{
    for (int i = 0; i < 200; ++i)
    {
        if (countChildren (display, window) == expected)
            return true;

        std::this_thread::sleep_for (std::chrono::milliseconds (10));
    }

    return false;
}

/** Waits until the window shows the colour at a point: JUCE paints on its own thread. */
bool waitForColour (Display* display, Window window, unsigned long rgb)
{
    for (int i = 0; i < 200; ++i)
    {
        if (auto* image = XGetImage (display, window, 10, 10, 1, 1, AllPlanes, ZPixmap))
        {
            const auto pixel = XGetPixel (image, 0, 0) & 0xffffff;
            XDestroyImage (image);

            if (pixel == rgb)
                return true;
        }

        std::this_thread::sleep_for (std::chrono::milliseconds (10));
    }

    return false;
}

TEST (Vst2EditorWindow, OpensInsideTheHostsWindowAndCloses)
{
    auto* display = XOpenDisplay (nullptr);

    if (display == nullptr)
        GTEST_SKIP() << "no X display (run under tools/with-display.sh)";

    auto* module = dlopen (MODULIX_VST2_EDITOR_MODULE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE (module, nullptr) << dlerror();
    auto entry = reinterpret_cast<AEffect* (*) (HostCallback)> (dlsym (module, "VSTPluginMain"));
    ASSERT_NE (entry, nullptr);

    auto* effect = entry (quietHost);
    ASSERT_NE (effect, nullptr);
    const auto dispatch = [effect] (int opcode, void* ptr = nullptr)
    {
        return effect->dispatcher (effect, opcode, 0, 0, ptr, 0.0f);
    };

    EXPECT_NE (effect->flags & hasEditorFlag, 0);
    dispatch (effectOpen);

    // Hosts ask the size first and make their window to fit.
    EditorRect* rect = nullptr;
    ASSERT_EQ (dispatch (effectEditorGetRect, &rect), 1);
    ASSERT_NE (rect, nullptr);
    EXPECT_EQ (rect->right - rect->left, 325);
    EXPECT_EQ (rect->bottom - rect->top, 454);

    const auto hostWindow = XCreateSimpleWindow (display, DefaultRootWindow (display), 0, 0, 325, 454, 0, 0, 0);
    XMapWindow (display, hostWindow);
    XSync (display, False);

    for (int round = 0; round < 2; ++round)
    {
        EXPECT_EQ (dispatch (effectEditorOpen, reinterpret_cast<void*> (hostWindow)), 1);
        EXPECT_TRUE (waitForChildren (display, hostWindow, 1)) << "round " << round;
        EXPECT_TRUE (waitForColour (display, hostWindow, 0x555555)) << "the editor was not painted";

        for (int i = 0; i < 5; ++i)
            dispatch (effectEditorIdle);

        dispatch (effectEditorClose);
        EXPECT_TRUE (waitForChildren (display, hostWindow, 0)) << "round " << round;
    }

    // Closing the effect with its window open takes the window with it.
    EXPECT_EQ (dispatch (effectEditorOpen, reinterpret_cast<void*> (hostWindow)), 1);
    EXPECT_TRUE (waitForChildren (display, hostWindow, 1));
    EXPECT_EQ (dispatch (effectClose), 1);
    EXPECT_TRUE (waitForChildren (display, hostWindow, 0));

    XDestroyWindow (display, hostWindow);
    XCloseDisplay (display);
}
}
