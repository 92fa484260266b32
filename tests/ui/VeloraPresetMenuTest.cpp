#include "FolderTreeFixture.h"

#include "ModulixQR7150AudioProcessor.h"
#include "ModulixQR7150PatchXml.h"
#include "VeloraPresetMenu.h"

#include "../support/CraftedXmlTexts.h"

#include <sys/stat.h>

using modulix_test::FolderTreeTest;
using modulix_test::LabelSpy;

namespace
{
constexpr int depthIndex = 4;
constexpr float freshDepth = 0.2f;

/** A preset document that sets depth only, with the product id and preset version given. */
juce::String presetText (const juce::String& productId = "com.velora.ModulixQR7150",
                         const juce::String& presetVersion = "1.0",
                         const juce::String& rootTag = "veloraPatch")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<" + rootTag + " version=\"1.0\">\n"
           "  <DeviceName>Modulix QR7150</DeviceName>\n"
           "  <Properties deviceProductID=\"" + productId + "\" deviceVersion=\"1.0.1\" presetVersion=\"" + presetVersion + "\">\n"
           "    <Value property=\"depth\" type=\"number\">0.70000</Value>\n"
           "  </Properties>\n"
           "</" + rootTag + ">\n";
}

/** The pick of an open menu, which itself needs a display. */
struct PresetMenu final : VeloraPresetMenu
{
    PresetMenu() : VeloraPresetMenu ("presetMenu_") {}

    void pick (int itemId)
    {
        Listing shown { getRootFolder(), {}, {} };

        for (int i = 0; i < getNumOfFiles() - 1; ++i)
        {
            shown.filePaths.add (getFilePath (i));
            shown.fileNames.add (getFileName (i));
        }

        menuClosed (itemId, shown);
    }
};

class PresetMenuTest : public FolderTreeTest
{
protected:
    PresetMenuTest()
    {
        menu.setDirectoryPath (root.getFullPathName());
        menu.setFileExtension ("*.vmxp");
    }

    /** A preset file in the root saved from the processor's current setting. */
    juce::File savePreset (const juce::String& relativePath)
    {
        menu.writePreset (&processor, relativePath);
        return root.getChildFile (relativePath);
    }

    float depth()  { return processor.getParameter (depthIndex); }

    ModulixQR7150AudioProcessor processor;
    PresetMenu menu;
};
} // namespace

TEST_F (PresetMenuTest, TheChangedMarkerIsAppendedOnce)
{
    savePreset ("Wide.vmxp");
    ASSERT_EQ (menu.getText(), "Wide");

    menu.setPresetHasChanged();
    menu.setPresetHasChanged();

    EXPECT_EQ (menu.getText(), "Wide*");
}

TEST_F (PresetMenuTest, AMissingPresetShowsItsNameMarkedUntilItIsSaved)
{
    menu.setSelectedFilePath ("Init.vmxp");
    EXPECT_EQ (menu.getText(), "Init*");

    menu.setPresetHasChanged();
    EXPECT_EQ (menu.getText(), "Init*") << "the mark is already set";

    savePreset ("Init.vmxp");
    EXPECT_EQ (menu.getText(), "Init");
    EXPECT_EQ (menu.getSelectedFilePath(), "Init.vmxp");
}

TEST_F (PresetMenuTest, EverySelectionThatFindsItsFileClearsTheMarker)
{
    savePreset ("One.vmxp");
    savePreset ("Two.vmxp");
    menu.setSelectedFilePath ("One.vmxp");
    const int one = menu.getSelectedFileIndex();
    LabelSpy spy;
    menu.addListener (&spy);

    const std::pair<const char*, std::function<void()>> selections[] = {
        { "step forwards", [&] { menu.nextResult(); } },
        { "step backwards", [&] { menu.previousResult(); } },
        { "select by id", [&] { menu.setSelectedFileIndex (one); } },
        { "select by path", [&] { menu.setSelectedFilePath ("Two.vmxp"); } },
        { "pick", [&] { menu.pick (one); } },
    };

    for (const auto& [what, select] : selections)
    {
        menu.setPresetHasChanged();
        select();
        EXPECT_FALSE (menu.getText().endsWith ("*")) << what;

        menu.setPresetHasChanged();
        EXPECT_TRUE (menu.getText().endsWith ("*")) << what << " leaves the mark clear";
    }
}

TEST_F (PresetMenuTest, ARejectedIdKeepsTheMarker)
{
    savePreset ("One.vmxp");
    menu.setPresetHasChanged();

    menu.setSelectedFileIndex (2);

    EXPECT_EQ (menu.getText(), "One*");
}

TEST_F (PresetMenuTest, RepickingTheMarkedPresetTellsListenersSoItIsLoadedAgain)
{
    savePreset ("One.vmxp");
    LabelSpy spy;
    menu.addListener (&spy);
    menu.pick (1);
    ASSERT_EQ (spy.textsSeen.size(), 1);

    menu.setPresetHasChanged();
    menu.pick (1);

    EXPECT_EQ (spy.textsSeen.size(), 2);
    EXPECT_EQ (menu.getText(), "One");
}

