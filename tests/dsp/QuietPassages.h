#pragma once

#include "ChorusModelTestSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

// Signals for what the compander does around quiet passages: notes that start
// after exact digital silence or after a low noise floor, and steady tones and
// noise from very quiet to full scale.

/** The kind of note a passage starts. */
enum class NoteShape { sine, pluck };

inline const char* nameOf (NoteShape shape) { return shape == NoteShape::sine ? "sine" : "pluck"; }

inline double gainOfDb (double db) { return std::pow (10.0, db / 20.0); }

inline double dbOfGain (double gain) { return 20.0 * std::log10 (gain); }

/** Reproducible white noise, uniform, with the given RMS level in dBFS. */
inline std::vector<float> makeNoise (int numSamples, double rmsDb, std::uint32_t seed = 7)
{
    const auto peak = std::sqrt (3.0) * gainOfDb (rmsDb);
    std::vector<float> noise (static_cast<size_t> (numSamples));
    std::uint32_t state = seed;

    for (auto& sample : noise)
    {
        state = state * 1664525u + 1013904223u;
        sample = static_cast<float> (peak * (static_cast<double> (state >> 8) / 8388608.0 - 1.0));
    }

    return noise;
}

/** A steady sine starting at phase 0, peak level in dBFS. */
inline std::vector<float> makeSine (int numSamples, double hz, double peakDb, float sampleRate)
{
    const auto peak = gainOfDb (peakDb);
    std::vector<float> sine (static_cast<size_t> (numSamples));

    for (int n = 0; n < numSamples; ++n)
        sine[static_cast<size_t> (n)] = static_cast<float> (peak * std::sin (twoPi * hz * n / static_cast<double> (sampleRate)));

    return sine;
}

/** A note at its peak level in dBFS: a steady 440 Hz sine, or a decaying
    220 Hz string-like tone with a sharp attack. Both start at 0. */
inline std::vector<float> makeNote (NoteShape shape, int numSamples, double peakDb, float sampleRate)
{
    if (shape == NoteShape::sine)
        return makeSine (numSamples, 440.0, peakDb, sampleRate);

    std::vector<double> tone (static_cast<size_t> (numSamples));
    double largest = 0.0;

    for (int n = 0; n < numSamples; ++n)
    {
        const auto t = n / static_cast<double> (sampleRate);
        double sum = 0.0;

        for (int harmonic = 1; harmonic <= 5; ++harmonic)
            sum += std::sin (twoPi * 220.0 * harmonic * t) / harmonic;

        tone[static_cast<size_t> (n)] = sum * std::exp (-t / 0.3);
        largest = std::max (largest, std::abs (tone[static_cast<size_t> (n)]));
    }

    const auto scale = gainOfDb (peakDb) / largest;
    std::vector<float> note (tone.size());
    std::transform (tone.begin(), tone.end(), note.begin(), [scale] (double x) { return static_cast<float> (scale * x); });
    return note;
}

/** Appends one signal to another. */
inline std::vector<float> followedBy (std::vector<float> first, const std::vector<float>& second)
{
    first.insert (first.end(), second.begin(), second.end());
    return first;
}

/** Runs a model at the default settings with stereo off, the same signal on
    both channels in blocks of 512, and returns the left then the right output. */
inline std::vector<float> renderDefault (const ModelKind& kind, const std::vector<float>& input, float sampleRate)
{
    constexpr int blockSize = 512;
    const auto model = makePrepared (kind, sampleRate, ModelSettings {}, blockSize);
    auto left = input, right = input;
    processStereo (*model, left, right, blockSize);
    return followedBy (left, right);
}

/** What comes before a note in the onset measurements. */
enum class Prelude { digitalSilence, noiseFloor };

constexpr double preludeSeconds = 0.5;
constexpr double noiseFloorDb = -96.0;

/** The passage before a note: exact zeros, or noise at -96 dBFS RMS. */
inline std::vector<float> makePrelude (Prelude prelude, float sampleRate)
{
    const auto length = static_cast<int> (preludeSeconds * static_cast<double> (sampleRate));
    return prelude == Prelude::digitalSilence ? std::vector<float> (static_cast<size_t> (length))
                                              : makeNoise (length, noiseFloorDb);
}

/** Peak in dBFS of either output channel over the first 250 ms of a note that
    follows 0.5 s of a prelude. Both preludes have the same length, so the note
    meets the LFO at the same phase after either. */
inline double onsetPeakDb (const ModelKind& kind, NoteShape shape, double peakDb, float sampleRate, Prelude prelude)
{
    const auto start = makePrelude (prelude, sampleRate);
    const auto noteLength = static_cast<int> (0.25 * static_cast<double> (sampleRate));
    const auto input = followedBy (start, makeNote (shape, noteLength, peakDb, sampleRate));
    const auto output = renderDefault (kind, input, sampleRate);

    float peak = 0.0f;

    for (size_t channel = 0; channel < 2; ++channel)
        for (size_t n = start.size(); n < input.size(); ++n)
            peak = std::max (peak, std::abs (output[channel * input.size() + n]));

    return dbOfGain (static_cast<double> (peak));
}

/** How much louder a note starts after digital silence than after the noise floor, in dB. */
struct OnsetRise
{
    double afterSilenceDb, afterNoiseDb;

    double riseDb() const { return afterSilenceDb - afterNoiseDb; }
};

inline OnsetRise measureOnsetRise (const ModelKind& kind, NoteShape shape, double peakDb, float sampleRate)
{
    return { onsetPeakDb (kind, shape, peakDb, sampleRate, Prelude::digitalSilence),
             onsetPeakDb (kind, shape, peakDb, sampleRate, Prelude::noiseFloor) };
}

/** The input levels of the onset table, peak dBFS. */
inline std::vector<double> onsetLevelsDb() { return { -40.0, -20.0, -10.0, -3.0 }; }
