// Opens the built VST3 bundle's editor in real windows through JUCE's VST3 host,
// on a real X server, and drives it with real pointer clicks. Runs under
// tools/with-display.sh (Xvfb with a window manager).

#include "SyncKnobFrames.h"
#include "XScreen.h"

#include "../MessagePump.h"
#include "../support/AutomatingAudioThread.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <gtest/gtest.h>

#include <set>

namespace
{
using modulix_test::pumpMessages;
using modulix_test::pumpUntil;
using Instance = juce::AudioPluginInstance;

constexpr int chorusType = 1;
constexpr int depth = 4;
const juce::Rectangle<int> editorBounds { 0, 0, 325, 454 };

// Points inside the window's hot-spots and buttons.
const juce::Point<int> secondTypeName { 193, 158 };
const juce::Point<int> thirdTypeName { 187, 177 };
const juce::Point<int> fileButton { 35, 16 };
const juce::Point<int> productTitle { 70, 412 };
const juce::Point<int> saveAsItem { 80, 64 };

juce::Image grabScreen (juce::Rectangle<int> area)
{
    const auto pixels = XScreen::grab (area.getX(), area.getY(), area.getWidth(), area.getHeight());
    juce::Image image (juce::Image::ARGB, area.getWidth(), area.getHeight(), false);

    if (pixels.size() != static_cast<size_t> (area.getWidth() * area.getHeight()))
        return {};

    for (int y = 0; y < area.getHeight(); ++y)
        for (int x = 0; x < area.getWidth(); ++x)
            image.setPixelAt (x, y, juce::Colour (pixels[static_cast<size_t> (y * area.getWidth() + x)]));

    return image;
}

/** Kept under the build tree, for looking at. */
void keepScreenshot (const juce::Image& image, const juce::String& name)
{
    const auto file = juce::File (MODULIX_SCREENSHOT_DIR).getChildFile (name + ".png");
    file.getParentDirectory().createDirectory();
    file.deleteFile();
    juce::FileOutputStream stream (file);
    ASSERT_TRUE (stream.openedOk()) << file.getFullPathName();
    juce::PNGImageFormat().writeImageToStream (image, stream);
}

int countColours (const juce::Image& image)
{
    std::set<juce::uint32> colours;

    for (int y = 0; y < image.getHeight(); y += 3)
        for (int x = 0; x < image.getWidth(); x += 3)
            colours.insert (image.getPixelAt (x, y).getARGB());

    return static_cast<int> (colours.size());
}

int countDifferentPixels (const juce::Image& a, const juce::Image& b)
{
    int count = 0;

    for (int y = 0; y < juce::jmin (a.getHeight(), b.getHeight()); ++y)
        for (int x = 0; x < juce::jmin (a.getWidth(), b.getWidth()); ++x)
            count += a.getPixelAt (x, y) != b.getPixelAt (x, y) ? 1 : 0;

    return count;
}

/** The host's window holding one plug-in editor, at a fixed screen position. */
class HostWindow
{
public:
    HostWindow (Instance& instance, juce::Point<int> position)
        : editor (instance.createEditorIfNeeded())
    {
        if (editor == nullptr)
            return;

        editor->setTopLeftPosition (position);
        editor->addToDesktop (0);
        editor->setVisible (true);
        editor->toFront (false);
    }

    ~HostWindow()
    {
        // The host deletes the editor before the plug-in, as every host does.
        editor.reset();
    }

    bool isOpen() const  { return editor != nullptr && editor->isOnDesktop(); }

    juce::Rectangle<int> getScreenBounds() const  { return editor->getScreenBounds(); }

    bool click (juce::Point<int> pointInWindow) const
    {
        const auto onScreen = editor->getScreenPosition() + pointInWindow;
        return XScreen::clickAt (onScreen.x, onScreen.y);
    }

    /** Rests the pointer over a point first, as a hand does: a menu takes an
        item only after the pointer has been seen over it. */
    bool hoverAndClick (juce::Point<int> pointInWindow) const
    {
        const auto onScreen = editor->getScreenPosition() + pointInWindow;
        XScreen::moveTo (onScreen.x, onScreen.y);
        pumpMessages (300);
        return XScreen::clickAt (onScreen.x, onScreen.y);
    }

