#pragma once

#include "AEffect.h"

/** An editor that a plug-in may attach to its effect; the base dispatcher hands
    it the editor-window opcodes. Every operation does nothing by default. */
class EffectEditor
{
public:
    /** A key as the host reports it to an editor. */
    struct Key
    {
        int character;
        unsigned char virtualKey;
        unsigned char modifiers;
    };

    virtual ~EffectEditor() = default;

    /** Points *rect at a rectangle the editor owns; false when it has none. */
    virtual bool getRect (EditorRect** rect)   { (void) rect; return false; }
    virtual bool open (void* parentWindow)     { (void) parentWindow; return false; }
    virtual void close() {}
    virtual void idle() {}
    virtual bool onKeyDown (const Key&)        { return false; }
    virtual bool onKeyUp (const Key&)          { return false; }
    virtual bool setKnobMode (int)             { return false; }
};

/** The base of a VST 2.4 effect: owns the AEffect record the host sees, turns
    the host's calls on that record into virtual calls (opcodes 0 to 24), and
    offers the host calls and number-to-text helpers every effect needs. */
class AudioEffect
{
public:
    /** Fills the record; numPrograms and numParams go into it unchanged. */
    AudioEffect (HostCallback host, int numPrograms, int numParams);

    /** Deletes the attached editor, if any. */
    virtual ~AudioEffect();

    AudioEffect (const AudioEffect&) = delete;
    AudioEffect& operator= (const AudioEffect&) = delete;

    /** Turns a host opcode into a virtual call; see the opcode list in AEffect.h. */
    virtual long long dispatcher (int opcode, int index, long long value, void* ptr, float opt);

    virtual void open() {}
    virtual void close() {}
    virtual void suspend() {}
    virtual void resume() {}
    virtual void setSampleRate (float newRate)    { sampleRate = newRate; }
    virtual void setBlockSize (int newSize)       { blockSize = newSize; }

    /** Replaces outputs with the processed inputs; every effect provides it. */
    virtual void processReplacing (float** inputs, float** outputs, int sampleFrames) = 0;
    virtual void processDoubleReplacing (double** inputs, double** outputs, int sampleFrames);

    virtual void setParameter (int index, float value);
    virtual float getParameter (int index);

    /** Sets the parameter, then reports the change to the host as automation. */
    virtual void setParameterAutomated (int index, float value);

    virtual int getProgram()                       { return curProgram; }
    virtual void setProgram (int program)          { curProgram = program; }
    virtual void setProgramName (char* name);
    virtual void getProgramName (char* name);
    virtual void getParameterLabel (int index, char* label);
    virtual void getParameterDisplay (int index, char* text);
    virtual void getParameterName (int index, char* text);

    /** Points *data at the state and returns its size; 0 when there is none. */
    virtual int getChunk (void** data, bool isPreset);
    /** Applies a state of byteSize bytes. */
    virtual int setChunk (void* data, int byteSize, bool isPreset);

    virtual void setUniqueID (int id)              { effectRecord.uniqueId = id; }
    virtual void setNumInputs (int inputs)         { effectRecord.numInputs = inputs; }
    virtual void setNumOutputs (int outputs)       { effectRecord.numOutputs = outputs; }
    virtual void canProcessReplacing (bool state)  { setFlag (canReplacingFlag, state); }
    virtual void canDoubleReplacing (bool state)   { setFlag (canDoubleReplacingFlag, state); }
    virtual void programsAreChunks (bool state)    { setFlag (programChunksFlag, state); }
    virtual void setInitialDelay (int delay)       { effectRecord.initialDelay = delay; }

    virtual EffectEditor* getEditor()              { return editorObject; }
    virtual AEffect* getAeffect()                  { return &effectRecord; }
    virtual float getSampleRate()                  { return sampleRate; }
    virtual int getBlockSize()                     { return blockSize; }

    /** The host's VST version; 1 without a host or when it answers 0. */
    virtual int getMasterVersion();
    virtual int getCurrentUniqueId();
    virtual void masterIdle();

    // Number-to-text helpers. Each writes at most maxLen characters and a zero
    // byte, and always a zero byte at text[maxLen], so text holds maxLen + 1
    // bytes; a null text or a negative maxLen writes nothing.
    virtual void dB2string (float value, char* text, int maxLen);
    virtual void Hz2string (float samples, char* text, int maxLen);
    virtual void ms2string (float samples, char* text, int maxLen);
    /** Eight characters at most, counting sign, digits and point; "Huge!" outside the range. */
    virtual void float2string (float value, char* text, int maxLen);
    /** A sign and up to nine digits, leading zeros dropped (0 gives an empty text). */
    virtual void int2string (int value, char* text, int maxLen);

    virtual void __processDeprecated (float**, float**, int) {}
    virtual float __getVuDeprecated()                        { return 0.0f; }
    virtual void __hasVuDeprecated (bool state)              { setFlag (hasVuFlag, state); }
    virtual void __hasClipDeprecated (bool state)            { setFlag (hasClipFlag, state); }
    virtual void __canMonoDeprecated (bool state)            { setFlag (canMonoFlag, state); }
    virtual void __setRealtimeQualitiesDeprecated (int q)    { effectRecord.realtimeQualities = q; }
    virtual void __setOfflineQualitiesDeprecated (int q)     { effectRecord.offlineQualities = q; }
    virtual bool __isInputConnectedDeprecated (int input);
    virtual bool __isOutputConnectedDeprecated (int output);

    // The record's entry functions: each finds the object through the record.
    // None lets an exception through: a call that throws answers 0 (close still
    // deletes the object) and a block that throws leaves silent outputs.
    static long long dispatchEffectClass (AEffect* e, int32_t opcode, int32_t index, long long value, void* ptr, float opt);
    static float getParameterClass (AEffect* e, int32_t index);
    static void setParameterClass (AEffect* e, int32_t index, float value);
    static void __processClassDeprecated (AEffect* e, float** inputs, float** outputs, int32_t sampleFrames);
    static void processClassReplacing (AEffect* e, float** inputs, float** outputs, int32_t sampleFrames);
    static void processClassDoubleReplacing (AEffect* e, double** inputs, double** outputs, int32_t sampleFrames);

protected:
    /** Calls the host, or returns whenMissing when there is no host callback. */
    long long callHost (int32_t opcode, int32_t index = 0, long long value = 0, void* ptr = nullptr,
                        float opt = 0.0f, long long whenMissing = 0);

    void setFlag (int32_t flag, bool state) noexcept;

    /** Hands an editor-window or editor-key opcode to the attached editor; 0 without one. */
    long long dispatchEditor (int opcode, int index, long long value, void* ptr, float opt);

    HostCallback hostCallback;
    EffectEditor* editorObject = nullptr;
    float sampleRate = 44100.0f;
    int blockSize = 1024;
    int numPrograms;
    int numParams;
    int curProgram = 0;
    AEffect effectRecord;
};

/** Copies text and its terminator into a host buffer of bufferSize bytes and
    writes nothing past them: a longer text is cut to bufferSize - 1 bytes, at
    the start of the UTF-8 character that would not fit whole. Nothing happens
    when buffer is null or bufferSize is not positive. */
void copyToHostBuffer (const char* text, char* buffer, int bufferSize) noexcept;
