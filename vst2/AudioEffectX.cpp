#include "AudioEffectX.h"

#include <cstdlib>
#include <cstring>

namespace
{
    long long asResult (bool answer) noexcept  { return answer ? 1 : 0; }

    /** Text opcodes a host may send with no buffer: those get no call at all. */
    bool needsBuffer (int opcode) noexcept
    {
        switch (opcode)
        {
            case effectStringToParameter:
            case effectGetProgramNameIndexed:
            case effectGetEffectName:
            case effectGetVendorString:
            case effectGetProductString:
            case effectCanDo:
            case effectGetNextShellPlugin:
                return true;
            default:
                return false;
        }
    }

    template <typename Record>
    Record* recordIn (void* ptr) noexcept  { return static_cast<Record*> (ptr); }

    template <typename Pointer>
    Pointer fromReply (long long reply) noexcept  { return reinterpret_cast<Pointer> (static_cast<intptr_t> (reply)); }

    size_t arrangementBytes (int channels) noexcept
    {
        return offsetof (VstSpeakerArrangement, speakers) + sizeof (VstSpeakerProperties) * static_cast<size_t> (channels);
    }
}

AudioEffectX::AudioEffectX (HostCallback host, int programs, int params)
    : AudioEffect (host, programs, params)
{
}

//==============================================================================
long long AudioEffectX::dispatcher (int opcode, int index, long long value, void* ptr, float opt)
{
    auto* text = static_cast<char*> (ptr);

    if (needsBuffer (opcode) && text == nullptr)
        return 0;

    switch (opcode)
    {
        case effectProcessEvents:           return processEvents (recordIn<VstEvents> (ptr));
        case effectCanBeAutomated:          return asResult (canParameterBeAutomated (index));
        case effectStringToParameter:       return asResult (string2parameter (index, text));
        case effectGetProgramNameIndexed:   return asResult (getProgramNameIndexed (static_cast<int> (value), index, text));
        case effectGetInputProperties:      return asResult (getInputProperties (index, recordIn<VstPinProperties> (ptr)));
        case effectGetOutputProperties:     return asResult (getOutputProperties (index, recordIn<VstPinProperties> (ptr)));
        case effectGetPlugCategory:         return static_cast<uint32_t> (getPlugCategory());
        case effectOfflineNotify:           return asResult (offlineNotify (recordIn<VstAudioFile> (ptr), static_cast<int> (value), index != 0));
        case effectOfflinePrepare:          return asResult (offlinePrepare (recordIn<VstOfflineTask> (ptr), static_cast<int> (value)));
        case effectOfflineRun:              return asResult (offlineRun (recordIn<VstOfflineTask> (ptr), static_cast<int> (value)));
        case effectProcessVariableIo:       return asResult (processVariableIo (recordIn<VstVariableIo> (ptr)));
        case effectSetSpeakerArrangement:
            return asResult (setSpeakerArrangement (fromReply<VstSpeakerArrangement*> (value), recordIn<VstSpeakerArrangement> (ptr)));
        case effectSetBypass:               return asResult (setBypass (value != 0));
        case effectGetEffectName:           return asResult (getEffectName (text));
        case effectGetVendorString:         return asResult (getVendorString (text));
        case effectGetProductString:        return asResult (getProductString (text));
        case effectGetVendorVersion:        return getVendorVersion();
        case effectVendorSpecific:          return vendorSpecific (index, value, ptr, opt);
        case effectCanDo:                   return canDo (text);
        case effectGetTailSize:             return getGetTailSize();
        case effectGetParameterProperties:  return asResult (getParameterProperties (index, recordIn<VstParameterProperties> (ptr)));
        case effectGetVstVersion:           return getVstVersion();
        case effectEditorKeyDown:
        case effectEditorKeyUp:
        case effectEditorKnobMode:          return dispatchEditor (opcode, index, value, ptr, opt);
        case effectGetMidiProgramName:      return getMidiProgramName (index, recordIn<MidiProgramName> (ptr));
        case effectGetCurrentMidiProgram:   return getCurrentMidiProgram (index, recordIn<MidiProgramName> (ptr));
        case effectGetMidiProgramCategory:  return getMidiProgramCategory (index, recordIn<MidiProgramCategory> (ptr));
        case effectHasMidiProgramsChanged:  return asResult (hasMidiProgramsChanged (index));
        case effectGetMidiKeyName:          return asResult (getMidiKeyName (index, recordIn<MidiKeyName> (ptr)));
        case effectBeginSetProgram:         return asResult (beginSetProgram());
        case effectEndSetProgram:           return asResult (endSetProgram());
        case effectGetSpeakerArrangement:
        {
            // Both out-pointers are written, so both must be there.
            auto** input = fromReply<VstSpeakerArrangement**> (value);
            auto** output = recordIn<VstSpeakerArrangement*> (ptr);
            return input != nullptr && output != nullptr ? asResult (getSpeakerArrangement (input, output)) : 0;
        }
        case effectGetNextShellPlugin:      return getNextShellPlugin (text);
        case effectStartProcess:            return startProcess();
        case effectStopProcess:             return stopProcess();
        case effectSetTotalSampleToProcess: return setTotalSampleToProcess (static_cast<int> (value));
        case effectSetPanLaw:               return asResult (setPanLaw (static_cast<int> (value), opt));
        case effectBeginLoadBank:           return beginLoadBank (recordIn<VstPatchChunkInfo> (ptr));
        case effectBeginLoadProgram:        return beginLoadProgram (recordIn<VstPatchChunkInfo> (ptr));
        case effectSetProcessPrecision:     return asResult (setProcessPrecision (static_cast<int> (value)));
        case effectGetNumMidiInputChannels: return getNumMidiInputChannels();
        case effectGetNumMidiOutputChannels: return getNumMidiOutputChannels();
        default:                            return AudioEffect::dispatcher (opcode, index, value, ptr, opt);
    }
}

