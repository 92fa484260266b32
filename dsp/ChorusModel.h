#pragma once

#include "Compressor.h"
#include "Expander.h"
#include "ModulatingDelayLine.h"
#include "ModuleModel.h"
#include "OnePole.h"
#include "OscBaseClass.h"
#include "SmoothVolume.h"

#include <memory>
#include <vector>

/** Marks a model's per-sample chain (on its declaration and its definition) to be
    compiled twice, for AVX2 and for plain x86-64, with the blocks inlined into
    each; the loader picks the version the processor can run. AVX2 brings no
    fused multiply-add, so both versions compute bit-identical results.
    ThreadSanitizer would instrument the loader's version picker, which runs
    before the sanitizer has started, so such builds keep the plain version. */
#if defined (__has_feature)
 #if __has_feature (thread_sanitizer)
  #define CHORUS_CHAIN_TARGETS
 #endif
#endif

#if ! defined (CHORUS_CHAIN_TARGETS)
 #if defined (__x86_64__) && (defined (__GNUC__) || defined (__clang__)) && ! defined (__SANITIZE_THREAD__)
  #define CHORUS_CHAIN_TARGETS __attribute__ ((target_clones ("avx2", "default")))
 #else
  #define CHORUS_CHAIN_TARGETS
 #endif
#endif

/** The control logic shared by the chorus models: how the eight model
    parameters reach the blocks, the LFO rate (free or tempo-synced), depth,
    mix, level and stereo switch, the work buffers and the model's own on/bypass
    cross-fade. A model holds its blocks, tells this class which block plays
    which role (connect()) and writes its per-sample chains (processChorus()).
*/
class ChorusModel : public ModuleModel
{
public:
    enum Parameter
    {
        bypassParameter,
        rateParameter,
        rateSyncParameter,
        depthParameter,
        mixParameter,
        levelParameter,
        stereoOnParameter,
        syncOnParameter,
        numParameters
    };

    ~ChorusModel() override;

    /** Stores the rate and passes it to every block; nothing is recalculated. */
    void setSampleRate (float fs) override;

    /** Clears the signal memory of every block. It touches nothing that
        setParameter() or setBpm() writes, so it may run on one thread while
        another hands values to the model, as long as no thread processes it. */
    void resetBuffer() override;

    /** Puts every block's coefficients and ramps back to neutral. */
    void resetCoeffs() override;

    /** Follows the on switch, sets the LFO rate and recalculates every block. */
    void calc() override;

    /** Processes one channel in place, with the model's bypass fade. */
    void process (float* buffer, int numSamples) noexcept override;

    /** Processes a stereo pair in place, with the model's bypass fade. */
    void process (float* left, float* right, int numSamples) noexcept override;

    /** Stores a value, limited to 0..1 (not-a-number as 0), and hands it on as a target. */
    void setParameter (int index, float value) noexcept override;

    /** Starts the glide or recalculation that makes a parameter audible. */
    void calcParameter (int index) noexcept override;

    float getDefaultParameter (int index) const noexcept override;
    const char* getParameterName (int index) const noexcept override;

    /** Reallocates the dry copies used during a fade for blocks of up to frames samples. */
    void setExpectedSampleFrame (int frames) override;

    /** Makes every parameter take effect at once and clears the delay lines. */
    void forceCalcParams() override;

    void processBlock (float* input, float* output, int numSamples) noexcept override;

    /** Returns the frequency the LFO is set to, in Hz. */
    float getLfoFrequency() const noexcept;

    /** Returns the sweep width that Depth gives every delay line, in milliseconds. */
    float getSweepWidth() const noexcept { return sweepWidth; }

    /** The lowest and highest LFO frequency a model runs at, in Hz. */
    static constexpr float minLfoFrequency = 0.01f;
    static constexpr float maxLfoFrequency = 1000.0f;

protected:
    /** Which of a model's blocks the control logic drives. */
    struct Blocks
    {
        OscBaseClass& lfo;
        OnePole* lfoSmoother;                           // null for an unsmoothed LFO
        std::vector<ModulatingDelayLine*> delayLines;
        Compressor& compressor;
        std::vector<Expander*> expanders;
        OnePole& inputHighPass;
        OnePole& outputHighPass;
        std::vector<SmoothVolume*> wetGains;
        SmoothVolume& dryGain;
        SmoothVolume& levelGain;
        std::vector<DspBase*> calcOrder;                // every DspBase block but the LFO, in calc() order
    };

    explicit ChorusModel (const char* modelName);

    /** Hands the model's blocks to the control logic, applies the defaults and
        resets; every model calls it once, at the end of its constructor. */
    void connect (Blocks modelBlocks);

    /** The model's mono chain, over a whole block in place. */
    virtual void processChorus (float* buffer, int numSamples) noexcept = 0;

    /** The model's stereo chain, over a whole block in place; it reads stereoOn once. */
    virtual void processChorus (float* left, float* right, int numSamples) noexcept = 0;

    bool on = false;
    bool lastOn = false;
    float rate = 0.0f;
    float rateSync = 0.0f;
    float sweepWidth = 0.0f;
    float mix = 0.0f;
    float level = 0.0f;
    bool syncOn = false;
    bool stereoOn = false;
    bool stereoArranged = false;
    bool lastStereoArranged = true;
    std::unique_ptr<float[]> dryLeft, dryRight;
    int fadeState = 0;
    int fadeLength = 2048;
    float fadeStep = 1.0f / 2048.0f;
    float wetFade = 0.0f;
    float dryFade = 1.0f;

private:
    enum FadeState { bypassed, fadingIn, fullyOn, fadingOut };

    /** Returns the number of beats of one LFO cycle for a tempo-synced rate value. */
    static float getBeatsPerCycle (float rateSyncValue) noexcept;

    void passSweepWidthOn() noexcept;   // the sweep width as every delay line's target
    void passMixOn() noexcept;          // mix and 1 - mix as the wet and dry gains' targets
    void updateFadeState() noexcept;
    void calcOsc() noexcept;
    void notifyStereoArrangement() noexcept;
    bool beginBlock (int numSamples) noexcept;
    void advanceFade() noexcept;

    template <typename Operation>
    void forEachBlock (Operation&& operation);

    std::unique_ptr<Blocks> blocks;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ChorusModel)
};
