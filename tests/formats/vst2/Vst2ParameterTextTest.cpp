// The built VST2 module in a host that keeps each parameter as text with a few
// significant digits (Qtractor keeps six) and sets it again from that text
// after the chunk when a project is opened.

#include "Vst2TestHost.h"

#include "../../support/RateSyncCases.h"

#include <cstdlib>

namespace
{
using namespace Vst2TestHost;

constexpr int numParameters = 9;

enum Parameter { onBypass, chorusType, rate, rateSync, depth, mix, level, stereo, sync };

/** The first blocks the plug-in plays after the host resumes it with the
    synced rate at that value, from the start of the same sine each time. */
std::vector<float> soundAt (Instance& plugin, float rateSyncValue)
{
    plugin.dispatch (effectSuspendResume, 0, 0);
    plugin.setParameter (rateSync, rateSyncValue);
    plugin.resume();
    plugin.position = 0;

    std::vector<float> sound;

    for (int block = 0; block < 8; ++block)
    {
        const auto out = plugin.process (blockSize);
        sound.insert (sound.end(), out.begin(), out.end());
    }

    return sound;
}

int storedStep (Instance& plugin)
{
    const auto bank = plugin.chunk (false);
    return RateSyncCases::firstStoredStep (bank.data(), bank.size());
}

TEST (Vst2ParameterText, ARateSyncValueKeptAsTextComesBackAsItsStepInTheSoundAndTheBank)
{
    Instance plugin;
    ASSERT_NE (plugin.effect, nullptr);
    plugin.setParameter (sync, 1.0f);

    // Each step played from its knob position; neighbours sound different, so
    // a sound names its step.
    std::vector<std::vector<float>> stepSounds;

    for (int k = 0; k < RateSyncCases::numSteps; ++k)
        stepSounds.push_back (soundAt (plugin, RateSyncCases::positionValue (k)));

    for (size_t k = 1; k < stepSounds.size(); ++k)
        ASSERT_TRUE (stepSounds[k] != stepSounds[k - 1]) << k;

    for (const auto& c : RateSyncCases::makeCases())
    {
        EXPECT_TRUE (soundAt (plugin, c.value) == stepSounds[(size_t) c.step]) << c.label;
        EXPECT_EQ (storedStep (plugin), c.step) << c.label;
    }
}

TEST (Vst2ParameterText, AProjectReopenedFromItsChunkAndParameterTextsSavesTheSameChunk)
{
    for (int k = 0; k < RateSyncCases::numSteps; ++k)
    {
        SCOPED_TRACE ("step " + std::to_string (k));
        Instance saved, reopened;
        ASSERT_NE (saved.effect, nullptr);

        // The synced rate as a loaded preset or project sets it, beside other settings.
        const std::pair<int, float> settings[] {
            { chorusType, 0.5f }, { rate, 0.35f }, { rateSync, RateSyncCases::nominalValue (k) },
            { depth, 0.7f }, { sync, 1.0f },
        };

        for (const auto& [index, value] : settings)
            saved.setParameter (index, value);

        const auto chunk = saved.chunk (false);
        std::vector<std::string> texts;

        for (int i = 0; i < numParameters; ++i)
            texts.push_back (RateSyncCases::asText (saved.getParameter (i), 6));

        reopened.dispatch (effectSetChunk, 0, (long long) chunk.size(), (void*) chunk.data());

        for (int i = 0; i < numParameters; ++i)
            reopened.setParameter (i, std::strtof (texts[(size_t) i].c_str(), nullptr));

        EXPECT_TRUE (reopened.chunk (false) == chunk);
        EXPECT_EQ (storedStep (reopened), k);
    }
}
}
