#include "OutputFingerprint.h"
#include "QuietPassages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

// Fingerprints of the models' output, at the default settings with stereo
// off and each from a reset, for sines from 20 Hz to 5 kHz at -70, -40 and
// 0 dBFS peak, for noise at -80, -40 and 0 dBFS RMS, and for a note after a
// -96 dBFS noise floor. The compressor's detector floor only touches passages
// quieter than these, so they pin the sound of everything else bit for bit.
// (Type 2 turns a 20 Hz sine at -80 dBFS peak so quiet before its compressor
// that the floor already nudges it there, by less than 0.01 dB.)

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

    /** A signal made at a level in dBFS, and the levels it is fingerprinted at. */
    struct SignalAtLevels
    {
        std::string name;
        std::function<std::vector<float> (double levelDb)> make;
        std::vector<double> levelsDb;
    };

    SignalAtLevels sineOf (const char* name, double hz)
    {
        return { name, [hz] (double levelDb) { return makeSine (length, hz, levelDb, sampleRate); }, { -70.0, -40.0, 0.0 } };
    }

    const std::vector<SignalAtLevels>& signals()
    {
        static const std::vector<SignalAtLevels> all {
            sineOf ("sine 20 Hz", 20.0),
            sineOf ("sine 50 Hz", 50.0),
            sineOf ("sine 440 Hz", 440.0),
            sineOf ("sine 5 kHz", 5000.0),
            { "noise", [] (double levelDb) { return makeNoise (length, levelDb); }, { -80.0, -40.0, 0.0 } },
            { "note after noise floor", [] (double levelDb)
              {
                  return followedBy (makePrelude (Prelude::noiseFloor, sampleRate),
                                     makeNote (NoteShape::sine, length, levelDb, sampleRate));
              }, { -80.0, -40.0, 0.0 } },
        };

        return all;
    }

    /** The hash of both output channels for the signal at each of its levels, each run on a fresh model. */
    std::uint64_t fingerprintAcrossLevels (const ModelKind& kind, const SignalAtLevels& signal)
    {
        std::vector<float> outputs;

        for (const auto levelDb : signal.levelsDb)
            outputs = followedBy (outputs, renderDefault (kind, signal.make (levelDb), sampleRate));

        return fingerprintOf (outputs, {}, Mode::mono);
    }
}

TEST (ChorusQuietPassageReferenceTest, ModelsReproduceTheirOutputAboveTheDetectorFloor)
{
    const std::vector<QuietPassageCase> cases {
        { 0, "sine 20 Hz", 0x27a574619c42bc49ull },
        { 0, "sine 50 Hz", 0x6fbf27b53feb779dull },
        { 0, "sine 440 Hz", 0x2637f23dfee42729ull },
        { 0, "sine 5 kHz", 0xa612224988404c01ull },
        { 0, "noise", 0xe1a024b2d2a975c9ull },
        { 0, "note after noise floor", 0x35fda23498d09b69ull },
        { 1, "sine 20 Hz", 0x474815d6b14f99cdull },
        { 1, "sine 50 Hz", 0x78b42a0a0f9a5ea9ull },
        { 1, "sine 440 Hz", 0x7e428b87967429ddull },
        { 1, "sine 5 kHz", 0x9f7b8bfb5d4a67b1ull },
        { 1, "noise", 0x72393b61688a1db9ull },
        { 1, "note after noise floor", 0xb297f6487d8fdb25ull },
        { 2, "sine 20 Hz", 0x283c899bdba4ba05ull },
        { 2, "sine 50 Hz", 0xc34432e618b8e0b1ull },
        { 2, "sine 440 Hz", 0xc3a52904245e0a29ull },
        { 2, "sine 5 kHz", 0x8d08d96399d6c0e9ull },
        { 2, "noise", 0xd869058fdf3ba1b1ull },
        { 2, "note after noise floor", 0xd357c20ac2a06701ull },
    };

    const auto kinds = allModelKinds();

    for (const auto& c : cases)
    {
        const auto& kind = kinds[static_cast<size_t> (c.model)];
        const auto signal = std::find_if (signals().begin(), signals().end(), [&c] (const auto& s) { return s.name == c.signal; });
        ASSERT_NE (signal, signals().end()) << c.signal;

        const auto hash = fingerprintAcrossLevels (kind, *signal);

        char text[32];
        std::snprintf (text, sizeof text, "0x%016llxull", static_cast<unsigned long long> (hash));
        EXPECT_EQ (hash, c.hash) << kind.label << ", " << c.signal << " gave " << text;
    }
}
