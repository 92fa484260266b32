#pragma once

#include <cstddef>
#include <cstdint>

// The record through which a VST 2.4 host knows an effect, the host's callback
// and the few host records the base classes read or write. The layouts are the
// binary interface every VST 2.4 host on a 64-bit little-endian system uses:
// they are checked field by field below, so any change breaks the build.

struct AEffect;

/** The host's entry for every call back into it. */
using HostCallback = long long (*) (AEffect* effect, int32_t opcode, int32_t index,
                                    long long value, void* ptr, float opt);

using DispatcherEntry = long long (*) (AEffect*, int32_t opcode, int32_t index, long long value, void* ptr, float opt);
using ProcessEntry = void (*) (AEffect*, float** inputs, float** outputs, int32_t sampleFrames);
using ProcessDoubleEntry = void (*) (AEffect*, double** inputs, double** outputs, int32_t sampleFrames);
using SetParameterEntry = void (*) (AEffect*, int32_t index, float value);
using GetParameterEntry = float (*) (AEffect*, int32_t index);

/** A four-character code as an int32 whose most significant byte is the first character. */
constexpr int32_t fourCharCode (const char (&code)[5]) noexcept
{
    return (int32_t) (((uint32_t) (unsigned char) code[0] << 24) | ((uint32_t) (unsigned char) code[1] << 16)
                      | ((uint32_t) (unsigned char) code[2] << 8) | (uint32_t) (unsigned char) code[3]);
}

/** The effect as the host sees it: 192 bytes, filled by AudioEffect's constructor. */
struct AEffect
{
    int32_t magic;
    DispatcherEntry dispatcher;
    ProcessEntry processAccumulating;
    SetParameterEntry setParameter;
    GetParameterEntry getParameter;
    int32_t numPrograms;
    int32_t numParameters;
    int32_t numInputs;
    int32_t numOutputs;
    int32_t flags;
    int64_t reserved[2];
    int32_t initialDelay;
    int32_t realtimeQualities;
    int32_t offlineQualities;
    float ioRatio;
    void* object;
    void* user;
    int32_t uniqueId;
    int32_t version;
    ProcessEntry processReplacing;
    ProcessDoubleEntry processDoubleReplacing;
    char future[56];
};

static_assert (sizeof (void*) == 8, "the record layout is the 64-bit one");
static_assert (sizeof (AEffect) == 192);
static_assert (offsetof (AEffect, magic) == 0);
static_assert (offsetof (AEffect, dispatcher) == 8);
static_assert (offsetof (AEffect, processAccumulating) == 16);
static_assert (offsetof (AEffect, setParameter) == 24);
static_assert (offsetof (AEffect, getParameter) == 32);
static_assert (offsetof (AEffect, numPrograms) == 40);
static_assert (offsetof (AEffect, numParameters) == 44);
static_assert (offsetof (AEffect, numInputs) == 48);
static_assert (offsetof (AEffect, numOutputs) == 52);
static_assert (offsetof (AEffect, flags) == 56);
static_assert (offsetof (AEffect, reserved) == 64);
static_assert (offsetof (AEffect, initialDelay) == 80);
static_assert (offsetof (AEffect, realtimeQualities) == 84);
static_assert (offsetof (AEffect, offlineQualities) == 88);
static_assert (offsetof (AEffect, ioRatio) == 92);
static_assert (offsetof (AEffect, object) == 96);
static_assert (offsetof (AEffect, user) == 104);
static_assert (offsetof (AEffect, uniqueId) == 112);
static_assert (offsetof (AEffect, version) == 116);
static_assert (offsetof (AEffect, processReplacing) == 120);
static_assert (offsetof (AEffect, processDoubleReplacing) == 128);
static_assert (offsetof (AEffect, future) == 136);

/** Bits of AEffect::flags. */
enum EffectFlag : int32_t
{
    hasEditorFlag = 0x1,
    hasClipFlag = 0x2,
    hasVuFlag = 0x4,
    canMonoFlag = 0x8,
    canReplacingFlag = 0x10,
    programChunksFlag = 0x20,
    isSynthFlag = 0x100,
    noTailFlag = 0x200,
    asyncOperationFlag = 0x400,
    externalBufferFlag = 0x800,
    canDoubleReplacingFlag = 0x1000
};

/** What a host asks of an effect through its dispatcher. */
enum EffectOpcode : int32_t
{
    effectOpen = 0, effectClose = 1, effectSetProgram = 2, effectGetProgram = 3,
    effectSetProgramName = 4, effectGetProgramName = 5, effectGetParameterLabel = 6,
    effectGetParameterDisplay = 7, effectGetParameterName = 8, effectSetSampleRate = 10,
    effectSetBlockSize = 11, effectSuspendResume = 12, effectEditorGetRect = 13,
    effectEditorOpen = 14, effectEditorClose = 15, effectEditorIdle = 19, effectIdentify = 22,
    effectGetChunk = 23, effectSetChunk = 24, effectProcessEvents = 25, effectCanBeAutomated = 26,
    effectStringToParameter = 27, effectGetProgramNameIndexed = 29, effectGetInputProperties = 33,
    effectGetOutputProperties = 34, effectGetPlugCategory = 35, effectOfflineNotify = 38,
    effectOfflinePrepare = 39, effectOfflineRun = 40, effectProcessVariableIo = 41,
    effectSetSpeakerArrangement = 42, effectSetBypass = 44, effectGetEffectName = 45,
    effectGetVendorString = 47, effectGetProductString = 48, effectGetVendorVersion = 49,
    effectVendorSpecific = 50, effectCanDo = 51, effectGetTailSize = 52, effectGetParameterProperties = 56,
    effectGetVstVersion = 58, effectEditorKeyDown = 59, effectEditorKeyUp = 60, effectEditorKnobMode = 61,
    effectGetMidiProgramName = 62, effectGetCurrentMidiProgram = 63, effectGetMidiProgramCategory = 64,
    effectHasMidiProgramsChanged = 65, effectGetMidiKeyName = 66, effectBeginSetProgram = 67,
    effectEndSetProgram = 68, effectGetSpeakerArrangement = 69, effectGetNextShellPlugin = 70,
    effectStartProcess = 71, effectStopProcess = 72, effectSetTotalSampleToProcess = 73,
    effectSetPanLaw = 74, effectBeginLoadBank = 75, effectBeginLoadProgram = 76,
    effectSetProcessPrecision = 77, effectGetNumMidiInputChannels = 78, effectGetNumMidiOutputChannels = 79
};

