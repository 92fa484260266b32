#include "ChorusModelTestSupport.h"
#include "OutputFingerprint.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>

// Fingerprints of the models' output under a harsher programme than the
// reference one: passages loud enough to hold the soft clip at both limits,
// silence, stereo switched off and on again mid-run (so delay lines that were
// frozen resume out of step with the others), a full recalculation, block
// sizes from 1 sample up, and two more sample rates. Faster chains must
// reproduce these bit for bit.

namespace
{
    struct StressCase
    {
        int model;
        Mode mode;
        float sampleRate;
        std::uint64_t hash;
    };

    /** The input level over the programme: normal, loud, silent, normal again. */
    float gainAt (int n, int total)
    {
        const auto part = 8 * n / total;
        constexpr std::array<float, 8> gains { 1.0f, 1.0f, 10.0f, 0.0f, 1.0f, 3.0f, 1.0f, 1.0f };
        return gains[static_cast<size_t> (part)];
    }

    void applyEvent (ChorusModel& model, int block, Mode mode)
    {
        const auto set = [&model] (int parameter, float value)
        {
            model.setParameter (parameter, value);
            model.calcParameter (parameter);
        };

        switch (block)
        {
            case 10:  set (ChorusModel::depthParameter, 1.0f); set (ChorusModel::rateParameter, 0.9f); break;
            case 25:  set (ChorusModel::stereoOnParameter, mode == Mode::stereoOn ? 0.0f : 1.0f); break;
            case 40:  set (ChorusModel::depthParameter, 0.1f); break;
            case 55:  set (ChorusModel::stereoOnParameter, mode == Mode::stereoOn ? 1.0f : 0.0f); break;
            case 70:  model.calc(); break;
            case 85:  set (ChorusModel::mixParameter, 0.8f); set (ChorusModel::levelParameter, 0.3f); break;
            case 100: set (ChorusModel::bypassParameter, 0.0f); break;
            case 104: set (ChorusModel::bypassParameter, 1.0f); break;
            default:  break;
        }
    }

    /** Runs about 1.5 seconds in blocks of varying size and returns the hash of every output sample. */
    std::uint64_t runProgramme (ChorusModel& model, Mode mode, float sampleRate)
    {
        const auto total = static_cast<int> (1.5f * sampleRate);
        auto left = makeTestSignal (total, 41, sampleRate), right = makeTestSignal (total, 42, sampleRate);

        for (int n = 0; n < total; ++n)
        {
            left[static_cast<size_t> (n)] *= gainAt (n, total);
            right[static_cast<size_t> (n)] *= gainAt (n, total);
        }

        constexpr std::array<int, 6> blockSizes { 480, 1, 33, 256, 1024, 7 };
        int block = 0;

        for (int start = 0; start < total; ++block)
        {
            applyEvent (model, block, mode);
            const auto size = std::min (blockSizes[static_cast<size_t> (block) % blockSizes.size()], total - start);

            processInMode (model, mode, left.data() + start, right.data() + start, size);

            start += size;
        }

        return fingerprintOf (left, right, mode);
    }
}

TEST (ChorusStressReferenceTest, ModelsReproduceTheirOutputUnderAHarshProgramme)
{
    const std::vector<StressCase> cases {
        { 0, Mode::mono, 44100.0f, 0xcd72475e6cbb976bull },
        { 0, Mode::stereoOff, 44100.0f, 0x7c37d43b7cc9d481ull },
        { 0, Mode::stereoOn, 44100.0f, 0x5c68fa704cae550cull },
        { 1, Mode::mono, 44100.0f, 0x0e73220afb8d5291ull },
        { 1, Mode::stereoOff, 44100.0f, 0x81e474878333668bull },
        { 1, Mode::stereoOn, 44100.0f, 0x98b330d3e3c054cdull },
        { 2, Mode::mono, 44100.0f, 0xf68ec99d6f7b5439ull },
        { 2, Mode::stereoOff, 44100.0f, 0x0afd8f251cb9b391ull },
        { 2, Mode::stereoOn, 44100.0f, 0xb9bbfb73efa29fe8ull },
        { 0, Mode::stereoOff, 96000.0f, 0x72847343d1db86ffull },
        { 0, Mode::stereoOn, 96000.0f, 0xdae344ea20dbdd4bull },
        { 1, Mode::stereoOff, 96000.0f, 0x56e59bdab266309dull },
        { 1, Mode::stereoOn, 96000.0f, 0x8c00b5881daca839ull },
        { 2, Mode::stereoOff, 96000.0f, 0x6bb5203ba66c2b0cull },
        { 2, Mode::stereoOn, 96000.0f, 0xe7bdc874d884fdb7ull },
    };

    const auto kinds = allModelKinds();

    for (const auto& c : cases)
    {
        const auto& kind = kinds[static_cast<size_t> (c.model)];
        const ModelSettings settings { 0.4f, 0.5f, 0.5f, 0.55f, 0.6f, c.mode == Mode::stereoOn ? 1.0f : 0.0f, 0.0f, 120.0f };
        const auto model = makePrepared (kind, c.sampleRate, settings);
        const auto hash = runProgramme (*model, c.mode, c.sampleRate);

        char text[32];
        std::snprintf (text, sizeof text, "0x%016llxull", static_cast<unsigned long long> (hash));
        EXPECT_EQ (hash, c.hash) << kind.label << " mode " << static_cast<int> (c.mode) << " at " << c.sampleRate << " gave " << text;
    }
}
