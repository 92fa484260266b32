#include "OutputFingerprint.h"
#include "QuietPassages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

// Fingerprints of the models' output, at the default settings with stereo
// off, for steady tones from 20 Hz to 5 kHz and for noise, each at -80, -40
// and 0 dBFS and each from a reset, and for a note after a -96 dBFS noise
// floor. The compressor's detector floor only touches passages quieter than
// these, so they pin the sound of everything else bit for bit.

namespace
{
    constexpr float sampleRate = 48000.0f;
    constexpr int length = 24000;

    struct QuietPassageCase
    {
        int model;
        const char* signal;
        std::uint64_t hash;
    };

    using SignalAtLevel = std::function<std::vector<float> (double levelDb)>;

    SignalAtLevel sineOf (double hz)
    {
        return [hz] (double levelDb) { return makeSine (length, hz, levelDb, sampleRate); };
    }

    const std::vector<std::pair<std::string, SignalAtLevel>>& signals()
    {
        static const std::vector<std::pair<std::string, SignalAtLevel>> all {
            { "sine 20 Hz", sineOf (20.0) },
            { "sine 50 Hz", sineOf (50.0) },
            { "sine 440 Hz", sineOf (440.0) },
            { "sine 5 kHz", sineOf (5000.0) },
            { "noise", [] (double levelDb) { return makeNoise (length, levelDb); } },
            { "note after noise floor", [] (double levelDb)
              {
                  return followedBy (makePrelude (Prelude::noiseFloor, sampleRate),
                                     makeNote (NoteShape::sine, length, levelDb, sampleRate));
              } },
        };

        return all;
    }

    /** The hash of both output channels for the signal at -80, -40 and 0 dBFS, each run on a fresh model. */
    std::uint64_t fingerprintAcrossLevels (const ModelKind& kind, const SignalAtLevel& signal)
    {
        std::vector<float> outputs;

        for (const auto levelDb : { -80.0, -40.0, 0.0 })
            outputs = followedBy (outputs, renderDefault (kind, signal (levelDb), sampleRate));

        return fingerprintOf (outputs, {}, Mode::mono);
    }
}

TEST (ChorusQuietPassageReferenceTest, ModelsReproduceTheirOutputAboveTheDetectorFloor)
{
    const std::vector<QuietPassageCase> cases {
        { 0, "sine 20 Hz", 0x78b1a61027628c8dull },
        { 0, "sine 50 Hz", 0x97ebc101ef1a7385ull },
        { 0, "sine 440 Hz", 0x9b7c572c4fc10699ull },
        { 0, "sine 5 kHz", 0xa866e9b64707cc29ull },
        { 0, "noise", 0xe1a024b2d2a975c9ull },
        { 0, "note after noise floor", 0x35fda23498d09b69ull },
        { 1, "sine 20 Hz", 0x4dfa37c7ac23b821ull },
        { 1, "sine 50 Hz", 0x5fbe84931e5187c5ull },
        { 1, "sine 440 Hz", 0xe948d11aa5049a65ull },
        { 1, "sine 5 kHz", 0x84d610e4b0b6c811ull },
        { 1, "noise", 0x72393b61688a1db9ull },
        { 1, "note after noise floor", 0xb297f6487d8fdb25ull },
        { 2, "sine 20 Hz", 0xda6c50be9cb8b539ull },
        { 2, "sine 50 Hz", 0x2d3419fc47911601ull },
        { 2, "sine 440 Hz", 0x01e1efa646022295ull },
        { 2, "sine 5 kHz", 0xecc02e6123d379b5ull },
        { 2, "noise", 0xd869058fdf3ba1b1ull },
        { 2, "note after noise floor", 0xd357c20ac2a06701ull },
    };

    const auto kinds = allModelKinds();

    for (const auto& c : cases)
    {
        const auto& kind = kinds[static_cast<size_t> (c.model)];
        const auto signal = std::find_if (signals().begin(), signals().end(), [&c] (const auto& s) { return s.first == c.signal; });
        ASSERT_NE (signal, signals().end()) << c.signal;

        const auto hash = fingerprintAcrossLevels (kind, signal->second);

        char text[32];
        std::snprintf (text, sizeof text, "0x%016llxull", static_cast<unsigned long long> (hash));
        EXPECT_EQ (hash, c.hash) << kind.label << ", " << c.signal << " gave " << text;
    }
}
