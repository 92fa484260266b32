#include "JuceAAX_Processor.h"

#include "JuceAAX_Procedures.h"

#include "AAX_CBinaryDisplayDelegate.h"
#include "AAX_CBinaryTaperDelegate.h"
#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"
#include "AAX_CString.h"
#include "AAX_IController.h"

#include <cstring>
#include <string>


namespace
{
    constexpr uint32_t maxNameLength = 31;
    constexpr uint32_t shortNameLength = 4;
    constexpr uint32_t continuousAbove = 1000;
    constexpr AAX_EParameterOrientation invertedOrientation = 19;

    // The processor speaks JUCE's index-based parameter calls, which JUCE 7 marks
    // deprecated; they are the calls every host format of this plug-in makes.
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

    int numParametersOf (juce::AudioProcessor& p)                 { return p.getNumParameters(); }
    float valueOf (juce::AudioProcessor& p, int i)                { return p.getParameter (i); }
    void setValueOf (juce::AudioProcessor& p, int i, float value) { p.setParameter (i, value); }
    float defaultOf (juce::AudioProcessor& p, int i)              { return p.getParameterDefaultValue (i); }
    juce::String nameOf (juce::AudioProcessor& p, int i, int max) { return p.getParameterName (i, max); }
    int numStepsOf (juce::AudioProcessor& p, int i)               { return p.getParameterNumSteps (i); }
    bool isAutomatable (juce::AudioProcessor& p, int i)           { return p.isParameterAutomatable (i); }
    bool isInverted (juce::AudioProcessor& p, int i)              { return p.isParameterOrientationInverted (i); }

    JUCE_END_IGNORE_WARNINGS_GCC_LIKE

    std::string idOf (int index)
    {
        return std::to_string (index);
    }

    bool isBypass (AAX_CParamID id)
    {
        return id != nullptr && std::strcmp (id, cDefaultMasterBypassID) == 0;
    }

    /** Channels of a stem format: the low 16 bits. */
    int channelsOf (AAX_EStemFormat format)
    {
        return format == AAX_eStemFormat_None ? 0 : (static_cast<int> (format) & 0xFFFF);
    }

    juce::AudioChannelSet channelSetOf (int channels)
    {
        return juce::AudioChannelSet::canonicalChannelSet (channels);
    }
}

//==============================================================================
// The processor is made once JUCE runs (the first member), so that its timers
// have a message thread from the start.
JuceAAX_Processor::JuceAAX_Processor()
    : processor (JuceAAX_SharedJuce::createProcessor())
{
    listenToProcessor();
}

JuceAAX_Processor::JuceAAX_Processor (std::unique_ptr<juce::AudioProcessor> processorToUse)
    : processor (std::move (processorToUse))
{
    listenToProcessor();
}

void JuceAAX_Processor::listenToProcessor()
{
    AAX_CEffectParameters::GetNumberOfChunks (&juceChunkIndex);
    processor->addListener (this);
}

JuceAAX_Processor::~JuceAAX_Processor()
{
    // With the message thread held, none of the processor's timers runs while it goes.
    const juce::MessageManagerLock lock;
    processor->removeListener (this);

    if (prepared)
        processor->releaseResources();

    processor.reset();
}

//==============================================================================
AAX_Result JuceAAX_Processor::EffectInit()
{
    if (const auto result = preparePlugin(); result != AAX_SUCCESS)
        return result;

    addBypassParameter();
    addProcessorParameters();
    return AAX_SUCCESS;
}

AAX_Result JuceAAX_Processor::preparePlugin()
{
    auto* hostController = Controller();
    float rate = 0.0f;
    auto in = AAX_eStemFormat_None;
    auto out = AAX_eStemFormat_None;

    if (hostController == nullptr || hostController->GetSampleRate (&rate) != AAX_SUCCESS
        || hostController->GetInputStemFormat (&in) != AAX_SUCCESS
        || hostController->GetOutputStemFormat (&out) != AAX_SUCCESS)
        return AAX_ERROR_NULL_OBJECT;

    auto layout = processor->getBusesLayout();

    if (layout.inputBuses.isEmpty() || layout.outputBuses.isEmpty())
        return AAX_ERROR_UNIMPLEMENTED;

    layout.inputBuses.getReference (0) = channelSetOf (channelsOf (in));
    layout.outputBuses.getReference (0) = channelSetOf (channelsOf (out));

    // The audio callback waits while the processor's layout and buffers are replaced.
    const juce::ScopedLock audioLock (processor->getCallbackLock());

    if (! processor->setBusesLayout (layout))
        return AAX_ERROR_UNIMPLEMENTED;

    if (rate > 0.0f)
        sampleRate = static_cast<double> (rate);

    if (prepared)
        processor->releaseResources();

    processor->setRateAndBufferSizeDetails (sampleRate, maxBufferSize);
    processor->prepareToPlay (sampleRate, maxBufferSize);
    prepared = true;
    return AAX_SUCCESS;
}

