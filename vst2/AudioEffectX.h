#pragma once

#include "AudioEffect.h"

/** The extended VST 2.4 effect: the dispatcher for opcodes 25 to 79, the
    extended defaults, the extended host calls and the speaker-arrangement
    helpers. Every default answers "not supported" (false, 0 or null). */
class AudioEffectX : public AudioEffect
{
public:
    AudioEffectX (HostCallback host, int numPrograms, int numParams);

    /** Handles opcodes 25 to 79 and passes every other one to AudioEffect::dispatcher. */
    long long dispatcher (int opcode, int index, long long value, void* ptr, float opt) override;

    /** Asks the host for MIDI events when the effect is a synth or can receive them. */
    void resume() override;

    virtual bool canParameterBeAutomated (int)                     { return true; }
    virtual bool string2parameter (int, char*)                     { return false; }
    virtual bool getParameterProperties (int, VstParameterProperties*) { return false; }
    virtual bool beginEdit (int index);
    virtual bool endEdit (int index);
    virtual bool getProgramNameIndexed (int, int, char*)           { return false; }
    virtual bool beginSetProgram()                                 { return false; }
    virtual bool endSetProgram()                                   { return false; }
    virtual int beginLoadBank (VstPatchChunkInfo*)                 { return 0; }
    virtual int beginLoadProgram (VstPatchChunkInfo*)              { return 0; }

    virtual bool ioChanged();
    /** Takes the host's sample rate when it reports one above 0; returns the one in use. */
    virtual double updateSampleRate();
    /** Takes the host's block size when it reports one above 0; returns the one in use. */
    virtual int updateBlockSize();
    virtual int getInputLatency();
    virtual int getOutputLatency();
    virtual bool getInputProperties (int, VstPinProperties*)       { return false; }
    virtual bool getOutputProperties (int, VstPinProperties*)      { return false; }
    virtual bool setSpeakerArrangement (VstSpeakerArrangement*, VstSpeakerArrangement*) { return false; }
    virtual bool getSpeakerArrangement (VstSpeakerArrangement** input, VstSpeakerArrangement** output);
    virtual bool setBypass (bool)                                  { return false; }
    virtual bool setPanLaw (int, float)                            { return false; }
    virtual bool setProcessPrecision (int)                         { return false; }
    virtual int getNumMidiInputChannels()                          { return 0; }
    virtual int getNumMidiOutputChannels()                         { return 0; }

    /** The host's transport record, valid until the next call; null without a host. */
    virtual HostTimeInfo* getTimeInfo (int filter);
    virtual int getCurrentProcessLevel();
    virtual int getAutomationState();
    virtual int processEvents (VstEvents*)                         { return 0; }
    virtual int startProcess()                                     { return 0; }
    virtual int stopProcess()                                      { return 0; }
    virtual bool processVariableIo (VstVariableIo*)                { return false; }
    virtual int setTotalSampleToProcess (int value)                { return value; }

    virtual bool getHostVendorString (char* text);
    virtual bool getHostProductString (char* text);
    virtual int getHostVendorVersion();
    virtual long long hostVendorSpecific (int index, long long value, void* ptr, float opt);
    /** 1 when the host answers the question in text with anything but 0. */
    virtual int canHostDo (char* text);
    virtual int getHostLanguage();

    virtual void isSynth (bool state)                              { setFlag (isSynthFlag, state); }
    virtual void noTail (bool state)                               { setFlag (noTailFlag, state); }
    virtual int getGetTailSize()                                   { return 0; }
    virtual void* getDirectory();

    virtual bool getEffectName (char*)                             { return false; }
    virtual bool getVendorString (char*)                           { return false; }
    virtual bool getProductString (char*)                          { return false; }
    virtual int getVendorVersion()                                 { return 0; }
    virtual long long vendorSpecific (int, long long, void*, float) { return 0; }
    virtual int canDo (char*)                                      { return 0; }
    virtual int getVstVersion()                                    { return 2400; }
    virtual int getPlugCategory();

