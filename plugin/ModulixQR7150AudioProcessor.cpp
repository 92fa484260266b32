#include "ModulixQR7150AudioProcessor.h"

#include "ModulixQR7150AudioProcessorEditor.h"

#include <algorithm>
#include <cmath>
#include <utility>

const char* const c_bypass       = "onBypass";
const char* const c_type         = "chorusType";
const char* const c_rate         = "rate";
const char* const c_rateSync     = "rateSync";
const char* const c_depth        = "depth";
const char* const c_mix          = "mix";
const char* const c_level        = "level";
const char* const c_stereoSpread = "stereo";
const char* const c_sync         = "sync";

namespace
{
    constexpr int numParameters = ModulixQR7150AudioProcessor::numParameters;

    const float parameterDefaults[numParameters] { 1.0f, 0.0f, 0.2f, 1.0f / 6.0f, 0.2f,
                                                   0.5f, 0.5f, 0.0f, 0.0f };

    /** Which host parameter feeds which model parameter, in host order. */
    struct ModelFeed
    {
        int hostIndex;
        int modelIndex;
    };

    constexpr ModelFeed modelFeeds[] { { 2, 1 }, { 3, 2 }, { 4, 3 }, { 5, 4 }, { 6, 5 }, { 7, 6 }, { 8, 7 } };

    /** Changed values are handed over switches first: stereo, sync, then rate to level. */
    constexpr int handOverOrder[] { 5, 6, 0, 1, 2, 3, 4 };

    constexpr int minimumWorkBufferLength = 16384;
    constexpr int modelSwitchDelayMs = 50;
    constexpr int offThreadPollMs = 10;

    /** Below this, a fade gain counts as silent (the float with bits 0x26901D7D). */
    constexpr float fadeFloor = 1.0e-15f;

    bool isValidIndex (int index, int count) noexcept    { return index >= 0 && index < count; }

    bool isSwitchParameter (int index) noexcept
    {
        using P = ModulixQR7150AudioProcessor;
        return index == P::bypassIndex || index == P::stereoIndex || index == P::syncIndex;
    }

    /** ceil (2 v) in single precision; anything outside 0 to 2 (NaN too) is -1, no model. */
    int getModelIndexFor (float chorusType) noexcept
    {
        const auto index = std::ceil (2.0f * chorusType);
        return index >= 0.0f && index <= 2.0f ? static_cast<int> (index) : -1;
    }

    bool isSilentGain (float gain) noexcept  { return gain < fadeFloor; }

    /** The model's bit in a set of models; none for an index that selects no model. */
    unsigned getModelBit (int index) noexcept
    {
        return index >= 0 && index < ModulixQR7150AudioProcessor::numModels ? 1u << index : 0u;
    }

    /** The word the model-switch timer and the audio thread share: the models
        the audio thread runs (one bit each), and the switch the timer asks for. */
    namespace SwitchWord
    {
        constexpr unsigned modelsInUse = 7u;
        constexpr unsigned pending = 8u;
        constexpr unsigned cleared = 16u;   // the timer cleared the model's signal memory
        constexpr int modelShift = 5;       // two bits: the model index + 1 (0 for none)

        unsigned request (int model, bool clearedByTimer) noexcept
        {
            return pending | (clearedByTimer ? cleared : 0u) | (static_cast<unsigned> (model + 1) << modelShift);
        }

        int requestedModel (unsigned word) noexcept  { return static_cast<int> ((word >> modelShift) & 3u) - 1; }
        bool isPending (unsigned word) noexcept      { return (word & pending) != 0; }
        bool wasCleared (unsigned word) noexcept     { return (word & cleared) != 0; }
    }

    juce::String getTypeText (float value)
    {
        if (value <= 0.0f)
            return "Type 1";

        return value <= 0.5f ? "Type 2" : "Type 3";
    }

    juce::File getPresetFolder()
    {
        return juce::File::getSpecialLocation (juce::File::userMusicDirectory)
                   .getChildFile ("Audio Music Apps")
                   .getChildFile ("Velora/Presets/ModulixQR7150");
    }

