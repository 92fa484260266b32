#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include "CE2Chorus.h"
#include "DimensionCChorus.h"
#include "TriChorus.h"

#include <array>
#include <atomic>
#include <memory>

// Ids of the nine host parameters; also their names and the "property" of every
// state and preset Value element.
extern const char* const c_bypass;
extern const char* const c_type;
extern const char* const c_rate;
extern const char* const c_rateSync;
extern const char* const c_depth;
extern const char* const c_mix;
extern const char* const c_level;
extern const char* const c_stereoSpread;
extern const char* const c_sync;

/** One program of the bank: the active setting (0 = A, 1 = B) and, per setting,
    its preset path and the nine normalised parameter values.

    The active setting and the values are atomics, since host automation stores
    values from the audio thread, which never waits for the processor's bank
    lock; the preset paths are read and written only under that lock. */
struct ProgramSlot
{
    static constexpr int numSettings = 2;
    static constexpr int numValues = 9;

    std::atomic<int> activeChannel { 0 };
    juce::String presetPath[numSettings];
    std::atomic<float> values[numSettings][numValues] {};

    /** The active setting as an index: any number but 1 reads as setting A, so a
        record written elsewhere never indexes outside the two settings. */
    int getActiveSetting() const noexcept  { return activeChannel.load() == 1 ? 1 : 0; }
};

/** The plug-in object: nine host parameters, a bank of 12 A/B programs, and the
    audio path that runs one of three chorus models and cross-fades between
    models and between processed and dry signal. */
