// The VST 2.4 base classes as a host meets them: through the record's entry
// functions, with a host callback that records every call.

#include "AudioEffectX.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>
#include <stdexcept>
#include <sstream>
#include <string>
#include <vector>

namespace
{
char hostBuffer[80];
void* const marker = hostBuffer;

std::string describe (const void* p)
{
    return p == nullptr ? "null" : (p == marker ? "ptr" : "other");
}

std::string describe (int v)        { return std::to_string (v); }
std::string describe (long long v)  { return std::to_string (v); }
std::string describe (bool v)       { return v ? "true" : "false"; }
std::string describe (float v)      { std::ostringstream s; s << v; return s.str(); }

/** An effect whose every dispatcher-reachable virtual writes down its call. */
class RecordingEffect : public AudioEffectX
{
public:
    static constexpr int intAnswer = -7;

    explicit RecordingEffect (HostCallback host = nullptr) : AudioEffectX (host, 12, 9) {}
    ~RecordingEffect() override  { if (destroyed != nullptr) *destroyed = true; }

    template <typename... Args>
    void note (const char* name, Args... args)
    {
        std::string arguments;
        ((arguments += "," + describe (args)), ...);
        calls.push_back (std::string (name) + "(" + (arguments.empty() ? "" : arguments.substr (1)) + ")");
    }

    void open() override                                  { note ("open"); }
    void close() override                                 { note ("close"); }
    void suspend() override                               { note ("suspend"); }
    void resume() override                                { note ("resume"); }
    void setSampleRate (float r) override                 { note ("setSampleRate", r); }
    void setBlockSize (int n) override                    { note ("setBlockSize", n); }
    void processReplacing (float** in, float** out, int n) override  { note ("processReplacing", (void*) in, (void*) out, n); }
    void processDoubleReplacing (double** in, double** out, int n) override  { note ("processDoubleReplacing", (void*) in, (void*) out, n); }
    void __processDeprecated (float** in, float** out, int n) override  { note ("__processDeprecated", (void*) in, (void*) out, n); }
    void setParameter (int i, float v) override           { note ("setParameter", i, v); }
    float getParameter (int i) override                   { note ("getParameter", i); return 0.25f; }
    int getProgram() override                             { note ("getProgram"); return intAnswer; }
    void setProgram (int p) override                      { note ("setProgram", p); }
    void setProgramName (char* t) override                { note ("setProgramName", t); }
    void getProgramName (char* t) override                { note ("getProgramName", t); }
    void getParameterLabel (int i, char* t) override      { note ("getParameterLabel", i, t); }
    void getParameterDisplay (int i, char* t) override    { note ("getParameterDisplay", i, t); }
    void getParameterName (int i, char* t) override       { note ("getParameterName", i, t); }
    int getChunk (void** d, bool preset) override         { note ("getChunk", (void*) d, preset); return intAnswer; }
    int setChunk (void* d, int n, bool preset) override   { note ("setChunk", d, n, preset); return intAnswer; }

    int processEvents (VstEvents* e) override             { note ("processEvents", e); return intAnswer; }
    bool canParameterBeAutomated (int i) override         { note ("canParameterBeAutomated", i); return true; }
    bool string2parameter (int i, char* t) override       { note ("string2parameter", i, t); return true; }
    bool getProgramNameIndexed (int c, int i, char* t) override  { note ("getProgramNameIndexed", c, i, t); return true; }
    bool getInputProperties (int i, VstPinProperties* p) override   { note ("getInputProperties", i, p); return true; }
    bool getOutputProperties (int i, VstPinProperties* p) override  { note ("getOutputProperties", i, p); return true; }
    int getPlugCategory() override                        { note ("getPlugCategory"); return intAnswer; }
    bool offlineNotify (VstAudioFile* f, int n, bool start) override  { note ("offlineNotify", f, n, start); return true; }
    bool offlinePrepare (VstOfflineTask* t, int n) override  { note ("offlinePrepare", t, n); return true; }
    bool offlineRun (VstOfflineTask* t, int n) override   { note ("offlineRun", t, n); return true; }
    bool processVariableIo (VstVariableIo* v) override    { note ("processVariableIo", v); return true; }
    bool setSpeakerArrangement (VstSpeakerArrangement* in, VstSpeakerArrangement* out) override  { note ("setSpeakerArrangement", in, out); return true; }
    bool setBypass (bool b) override                      { note ("setBypass", b); return true; }
    bool getEffectName (char* t) override                 { note ("getEffectName", t); return true; }
    bool getVendorString (char* t) override               { note ("getVendorString", t); return true; }
    bool getProductString (char* t) override              { note ("getProductString", t); return true; }
    int getVendorVersion() override                       { note ("getVendorVersion"); return intAnswer; }
    long long vendorSpecific (int i, long long v, void* p, float o) override  { note ("vendorSpecific", i, v, p, o); return 1LL << 40; }
    int canDo (char* t) override                          { note ("canDo", t); return intAnswer; }
    int getGetTailSize() override                         { note ("getGetTailSize"); return intAnswer; }
    bool getParameterProperties (int i, VstParameterProperties* p) override  { note ("getParameterProperties", i, p); return true; }
    int getVstVersion() override                          { note ("getVstVersion"); return intAnswer; }
    int getMidiProgramName (int c, MidiProgramName* p) override  { note ("getMidiProgramName", c, p); return intAnswer; }
    int getCurrentMidiProgram (int c, MidiProgramName* p) override  { note ("getCurrentMidiProgram", c, p); return intAnswer; }
    int getMidiProgramCategory (int c, MidiProgramCategory* p) override  { note ("getMidiProgramCategory", c, p); return intAnswer; }
    bool hasMidiProgramsChanged (int c) override          { note ("hasMidiProgramsChanged", c); return true; }
    bool getMidiKeyName (int c, MidiKeyName* k) override  { note ("getMidiKeyName", c, k); return true; }
    bool beginSetProgram() override                       { note ("beginSetProgram"); return true; }
    bool endSetProgram() override                         { note ("endSetProgram"); return true; }
    bool getSpeakerArrangement (VstSpeakerArrangement** in, VstSpeakerArrangement** out) override  { note ("getSpeakerArrangement", in, out); return true; }
    int getNextShellPlugin (char* t) override             { note ("getNextShellPlugin", t); return intAnswer; }
    int startProcess() override                           { note ("startProcess"); return intAnswer; }
    int stopProcess() override                            { note ("stopProcess"); return intAnswer; }
    int setTotalSampleToProcess (int n) override          { note ("setTotalSampleToProcess", n); return intAnswer; }
    bool setPanLaw (int type, float v) override           { note ("setPanLaw", type, v); return true; }
    int beginLoadBank (VstPatchChunkInfo* p) override     { note ("beginLoadBank", p); return intAnswer; }
    int beginLoadProgram (VstPatchChunkInfo* p) override  { note ("beginLoadProgram", p); return intAnswer; }
    bool setProcessPrecision (int p) override             { note ("setProcessPrecision", p); return true; }
    int getNumMidiInputChannels() override                { note ("getNumMidiInputChannels"); return intAnswer; }
    int getNumMidiOutputChannels() override               { note ("getNumMidiOutputChannels"); return intAnswer; }