void JuceAAX_Processor::addBypassParameter()
{
    auto* bypass = new AAX_CParameter<bool> (cDefaultMasterBypassID, AAX_CString ("Master Bypass"), false,
                                             AAX_CBinaryTaperDelegate<bool>(),
                                             AAX_CBinaryDisplayDelegate<bool> ("bypass", "on"), true);
    bypass->SetNumberOfSteps (2);
    bypass->SetType (AAX_eParameterType_Discrete);
    parameterManager.AddParameter (bypass);

    const AAX_CPacketHandler<AAX_CPacketDispatcher> handler (&packetDispatcher,
                                                             &AAX_CPacketDispatcher::GenerateSingleValuePacket);
    packetDispatcher.RegisterPacket (cDefaultMasterBypassID, JuceAAX::bypassPacketID, &handler);
}

void JuceAAX_Processor::addProcessorParameters()
{
    auto& p = *processor;

    for (int i = 0; i < numParametersOf (p); ++i)
    {
        auto* parameter = new AAX_CParameter<float> (idOf (i).c_str(),
                                                     AAX_CString (nameOf (p, i, maxNameLength).toRawUTF8()),
                                                     defaultOf (p, i),
                                                     AAX_CLinearTaperDelegate<float, 0> (0.0f, 1.0f),
                                                     AAX_CNumberDisplayDelegate<float, 3u, 0u>(),
                                                     isAutomatable (p, i));
        parameter->AddShortenedName (AAX_CString (nameOf (p, i, shortNameLength).toRawUTF8()));

        // An instance initialised again keeps the processor's values: stored
        // before the parameter has the host's automation, without a word to it.
        if (const auto current = valueOf (p, i); current != defaultOf (p, i))
            parameter->UpdateNormalizedValue (static_cast<double> (current));

        const auto steps = static_cast<uint32_t> (numStepsOf (p, i));
        parameter->SetNumberOfSteps (steps);
        parameter->SetType (steps > continuousAbove ? AAX_eParameterType_Continuous : AAX_eParameterType_Discrete);
        parameter->SetOrientation (isInverted (p, i) ? invertedOrientation : 0);
        parameterManager.AddParameter (parameter);
    }
}

//==============================================================================
int JuceAAX_Processor::processorIndexOf (AAX_CParamID id) const
{
    if (id == nullptr || isBypass (id) || parameterManager.GetParameterByID (id) == nullptr)
        return -1;

    return juce::String (id).getIntValue();
}

JuceAAX_Processor::Values JuceAAX_Processor::parameterValues() const
{
    Values values;

    for (int i = 0; i < numParametersOf (*processor); ++i)
    {
        const auto* parameter = parameterManager.GetParameterByID (idOf (i).c_str());
        values.push_back (parameter != nullptr ? parameter->GetNormalizedValue() : 0.0);
    }

    return values;
}

void JuceAAX_Processor::handChangesToProcessor (const Values& before)
{
    const auto after = parameterValues();

    for (size_t i = 0; i < after.size() && i < before.size(); ++i)
        if (! (after[i] == before[i]))
            setValueOf (*processor, static_cast<int> (i), static_cast<float> (after[i]));
}

AAX_Result JuceAAX_Processor::GetParameterName (AAX_CParamID id, AAX_IString* out) const
{
    return GetParameterNameOfLength (id, out, maxNameLength);
}

