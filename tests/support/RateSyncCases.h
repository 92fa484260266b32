#pragma once

// The values a host hands back for each of the 19 steps of the tempo-synced
// rate, and the step each must select: one table for the tests of the engine,
// the knob, the stored bank and the built plug-ins. No JUCE here, so the VST2
// host tests can use it too.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace RateSyncCases
{
constexpr int numSteps = 19;

/** The note value of each step, as the sync knob shows it. */
constexpr const char* noteTexts[numSteps] = {
    "8/1", "4/1", "2/1", "1/1", "1/2D", "1/2", "1/2T", "1/4D", "1/4", "1/4T",
    "1/8D", "1/8", "1/8T", "1/16D", "1/16", "1/16T", "1/32D", "1/32", "1/32T"
};

/** The value that step k stands for, k/18, in single precision. */
inline float nominalValue (int step)   { return static_cast<float> (step / 18.0); }

/** The value the editor's knob sends at position k: k steps of 1/18.1, well inside step k. */
inline float positionValue (int step)  { return static_cast<float> (step * 0.05524861812591553); }

/** The text a host keeps for a value: printf's %g with that many significant
    digits (Qtractor keeps six). */
inline std::string asText (float value, int digits)
{
    char text[32];
    std::snprintf (text, sizeof (text), "%.*g", digits, static_cast<double> (value));
    return text;
}

/** A value as the host sets it again from the text it kept. */
inline float keptAsText (float value, int digits)  { return std::strtof (asText (value, digits).c_str(), nullptr); }

struct Case
{
    std::string label;
    float value;
    int step;
};

/** For every step: k/18 kept as six-digit and as four-digit text, which come
    back a hair above k/18 for half the steps. */
inline std::vector<Case> makeTextCases()
{
    std::vector<Case> cases;

    for (int k = 0; k < numSteps; ++k)
        for (const int digits : { 6, 4 })
            cases.push_back ({ "step " + std::to_string (k) + " kept as " + asText (nominalValue (k), digits),
                               keptAsText (nominalValue (k), digits), k });

    return cases;
}

/** How far above (k - 1)/18 a value stands that automation or a saved project
    may hold for step k, and that must keep selecting it: well clear of what
    hosts' rounding adds to (k - 1)/18, yet a small part of a step. */
constexpr float insideStep = 2.0e-4f;

/** The text cases, and for every step the ends of the values that selected it
    before any host's text was allowed for, which must still select it: k/18
    itself, and a value just above (k - 1)/18. */
inline std::vector<Case> makeCases()
{
    auto cases = makeTextCases();

    for (int k = 0; k < numSteps; ++k)
    {
        const auto step = "step " + std::to_string (k);
        cases.push_back ({ step + " at k/18", nominalValue (k), k });

        if (k > 0)
            cases.push_back ({ step + " just above (k - 1)/18", nominalValue (k - 1) + insideStep, k });
    }

    return cases;
}

/** The rate-sync step that a saved state names first (the current program's
    setting A in a fresh bank), or -1 when it names none. */
inline int firstStoredStep (const char* data, size_t size)
{
    const std::string text (data, size);
    const std::string value = "property=\"rateSync\" type=\"number\">";
    const auto at = text.find (value);
    return at == std::string::npos ? -1 : std::atoi (text.c_str() + at + value.size());
}
}
