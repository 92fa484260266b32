// Opens the plug-in's editor through the built VST2 module inside an X11 window
// of our own, as a Linux host does, and clicks it through the X server's test
// extension, as a user does. Needs a display: the suite runs it under
// tools/with-display.sh.

#include "SyncKnobFrames.h"
#include "Vst2TestHost.h"
#include "Vst2HostWindow.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <optional>

namespace
{
using namespace Vst2TestHost;

constexpr int chorusType = 1;
constexpr int depth = 4;

/** Kept under the build tree, for looking at. */
void keepScreenshot (const Pixels& pixels, const std::string& name)
{
    const std::string directory = MODULIX_SCREENSHOT_DIR;
    std::filesystem::create_directories (directory);
    EXPECT_TRUE (XScreen::savePng (pixels, editorWidth, editorHeight, directory + "/" + name + ".png")) << name;
}

/** Adds what the host has heard since about one parameter: its automation and edits, in order. */
void listenFor (const AEffect* effect, int index, std::vector<Host::Call>& heard)
{
    for (const auto& call : host.takeCalls())
        if (call.effect == effect && call.index == index
            && (call.opcode == hostAutomate || call.opcode == hostBeginEdit || call.opcode == hostEndEdit))
            heard.push_back (call);
}

//==============================================================================
class Vst2EditorWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        display = XOpenDisplay (nullptr);

        if (display == nullptr)
            GTEST_SKIP() << "no X display (run under tools/with-display.sh)";

        // Only now: without a display the module's JUCE would open :0, whatever runs there.
        plugin.emplace();
        ASSERT_NE (plugin->effect, nullptr) << dlerror();
        ASSERT_NE (plugin->effect->flags & hasEditorFlag, 0);
    }

    void TearDown() override
    {
        if (display != nullptr)
            XCloseDisplay (display);
    }

    /** The editor's size as the host asks it, before there is a window. */
    std::pair<int, int> editorSize()
    {
        EditorRect* rect = nullptr;

        if (plugin->dispatch (effectEditorGetRect, 0, 0, &rect) != 1 || rect == nullptr)
            return {};

        return { rect->right - rect->left, rect->bottom - rect->top };
    }

    bool open (const HostWindow& window)
    {
        return plugin->dispatch (effectEditorOpen, 0, 0, window.handle()) == 1 && window.hasChildren (1);
    }

    Display* display = nullptr;
    std::optional<Instance> plugin;
};

TEST_F (Vst2EditorWindow, OpensAtItsSizeShowsItsPictureAndTakesClicksAgainAfterReopening)
{
    ASSERT_EQ (editorSize(), std::make_pair (editorWidth, editorHeight));
    const HostWindow window (display, editorWidth, editorHeight);

    const struct { Point point; float type; const char* name; } rounds[] {
        { secondTypeName, 0.5f, "vst2-editor" },
        { thirdTypeName, 1.0f, "vst2-editor-reopened" },
    };

    for (const auto& round : rounds)
    {
        SCOPED_TRACE (round.name);
        ASSERT_TRUE (open (window));

        // The size answered before the window existed is the editor's own.
        EXPECT_EQ (window.childSize(), std::make_pair (editorWidth, editorHeight));

        const auto before = window.grabPainted();
        keepScreenshot (before, round.name);
        ASSERT_GT (countColours (before), 20) << "the window shows no picture";

        host.takeCalls();
        std::vector<Host::Call> heard;

        // This host sends no idle calls; what the click tells it comes with
        // its next call, here a look at the program.
        const auto listen = [&]
        {
            plugin->dispatch (effectGetProgram);
            listenFor (plugin->effect, chorusType, heard);
        };

        // On a loaded machine a window just mapped has been seen to miss its
        // first click; a user clicks again, and so does this test.
        size_t clicks = 0;

        while (heard.empty() && clicks < 3)
        {
            ASSERT_TRUE (window.click (round.point));
            ++clicks;
            waitUntil ([&] { listen(); return ! heard.empty(); });
        }

        ASSERT_FALSE (heard.empty()) << "the host heard of no change";
        EXPECT_EQ (plugin->getParameter (chorusType), round.type);

        // The type switch follows on the window's timer, with no idle from the host.
        Pixels after;
        EXPECT_TRUE (waitUntil ([&] { after = window.grab(); return after != before; }));
        keepScreenshot (after, std::string (round.name) + "-clicked");

        // One automation call with the new value per click; the window's
        // hot-spots send no begin or end edit around it.
        listen();
        EXPECT_LE (heard.size(), clicks);

        for (const auto& call : heard)
        {
            EXPECT_EQ (call.opcode, hostAutomate);
            EXPECT_EQ (call.opt, round.type);
        }

        EXPECT_EQ (editorSize(), std::make_pair (editorWidth, editorHeight));
        plugin->dispatch (effectEditorClose);
        EXPECT_TRUE (window.hasChildren (0));
    }
}

