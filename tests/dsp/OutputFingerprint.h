#pragma once

#include "ChorusModel.h"
#include "TestBits.h"

#include <cstdint>
#include <vector>

/** How a fingerprint programme drives a model. */
enum class Mode { mono, stereoOff, stereoOn };

/** Processes one block in place: the mono chain, or the stereo chain on both channels. */
inline void processInMode (ChorusModel& model, Mode mode, float* left, float* right, int numSamples)
{
    if (mode == Mode::mono)
        model.process (left, numSamples);
    else
        model.process (left, right, numSamples);
}

/** FNV-1a hash of the bits of every output sample, left and right interleaved
    (the left channel alone in mono): any change of a single bit changes it. */
inline std::uint64_t fingerprintOf (const std::vector<float>& left, const std::vector<float>& right, Mode mode)
{
    std::uint64_t hash = 0xcbf29ce484222325ull;

    const auto add = [&hash] (float value)
    {
        const auto bits = bitsOf (value);

        for (int byte = 0; byte < 4; ++byte)
        {
            hash ^= (bits >> (8 * byte)) & 0xffu;
            hash *= 0x100000001b3ull;
        }
    };

    for (size_t i = 0; i < left.size(); ++i)
    {
        add (left[i]);

        if (mode != Mode::mono)
            add (right[i]);
    }

    return hash;
}
