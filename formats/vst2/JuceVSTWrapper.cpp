#include "JuceVSTWrapper.h"

#include <algorithm>
#include <cstring>

namespace
{
    constexpr const char* vendorName = "Velora";
    // Version 1.0.1 as VST2 hosts are told it, in the record and when they ask.
    constexpr int reportedVersion = 101;
    constexpr int32_t uniqueId = fourCharCode ("Vqr7");

    // Bytes in the host's buffer, terminator included, for each kind of text.
    constexpr int shortTextBytes = 8;     // parameter labels and value texts
    constexpr int nameBytes = 32;         // parameter and effect names
    constexpr int programNameBytes = 24;  // the program-name buffer hosts size for
    constexpr int stringBytes = 64;       // vendor and product strings

    // What can be a host's sample rate, announced block size or speaker count;
    // the audio set-up refuses anything else. Host blocks longer than the
    // announced size are processed in slices, so a refused size costs nothing.
    constexpr double lowestSampleRate = 1000.0, highestSampleRate = 1536000.0;
    constexpr int largestBlockSize = 65536;
    constexpr int widestArrangement = 32;

    // Editor-window replies.
    constexpr long long done = 1, notDone = 0;

    bool copyText (const juce::String& text, char* buffer, int bufferSize)
    {
        copyToHostBuffer (text.toRawUTF8(), buffer, bufferSize);
        return buffer != nullptr;
    }

    int totalChannels (const juce::AudioProcessor& p, bool isInput)
    {
        return isInput ? p.getTotalNumInputChannels() : p.getTotalNumOutputChannels();
    }

    /** Whether a call may begin by telling the host what was held back for it:
        not closing, and not the calls hosts make from their audio thread. */
    bool sendsHeldBackNotifications (int opcode)
    {
        return opcode != effectClose && opcode != effectProcessEvents
            && opcode != effectStartProcess && opcode != effectStopProcess;
    }
}

//==============================================================================
JuceVSTWrapper::JuceVSTWrapper (HostCallback host, std::unique_ptr<juce::AudioProcessor> p,
                                juce::Rectangle<int> editorSize)
    : AudioEffectX (host, std::max (1, p->getNumPrograms()), 0),
      processor (std::move (p)),
      parameters (*processor, true),
      notifier (parameters.getNumParameters(),
                [this] (int32_t opcode, int32_t index, float value) { callHost (opcode, index, 0, nullptr, value); }),
      editorRect { 0, 0, static_cast<int16_t> (editorSize.getHeight()), static_cast<int16_t> (editorSize.getWidth()) }
{
    numParams = effectRecord.numParameters = parameters.getNumParameters();
    setFlag (hasEditorFlag, processor->hasEditor());
    effectRecord.version = reportedVersion;
    setUniqueID (uniqueId);
    updateChannelCounts();
    setAudioRunning (false);
    canProcessReplacing (true);
    canDoubleReplacing (processor->supportsDoublePrecisionProcessing());
    isSynth (false);
    programsAreChunks (true);

    processor->setPlayHead (this);
    processor->addListener (this);
}

JuceVSTWrapper::~JuceVSTWrapper()
{
    // Holding the loop, no timer, repaint or other event can run while the
    // editor and the processor go.
    const VstMessageLoop::Turn turn (*messageLoop);
    deleteWindow();
    processor->removeListener (this);
    processor->setPlayHead (nullptr);
    processor.reset();
}

void JuceVSTWrapper::close()
{
    // What the host has not heard yet goes with the instance.
    notifier.stop();
    const VstMessageLoop::Turn turn (*messageLoop);
    deleteWindow();
}

//==============================================================================
long long JuceVSTWrapper::dispatcher (int opcode, int index, long long value, void* ptr, float opt)
{
    const VstHostNotifier::HostCall inHostCall (notifier);

    if (sendsHeldBackNotifications (opcode))
        notifier.sendHeldBack();

    switch (opcode)
    {
        case effectEditorGetRect:  return getEditorRect (static_cast<EditorRect**> (ptr));
        case effectEditorOpen:     return openEditor (ptr);
        case effectEditorClose:    closeEditor(); return done;
        case effectEditorIdle:     idleEditor(); return notDone;
        default:                   return AudioEffectX::dispatcher (opcode, index, value, ptr, opt);
    }
}

long long JuceVSTWrapper::getEditorRect (EditorRect** rect)
{
    if (rect == nullptr)
        return notDone;

    // Hosts ask often, also before any window exists; the size is fixed, so
    // nothing is built or locked to answer.
    const bool known = processor->hasEditor() && editorRect.bottom > 0 && editorRect.right > 0;
    *rect = known ? &editorRect : nullptr;
    return known ? done : notDone;
}