    std::vector<std::string> calls;
    bool* destroyed = nullptr;
};

long long dispatch (AEffect* e, int opcode, int index, long long value, void* ptr, float opt)
{
    return e->dispatcher (e, opcode, index, value, ptr, opt);
}

constexpr long long markerValue = 0x1234;
constexpr long long int32Answer = RecordingEffect::intAnswer;
constexpr long long categoryAnswer = 0xFFFFFFF9LL;  // the category is zero-extended

struct DispatchCase
{
    int opcode, index;
    long long value;
    void* ptr;
    float opt;
    const char* expectedCall;  // nullptr: no call at all
    long long expectedResult;
};

// clang-format off
const DispatchCase dispatchCases[] =
{
    { 0,  0, 0, nullptr, 0.0f,   "open()", 0 },
    { 2,  0, 11, nullptr, 0.0f,  "setProgram(11)", 0 },
    { 2,  0, 12, nullptr, 0.0f,  nullptr, 0 },                  // past the last program
    { 2,  0, -1, nullptr, 0.0f,  nullptr, 0 },                  // negative programs are refused too
    { 2,  0, 1LL << 32, nullptr, 0.0f, nullptr, 0 },
    { 3,  0, 0, nullptr, 0.0f,   "getProgram()", int32Answer },
    { 4,  0, 0, marker, 0.0f,    "setProgramName(ptr)", 0 },
    { 4,  0, 0, nullptr, 0.0f,   nullptr, 0 },                  // no buffer, no call
    { 5,  0, 0, marker, 0.0f,    "getProgramName(ptr)", 0 },
    { 5,  0, 0, nullptr, 0.0f,   nullptr, 0 },
    { 6,  3, 0, marker, 0.0f,    "getParameterLabel(3,ptr)", 0 },
    { 6,  3, 0, nullptr, 0.0f,   nullptr, 0 },
    { 7,  4, 0, marker, 0.0f,    "getParameterDisplay(4,ptr)", 0 },
    { 7,  4, 0, nullptr, 0.0f,   nullptr, 0 },
    { 8,  5, 0, marker, 0.0f,    "getParameterName(5,ptr)", 0 },
    { 8,  5, 0, nullptr, 0.0f,   nullptr, 0 },
    { 9,  0, 0, marker, 0.0f,    nullptr, 0 },
    { 10, 0, 0, nullptr, 48000.0f, "setSampleRate(48000)", 0 },
    { 11, 0, 256, nullptr, 0.0f, "setBlockSize(256)", 0 },
    { 12, 0, 0, nullptr, 0.0f,   "suspend()", 0 },
    { 12, 0, 1, nullptr, 0.0f,   "resume()", 0 },
    { 12, 0, -5, nullptr, 0.0f,  "resume()", 0 },
    { 13, 0, 0, marker, 0.0f,    nullptr, 0 },                  // editor opcodes: no editor attached
    { 14, 0, 0, marker, 0.0f,    nullptr, 0 },
    { 15, 0, 0, nullptr, 0.0f,   nullptr, 0 },
    { 16, 0, 0, nullptr, 0.0f,   nullptr, 0 },
    { 17, 0, 0, nullptr, 0.0f,   nullptr, 0 },
    { 18, 0, 0, nullptr, 0.0f,   nullptr, 0 },
    { 19, 0, 0, nullptr, 0.0f,   nullptr, 0 },
    { 20, 0, 0, nullptr, 0.0f,   nullptr, 0 },
    { 21, 0, 0, nullptr, 0.0f,   nullptr, 0 },
    { 22, 0, 0, nullptr, 0.0f,   nullptr, 0x4E764566 },
    { 23, 0, 0, marker, 0.0f,    "getChunk(ptr,false)", int32Answer },
    { 23, 1, 0, marker, 0.0f,    "getChunk(ptr,true)", int32Answer },
    { 23, 0, 0, nullptr, 0.0f,   nullptr, 0 },
    { 24, 0, 40, marker, 0.0f,   "setChunk(ptr,40,false)", int32Answer },
    { 24, 2, 40, marker, 0.0f,   "setChunk(ptr,40,true)", int32Answer },
    { 24, 0, 40, nullptr, 0.0f,  nullptr, 0 },                  // a size without bytes
    { 24, 0, -40, marker, 0.0f,  nullptr, 0 },                  // a negative size
    { 24, 0, 1LL << 31, marker, 0.0f, nullptr, 0 },             // a size no int holds
    { 25, 0, 0, marker, 0.0f,    "processEvents(ptr)", int32Answer },
    { 26, 6, 0, nullptr, 0.0f,   "canParameterBeAutomated(6)", 1 },
    { 27, 6, 0, marker, 0.0f,    "string2parameter(6,ptr)", 1 },
    { 27, 6, 0, nullptr, 0.0f,   nullptr, 0 },
    { 28, 0, 0, nullptr, 0.0f,   nullptr, 0 },
    { 29, 7, 2, marker, 0.0f,    "getProgramNameIndexed(2,7,ptr)", 1 },
    { 29, 7, 2, nullptr, 0.0f,   nullptr, 0 },
    { 30, 0, 0, nullptr, 0.0f,   nullptr, 0 },
    { 31, 0, 0, nullptr, 0.0f,   nullptr, 0 },
    { 32, 0, 0, nullptr, 0.0f,   nullptr, 0 },
    { 33, 1, 0, marker, 0.0f,    "getInputProperties(1,ptr)", 1 },
    { 34, 1, 0, marker, 0.0f,    "getOutputProperties(1,ptr)", 1 },
    { 35, 0, 0, nullptr, 0.0f,   "getPlugCategory()", categoryAnswer },
    { 36, 0, 0, nullptr, 0.0f,   nullptr, 0 },
    { 37, 0, 0, nullptr, 0.0f,   nullptr, 0 },
    { 38, 5, 3, marker, 0.0f,    "offlineNotify(ptr,3,true)", 1 },
    { 38, 0, 3, marker, 0.0f,    "offlineNotify(ptr,3,false)", 1 },
    { 39, 0, 4, marker, 0.0f,    "offlinePrepare(ptr,4)", 1 },
    { 40, 0, 4, marker, 0.0f,    "offlineRun(ptr,4)", 1 },
    { 41, 0, 0, marker, 0.0f,    "processVariableIo(ptr)", 1 },
    { 42, 0, markerValue, marker, 0.0f, "setSpeakerArrangement(other,ptr)", 1 },
    { 43, 0, 0, nullptr, 0.0f,   nullptr, 0 },
    { 44, 0, 2, nullptr, 0.0f,   "setBypass(true)", 1 },
    { 44, 0, 0, nullptr, 0.0f,   "setBypass(false)", 1 },
    { 45, 0, 0, marker, 0.0f,    "getEffectName(ptr)", 1 },
    { 45, 0, 0, nullptr, 0.0f,   nullptr, 0 },
    { 46, 0, 0, nullptr, 0.0f,   nullptr, 0 },
    { 47, 0, 0, marker, 0.0f,    "getVendorString(ptr)", 1 },
    { 47, 0, 0, nullptr, 0.0f,   nullptr, 0 },
    { 48, 0, 0, marker, 0.0f,    "getProductString(ptr)", 1 },
    { 48, 0, 0, nullptr, 0.0f,   nullptr, 0 },
    { 49, 0, 0, nullptr, 0.0f,   "getVendorVersion()", int32Answer },
    { 50, 3, 1LL << 35, marker, 0.5f, "vendorSpecific(3,34359738368,ptr,0.5)", 1LL << 40 },
    { 51, 0, 0, marker, 0.0f,    "canDo(ptr)", int32Answer },
    { 51, 0, 0, nullptr, 0.0f,   nullptr, 0 },
    { 52, 0, 0, nullptr, 0.0f,   "getGetTailSize()", int32Answer },
    { 53, 0, 0, nullptr, 0.0f,   nullptr, 0 },
    { 54, 0, 0, nullptr, 0.0f,   nullptr, 0 },
    { 55, 0, 0, nullptr, 0.0f,   nullptr, 0 },
    { 56, 8, 0, marker, 0.0f,    "getParameterProperties(8,ptr)", 1 },
    { 57, 0, 0, nullptr, 0.0f,   nullptr, 0 },
    { 58, 0, 0, nullptr, 0.0f,   "getVstVersion()", int32Answer },
    { 59, 65, 3, nullptr, 2.0f,  nullptr, 0 },                  // editor keys: no editor attached
    { 60, 65, 3, nullptr, 2.0f,  nullptr, 0 },
    { 61, 0, 1, nullptr, 0.0f,   nullptr, 0 },
    { 62, 9, 0, marker, 0.0f,    "getMidiProgramName(9,ptr)", int32Answer },
    { 63, 9, 0, marker, 0.0f,    "getCurrentMidiProgram(9,ptr)", int32Answer },
    { 64, 9, 0, marker, 0.0f,    "getMidiProgramCategory(9,ptr)", int32Answer },
    { 65, 9, 0, nullptr, 0.0f,   "hasMidiProgramsChanged(9)", 1 },
    { 66, 9, 0, marker, 0.0f,    "getMidiKeyName(9,ptr)", 1 },
    { 67, 0, 0, nullptr, 0.0f,   "beginSetProgram()", 1 },
    { 68, 0, 0, nullptr, 0.0f,   "endSetProgram()", 1 },
    { 69, 0, markerValue, marker, 0.0f, "getSpeakerArrangement(other,ptr)", 1 },
    { 69, 0, 0, marker, 0.0f,    nullptr, 0 },                  // an out-pointer missing
    { 69, 0, markerValue, nullptr, 0.0f, nullptr, 0 },
    { 70, 0, 0, marker, 0.0f,    "getNextShellPlugin(ptr)", int32Answer },
    { 70, 0, 0, nullptr, 0.0f,   nullptr, 0 },
    { 71, 0, 0, nullptr, 0.0f,   "startProcess()", int32Answer },
    { 72, 0, 0, nullptr, 0.0f,   "stopProcess()", int32Answer },
    { 73, 0, 512, nullptr, 0.0f, "setTotalSampleToProcess(512)", int32Answer },
    { 74, 0, 2, nullptr, 0.75f,  "setPanLaw(2,0.75)", 1 },
    { 75, 0, 0, marker, 0.0f,    "beginLoadBank(ptr)", int32Answer },
    { 76, 0, 0, marker, 0.0f,    "beginLoadProgram(ptr)", int32Answer },
    { 77, 0, 1, nullptr, 0.0f,   "setProcessPrecision(1)", 1 },
    { 78, 0, 0, nullptr, 0.0f,   "getNumMidiInputChannels()", int32Answer },
    { 79, 0, 0, nullptr, 0.0f,   "getNumMidiOutputChannels()", int32Answer },
    { 80, 0, 0, marker, 0.0f,    nullptr, 0 },
    { 1000, 0, 0, marker, 0.0f,  nullptr, 0 },
    { -1, 0, 0, marker, 0.0f,    nullptr, 0 },
};
// clang-format on

TEST (AudioEffectDispatcher, EveryOpcodeReachesItsVirtualWithItsArgumentsAndResult)
{
    RecordingEffect effect;
    auto* record = effect.getAeffect();

    for (const auto& c : dispatchCases)
    {
        SCOPED_TRACE ("opcode " + std::to_string (c.opcode) + " index " + std::to_string (c.index)
                      + " value " + std::to_string (c.value));
        effect.calls.clear();

        auto* ptr = c.ptr;
        const auto value = c.value == markerValue ? (long long) (intptr_t) &hostBuffer[8] : c.value;

        EXPECT_EQ (dispatch (record, c.opcode, c.index, value, ptr, c.opt), c.expectedResult);

        if (c.expectedCall == nullptr)
            EXPECT_TRUE (effect.calls.empty()) << effect.calls.front();
        else
            EXPECT_EQ (effect.calls, std::vector<std::string> { c.expectedCall });
    }
}

TEST (AudioEffectDispatcher, CloseCallsCloseThenDeletesTheObjectAndAnswersOne)
{
    bool destroyed = false;
    auto* effect = new RecordingEffect();
    effect->destroyed = &destroyed;

    EXPECT_EQ (dispatch (effect->getAeffect(), effectClose, 0, 0, nullptr, 0.0f), 1);
    EXPECT_TRUE (destroyed);
}

TEST (AudioEffectDispatcher, EntryFunctionsFindTheObjectThroughTheRecord)
{
    RecordingEffect effect;
    auto* e = effect.getAeffect();
    auto** channels = reinterpret_cast<float**> (marker);

    e->setParameter (e, 4, 0.5f);
    EXPECT_EQ (e->getParameter (e, 2), 0.25f);
    e->processReplacing (e, channels, channels, 64);
    e->processDoubleReplacing (e, reinterpret_cast<double**> (marker), nullptr, 32);
    e->processAccumulating (e, nullptr, channels, 16);

    EXPECT_EQ (effect.calls, (std::vector<std::string> { "setParameter(4,0.5)", "getParameter(2)",
                                                         "processReplacing(ptr,ptr,64)",
                                                         "processDoubleReplacing(ptr,null,32)",
                                                         "__processDeprecated(null,ptr,16)" }));
}

//==============================================================================
/** An effect with every default of the base classes. */
struct PlainEffect : AudioEffectX
{
    explicit PlainEffect (HostCallback host = nullptr) : AudioEffectX (host, 12, 9) {}
    void processReplacing (float**, float**, int) override {}
};

TEST (AudioEffectRecord, AFreshEffectFillsTheRecordAsHostsExpect)
{
    PlainEffect effect;
    const auto* e = effect.getAeffect();
    const auto* bytes = reinterpret_cast<const unsigned char*> (e);

    EXPECT_EQ (e->magic, 0x56737450);
    EXPECT_EQ (e->numPrograms, 12);
    EXPECT_EQ (e->numParameters, 9);
    EXPECT_EQ (e->numInputs, 1);
    EXPECT_EQ (e->numOutputs, 2);
    EXPECT_EQ (e->flags, 0x10);
    EXPECT_EQ (e->ioRatio, 1.0f);
    EXPECT_EQ (e->object, &effect);
    EXPECT_EQ (e->uniqueId, 0x4E6F4566);
    EXPECT_EQ (e->version, 1);
    EXPECT_NE (e->dispatcher, nullptr);
    EXPECT_NE (e->processDoubleReplacing, nullptr);

    for (size_t i = offsetof (AEffect, future); i < sizeof (AEffect); ++i)
        EXPECT_EQ (bytes[i], 0) << i;

    EXPECT_EQ (effect.getSampleRate(), 44100.0f);
    EXPECT_EQ (effect.getBlockSize(), 1024);
}

TEST (AudioEffectRecord, FlagSettersChangeOnlyTheirOwnBit)
{
    const std::pair<std::function<void (PlainEffect&, bool)>, int32_t> setters[] = {
        { [] (PlainEffect& e, bool s) { e.canProcessReplacing (s); }, 0x10 },
        { [] (PlainEffect& e, bool s) { e.canDoubleReplacing (s); }, 0x1000 },
        { [] (PlainEffect& e, bool s) { e.programsAreChunks (s); }, 0x20 },
        { [] (PlainEffect& e, bool s) { e.__hasVuDeprecated (s); }, 0x4 },
        { [] (PlainEffect& e, bool s) { e.__hasClipDeprecated (s); }, 0x2 },
        { [] (PlainEffect& e, bool s) { e.__canMonoDeprecated (s); }, 0x8 },
        { [] (PlainEffect& e, bool s) { e.isSynth (s); }, 0x100 },
        { [] (PlainEffect& e, bool s) { e.noTail (s); }, 0x200 },
        { [] (PlainEffect& e, bool s) { e.__wantAsyncOperationDeprecated (s); }, 0x400 },
        { [] (PlainEffect& e, bool s) { e.__hasExternalBufferDeprecated (s); }, 0x800 },
    };

    for (const auto& [set, bit] : setters)
    {
        PlainEffect effect;
        auto& flags = effect.getAeffect()->flags;
        flags = 0x7fffffff & ~bit;

        set (effect, true);
        EXPECT_EQ (flags, 0x7fffffff) << bit;
        set (effect, false);
        EXPECT_EQ (flags, 0x7fffffff & ~bit) << bit;
    }
}

TEST (AudioEffectRecord, FieldSettersWriteTheirFields)
{
    PlainEffect effect;
    const auto* e = effect.getAeffect();

    effect.setUniqueID (fourCharCode ("Vqr7"));
    effect.setNumInputs (2);
    effect.setNumOutputs (6);
    effect.setInitialDelay (128);
    effect.__setRealtimeQualitiesDeprecated (3);
    effect.__setOfflineQualitiesDeprecated (4);
    effect.__setBlockSizeAndSampleRateDeprecated (64, 96000.0f);

    EXPECT_EQ (e->uniqueId, 0x56717237);
    EXPECT_EQ (e->numInputs, 2);
    EXPECT_EQ (e->numOutputs, 6);
    EXPECT_EQ (e->initialDelay, 128);
    EXPECT_EQ (e->realtimeQualities, 3);
    EXPECT_EQ (e->offlineQualities, 4);
    EXPECT_EQ (effect.getBlockSize(), 64);
    EXPECT_EQ (effect.getSampleRate(), 96000.0f);
}

TEST (AudioEffectDefaults, AnswerNotSupportedAndWriteEmptyTexts)
{
    PlainEffect effect;
    auto* e = effect.getAeffect();
    char text[8] = "xxxxxxx";

    for (int opcode : { effectGetProgramName, effectGetParameterLabel, effectGetParameterDisplay, effectGetParameterName })
    {
        text[0] = 'x';
        dispatch (e, opcode, 0, 0, text, 0.0f);
        EXPECT_EQ (text[0], 0) << opcode;
    }

    dispatch (e, effectSetProgram, 0, 5, nullptr, 0.0f);
    EXPECT_EQ (dispatch (e, effectGetProgram, 0, 0, nullptr, 0.0f), 5);
    EXPECT_EQ (dispatch (e, effectGetVstVersion, 0, 0, nullptr, 0.0f), 2400);
    EXPECT_EQ (dispatch (e, effectSetTotalSampleToProcess, 0, 512, nullptr, 0.0f), 512);
    EXPECT_EQ (dispatch (e, effectGetCurrentMidiProgram, 0, 0, nullptr, 0.0f), -1);
    EXPECT_EQ (dispatch (e, effectCanBeAutomated, 3, 0, nullptr, 0.0f), 1);
    EXPECT_EQ (dispatch (e, effectGetPlugCategory, 0, 0, nullptr, 0.0f), 0);
    effect.isSynth (true);
    EXPECT_EQ (dispatch (e, effectGetPlugCategory, 0, 0, nullptr, 0.0f), 2);
    EXPECT_EQ (effect.__getNumCategoriesDeprecated(), 1);
    EXPECT_EQ (effect.getParameter (0), 0.0f);

    VstSpeakerArrangement arrangement {};
    VstSpeakerArrangement* in = &arrangement;
    VstSpeakerArrangement* out = &arrangement;
    EXPECT_EQ (dispatch (e, effectGetSpeakerArrangement, 0, (long long) (intptr_t) &in, &out, 0.0f), 0);
    EXPECT_EQ (in, nullptr);
    EXPECT_EQ (out, nullptr);

    for (int opcode : { effectGetEffectName, effectGetVendorString, effectGetProductString, effectSetBypass, effectStringToParameter })
        EXPECT_EQ (dispatch (e, opcode, 0, 1, hostBuffer, 0.0f), 0) << opcode;

    void* chunk = nullptr;
    EXPECT_EQ (dispatch (e, effectGetChunk, 0, 0, &chunk, 0.0f), 0);
    EXPECT_EQ (dispatch (e, effectSetChunk, 0, 8, hostBuffer, 0.0f), 0);
}

//==============================================================================
/** What the recording host saw, and what it answers. */
struct HostLog
{
    struct Call
    {
        AEffect* effect;
        int opcode, index;
        long long value;
        void* ptr;
        float opt;
    };

