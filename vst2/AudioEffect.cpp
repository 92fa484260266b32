#include "AudioEffect.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace
{
    AudioEffect* objectOf (AEffect* e) noexcept
    {
        return static_cast<AudioEffect*> (e->object);
    }

    /** Writes text the way every number helper hands it over: at most maxLen
        characters, zero-filled up to and including text[maxLen]. */
    void writeHelperText (const char* formatted, char* text, int maxLen) noexcept
    {
        if (text == nullptr || maxLen < 0 || maxLen == INT_MAX)
            return;

        copyToHostBuffer (formatted, text, maxLen + 1);
        const auto length = std::strlen (text);
        std::memset (text + length, 0, static_cast<size_t> (maxLen) + 1 - length);
    }

    bool isContinuationByte (char c) noexcept
    {
        return (static_cast<unsigned char> (c) & 0xC0) == 0x80;
    }

    /** Silences the outputs of a block the effect failed to produce. */
    template <typename Sample>
    void clearChannels (const AEffect& e, Sample** outputs, int32_t sampleFrames) noexcept
    {
        if (outputs == nullptr || sampleFrames <= 0)
            return;

        for (int32_t ch = 0; ch < e.numOutputs; ++ch)
            if (outputs[ch] != nullptr)
                std::fill (outputs[ch], outputs[ch] + sampleFrames, Sample {});
    }

    void writeEmptyText (char* text) noexcept
    {
        if (text != nullptr)
            *text = 0;
    }
}

void copyToHostBuffer (const char* text, char* buffer, int bufferSize) noexcept
{
    if (buffer == nullptr || bufferSize <= 0)
        return;

    if (text == nullptr)
        text = "";

    auto length = strnlen (text, static_cast<size_t> (bufferSize - 1));

    // A cut inside a multi-byte character drops the whole character, so the
    // host never sees half of one.
    while (length > 0 && isContinuationByte (text[length]))
        --length;

    std::memcpy (buffer, text, length);
    buffer[length] = 0;
}

//==============================================================================
AudioEffect::AudioEffect (HostCallback host, int programs, int params)
    : hostCallback (host), numPrograms (programs), numParams (params)
{
    std::memset (&effectRecord, 0, sizeof (effectRecord));
    effectRecord.magic = effectMagic;
    effectRecord.dispatcher = dispatchEffectClass;
    effectRecord.processAccumulating = __processClassDeprecated;
    effectRecord.setParameter = setParameterClass;
    effectRecord.getParameter = getParameterClass;
    effectRecord.numPrograms = programs;
    effectRecord.numParameters = params;
    effectRecord.numInputs = 1;
    effectRecord.numOutputs = 2;
    effectRecord.flags = canReplacingFlag;
    effectRecord.ioRatio = 1.0f;
    effectRecord.object = this;
    effectRecord.uniqueId = defaultUniqueId;
    effectRecord.version = 1;
    effectRecord.processReplacing = processClassReplacing;
    effectRecord.processDoubleReplacing = processClassDoubleReplacing;
}

AudioEffect::~AudioEffect()
{
    delete editorObject;
}

//==============================================================================
// No exception may reach the host, which is C and would abort: every entry
// catches what the effect throws and answers as if it had refused the call.
long long AudioEffect::dispatchEffectClass (AEffect* e, int32_t opcode, int32_t index, long long value, void* ptr, float opt)
{
    auto* effect = objectOf (e);
    long long result = 0;

    try
    {
        result = effect->dispatcher (opcode, index, value, ptr, opt);
    }
    catch (...)
    {
    }

    if (opcode != effectClose)
        return result;

    delete effect;
    return 1;
}

float AudioEffect::getParameterClass (AEffect* e, int32_t index)
{
    try
    {
        return objectOf (e)->getParameter (index);
    }
    catch (...)
    {
        return 0.0f;
    }
}

void AudioEffect::setParameterClass (AEffect* e, int32_t index, float value)
{
    try
    {
        objectOf (e)->setParameter (index, value);
    }
    catch (...)
    {
    }
}

void AudioEffect::__processClassDeprecated (AEffect* e, float** inputs, float** outputs, int32_t sampleFrames)
{
    try
    {
        objectOf (e)->__processDeprecated (inputs, outputs, sampleFrames);
    }
    catch (...)
    {
    }
}

