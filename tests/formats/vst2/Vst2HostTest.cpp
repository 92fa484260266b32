// Loads the built VST2 module with dlopen and drives it through its record, as
// a VST 2.4 host does.

#include "Vst2TestHost.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace
{
using namespace Vst2TestHost;

constexpr int numPrograms = 12;
constexpr int numParameters = 9;

enum Parameter { onBypass, chorusType, rate, rateSync, depth, mix, level, stereo, sync };

/** Without a display of its own, the module's JUCE would try :0, which may be
    another program's server and go away mid-run; name one that is not there. */
[[maybe_unused]] const bool displayChosen = [] { return setenv ("DISPLAY", ":65535", 0) == 0; }();

bool allFinite (const std::vector<float>& samples)
{
    for (auto s : samples)
        if (! std::isfinite (s))
            return false;

    return true;
}

/** Processes a block in each instance, on the same signal, until the two sound
    different, while the plug-in's own message thread runs its timers (the host
    sends no idle); false when that takes many seconds. */
bool processUntilTheyDiffer (Instance& a, Instance& b, int numSamples)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds (20);

    while (std::chrono::steady_clock::now() < end)
    {
        if (a.process (numSamples) != b.process (numSamples))
            return true;

        std::this_thread::sleep_for (std::chrono::milliseconds (5));
    }

    return false;
}

//==============================================================================
TEST (Vst2Module, ExportsItsEntriesAndAsksTheHostVersionFirst)
{
    ASSERT_NE (loadEntry ("VSTPluginMain"), nullptr) << dlerror();
    ASSERT_NE (loadEntry ("main"), nullptr);

    host.takeCalls();
    auto* effect = loadEntry ("VSTPluginMain") (hostCallback);
    ASSERT_NE (effect, nullptr);

    const auto calls = host.takeCalls();
    ASSERT_FALSE (calls.empty());
    EXPECT_EQ (calls.front().opcode, hostVersion);
    EXPECT_EQ (calls.front().effect, nullptr);
    effect->dispatcher (effect, effectClose, 0, 0, nullptr, 0.0f);

    host.versionReply = 0;
    EXPECT_EQ (loadEntry ("main") (hostCallback), nullptr);
    host.versionReply = 2400;
    EXPECT_EQ (loadEntry ("VSTPluginMain") (nullptr), nullptr);
}

TEST (Vst2Module, TheRecordPresentsTheChorus)
{
    Instance plugin;
    ASSERT_NE (plugin.effect, nullptr);
    const auto& e = *plugin.effect;

    EXPECT_EQ (e.magic, fourCharCode ("VstP"));
    EXPECT_EQ (e.numPrograms, numPrograms);
    EXPECT_EQ (e.numParameters, numParameters);
    EXPECT_EQ (e.numInputs, 2);
    EXPECT_EQ (e.numOutputs, 2);
    EXPECT_EQ (e.flags & (canReplacingFlag | programChunksFlag), canReplacingFlag | programChunksFlag);
    EXPECT_EQ (e.flags & (isSynthFlag | canDoubleReplacingFlag), 0);
    EXPECT_EQ (e.uniqueId, fourCharCode ("Vqr7"));
    EXPECT_EQ (e.version, 101);
    EXPECT_EQ (e.object != nullptr, true);

    EXPECT_EQ (plugin.dispatch (effectGetPlugCategory), effectCategory);
    EXPECT_EQ (plugin.dispatch (effectGetVstVersion), 2400);
    EXPECT_EQ (plugin.dispatch (effectGetVendorVersion), 101) << "version 1.0.1, as the record says";
    EXPECT_EQ (plugin.text (effectGetEffectName), "Modulix QR7150");
    EXPECT_EQ (plugin.text (effectGetProductString), "Modulix QR7150");
    EXPECT_EQ (plugin.text (effectGetVendorString), "Velora");

    char bypass[] = "bypass", midi[] = "receiveVstMidiEvent";
    EXPECT_EQ (plugin.dispatch (effectCanDo, 0, 0, bypass), 1);
    EXPECT_EQ (plugin.dispatch (effectCanDo, 0, 0, midi), -1);
}

