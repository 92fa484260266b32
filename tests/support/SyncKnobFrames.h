#pragma once

// Tells which of its 19 frames the tempo-synced rate knob shows in a plug-in
// window on the screen, by the pictures the knob shows at its own positions.
// The host side (how a parameter is set, how the test waits) comes from the
// test, so VST2 and VST3 windows are read alike.

#include "RateSyncCases.h"
#include "XScreen.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

class SyncKnobFrames
{
public:
    using Pixels = std::vector<std::uint32_t>;

    /** Where the knob is: its window's top left on the screen, and its place in the window. */
    struct Place
    {
        std::function<std::pair<int, int>()> windowPosition;
        int x = 14, y = 126, width = 73, height = 72;
    };

    /** How the host sets a parameter (and hands it to the plug-in), and lets
        the plug-in's window run for that many milliseconds. */
    struct Host
    {
        std::function<void (int index, float value)> setParameter;
        std::function<void (int milliseconds)> run;
    };

    static constexpr int rateSync = 3, sync = 8;

    SyncKnobFrames (Place knobPlace, Host knobHost) : place (std::move (knobPlace)), host (std::move (knobHost)) {}

    /** Shows the free-rate knob that sync off puts in the knob's place, then
        the knob at each of its positions in turn, and keeps each picture;
        false unless all 20 are different. */
    bool learn()
    {
        host.setParameter (sync, 0.0f);

        if (! waitUntil ([&] { hidden = grabSettled(); return ! hidden.empty(); }))
            return false;

        host.setParameter (sync, 1.0f);

        for (int k = 0; k < RateSyncCases::numSteps; ++k)
        {
            host.setParameter (rateSync, RateSyncCases::positionValue (k));
            Pixels shown;

            if (! waitUntil ([&] { shown = grabSettled(); return isNewFrame (shown); }))
                return false;

            frames.push_back (shown);
        }

        return true;
    }

    /** The frame the knob shows once the host has set the synced rate to a
        value, or -1 when it shows none of them. The knob is hidden first, so
        the frame read is drawn for the new value. */
    int showFor (float value)
    {
        host.setParameter (sync, 0.0f);

        if (! waitUntil ([&] { return grab() == hidden; }))
            return -1;

        host.setParameter (rateSync, value);
        host.setParameter (sync, 1.0f);
        int shown = -1;
        waitUntil ([&] { shown = findFrame (grab()); return shown >= 0; });
        return shown;
    }

    /** One picture of the learnt frames and the free-rate knob side by side, for looking at. */
    Pixels getStrip (int& width, int& height) const
    {
        width = place.width * (1 + static_cast<int> (frames.size()));
        height = place.height;
        Pixels strip (static_cast<size_t> (width * height));

        for (size_t f = 0; f <= frames.size(); ++f)
            for (int y = 0; y < place.height; ++y)
                for (int x = 0; x < place.width; ++x)
                    strip[static_cast<size_t> (y * width + static_cast<int> (f) * place.width + x)]
                        = (f == 0 ? hidden : frames[f - 1])[static_cast<size_t> (y * place.width + x)];

        return strip;
    }

private:
    /** Up to ten seconds: the plug-in paints on its own timer. */
    bool waitUntil (const std::function<bool()>& condition) const
    {
        for (int i = 0; i < 1000; ++i)
        {
            if (condition())
                return true;

            host.run (10);
        }

        return condition();
    }

    Pixels grab() const
    {
        const auto [x, y] = place.windowPosition();
        return XScreen::grab (x + place.x, y + place.y, place.width, place.height);
    }

    /** A picture that stays the same over more than one of the editor's
        refresh ticks, or nothing. */
    Pixels grabSettled() const
    {
        const auto first = grab();
        host.run (120);
        return first == grab() ? first : Pixels();
    }

    bool isNewFrame (const Pixels& pixels) const
    {
        return ! pixels.empty() && pixels != hidden && findFrame (pixels) < 0;
    }

    int findFrame (const Pixels& pixels) const
    {
        const auto found = std::find (frames.begin(), frames.end(), pixels);
        return found == frames.end() ? -1 : static_cast<int> (found - frames.begin());
    }

    Place place;
    Host host;
    Pixels hidden;
    std::vector<Pixels> frames;
};