void AudioEffect::processClassReplacing (AEffect* e, float** inputs, float** outputs, int32_t sampleFrames)
{
    try
    {
        objectOf (e)->processReplacing (inputs, outputs, sampleFrames);
    }
    catch (...)
    {
        clearChannels (*e, outputs, sampleFrames);
    }
}

void AudioEffect::processClassDoubleReplacing (AEffect* e, double** inputs, double** outputs, int32_t sampleFrames)
{
    try
    {
        objectOf (e)->processDoubleReplacing (inputs, outputs, sampleFrames);
    }
    catch (...)
    {
        clearChannels (*e, outputs, sampleFrames);
    }
}

//==============================================================================
long long AudioEffect::dispatcher (int opcode, int index, long long value, void* ptr, float opt)
{
    auto* text = static_cast<char*> (ptr);

    // A host that hands over no buffer gets no answer rather than a crash.
    switch (opcode)
    {
        case effectOpen:                open(); return 0;
        case effectClose:               close(); return 0;
        case effectSetProgram:
            if (value >= 0 && value < numPrograms)
                setProgram (static_cast<int> (value));
            return 0;
        case effectGetProgram:          return getProgram();
        case effectSetProgramName:      if (text != nullptr) setProgramName (text); return 0;
        case effectGetProgramName:      if (text != nullptr) getProgramName (text); return 0;
        case effectGetParameterLabel:   if (text != nullptr) getParameterLabel (index, text); return 0;
        case effectGetParameterDisplay: if (text != nullptr) getParameterDisplay (index, text); return 0;
        case effectGetParameterName:    if (text != nullptr) getParameterName (index, text); return 0;
        case effectSetSampleRate:       setSampleRate (opt); return 0;
        case effectSetBlockSize:        setBlockSize (static_cast<int> (value)); return 0;
        case effectSuspendResume:
            if (value == 0)
                suspend();
            else
                resume();
            return 0;
        case effectEditorGetRect:
        case effectEditorOpen:
        case effectEditorClose:
        case effectEditorIdle:          return dispatchEditor (opcode, index, value, ptr, opt);
        case effectIdentify:            return identifyReply;
        case effectGetChunk:            return ptr == nullptr ? 0 : getChunk (static_cast<void**> (ptr), index != 0);
        case effectSetChunk:
            if (ptr == nullptr || value < 0 || value > INT_MAX)
                return 0;
            return setChunk (ptr, static_cast<int> (value), index != 0);
        default:                        return 0;
    }
}

long long AudioEffect::dispatchEditor (int opcode, int index, long long value, void* ptr, float opt)
{
    if (editorObject == nullptr)
        return 0;

    const auto key = [&] { return EffectEditor::Key { index, static_cast<unsigned char> (value),
                                                      static_cast<unsigned char> (static_cast<int> (opt)) }; };

    switch (opcode)
    {
        case effectEditorGetRect:  return ptr != nullptr && editorObject->getRect (static_cast<EditorRect**> (ptr));
        case effectEditorOpen:     return editorObject->open (ptr);
        case effectEditorClose:    editorObject->close(); return 0;
        case effectEditorIdle:     editorObject->idle(); return 0;
        case effectEditorKeyDown:  return editorObject->onKeyDown (key());
        case effectEditorKeyUp:    return editorObject->onKeyUp (key());
        case effectEditorKnobMode: return editorObject->setKnobMode (static_cast<int> (value));
        default:                   return 0;
    }
}

//==============================================================================
void AudioEffect::processDoubleReplacing (double**, double**, int) {}
void AudioEffect::setParameter (int, float) {}
float AudioEffect::getParameter (int)                    { return 0.0f; }
void AudioEffect::setProgramName (char*) {}
void AudioEffect::getProgramName (char* name)            { writeEmptyText (name); }
void AudioEffect::getParameterLabel (int, char* label)   { writeEmptyText (label); }
void AudioEffect::getParameterDisplay (int, char* text)  { writeEmptyText (text); }
void AudioEffect::getParameterName (int, char* text)     { writeEmptyText (text); }
int AudioEffect::getChunk (void**, bool)                 { return 0; }
int AudioEffect::setChunk (void*, int, bool)             { return 0; }