    // Host input is not trusted: a NaN or infinite sample would reach the output
    // through the dry signal and the bypass, whatever the models make of it.
    void silenceNonFiniteSamples (juce::AudioBuffer<float>& buffer) noexcept
    {
        for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
        {
            auto* samples = buffer.getWritePointer (ch);

            for (int i = 0; i < buffer.getNumSamples(); ++i)
                samples[i] = std::isfinite (samples[i]) ? samples[i] : 0.0f;
        }
    }
}

const char* const ModulixQR7150AudioProcessor::parameterIds[numParameters] {
    c_bypass, c_type, c_rate, c_rateSync, c_depth, c_mix, c_level, c_stereoSpread, c_sync
};

//==============================================================================
ModulixQR7150AudioProcessor::ModulixQR7150AudioProcessor()
    : juce::AudioProcessor (BusesProperties().withInput ("Input", juce::AudioChannelSet::stereo(), true)
                                             .withOutput ("Output", juce::AudioChannelSet::stereo(), true))
{
    initDefaultPreset();
}

ModulixQR7150AudioProcessor::~ModulixQR7150AudioProcessor()
{
    stopTimer();
}

ModulixQR7150AudioProcessor::OffThreadTypeChanges::OffThreadTypeChanges (juce::Timer& modelSwitchTimer)
    : switchTimer (modelSwitchTimer)
{
    if (juce::MessageManager::getInstanceWithoutCreating() != nullptr)
        startTimer (offThreadPollMs);
}

ModulixQR7150AudioProcessor::OffThreadTypeChanges::~OffThreadTypeChanges()
{
    stopTimer();
}

void ModulixQR7150AudioProcessor::OffThreadTypeChanges::timerCallback()
{
    if (pending.exchange (false, std::memory_order_acquire))
        switchTimer.startTimer (modelSwitchDelayMs);
}

const juce::String ModulixQR7150AudioProcessor::getName() const
{
    return "Modulix QR7150";
}

void ModulixQR7150AudioProcessor::initDefaultPreset()
{
    const juce::ScopedLock bank (bankLock);
    currentProgram = 0;

    for (auto& program : programs)
    {
        program.activeChannel = 0;

        for (int setting = 0; setting < ProgramSlot::numSettings; ++setting)
        {
            program.presetPath[setting] = "Init.vmxp";

            for (int i = 0; i < numParameters; ++i)
            {
                program.values[setting][i] = getParameterDefaultValue (i);
                currentValues[i] = program.values[setting][i].load();
            }
        }
    }
}

//==============================================================================
const juce::String ModulixQR7150AudioProcessor::getParameterName (int index)
{
    return isValidIndex (index, numParameters) ? parameterIds[index] : "";
}

float ModulixQR7150AudioProcessor::getParameter (int index)
{
    if (! isValidIndex (index, numParameters))
        return 0.0f;

    const auto& program = programs[currentProgram];
    return program.values[program.getActiveSetting()][index];
}

const juce::String ModulixQR7150AudioProcessor::getParameterText (int index)
{
    if (! isValidIndex (index, numParameters))
        return {};

    const float value = currentValues[index];

    if (isSwitchParameter (index))
        return value == 0.0f ? "Off" : "On";

    if (index == typeIndex)
        return getTypeText (value);

    return juce::String (10.0f * value, 2);
}

float ModulixQR7150AudioProcessor::getParameterDefaultValue (int index)
{
    return isValidIndex (index, numParameters) ? parameterDefaults[index] : 0.0f;
}

void ModulixQR7150AudioProcessor::setParameter (int index, float value)
{
    if (! isValidIndex (index, numParameters))
        return;

    auto& program = programs[currentProgram];
    program.values[program.getActiveSetting()][index] = value;
    currentValues[index] = value;
    liveValueChanged (index);
}

void ModulixQR7150AudioProcessor::liveValueChanged (int index)
{
    paramsChanged = true;

    if (index == typeIndex)
    {
        if (juce::MessageManager::existsAndIsCurrentThread())
            startTimer (modelSwitchDelayMs);
        else
            offThreadTypeChanges.raise();
    }
}

//==============================================================================
void ModulixQR7150AudioProcessor::setCurrentProgram (int index)
{
    if (! isValidIndex (index, numProgramSlots))
        return;

    Setting values;

    {
        const juce::ScopedLock bank (bankLock);
        currentProgram = index;
        values = takeActiveSetting();
    }

    announceSetting (values);
    presetChanged = true;
    paramsChanged = true;
    programChanged = true;
}