    std::vector<Call> calls;
    long long reply = 0;
    std::vector<std::string> questions;  // texts asked through canDo-style calls
};

HostLog hostLog;

long long recordingHost (AEffect* e, int32_t opcode, int32_t index, long long value, void* ptr, float opt)
{
    hostLog.calls.push_back ({ e, opcode, index, value, ptr, opt });
    return hostLog.reply;
}

struct HostCallCase
{
    const char* name;
    std::function<long long (PlainEffect&)> call;
    int opcode, index;
    long long value;
    const void* ptr;
    float opt;
    long long reply;
    long long resultWithHost, resultWithoutHost;
};

long long asPointer (const void* p)  { return (long long) (intptr_t) p; }

const long long replyPointer = asPointer (hostBuffer);
VstFileSelect* const fileSelect = reinterpret_cast<VstFileSelect*> (marker);
VstOfflineTask* const offlineTask = reinterpret_cast<VstOfflineTask*> (marker);
VstAudioFile* const audioFile = reinterpret_cast<VstAudioFile*> (marker);

// clang-format off
const HostCallCase hostCallCases[] =
{
    { "getMasterVersion",    [] (PlainEffect& e) { return (long long) e.getMasterVersion(); },      1, 0, 0, nullptr, 0, 2400, 2400, 1 },
    { "getMasterVersion 0",  [] (PlainEffect& e) { return (long long) e.getMasterVersion(); },      1, 0, 0, nullptr, 0, 0, 1, 1 },
    { "getMasterVersion low",[] (PlainEffect& e) { return (long long) e.getMasterVersion(); },      1, 0, 0, nullptr, 0, 1LL << 32, 1, 1 },
    { "getCurrentUniqueId",  [] (PlainEffect& e) { return (long long) e.getCurrentUniqueId(); },    2, 0, 0, nullptr, 0, 77, 77, 0 },
    { "masterIdle",          [] (PlainEffect& e) { e.masterIdle(); return 0LL; },                   3, 0, 0, nullptr, 0, 5, 0, 0 },
    { "inputConnected",      [] (PlainEffect& e) { return (long long) e.__isInputConnectedDeprecated (3); },  4, 3, 0, nullptr, 0, 0, 1, 1 },
    { "inputConnected no",   [] (PlainEffect& e) { return (long long) e.__isInputConnectedDeprecated (3); },  4, 3, 0, nullptr, 0, 1, 0, 1 },
    { "inputConnected high", [] (PlainEffect& e) { return (long long) e.__isInputConnectedDeprecated (3); },  4, 3, 0, nullptr, 0, 1LL << 32, 1, 1 },
    { "outputConnected",     [] (PlainEffect& e) { return (long long) e.__isOutputConnectedDeprecated (2); }, 4, 2, 1, nullptr, 0, 1, 0, 1 },
    { "wantEvents",          [] (PlainEffect& e) { e.__wantEventsDeprecated (1); return 0LL; },     6, 0, 1, nullptr, 0, 9, 0, 0 },
    { "getTimeInfo",         [] (PlainEffect& e) { return asPointer (e.getTimeInfo (0x400)); },     7, 0, 0x400, nullptr, 0, replyPointer, replyPointer, 0 },
    { "tempoAt",             [] (PlainEffect& e) { return (long long) e.__tempoAtDeprecated (96); }, 10, 0, 96, nullptr, 0, 1200000, 1200000, 0 },
    { "numAutomatable",      [] (PlainEffect& e) { return (long long) e.__getNumAutomatableParametersDeprecated(); }, 11, 0, 0, nullptr, 0, 9, 9, 0 },
    { "quantization",        [] (PlainEffect& e) { return (long long) e.__getParameterQuantizationDeprecated(); }, 12, 0, 0, nullptr, 0, 3, 3, 0 },
    { "ioChanged",           [] (PlainEffect& e) { return (long long) e.ioChanged(); },             13, 0, 0, nullptr, 0, 1LL << 33, 1, 0 },
    { "needIdle",            [] (PlainEffect& e) { return (long long) e.__needIdleDeprecated(); },  14, 0, 0, nullptr, 0, 1, 1, 0 },
    { "sizeWindow",          [] (PlainEffect& e) { return (long long) e.sizeWindow (325, 454); },   15, 325, 454, nullptr, 0, 1, 1, 0 },
    { "updateSampleRate",    [] (PlainEffect& e) { return (long long) e.updateSampleRate(); },      16, 0, 0, nullptr, 0, 48000, 48000, 44100 },
    { "updateSampleRate 0",  [] (PlainEffect& e) { return (long long) e.updateSampleRate(); },      16, 0, 0, nullptr, 0, 0, 44100, 44100 },
    { "updateSampleRate <0", [] (PlainEffect& e) { return (long long) e.updateSampleRate(); },      16, 0, 0, nullptr, 0, -96000, 44100, 44100 },
    { "updateBlockSize",     [] (PlainEffect& e) { return (long long) e.updateBlockSize(); },       17, 0, 0, nullptr, 0, 256, 256, 1024 },
    { "updateBlockSize <0",  [] (PlainEffect& e) { return (long long) e.updateBlockSize(); },       17, 0, 0, nullptr, 0, 0xFFFFFFFFLL, 1024, 1024 },
    { "inputLatency",        [] (PlainEffect& e) { return (long long) e.getInputLatency(); },       18, 0, 0, nullptr, 0, 64, 64, 0 },
    { "outputLatency",       [] (PlainEffect& e) { return (long long) e.getOutputLatency(); },      19, 0, 0, nullptr, 0, 32, 32, 0 },
    { "previousPlug",        [] (PlainEffect& e) { return asPointer (e.__getPreviousPlugDeprecated (5)); }, 20, 0, 0, nullptr, 0, replyPointer, replyPointer, 0 },
    { "nextPlug",            [] (PlainEffect& e) { return asPointer (e.__getNextPlugDeprecated (5)); },     21, 0, 0, nullptr, 0, replyPointer, replyPointer, 0 },
    { "willReplace",         [] (PlainEffect& e) { return (long long) e.__willProcessReplacingDeprecated(); }, 22, 0, 0, nullptr, 0, 1, 1, 0 },
    { "processLevel",        [] (PlainEffect& e) { return (long long) e.getCurrentProcessLevel(); }, 23, 0, 0, nullptr, 0, 2, 2, 0 },
    { "automationState",     [] (PlainEffect& e) { return (long long) e.getAutomationState(); },    24, 0, 0, nullptr, 0, 3, 3, 0 },
    { "offlineStart",        [] (PlainEffect& e) { return (long long) e.offlineStart (audioFile, 4, 2); }, 25, 2, 4, marker, 0, 1, 1, 0 },
    { "offlineRead",         [] (PlainEffect& e) { return (long long) e.offlineRead (offlineTask, VstOfflineOption (3), true); }, 26, 1, 3, marker, 0, 1, 1, 0 },
    { "offlineWrite",        [] (PlainEffect& e) { return (long long) e.offlineWrite (offlineTask, VstOfflineOption (2)); }, 27, 0, 2, marker, 0, 1, 1, 0 },
    { "currentPass",         [] (PlainEffect& e) { return (long long) e.offlineGetCurrentPass(); }, 28, 0, 0, nullptr, 0, 5, 1, 0 },
    { "currentMetaPass",     [] (PlainEffect& e) { return (long long) e.offlineGetCurrentMetaPass(); }, 29, 0, 0, nullptr, 0, 5, 1, 0 },
    { "setOutputRate",       [] (PlainEffect& e) { e.__setOutputSamplerateDeprecated (22050.0f); return 0LL; }, 30, 0, 0, nullptr, 22050.0f, 1, 0, 0 },
    { "outputArrangement",   [] (PlainEffect& e) { return asPointer (e.__getOutputSpeakerArrangementDeprecated()); }, 31, 0, 0, nullptr, 0, replyPointer, replyPointer, 0 },
    { "hostVendorString",    [] (PlainEffect& e) { return (long long) e.getHostVendorString (hostBuffer); }, 32, 0, 0, marker, 0, 1, 1, 0 },
    { "hostProductString",   [] (PlainEffect& e) { return (long long) e.getHostProductString (hostBuffer); }, 33, 0, 0, marker, 0, 0, 0, 0 },
    { "hostVendorVersion",   [] (PlainEffect& e) { return (long long) e.getHostVendorVersion(); },  34, 0, 0, nullptr, 0, 8000, 8000, 0 },
    { "hostVendorSpecific",  [] (PlainEffect& e) { return e.hostVendorSpecific (7, 1LL << 40, hostBuffer, 0.5f); }, 35, 7, 1LL << 40, marker, 0.5f, 1LL << 50, 1LL << 50, 0 },
    { "canHostDo",           [] (PlainEffect& e) { return (long long) e.canHostDo (hostBuffer); },  37, 0, 0, marker, 0, -1, 1, 0 },
    { "hostLanguage",        [] (PlainEffect& e) { return (long long) e.getHostLanguage(); },       38, 0, 0, nullptr, 0, 1, 1, 0 },
    { "openWindow",          [] (PlainEffect& e) { return asPointer (e.__openWindowDeprecated (hostBuffer)); }, 39, 0, 0, marker, 0, replyPointer, replyPointer, 0 },
    { "closeWindow",         [] (PlainEffect& e) { return (long long) e.__closeWindowDeprecated (hostBuffer); }, 40, 0, 0, marker, 0, 1, 1, 0 },
    { "getDirectory",        [] (PlainEffect& e) { return asPointer (e.getDirectory()); },          41, 0, 0, nullptr, 0, replyPointer, replyPointer, 0 },
    { "updateDisplay",       [] (PlainEffect& e) { return (long long) e.updateDisplay(); },         42, 0, 0, nullptr, 0, 1, 1, 0 },
    { "beginEdit",           [] (PlainEffect& e) { return (long long) e.beginEdit (4); },           43, 4, 0, nullptr, 0, 1, 1, 0 },
    { "endEdit",             [] (PlainEffect& e) { return (long long) e.endEdit (4); },             44, 4, 0, nullptr, 0, 1, 1, 0 },
    { "openFileSelector",    [] (PlainEffect& e) { return (long long) e.openFileSelector (fileSelect); },  45, 0, 0, marker, 0, 1, 1, 0 },
    { "closeFileSelector",   [] (PlainEffect& e) { return (long long) e.closeFileSelector (fileSelect); }, 46, 0, 0, marker, 0, 1, 1, 0 },
    { "getChunkFile",        [] (PlainEffect& e) { return (long long) e.__getChunkFileDeprecated (hostBuffer); }, 48, 0, 0, marker, 0, 1, 1, 0 },
    { "inputArrangement",    [] (PlainEffect& e) { return asPointer (e.__getInputSpeakerArrangementDeprecated()); }, 49, 0, 0, nullptr, 0, replyPointer, replyPointer, 0 },
};
// clang-format on

TEST (AudioEffectHostCalls, EveryCallReachesTheHostWithItsArgumentsAndTakesItsReply)
{
    for (const auto& c : hostCallCases)
    {
        SCOPED_TRACE (c.name);
        PlainEffect effect (recordingHost);
        hostLog = {};
        hostLog.reply = c.reply;

        EXPECT_EQ (c.call (effect), c.resultWithHost);
        ASSERT_EQ (hostLog.calls.size(), 1u);

        const auto& call = hostLog.calls.front();
        EXPECT_EQ (call.effect, effect.getAeffect());
        EXPECT_EQ (call.opcode, c.opcode);
        EXPECT_EQ (call.index, c.index);
        EXPECT_EQ (call.value, c.value);
        EXPECT_EQ (call.ptr, c.ptr);
        EXPECT_EQ (call.opt, c.opt);
    }
}

TEST (AudioEffectHostCalls, WithoutAHostEveryCallAnswersItsOwnDefault)
{
    for (const auto& c : hostCallCases)
    {
        PlainEffect effect;
        EXPECT_EQ (c.call (effect), c.resultWithoutHost) << c.name;
    }
}

TEST (AudioEffectHostCalls, FileSelectorsWithoutARecordNeverAskTheHost)
{
    PlainEffect effect (recordingHost);
    hostLog = {};
    hostLog.reply = 1;

    EXPECT_FALSE (effect.openFileSelector (nullptr));
    EXPECT_FALSE (effect.closeFileSelector (nullptr));
    EXPECT_FALSE (effect.__getChunkFileDeprecated (nullptr));
    EXPECT_TRUE (hostLog.calls.empty());
}

TEST (AudioEffectHostCalls, AutomationSetsTheParameterThenTellsTheHost)
{
    RecordingEffect effect (recordingHost);
    hostLog = {};

    effect.setParameterAutomated (6, 0.75f);

    EXPECT_EQ (effect.calls, std::vector<std::string> { "setParameter(6,0.75)" });
    ASSERT_EQ (hostLog.calls.size(), 1u);
    EXPECT_EQ (hostLog.calls[0].opcode, 0);
    EXPECT_EQ (hostLog.calls[0].index, 6);
    EXPECT_EQ (hostLog.calls[0].value, 0);
    EXPECT_EQ (hostLog.calls[0].ptr, nullptr);
    EXPECT_EQ (hostLog.calls[0].opt, 0.75f);

    RecordingEffect alone;
    alone.setParameterAutomated (1, 0.5f);
    EXPECT_EQ (alone.calls, std::vector<std::string> { "setParameter(1,0.5)" });
}

/** An effect that answers the MIDI question as told. */
struct MidiEffect : PlainEffect
{
    explicit MidiEffect (int answer) : PlainEffect (recordingHost), canReceive (answer) {}
    int canDo (char* text) override  { hostLog.questions.push_back (text); return canReceive; }
    int canReceive;
};

TEST (AudioEffectHostCalls, ResumeAsksForMidiOnlyForSynthsAndEffectsThatReceiveIt)
{
    const struct { bool synth; int answer; bool asksHost; std::vector<std::string> questions; } cases[] = {
        { false, 0, false, { "receiveVstMidiEvent" } },
        { false, 1, true, { "receiveVstMidiEvent" } },
        { false, 2, false, { "receiveVstMidiEvent" } },
        { true, 0, true, {} },
    };

    for (const auto& c : cases)
    {
        MidiEffect effect (c.answer);
        effect.isSynth (c.synth);
        hostLog = {};

        dispatch (effect.getAeffect(), effectSuspendResume, 0, 1, nullptr, 0.0f);

        EXPECT_EQ (hostLog.questions, c.questions);
        ASSERT_EQ (hostLog.calls.size(), c.asksHost ? 1u : 0u);

        if (c.asksHost)
        {
            EXPECT_EQ (hostLog.calls[0].opcode, 6);
            EXPECT_EQ (hostLog.calls[0].value, 1);
        }
    }
}

//==============================================================================
struct TextCase
{
    const char* helper;
    double value;  // exact for every int2string figure
    int maxLen;
    const char* expected;
};

// clang-format off
const TextCase textCases[] =
{
    { "float", 0.5, 8, "0.500000" },
    { "float", 1234.5, 8, "1234.500" },
    { "float", -0.5, 8, "-0.50000" },
    { "float", 0.0, 8, "0.000000" },
    { "float", 1234567.0, 8, "1234567." },
    { "float", 12345678.0, 8, "12345678" },
    { "float", -9999999.0, 8, "-9999999" },
    { "float", 100000000.0, 8, "Huge!" },
    { "float", -10000000.0, 8, "Huge!" },
    { "float", 0.5, 3, "0.5" },
    { "float", 0.5, 0, "" },
    { "int", 99999999.0, 10, "99999999" },
    { "int", 100000000.0, 10, "Huge!" },
    { "int", -123.0, 10, "-123" },
    { "int", 1002.0, 10, "1002" },
    { "int", 0.0, 10, "" },
    { "int", -999999999.0, 10, "-999999999" },
    { "int", -2147483648.0, 10, "Huge!" },
    { "int", 12345.0, 2, "12" },
    { "dB", 1.0, 8, "0.000000" },
    { "dB", 10.0, 8, "20.00000" },
    { "dB", 0.0, 8, "-oo" },
    { "dB", -1.0, 8, "-oo" },
    { "dB", 0.0, 3, "-oo" },
    { "Hz", 0.0, 8, "0.000000" },
    { "Hz", 100.0, 8, "441.0000" },
    { "ms", 441.0, 8, "10.00000" },
    { "ms", 0.0, 8, "0.000000" },
};
// clang-format on

void runHelper (PlainEffect& effect, const TextCase& c, char* text)
{
    const std::string helper = c.helper;

    const auto value = static_cast<float> (c.value);

    if (helper == "float")     effect.float2string (value, text, c.maxLen);
    else if (helper == "int")  effect.int2string (static_cast<int> (c.value), text, c.maxLen);
    else if (helper == "dB")   effect.dB2string (value, text, c.maxLen);
    else if (helper == "Hz")   effect.Hz2string (value, text, c.maxLen);
    else                       effect.ms2string (value, text, c.maxLen);
}

TEST (AudioEffectTextHelpers, FormatTheirFiguresAndTerminateAtMaxLen)
{
    PlainEffect effect;

    for (const auto& c : textCases)
    {
        SCOPED_TRACE (std::string (c.helper) + " " + std::to_string (c.value) + " maxLen " + std::to_string (c.maxLen));
        char text[16];
        std::memset (text, 'x', sizeof (text));

        runHelper (effect, c, text);

        EXPECT_STREQ (text, c.expected);
        EXPECT_EQ (text[c.maxLen], 0);
        EXPECT_EQ (text[c.maxLen + 1], 'x');  // never past maxLen + 1 bytes
    }
}

TEST (AudioEffectTextHelpers, NegativeLengthsAndNullTextsWriteNothing)
{
    PlainEffect effect;
    char text[4] = "abc";

    for (const auto& c : textCases)
    {
        runHelper (effect, { c.helper, c.value, -1, "" }, text);
        runHelper (effect, { c.helper, c.value, 8, "" }, nullptr);
    }

    EXPECT_STREQ (text, "abc");
}

//==============================================================================
TEST (AudioEffectArrangements, AllocateCopyAndFree)
{
    PlainEffect effect;
    VstSpeakerArrangement* source = nullptr;

    ASSERT_TRUE (effect.allocateArrangement (&source, 3));
    EXPECT_EQ (source->numChannels, 3);
    source->type = 5;

    for (int ch = 0; ch < 3; ++ch)
    {
        auto* speaker = speakerAt (*source, ch);
        EXPECT_EQ (speaker->type, 0);
        speaker->azimuth = (float) ch;
        speaker->type = 10 + ch;
        std::memset (speaker->name, 'a' + ch, sizeof (speaker->name));  // unterminated
        speaker->future[27] = 'z';
    }

    VstSpeakerArrangement* copy = nullptr;
    ASSERT_TRUE (effect.matchArrangement (&copy, source));
    EXPECT_EQ (copy->type, 5);
    EXPECT_EQ (copy->numChannels, 3);

    for (int ch = 0; ch < 3; ++ch)
    {
        const auto* speaker = speakerAt (*copy, ch);
        EXPECT_EQ (speaker->azimuth, (float) ch);
        EXPECT_EQ (speaker->type, 10 + ch);
        EXPECT_EQ (std::string (speaker->name), std::string (63, (char) ('a' + ch)));
        EXPECT_EQ (speaker->future[27], 'z');
    }

    EXPECT_FALSE (effect.matchArrangement (&copy, nullptr));
    EXPECT_FALSE (effect.copySpeaker (nullptr, speakerAt (*source, 0)));
    EXPECT_FALSE (effect.allocateArrangement (&copy, -1));

    ASSERT_TRUE (effect.allocateArrangement (&copy, 0));  // frees the three-speaker block first
    EXPECT_EQ (copy->numChannels, 0);

    EXPECT_TRUE (effect.deallocateArrangement (&copy));
    EXPECT_EQ (copy, nullptr);
    EXPECT_TRUE (effect.deallocateArrangement (&source));
    EXPECT_TRUE (effect.deallocateArrangement (&source));
}

//==============================================================================
TEST (AudioEffectHostText, WritesTheTextAndTerminatorOnlyCutAtACharacter)
{
    // clang-format off
    const struct { const char* text; int bufferSize; const char* written; } cases[] = {
        { "mix", 32, "mix" },
        { "mix", 4, "mix" },
        { "mix", 3, "mi" },
        { "", 8, "" },
        { nullptr, 8, "" },
        { "abcdefgh", 8, "abcdefg" },
        { "ab\xC3\x84", 4, "ab" },                  // two-byte character cut after its lead byte
        { "ab\xC3\x84", 5, "ab\xC3\x84" },
        { "a\xE2\x82\xAC", 4, "a" },                // three-byte character cut after two bytes
        { "a\xE2\x82\xAC", 3, "a" },
        { "\xF0\x9F\x8E\xB8x", 4, "" },              // four-byte character that cannot fit
        { "\xF0\x9F\x8E\xB8x", 5, "\xF0\x9F\x8E\xB8" },
        { "abc", 1, "" },
    };
    // clang-format on

    for (const auto& c : cases)
    {
        SCOPED_TRACE (std::string (c.text == nullptr ? "(null)" : c.text) + " into " + std::to_string (c.bufferSize));
        char buffer[40];
        std::memset (buffer, 'x', sizeof (buffer));

        copyToHostBuffer (c.text, buffer, c.bufferSize);

        const auto length = std::strlen (c.written);
        EXPECT_EQ (std::string (buffer, length), c.written);
        EXPECT_EQ (buffer[length], 0);
        EXPECT_EQ (std::string (buffer + length + 1, sizeof (buffer) - length - 1),
                   std::string (sizeof (buffer) - length - 1, 'x')) << "written past the terminator";
    }

    char untouched[4] = "abc";
    copyToHostBuffer ("x", untouched, 0);
    copyToHostBuffer ("x", nullptr, 8);
    EXPECT_STREQ (untouched, "abc");
}

//==============================================================================
/** An effect whose every operation the entries reach throws. */
struct ThrowingEffect : AudioEffectX
{
    explicit ThrowingEffect (bool* destroyedFlag = nullptr) : AudioEffectX (nullptr, 12, 9), destroyed (destroyedFlag) {}
    ~ThrowingEffect() override  { if (destroyed != nullptr) *destroyed = true; }

