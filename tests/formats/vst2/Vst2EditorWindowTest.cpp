// Opens the plug-in's editor through the built VST2 module inside an X11 window
// of our own, as a Linux host does, and clicks it through the X server's test
// extension, as a user does. Needs a display: the suite runs it under
// tools/with-display.sh.

#include "Vst2TestHost.h"
#include "Vst2HostWindow.h"

#include <filesystem>
#include <optional>

namespace
{
using namespace Vst2TestHost;

constexpr int chorusType = 1;

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

TEST_F (Vst2EditorWindow, ClosingTheEffectWithItsWindowOpenTakesTheWindow)
{
    const HostWindow window (display, editorWidth, editorHeight);
    ASSERT_TRUE (open (window));
    window.grabPainted();

    // The sanitizer trees report anything left behind or touched after it is gone.
    plugin->close();
    EXPECT_TRUE (window.hasChildren (0));
}
}