long long JuceVSTWrapper::openEditor (void* parentWindow)
{
    if (parentWindow == nullptr || ! processor->hasEditor())
        return notDone;

    const VstMessageLoop::Turn turn (*messageLoop);
    deleteWindow();
    std::unique_ptr<juce::AudioProcessorEditor> editor { processor->createEditorIfNeeded() };

    if (editor == nullptr)
        return notDone;

    editorWindow = std::make_unique<VstEditorWindow> (std::move (editor), parentWindow);
    windowOpen = true;
    return done;
}

void JuceVSTWrapper::closeEditor()
{
    if (! windowOpen)
        return;

    const VstMessageLoop::Turn turn (*messageLoop);
    deleteWindow();
}

void JuceVSTWrapper::deleteWindow()
{
    editorWindow.reset();
    windowOpen = false;

    if (std::exchange (windowIdledByHost, false))
        messageLoop->countHostIdledWindow (false);
}

void JuceVSTWrapper::idleEditor()
{
    // Hosts idle windows only; without one there is nothing of ours to run.
    if (! windowOpen)
        return;

    // While another host thread has a turn, it runs the events, and this
    // idle call leaves them to it.
    const VstMessageLoop::Turn turn (*messageLoop, VstMessageLoop::Turn::Waiting::forPrivateThreadOnly);

    if (! turn.isTaken() || editorWindow == nullptr)
        return;

    if (! std::exchange (windowIdledByHost, true))
        messageLoop->countHostIdledWindow (true);

    messageLoop->dispatchPendingEvents();
}

//==============================================================================
void JuceVSTWrapper::updateChannelCounts()
{
    const int numInputs = totalChannels (*processor, true);
    const int numOutputs = totalChannels (*processor, false);
    setNumInputs (numInputs);
    setNumOutputs (numOutputs);
    setInitialDelay (processor->getLatencySamples());
    numChannels = std::max (numInputs, numOutputs);
}

void JuceVSTWrapper::takeHostSettings()
{
    // Comparisons are false for NaN, so it is refused with the rest.
    const auto rate = static_cast<double> (getSampleRate());

    if (rate >= lowestSampleRate && rate <= highestSampleRate)
        preparedRate = rate;

    if (getBlockSize() > 0 && getBlockSize() <= largestBlockSize)
        preparedBlockSize = getBlockSize();

    tailRate.store (preparedRate);
}

void JuceVSTWrapper::setAudioRunning (bool shouldRun)
{
    const juce::ScopedLock sl (processor->getCallbackLock());
    audioChannels = { effectRecord.numInputs, effectRecord.numOutputs, numChannels };
    audioRunning = shouldRun;
}

void JuceVSTWrapper::prepareAudio()
{
    // The audio thread plays silence from here on and touches neither the
    // processor nor the scratch channels until they are ready again.
    setAudioRunning (false);
    takeHostSettings();
    updateChannelCounts();
    processor->setRateAndBufferSizeDetails (preparedRate, preparedBlockSize);
    processor->prepareToPlay (preparedRate, preparedBlockSize);
    scratch.setSize (numChannels, preparedBlockSize, false, true, false);
    setAudioRunning (true);
}

void JuceVSTWrapper::resume()
{
    {
        const juce::ScopedLock setup (setupLock);
        resumed = true;
        prepareAudio();
    }

    AudioEffectX::resume();
}

void JuceVSTWrapper::suspend()
{
    const juce::ScopedLock setup (setupLock);
    resumed = false;
    setAudioRunning (false);
    processor->releaseResources();
}

void JuceVSTWrapper::clearOutputs (float** outputs, int sampleFrames) const noexcept
{
    for (int ch = 0; ch < audioChannels.outputs; ++ch)
        if (outputs[ch] != nullptr)
            juce::FloatVectorOperations::clear (outputs[ch], sampleFrames);
}