    virtual int getMidiProgramName (int, MidiProgramName*)         { return 0; }
    virtual int getCurrentMidiProgram (int, MidiProgramName*)      { return -1; }
    virtual int getMidiProgramCategory (int, MidiProgramCategory*) { return 0; }
    virtual bool hasMidiProgramsChanged (int)                      { return false; }
    virtual bool getMidiKeyName (int, MidiKeyName*)                { return false; }

    virtual bool updateDisplay();
    virtual bool sizeWindow (int width, int height);
    /** False without asking the host when select is null. */
    virtual bool openFileSelector (VstFileSelect* select);
    virtual bool closeFileSelector (VstFileSelect* select);
    virtual int getNextShellPlugin (char*)                         { return 0; }

    /** Replaces *arrangement by a zeroed block for channels speakers; false for a negative count. */
    virtual bool allocateArrangement (VstSpeakerArrangement** arrangement, int channels);
    virtual bool deallocateArrangement (VstSpeakerArrangement** arrangement);
    /** Copies one speaker; the name is cut to 63 characters and terminated. */
    virtual bool copySpeaker (VstSpeakerProperties* to, VstSpeakerProperties* from);
    /** Makes *to a copy of from, allocated anew. */
    virtual bool matchArrangement (VstSpeakerArrangement** to, VstSpeakerArrangement* from);

    virtual bool offlineRead (VstOfflineTask* task, VstOfflineOption option, bool readSource);
    virtual bool offlineWrite (VstOfflineTask* task, VstOfflineOption option);
    virtual bool offlineStart (VstAudioFile* files, int numAudioFiles, int numNewAudioFiles);
    virtual int offlineGetCurrentPass();
    virtual int offlineGetCurrentMetaPass();
    virtual bool offlineNotify (VstAudioFile*, int, bool)          { return false; }
    virtual bool offlinePrepare (VstOfflineTask*, int)             { return false; }
    virtual bool offlineRun (VstOfflineTask*, int)                 { return false; }
    virtual int offlineGetNumPasses()                              { return 0; }
    virtual int offlineGetNumMetaPasses()                          { return 0; }

    virtual void __wantEventsDeprecated (int filter);
    virtual int __tempoAtDeprecated (int position);
    virtual int __getNumAutomatableParametersDeprecated();
    virtual int __getParameterQuantizationDeprecated();
    virtual int __getNumCategoriesDeprecated()                     { return 1; }
    virtual bool __copyProgramDeprecated (int)                     { return false; }
    virtual bool __needIdleDeprecated();
    virtual AEffect* __getPreviousPlugDeprecated (int input);
    virtual AEffect* __getNextPlugDeprecated (int output);
    virtual void __inputConnectedDeprecated (int, bool) {}
    virtual void __outputConnectedDeprecated (int, bool) {}
    virtual int __willProcessReplacingDeprecated();
    virtual void __wantAsyncOperationDeprecated (bool state)       { setFlag (asyncOperationFlag, state); }
    virtual void __hasExternalBufferDeprecated (bool state)        { setFlag (externalBufferFlag, state); }
    virtual int __reportCurrentPositionDeprecated()                { return 0; }
    virtual float* __reportDestinationBufferDeprecated()           { return nullptr; }
    virtual void __setOutputSamplerateDeprecated (float rate);
    virtual VstSpeakerArrangement* __getInputSpeakerArrangementDeprecated();
    virtual VstSpeakerArrangement* __getOutputSpeakerArrangementDeprecated();
    virtual void* __openWindowDeprecated (void* window);
    virtual bool __closeWindowDeprecated (void* window);
    virtual void __setBlockSizeAndSampleRateDeprecated (int newBlockSize, float newSampleRate);
    virtual bool __getErrorTextDeprecated (char*)                  { return false; }
    virtual void* __getIconDeprecated()                            { return nullptr; }
    virtual bool __setViewPositionDeprecated (int, int)            { return false; }
    virtual int __fxIdleDeprecated()                               { return 0; }
    virtual bool __keysRequiredDeprecated()                        { return false; }
    virtual bool __getChunkFileDeprecated (void* path);

private:
    /** True exactly when the host's 64-bit reply is not zero; false without a host. */
    bool hostAgrees (int32_t opcode, int32_t index = 0, long long value = 0, void* ptr = nullptr);
};