TEST_F (PresetMenuTest, ComparingMarksOnlyASoundThatDiffersFromTheSelectedFile)
{
    savePreset ("Wide.vmxp");

    menu.compareAndMarkPreset (&processor);
    EXPECT_EQ (menu.getText(), "Wide");

    processor.setParameter (depthIndex, 0.3f);
    menu.compareAndMarkPreset (nullptr);
    EXPECT_EQ (menu.getText(), "Wide");

    menu.compareAndMarkPreset (&processor);
    EXPECT_EQ (menu.getText(), "Wide*");
}

TEST_F (PresetMenuTest, ComparingWithADeletedFileLeavesTheNameAsItIs)
{
    savePreset ("Wide.vmxp").deleteFile();
    processor.setParameter (depthIndex, 0.3f);

    menu.compareAndMarkPreset (&processor);

    EXPECT_EQ (menu.getText(), "Wide");
}

TEST_F (PresetMenuTest, ReadResultsTellWhatTheFileWas)
{
    struct ReadCase { const char* name; juce::String text; int result; bool loads; };
    const ReadCase cases[] = {
        { "Loaded.vmxp", presetText(), 1, true },
        { "Newer.vmxp", presetText ("com.velora.ModulixQR7150", "2.0"), 4, true },
        { "Other.vmxp", presetText ("com.other.Chorus"), 2, false },
        { "OtherRoot.vmxp", presetText ("com.velora.ModulixQR7150", "1.0", "otherPatch"), 0, false },
        { "NoProperties.vmxp", "<veloraPatch version=\"1.0\"><DeviceName/></veloraPatch>", 0, false },
        { "NotXml.vmxp", "just some text", 0, false },
        { "Empty.vmxp", {}, 0, false },
        { "Entity.vmxp", "<!DOCTYPE x [<!ENTITY e \"e\">]><veloraPatch/>", 0, false },
    };

    for (const auto& c : cases)
    {
        addFile (c.name, c.text);
        processor.setParameter (depthIndex, freshDepth);

        EXPECT_EQ (menu.readPreset (&processor, c.name), c.result) << c.name;
        EXPECT_FLOAT_EQ (depth(), c.loads ? 0.7f : freshDepth) << c.name;
    }
}

// JUCE's reader takes overlong UTF-8 for the characters it spells, on which it
// never finishes or overflows the stack: only strict UTF-8 is read or compared.
TEST_F (PresetMenuTest, FilesThatAreNotStrictUtf8ReadAsNothingAndCompareWithoutHanging)
{
    using CraftedXmlTexts::Form;
    GTEST_FLAG_SET (death_test_style, "threadsafe");
    const auto crafted = root.getChildFile ("Crafted.vmxp");

    // In a child process, so that a read that hangs or crashes fails this test only.
    EXPECT_EXIT (
        {
            CraftedXmlTexts::boundHangs();
            const bool held = CraftedXmlTexts::holdsForEach (Form::preset, [&] (const std::string& bytes)
            {
                crafted.replaceWithData (bytes.data(), bytes.size());
                menu.setSelectedFilePath ("Crafted.vmxp");
                menu.compareAndMarkPreset (&processor);
                return menu.readPreset (&processor, "Crafted.vmxp") == 0 && depth() == freshDepth;
            });

            scratch.deleteRecursively (false);
            CraftedXmlTexts::exitChild (held);
        },
        ::testing::ExitedWithCode (0), "");

    const auto multiByte = CraftedXmlTexts::multiByteDocument (Form::preset);
    crafted.replaceWithData (multiByte.data(), multiByte.size());
    EXPECT_EQ (menu.readPreset (&processor, "Crafted.vmxp"), 1);
    EXPECT_FLOAT_EQ (depth(), 0.7f);
}

TEST_F (PresetMenuTest, ReadingWhatIsNoPresetFileGivesNothingAndCallsNoProcessor)
{
    addFile ("Good.vmxp", presetText());
    addFolder ("Folder.vmxp");
    ASSERT_EQ (::mkfifo (root.getChildFile ("Pipe.vmxp").getFullPathName().toRawUTF8(), 0600), 0);
    addLink ("Device.vmxp", juce::File ("/dev/zero"));

    for (const auto* path : { "Missing.vmxp", "Folder.vmxp", "Pipe.vmxp", "Device.vmxp", "" })
    {
        EXPECT_EQ (menu.readPreset (&processor, path), 0) << path;
        EXPECT_FLOAT_EQ (depth(), freshDepth) << path;
    }

    EXPECT_EQ (menu.readPreset (nullptr, "Good.vmxp"), 0);
}

