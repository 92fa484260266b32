#include "DialogTestSupport.h"

#include "ModulixQR7150AudioProcessor.h"
#include "ModulixQR7150PatchXml.h"
#include "VeloraOverwriteComponent.h"
#include "VeloraPresetBrowser.h"
#include "VeloraPresetFolder.h"
#include "VeloraPresetMenu.h"

#include <cstdio>

using namespace modulix_test;

namespace
{
/** The editor's side of saving: the processor, its preset menu and the save
    browser over a window, on a small preset tree. */
class PresetBrowserTest : public DialogTest
{
protected:
    PresetBrowserTest()
    {
        writeFile (root.getChildFile ("Warm.vmxp"), oldText);
        writeFile (root.getChildFile ("Live/Stage.vmxp"), oldText);
        writeFile (root.getChildFile ("readme.txt"));
        root.getChildFile ("Studio").createDirectory();
        createBrowser();
    }

    ~PresetBrowserTest() override
    {
        overwriteBox.reset();
        browser.reset();
        menu.reset();
    }

    void createBrowser()
    {
        menu = std::make_unique<VeloraPresetMenu> ("presetMenu_");
        menu->setDirectoryPath (root.getFullPathName());
        menu->setFileExtension ("*.vmxp");
        window.addAndMakeVisible (*menu);

        browser = std::make_unique<VeloraPresetBrowser> ("savePresetBrowser_", "Save", root, "*.vmxp", 5, 1, 5, 3, 8,
                                                         &processor, menu.get());
        window.addChildComponent (*browser);
        browser->needChangeParentModal (false);
        browser->setBounds (0, 0, 325, 454);
    }

    juce::FileBrowserComponent& files() { return *findChild<juce::FileBrowserComponent> (*browser); }
    juce::Button& button (const char* name) { return *findChild<juce::Button> (*browser, name); }
    VeloraOverwriteComponent& question() { return *findChild<VeloraOverwriteComponent> (*browser, "overwriteComponent_"); }
    juce::String textOf (juce::Component& box) { return findChild<juce::Label> (box, "titleText_")->getText(); }

    /** Types a name into the browser's name box and lets the timer judge it. */
    void type (const juce::String& name)
    {
        files().setFileName (name);
        browser->timerCallback();
    }

    /** OK as the browser's listener hears it, even when the timer has dimmed it. */
    void pressOk() { browser->buttonClicked (&button ("OK")); }

    juce::String activePresetPath()
    {
        const auto& program = processor.programs[processor.currentProgram];
        return program.presetPath[program.activeChannel];
    }

    /** True when the file holds exactly the processor's current setting. */
    bool holdsCurrentSetting (const juce::File& file)
    {
        const auto written = ModulixQR7150PatchXml::parseFile (file);
        const auto expected = processor.writePreset (true);
        return written != nullptr && written->isEquivalentTo (&expected, false);
    }

    /** Every file below the home folder with its text, to see that nothing changed anywhere. */
    juce::StringPairArray everything() const { return everythingBelow (home); }

    const juce::String oldText { "old contents" };
    const juce::File root = presetRoot();
    ModulixQR7150AudioProcessor processor;
    std::unique_ptr<VeloraPresetMenu> menu;
    std::unique_ptr<VeloraPresetBrowser> browser;
    std::unique_ptr<VeloraOverwriteComponent> overwriteBox;
};
} // namespace

TEST_F (PresetBrowserTest, SavesANewFileRecordsItAndCloses)
{
    struct Case
    {
        const char* typed;
        int setting;
        const char* saved;
    };
    const Case cases[] = {
        { "Wide", 0, "Wide.vmxp" },
        { "Wide.vmxp", 1, "Wide.vmxp" },
        { "Wide.VMXP", 0, "Wide.VMXP.vmxp" },
        { "Live/Name", 1, "Live/Name.vmxp" },
        { "New/Deep/Name", 0, "New/Deep/Name.vmxp" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.typed);
        root.getChildFile ("Wide.vmxp").deleteFile();
        processor.programs[0].activeChannel = c.setting;
        processor.setParameter (4, 0.1f * static_cast<float> (c.setting + 3));

        browser->show();
        type (c.typed);
        EXPECT_TRUE (isUsable (button ("OK")));
        pressOk();

        const auto file = root.getChildFile (c.saved);
        EXPECT_TRUE (holdsCurrentSetting (file));
        EXPECT_EQ (activePresetPath(), c.saved);
        EXPECT_EQ (menu->getText(), file.getFileNameWithoutExtension());
        EXPECT_FALSE (browser->isVisible());
        EXPECT_EQ (countModalComponents(), 0);
    }
}