void AudioEffectX::resume()
{
    const bool synth = (effectRecord.flags & isSynthFlag) != 0;
    char question[] = "receiveVstMidiEvent";

    if (synth || canDo (question) == 1)
        __wantEventsDeprecated (1);
}

int AudioEffectX::getPlugCategory()
{
    return (effectRecord.flags & isSynthFlag) != 0 ? synthCategory : 0;
}

bool AudioEffectX::getSpeakerArrangement (VstSpeakerArrangement** input, VstSpeakerArrangement** output)
{
    if (input != nullptr)
        *input = nullptr;

    if (output != nullptr)
        *output = nullptr;

    return false;
}

//==============================================================================
bool AudioEffectX::hostAgrees (int32_t opcode, int32_t index, long long value, void* ptr)
{
    return callHost (opcode, index, value, ptr) != 0;
}

bool AudioEffectX::beginEdit (int index)                 { return hostAgrees (hostBeginEdit, index); }
bool AudioEffectX::endEdit (int index)                   { return hostAgrees (hostEndEdit, index); }
bool AudioEffectX::ioChanged()                           { return hostAgrees (hostIoChanged); }
bool AudioEffectX::updateDisplay()                       { return hostAgrees (hostUpdateDisplay); }
bool AudioEffectX::sizeWindow (int width, int height)    { return hostAgrees (hostSizeWindow, width, height); }
bool AudioEffectX::getHostVendorString (char* text)      { return hostAgrees (hostGetVendorString, 0, 0, text); }
bool AudioEffectX::getHostProductString (char* text)     { return hostAgrees (hostGetProductString, 0, 0, text); }
bool AudioEffectX::__needIdleDeprecated()                { return hostAgrees (hostNeedIdle); }
bool AudioEffectX::__closeWindowDeprecated (void* window) { return hostAgrees (hostCloseWindow, 0, 0, window); }

bool AudioEffectX::openFileSelector (VstFileSelect* select)
{
    return select != nullptr && hostAgrees (hostOpenFileSelector, 0, 0, select);
}

bool AudioEffectX::closeFileSelector (VstFileSelect* select)
{
    return select != nullptr && hostAgrees (hostCloseFileSelector, 0, 0, select);
}

bool AudioEffectX::__getChunkFileDeprecated (void* path)
{
    return path != nullptr && hostAgrees (hostGetChunkFile, 0, 0, path);
}

double AudioEffectX::updateSampleRate()
{
    const auto reply = callHost (hostGetSampleRate);

    if (reply > 0)
        sampleRate = static_cast<float> (reply);

    return static_cast<double> (sampleRate);
}

int AudioEffectX::updateBlockSize()
{
    const auto reply = static_cast<int32_t> (callHost (hostGetBlockSize));

    if (reply > 0)
        blockSize = reply;

    return blockSize;
}

int AudioEffectX::getInputLatency()                       { return static_cast<int> (callHost (hostGetInputLatency)); }
int AudioEffectX::getOutputLatency()                      { return static_cast<int> (callHost (hostGetOutputLatency)); }
int AudioEffectX::getCurrentProcessLevel()                { return static_cast<int> (callHost (hostGetCurrentProcessLevel)); }
int AudioEffectX::getAutomationState()                    { return static_cast<int> (callHost (hostGetAutomationState)); }
int AudioEffectX::getHostVendorVersion()                  { return static_cast<int> (callHost (hostGetVendorVersion)); }
int AudioEffectX::getHostLanguage()                       { return static_cast<int> (callHost (hostGetLanguage)); }
int AudioEffectX::__tempoAtDeprecated (int position)      { return static_cast<int> (callHost (hostTempoAt, 0, position)); }
int AudioEffectX::__getNumAutomatableParametersDeprecated() { return static_cast<int> (callHost (hostGetNumAutomatableParameters)); }
int AudioEffectX::__getParameterQuantizationDeprecated()  { return static_cast<int> (callHost (hostGetParameterQuantization)); }
int AudioEffectX::__willProcessReplacingDeprecated()      { return static_cast<int> (callHost (hostWillReplaceOrAccumulate)); }
int AudioEffectX::canHostDo (char* text)                  { return hostAgrees (hostCanDo, 0, 0, text) ? 1 : 0; }
int AudioEffectX::offlineGetCurrentPass()                 { return hostAgrees (hostOfflineGetCurrentPass) ? 1 : 0; }
int AudioEffectX::offlineGetCurrentMetaPass()             { return hostAgrees (hostOfflineGetCurrentMetaPass) ? 1 : 0; }

