#include "ChorusModelTestSupport.h"
#include "OutputFingerprint.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

// Fingerprints of the models' output for a fixed programme of signal, glides,
// a tempo change and a bypass fade. Any change to the arithmetic of a chain,
// its order of operations or its precision changes them: faster versions of
// the chains must reproduce these bit for bit.

namespace
{
    struct ReferenceCase
    {
        int model;
        Mode mode;
        std::uint64_t hash;
    };

    /** Runs a one-second programme at 48 kHz and returns the hash of every output sample. */
    std::uint64_t runProgramme (ChorusModel& model, Mode mode)
    {
        constexpr int total = 48000, blockSize = 480;
        auto left = makeTestSignal (total, 31), right = makeTestSignal (total, 32);

        for (int start = 0; start < total; start += blockSize)
        {
            switch (start)
            {
                case 12000:
                    model.setParameter (ChorusModel::depthParameter, 0.9f);
                    model.calcParameter (ChorusModel::depthParameter);
                    model.setParameter (ChorusModel::rateParameter, 0.7f);
                    model.calcParameter (ChorusModel::rateParameter);
                    break;

                case 24000:
                    model.setParameter (ChorusModel::mixParameter, 0.3f);
                    model.calcParameter (ChorusModel::mixParameter);
                    model.setParameter (ChorusModel::syncOnParameter, 1.0f);
                    model.calcParameter (ChorusModel::syncOnParameter);
                    break;

                case 30000:
                    model.setBpm (97.0f);
                    model.setParameter (ChorusModel::bypassParameter, 0.0f);
                    model.calcParameter (ChorusModel::bypassParameter);
                    break;

                case 38400:
                    model.setParameter (ChorusModel::bypassParameter, 1.0f);
                    model.calcParameter (ChorusModel::bypassParameter);
                    model.setParameter (ChorusModel::levelParameter, 0.8f);
                    model.calcParameter (ChorusModel::levelParameter);
                    break;

                default:
                    break;
            }

            processInMode (model, mode, left.data() + start, right.data() + start, blockSize);
        }

        return fingerprintOf (left, right, mode);
    }
}

TEST (ChorusReferenceOutputTest, ModelsReproduceTheirReferenceOutput)
{
    const std::vector<ReferenceCase> cases {
        { 0, Mode::mono, 0xb6ad595d2f968f4full },
        { 0, Mode::stereoOff, 0xebaa028565d855b9ull },
        { 0, Mode::stereoOn, 0x8097479d67d74896ull },
        { 1, Mode::mono, 0xdd63ce9bec4c7f55ull },
        { 1, Mode::stereoOff, 0xcf8e03402145c9b7ull },
        { 1, Mode::stereoOn, 0x54bb5512aebfac24ull },
        { 2, Mode::mono, 0x55991bb20be17139ull },
        { 2, Mode::stereoOff, 0xb535ed69186127f4ull },
        { 2, Mode::stereoOn, 0xa5e1bfb7f98cd140ull },
    };

    const auto kinds = allModelKinds();

    for (const auto& c : cases)
    {
        const auto& kind = kinds[static_cast<size_t> (c.model)];
        const ModelSettings settings { 0.35f, 0.5f, 0.45f, 0.6f, 0.5f, c.mode == Mode::stereoOn ? 1.0f : 0.0f, 0.0f, 132.0f };
        const auto model = makePrepared (kind, 48000.0f, settings);
        const auto hash = runProgramme (*model, c.mode);

        char text[32];
        std::snprintf (text, sizeof text, "0x%016llxull", static_cast<unsigned long long> (hash));
        EXPECT_EQ (hash, c.hash) << kind.label << " mode " << static_cast<int> (c.mode) << " gave " << text;
    }
}
