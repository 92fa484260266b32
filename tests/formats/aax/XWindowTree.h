// Where an X window sits in the server's window tree, asked of the X server
// itself. Kept apart from JUCE, whose names clash with Xlib's macros.
#pragma once

namespace XWindowTree
{
    /** The parent of an X window, or 0 when the server does not know the window. */
    unsigned long parentOf (unsigned long window);
}