void JuceVSTWrapper::processReplacing (float** inputs, float** outputs, int sampleFrames)
{
    if (outputs == nullptr || sampleFrames <= 0)
        return;

    const juce::ScopedLock sl (processor->getCallbackLock());

    if (! audioRunning || processor->isSuspended() || scratch.getNumSamples() <= 0)
        return clearOutputs (outputs, sampleFrames);

    const int numInputs = inputs == nullptr ? 0 : audioChannels.inputs;
    const int numWork = audioChannels.work;
    const bool bypass = bypassed.load (std::memory_order_relaxed);

    // Longer host blocks than announced go through in announced-size slices.
    for (int start = 0; start < sampleFrames; start += scratch.getNumSamples())
    {
        const int length = std::min (scratch.getNumSamples(), sampleFrames - start);

        for (int ch = 0; ch < numWork; ++ch)
        {
            if (ch < numInputs && inputs[ch] != nullptr)
                scratch.copyFrom (ch, 0, inputs[ch] + start, length);
            else
                scratch.clear (ch, 0, length);
        }

        juce::AudioBuffer<float> block (scratch.getArrayOfWritePointers(), numWork, length);

        if (bypass)
            processor->processBlockBypassed (block, noMidi);
        else
            processor->processBlock (block, noMidi);

        for (int ch = 0; ch < audioChannels.outputs; ++ch)
            if (outputs[ch] != nullptr)
                juce::FloatVectorOperations::copy (outputs[ch] + start, scratch.getReadPointer (ch), length);
    }
}

void JuceVSTWrapper::processDoubleReplacing (double** inputs, double** outputs, int sampleFrames)
{
    // Never offered to the host (the processor works in 32 bits); a host that
    // calls anyway hears its input unchanged.
    if (outputs == nullptr || sampleFrames <= 0)
        return;

    const juce::ScopedLock sl (processor->getCallbackLock());

    for (int ch = 0; ch < audioChannels.outputs; ++ch)
    {
        if (outputs[ch] == nullptr)
            continue;

        const double* input = inputs != nullptr && ch < audioChannels.inputs ? inputs[ch] : nullptr;

        if (input == nullptr)
            std::fill (outputs[ch], outputs[ch] + sampleFrames, 0.0);
        else if (input != outputs[ch])
            std::memmove (outputs[ch], input, sizeof (double) * static_cast<size_t> (sampleFrames));
    }
}

//==============================================================================
juce::AudioProcessorParameter* JuceVSTWrapper::parameterAt (int index) const
{
    return parameters.getParamForIndex (index);
}

void JuceVSTWrapper::setParameter (int index, float value)
{
    if (auto* p = parameterAt (index))
        p->setValue (value);
}

float JuceVSTWrapper::getParameter (int index)
{
    auto* p = parameterAt (index);
    return p != nullptr ? p->getValue() : 0.0f;
}

void JuceVSTWrapper::getParameterLabel (int index, char* label)
{
    auto* p = parameterAt (index);
    copyText (p != nullptr ? p->getLabel() : juce::String(), label, shortTextBytes);
}

void JuceVSTWrapper::getParameterDisplay (int index, char* text)
{
    auto* p = parameterAt (index);
    copyText (p != nullptr ? p->getCurrentValueAsText() : juce::String(), text, shortTextBytes);
}

void JuceVSTWrapper::getParameterName (int index, char* text)
{
    auto* p = parameterAt (index);
    copyText (p != nullptr ? p->getName (nameBytes - 1) : juce::String(), text, nameBytes);
}

bool JuceVSTWrapper::canParameterBeAutomated (int index)
{
    auto* p = parameterAt (index);
    return p != nullptr && p->isAutomatable();
}

//==============================================================================
int JuceVSTWrapper::getProgram()
{
    return std::max (0, processor->getCurrentProgram());
}

void JuceVSTWrapper::setProgram (int program)
{
    if (program >= 0 && program < processor->getNumPrograms())
        processor->setCurrentProgram (program);
}

void JuceVSTWrapper::setProgramName (char* name)
{
    if (name != nullptr)
        processor->changeProgramName (processor->getCurrentProgram(),
                                      juce::String::fromUTF8 (name, static_cast<int> (strnlen (name, programNameBytes - 1))));
}

void JuceVSTWrapper::getProgramName (char* name)
{
    copyText (processor->getProgramName (processor->getCurrentProgram()), name, programNameBytes);
}

bool JuceVSTWrapper::getProgramNameIndexed (int, int index, char* text)
{
    if (text == nullptr || index < 0 || index >= processor->getNumPrograms())
        return false;

    return copyText (processor->getProgramName (index), text, programNameBytes);
}

//==============================================================================
juce::MemoryBlock& JuceVSTWrapper::chunkForThisThread()
{
    const auto caller = std::this_thread::get_id();
    auto answer = std::find_if (chunkAnswers.begin(), chunkAnswers.end(),
                                [caller] (const ChunkAnswer& a) { return a.owner == caller; });

    if (answer == chunkAnswers.end())
        answer = std::min_element (chunkAnswers.begin(), chunkAnswers.end(),
                                   [] (const ChunkAnswer& a, const ChunkAnswer& b) { return a.lastAsked < b.lastAsked; });

    answer->owner = caller;
    answer->lastAsked = ++chunkRequests;
    answer->data.reset();
    return answer->data;
}