/** What an effect asks of its host through the host callback. */
enum HostOpcode : int32_t
{
    hostAutomate = 0, hostVersion = 1, hostCurrentId = 2, hostIdle = 3, hostPinConnected = 4,
    hostWantMidi = 6, hostGetTime = 7, hostTempoAt = 10, hostGetNumAutomatableParameters = 11,
    hostGetParameterQuantization = 12, hostIoChanged = 13, hostNeedIdle = 14, hostSizeWindow = 15,
    hostGetSampleRate = 16, hostGetBlockSize = 17, hostGetInputLatency = 18, hostGetOutputLatency = 19,
    hostGetPreviousPlug = 20, hostGetNextPlug = 21, hostWillReplaceOrAccumulate = 22,
    hostGetCurrentProcessLevel = 23, hostGetAutomationState = 24, hostOfflineStart = 25,
    hostOfflineRead = 26, hostOfflineWrite = 27, hostOfflineGetCurrentPass = 28,
    hostOfflineGetCurrentMetaPass = 29, hostSetOutputSampleRate = 30,
    hostGetOutputSpeakerArrangement = 31, hostGetVendorString = 32, hostGetProductString = 33,
    hostGetVendorVersion = 34, hostVendorSpecific = 35, hostCanDo = 37, hostGetLanguage = 38,
    hostOpenWindow = 39, hostCloseWindow = 40, hostGetDirectory = 41, hostUpdateDisplay = 42,
    hostBeginEdit = 43, hostEndEdit = 44, hostOpenFileSelector = 45, hostCloseFileSelector = 46,
    hostGetChunkFile = 48, hostGetInputSpeakerArrangement = 49
};

constexpr int32_t effectMagic = fourCharCode ("VstP");
constexpr int32_t defaultUniqueId = fourCharCode ("NoEf");
constexpr int32_t identifyReply = fourCharCode ("NvEf");

/** The plug-in category of an effect, and that of an instrument. */
constexpr int32_t effectCategory = 1;
constexpr int32_t synthCategory = 2;

/** One speaker of an arrangement: 112 bytes. */
struct VstSpeakerProperties
{
    float azimuth;
    float elevation;
    float radius;
    float reserved;
    char name[64];
    int32_t type;
    char future[28];
};

static_assert (sizeof (VstSpeakerProperties) == 112);
static_assert (offsetof (VstSpeakerProperties, name) == 16);
static_assert (offsetof (VstSpeakerProperties, type) == 80);
static_assert (offsetof (VstSpeakerProperties, future) == 84);

/** A speaker arrangement: a header of two int32, then one record per channel
    (the block is allocated for the actual channel count; two are declared). */
struct VstSpeakerArrangement
{
    int32_t type;
    int32_t numChannels;
    VstSpeakerProperties speakers[2];
};

/** Speaker number channel of an arrangement allocated for at least channel + 1 speakers. */
inline VstSpeakerProperties* speakerAt (VstSpeakerArrangement& arrangement, int channel) noexcept
{
    return arrangement.speakers + channel;
}

static_assert (offsetof (VstSpeakerArrangement, numChannels) == 4);
static_assert (offsetof (VstSpeakerArrangement, speakers) == 8);

/** The start of the host's transport record, as far as effects read it. */
struct HostTimeInfo
{
    double samplePosition;
    double sampleRate;
    double nanoSeconds;
    double quarterNotePosition;
    double tempo;
    double barStartPosition;
    double cycleStartPosition;
    double cycleEndPosition;
    int32_t timeSignatureNumerator;
    int32_t timeSignatureDenominator;
    int32_t smpteOffset;
    int32_t smpteFrameRate;
    int32_t samplesToNextClock;
    int32_t flags;
};

static_assert (offsetof (HostTimeInfo, tempo) == 32);
static_assert (offsetof (HostTimeInfo, timeSignatureNumerator) == 64);
static_assert (offsetof (HostTimeInfo, flags) == 84);

/** HostTimeInfo::flags bit, and host opcode 7 request bit, for a valid tempo. */
constexpr int32_t timeInfoTempoValid = 0x400;

/** An editor rectangle in pixels. */
struct EditorRect
{
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};

static_assert (sizeof (EditorRect) == 8);

// Records the base classes pass between host and subclass without reading them.
struct VstEvents;
struct VstPinProperties;
struct VstParameterProperties;
struct VstAudioFile;
struct VstOfflineTask;
struct VstFileSelect;
struct MidiProgramName;
struct MidiProgramCategory;
struct MidiKeyName;
struct VstVariableIo;
struct VstPatchChunkInfo;

/** The offline-processing option passed with offline reads and writes. */
enum VstOfflineOption : int32_t {};