ModulixQR7150AudioProcessor::Setting ModulixQR7150AudioProcessor::takeActiveSetting() noexcept
{
    const auto& program = programs[currentProgram];
    const int setting = program.getActiveSetting();
    Setting values;

    for (int i = 0; i < numParameters; ++i)
    {
        values[(size_t) i] = program.values[setting][i];
        currentValues[i] = values[(size_t) i];
    }

    return values;
}

void ModulixQR7150AudioProcessor::announceSetting (const Setting& values)
{
    for (int i = 0; i < numParameters; ++i)
    {
        sendParamChangeMessageToListeners (i, values[(size_t) i]);
        liveValueChanged (i);
    }
}

void ModulixQR7150AudioProcessor::announceStoredStateChange()
{
    updateHostDisplay (ChangeDetails::getDefaultFlags().withNonParameterStateChanged (true));
}

//==============================================================================
int ModulixQR7150AudioProcessor::getActiveSetting() const noexcept
{
    return programs[currentProgram].getActiveSetting();
}

juce::String ModulixQR7150AudioProcessor::getActivePresetPath() const
{
    const juce::ScopedLock bank (bankLock);
    const auto& program = programs[currentProgram];
    return program.presetPath[program.getActiveSetting()];
}

void ModulixQR7150AudioProcessor::setActivePresetPath (const juce::String& path)
{
    {
        const juce::ScopedLock bank (bankLock);
        auto& program = programs[currentProgram];
        program.presetPath[program.getActiveSetting()] = path;
    }

    announceStoredStateChange();
}

void ModulixQR7150AudioProcessor::selectSetting (int setting)
{
    Setting values;

    {
        const juce::ScopedLock bank (bankLock);
        programs[currentProgram].activeChannel = setting == 1 ? 1 : 0;
        values = takeActiveSetting();
    }

    announceSetting (values);
    presetChanged = true;
    paramsChanged = true;
    announceStoredStateChange();
}

void ModulixQR7150AudioProcessor::copyActiveSetting()
{
    {
        const juce::ScopedLock bank (bankLock);
        auto& program = programs[currentProgram];
        const int from = program.getActiveSetting();

        for (int i = 0; i < numParameters; ++i)
            program.values[1 - from][i] = program.values[from][i].load();
    }

    announceStoredStateChange();
}

const juce::String ModulixQR7150AudioProcessor::getProgramName (int index)
{
    if (! isValidIndex (index, numProgramSlots))
        return {};

    juce::String path;

    {
        const juce::ScopedLock bank (bankLock);
        const auto& program = programs[index];
        path = program.presetPath[program.getActiveSetting()];
    }

    return getPresetFolder().getChildFile (path).getFileNameWithoutExtension();
}

juce::AudioProcessorEditor* ModulixQR7150AudioProcessor::createEditor()
{
    return new ModulixQR7150AudioProcessorEditor (this);
}

//==============================================================================
const juce::String ModulixQR7150AudioProcessor::getInputChannelName (int channelIndex) const
{
    return juce::String (channelIndex + 1);
}

const juce::String ModulixQR7150AudioProcessor::getOutputChannelName (int channelIndex) const
{
    return juce::String (channelIndex + 1);
}

bool ModulixQR7150AudioProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    const auto in = layouts.getMainInputChannelSet();
    const auto out = layouts.getMainOutputChannelSet();
    const auto mono = juce::AudioChannelSet::mono();
    const auto stereo = juce::AudioChannelSet::stereo();

    return (in == mono && (out == mono || out == stereo)) || (in == stereo && out == stereo);
}

//==============================================================================
void ModulixQR7150AudioProcessor::prepareToPlay (double sampleRate, int samplesPerBlock)
{
    const juce::ScopedLock settingUpModels (modelSetupLock);

    fadeLength = getSampleRateBandLength (static_cast<float> (sampleRate));
    bypassCounter = fadeLength;

    const int length = std::max (samplesPerBlock, minimumWorkBufferLength);
    allocateWorkBuffers (length);

    forEachModel ([&] (ModuleModel& model)
    {
        model.setSampleRate (static_cast<float> (sampleRate));
        model.setExpectedSampleFrame (length);
    });

    forceCalcParams();
}