class ModulixQR7150AudioProcessor : public juce::AudioProcessor,
                                    public juce::Timer
{
public:
    static constexpr int numParameters = ProgramSlot::numValues;
    static constexpr int numProgramSlots = 12;
    static constexpr int numModels = 3;
    static constexpr int numModelParameters = 8;

    /** The host parameters that the processor and its documents treat apart. */
    enum HostParameterIndex { bypassIndex = 0, typeIndex = 1, rateSyncIndex = 3, stereoIndex = 7, syncIndex = 8 };

    /** The nine id texts (c_bypass ... c_sync) in parameter-index order. */
    static const char* const parameterIds[numParameters];

    /** Fills every program, both settings, with the defaults and "Init.vmxp". */
    ModulixQR7150AudioProcessor();
    ~ModulixQR7150AudioProcessor() override;

    //==============================================================================
    const juce::String getName() const override;

    /** Sizes the work buffers and fade length, prepares all three models and puts
        the on/off state and the chosen model in force without a fade. */
    void prepareToPlay (double sampleRate, int samplesPerBlock) override;

    /** Frees the work buffers. */
    void releaseResources() override;

    /** Accepts 1 in / 1 out, 1 in / 2 out and 2 in / 2 out. */
    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;

    using juce::AudioProcessor::processBlock;
    using juce::AudioProcessor::processBlockBypassed;

    /** Runs the chosen model in place, with the model-change and bypass fades. */
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&) override;

    /** Passes the buffer unchanged; a mono input is copied to both outputs. */
    void processBlockBypassed (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&) override;

    bool silenceInProducesSilenceOut() const override    { return false; }
    double getTailLengthSeconds() const override         { return 0.0; }
    bool acceptsMidi() const override                    { return false; }
    bool producesMidi() const override                   { return false; }

    /** A new ModulixQR7150AudioProcessorEditor on this processor; the caller owns it. */
    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override                      { return true; }

    //==============================================================================
    using juce::AudioProcessor::getParameterName;
    using juce::AudioProcessor::getParameterText;

    int getNumParameters() override                      { return numParameters; }

    /** The parameter's id text, or an empty text for an unknown index. */
    const juce::String getParameterName (int index) override;

    /** The stored value of the current program's active setting; 0 for an unknown index. */
    float getParameter (int index) override;

    /** The text of the live value: "On"/"Off", "Type 1" to "Type 3", or ten times the value. */
    const juce::String getParameterText (int index) override;

    /** The parameter's default; 0 for an unknown index. */
    float getParameterDefaultValue (int index) override;

    /** Stores the value into the active setting and the live values and raises
        paramsChanged; a chorus-type change (re)starts the 50 ms model-switch timer. */
    void setParameter (int index, float value) override;

    //==============================================================================
    int getNumPrograms() override                        { return numProgramSlots; }
    int getCurrentProgram() override                     { return currentProgram.load(); }

    /** Makes a program current, hands its active setting to the host in index
        order and raises all three refresh flags. */
    void setCurrentProgram (int index) override;

    /** The file name, without extension, of the active setting's preset. */
    const juce::String getProgramName (int index) override;

    /** Program names follow the preset paths, so this does nothing. */
    void changeProgramName (int, const juce::String&) override {}

    //==============================================================================
    void getStateInformation (juce::MemoryBlock& destData) override;
    void getCurrentProgramStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;
    void setCurrentProgramStateInformation (const void* data, int sizeInBytes) override;

    /** Reads a bank state block as setStateInformation does, and says whether it
        took it: false for a block that does not unpack into a document with this
        plug-in's root, which changes nothing. A format that can tell its host a
        state was refused asks this. */
    bool takeStateInformation (const void* data, int sizeInBytes);

    //==============================================================================
    const juce::String getInputChannelName (int channelIndex) const override;
    const juce::String getOutputChannelName (int channelIndex) const override;
    bool isInputChannelStereoPair (int) const override   { return true; }
    bool isOutputChannelStereoPair (int) const override  { return true; }

    //==============================================================================
    /** Applies the pending chorus-type change: clears the newly chosen model's
        signal memory when it is idle, and asks the audio thread to prepare it
        and cross-fade to it. Runs once per start. */
    void timerCallback() override;

    //==============================================================================
    // The bank as the editor and its dialogs reach it. The message thread and
    // host threads (state, programs) may use the bank at once: each of these
    // is one step under the bank lock, which the audio thread never takes, and
    // the host hears of the change only after the lock is let go, since its
    // callbacks may take locks of their own.

    /** The current program's active setting: 0 (A) or 1 (B). */
    int getActiveSetting() const noexcept;

    /** The preset path of the current program's active setting. */
    juce::String getActivePresetPath() const;

    /** Records the preset that the current program's active setting comes from,
        and tells the host that the stored state changed. */
    void setActivePresetPath (const juce::String& path);

    /** Makes setting 0 (A) or 1 (B) of the current program active, hands its
        values to the host in index order, raises presetChanged and
        paramsChanged, and tells the host that the stored state changed. */
    void selectSetting (int setting);

    /** Copies the active setting's values, which are what plays, onto the other
        setting of the current program, and tells the host that the stored
        state changed. */
    void copyActiveSetting();

    //==============================================================================
    /** Resets the bank: program 0 current, every setting at the defaults and "Init.vmxp". */
    void initDefaultPreset();

    /** The bank state (false) or the preset-file document of the current setting (true). */
    juce::XmlElement writePreset (bool asPresetFile);

    /** Applies a bank state (false) or a preset file (true); returns the read result. */
    int readPreset (std::unique_ptr<juce::XmlElement> xml, bool asPresetFile);

    /** The current program with both of its settings. */
    juce::XmlElement writeCurrentProgram();

    /** Applies a current-program state; false when the root tag is not ours. */
    bool readCurrentProgram (std::unique_ptr<juce::XmlElement> xml);

    /** Decodes first and its following siblings as Values into one stored setting. */
    void storePresetElement (juce::XmlElement* first, int program, int setting);

    /** Decodes first and its following siblings as Values into the live parameters. */
    void readPresetElement (juce::XmlElement* first);

    /** True when the file's setting differs from the current one. */
    bool comparePreset (std::unique_ptr<juce::XmlElement> xml);

    //==============================================================================
    // The editor and the kit read and write the bank (currentProgram, programs)
    // only through the accessors above, never these fields.
    std::unique_ptr<juce::XmlElement> stateXml;
    std::atomic<int> currentProgram { 0 };
    ProgramSlot programs[numProgramSlots];
    std::atomic<float> currentValues[numParameters];

    std::atomic<bool> presetChanged { false };
    std::atomic<bool> paramsChanged { false };
    std::atomic<bool> programChanged { false };

