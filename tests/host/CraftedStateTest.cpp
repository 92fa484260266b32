// Component states, each restored through JUCE's VST3 host into the built
// bundle in a child process of its own (vst3_state_probe), so that a crash
// fails that case only. Crafted states are refused: setState says so, the host
// lives on, the plug-in keeps the state it had and still plays finite sound.
// States the plug-in saved load whole, in any form and however the host's
// stream hands them over.

#include "CraftedXmlTexts.h"
#include "TemporaryFolder.h"
#include "Vst3StateForms.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace
{
using namespace Vst3StateForms;

/** Runs the probe; "exited 0", or how it ended otherwise. */
std::string runProbe (const char* mode, const juce::File& file, const std::string& reads)
{
    const std::string path = file.getFullPathName().toStdString();
    char* argv[] { const_cast<char*> (MODULIX_STATE_PROBE), const_cast<char*> (mode), const_cast<char*> (path.c_str()),
                   reads.empty() ? nullptr : const_cast<char*> (reads.c_str()), nullptr };
    pid_t pid = 0;

    if (posix_spawn (&pid, MODULIX_STATE_PROBE, nullptr, nullptr, argv, environ) != 0)
        return "not started";

    // A hang guard only: a probe takes about a second.
    for (int waited = 0; waited < 120000; waited += 10)
    {
        int status = 0;

        if (waitpid (pid, &status, WNOHANG) == pid)
            return WIFEXITED (status) ? "exited " + std::to_string (WEXITSTATUS (status))
                                      : "killed by signal " + std::to_string (WTERMSIG (status));

        std::this_thread::sleep_for (std::chrono::milliseconds (10));
    }

    kill (pid, SIGKILL);
    waitpid (pid, nullptr, 0);
    return "hung";
}

Bytes toBytes (const juce::MemoryBlock& m)
{
    const auto* p = static_cast<const uint8_t*> (m.getData());
    return Bytes (p, p + m.getSize());
}

class CraftedStateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE (folder.isDirectory());
        const auto saved = folder.getChildFile ("saved.state");
        ASSERT_EQ (runProbe ("write", saved, {}), "exited 0");

        juce::MemoryBlock bytes;
        ASSERT_TRUE (saved.loadFileAsData (bytes));
        real = toBytes (bytes);
        ASSERT_GT (real.size(), 16 + bankHeaderBytes);
    }

    /** Restores the stream in the probe; reads says how the host's stream hands it over. */
    std::string restore (const char* mode, const Bytes& stream, const std::string& reads = {})
    {
        const auto file = folder.getChildFile ("stream.state");
        file.replaceWithData (stream.data(), stream.size());
        return runProbe (mode, file, reads);
    }

    const modulix_test::TemporaryFolder temporary { "crafted-states" };
    const juce::File& folder = temporary.getFile();
    Bytes real;   // a component state the plug-in saved, VstW form
};

TEST_F (CraftedStateTest, ASavedStateLoadsBitForBitInAFreshInstance)
{
    EXPECT_EQ (restore ("takes", real), "exited 0");
    EXPECT_EQ (restore ("keeps", real), "exited 1") << "the probe does not see a state taken";
    EXPECT_EQ (restore ("takes", presetFile (real)), "exited 0") << "a preset file holding the state is not taken";
}

// JUCE's reader takes overlong UTF-8 for the characters it spells, on which it
// never finishes or overflows the host's stack: only strict UTF-8 is read.
TEST_F (CraftedStateTest, TextThatIsNotStrictUtf8IsRefusedAndMultiByteTextLoads)
{
    using CraftedXmlTexts::Form;
    const auto streamOf = [] (const std::string& text) { return vstw (bank (withTrailer (pluginBlock (text.c_str()), bypassTree (true)))); };

    for (const auto& text : CraftedXmlTexts::refusedTexts (Form::bank))
        EXPECT_EQ (restore ("keeps", streamOf (text.bytes)), "exited 0") << text.name;

    ASSERT_EQ (restore ("loads", streamOf (CraftedXmlTexts::multiByteDocument (Form::bank))), "exited 0");

    // Saved back as the writer escapes it.
    const auto attribute = "presetPath=\"" + CraftedXmlTexts::multiByteTextAsWritten + "\"";
    juce::MemoryBlock saved;
    ASSERT_TRUE (folder.getChildFile ("stream.state").loadFileAsData (saved));
    const std::string savedBytes (static_cast<const char*> (saved.getData()), saved.getSize());
    EXPECT_NE (savedBytes.find (attribute), std::string::npos) << attribute;
}