TEST_F (PresetBrowserTest, SavesIntoTheSubFolderItShows)
{
    browser->show();
    files().setRoot (root.getChildFile ("Live"));
    type ("Name");
    EXPECT_TRUE (isUsable (button ("OK")));
    EXPECT_TRUE (isUsable (button ("New Folder")));
    pressOk();

    EXPECT_TRUE (holdsCurrentSetting (root.getChildFile ("Live/Name.vmxp")));
    EXPECT_EQ (activePresetPath(), "Live/Name.vmxp");
}

TEST_F (PresetBrowserTest, OverwritingAsksFirstCancelReturnsAndOkWritesAndClosesBoth)
{
    const auto warm = root.getChildFile ("Warm.vmxp");
    processor.setParameter (5, 0.9f);
    browser->show();
    type ("Warm");
    pressOk();

    ASSERT_TRUE (question().isVisible());
    EXPECT_TRUE (question().isCurrentlyModal (false));
    EXPECT_FALSE (browser->isCurrentlyModal (false));
    EXPECT_EQ (textOf (question()), "Are you sure you want to overwrite this preset?\n\n\"Warm.vmxp\"");
    EXPECT_TRUE (findChild<juce::Button> (question(), "CANCEL")->isVisible());
    EXPECT_EQ (warm.loadFileAsString(), oldText);
    saveSnapshot (*browser, "preset_browser_overwrite_question");

    click (*findChild<juce::Button> (question(), "CANCEL"));
    EXPECT_FALSE (question().isVisible());
    EXPECT_TRUE (browser->isCurrentlyModal (false));
    EXPECT_EQ (warm.loadFileAsString(), oldText);
    EXPECT_EQ (activePresetPath(), "Init.vmxp");

    pressOk();
    click (*findChild<juce::Button> (question(), "OK"));

    EXPECT_TRUE (holdsCurrentSetting (warm));
    EXPECT_EQ (activePresetPath(), "Warm.vmxp");
    EXPECT_FALSE (question().isVisible());
    EXPECT_FALSE (browser->isVisible());
    EXPECT_EQ (countModalComponents(), 0);
    EXPECT_TRUE (deliverPostedMessages());
    EXPECT_EQ (countModalComponents(), 0);
}

TEST_F (PresetBrowserTest, ANameLeadingOutOfThePresetFolderIsNeitherSavedNorRecorded)
{
    writeFile (root.getSiblingFile ("ModulixQR7150-old").getChildFile ("x.vmxp"), oldText);
    const auto caseVariant = root.getFullPathName().replace ("Audio Music Apps", "audio music apps");
    juce::File (caseVariant).createDirectory();

    const juce::String names[] = {
        "",
        "../x",
        "../ModulixQR7150-old/x.vmxp",
        root.getSiblingFile ("ModulixQR7150-old").getChildFile ("x.vmxp").getFullPathName(),
        root.getSiblingFile ("ModulixQR7150-old").getChildFile ("new").getFullPathName(),
        home.getChildFile ("x").getFullPathName(),
        caseVariant + "/x",
        "Live/../../x",
    };

    browser->show();
    const auto before = everything();

    for (const auto& name : names)
    {
        SCOPED_TRACE (name);
        type (name);
        EXPECT_TRUE (isDimmed (button ("OK")));
        pressOk();

        EXPECT_TRUE (browser->isCurrentlyModal (false));
        EXPECT_FALSE (question().isVisible());
        EXPECT_EQ (activePresetPath(), "Init.vmxp");
        EXPECT_EQ (everything(), before);
    }
}

TEST_F (PresetBrowserTest, ANameHoldingABackslashIsNotOfferedNorSaved)
{
    // Stored paths read a backslash as a separator: no path could name such a file.
    browser->show();
    type ("a\\b");
    EXPECT_TRUE (isDimmed (button ("OK")));

    pressOk();
    EXPECT_FALSE (root.getChildFile ("a\\b.vmxp").exists());
    EXPECT_FALSE (root.getChildFile ("a").exists());
    EXPECT_EQ (activePresetPath(), "Init.vmxp");
    EXPECT_TRUE (browser->isVisible());
    browser->hide();
}