AAX_Result JuceAAX_Processor::GetParameterNameOfLength (AAX_CParamID id, AAX_IString* out, int32_t length) const
{
    const auto index = processorIndexOf (id);

    if (index < 0 || out == nullptr)
        return AAX_CEffectParameters::GetParameterNameOfLength (id, out, length);

    *out = nameOf (*processor, index, juce::jmax (0, length)).toRawUTF8();
    return AAX_SUCCESS;
}

AAX_Result JuceAAX_Processor::GetParameterDefaultNormalizedValue (AAX_CParamID id, double* out) const
{
    const auto index = processorIndexOf (id);

    if (index < 0)
        return AAX_CEffectParameters::GetParameterDefaultNormalizedValue (id, out);

    *out = static_cast<double> (defaultOf (*processor, index));
    return AAX_SUCCESS;
}

AAX_Result JuceAAX_Processor::GetParameterNormalizedValue (AAX_CParamID id, double* out) const
{
    const auto index = processorIndexOf (id);

    if (index < 0)
        return AAX_CEffectParameters::GetParameterNormalizedValue (id, out);

    *out = static_cast<double> (valueOf (*processor, index));
    return AAX_SUCCESS;
}

AAX_Result JuceAAX_Processor::SetParameterNormalizedValue (AAX_CParamID id, double value)
{
    if (processorIndexOf (id) < 0)
        return AAX_CEffectParameters::SetParameterNormalizedValue (id, value);

    // Without an automation delegate the parameter stores at once and the
    // processor follows; with one, both wait for the host's answer.
    const auto before = parameterValues();
    const auto result = AAX_CEffectParameters::SetParameterNormalizedValue (id, value);
    handChangesToProcessor (before);
    return result;
}

AAX_Result JuceAAX_Processor::UpdateParameterNormalizedValue (AAX_CParamID id, double value, AAX_EUpdateSource source)
{
    const auto result = AAX_CEffectParameters::UpdateParameterNormalizedValue (id, value, source);
    const auto index = processorIndexOf (id);

    // The processor plays the value the parameter took, which may differ from
    // the host's (clamped to the range; a NaN leaves the value as it was).
    if (result == AAX_SUCCESS && index >= 0)
        setValueOf (*processor, index, static_cast<float> (parameterManager.GetParameterByID (id)->GetNormalizedValue()));

    return result;
}

//==============================================================================
void JuceAAX_Processor::audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value)
{
    if (restoringThread.load() == std::this_thread::get_id())
        return;

    SetParameterNormalizedValue (idOf (index).c_str(), static_cast<double> (value));
}

void JuceAAX_Processor::audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index)
{
    TouchParameter (idOf (index).c_str());
}

void JuceAAX_Processor::audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index)
{
    ReleaseParameter (idOf (index).c_str());
}

//==============================================================================
AAX_Result JuceAAX_Processor::ResetFieldData (AAX_CFieldIndex fieldIndex, void* data, uint32_t size) const
{
    auto& self = const_cast<JuceAAX_Processor&> (*this);

    switch (fieldIndex)
    {
        case JuceAAX::pluginInstance:
        {
            if (data == nullptr || size < sizeof (JuceAAX_Processor*))
                return AAX_ERROR_NULL_OBJECT;

            auto* instance = &self;
            std::memcpy (data, &instance, sizeof (instance));
            return AAX_SUCCESS;
        }

        case JuceAAX::preparedFlag:
        {
            if (data == nullptr || size < sizeof (int32_t))
                return AAX_ERROR_NULL_OBJECT;

            const int32_t isPrepared = self.preparePlugin() == AAX_SUCCESS ? 1 : 0;
            std::memcpy (data, &isPrepared, sizeof (isPrepared));
            return AAX_SUCCESS;
        }

        default:
            return AAX_CEffectParameters::ResetFieldData (fieldIndex, data, size);
    }
}

//==============================================================================
AAX_Result JuceAAX_Processor::GetNumberOfChunks (int32_t* out) const
{
    *out = juceChunkIndex + 1;
    return AAX_SUCCESS;
}

AAX_Result JuceAAX_Processor::GetChunkIDFromIndex (int32_t index, AAX_CTypeID* out) const
{
    if (index != juceChunkIndex)
        return AAX_CEffectParameters::GetChunkIDFromIndex (index, out);

    *out = juceChunkID;
    return AAX_SUCCESS;
}

