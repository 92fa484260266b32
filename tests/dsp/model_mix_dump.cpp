// Runs CE2Chorus and DimensionCChorus at Mix 0, where only their dry path is
// heard, and prints input and outputs as one JSON object a line for
// model_mix_reference.py to check against an independent SciPy cascade.

#include "CE2Chorus.h"
#include "DimensionCChorus.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace
{
constexpr int numSamples = 8192;
constexpr float level = 0.35f;

std::vector<float> makeInput (unsigned seed, float sampleRate)
{
    std::vector<float> input (numSamples);
    unsigned state = seed;

    for (int n = 0; n < numSamples; ++n)
    {
        state = state * 1664525u + 1013904223u;
        const auto noise = static_cast<double> (state >> 8) / 16777216.0 - 0.5;
        const auto tone = std::sin (6.283185307179586 * 330.0 * n / static_cast<double> (sampleRate));
        input[static_cast<size_t> (n)] = static_cast<float> (0.5 * tone + 0.3 * noise + (n < 2000 ? 0.2 : 0.0));
    }

    return input;
}

void prepare (ChorusModel& model, float sampleRate, float stereo)
{
    model.setSampleRate (sampleRate);
    model.setExpectedSampleFrame (numSamples);
    model.reset();
    model.setParameter (ChorusModel::bypassParameter, 1.0f);

    const float values[] { 0.4f, 0.5f, 0.8f, 0.0f, level, stereo, 0.0f };

    for (int i = 1; i <= 7; ++i)
        model.setParameter (i, values[i - 1]);

    model.forceCalcParams();
}

void printArray (const char* key, const std::vector<float>& values, const char* after)
{
    std::printf ("\"%s\": [", key);

    for (size_t i = 0; i < values.size(); ++i)
        std::printf (i == 0 ? "%.9g" : ", %.9g", static_cast<double> (values[i]));

    std::printf ("]%s", after);
}

template <typename Model>
void dump (const char* modelName, float sampleRate, float stereo)
{
    auto monoModel = std::make_unique<Model>();
    auto stereoModel = std::make_unique<Model>();
    prepare (*monoModel, sampleRate, stereo);
    prepare (*stereoModel, sampleRate, stereo);

    const auto left = makeInput (1, sampleRate), right = makeInput (2, sampleRate);
    auto mono = left, leftOut = left, rightOut = right;
    monoModel->process (mono.data(), numSamples);
    stereoModel->process (leftOut.data(), rightOut.data(), numSamples);

    std::printf ("{\"model\": \"%s\", \"fs\": %.9g, \"level\": %.9g, \"stereo\": %g, ", modelName,
                 static_cast<double> (sampleRate), static_cast<double> (level), static_cast<double> (stereo));
    printArray ("inputLeft", left, ", ");
    printArray ("inputRight", right, ", ");
    printArray ("mono", mono, ", ");
    printArray ("left", leftOut, ", ");
    printArray ("right", rightOut, "}\n");
}
}

int main()
{
    for (const float sampleRate : { 44100.0f, 96000.0f })
    {
        for (const float stereo : { 0.0f, 1.0f })
        {
            dump<CE2Chorus> ("CE2Chorus", sampleRate, stereo);
            dump<DimensionCChorus> ("DimensionCChorus", sampleRate, stereo);
        }
    }

    return 0;
}