    /** Waits until the window manager has placed the window and the plug-in has
        drawn it, then grabs it from the screen. */
    juce::Image screenshot() const
    {
        auto placed = getScreenBounds();
        pumpUntil ([&] {
            const auto now = getScreenBounds();
            const bool settled = now == placed;
            placed = now;
            pumpMessages (50);
            return settled && getScreenBounds() == now;
        });

        juce::Image image;
        pumpUntil ([&] { image = grabScreen (getScreenBounds()); return countColours (image) > 20; });
        return image;
    }

private:
    std::unique_ptr<juce::AudioProcessorEditor> editor;
};

//==============================================================================
class WindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        format.findAllTypesForFile (types, MODULIX_VST3_BUNDLE);
        ASSERT_EQ (types.size(), 1) << MODULIX_VST3_BUNDLE;
    }

    std::unique_ptr<Instance> load()
    {
        juce::String error;
        auto instance = format.createInstanceFromDescription (*types[0], 44100.0, 512, error);
        EXPECT_NE (instance, nullptr) << error;
        return instance;
    }

    static float typeOf (Instance& instance)
    {
        return instance.getParameters().getReference (chorusType)->getValue();
    }

    /** Clicks a point of the window and waits for the host to see the chorus type. */
    static bool clickSetsType (const HostWindow& window, Instance& instance, juce::Point<int> point, float expected)
    {
        pumpMessages (200);
        window.click (point);
        return pumpUntil ([&] { return typeOf (instance) == expected; });
    }

    /** Clicks the product title, which opens the about box over the window. */
    static bool openAboutBox (const HostWindow& window, juce::Image& shown)
    {
        const auto area = window.getScreenBounds();
        const auto before = window.screenshot();
        window.click (productTitle);
        return pumpUntil ([&] { shown = grabScreen (area); return countDifferentPixels (before, shown) > 100; });
    }

    /** Picks "Save Preset As..." in the file menu, which opens the save browser over the window. */
    static bool openSaveBrowser (const HostWindow& window, juce::Image& shown)
    {
        const auto area = window.getScreenBounds();
        const auto editorShot = window.screenshot();
        const auto changedPixels = [&] { shown = grabScreen (area); return countDifferentPixels (editorShot, shown); };

        // On a loaded machine the menu can close before the pointer reaches
        // its item (it closes when the window loses the focus); open it again.
        for (int attempt = 0; attempt < 4; ++attempt)
        {
            window.click (fileButton);
            if (! pumpUntil ([&] { return changedPixels() > 100; }, 10000))
                continue;

            // "Save Preset As...", the menu's second item.
            window.hoverAndClick (saveAsItem);

            if (pumpUntil ([&] { return changedPixels() > area.getWidth() * area.getHeight() / 2; }, 10000))
                return true;
        }

        return false;
    }

    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    juce::VST3PluginFormat format;
    juce::OwnedArray<juce::PluginDescription> types;
};

TEST_F (WindowTest, OpensShowsItsPictureAndTakesClicksAgainAfterReopening)
{
    auto instance = load();
    ASSERT_TRUE (instance->hasEditor());

    {
        HostWindow window (*instance, { 40, 40 });
        ASSERT_TRUE (window.isOpen());
        EXPECT_EQ (window.getScreenBounds().getWidth(), editorBounds.getWidth());
        EXPECT_EQ (window.getScreenBounds().getHeight(), editorBounds.getHeight());

        const auto shot = window.screenshot();
        keepScreenshot (shot, "editor");
        EXPECT_GT (countColours (shot), 20) << "the window shows no picture";

        EXPECT_TRUE (clickSetsType (window, *instance, secondTypeName, 0.5f)) << typeOf (*instance);
    }

    pumpMessages (300);

    HostWindow reopened (*instance, { 40, 40 });
    ASSERT_TRUE (reopened.isOpen());
    keepScreenshot (reopened.screenshot(), "editor-reopened");
    EXPECT_TRUE (clickSetsType (reopened, *instance, thirdTypeName, 1.0f)) << typeOf (*instance);
}

