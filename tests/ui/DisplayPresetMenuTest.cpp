// The preset menu's popup needs real windows: these run under tools/with-display.sh.

#include "FolderTreeFixture.h"

#include "../MessagePump.h"

#include "VeloraPresetMenu.h"

#include <cstdlib>
#include <memory>

#include <dlfcn.h>

namespace
{
using modulix_test::pumpMessages;
using modulix_test::pumpUntil;

/** JUCE loads the X libraries at run time and unloads them at shutdown, while
    they still hold the display's memory: LeakSanitizer, which checks after
    that, would count it as leaked. Kept loaded, it stays reachable. */
const bool xLibrariesStayLoaded = []
{
    for (const auto* name : { "libX11.so.6", "libXext.so.6", "libXcursor.so.1",
                              "libXinerama.so.1", "libXrender.so.1", "libXrandr.so.2" })
        dlopen (name, RTLD_LAZY | RTLD_NODELETE);

    return true;
}();

/** The preset bar as the editor lays it out, in a window of its own. */
struct PresetBarWindow final : juce::Component
{
    explicit PresetBarWindow (const juce::File& root)
    {
        menu->setDirectoryPath (root.getFullPathName());
        menu->setFileExtension ("*.vmxp");
        menu->setColour (juce::Label::textColourId, juce::Colours::black);
        menu->setBounds (67, 3, 192, 26);
        addAndMakeVisible (*menu);

        setBounds (100, 100, 325, 32);
        setWantsKeyboardFocus (true);
        addToDesktop (0);
        setVisible (true);
    }

    void paint (juce::Graphics& g) override
    {
        g.fillAll (juce::Colour (0xff3a3d42));
        g.setColour (juce::Colour (0xffd8d4c8));
        g.fillRoundedRectangle (menu->getBounds().toFloat(), 4.0f);
    }

    /** Clicks the preset name as a user would. */
    void click()
    {
        const juce::Point<float> centre (96.0f, 13.0f);
        const auto now = juce::Time::getCurrentTime();
        menu->mouseDown (juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), centre, {},
                                           0.0f, 0.0f, 0.0f, 0.0f, 0.0f, menu.get(), menu.get(), now,
                                           centre, now, 1, false));
    }

    std::unique_ptr<VeloraPresetMenu> menu = std::make_unique<VeloraPresetMenu> ("presetMenu_");
};

/** The top-level windows other than the preset bar's: the open menus, the first the root's. */
juce::Array<juce::Component*> openMenuWindows (const juce::Component& bar)
{
    juce::Array<juce::Component*> windows;
    auto& desktop = juce::Desktop::getInstance();

    for (int i = 0; i < desktop.getNumComponents(); ++i)
        if (auto* window = desktop.getComponent (i); window != &bar && window->isShowing())
            windows.add (window);

    return windows;
}

/** An open menu's window, which closes (is deleted) when the menu does. */
using MenuWindow = juce::Component::SafePointer<juce::Component>;

/** Presses a key in an open menu; false when the menu had already closed. */
bool pressKey (MenuWindow window, int keyCode)
{
    auto* component = window.getComponent();

    if (component == nullptr)
        return false;

    component->keyPressed (juce::KeyPress (keyCode));
    pumpMessages (50);
    return true;
}

/** Highlights a row of an open menu from the keyboard. The pointer stays on the
    preset name: leaving the window for the menu would let the window manager take
    the keyboard focus away, and JUCE closes a menu when its application loses it. */
bool highlightRow (MenuWindow window, int row)
{
    for (int i = 0; i <= row; ++i)
        if (! pressKey (window, juce::KeyPress::downKey))
            return false;

    return true;
}

class DisplayPresetMenu : public modulix_test::FolderTreeTest
{
protected:
    void SetUp() override
    {
        if (std::getenv ("DISPLAY") == nullptr)
            GTEST_SKIP() << "needs a display: run under tools/with-display.sh";

        addFile ("Clean/Soft.vmxp");
        addFile ("Clean/Wide.vmxp");
        addFile ("Live/Stage/Big.vmxp");
        addFile ("Live/Bright.vmxp");
        addFile ("Init.vmxp");
        addFile ("Warm.vmxp");
        bar = std::make_unique<PresetBarWindow> (root);

        ASSERT_TRUE (pumpUntil ([this] { return bar->getPeer() != nullptr && bar->isShowing(); }));
    }

