// Prints how much louder each model's output starts on a note after 0.5 s of
// digital silence than on the same note after 0.5 s of -96 dBFS noise: the
// onset peaks of both (dBFS, over the note's first 250 ms) and their
// difference, for the three types, a sine and a plucked tone, the onset
// table's input levels and three sample rates.

#include "QuietPassages.h"

#include <cstdio>

int main()
{
    std::printf ("%-7s %-6s %6s %8s %14s %13s %8s\n", "type", "note", "input", "rate", "after silence", "after noise", "rise");

    const auto kinds = allModelKinds();

    for (size_t type = 0; type < kinds.size(); ++type)
        for (const auto shape : { NoteShape::sine, NoteShape::pluck })
            for (const auto level : onsetLevelsDb())
                for (const auto rate : { 44100.0f, 48000.0f, 96000.0f })
                {
                    const auto onset = measureOnsetRise (kinds[type], shape, level, rate);
                    std::printf ("Type %zu  %-6s %6.0f %8.0f %14.2f %13.2f %+8.2f\n", type + 1, nameOf (shape), level,
                                 static_cast<double> (rate), onset.afterSilenceDb, onset.afterNoiseDb, onset.riseDb());
                }

    return 0;
}
