// A host's second thread asking the built VST2 module for its state, programs
// and parameter texts while the audio thread processes and the window is open,
// as hosts do when they save a project or refresh a generic view during play.
// The ThreadSanitizer tree reports anything the threads share unguarded.

#include "Vst2TestHost.h"
#include "Vst2HostWindow.h"

#include <atomic>
#include <thread>

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
}
