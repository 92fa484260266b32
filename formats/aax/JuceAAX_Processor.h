// The plug-in's effect parameters object: the processor's nine parameters and
// the master bypass as AAX parameters, the processor's state as the chunk
// 'juce' beside the controls chunk, and the processing side's audio.
#pragma once

#include "AAX_CEffectParameters.h"
#include "JuceAAX_SharedJuce.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class JuceAAX_Processor : public AAX_CEffectParameters,
                          private juce::AudioProcessorListener
{
public:
    /** The state chunk's identifier. */
    static constexpr AAX_CTypeID juceChunkID = AAX_MakeTypeID ('j', 'u', 'c', 'e');
    /** The largest block the processor is prepared for; longer host blocks run in slices. */
    static constexpr int maxBufferSize = 1024;

    /** Creates the plug-in's processor. */
    JuceAAX_Processor();
    /** Drives the given processor (tests use their own). */
    explicit JuceAAX_Processor (std::unique_ptr<juce::AudioProcessor> processorToUse);
    ~JuceAAX_Processor() override;

    juce::AudioProcessor& getPluginInstance() noexcept  { return *processor; }

    //==============================================================================
    /** Prepares the processor for the host's rate and stems, then adds the master
        bypass with its packet and one parameter per processor parameter. */
    AAX_Result EffectInit() override;

    AAX_Result GetParameterName (AAX_CParamID id, AAX_IString* out) const override;
    AAX_Result GetParameterNameOfLength (AAX_CParamID id, AAX_IString* out, int32_t length) const override;
    AAX_Result GetParameterDefaultNormalizedValue (AAX_CParamID id, double* out) const override;
    AAX_Result GetParameterNormalizedValue (AAX_CParamID id, double* out) const override;
    /** Asks for the value; the processor takes it once the parameter stores it. */
    AAX_Result SetParameterNormalizedValue (AAX_CParamID id, double value) override;
    /** Stores the host's value, then hands it to the processor. */
    AAX_Result UpdateParameterNormalizedValue (AAX_CParamID id, double value, AAX_EUpdateSource source) override;
    /** Writes this object into the instance field and prepares for the prepared flag. */
    AAX_Result ResetFieldData (AAX_CFieldIndex fieldIndex, void* data, uint32_t size) const override;

    AAX_Result GetNumberOfChunks (int32_t* out) const override;
    AAX_Result GetChunkIDFromIndex (int32_t index, AAX_CTypeID* out) const override;
    AAX_Result GetChunkSize (AAX_CTypeID id, uint32_t* out) const override;
    /** Writes the 'juce' state that GetChunkSize reported to the same thread; -20008
        when that thread asked for no size first. */
    AAX_Result GetChunk (AAX_CTypeID id, AAX_SPlugInChunk* chunk) const override;
    /** A state the processor refuses leaves every parameter as it was. */
    AAX_Result SetChunk (AAX_CTypeID id, const AAX_SPlugInChunk* chunk) override;

    //==============================================================================
    /** Renders one block in place on outputs (inputs copied over first), or
        passes it through while bypass is set. Audio thread; no allocation. */
    void process (const float* const* inputs, float* const* outputs, int bufferSize, bool bypass) noexcept;

private:
    using Values = std::vector<double>;

    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override;
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override;
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override;

    /** Appends the state chunk and follows the processor's own changes. */
    void listenToProcessor();
    AAX_Result preparePlugin();
    void addBypassParameter();
    void addProcessorParameters();
    /** The processor's index for a parameter identifier, -1 for the bypass or an unknown one. */
    int processorIndexOf (AAX_CParamID id) const;
    /** The AAX parameters' normalised values in processor order. */
    Values parameterValues() const;
    /** Hands the processor every AAX parameter value that differs from before. */
    void handChangesToProcessor (const Values& before);
    void processSlice (const float* const* inputs, float* const* outputs, int offset, int numSamples,
                       bool bypass) noexcept;

    // Declared first, so JUCE and its message thread outlive the processor.
    JuceAAX_SharedJuce sharedJuce;
    std::unique_ptr<juce::AudioProcessor> processor;
    int juceChunkIndex = 0;
    juce::MidiBuffer midiBuffer;
    double sampleRate = 44100.0;
    bool prepared = false;

    // The thread restoring a 'juce' chunk: the processor's own notifications on
    // it are not forwarded, only the values that the state changed.
    std::atomic<std::thread::id> restoringThread {};

    // The state each thread's GetChunkSize took, until its GetChunk writes it:
    // the host sized that thread's buffer for exactly that state.
    mutable std::mutex stateLock;
    mutable std::map<std::thread::id, juce::MemoryBlock> reportedStates;
};
