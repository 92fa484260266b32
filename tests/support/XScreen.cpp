#include "XScreen.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <png.h>

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

bool XScreen::savePng (const std::vector<std::uint32_t>& pixels, int width, int height, const std::string& path)
{
    if (width <= 0 || height <= 0 || pixels.size() != static_cast<size_t> (width * height))
        return false;

    // 0xAARRGGBB words lie in memory as blue, green, red, alpha (little-endian).
    png_image image {};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32> (width);
    image.height = static_cast<png_uint_32> (height);
    image.format = PNG_FORMAT_BGRA;
    const bool written = png_image_write_to_file (&image, path.c_str(), 0, pixels.data(), 0, nullptr) != 0;
    png_image_free (&image);
    return written;
}
