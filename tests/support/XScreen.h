#pragma once

#include <cstdint>
#include <string>
#include <vector>

/** The real X server under the test: pointer clicks through the XTest extension,
    which reach windows exactly as a user's clicks do, and screen grabs. Kept
    apart from JUCE, whose names clash with Xlib's macros. */
namespace XScreen
{
    /** Moves the pointer to a screen position. */
    bool moveTo (int x, int y);

    /** Moves the pointer to a screen position and clicks the left button there. */
    bool clickAt (int x, int y);

    /** The screen's pixels in a rectangle, as 0xAARRGGBB rows; empty on failure. */
    std::vector<std::uint32_t> grab (int x, int y, int width, int height);

    /** Writes grabbed pixels to a PNG file, for looking at; false on failure. */
    bool savePng (const std::vector<std::uint32_t>& pixels, int width, int height, const std::string& path);
}