void ModulixQR7150AudioProcessor::releaseResources()
{
    freeWorkBuffers();
}

void ModulixQR7150AudioProcessor::allocateWorkBuffers (int length)
{
    for (auto* buffer : { &modelLeft, &modelRight, &dryLeft, &dryRight })
        buffer->reset (new float[static_cast<size_t> (length)]());

    workBufferLength = length;
}

void ModulixQR7150AudioProcessor::freeWorkBuffers() noexcept
{
    workBufferLength = 0;

    for (auto* buffer : { &modelLeft, &modelRight, &dryLeft, &dryRight })
        buffer->reset();
}

void ModulixQR7150AudioProcessor::forceCalcParams()
{
    isOn = currentValues[bypassIndex] > 0.0f;
    bypassStep = 0.0f;
    bypassCounter = fadeLength;
    bypassTarget = bypassGain = isOn ? 1.0f : 0.0f;

    // Preparation chooses the model afresh and forgets any switch asked for.
    const int chosen = getModelIndexFor (currentValues[typeIndex]);
    currentModel = chosen;
    fadingModel = chosen;
    modelFadeRunning = false;
    modelFadeGain = 1.0f;
    modelFadeStep = 0.0f;
    modelSwitch.store (getModelBit (chosen), std::memory_order_release);

    forEachModel ([&] (ModuleModel& model) { model.reset(); });

    forEachModel ([&] (ModuleModel& model) { model.setParameter (0, 1.0f); });

    if (const auto tempo = getHostTempo())
    {
        lastBpm = *tempo;

        forEachModel ([&] (ModuleModel& model) { model.setBpm (lastBpm); });
    }

    for (const auto& feed : modelFeeds)
    {
        const float value = getModelValue (feed.hostIndex);

        forEachModel ([&] (ModuleModel& model) { model.setParameter (feed.modelIndex, value); });

        lastModelValues[feed.modelIndex] = value;
    }

    forEachModel ([&] (ModuleModel& model) { model.forceCalcParams(); });
}

//==============================================================================
void ModulixQR7150AudioProcessor::timerCallback()
{
    stopTimer();
    const juce::ScopedLock settingUpModels (modelSetupLock);

    const int chosen = getModelIndexFor (currentValues[typeIndex]);
    auto word = modelSwitch.load (std::memory_order_acquire);

    // The audio thread may take the request still waiting at any moment, so
    // the model it names is left alone.
    if (SwitchWord::isPending (word) && SwitchWord::requestedModel (word) == chosen)
        return;

    // Clearing a model's signal memory is the costly part of preparing it, so
    // it is done here for a model the audio thread does not run: until it takes
    // this request, the audio thread only hands that model values and tempo,
    // which the clearing does not touch. The audio thread recalculates it with
    // the values then in force when it takes over.
    const bool clear = (word & getModelBit (chosen)) == 0;

    if (auto* model = clear ? getModel (chosen) : nullptr)
        model->resetBuffer();

    while (! modelSwitch.compare_exchange_weak (word, (word & SwitchWord::modelsInUse) | SwitchWord::request (chosen, clear),
                                                std::memory_order_acq_rel, std::memory_order_acquire))
    {
    }
}

//==============================================================================
ModuleModel* ModulixQR7150AudioProcessor::getModel (int index) noexcept
{
    switch (index)
    {
        case 0:  return &ce2Chorus;
        case 1:  return &dimensionCChorus;
        case 2:  return &triChorus;
        default: return nullptr;
    }
}

float ModulixQR7150AudioProcessor::getModelValue (int hostIndex) const noexcept
{
    const float value = currentValues[hostIndex];

    if (isSwitchParameter (hostIndex))
        return value > 0.0f ? 1.0f : 0.0f;

    // The models keep values outside 0 to 1 in range themselves.
    return value;
}

int ModulixQR7150AudioProcessor::getChosenModel() const noexcept
{
    return modelFadeRunning ? fadingModel : currentModel;
}

