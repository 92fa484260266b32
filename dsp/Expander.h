#pragma once

#include "OnePole.h"
#include "CompanderDetector.h"

#include <cmath>

/** Feed-forward expander: multiplies the signal by the smoothed magnitude of
    its input, y[n] = x[n] LP (|x|)[n], the inverse of the compressor's law
    (1:2 in decibels).
*/
class Expander final : public ModuleBase
{
public:
    /** Builds the detector and resets. */
    Expander() noexcept;
    ~Expander() override;

    Expander (const Expander&) = delete;
    Expander& operator= (const Expander&) = delete;

    /** Stores the rate and hands it to the detector. */
    void setSampleRate (float fs) override;

    /** Clears both envelopes and the detector and restores the default capacitance. */
    void resetBuffer() override;

    /** Makes the detector a pass-through until the next calc(). */
    void resetCoeffs() override;

    /** Tunes the detector to the RC cutoff of the stored capacitance. */
    void calc() override;

    /** Stores the detector capacitance in farads; nothing changes until calc(). */
    void setCap (float farads) noexcept { capacitance = farads; }

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

    OnePole detector;
    float capacitance = CompanderDetector::defaultCapacitance;
    double envelopes[2] {}; // left, right: the last smoothed magnitudes
};
