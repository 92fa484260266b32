#pragma once

#include "../MessagePump.h"
#include "../TestHome.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

#include <cmath>

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

/** Clicks a button the way JUCE delivers triggerClick: later, and only when
    enabled; returns once the click has arrived. */
inline void click (juce::Button& button)
{
    button.triggerClick();
    EXPECT_TRUE (deliverPostedMessages());
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

/** True when the first row of the file list inside a dialog paints more than
    its background. */
inline bool paintsFirstRow (juce::Component& dialog)
{
    auto* list = findChild<juce::ListBox> (dialog);
    const auto row = list->getRowPosition (0, true);

    if (row.isEmpty())
        return false;

    const auto picture = list->createComponentSnapshot (row);
    const auto background = picture.getPixelAt (0, 0);

    for (int y = 0; y < picture.getHeight(); ++y)
        for (int x = 0; x < picture.getWidth(); ++x)
            if (picture.getPixelAt (x, y) != background)
                return true;

    return false;
}

/** Lets the browser's scanning thread list a folder of that many entries, and
    the list, told of them by messages, paint them. */
inline bool waitForListing (juce::Component& dialog, int expectedRows)
{
    return pumpUntil ([&] {
        return countListedRows (dialog) == expectedRows && (expectedRows <= 0 || paintsFirstRow (dialog));
    });
}

/** Every entry below a folder with its text, to see that nothing changed anywhere. */
inline juce::StringPairArray everythingBelow (const juce::File& folder)
{
    juce::StringPairArray entries;
    for (const auto& entry : juce::RangedDirectoryIterator (folder, true, "*", juce::File::findFilesAndDirectories))
        entries.set (entry.getFile().getFullPathName(), entry.isDirectory() ? "<dir>" : entry.getFile().loadFileAsString());
    return entries;
}

inline int countModalComponents()
{
    return juce::Component::getNumCurrentlyModalComponents();
}

/** A window-sized owner with the editor's look and feel to lay dialogs over, in
    a home folder of the test's own, with JUCE's message manager. */
class DialogTest : public ::testing::Test,
                   protected TestHome
{
protected:
    DialogTest() : TestHome ("dialogs")
    {
        window.setLookAndFeel (&lookAndFeel);
        window.setSize (325, 454);
    }

    ~DialogTest() override
    {
        window.setLookAndFeel (nullptr);
    }

    static juce::File writeFile (const juce::File& file, const juce::String& text = "x")
    {
        file.getParentDirectory().createDirectory();
        file.replaceWithText (text);
        return file;
    }

    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    juce::LookAndFeel_V3 lookAndFeel;
    juce::Component window;
};

} // namespace modulix_test