//==============================================================================
void ModulixQR7150AudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    const int numSamples = buffer.getNumSamples();

    if (workBufferLength == 0 || buffer.getNumChannels() == 0 || numSamples <= 0)
        return;

    silenceNonFiniteSamples (buffer);
    const bool stereoOut = getTotalNumOutputChannels() >= 2 && buffer.getNumChannels() >= 2;
    float* left = buffer.getWritePointer (0);
    float* right = stereoOut ? buffer.getWritePointer (1) : nullptr;

    if (stereoOut && getTotalNumInputChannels() <= 1)
        juce::FloatVectorOperations::copy (right, left, numSamples);

    // Work buffers hold workBufferLength samples; longer host blocks go in slices.
    for (int start = 0; start < numSamples; start += workBufferLength)
        processSlice (left + start,
                      right != nullptr ? right + start : nullptr,
                      std::min (workBufferLength, numSamples - start));
}

void ModulixQR7150AudioProcessor::processBlockBypassed (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    silenceNonFiniteSamples (buffer);

    if (getTotalNumInputChannels() == 1 && getTotalNumOutputChannels() >= 2 && buffer.getNumChannels() >= 2)
        buffer.copyFrom (1, 0, buffer, 0, 0, buffer.getNumSamples());
}

void ModulixQR7150AudioProcessor::processSlice (float* left, float* right, int numSamples) noexcept
{
    const float onValue = currentValues[bypassIndex];
    isOn = onValue > 0.0f;

    if (onValue == 0.0f && isSilentGain (bypassGain))
        return;

    juce::FloatVectorOperations::copy (dryLeft.get(), left, numSamples);

    if (right != nullptr)
        juce::FloatVectorOperations::copy (dryRight.get(), right, numSamples);

    updateTempo();
    handOverParameters();
    takeModelSwitch();
    runModels (left, right, numSamples);
    applyBypassFade (left, right, numSamples);
}

juce::Optional<float> ModulixQR7150AudioProcessor::getHostTempo() const noexcept
{
    if (auto* host = getPlayHead())
        if (const auto position = host->getPosition())
            if (const auto bpm = position->getBpm())
                return static_cast<float> (*bpm);

    // No play head or no tempo: the last one stays. Any tempo given reaches the
    // models, which keep their LFO rate within bounds whatever it is.
    return {};
}

void ModulixQR7150AudioProcessor::updateTempo() noexcept
{
    const auto tempo = getHostTempo();

    // A NaN never equals the last tempo, so it is handed over again.
    if (! tempo.hasValue() || *tempo == lastBpm)
        return;

    lastBpm = *tempo;

    forEachModel ([&] (ModuleModel& model) { model.setBpm (lastBpm); });
}

void ModulixQR7150AudioProcessor::takeModelSwitch() noexcept
{
    // Taking the request and naming the models run from now on is one step,
    // so the timer never takes a model for idle that the audio thread is
    // about to run.
    auto word = modelSwitch.load (std::memory_order_relaxed);
    int chosen = 0;

    do
    {
        if (! SwitchWord::isPending (word))
            return;

        chosen = SwitchWord::requestedModel (word);
    }
    while (! modelSwitch.compare_exchange_weak (word, getModelsInUseAfterSwitchTo (chosen),
                                                std::memory_order_acq_rel, std::memory_order_relaxed));

    switchTo (chosen, SwitchWord::wasCleared (word));
}

unsigned ModulixQR7150AudioProcessor::getModelsInUseAfterSwitchTo (int chosen) const noexcept
{
    const unsigned playing = getModelBit (currentModel);

    if (isFreshModel (chosen))
        return playing | getModelBit (chosen);

    return modelFadeRunning ? playing | getModelBit (fadingModel) : playing;
}

bool ModulixQR7150AudioProcessor::isFreshModel (int chosen) const noexcept
{
    return chosen != currentModel && chosen != getChosenModel();
}

