#pragma once

#include "CE2Chorus.h"
#include "DimensionCChorus.h"
#include "TriChorus.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

/** One chorus model as the tables of cases see it. */
struct ModelKind
{
    const char* label;          // test-name suffix
    const char* name;           // what getName() reports
    std::function<std::unique_ptr<ChorusModel>()> make;
};

inline std::ostream& operator<< (std::ostream& out, const ModelKind& kind) { return out << kind.label; }

inline std::vector<ModelKind> allModelKinds()
{
    return {
        { "CE2Chorus", "CE2Chorus", [] { return std::make_unique<CE2Chorus>(); } },
        { "DimensionCChorus", "DimensionChorus", [] { return std::make_unique<DimensionCChorus>(); } },
        { "TriChorus", "TriChorus", [] { return std::make_unique<TriChorus>(); } },
    };
}

/** Model parameters 1 to 7 and the tempo, as the processor hands them over. */
struct ModelSettings
{
    float rate = 0.2f;
    float rateSync = 0.16666667f;
    float depth = 0.2f;
    float mix = 0.5f;
    float level = 0.5f;
    float stereo = 0.0f;
    float sync = 0.0f;
    float bpm = 120.0f;
};

/** Prepares a model the way the processor does before playback. */
inline void prepareModel (ChorusModel& model, float sampleRate = 48000.0f,
                          const ModelSettings& settings = {}, int blockSize = 16384)
{
    model.setSampleRate (sampleRate);
    model.setExpectedSampleFrame (blockSize);
    model.reset();
    model.setParameter (ChorusModel::bypassParameter, 1.0f);
    model.setBpm (settings.bpm);

    const float values[] { settings.rate, settings.rateSync, settings.depth, settings.mix,
                           settings.level, settings.stereo, settings.sync };

    for (int i = 1; i <= 7; ++i)
        model.setParameter (i, values[i - 1]);

    model.forceCalcParams();
}

inline std::unique_ptr<ChorusModel> makePrepared (const ModelKind& kind, float sampleRate = 48000.0f,
                                                  const ModelSettings& settings = {}, int blockSize = 16384)
{
    auto model = kind.make();
    prepareModel (*model, sampleRate, settings, blockSize);
    return model;
}

constexpr double twoPi = 6.283185307179586;

/** A reproducible programme signal: two tones and some noise, peaking below 0.8. */
inline std::vector<float> makeTestSignal (int numSamples, std::uint32_t seed = 1, float sampleRate = 48000.0f)
{
    std::vector<float> signal (static_cast<size_t> (numSamples));
    std::uint32_t state = seed;

    for (int n = 0; n < numSamples; ++n)
    {
        state = state * 1664525u + 1013904223u;
        const auto noise = static_cast<double> (state >> 8) / 16777216.0 - 0.5;
        const auto t = n / static_cast<double> (sampleRate);
        const auto tones = 0.4 * std::sin (twoPi * 220.0 * t) + 0.25 * std::sin (twoPi * 1375.0 * t + static_cast<double> (seed));
        signal[static_cast<size_t> (n)] = static_cast<float> (tones + 0.2 * noise);
    }

    return signal;
}

/** Runs a model's mono process over a whole signal in blocks of blockSize. */
inline void processMono (ChorusModel& model, std::vector<float>& signal, int blockSize = 512)
{
    const auto total = static_cast<int> (signal.size());

    for (int start = 0; start < total; start += blockSize)
        model.process (signal.data() + start, std::min (blockSize, total - start));
}

/** Runs a model's stereo process over a whole signal pair in blocks of blockSize. */
inline void processStereo (ChorusModel& model, std::vector<float>& left, std::vector<float>& right, int blockSize = 512)
{
    const auto total = static_cast<int> (left.size());

    for (int start = 0; start < total; start += blockSize)
        model.process (left.data() + start, right.data() + start, std::min (blockSize, total - start));
}