TEST_F (WindowTest, ClosingOneOfTwoWindowsLeavesTheOtherAnsweringClicks)
{
    auto first = load();
    auto second = load();

    auto firstWindow = std::make_unique<HostWindow> (*first, juce::Point<int> { 40, 40 });
    HostWindow secondWindow (*second, { 500, 40 });
    ASSERT_TRUE (firstWindow->isOpen());
    ASSERT_TRUE (secondWindow.isOpen());
    secondWindow.screenshot();

    firstWindow.reset();
    pumpMessages (300);

    EXPECT_TRUE (clickSetsType (secondWindow, *second, secondTypeName, 0.5f)) << typeOf (*second);
    EXPECT_EQ (typeOf (*first), 0.0f);
}

TEST_F (WindowTest, ClosingTheWindowWithTheFileMenuOrAboutBoxOpenLeavesNothingBehind)
{
    auto instance = load();

    for (const auto& [opener, name] : { std::pair { fileButton, "file-menu" }, std::pair { productTitle, "about-box" } })
    {
        SCOPED_TRACE (name);
        juce::Rectangle<int> area;

        {
            HostWindow window (*instance, { 40, 40 });
            ASSERT_TRUE (window.isOpen());
            area = window.getScreenBounds();
            const auto before = window.screenshot();
            window.click (opener);

            // The menu or box shows over the window.
            juce::Image shown;
            EXPECT_TRUE (pumpUntil ([&] { shown = grabScreen (area); return countDifferentPixels (before, shown) > 100; }));
            keepScreenshot (shown, "editor-with-" + juce::String (name));
        }

        // Nothing of it stays on the screen once the window has gone.
        EXPECT_TRUE (pumpUntil ([&] { return countColours (grabScreen (area)) == 1; }));
    }

    // The plug-in still works: a new window takes clicks.
    HostWindow window (*instance, { 40, 40 });
    window.screenshot();
    EXPECT_TRUE (clickSetsType (window, *instance, secondTypeName, 0.5f)) << typeOf (*instance);
}

TEST_F (WindowTest, APickInTheFileMenuOpensTheSaveBrowserWhichClosesWithTheWindow)
{
    auto instance = load();
    juce::Rectangle<int> area;

    {
        HostWindow window (*instance, { 40, 40 });
        area = window.getScreenBounds();
        juce::Image shown;
        EXPECT_TRUE (openSaveBrowser (window, shown));
        keepScreenshot (shown, "editor-save-browser");
    }

    EXPECT_TRUE (pumpUntil ([&] { return countColours (grabScreen (area)) == 1; }));
}