int JuceVSTWrapper::getChunk (void** data, bool isPreset)
{
    if (data == nullptr)
        return 0;

    // Hosts copy the block after the call returns, so it outlives the call.
    const juce::ScopedLock sl (chunkLock);
    auto& chunk = chunkForThisThread();

    if (isPreset)
        processor->getCurrentProgramStateInformation (chunk);
    else
        processor->getStateInformation (chunk);

    *data = chunk.getData();
    return static_cast<int> (chunk.getSize());
}

int JuceVSTWrapper::setChunk (void* data, int byteSize, bool isPreset)
{
    if (data == nullptr || byteSize <= 0)
        return 0;

    const juce::ScopedLock sl (chunkLock);

    if (isPreset)
        processor->setCurrentProgramStateInformation (data, byteSize);
    else
        processor->setStateInformation (data, byteSize);

    return 0;
}

//==============================================================================
bool JuceVSTWrapper::setSpeakerArrangement (VstSpeakerArrangement* input, VstSpeakerArrangement* output)
{
    const auto plausible = [] (const VstSpeakerArrangement* a)
    {
        return a != nullptr && a->numChannels >= 0 && a->numChannels <= widestArrangement;
    };

    if (! plausible (input) || ! plausible (output))
        return false;

    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (juce::AudioChannelSet::canonicalChannelSet (input->numChannels));
    layout.outputBuses.add (juce::AudioChannelSet::canonicalChannelSet (output->numChannels));

    const juce::ScopedLock setup (setupLock);

    if (layout == processor->getBusesLayout())
        return true;

    if (! processor->checkBusesLayoutSupported (layout))
        return false;

    // Hosts may change the arrangement while resumed: the audio path stops
    // before the channel counts change and starts again prepared for them.
    setAudioRunning (false);
    const bool changed = processor->setBusesLayout (layout);

    if (resumed)
    {
        prepareAudio();
    }
    else
    {
        updateChannelCounts();
        setAudioRunning (false);
    }

    return changed;
}

bool JuceVSTWrapper::setBypass (bool shouldBypass)
{
    bypassed.store (shouldBypass, std::memory_order_relaxed);
    return true;
}

bool JuceVSTWrapper::setProcessPrecision (int precision)
{
    constexpr int singlePrecision = 0;
    return precision == singlePrecision;
}

int JuceVSTWrapper::getGetTailSize()
{
    return juce::roundToInt (processor->getTailLengthSeconds() * tailRate.load());
}

bool JuceVSTWrapper::getEffectName (char* text)     { return copyText (processor->getName(), text, nameBytes); }
bool JuceVSTWrapper::getVendorString (char* text)   { return copyText (vendorName, text, stringBytes); }
bool JuceVSTWrapper::getProductString (char* text)  { return copyText (processor->getName(), text, stringBytes); }
int JuceVSTWrapper::getVendorVersion()              { return reportedVersion; }

int JuceVSTWrapper::canDo (char* text)
{
    constexpr int yes = 1, no = -1, unknown = 0;
    const auto question = juce::String::fromUTF8 (text, static_cast<int> (strnlen (text, stringBytes)));

    if (question == "receiveVstTimeInfo" || question == "bypass" || question == "conformsToWindowRules")
        return yes;

    if (question.startsWith ("receiveVst") || question.startsWith ("sendVst"))
        return no;

    return unknown;
}

//==============================================================================
void JuceVSTWrapper::audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value)
{
    notifier.automate (index, value);
}

void JuceVSTWrapper::audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index)
{
    notifier.beginEdit (index);
}

void JuceVSTWrapper::audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index)
{
    notifier.endEdit (index);
}

void JuceVSTWrapper::audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&)
{
    notifier.updateDisplay();
}

juce::Optional<juce::AudioPlayHead::PositionInfo> JuceVSTWrapper::getPosition() const
{
    // AudioEffectX asks the host through a non-const call; asking changes nothing here.
    const auto* info = const_cast<JuceVSTWrapper*> (this)->getTimeInfo (timeInfoTempoValid);

    if (info == nullptr)
        return {};

    PositionInfo position;
    position.setTimeInSamples (static_cast<juce::int64> (info->samplePosition));

    if (info->sampleRate > 0.0)
        position.setTimeInSeconds (info->samplePosition / info->sampleRate);

    if ((info->flags & timeInfoTempoValid) != 0)
        position.setBpm (info->tempo);

    return position;
}