    void TearDown() override
    {
        bar.reset();
        pumpMessages (50);
    }

    /** Runs steps in a freshly opened menu: steps (rootMenuWindow) returns true when
        they got through. Under Xvfb the keyboard focus sometimes still changes hands
        just after a window appears, which closes a menu on its own; the user then
        clicks again, and so do these tests (five times at most). */
    template <typename Steps>
    bool inOpenMenu (Steps&& steps)
    {
        for (int attempt = 0; attempt < 5; ++attempt)
        {
            if (const auto rootMenu = openMenu(); rootMenu != nullptr && steps (rootMenu))
                return true;

            juce::PopupMenu::dismissAllActiveMenus();
            pumpMessages (100);
        }

        return false;
    }

    /** The row of the root menu's first file, after its sub-menus. */
    int firstFileRow() const
    {
        int row = 0;
        for (juce::PopupMenu::MenuItemIterator items (bar->menu->getRootMenu()); items.next() && items.getItem().subMenu != nullptr;)
            ++row;
        return row;
    }

    /** One picture of the bar and its open menus, placed as on screen, under the snapshot folder. */
    void writePicture (const juce::String& name) const
    {
        auto windows = openMenuWindows (*bar);
        windows.insert (0, bar.get());
        auto area = bar->getScreenBounds();
        for (auto* window : windows)
            area = area.getUnion (window->getScreenBounds());

        juce::Image picture (juce::Image::ARGB, area.getWidth(), area.getHeight(), true);
        {
            juce::Graphics g (picture);
            g.fillAll (juce::Colour (0xff202124));

            for (auto* component : windows)
                g.drawImageAt (component->createComponentSnapshot (component->getLocalBounds()),
                               component->getScreenX() - area.getX(), component->getScreenY() - area.getY());
        }

        const juce::File snapshots (MODULIX_SNAPSHOT_DIR);
        snapshots.createDirectory();
        const auto file = snapshots.getChildFile (name + ".png");
        file.deleteFile();
        juce::FileOutputStream out (file);
        EXPECT_TRUE (juce::PNGImageFormat().writeImageToStream (picture, out));
    }

    std::unique_ptr<PresetBarWindow> bar;

private:
    /** A menu closes at once unless the application has the keyboard focus, as the
        host's window has when the user clicks into it. The window manager gives the
        focus to the window under the pointer, so the pointer rests on the name. */
    bool takeFocus()
    {
        return pumpUntil ([this]
        {
            juce::Desktop::setMousePosition (bar->menu->getScreenBounds().getCentre());
            bar->toFront (true);
            return bar->getPeer()->isFocused() && juce::Process::isForegroundProcess();
        });
    }

    MenuWindow openMenu()
    {
        if (! takeFocus())
            return {};

        pumpMessages (100);
        bar->click();
        pumpUntil ([this] { return openMenuWindows (*bar).size() == 1; });
        return openMenuWindows (*bar)[0];
    }
};
} // namespace

TEST_F (DisplayPresetMenu, OpenMenuWithASubMenuRendersToAPicture)
{
    bar->menu->setSelectedFilePath ("Clean/Wide.vmxp");

    ASSERT_TRUE (inOpenMenu ([this] (MenuWindow rootMenu)
    {
        return highlightRow (rootMenu, 0) && pressKey (rootMenu, juce::KeyPress::rightKey)
            && pumpUntil ([this] { return openMenuWindows (*bar).size() == 2; });
    }));

    writePicture ("preset_menu_open");
    EXPECT_EQ (bar->menu->getRootMenu().getNumItems(), 4) << "two folders and two files";
    juce::PopupMenu::dismissAllActiveMenus();
}