TEST_F (PresetBrowserTest, AFolderHoldingNamesThatAreNotStrictUtf8ListsTheOthers)
{
    // Each of these reads in JUCE as another name or none (an overlong '/' splits
    // it, a lone 0x80 ends it), and making a String of one overran its buffer.
    writeFile (root.getChildFile (juce::String::fromUTF8 ("Caf\xC3\xA9.vmxp")));
    const auto rootPath = root.getFullPathName().toStdString() + "/";

    for (const char* name : { "\x80lone and a long tail to leave the small buffer.vmxp",
                              "over\xC0\xAFslash.vmxp", "cut\xE2\x82.vmxp", "far\xF4\x90\x80\x80.vmxp" })
        std::fclose (std::fopen ((rootPath + name).c_str(), "w"));

    browser->show();
    auto* list = findChild<juce::FileListComponent> (*browser);
    ASSERT_NE (list, nullptr);
    const auto& contents = list->directoryContentsList;
    ASSERT_TRUE (pumpUntil ([&] { return ! contents.isStillLoading() && countListedRows (*browser) == contents.getNumFiles(); },
                            generousWaitMs));

    juce::StringArray listed;
    for (int i = 0; i < contents.getNumFiles(); ++i)
        listed.add (contents.getFile (i).getFileName());

    listed.sort (false);
    EXPECT_EQ (listed.joinIntoString (" "), juce::String::fromUTF8 ("Caf\xC3\xA9.vmxp Live Studio Warm.vmxp"));
    browser->hide();
}

TEST_F (PresetBrowserTest, BrowsingAboveThePresetFolderDimsOkAndNewFolder)
{
    browser->show();
    files().setRoot (root.getParentDirectory());
    type ("Name");

    EXPECT_TRUE (isDimmed (button ("OK")));
    EXPECT_TRUE (isDimmed (button ("New Folder")));

    browser->createNewFolder();
    EXPECT_FALSE (findChild<VeloraNewFolderComponent> (*browser)->isVisible());
    EXPECT_TRUE (browser->isCurrentlyModal (false));
}

TEST_F (PresetBrowserTest, AFailedWriteIsReportedKeepsEveryFileAndTheActivePreset)
{
    // The disk takes no name longer than 255 bytes, nor a file where a folder stands.
    root.getChildFile ("Block.vmxp").createDirectory();
    menu->setSelectedFilePath ("Warm.vmxp");
    menu->setPresetHasChanged();
    const auto shown = menu->getText();
    const auto before = everything();

    for (const auto& name : { juce::String::repeatedString ("b", 300), juce::String ("Block") })
    {
        SCOPED_TRACE (name.length());
        browser->show();
        type (name);
        EXPECT_TRUE (isUsable (button ("OK")));
        pressOk();

        ASSERT_TRUE (question().isVisible());
        EXPECT_TRUE (textOf (question()).startsWith (VeloraOverwriteComponent::saveFailedMessage));
        EXPECT_FALSE (findChild<juce::Button> (question(), "CANCEL")->isVisible());
        EXPECT_EQ (everything(), before);
        EXPECT_EQ (activePresetPath(), "Init.vmxp");
        EXPECT_EQ (menu->getText(), shown) << "the label keeps the preset that is active";
        if (name.length() == 300)
            saveSnapshot (*browser, "preset_browser_save_failed");

        click (*findChild<juce::Button> (question(), "OK"));
        EXPECT_FALSE (question().isVisible());
        EXPECT_TRUE (browser->isCurrentlyModal (false));
        browser->hide();
    }
    EXPECT_EQ (countModalComponents(), 0);
}