TEST_F (PresetMenuTest, RelativeFullAndBackslashPathsReadTheSameFile)
{
    addFile ("Live/Deep/Wide.vmxp", presetText());

    for (const auto& path : { juce::String ("Live/Deep/Wide.vmxp"),
                              juce::String ("Live\\Deep\\Wide.vmxp"),
                              root.getChildFile ("Live/Deep/Wide.vmxp").getFullPathName(),
                              juce::String ("Live/../Live/Deep/Wide.vmxp") })
    {
        processor.setParameter (depthIndex, freshDepth);
        EXPECT_EQ (menu.readPreset (&processor, path), 1) << path;
        EXPECT_FLOAT_EQ (depth(), 0.7f) << path;
    }
}

TEST_F (PresetMenuTest, PathsLeadingOutOfThePresetFolderReadNothing)
{
    // Host state is untrusted: a project may carry any text as a preset path.
    const auto outside = scratch.getChildFile ("Outside.vmxp");
    outside.replaceWithText (presetText());
    const auto sibling = scratch.getChildFile (root.getFileName() + "Evil/Sibling.vmxp");
    sibling.getParentDirectory().createDirectory();
    sibling.replaceWithText (presetText());

    const juce::String paths[] = {
        "../Outside.vmxp",
        "..\\Outside.vmxp",
        "Sub/../../Outside.vmxp",
        "./../Outside.vmxp",
        "Sub/../../" + root.getFileName() + "Evil/Sibling.vmxp",
        outside.getFullPathName(),
        root.getFullPathName() + "/../Outside.vmxp",
        root.getFullPathName() + "/Sub/../../Outside.vmxp",
        root.getFullPathName() + "Evil/Sibling.vmxp",   // holds the preset folder's path as text
        "//" + outside.getFullPathName(),
        "~/" + outside.getRelativePathFrom (juce::File::getSpecialLocation (juce::File::userHomeDirectory)),
    };

    for (const auto& path : paths)
    {
        EXPECT_EQ (menu.readPreset (&processor, path), 0) << path;
        EXPECT_FLOAT_EQ (depth(), freshDepth) << path;

        menu.setSelectedFilePath (path);
        processor.setParameter (depthIndex, 0.5f);
        const auto shown = menu.getText();
        menu.compareAndMarkPreset (&processor);
        EXPECT_EQ (menu.getText(), shown) << path << ": nothing to compare with";
        processor.setParameter (depthIndex, freshDepth);
    }
}

TEST_F (PresetMenuTest, WritingCreatesMissingFoldersAndSelectsTheFile)
{
    processor.setParameter (depthIndex, 0.7f);

    menu.writePreset (&processor, "Sub/New.vmxp");

    EXPECT_TRUE (root.getChildFile ("Sub/New.vmxp").existsAsFile());
    EXPECT_EQ (menu.getSelectedFilePath(), "Sub/New.vmxp");
    EXPECT_EQ (menu.getText(), "New");

    processor.setParameter (depthIndex, freshDepth);
    EXPECT_EQ (menu.readPreset (&processor, "Sub/New.vmxp"), 1);
    EXPECT_FLOAT_EQ (depth(), 0.7f);
}

TEST_F (PresetMenuTest, WritingToAFullPathSelectsItRelativeToThePresetFolder)
{
    addFolder ("Live");
    menu.setSelectedFilePath ("Init.vmxp");

    menu.writePreset (&processor, root.getChildFile ("Live/Wide.vmxp").getFullPathName());

    EXPECT_EQ (menu.getSelectedFilePath(), "Live/Wide.vmxp");
    EXPECT_EQ (menu.getText(), "Wide");
    EXPECT_EQ (menu.getFilePath (menu.getSelectedFileIndex() - 1), root.getChildFile ("Live/Wide.vmxp").getFullPathName());
}

TEST_F (PresetMenuTest, WritingOutsideThePresetFolderWritesNothingAndShowsTheMarker)
{
    const auto outside = scratch.getChildFile ("Outside.vmxp");

    for (const auto& path : { juce::String ("../Outside.vmxp"), outside.getFullPathName() })
    {
        menu.writePreset (&processor, path);

        EXPECT_FALSE (outside.exists()) << path;
        EXPECT_EQ (menu.getText(), "Outside*") << path;
    }
}

TEST_F (PresetMenuTest, WithoutAProcessorNothingIsWritten)
{
    menu.setSelectedFilePath ("Init.vmxp");

    menu.writePreset (nullptr, "New.vmxp");

    EXPECT_FALSE (root.getChildFile ("New.vmxp").exists());
    EXPECT_EQ (menu.getText(), "Init*");
}

TEST_F (PresetMenuTest, ASavedPresetComparesEqualUntilTheSoundChanges)
{
    processor.setParameter (depthIndex, 0.45f);
    savePreset ("Live/Wide.vmxp");

    const auto saved = ModulixQR7150PatchXml::parseFile (root.getChildFile ("Live/Wide.vmxp"));
    ASSERT_NE (saved, nullptr);
    EXPECT_EQ (saved->getTagName(), "veloraPatch");

    menu.compareAndMarkPreset (&processor);
    EXPECT_EQ (menu.getText(), "Wide");
}
