#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include "../support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace modulix_test
{

/** The regular files matching a pattern in the order a folder-tree menu must number
    them, taken from the file system's own listing: each sub-folder's (recursively)
    before the folder's own files, both in listing order. */
inline juce::StringArray listInPostOrder (const juce::File& folder, const juce::String& pattern)
{
    juce::StringArray subFolders, files;

    for (const auto& entry : std::filesystem::directory_iterator (folder.getFullPathName().toStdString()))
    {
        const auto name = juce::String::fromUTF8 (entry.path().filename().c_str());

        if (entry.is_directory())
            subFolders.add (name);
        else if (entry.is_regular_file() && name.matchesWildcard (pattern, false))
            files.add (folder.getChildFile (name).getFullPathName());
    }

    juce::StringArray paths;

    for (const auto& name : subFolders)
        paths.addArray (listInPostOrder (folder.getChildFile (name), pattern));

    paths.addArray (files);
    return paths;
}

/** A fresh folder under the test HOME for one test's files, removed afterwards.
    Tests run in parallel processes that share HOME, so each gets its own. */
class FolderTreeTest : public ::testing::Test
{
protected:
    FolderTreeTest()
    {
        root.createDirectory();
    }

    /** Creates a file with that text at a path relative to the root, with its folders. */
    juce::File addFile (const juce::String& relativePath, const juce::String& text = {}) const
    {
        const auto file = root.getChildFile (relativePath);
        file.getParentDirectory().createDirectory();
        file.replaceWithText (text);
        return file;
    }

    juce::File addFolder (const juce::String& relativePath) const
    {
        const auto folder = root.getChildFile (relativePath);
        folder.createDirectory();
        return folder;
    }

    /** A symbolic link at a path relative to the root, pointing at target. */
    void addLink (const juce::String& relativePath, const juce::File& target) const
    {
        ASSERT_TRUE (target.createSymbolicLink (root.getChildFile (relativePath), false));
    }

    /** The names of a folder's sub-folders, or of its regular files, in the file
        system's listing order. */
    static juce::StringArray listNames (const juce::File& folder, bool directories)
    {
        juce::StringArray names;

        for (const auto& entry : std::filesystem::directory_iterator (folder.getFullPathName().toStdString()))
            if (directories ? entry.is_directory() : entry.is_regular_file())
                names.add (juce::String::fromUTF8 (entry.path().filename().c_str()));

        return names;
    }

    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    const modulix_test::TemporaryFolder scratchFolder { testName(), juce::File::getSpecialLocation (juce::File::userHomeDirectory)
                                                                        .getChildFile ("menu-tests") };
    const juce::File scratch = scratchFolder.getFile();
    const juce::File root = scratch.getChildFile ("Presets");

private:
    static juce::String testName()
    {
        const auto& test = *::testing::UnitTest::GetInstance()->current_test_info();
        return juce::String (test.test_suite_name()) + "." + test.name();
    }
};

/** Counts labelTextChanged calls and records what the label held at each. */
struct LabelSpy final : juce::Label::Listener
{
    explicit LabelSpy (std::function<void (juce::Label&)> onChangeToUse = {})
        : onChange (std::move (onChangeToUse)) {}

    void labelTextChanged (juce::Label* label) override
    {
        textsSeen.add (label->getText());
        if (onChange)
            onChange (*label);
    }

    std::function<void (juce::Label&)> onChange;
    juce::StringArray textsSeen;
};

} // namespace modulix_test
