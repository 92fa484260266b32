#include "QuietPassages.h"

#include <gtest/gtest.h>

// A note that starts after exact digital silence (a soft synth between notes,
// a gated or edited clip) must start as a note after an analog noise floor
// does: the compressor's detector must not have decayed so far that it
// divides the first samples by almost nothing and bursts into the soft clip.

TEST (ChorusOnsetAfterSilenceTest, ANoteStartsAfterDigitalSilenceAsAfterANoiseFloor)
{
    constexpr float sampleRate = 48000.0f;
    constexpr double toleranceDb = 1.5;

    for (const auto& kind : allModelKinds())
        for (const auto shape : { NoteShape::sine, NoteShape::pluck })
            for (const auto levelDb : onsetLevelsDb())
            {
                const auto onset = measureOnsetRise (kind, shape, levelDb, sampleRate);

                EXPECT_LE (onset.riseDb(), toleranceDb)
                    << kind.label << ", " << nameOf (shape) << " at " << levelDb << " dBFS: "
                    << onset.afterSilenceDb << " dBFS after silence, " << onset.afterNoiseDb << " dBFS after noise";
                EXPECT_LT (onset.afterSilenceDb, 0.0) << kind.label << ", " << nameOf (shape) << " at " << levelDb << " dBFS";
            }
}