TEST_F (CraftedStateTest, CraftedStatesAreRefusedWhole)
{
    constexpr size_t bankAt = 16;
    const auto changed = [this] (size_t at, uint32_t value, size_t keep = 0)
    {
        Bytes b (real.begin(), keep == 0 ? real.end() : real.begin() + (std::ptrdiff_t) keep);
        putBigEndian32 (b, at, value);
        return b;
    };
    const Bytes chunk (real.begin() + bankAt + bankHeaderBytes, real.end());
    const Bytes block = pluginBlock ("<veloraPatch/>");
    const auto preset = presetFile (real);
    const auto presetWith = [&] (size_t at, uint64_t value, int numBytes) { auto b = preset; putLittleEndian (b, at, value, numBytes); return b; };

    const struct { const char* name; Bytes stream; } cases[] {
        { "VstW with header size 0x7ffffff0, 16 bytes in all", changed (vstwHeaderSizeAt, 0x7ffffff0, 16) },
        { "VstW with a header size one past the end", changed (vstwHeaderSizeAt, (uint32_t) real.size() - 8 + 1) },
        { "VstW with header size 0xffffffff", changed (vstwHeaderSizeAt, 0xffffffff) },
        { "the saved state one byte short", Bytes (real.begin(), real.end() - 1) },
        { "a bare CcnK of 8 bytes", Bytes (real.begin() + bankAt, real.begin() + bankAt + 8) },
        { "a bank whose chunk size is one past the end", changed (bankAt + bankChunkSizeAt, (uint32_t) chunk.size() + 1) },
        { "a bank whose chunk size is negative", changed (bankAt + bankChunkSizeAt, 0x80000000) },
        { "a VST3 preset file with chunk-list offset 0x40000000", presetWith (presetListOffsetAt, 0x40000000, 4) },
        { "a VST3 preset file with 0x7fffffff entries", presetWith (presetListAt (preset) + 4, 0x7fffffff, 4) },
        { "a VST3 preset file whose component reaches one past the end", presetWith (presetChunkSizeAt (preset), preset.size() - presetHeaderBytes + 1, 8) },
        { "a VC2! block with private data of size 0x100000000010", withTrailer (block, bypassTree (false), 0x100000000010) },
        { "a VC2! block with private data one byte larger than there is", withTrailer (block, bypassTree (false), bypassTree (false).size() + block.size() + 1) },
        { "private data holding a tree nested 400,000 deep", withTrailer (block, nestedTree (400000)) },
        { "private data holding a var array of 0x7fffffff items", withTrailer (block, arrayTree (0x7fffffff)) },
        { "the saved bank with a tree nested 400,000 deep", vstw (bank (withTrailer (block, nestedTree (400000)))) },
        { "private data of 10,000 properties", vstw (bank (withTrailer (block, manyPropertiesTree (10000)))) },
        { "private data of 100,000 properties", vstw (bank (withTrailer (block, manyPropertiesTree (100000)))) },
        { "private data of 1,000,000 properties", vstw (bank (withTrailer (block, manyPropertiesTree (1000000)))) },
        { "a VST3 preset file naming its component twice", namingTheComponentTwice (preset) },
    };

    for (const auto& c : cases)
        EXPECT_EQ (restore ("keeps", c.stream), "exited 0") << c.name;
}

// The plug-in's reader refuses the block; the private data after it would turn
// the bypass off, which the probe's instance has on.
TEST_F (CraftedStateTest, ABlockThePluginRefusesAppliesNothing)
{
    const auto withRefusedBlock = [] (const char* xml) { return withTrailer (pluginBlock (xml), bypassTree (false)); };
    std::string deep;

    for (int i = 0; i < 40; ++i)
        deep = "<a>" + deep + "</a>";

    deep = "<veloraPatch>" + deep + "</veloraPatch>";

    const struct { const char* name; Bytes stream; } cases[] {
        { "text that is not UTF-8", vstw (bank (withRefusedBlock ("<veloraPatch>\xff</veloraPatch>"))) },
        { "a document type", vstw (bank (withRefusedBlock ("<!DOCTYPE veloraPatch [<!ENTITY e \"x\">]><veloraPatch>&e;</veloraPatch>"))) },
        { "elements nested 40 deep", vstw (bank (withRefusedBlock (deep.c_str()))) },
        { "text cut short", vstw (bank (withRefusedBlock ("<veloraPatch><DeviceName>Modulix QR71"))) },
        { "a document of another kind", vstw (bank (withRefusedBlock ("<otherPatch><DeviceName/></otherPatch>"))) },
        { "no text behind the magic", vstw (bank (withTrailer (Bytes { 'V', 'C', '2', '!', 0, 0, 0, 0, 0 }, bypassTree (false)))) },
        { "no magic", vstw (bank (withTrailer (Bytes { 'V', 'C', '3', '!', 1, 0, 0, 0, 'x' }, bypassTree (false)))) },
        { "the block alone, without a container", withRefusedBlock ("<otherPatch/>") },
        { "a bare bank", bank (withRefusedBlock ("<otherPatch/>")) },
        { "a VST3 preset file", presetFile (vstw (bank (withRefusedBlock ("<otherPatch/>")))) },
    };

    for (const auto& c : cases)
        EXPECT_EQ (restore ("keeps", c.stream), "exited 0") << c.name;
}

// A host's stream may hand over fewer bytes per read than asked for, or stop.
TEST_F (CraftedStateTest, AStateHandedOverInPiecesLoadsWhole)
{
    for (const auto* reads : { "1", "7", "4095", "4096", "4097" })
        EXPECT_EQ (restore ("takes", real, reads), "exited 0") << "pieces of at most " << reads << " bytes";

    const auto half = std::to_string (real.size() / 2);
    const struct { std::string reads; const char* name; } stopping[] {
        { "4096,stops@" + half, "a stream that gives nothing after half of it" },
        { "4096,fails@" + half, "a stream whose reads fail after half of it" },
        { "4096,stops@0", "a stream that gives nothing" },
        { "4096,fails@0", "a stream whose reads fail" },
    };

    for (const auto& c : stopping)
        EXPECT_EQ (restore ("keeps", real, c.reads), "exited 0") << c.name;
}

// The bank may start at any byte: after a "VstW" header of any size, or at
// any offset of a preset file.
TEST_F (CraftedStateTest, ABankAtAnyOffsetLoads)
{
    const Bytes saved (real.begin() + 16, real.end());   // the bank, after the VstW header

    for (const uint32_t padding : { 1u, 2u, 3u })
        EXPECT_EQ (restore ("takes", vstw (saved, true, padding)), "exited 0") << "a VstW header of " << 8 + padding << " bytes";

    for (const size_t before : { 1u, 3u })
        EXPECT_EQ (restore ("takes", presetFile (real, before)), "exited 0") << "a preset file's component at byte " << 48 + before;
}
}
