#pragma once

#include "CompanderHalf.h"

#include <cmath>

/** Feed-forward expander: multiplies the signal by the smoothed magnitude of
    its input, y[n] = x[n] LP (|x|)[n], the inverse of the compressor's law
    (1:2 in decibels).
*/
class Expander final : public CompanderHalf
{
public:
    /** Builds the detector and resets. */
    Expander() noexcept;
    ~Expander() override;

    /** Clears both envelopes and the detector and restores the default capacitance. */
    void resetBuffer() override;

    /** Expands one sample in place. */
    void process (double& x) noexcept override                  { expand (x); }

    /** Expands a left and a right sample in place, each with its own envelope. */
    void process (double& left, double& right) noexcept override
    {
        processAsPair (left, right, [this] (DoublePair& pair) { expand (pair); });
    }

    /** Expands a left/right pair in place, each lane with its own envelope. */
    void process (DoublePair& pair) noexcept                    { expand (pair); }

private:
    template <typename Sample>
    void expand (Sample& x) noexcept
    {
        using std::abs; // the DoublePair version comes in by argument-dependent lookup
        auto envelope = abs (x);
        detector.process (envelope);
        storeChannels (envelopes, envelope);
        x *= envelope;
    }
};