void ModulixQR7150AudioProcessor::switchTo (int chosen, bool clearedByTimer) noexcept
{
    if (chosen == getChosenModel())
        return;

    if (! isFreshModel (chosen))
    {
        // Back to the outgoing model, which stored the values changed meanwhile
        // without calculating them. The roles swap, so the mix stays where it is.
        recalculateAll (getModel (chosen));
        currentModel = fadingModel;
        fadingModel = chosen;
        modelFadeGain = 1.0f - modelFadeGain;
        return;
    }

    // A model that was not playing starts afresh, after this block's tempo and
    // values were handed over, so it plays exactly what is in force now.
    if (auto* model = getModel (chosen))
    {
        if (! clearedByTimer)
            model->resetBuffer();

        model->resetCoeffs();
        model->forceCalcParams();
    }

    fadingModel = chosen;
    modelFadeRunning = true;
    modelFadeGain = 1.0f;
    modelFadeStep = -1.0f / static_cast<float> (fadeLength);
}

void ModulixQR7150AudioProcessor::recalculateAll (ModuleModel* model) noexcept
{
    if (model != nullptr)
        for (const auto& feed : modelFeeds)
            model->calcParameter (feed.modelIndex);
}

void ModulixQR7150AudioProcessor::handOverParameters() noexcept
{
    auto* chosen = getModel (getChosenModel());

    for (const int f : handOverOrder)
    {
        const auto& feed = modelFeeds[f];
        const float value = getModelValue (feed.hostIndex);

        // A NaN never equals the last value, so it counts as changed.
        if (value == lastModelValues[feed.modelIndex])
            continue;

        forEachModel ([&] (ModuleModel& model) { model.setParameter (feed.modelIndex, value); });

        if (chosen != nullptr)
            chosen->calcParameter (feed.modelIndex);

        lastModelValues[feed.modelIndex] = value;
    }
}

void ModulixQR7150AudioProcessor::runModels (float* left, float* right, int numSamples) noexcept
{
    const auto process = [numSamples] (ModuleModel* model, float* l, float* r)
    {
        if (model == nullptr)
            return;

        if (r != nullptr)
            model->process (l, r, numSamples);
        else
            model->process (l, numSamples);
    };

    if (modelFadeRunning)
    {
        juce::FloatVectorOperations::copy (modelLeft.get(), left, numSamples);

        if (right != nullptr)
            juce::FloatVectorOperations::copy (modelRight.get(), right, numSamples);
    }

    process (getModel (currentModel), left, right);

    if (modelFadeRunning)
    {
        process (getModel (fadingModel), modelLeft.get(), right != nullptr ? modelRight.get() : nullptr);
        crossFadeModels (left, right, numSamples);
    }
}

void ModulixQR7150AudioProcessor::crossFadeModels (float* left, float* right, int numSamples) noexcept
{
    for (int i = 0; i < numSamples; ++i)
    {
        if (modelFadeGain > fadeFloor)
            modelFadeGain += modelFadeStep;

        if (modelFadeGain <= fadeFloor && modelFadeRunning)
        {
            modelFadeGain = 0.0f;
            modelFadeRunning = false;
            const int outgoing = std::exchange (currentModel, fadingModel);

            // The outgoing model has run its last block; the timer may clear it now.
            modelSwitch.fetch_and (~getModelBit (outgoing), std::memory_order_release);
        }

        const float gain = modelFadeGain;
        left[i] = gain * left[i] + (1.0f - gain) * modelLeft[i];

        if (right != nullptr)
            right[i] = gain * right[i] + (1.0f - gain) * modelRight[i];
    }
}

void ModulixQR7150AudioProcessor::applyBypassFade (float* left, float* right, int numSamples) noexcept
{
    const float target = isOn ? 1.0f : 0.0f;

    if (target != bypassTarget)
    {
        bypassStep = (target - bypassGain) * (1.0f / static_cast<float> (fadeLength));
        bypassCounter = 0;
        bypassTarget = target;
    }

    for (int i = 0; i < numSamples; ++i)
    {
        if (bypassCounter < fadeLength)
        {
            ++bypassCounter;
            bypassGain += bypassStep;

            if (bypassGain > 1.0f)
                bypassGain = 1.0f;
            else if (isSilentGain (bypassGain))
                bypassGain = 0.0f;
        }

        left[i] = bypassGain * left[i] + (1.0f - bypassGain) * dryLeft[i];

        if (right != nullptr)
            right[i] = bypassGain * right[i] + (1.0f - bypassGain) * dryRight[i];
    }
}

//==============================================================================
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new ModulixQR7150AudioProcessor();
}