TEST (Vst2Module, TheEditorsSizeIsKnownBeforeAWindowAndMissingPointersAreRefused)
{
    Instance plugin;
    ASSERT_NE (plugin.effect, nullptr);
    EXPECT_NE (plugin.effect->flags & hasEditorFlag, 0);

    // Hosts ask the size before they make a window.
    EditorRect* rect = nullptr;
    ASSERT_EQ (plugin.dispatch (effectEditorGetRect, 0, 0, &rect), 1);
    ASSERT_NE (rect, nullptr);
    EXPECT_EQ (rect->right - rect->left, 325);
    EXPECT_EQ (rect->bottom - rect->top, 454);

    EXPECT_EQ (plugin.dispatch (effectEditorGetRect), 0);
    EXPECT_EQ (plugin.dispatch (effectEditorOpen), 0) << "no window to open in";

    // Idle and closing with no window open are harmless.
    plugin.dispatch (effectEditorIdle);
    plugin.dispatch (effectEditorClose);
}

TEST (Vst2Module, EveryOpcodeWithoutABufferIsAnsweredSafely)
{
    Instance plugin;
    ASSERT_NE (plugin.effect, nullptr);

    for (int opcode = 0; opcode < 100; ++opcode)
        if (opcode != effectClose)
            plugin.dispatch (opcode, 0, 0, nullptr, 0.0f);

    plugin.effect->processReplacing (plugin.effect, nullptr, nullptr, blockSize);
    plugin.effect->processReplacing (plugin.effect, nullptr, nullptr, -1);
    EXPECT_EQ (plugin.dispatch (effectGetProgram), 0);
}

TEST (Vst2Module, ProcessingChangesASineAndTheHostsBypassPassesIt)
{
    Instance plugin;
    ASSERT_NE (plugin.effect, nullptr);
    plugin.resume();

    plugin.process (4 * blockSize);
    const auto processed = plugin.process (blockSize);
    EXPECT_TRUE (allFinite (processed));
    EXPECT_NE (processed, plugin.lastInput);

    EXPECT_EQ (plugin.dispatch (effectSetBypass, 0, 1), 1);
    const auto bypassed = plugin.process (blockSize);
    EXPECT_EQ (bypassed, plugin.lastInput);

    EXPECT_EQ (plugin.dispatch (effectSetBypass, 0, 0), 1);
    EXPECT_NE (plugin.process (blockSize), plugin.lastInput);
}

TEST (Vst2Module, InPlaceAndLongBlocksSoundAsSeparateAnnouncedBlocks)
{
    Instance separate, inPlace;
    ASSERT_NE (separate.effect, nullptr);
    ASSERT_NE (inPlace.effect, nullptr);
    separate.resume();
    inPlace.resume();

    std::vector<float> expected;

    for (int block = 0; block < 3; ++block)
    {
        const auto out = separate.process (blockSize);
        expected.insert (expected.end(), out.begin(), out.begin() + blockSize);
    }

    // One block three times as long as announced, processed in place.
    const auto out = inPlace.process (3 * blockSize, true);
    EXPECT_EQ (std::vector<float> (out.begin(), out.begin() + 3 * blockSize), expected);
}

TEST (Vst2Module, AChorusTypeChangeTakesEffectWithoutIdleCalls)
{
    Instance first, second;
    ASSERT_NE (first.effect, nullptr);
    first.resume();
    second.resume();

    second.setParameter (chorusType, 1.0f);
    EXPECT_TRUE (processUntilTheyDiffer (first, second, blockSize));

    for (const auto& call : host.takeCalls())
        EXPECT_NE (call.opcode, hostIdle);
}

TEST (Vst2Module, ParametersShowTheirNamesAndTexts)
{
    Instance plugin;
    ASSERT_NE (plugin.effect, nullptr);

    const char* names[numParameters] = { "onBypass", "chorusType", "rate", "rateSync", "depth", "mix", "level", "stereo", "sync" };

    for (int i = 0; i < numParameters; ++i)
    {
        EXPECT_EQ (plugin.text (effectGetParameterName, i), names[i]);
        EXPECT_EQ (plugin.text (effectGetParameterLabel, i), "");
        EXPECT_EQ (plugin.dispatch (effectCanBeAutomated, i), 1);
    }

    const struct { int index; float value; const char* text; } cases[] = {
        { onBypass, 0.0f, "Off" }, { onBypass, 1.0f, "On" }, { chorusType, 0.5f, "Type 2" },
        { chorusType, 1.0f, "Type 3" }, { rate, 0.25f, "2.50" }, { depth, 1.0f, "10.00" }, { sync, 0.3f, "On" },
    };

    for (const auto& c : cases)
    {
        plugin.setParameter (c.index, c.value);
        EXPECT_EQ (plugin.getParameter (c.index), c.value);
        EXPECT_EQ (plugin.text (effectGetParameterDisplay, c.index), c.text) << c.index;
    }

    // Display texts stay inside eight bytes, terminator included.
    char shortBuffer[16];
    std::memset (shortBuffer, 'x', sizeof (shortBuffer));
    plugin.setParameter (chorusType, 0.0f);
    plugin.dispatch (effectGetParameterDisplay, chorusType, 0, shortBuffer);
    EXPECT_STREQ (shortBuffer, "Type 1");
    EXPECT_EQ (shortBuffer[8], 'x');

    EXPECT_EQ (plugin.text (effectGetParameterName, numParameters), "");
    EXPECT_EQ (plugin.getParameter (-1), 0.0f);
    plugin.setParameter (numParameters, 0.5f);
}