TEST_F (PresetBrowserTest, EditorsOverwriteBoxWritesOnlyInsideThePresetFolder)
{
    overwriteBox = std::make_unique<VeloraOverwriteComponent> ("overwritePresetComponent_", &processor, menu.get());
    window.addChildComponent (*overwriteBox);
    overwriteBox->setBounds (0, 0, 325, 454);

    // Paths as a host's project may carry them, resolved as the editor does.
    const auto outside = writeFile (home.getChildFile ("outside.vmxp"), oldText);
    const auto sibling = writeFile (root.getSiblingFile ("ModulixQR7150-old").getChildFile ("x.vmxp"), oldText);
    for (const auto& hostPath : { juce::String ("../../../../../outside.vmxp"), outside.getFullPathName(),
                                  sibling.getFullPathName(), juce::String ("../ModulixQR7150-old/x.vmxp") })
    {
        SCOPED_TRACE (hostPath);
        const auto before = everything();
        overwriteBox->presetFile = root.getChildFile (hostPath);
        overwriteBox->show (2, 1);
        click (*findChild<juce::Button> (*overwriteBox, "OK"));

        EXPECT_EQ (everything(), before);
        EXPECT_EQ (activePresetPath(), "Init.vmxp");
        EXPECT_TRUE (textOf (*overwriteBox).startsWith (VeloraOverwriteComponent::saveFailedMessage));
        click (*findChild<juce::Button> (*overwriteBox, "OK"));
        EXPECT_FALSE (overwriteBox->isVisible());
    }

    overwriteBox->presetFile = root.getChildFile ("Warm.vmxp");
    overwriteBox->show (2, 1);
    click (*findChild<juce::Button> (*overwriteBox, "OK"));

    EXPECT_TRUE (holdsCurrentSetting (root.getChildFile ("Warm.vmxp")));
    EXPECT_EQ (activePresetPath(), "Warm.vmxp");
    EXPECT_EQ (menu->getText(), "Warm");
    EXPECT_FALSE (overwriteBox->isVisible());
    EXPECT_EQ (countModalComponents(), 0);
}

TEST_F (PresetBrowserTest, FirstSaveAsOnANewMachineOpensInsideTheNewFolder)
{
    browser.reset();
    root.getParentDirectory().getParentDirectory().getParentDirectory().deleteRecursively();
    createBrowser();

    VeloraPresetFolder::getRoot().createDirectory();
    browser->show();

    EXPECT_EQ (files().getRoot(), root);
    type ("First");
    EXPECT_TRUE (isUsable (button ("OK")));
    EXPECT_TRUE (isUsable (button ("New Folder")));
    pressOk();
    EXPECT_TRUE (holdsCurrentSetting (root.getChildFile ("First.vmxp")));
}

TEST_F (PresetBrowserTest, NewFolderChainReturnsToTheBrowserAndLeavesNothingModal)
{
    browser->show();
    click (button ("New Folder"));
    auto& newFolder = *findChild<VeloraNewFolderComponent> (*browser);
    ASSERT_TRUE (newFolder.isCurrentlyModal (false));
    EXPECT_FALSE (browser->isCurrentlyModal (false));

    findChild<juce::TextEditor> (newFolder, "textEditor_")->setText ("Live");
    newFolder.timerCallback();
    click (*findChild<juce::Button> (newFolder, "OK"));
    auto& message = *findChild<VeloraAlertComponent> (newFolder, "alertComponent_");
    ASSERT_TRUE (message.isCurrentlyModal (false));
    EXPECT_EQ (textOf (message), VeloraNewFolderComponent::nameTakenMessage);
    EXPECT_EQ (countModalComponents(), 1);
    saveSnapshot (*browser, "preset_browser_new_folder_name_taken");

    click (*findChild<juce::Button> (message, "OK"));
    EXPECT_TRUE (newFolder.isCurrentlyModal (false));

    findChild<juce::TextEditor> (newFolder, "textEditor_")->setText ("Festival");
    newFolder.timerCallback();
    saveSnapshot (*browser, "preset_browser_new_folder");
    click (*findChild<juce::Button> (newFolder, "OK"));
    EXPECT_TRUE (root.getChildFile ("Festival").isDirectory());
    EXPECT_TRUE (browser->isCurrentlyModal (false));
    EXPECT_EQ (files().getRoot(), root);

    click (button ("CANCEL"));
    EXPECT_FALSE (browser->isVisible());
    EXPECT_TRUE (deliverPostedMessages());
    EXPECT_EQ (countModalComponents(), 0);
}

TEST_F (PresetBrowserTest, DeletingTheEditorWithTheQuestionOpenLeavesNothingModal)
{
    browser->show();
    type ("Warm");
    pressOk();
    ASSERT_TRUE (question().isCurrentlyModal (false));

    browser.reset();
    EXPECT_TRUE (deliverPostedMessages());
    EXPECT_EQ (countModalComponents(), 0);
}

TEST_F (PresetBrowserTest, Snapshot)
{
    browser->show();
    ASSERT_TRUE (waitForListing (*browser, 3));
    type ("Chorus Wide");
    saveSnapshot (*browser, "preset_browser");
}
