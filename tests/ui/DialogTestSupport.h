#pragma once

#include "../MessagePump.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace modulix_test
{

/** The first descendant of that class and component name (any name when empty). */
template <typename ComponentType = juce::Component>
ComponentType* findChild (juce::Component& parent, const juce::String& name = {})
{
    for (auto* child : parent.getChildren())
    {
        if (auto* typed = dynamic_cast<ComponentType*> (child); typed != nullptr
                                                                && (name.isEmpty() || child->getName() == name))
            return typed;
        if (auto* found = findChild<ComponentType> (*child, name))
            return found;
    }
    return nullptr;
}

/** Clicks a button the way JUCE delivers triggerClick: later, and only when enabled. */
inline void click (juce::Button& button)
{
    button.triggerClick();
    pumpMessages (20);
}

/** Writes a picture of the component (children included) as PNG for looking at. */
inline void saveSnapshot (juce::Component& component, const juce::String& name)
{
    const auto folder = juce::File (MODULIX_SNAPSHOT_DIR);
    folder.createDirectory();
    const auto file = folder.getChildFile (name + ".png");
    file.deleteFile();

    juce::FileOutputStream out (file);
    ASSERT_TRUE (out.openedOk()) << file.getFullPathName();
    juce::PNGImageFormat().writeImageToStream (component.createComponentSnapshot (component.getLocalBounds()), out);
}

/** Two pictures of the same size and the same pixels. */
inline bool samePixels (const juce::Image& a, const juce::Image& b)
{
    if (a.getBounds() != b.getBounds())
        return false;
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
            if (a.getPixelAt (x, y) != b.getPixelAt (x, y))
                return false;
    return true;
}

/** A dialog button is usable at full opacity, or disabled at half (stored in 8 bits). */
inline bool isUsable (const juce::Button& button)
{
    return button.isEnabled() && std::abs (button.getAlpha() - 1.0f) < 0.01f;
}

inline bool isDimmed (const juce::Button& button)
{
    return ! button.isEnabled() && std::abs (button.getAlpha() - 0.5f) < 0.01f;
}

/** The number of rows the JUCE file list inside a dialog shows. */
inline int countListedRows (juce::Component& dialog)
{
    auto* list = findChild<juce::ListBox> (dialog);
    return list != nullptr && list->getModel() != nullptr ? list->getModel()->getNumRows() : -1;
}

/** Lets the browser's scanning thread list a folder of that many entries. */
inline bool waitForListing (juce::Component& dialog, int expectedRows)
{
    return pumpUntil ([&] { return countListedRows (dialog) == expectedRows; });
}

inline int countModalComponents()
{
    return juce::Component::getNumCurrentlyModalComponents();
}

/** A home folder of the test's own under the suite's temporary HOME (tests run
    in parallel), with JUCE's message manager, and a window-sized owner with the
    editor's look and feel to lay dialogs over. */
class DialogTest : public ::testing::Test
{
protected:
    DialogTest()
        : previousHome (juce::SystemStats::getEnvironmentVariable ("HOME", {})),
          home (juce::File (previousHome).getChildFile ("dialogs")
                    .getChildFile (juce::String (testInfo().test_suite_name()) + "." + testInfo().name())
                    .getNonexistentSibling())
    {
        home.deleteRecursively();
        home.createDirectory();
        ::setenv ("HOME", home.getFullPathName().toRawUTF8(), 1);

        window.setLookAndFeel (&lookAndFeel);
        window.setSize (325, 454);
    }

    ~DialogTest() override
    {
        window.setLookAndFeel (nullptr);
        home.deleteRecursively();
        ::setenv ("HOME", previousHome.toRawUTF8(), 1);
    }

    /** The preset folder as the plug-in computes it, under this test's home. */
    static juce::File presetRoot()
    {
        return juce::File::getSpecialLocation (juce::File::userMusicDirectory)
            .getChildFile ("Audio Music Apps")
            .getChildFile ("Velora/Presets/ModulixQR7150");
    }

    static juce::File writeFile (const juce::File& file, const juce::String& text = "x")
    {
        file.getParentDirectory().createDirectory();
        file.replaceWithText (text);
        return file;
    }

    static const ::testing::TestInfo& testInfo()
    {
        return *::testing::UnitTest::GetInstance()->current_test_info();
    }

    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    const juce::String previousHome;
    const juce::File home;
    juce::LookAndFeel_V3 lookAndFeel;
    juce::Component window;
};

} // namespace modulix_test