TEST_F (DisplayPresetMenu, AMenuCutByItsBoundsEndsWithADisabledItemSayingSo)
{
    juce::String deep = "Deep";
    for (int level = 1; level <= VeloraOptionMenuTree::maxDepth; ++level)
        deep << "/D" << level;
    addFile (deep + "/Bottom.vmxp");
    bar->menu->setSelectedFilePath ("Warm.vmxp");

    // The last file highlighted, just above the item that says the list is cut.
    const int lastFileRow = bar->menu->getRootMenu().getNumItems() - 2;
    ASSERT_TRUE (inOpenMenu ([&] (MenuWindow rootMenu)
    {
        if (! highlightRow (rootMenu, lastFileRow))
            return false;

        writePicture ("preset_menu_cut");
        return true;
    }));

    juce::PopupMenu::Item last;
    for (juce::PopupMenu::MenuItemIterator items (bar->menu->getRootMenu()); items.next();)
        last = items.getItem();

    EXPECT_EQ (last.text, VeloraOptionMenuTree::listCutText);
    EXPECT_FALSE (last.isEnabled);
    juce::PopupMenu::dismissAllActiveMenus();
}

TEST_F (DisplayPresetMenu, APickInTheOpenMenuReachesTheListenersAfterTheMenuCloses)
{
    juce::StringArray pathsHeard;
    modulix_test::LabelSpy spy ([&] (juce::Label&) { pathsHeard.add (bar->menu->getSelectedFilePath()); });
    bar->menu->addListener (&spy);
    bar->menu->setSelectedFilePath ("Init.vmxp");

    ASSERT_TRUE (inOpenMenu ([&] (MenuWindow rootMenu)
    {
        EXPECT_TRUE (pathsHeard.isEmpty()) << "mouseDown returns while the menu is open";
        return highlightRow (rootMenu, firstFileRow()) && pressKey (rootMenu, juce::KeyPress::returnKey);
    }));

    ASSERT_TRUE (pumpUntil ([&] { return pathsHeard.size() == 1; }));
    const auto picked = juce::File (bar->menu->getFilePath (bar->menu->getSelectedFileIndex() - 1));
    EXPECT_EQ (picked.getParentDirectory(), root);
    EXPECT_EQ (pathsHeard[0], picked.getFileName());
    EXPECT_EQ (bar->menu->getText(), picked.getFileNameWithoutExtension());
    EXPECT_TRUE (openMenuWindows (*bar).isEmpty());
    bar->menu->removeListener (&spy);
}

TEST_F (DisplayPresetMenu, DeletingTheMenuWhileItIsOpenClosesItSafely)
{
    ASSERT_TRUE (inOpenMenu ([this] (MenuWindow)
    {
        bar->menu.reset();
        return true;
    }));

    EXPECT_TRUE (pumpUntil ([this] { return openMenuWindows (*bar).isEmpty(); }));
}

TEST_F (DisplayPresetMenu, ARefreshWhileTheMenuIsOpenKeepsTheIdsItShows)
{
    const auto listFiles = [this]
    {
        juce::StringArray paths;
        for (int i = 0; i < bar->menu->getNumOfFiles() - 1; ++i)
            paths.add (bar->menu->getFilePath (i));
        return paths;
    };

    juce::StringArray shown, rebuilt;

    ASSERT_TRUE (inOpenMenu ([&] (MenuWindow rootMenu)
    {
        shown = listFiles();

        // The editor's timer re-selects while the user looks at the menu, and the first
        // preset has gone meanwhile: every id of the new build is one lower.
        const juce::File first (shown[0]);
        first.deleteFile();
        bar->menu->setSelectedFilePath ("Warm.vmxp");
        rebuilt = listFiles();

        if (highlightRow (rootMenu, firstFileRow()) && pressKey (rootMenu, juce::KeyPress::returnKey))
            return true;

        first.create();
        return false;
    }));
    ASSERT_TRUE (pumpUntil ([this] { return openMenuWindows (*bar).isEmpty(); }));

    const int id = bar->menu->getSelectedFileIndex();
    const auto selected = root.getChildFile (bar->menu->getSelectedFilePath()).getFullPathName();
    EXPECT_EQ (selected, shown[id - 1]);
    EXPECT_NE (selected, rebuilt[id - 1]);
    EXPECT_EQ (bar->menu->getText(), juce::File (selected).getFileNameWithoutExtension());
}