AAX_Result JuceAAX_Processor::GetChunkSize (AAX_CTypeID id, uint32_t* out) const
{
    if (id != juceChunkID)
        return AAX_CEffectParameters::GetChunkSize (id, out);

    const std::lock_guard<std::mutex> guard (stateLock);
    auto& state = reportedStates[std::this_thread::get_id()];
    state.reset();
    processor->getStateInformation (state);
    *out = static_cast<uint32_t> (state.getSize());
    return AAX_SUCCESS;
}

AAX_Result JuceAAX_Processor::GetChunk (AAX_CTypeID id, AAX_SPlugInChunk* chunk) const
{
    if (id != juceChunkID)
        return AAX_CEffectParameters::GetChunk (id, chunk);

    // The host sized the chunk from the state this thread's GetChunkSize took;
    // a state taken now, or for another thread, could be longer than that.
    juce::MemoryBlock state;

    {
        const std::lock_guard<std::mutex> guard (stateLock);
        const auto reported = reportedStates.find (std::this_thread::get_id());

        if (reported == reportedStates.end())
            return AAX_ERROR_INCORRECT_CHUNK_SIZE;

        state = std::move (reported->second);
        reportedStates.erase (reported);
    }

    if (state.isEmpty())
        return AAX_ERROR_INCORRECT_CHUNK_SIZE;

    chunk->fSize = static_cast<int32_t> (state.getSize());
    state.copyTo (chunk->fData, 0, state.getSize());
    return AAX_SUCCESS;
}

AAX_Result JuceAAX_Processor::SetChunk (AAX_CTypeID id, const AAX_SPlugInChunk* chunk)
{
    if (chunk == nullptr)
        return AAX_ERROR_NULL_OBJECT;

    const auto before = parameterValues();

    if (id != juceChunkID)
    {
        const auto result = AAX_CEffectParameters::SetChunk (id, chunk);
        handChangesToProcessor (before);
        return result;
    }

    if (chunk->fSize < 0)
        return AAX_ERROR_INCORRECT_CHUNK_SIZE;

    Values processorBefore;

    for (int i = 0; i < numParametersOf (*processor); ++i)
        processorBefore.push_back (static_cast<double> (valueOf (*processor, i)));

    restoringThread = std::this_thread::get_id();
    processor->setStateInformation (chunk->fData, chunk->fSize);
    restoringThread = std::thread::id();

    // Only the values the state changed go to the host, so a state the
    // processor refused leaves every parameter, and the host, alone.
    for (int i = 0; i < numParametersOf (*processor); ++i)
    {
        const auto value = static_cast<double> (valueOf (*processor, i));

        if (! (value == processorBefore[static_cast<size_t> (i)]))
            SetParameterNormalizedValue (idOf (i).c_str(), value);
    }

    return AAX_SUCCESS;
}

//==============================================================================
void JuceAAX_Processor::process (const float* const* inputs, float* const* outputs, int bufferSize, bool bypass) noexcept
{
    for (int offset = 0; offset < bufferSize; offset += maxBufferSize)
        processSlice (inputs, outputs, offset, juce::jmin (maxBufferSize, bufferSize - offset), bypass);
}

void JuceAAX_Processor::processSlice (const float* const* inputs, float* const* outputs, int offset, int numSamples,
                                      bool bypass) noexcept
{
    const juce::ScopedLock audioLock (processor->getCallbackLock());
    const auto numIns = processor->getTotalNumInputChannels();
    const auto numOuts = processor->getTotalNumOutputChannels();

    if (! prepared || processor->isSuspended())
    {
        for (int ch = 0; ch < numOuts; ++ch)
            juce::FloatVectorOperations::clear (outputs[ch] + offset, numSamples);

        return;
    }

    // The processor works in place: the outputs, holding the inputs.
    for (int ch = 0; ch < numIns; ++ch)
        if (inputs[ch] != outputs[ch])
            juce::FloatVectorOperations::copy (outputs[ch] + offset, inputs[ch] + offset, numSamples);

    juce::AudioBuffer<float> buffer (outputs, juce::jmax (numIns, numOuts), offset, numSamples);

    if (bypass)
        processor->processBlockBypassed (buffer, midiBuffer);
    else
        processor->processBlock (buffer, midiBuffer);
}
