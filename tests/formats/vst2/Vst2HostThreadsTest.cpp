// A host's second thread asking the built VST2 module for its state, programs
// and parameter texts while the audio thread processes and the window is open,
// as hosts do when they save a project or refresh a generic view during play.
// Also several host threads creating and deleting instances at once, as
// hosts that load a project do. The ThreadSanitizer tree reports anything the
// threads share unguarded.

#include "Vst2TestHost.h"
#include "Vst2HostWindow.h"

#include <atomic>
#include <cstdlib>
#include <iostream>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{
using namespace Vst2TestHost;

constexpr int numPrograms = 12;
constexpr int numParameters = 9;

/** Everything a host's non-audio thread asks for, once around. */
void askEverything (Instance& plugin, int round)
{
    const auto bank = plugin.chunk (false);
    const auto program = plugin.chunk (true);
    EXPECT_FALSE (bank.empty());
    EXPECT_FALSE (program.empty());

    plugin.dispatch (effectSetProgram, 0, round % numPrograms);
    plugin.text (effectGetProgramName);

    for (int p = 0; p < numPrograms; ++p)
    {
        char name[64];
        plugin.dispatch (effectGetProgramNameIndexed, p, 0, name);
    }

    for (int i = 0; i < numParameters; ++i)
    {
        plugin.text (effectGetParameterName, i);
        plugin.text (effectGetParameterDisplay, i);
        plugin.text (effectGetParameterLabel, i);
        plugin.getParameter (i);
    }

    EditorRect* rect = nullptr;
    plugin.dispatch (effectEditorGetRect, 0, 0, &rect);
}

TEST (Vst2HostThreads, AHostThreadAsksWhileAudioRunsAndTheWindowIsOpen)
{
    Display* display = XOpenDisplay (nullptr);

    if (display == nullptr)
        GTEST_SKIP() << "no X display (run under tools/with-display.sh)";

    {
        const HostWindow parent (display, editorWidth, editorHeight);
        Instance plugin;
        ASSERT_NE (plugin.effect, nullptr);
        plugin.resume();
        ASSERT_EQ (plugin.dispatch (effectEditorOpen, 0, 0, parent.handle()), 1);

        std::atomic<bool> stop { false }, finite { true };

        std::thread audio ([&]
        {
            while (! stop.load())
                for (auto s : plugin.process (blockSize))
                    if (! std::isfinite (s))
                        finite = false;
        });

        // The host's main thread opened the window; another of its threads asks.
        std::thread second ([&] { for (int round = 0; round < 30; ++round) askEverything (plugin, round); });
        second.join();
        stop = true;
        audio.join();
        EXPECT_TRUE (finite);

        plugin.dispatch (effectEditorClose);
    }

    XCloseDisplay (display);
}

//==============================================================================
constexpr int creatingThreads = 4;
constexpr int instancesPerThread = 12;

/** One host thread's share: instances made, played and deleted one after
    another, beside the other threads' instances. False when one failed. */
bool createPlayAndDelete (int thread)
{
    bool held = true;

    for (int round = 0; round < instancesPerThread; ++round)
    {
        Instance plugin;

        if (plugin.effect == nullptr)
            return false;

        plugin.dispatch (effectSetProgram, 0, (thread + round) % numPrograms);
        plugin.resume();

        for (auto s : plugin.process (blockSize))
            held = held && std::isfinite (s);

        held = held && ! plugin.chunk (false).empty();
    }

    return held;
}

/** In a child process: the threads start together; exits 0 when every instance
    loaded, played and went. A hang ends the child by SIGALRM after five
    minutes, far beyond what the rounds take in the sanitizer trees. */
void createOnSeveralThreadsAndExit()
{
    alarm (300);
    std::atomic<int> ready { 0 };
    std::atomic<bool> allHeld { true };
    std::vector<std::thread> threads;

    for (int t = 0; t < creatingThreads; ++t)
    {
        threads.emplace_back ([&, t]
        {
            ++ready;

            while (ready.load() < creatingThreads)
                std::this_thread::yield();

            if (! createPlayAndDelete (t))
                allHeld = false;
        });
    }

    for (auto& thread : threads)
        thread.join();

    std::cerr << (allHeld ? "" : "an instance failed to load or play\n");
    std::_Exit (allHeld ? 0 : 1);
}

// JUCE counts the instances that keep it started; each thread's first and
// last instance may start it or shut it down while other threads' instances
// are being made or deleted.
TEST (Vst2HostThreads, InstancesAreCreatedAndDeletedOnSeveralThreadsAtOnce)
{
    GTEST_FLAG_SET (death_test_style, "threadsafe");
    EXPECT_EXIT (createOnSeveralThreadsAndExit(), testing::ExitedWithCode (0), "");
}
}