/** The answer to a text opcode in a buffer of 'x' canaries: the text, and
    whether every byte past its terminator is still a canary. */
struct TextAnswer
{
    std::string text;
    bool onlyTextWritten;
};

TextAnswer askText (Instance& plugin, int opcode, int index)
{
    char buffer[256];
    std::memset (buffer, 'x', sizeof (buffer));
    plugin.dispatch (opcode, index, 0, buffer);

    const auto length = strnlen (buffer, sizeof (buffer));
    const bool untouched = std::all_of (buffer + std::min (length + 1, sizeof (buffer)), buffer + sizeof (buffer),
                                        [] (char c) { return c == 'x'; });
    return { std::string (buffer, length), length < sizeof (buffer) && untouched };
}

constexpr size_t chunkHeaderBytes = 8;

/** The text of a chunk, between its header and its zero byte. */
std::string textOf (const std::vector<char>& chunk)
{
    return std::string (chunk.begin() + chunkHeaderBytes, chunk.end() - 1);
}

/** The chunk with its text replaced, and its byte count with it. */
std::vector<char> withText (const std::vector<char>& chunk, const std::string& text)
{
    std::string bytes (chunk.begin(), chunk.begin() + chunkHeaderBytes);

    for (size_t i = 0; i < 4; ++i)
        bytes[4 + i] = (char) (text.size() >> (8 * i));

    bytes += text;
    bytes += '\0';
    return std::vector<char> (bytes.begin(), bytes.end());
}

/** A program chunk of plugin's current program whose preset path is renamed. */
std::vector<char> withPresetName (const std::vector<char>& chunk, const std::string& name)
{
    auto text = textOf (chunk);

    for (size_t at; (at = text.find ("Init.vmxp")) != std::string::npos;)
        text.replace (at, 9, name + ".vmxp");

    return withText (chunk, text);
}

bool isWholeUtf8 (const std::string& text)
{
    for (size_t i = 0; i < text.size();)
    {
        const auto lead = (unsigned char) text[i];
        const size_t length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;

        if (length == 0 || i + length > text.size())
            return false;

        for (size_t k = 1; k < length; ++k)
            if (((unsigned char) text[i + k] & 0xC0) != 0x80)
                return false;

        i += length;
    }

    return true;
}

TEST (Vst2Module, TextAnswersWriteTheirTextAndTerminatorOnly)
{
    Instance plugin;
    ASSERT_NE (plugin.effect, nullptr);
    plugin.setParameter (chorusType, 0.5f);
    plugin.setParameter (mix, 0.25f);

    // clang-format off
    const struct { int opcode, index; const char* text; } cases[] = {
        { effectGetParameterName, mix, "mix" },          { effectGetParameterName, chorusType, "chorusType" },
        { effectGetParameterLabel, mix, "" },            { effectGetParameterDisplay, mix, "2.50" },
        { effectGetParameterDisplay, chorusType, "Type 2" }, { effectGetParameterName, numParameters, "" },
        { effectGetProgramName, 0, "Init" },             { effectGetProgramNameIndexed, 11, "Init" },
        { effectGetEffectName, 0, "Modulix QR7150" },    { effectGetVendorString, 0, "Velora" },
        { effectGetProductString, 0, "Modulix QR7150" },
    };
    // clang-format on

    for (const auto& c : cases)
    {
        SCOPED_TRACE ("opcode " + std::to_string (c.opcode) + " index " + std::to_string (c.index));
        const auto answer = askText (plugin, c.opcode, c.index);
        EXPECT_EQ (answer.text, c.text);
        EXPECT_TRUE (answer.onlyTextWritten);
    }
}