void AudioEffect::setFlag (int32_t flag, bool state) noexcept
{
    effectRecord.flags = state ? (effectRecord.flags | flag) : (effectRecord.flags & ~flag);
}

//==============================================================================
long long AudioEffect::callHost (int32_t opcode, int32_t index, long long value, void* ptr, float opt, long long whenMissing)
{
    return hostCallback != nullptr ? hostCallback (&effectRecord, opcode, index, value, ptr, opt) : whenMissing;
}

void AudioEffect::setParameterAutomated (int index, float value)
{
    setParameter (index, value);
    callHost (hostAutomate, index, 0, nullptr, value);
}

int AudioEffect::getMasterVersion()
{
    const auto version = static_cast<int32_t> (callHost (hostVersion, 0, 0, nullptr, 0.0f, 1));
    return version != 0 ? version : 1;
}

int AudioEffect::getCurrentUniqueId()  { return static_cast<int> (callHost (hostCurrentId)); }
void AudioEffect::masterIdle()         { callHost (hostIdle); }

bool AudioEffect::__isInputConnectedDeprecated (int input)
{
    return static_cast<int32_t> (callHost (hostPinConnected, input, 0)) == 0;
}

bool AudioEffect::__isOutputConnectedDeprecated (int output)
{
    return static_cast<int32_t> (callHost (hostPinConnected, output, 1)) == 0;
}

//==============================================================================
void AudioEffect::float2string (float value, char* text, int maxLen)
{
    constexpr int budget = 8;

    if (static_cast<double> (value) < -9999999.0 || static_cast<double> (value) > 99999999.0)
        return writeHelperText ("Huge!", text, maxLen);

    char formatted[budget + 1] {};
    int length = 0, remaining = budget;
    auto magnitude = static_cast<double> (value);

    if (magnitude < 0.0)
    {
        formatted[length++] = '-';
        magnitude = -magnitude;
        --remaining;
    }

    // Integer digits from the units upwards, then turned round; the range check
    // above leaves room for every digit of the integer part.
    char digits[budget] {};
    int numDigits = 0;

    for (auto quotient = std::floor (magnitude); numDigits == 0 || (quotient >= 1.0 && remaining > 0); quotient = std::floor (quotient / 10.0))
    {
        digits[numDigits++] = static_cast<char> ('0' + static_cast<int> (std::fmod (quotient, 10.0)));
        --remaining;
    }

    std::reverse_copy (digits, digits + numDigits, formatted + length);
    length += numDigits;

    if (remaining > 0)
    {
        formatted[length++] = '.';
        --remaining;
    }

    auto fraction = std::fmod (magnitude, 1.0) * std::pow (10.0, remaining);

    for (int position = remaining - 1; position >= 0; --position)
    {
        formatted[length + position] = fraction > 0.0 ? static_cast<char> ('0' + static_cast<int> (std::fmod (fraction, 10.0))) : '0';
        fraction /= 10.0;
    }

    writeHelperText (formatted, text, maxLen);
}

void AudioEffect::int2string (int value, char* text, int maxLen)
{
    // Magnitudes of ten digits would need a tenth digit the divisors do not cover.
    if (value >= 100000000 || value <= -1000000000)
        return writeHelperText ("Huge!", text, maxLen);

    char formatted[12] {};
    int length = 0;

    if (value < 0)
    {
        formatted[length++] = '-';
        value = -value;
    }

    bool started = false;

    for (int divisor = 100000000; divisor >= 1; divisor /= 10)
    {
        const int digit = value / divisor;
        value %= divisor;
        started = started || digit != 0;

        if (started)
            formatted[length++] = static_cast<char> ('0' + digit);
    }

    writeHelperText (formatted, text, maxLen);
}

void AudioEffect::dB2string (float value, char* text, int maxLen)
{
    if (value <= 0.0f)
        return writeHelperText ("-oo", text, maxLen);

    float2string (static_cast<float> (20.0 * std::log10 (static_cast<double> (value))), text, maxLen);
}

void AudioEffect::Hz2string (float samples, char* text, int maxLen)
{
    float2string (samples == 0.0f ? 0.0f : getSampleRate() / samples, text, maxLen);
}

void AudioEffect::ms2string (float samples, char* text, int maxLen)
{
    float2string (static_cast<float> (static_cast<double> (samples) * 1000.0 / static_cast<double> (getSampleRate())), text, maxLen);
}
