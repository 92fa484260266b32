#include "XWindowTree.h"

#include <X11/Xlib.h>

#include <memory>

namespace XWindowTree
{
    unsigned long parentOf (unsigned long window)
    {
        const std::unique_ptr<Display, int (*) (Display*)> display (XOpenDisplay (nullptr), XCloseDisplay);

        if (display == nullptr || window == 0)
            return 0;

        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned int numChildren = 0;

        if (XQueryTree (display.get(), window, &root, &parent, &children, &numChildren) == 0)
            return 0;

        if (children != nullptr)
            XFree (children);

        return parent;
    }
}
