#include "DialogTestSupport.h"

#include "VeloraNewFolderComponent.h"

using namespace modulix_test;

namespace
{
class NewFolderTest : public DialogTest
{
protected:
    NewFolderTest()
    {
        folder.createDirectory();
        browser = std::make_unique<juce::FileBrowserComponent> (juce::FileBrowserComponent::saveMode
                                                                    | juce::FileBrowserComponent::canSelectFiles,
                                                                folder, nullptr, nullptr);
        dialog = std::make_unique<VeloraNewFolderComponent> ("newFolderComponent_", browser.get(),
                                                             "Please enter the name of the new folder:");
        window.addChildComponent (*dialog);
        dialog->setBounds (0, 0, 325, 454);
    }

    ~NewFolderTest() override
    {
        dialog.reset();
        browser.reset();
    }

    juce::TextEditor& nameBox() { return *findChild<juce::TextEditor> (*dialog, "textEditor_"); }
    juce::Button& button (const char* name) { return *findChild<juce::Button> (*dialog, name); }
    VeloraAlertComponent& box() { return *findChild<VeloraAlertComponent> (*dialog, "alertComponent_"); }
    juce::String message() { return findChild<juce::Label> (box(), "titleText_")->getText(); }

    /** Types the name and presses OK as the listener hears it. */
    void submit (const juce::String& name)
    {
        nameBox().setText (name);
        dialog->buttonClicked (&button ("OK"));
    }

    /** Every file and folder below the home folder, so that nothing made anywhere is missed. */
    juce::StringArray everything() const
    {
        juce::StringArray paths;
        for (const auto& entry : juce::RangedDirectoryIterator (home, true, "*", juce::File::findFilesAndDirectories))
            paths.add (entry.getFile().getRelativePathFrom (home));
        paths.sort (false);
        return paths;
    }

    const juce::File folder = home.getChildFile ("tree");
    std::unique_ptr<juce::FileBrowserComponent> browser;
    std::unique_ptr<VeloraNewFolderComponent> dialog;
};
} // namespace

TEST_F (NewFolderTest, CreatesTheFolderInTheBrowsersFolderAndCloses)
{
    for (const juce::String name : { "Live", " Studio ", "Warm?" })
    {
        SCOPED_TRACE (name);
        dialog->show();
        submit (name);

        EXPECT_FALSE (dialog->isVisible());
        EXPECT_FALSE (box().isVisible());
        EXPECT_EQ (browser->getRoot(), folder);
    }

    EXPECT_TRUE (folder.getChildFile ("Live").isDirectory());
    EXPECT_TRUE (folder.getChildFile ("Studio").isDirectory());
    EXPECT_TRUE (folder.getChildFile ("Warm").isDirectory());
    EXPECT_EQ (countModalComponents(), 0);
}

TEST_F (NewFolderTest, ANameThatCannotBeCreatedHereIsReportedAndNothingIsMade)
{
    folder.getChildFile ("Live").createDirectory();
    folder.getChildFile ("Notes").replaceWithText ("a file");

    struct Case
    {
        juce::String name;
        const char* message;
    };
    const Case cases[] = {
        { "Live", VeloraNewFolderComponent::nameTakenMessage },
        { "Notes", VeloraNewFolderComponent::nameTakenMessage },
        { "???", VeloraNewFolderComponent::invalidNameMessage },
        { "   ", VeloraNewFolderComponent::invalidNameMessage },
        { ".", VeloraNewFolderComponent::invalidNameMessage },
        { "..", VeloraNewFolderComponent::invalidNameMessage },
        { "../Escape", VeloraNewFolderComponent::separatorMessage },
        { "Live/Inner", VeloraNewFolderComponent::separatorMessage },
        { "a\\b", VeloraNewFolderComponent::separatorMessage },
        { home.getChildFile ("Absolute").getFullPathName(), VeloraNewFolderComponent::separatorMessage },
        { juce::String::repeatedString ("n", 129), VeloraNewFolderComponent::tooLongMessage },
        { juce::String::repeatedString (juce::String::fromUTF8 ("\xc3\xa4"), 128), VeloraNewFolderComponent::tooLongMessage },
    };

    const auto before = everything();
    dialog->show();

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        submit (c.name);

        EXPECT_TRUE (box().isVisible());
        EXPECT_TRUE (box().isCurrentlyModal (false));
        EXPECT_FALSE (dialog->isCurrentlyModal (false));
        EXPECT_EQ (message(), c.message);

        click (*findChild<juce::Button> (box(), "OK"));
        EXPECT_FALSE (box().isVisible());
        EXPECT_TRUE (dialog->isVisible());
        EXPECT_TRUE (dialog->isCurrentlyModal (false));
        EXPECT_EQ (nameBox().getText(), c.name);
        EXPECT_EQ (everything(), before);
    }
}

TEST_F (NewFolderTest, AFolderGoneSinceItWasListedIsReportedAndNotBuiltBack)
{
    dialog->show();
    folder.deleteRecursively();

    submit ("Live");

    EXPECT_EQ (message(), VeloraNewFolderComponent::notCreatedMessage);
    EXPECT_FALSE (folder.exists());
}

TEST_F (NewFolderTest, OkFollowsTheTextAndReturnInAnEmptyBoxDoesNothing)
{
    dialog->show();
    EXPECT_TRUE (isDimmed (button ("OK")));

    dialog->textEditorReturnKeyPressed (nameBox());
    EXPECT_TRUE (deliverPostedMessages());
    EXPECT_TRUE (dialog->isVisible());

    nameBox().setText ("Live");
    ASSERT_TRUE (pumpUntil ([this] { return isUsable (button ("OK")); }, generousWaitMs));

    dialog->textEditorReturnKeyPressed (nameBox());
    ASSERT_TRUE (pumpUntil ([this] { return ! dialog->isVisible(); }, generousWaitMs));
    EXPECT_TRUE (folder.getChildFile ("Live").isDirectory());
}

TEST_F (NewFolderTest, EscapeClosesAndReopeningShowsAnEmptyBoxWithOkDisabled)
{
    dialog->show();
    nameBox().setText ("Half typed");
    dialog->textEditorEscapeKeyPressed (nameBox());
    ASSERT_TRUE (pumpUntil ([this] { return ! dialog->isVisible(); }, generousWaitMs));
    EXPECT_EQ (folder.getNumberOfChildFiles (juce::File::findFilesAndDirectories), 0);

    dialog->show();
    EXPECT_TRUE (nameBox().isEmpty());
    EXPECT_TRUE (isDimmed (button ("OK")));
    dialog->hide();
    EXPECT_EQ (countModalComponents(), 0);
}

TEST_F (NewFolderTest, HidingWithItsMessageOpenClosesBothAndLeavesNothingModal)
{
    folder.getChildFile ("Live").createDirectory();
    dialog->show();
    submit ("Live");
    ASSERT_TRUE (box().isCurrentlyModal (false));

    dialog->show();
    EXPECT_TRUE (box().isCurrentlyModal (false));
    EXPECT_EQ (countModalComponents(), 1);

    dialog->hide();
    EXPECT_FALSE (box().isVisible());
    EXPECT_FALSE (dialog->isVisible());
    EXPECT_EQ (countModalComponents(), 0);
}

TEST_F (NewFolderTest, Snapshot)
{
    dialog->show();
    nameBox().setText ("Live Sets");
    dialog->timerCallback();
    saveSnapshot (*dialog, "new_folder_dialog");

    folder.getChildFile ("Live Sets").createDirectory();
    dialog->buttonClicked (&button ("OK"));
    saveSnapshot (*dialog, "new_folder_dialog_name_taken");
}
