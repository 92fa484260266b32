// Cost of the chorus models, reported as time per stereo (or mono) frame at 48 kHz
// in the "per_frame" column. Each case copies a fresh input block into the
// work buffers before processing, as the processor does with its host buffers.

#include "CE2Chorus.h"
#include "DimensionCChorus.h"
#include "TriChorus.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace
{
constexpr float sampleRate = 48000.0f;

struct Kind
{
    const char* label;
    std::function<std::unique_ptr<ChorusModel>()> make;
};

const std::vector<Kind> kinds {
    { "CE2Chorus", [] { return std::make_unique<CE2Chorus>(); } },
    { "DimensionCChorus", [] { return std::make_unique<DimensionCChorus>(); } },
    { "TriChorus", [] { return std::make_unique<TriChorus>(); } },
};

enum class Mode { stereoOff, stereoOn, mono };

std::unique_ptr<ChorusModel> makeModel (const Kind& kind, bool stereoOn)
{
    auto model = kind.make();
    model->setSampleRate (sampleRate);
    model->setExpectedSampleFrame (16384);
    model->reset();
    model->setParameter (ChorusModel::bypassParameter, 1.0f);

    const float values[] { 0.3f, 0.5f, 0.5f, 0.5f, 0.5f, stereoOn ? 1.0f : 0.0f, 0.0f };

    for (int i = 1; i <= 7; ++i)
        model->setParameter (i, values[i - 1]);

    model->forceCalcParams();
    return model;
}

std::vector<float> makeSignal (int numSamples, double phase, float gain = 0.5f)
{
    std::vector<float> signal (static_cast<size_t> (numSamples));

    for (int n = 0; n < numSamples; ++n)
        signal[static_cast<size_t> (n)] = gain * static_cast<float> (std::sin (0.0577 * n + phase) * 0.7 + std::sin (0.0031 * n) * 0.3);

    return signal;
}

void reportPerFrame (benchmark::State& state, int frames)
{
    state.counters["per_frame"] = benchmark::Counter (static_cast<double> (frames),
                                                      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void processModel (benchmark::State& state, const Kind& kind, Mode mode)
{
    const auto blockSize = static_cast<int> (state.range (0));
    const auto model = makeModel (kind, mode == Mode::stereoOn);
    const auto sourceLeft = makeSignal (blockSize, 0.0), sourceRight = makeSignal (blockSize, 1.0);
    auto left = sourceLeft, right = sourceRight;

    for (auto _ : state)
    {
        std::copy (sourceLeft.begin(), sourceLeft.end(), left.begin());

        if (mode == Mode::mono)
        {
            model->process (left.data(), blockSize);
        }
        else
        {
            std::copy (sourceRight.begin(), sourceRight.end(), right.begin());
            model->process (left.data(), right.data(), blockSize);
        }

        benchmark::DoNotOptimize (left.data());
        benchmark::DoNotOptimize (right.data());
        benchmark::ClobberMemory();
    }

    reportPerFrame (state, blockSize);
}

// Silence after a loud passage: the decaying states must not fall into slow subnormal arithmetic.
void processSilenceAfterLoud (benchmark::State& state, const Kind& kind)
{
    constexpr int blockSize = 512;
    const auto model = makeModel (kind, true);
    auto left = makeSignal (48000, 0.0, 2.0f), right = makeSignal (48000, 1.0, 2.0f);
    model->process (left.data(), right.data(), 48000);

    std::vector<float> silentLeft (blockSize), silentRight (blockSize);

    for (auto _ : state)
    {
        std::fill (silentLeft.begin(), silentLeft.end(), 0.0f);
        std::fill (silentRight.begin(), silentRight.end(), 0.0f);
        model->process (silentLeft.data(), silentRight.data(), blockSize);
        benchmark::DoNotOptimize (silentLeft.data());
        benchmark::ClobberMemory();
    }

    reportPerFrame (state, blockSize);
}

// A change of model: the outgoing model on the host buffer, the incoming one on a copy, then the blend.
void processCrossFade (benchmark::State& state, const Kind& from, const Kind& to)
{
    constexpr int blockSize = 512;
    const auto outgoing = makeModel (from, true), incoming = makeModel (to, true);
    const auto sourceLeft = makeSignal (blockSize, 0.0), sourceRight = makeSignal (blockSize, 1.0);
    auto left = sourceLeft, right = sourceRight, copyLeft = sourceLeft, copyRight = sourceRight;
    float gain = 1.0f;

    for (auto _ : state)
    {
        std::copy (sourceLeft.begin(), sourceLeft.end(), left.begin());
        std::copy (sourceRight.begin(), sourceRight.end(), right.begin());
        std::copy (left.begin(), left.end(), copyLeft.begin());
        std::copy (right.begin(), right.end(), copyRight.begin());

        outgoing->process (left.data(), right.data(), blockSize);
        incoming->process (copyLeft.data(), copyRight.data(), blockSize);

        for (size_t i = 0; i < static_cast<size_t> (blockSize); ++i)
        {
            gain = gain > 1.0e-3f ? gain - 1.0e-5f : 1.0f;
            left[i] = gain * left[i] + (1.0f - gain) * copyLeft[i];
            right[i] = gain * right[i] + (1.0f - gain) * copyRight[i];
        }

        benchmark::DoNotOptimize (left.data());
        benchmark::DoNotOptimize (right.data());
        benchmark::ClobberMemory();
    }

    reportPerFrame (state, blockSize);
}

void registerBenchmarks()
{
    const std::pair<Mode, const char*> modes[] { { Mode::stereoOff, "StereoOff" }, { Mode::stereoOn, "StereoOn" }, { Mode::mono, "Mono" } };

    for (const auto& kind : kinds)
    {
        for (const auto& [mode, modeName] : modes)
        {
            benchmark::RegisterBenchmark ((std::string (kind.label) + "/" + modeName).c_str(),
                                          [&kind, m = mode] (benchmark::State& state) { processModel (state, kind, m); })
                ->Arg (64)->Arg (512)->Arg (4096);
        }

        benchmark::RegisterBenchmark ((std::string (kind.label) + "/SilenceAfterLoud").c_str(),
                                      [&kind] (benchmark::State& state) { processSilenceAfterLoud (state, kind); });
    }

    for (size_t i = 0; i < kinds.size(); ++i)
    {
        const auto& from = kinds[i];
        const auto& to = kinds[(i + 1) % kinds.size()];
        benchmark::RegisterBenchmark ((std::string ("CrossFade/") + from.label + "To" + to.label).c_str(),
                                      [&from, &to] (benchmark::State& state) { processCrossFade (state, from, to); });
    }
}
}

int main (int argc, char** argv)
{
    registerBenchmarks();
    benchmark::Initialize (&argc, argv);

    if (benchmark::ReportUnrecognizedArguments (argc, argv))
        return 1;

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