private:
    //==============================================================================
    /** Chorus-type changes often come from host automation on the audio thread,
        where starting the model-switch timer would take the timer's lock. They
        raise a flag instead, which this watcher turns into the same 50 ms wait
        on the message thread. */
    class OffThreadTypeChanges final : private juce::Timer
    {
    public:
        explicit OffThreadTypeChanges (juce::Timer& modelSwitchTimer);
        ~OffThreadTypeChanges() override;

        /** Lock-free; the wait starts at the watcher's next tick (within 10 ms). */
        void raise() noexcept { pending.store (true, std::memory_order_release); }

    private:
        void timerCallback() override;

        juce::Timer& switchTimer;
        std::atomic<bool> pending { false };
    };

    using Setting = std::array<float, numParameters>;

    /** Under the bank lock: the current program's active setting becomes the
        live values, and is returned for the host. */
    Setting takeActiveSetting() noexcept;

    /** Without the bank lock: tells the host of each value in index order, and
        the editor and the model switch of the new live values. */
    void announceSetting (const Setting& values);

    /** Raises paramsChanged and, for a chorus-type change, starts the model switch. */
    void liveValueChanged (int index);

    /** What the host is told after a change of the bank that is not a
        parameter change: the program names, and that the project changed. */
    void announceStoredStateChange();

    void forceCalcParams();
    void allocateWorkBuffers (int length);
    void freeWorkBuffers() noexcept;

    ModuleModel* getModel (int index) noexcept;

    /** Calls an operation on all three models, in the order 0, 1, 2. */
    template <typename Operation>
    void forEachModel (Operation&& operation)
    {
        for (int m = 0; m < numModels; ++m)
            operation (*getModel (m));
    }
    float getModelValue (int hostIndex) const noexcept;
    int getChosenModel() const noexcept;

    void processSlice (float* left, float* right, int numSamples) noexcept;
    juce::Optional<float> getHostTempo() const noexcept;
    void updateTempo() noexcept;
    void takeModelSwitch() noexcept;
    unsigned getModelsInUseAfterSwitchTo (int chosen) const noexcept;
    bool isFreshModel (int chosen) const noexcept;
    void switchTo (int chosen, bool clearedByTimer) noexcept;
    void recalculateAll (ModuleModel* model) noexcept;
    void handOverParameters() noexcept;
    void runModels (float* left, float* right, int numSamples) noexcept;
    void crossFadeModels (float* left, float* right, int numSamples) noexcept;
    void applyBypassFade (float* left, float* right, int numSamples) noexcept;

    //==============================================================================
    float lastBpm = 120.0f;

    CE2Chorus ce2Chorus;
    DimensionCChorus dimensionCChorus;
    TriChorus triChorus;

    bool isOn = true;

    int workBufferLength = 0;
    std::unique_ptr<float[]> dryLeft, dryRight, modelLeft, modelRight;

    int bypassCounter = 0;
    int fadeLength = 2048;
    float bypassStep = 0.0f;
    float bypassGain = 1.0f;
    float bypassTarget = 1.0f;

    // Model switch. The timer (message thread) clears the signal memory of the
    // newly chosen model when the audio thread does not run it, and asks for the
    // switch through modelSwitch, which also names the models the audio thread
    // runs. The audio thread takes the request, prepares the model for the
    // values in force and owns the fade.
    std::atomic<unsigned> modelSwitch { 1u };
    int currentModel = 0;
    int fadingModel = 0;
    bool modelFadeRunning = false;
    float modelFadeGain = 1.0f;
    float modelFadeStep = 0.0f;

    // Model parameter values last handed over, by model parameter index.
    float lastModelValues[numModelParameters] {};

    // Hosts may prepare the processor on their own thread while the model-switch
    // timer clears a model on the message thread; the two take turns on the
    // models. The audio thread never takes this lock.
    juce::CriticalSection modelSetupLock;

    OffThreadTypeChanges offThreadTypeChanges { *this };

    // Guards the bank's preset paths, and keeps every change that touches
    // more than one field of the bank whole. Never taken on the audio thread.
    juce::CriticalSection bankLock;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ModulixQR7150AudioProcessor)
};