long long AudioEffectX::hostVendorSpecific (int index, long long value, void* ptr, float opt)
{
    return callHost (HostOpcode::hostVendorSpecific, index, value, ptr, opt);
}

HostTimeInfo* AudioEffectX::getTimeInfo (int filter)     { return fromReply<HostTimeInfo*> (callHost (hostGetTime, 0, filter)); }
void* AudioEffectX::getDirectory()                        { return fromReply<void*> (callHost (hostGetDirectory)); }
void* AudioEffectX::__openWindowDeprecated (void* window) { return fromReply<void*> (callHost (hostOpenWindow, 0, 0, window)); }
AEffect* AudioEffectX::__getPreviousPlugDeprecated (int)  { return fromReply<AEffect*> (callHost (hostGetPreviousPlug)); }
AEffect* AudioEffectX::__getNextPlugDeprecated (int)      { return fromReply<AEffect*> (callHost (hostGetNextPlug)); }

VstSpeakerArrangement* AudioEffectX::__getInputSpeakerArrangementDeprecated()
{
    return fromReply<VstSpeakerArrangement*> (callHost (hostGetInputSpeakerArrangement));
}

VstSpeakerArrangement* AudioEffectX::__getOutputSpeakerArrangementDeprecated()
{
    return fromReply<VstSpeakerArrangement*> (callHost (hostGetOutputSpeakerArrangement));
}

void AudioEffectX::__wantEventsDeprecated (int filter)          { callHost (hostWantMidi, 0, filter); }
void AudioEffectX::__setOutputSamplerateDeprecated (float rate) { callHost (hostSetOutputSampleRate, 0, 0, nullptr, rate); }

void AudioEffectX::__setBlockSizeAndSampleRateDeprecated (int newBlockSize, float newSampleRate)
{
    blockSize = newBlockSize;
    sampleRate = newSampleRate;
}

bool AudioEffectX::offlineRead (VstOfflineTask* task, VstOfflineOption option, bool readSource)
{
    return hostAgrees (hostOfflineRead, readSource ? 1 : 0, option, task);
}

bool AudioEffectX::offlineWrite (VstOfflineTask* task, VstOfflineOption option)
{
    return hostAgrees (hostOfflineWrite, 0, option, task);
}

bool AudioEffectX::offlineStart (VstAudioFile* files, int numAudioFiles, int numNewAudioFiles)
{
    return hostAgrees (hostOfflineStart, numNewAudioFiles, numAudioFiles, files);
}

//==============================================================================
bool AudioEffectX::allocateArrangement (VstSpeakerArrangement** arrangement, int channels)
{
    if (arrangement == nullptr || channels < 0)
        return false;

    deallocateArrangement (arrangement);
    auto* block = static_cast<VstSpeakerArrangement*> (std::calloc (1, arrangementBytes (channels)));

    if (block == nullptr)
        return false;

    block->numChannels = channels;
    *arrangement = block;
    return true;
}

bool AudioEffectX::deallocateArrangement (VstSpeakerArrangement** arrangement)
{
    if (arrangement == nullptr)
        return false;

    std::free (*arrangement);
    *arrangement = nullptr;
    return true;
}

bool AudioEffectX::copySpeaker (VstSpeakerProperties* to, VstSpeakerProperties* from)
{
    if (to == nullptr || from == nullptr)
        return false;

    to->azimuth = from->azimuth;
    to->elevation = from->elevation;
    to->radius = from->radius;
    to->reserved = from->reserved;
    copyToHostBuffer (from->name, to->name, sizeof (to->name));
    to->type = from->type;
    std::memcpy (to->future, from->future, sizeof (to->future));
    return true;
}

bool AudioEffectX::matchArrangement (VstSpeakerArrangement** to, VstSpeakerArrangement* from)
{
    if (from == nullptr || ! deallocateArrangement (to) || ! allocateArrangement (to, from->numChannels))
        return false;

    (*to)->type = from->type;

    for (int channel = 0; channel < from->numChannels; ++channel)
        if (! copySpeaker (speakerAt (**to, channel), speakerAt (*from, channel)))
            return false;

    return true;
}