TEST (Vst2Module, LongProgramNamesAreCutAtACharacterBoundaryWithinTheirLimit)
{
    Instance plugin;
    ASSERT_NE (plugin.effect, nullptr);

    std::string umlauts;

    for (int i = 0; i < 10; ++i)
        umlauts += "\xC3\x84";  // A with diaeresis

    // clang-format off
    const struct { std::string name, shown; } cases[] = {
        { "Chorus x" + umlauts,     "Chorus x" + umlauts.substr (0, 14) },  // 22 bytes, not 23
        { "Chorus xy" + umlauts,    "Chorus xy" + umlauts.substr (0, 14) }, // the 23rd byte ends a character
        { "Short \xE2\x82\xAC",    "Short \xE2\x82\xAC" },
        { std::string (30, 'a'),    std::string (23, 'a') },
    };
    // clang-format on

    const auto original = plugin.chunk (true);

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        const auto renamed = withPresetName (original, c.name);
        plugin.dispatch (effectSetChunk, 1, (long long) renamed.size(), (void*) renamed.data());

        for (const auto opcode : { effectGetProgramName, effectGetProgramNameIndexed })
        {
            const auto answer = askText (plugin, opcode, 0);
            EXPECT_EQ (answer.text, c.shown) << opcode;
            EXPECT_TRUE (isWholeUtf8 (answer.text)) << opcode;
            EXPECT_TRUE (answer.onlyTextWritten) << opcode;
        }
    }
}

TEST (Vst2Module, AChunkAnswerStaysWholeWhileAnotherThreadAsksForOne)
{
    Instance plugin;
    ASSERT_NE (plugin.effect, nullptr);
    const auto expected = plugin.chunk (false);

    for (int round = 0; round < 8; ++round)
    {
        void* data = nullptr;
        const auto size = plugin.dispatch (effectGetChunk, 0, 0, &data);
        ASSERT_EQ (size, (long long) expected.size());

        // The other thread asks, and its call returns, before this one copies
        // (a block freed meanwhile shows in the sanitizer trees at once).
        std::thread other ([&] { plugin.chunk (round % 2 == 0); });
        other.join();

        EXPECT_EQ (std::vector<char> ((char*) data, (char*) data + size), expected);
    }
}

TEST (Vst2Module, AProgramSwitchHandsTheHostNineValuesInIndexOrder)
{
    Instance plugin;
    ASSERT_NE (plugin.effect, nullptr);
    EXPECT_EQ (plugin.text (effectGetProgramName), "Init");

    for (int p = 0; p < numPrograms; ++p)
    {
        char name[64];
        EXPECT_EQ (plugin.dispatch (effectGetProgramNameIndexed, p, 0, name), 1);
        EXPECT_STREQ (name, "Init");
    }

    char name[64];
    EXPECT_EQ (plugin.dispatch (effectGetProgramNameIndexed, numPrograms, 0, name), 0);

    host.takeCalls();
    plugin.dispatch (effectSetProgram, 0, 5);
    EXPECT_EQ (plugin.dispatch (effectGetProgram), 5);

    const auto automation = host.takeCalls (hostAutomate);
    ASSERT_EQ (automation.size(), (size_t) numParameters);

    for (int i = 0; i < numParameters; ++i)
    {
        EXPECT_EQ (automation[(size_t) i].effect, plugin.effect);
        EXPECT_EQ (automation[(size_t) i].index, i);
        EXPECT_EQ (automation[(size_t) i].opt, plugin.getParameter (i));
    }

    for (long long outside : { (long long) numPrograms, -1LL, 1LL << 40 })
    {
        plugin.dispatch (effectSetProgram, 0, outside);
        EXPECT_EQ (plugin.dispatch (effectGetProgram), 5);
    }

    EXPECT_TRUE (host.takeCalls (hostAutomate).empty());
}

TEST (Vst2Module, BankAndProgramChunksRoundTripIntoASecondInstance)
{
    Instance source, target;
    ASSERT_NE (source.effect, nullptr);

    source.dispatch (effectSetProgram, 0, 3);
    source.setParameter (rate, 0.625f);
    source.setParameter (chorusType, 1.0f);
    source.dispatch (effectSetProgram, 0, 7);
    source.setParameter (mix, 0.125f);

    const auto bank = source.chunk (false);
    const auto program = source.chunk (true);
    ASSERT_FALSE (bank.empty());
    ASSERT_FALSE (program.empty());
    EXPECT_NE (bank, program);

    target.dispatch (effectSetChunk, 0, (long long) bank.size(), (void*) bank.data());
    EXPECT_EQ (target.chunk (false), bank);
    EXPECT_EQ (target.dispatch (effectGetProgram), 7);
    EXPECT_EQ (target.getParameter (mix), 0.125f);

    // A program chunk lands in the current program of another bank.
    Instance other;
    other.dispatch (effectSetChunk, 1, (long long) program.size(), (void*) program.data());
    EXPECT_EQ (other.chunk (true), program);
    EXPECT_EQ (other.getParameter (mix), 0.125f);

    target.dispatch (effectSetProgram, 0, 3);
    EXPECT_EQ (target.getParameter (rate), 0.625f);
    EXPECT_EQ (target.getParameter (chorusType), 1.0f);
}

