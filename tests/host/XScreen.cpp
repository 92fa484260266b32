#include "XScreen.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <memory>

namespace
{
    struct DisplayCloser
    {
        void operator() (Display* display) const { XCloseDisplay (display); }
    };

    using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

    DisplayPtr openDisplay()
    {
        return DisplayPtr (XOpenDisplay (nullptr));
    }
}

bool XScreen::moveTo (int x, int y)
{
    const auto display = openDisplay();

    if (display == nullptr)
        return false;

    XTestFakeMotionEvent (display.get(), DefaultScreen (display.get()), x, y, CurrentTime);
    XSync (display.get(), False);
    return true;
}

bool XScreen::clickAt (int x, int y)
{
    const auto display = openDisplay();

    if (display == nullptr)
        return false;

    XTestFakeMotionEvent (display.get(), DefaultScreen (display.get()), x, y, CurrentTime);
    XSync (display.get(), False);
    XTestFakeButtonEvent (display.get(), 1, True, CurrentTime);
    XSync (display.get(), False);
    XTestFakeButtonEvent (display.get(), 1, False, CurrentTime);
    XSync (display.get(), False);
    return true;
}

std::vector<std::uint32_t> XScreen::grab (int x, int y, int width, int height)
{
    const auto display = openDisplay();

    if (display == nullptr)
        return {};

    auto* image = XGetImage (display.get(), DefaultRootWindow (display.get()), x, y,
                             static_cast<unsigned> (width), static_cast<unsigned> (height), AllPlanes, ZPixmap);

    if (image == nullptr)
        return {};

    std::vector<std::uint32_t> pixels;
    pixels.reserve (static_cast<size_t> (width * height));

    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column)
            pixels.push_back (0xff000000u | static_cast<std::uint32_t> (XGetPixel (image, column, row) & 0xffffffu));

    XDestroyImage (image);
    return pixels;
}