    long long dispatcher (int, int, long long, void*, float) override   { throw std::bad_alloc(); }
    void processReplacing (float**, float**, int) override              { throw std::runtime_error ("block"); }
    void processDoubleReplacing (double**, double**, int) override      { throw 7; }
    void __processDeprecated (float**, float**, int) override           { throw std::bad_alloc(); }
    void setParameter (int, float) override                             { throw std::bad_alloc(); }
    float getParameter (int) override                                   { throw std::bad_alloc(); }

    bool* destroyed;
};

TEST (AudioEffectEntries, NoExceptionReachesTheHost)
{
    ThrowingEffect effect;
    auto* e = effect.getAeffect();

    for (int opcode : { 0, 12, 23, 51, 49, 1000 })  // open, resume, chunk, can-do, version, unknown
        EXPECT_EQ (e->dispatcher (e, opcode, 0, 1, marker, 0.0f), 0) << opcode;

    EXPECT_NO_THROW (e->setParameter (e, 0, 0.5f));
    EXPECT_EQ (e->getParameter (e, 0), 0.0f);

    // A block that throws leaves silence in the outputs the record announces.
    float left[16], right[16];
    double leftDouble[16], rightDouble[16];
    float* outputs[] = { left, right };
    double* doubleOutputs[] = { leftDouble, rightDouble };

    std::fill (std::begin (left), std::end (left), 1.0f);
    std::fill (std::begin (right), std::end (right), 1.0f);
    e->processReplacing (e, outputs, outputs, 16);
    EXPECT_TRUE (std::all_of (std::begin (left), std::end (left), [] (float s) { return s == 0.0f; }));
    EXPECT_TRUE (std::all_of (std::begin (right), std::end (right), [] (float s) { return s == 0.0f; }));

    std::fill (std::begin (rightDouble), std::end (rightDouble), 1.0);
    e->processDoubleReplacing (e, doubleOutputs, doubleOutputs, 16);
    EXPECT_TRUE (std::all_of (std::begin (rightDouble), std::end (rightDouble), [] (double s) { return s == 0.0; }));

    EXPECT_NO_THROW (e->processAccumulating (e, outputs, outputs, 16));
    EXPECT_NO_THROW (e->processReplacing (e, nullptr, nullptr, 16));
}

TEST (AudioEffectEntries, CloseDeletesTheEffectEvenWhenItThrows)
{
    bool destroyed = false;
    auto* effect = new ThrowingEffect (&destroyed);
    auto* e = effect->getAeffect();

    EXPECT_EQ (e->dispatcher (e, effectClose, 0, 0, nullptr, 0.0f), 1);
    EXPECT_TRUE (destroyed);
}
}