TEST_F (WindowTest, ADialogInOneWindowBlocksThatWindowAndLeavesTheOtherAnsweringClicks)
{
    struct Case
    {
        const char* name;
        bool (*open) (const HostWindow&, juce::Image& shown);
    };

    const Case cases[] {
        { "about-box", [] (const HostWindow& window, juce::Image& shown) { return openAboutBox (window, shown); } },
        { "save-browser", [] (const HostWindow& window, juce::Image& shown) { return openSaveBrowser (window, shown); } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        auto first = load();
        auto second = load();
        HostWindow firstWindow (*first, { 40, 40 });
        HostWindow secondWindow (*second, { 420, 40 });
        ASSERT_TRUE (firstWindow.isOpen());
        ASSERT_TRUE (secondWindow.isOpen());
        secondWindow.screenshot();

        juce::Image shown;
        ASSERT_TRUE (c.open (firstWindow, shown));

        // The other window takes clicks while the dialog is open.
        EXPECT_TRUE (clickSetsType (secondWindow, *second, secondTypeName, 0.5f)) << typeOf (*second);
        keepScreenshot (grabScreen (firstWindow.getScreenBounds().getUnion (secondWindow.getScreenBounds())),
                        "two-windows-" + juce::String (c.name));

        // Its own window still takes nothing but the dialog: the click on a
        // type name reaches the dialog, not the switch beneath. A click on the
        // other window, handled after it, says when it has been handled.
        firstWindow.click (secondTypeName);
        EXPECT_TRUE (clickSetsType (secondWindow, *second, thirdTypeName, 1.0f)) << typeOf (*second);
        EXPECT_EQ (typeOf (*first), 0.0f);
    }
}

TEST_F (WindowTest, TypeClickedInTheWindowAndAutomatedWhileAudioPlays)
{
    // The ThreadSanitizer tree reports anything the model switch shares
    // unguarded with the audio thread.
    auto instance = load();
    instance->prepareToPlay (44100.0, 256);
    HostWindow window (*instance, { 40, 40 });
    ASSERT_TRUE (window.isOpen());
    window.screenshot();

    {
        // The host plays automation of the depth in every block and of the
        // chorus type now and then.
        auto* depthParameter = instance->getParameters().getUnchecked (depth);
        auto* typeParameter = instance->getParameters().getUnchecked (chorusType);
        ASSERT_TRUE (depthParameter != nullptr && typeParameter != nullptr);

        modulix_test::AutomatingAudioThread audio (*instance, [depthParameter, typeParameter] (int block)
        {
            depthParameter->setValue (static_cast<float> (block % 100) / 100.0f);

            if (block % 60 == 30)
                typeParameter->setValue (static_cast<float> ((block / 60) % 3) * 0.5f);
        });

        for (int round = 0; round < 8; ++round)
        {
            window.click (round % 2 == 0 ? secondTypeName : thirdTypeName);
            pumpMessages (150);
        }

        EXPECT_TRUE (audio.playedOnlyFiniteSamples());
    }

    // With the automation stopped, the window's next click stands.
    const bool toSecond = typeOf (*instance) != 0.5f;
    EXPECT_TRUE (clickSetsType (window, *instance, toSecond ? secondTypeName : thirdTypeName, toSecond ? 0.5f : 1.0f))
        << typeOf (*instance);
    instance->releaseResources();
}

TEST_F (WindowTest, TheHostMayDeleteThePluginRightAfterItsOpenWindow)
{
    auto instance = load();
    auto window = std::make_unique<HostWindow> (*instance, juce::Point<int> { 40, 40 });
    window->screenshot();
    window->click (productTitle);
    pumpMessages (200);

    window.reset();
    instance.reset();
    pumpMessages (300);

    // Loading and opening again works in the same process.
    auto again = load();
    HostWindow reopened (*again, { 40, 40 });
    reopened.screenshot();
    EXPECT_TRUE (clickSetsType (reopened, *again, secondTypeName, 0.5f)) << typeOf (*again);
}

TEST_F (WindowTest, TheSyncKnobShowsTheStepOfARateSyncValueAHostKeptAsText)
{
    auto instance = load();
    instance->prepareToPlay (44100.0, 512);
    HostWindow window (*instance, { 40, 40 });
    ASSERT_TRUE (window.isOpen());
    window.screenshot();

    // The host hands a value over with the next block it processes.
    const auto setParameter = [&] (int index, float value)
    {
        instance->getParameters().getReference (index)->setValue (value);
        juce::AudioBuffer<float> block (2, 512);
        block.clear();
        juce::MidiBuffer midi;
        instance->processBlock (block, midi);
    };

    SyncKnobFrames knob ({ [&] { const auto at = window.getScreenBounds().getPosition(); return std::make_pair (at.x, at.y); } },
                         { setParameter, [] (int milliseconds) { pumpMessages (milliseconds); } });
    ASSERT_TRUE (knob.learn());

    int width = 0, height = 0;
    const auto strip = knob.getStrip (width, height);
    juce::File (MODULIX_SCREENSHOT_DIR).createDirectory();
    EXPECT_TRUE (XScreen::savePng (strip, width, height, MODULIX_SCREENSHOT_DIR "/vst3-sync-knob-frames.png"));

    for (const auto& c : RateSyncCases::makeTextCases())
        EXPECT_EQ (knob.showFor (c.value), c.step) << c.label;

    instance->releaseResources();
}

} // namespace