TEST_F (Vst2EditorWindow, TheSyncKnobShowsTheStepOfARateSyncValueAHostKeptAsText)
{
    const HostWindow window (display, editorWidth, editorHeight);
    ASSERT_TRUE (open (window));
    window.grabPainted();

    SyncKnobFrames knob ({ [&] { const auto at = window.screenPosition(); return std::make_pair (at.x, at.y); } },
                         { [&] (int index, float value) { plugin->setParameter (index, value); },
                           [] (int milliseconds) { std::this_thread::sleep_for (std::chrono::milliseconds (milliseconds)); } });
    ASSERT_TRUE (knob.learn());

    int width = 0, height = 0;
    const auto strip = knob.getStrip (width, height);
    std::filesystem::create_directories (MODULIX_SCREENSHOT_DIR);
    EXPECT_TRUE (XScreen::savePng (strip, width, height, MODULIX_SCREENSHOT_DIR "/vst2-sync-knob-frames.png"));

    for (const auto& c : RateSyncCases::makeTextCases())
        EXPECT_EQ (knob.showFor (c.value), c.step) << c.label;

    plugin->dispatch (effectEditorClose);
    EXPECT_TRUE (window.hasChildren (0));
}

TEST_F (Vst2EditorWindow, ClosingTheEffectWithItsWindowOpenTakesTheWindow)
{
    const HostWindow window (display, editorWidth, editorHeight);
    ASSERT_TRUE (open (window));
    window.grabPainted();

    // The sanitizer trees report anything left behind or touched after it is gone.
    plugin->close();
    EXPECT_TRUE (window.hasChildren (0));
}

TEST_F (Vst2EditorWindow, TypeClickedInTheWindowAndAutomatedWhileAudioPlays)
{
    // The ThreadSanitizer tree reports anything the model switch shares
    // unguarded with the audio thread.
    const HostWindow window (display, editorWidth, editorHeight);
    plugin->resume();
    ASSERT_TRUE (open (window));
    window.grabPainted();

    // The host's GUI thread gives the window its idle time while it waits.
    const auto idleFor = [&] (int milliseconds)
    {
        for (int elapsed = 0; elapsed < milliseconds; elapsed += 10)
        {
            plugin->dispatch (effectEditorIdle);
            std::this_thread::sleep_for (std::chrono::milliseconds (10));
        }
    };

    host.timeInfo.flags = timeInfoTempoValid;
    std::atomic<bool> stop { false }, finite { true };

    // Automation of the depth in every block and of the chorus type now and
    // then, with the host tempo moving.
    std::thread audio ([&]
    {
        for (int block = 0; ! stop; ++block)
        {
            plugin->setParameter (depth, static_cast<float> (block % 100) / 100.0f);

            if (block % 60 == 30)
                plugin->setParameter (chorusType, static_cast<float> ((block / 60) % 3) * 0.5f);

            host.timeInfo.tempo = 90.0 + static_cast<double> (block % 40);

            for (const auto sample : plugin->process (256))
                finite = finite && std::isfinite (sample);

            std::this_thread::sleep_for (std::chrono::microseconds (300));
        }
    });

    for (int round = 0; round < 8; ++round)
    {
        window.click (round % 2 == 0 ? secondTypeName : thirdTypeName);
        idleFor (150);
    }

    stop = true;
    audio.join();
    EXPECT_TRUE (finite);

    // With the automation stopped, the window's next click stands.
    const bool toSecond = plugin->getParameter (chorusType) != 0.5f;
    const float expected = toSecond ? 0.5f : 1.0f;
    ASSERT_TRUE (window.click (toSecond ? secondTypeName : thirdTypeName));
    EXPECT_TRUE (waitUntil ([&] { plugin->dispatch (effectEditorIdle); return plugin->getParameter (chorusType) == expected; }));

    plugin->dispatch (effectEditorClose);
    EXPECT_TRUE (window.hasChildren (0));
}
}