TEST (Vst2Module, ABankChunkIsReadByElementNameWhateverStandsAfterItsProperties)
{
    Instance source;
    ASSERT_NE (source.effect, nullptr);
    source.dispatch (effectSetProgram, 0, 7);
    source.setParameter (mix, 0.125f);
    const auto bank = source.chunk (false);
    const auto text = textOf (bank);
    const auto end = text.rfind ("</veloraPatch>");
    ASSERT_NE (end, std::string::npos);

    // Another element, and a second Properties naming program 3, which the first outranks.
    auto second = text.substr (text.find ("<Properties"), end - text.find ("<Properties"));
    second.replace (second.find ("activePreset=\"7\""), 16, "activePreset=\"3\"");
    const std::string after[] { "<Extra/>", second };

    for (const auto& element : after)
    {
        SCOPED_TRACE (element.substr (0, 20));
        Instance target;
        const auto changed = withText (bank, std::string (text).insert (end, element));
        target.dispatch (effectSetChunk, 0, (long long) changed.size(), (void*) changed.data());
        EXPECT_EQ (target.dispatch (effectGetProgram), 7);
        EXPECT_EQ (target.getParameter (mix), 0.125f);
    }
}

TEST (Vst2Module, DamagedChunksLeaveTheBankUsable)
{
    Instance plugin;
    ASSERT_NE (plugin.effect, nullptr);
    const auto before = plugin.chunk (false);

    auto bank = before;
    bank.resize (bank.size() / 2);
    plugin.dispatch (effectSetChunk, 0, (long long) bank.size(), bank.data());
    plugin.dispatch (effectSetChunk, 0, -1, bank.data());
    plugin.dispatch (effectSetChunk, 0, 64, nullptr);
    plugin.dispatch (effectSetChunk, 1, 0, bank.data());

    EXPECT_FALSE (plugin.chunk (false).empty());
    plugin.resume();
    EXPECT_TRUE (allFinite (plugin.process (blockSize)));
}

TEST (Vst2Module, TempoComesFromTheHostsTimeInfo)
{
    // Two instances synced to the host's tempo, each hearing a different tempo.
    Instance slow, fast;
    ASSERT_NE (slow.effect, nullptr);

    for (auto* plugin : { &slow, &fast })
    {
        plugin->setParameter (sync, 1.0f);
        plugin->resume();
    }

    const auto processAt = [] (Instance& plugin, double tempo)
    {
        host.timeInfo = {};
        host.timeInfo.tempo = tempo;
        host.timeInfo.sampleRate = static_cast<double> (sampleRate);
        host.timeInfo.flags = timeInfoTempoValid;
        return plugin.process (blockSize);
    };

    host.takeCalls();
    std::vector<float> slowOut, fastOut;

    for (int i = 0; i < 40; ++i)
    {
        slowOut = processAt (slow, 60.0);
        fastOut = processAt (fast, 180.0);
    }

    EXPECT_NE (slowOut, fastOut);

    const auto requests = host.takeCalls (hostGetTime);
    ASSERT_FALSE (requests.empty());
    EXPECT_NE (requests.front().value & timeInfoTempoValid, 0);
    host.timeInfo = {};
}

TEST (Vst2Module, ClosingWhileTimersArePendingFreesEverything)
{
    // Each closes with a model switch still waiting on its timer; the sanitizer
    // trees report anything left behind or touched after it is gone.
    for (int i = 0; i < 4; ++i)
    {
        Instance plugin;
        ASSERT_NE (plugin.effect, nullptr);
        plugin.resume();
        plugin.setParameter (chorusType, i % 2 == 0 ? 1.0f : 0.5f);
        plugin.process (blockSize);
        std::this_thread::sleep_for (std::chrono::milliseconds (10 * i));
    }
}
}
