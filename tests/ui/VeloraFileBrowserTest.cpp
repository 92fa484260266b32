#include "DialogTestSupport.h"

#include "VeloraDialogSupport.h"
#include "VeloraFileBrowser.h"

using namespace modulix_test;

namespace
{
struct InspectableBrowser : VeloraFileBrowser
{
    using VeloraFileBrowser::VeloraFileBrowser;
    using VeloraFileBrowser::titleImage;
    using VeloraFileBrowser::wildcard;
};

class FileBrowserTest : public DialogTest
{
protected:
    FileBrowserTest()
    {
        writeFile (folder.getChildFile ("Warm.vmxp"));
        writeFile (folder.getChildFile ("readme.txt"));
        folder.getChildFile ("Live").createDirectory();
    }

    ~FileBrowserTest() override { dialog.reset(); }

    InspectableBrowser& open (int mode, const juce::String& wildcard = "*.vmxp", int titleType = 2,
                              const juce::File& initialDirectory = {})
    {
        dialog = std::make_unique<InspectableBrowser> ("fileBrowser_", "Open", initialDirectory == juce::File() ? folder : initialDirectory,
                                                       wildcard, mode, titleType, 1, 3, 8);
        window.addChildComponent (*dialog);
        dialog->setBounds (0, 0, 325, 454);
        dialog->show();
        return *dialog;
    }

    juce::Button* button (const char* name) { return findChild<juce::Button> (*dialog, name); }
    juce::FileBrowserComponent& browser() { return *findChild<juce::FileBrowserComponent> (*dialog); }

    const juce::File folder = home.getChildFile ("tree");
    std::unique_ptr<InspectableBrowser> dialog;
};
} // namespace

TEST_F (FileBrowserTest, EachModeBuildsItsButtonsAndShowsOkAsItsTimerSays)
{
    struct Case
    {
        int mode;
        bool hasNewFolder;
        bool okUsableWhenOpened;
    };
    for (const auto& c : { Case { 1, false, false }, Case { 2, false, true }, Case { 3, false, true },
                           Case { 4, false, true }, Case { 5, true, false } })
    {
        SCOPED_TRACE (c.mode);
        open (c.mode);

        EXPECT_TRUE (dialog->isCurrentlyModal (false));
        EXPECT_EQ (button ("New Folder") != nullptr, c.hasNewFolder);
        EXPECT_EQ (findChild<VeloraNewFolderComponent> (*dialog) != nullptr, c.hasNewFolder);
        EXPECT_EQ (isUsable (*button ("OK")), c.okUsableWhenOpened);
        EXPECT_EQ (button ("OK")->getBounds(), juce::Rectangle<int> (179, 336, 132, 51));
        EXPECT_EQ (button ("CANCEL")->getBounds(), juce::Rectangle<int> (179, 386, 132, 51));
        EXPECT_EQ (browser().getBounds(), juce::Rectangle<int> (12, 59, 300, 275));

        click (*button (c.okUsableWhenOpened ? "OK" : "CANCEL"));
        EXPECT_FALSE (dialog->isVisible());
        EXPECT_EQ (countModalComponents(), 0);
        dialog.reset();
    }
}

TEST_F (FileBrowserTest, OkFollowsTheChosenFileWithinATimerPeriod)
{
    open (1);
    EXPECT_TRUE (isDimmed (*button ("OK")));

    browser().setFileName ("Warm.vmxp");
    EXPECT_TRUE (pumpUntil ([this] { return isUsable (*button ("OK")); }, generousWaitMs));

    open (5);
    browser().setFileName ("Anything");
    EXPECT_TRUE (pumpUntil ([this] { return isUsable (*button ("OK")); }, generousWaitMs));
    browser().setFileName ({});
    EXPECT_TRUE (pumpUntil ([this] { return isDimmed (*button ("OK")); }, generousWaitMs));
}

TEST_F (FileBrowserTest, DoubleClickActsAsOkOnlyWhileOkIsUsable)
{
    open (1);
    dialog->fileDoubleClicked (folder.getChildFile ("Warm.vmxp"));
    EXPECT_TRUE (deliverPostedMessages());
    EXPECT_TRUE (dialog->isVisible());

    open (2);
    dialog->fileDoubleClicked (folder.getChildFile ("Warm.vmxp"));
    EXPECT_TRUE (pumpUntil ([this] { return ! dialog->isVisible(); }, generousWaitMs));
}

TEST_F (FileBrowserTest, ABlankWildcardListsEveryFile)
{
    for (const juce::String wildcard : { "", "   ", "*.vmxp" })
    {
        SCOPED_TRACE (wildcard);
        open (1, wildcard);
        const bool all = wildcard.trim().isEmpty();
        EXPECT_EQ (dialog->wildcard, all ? "*" : "*.vmxp");
        EXPECT_TRUE (waitForListing (*dialog, all ? 3 : 2));
    }
}

TEST_F (FileBrowserTest, TitleAndButtonPicturesFollowTheirCodes)
{
    for (const int titleType : { 0, 1, 2, 4 })
    {
        open (2, "*", titleType);
        EXPECT_EQ (dialog->titleImage.isValid(), titleType == 1 || titleType == 2) << titleType;
    }

    const auto ok = VeloraDialogSupport::loadButtonPicture (1);
    ASSERT_TRUE (ok.isValid());
    for (const int code : { 0, 2, 6, 7, 9, 11, -1 })
        EXPECT_TRUE (samePixels (VeloraDialogSupport::loadButtonPicture (code), ok)) << code;
    for (const int code : { 3, 4, 5, 8, 10 })
        EXPECT_FALSE (samePixels (VeloraDialogSupport::loadButtonPicture (code), ok)) << code;
    EXPECT_TRUE (samePixels (VeloraDialogSupport::loadButtonPicture (3), VeloraDialogSupport::loadButtonPicture (4)));
}

TEST_F (FileBrowserTest, ReopeningRereadsTheFolderAndEmptiesTheNameBox)
{
    open (5);
    ASSERT_TRUE (waitForListing (*dialog, 2));
    browser().setFileName ("Half typed");
    click (*button ("CANCEL"));

    writeFile (folder.getChildFile ("Bright.vmxp"));
    dialog->show();

    EXPECT_TRUE (waitForListing (*dialog, 3));
    EXPECT_EQ (browser().getSelectedFile (0), folder);
}

TEST_F (FileBrowserTest, SecondShowOfAnOpenDialogDoesNotNestTheModalState)
{
    open (5);
    dialog->show();
    EXPECT_EQ (countModalComponents(), 1);

    click (*button ("New Folder"));
    dialog->show();
    EXPECT_TRUE (findChild<VeloraNewFolderComponent> (*dialog)->isCurrentlyModal (false));
    EXPECT_EQ (countModalComponents(), 1);

    dialog->hide();
    EXPECT_EQ (countModalComponents(), 0);
    EXPECT_FALSE (findChild<VeloraNewFolderComponent> (*dialog)->isVisible());
}

TEST_F (FileBrowserTest, NewFolderOpensOnlyOnAnExistingFolder)
{
    open (5);
    browser().setRoot (folder.getChildFile ("Missing"));
    click (*button ("New Folder"));
    EXPECT_FALSE (findChild<VeloraNewFolderComponent> (*dialog)->isVisible());

    browser().setRoot (folder);
    click (*button ("New Folder"));
    EXPECT_TRUE (findChild<VeloraNewFolderComponent> (*dialog)->isCurrentlyModal (false));
}

TEST_F (FileBrowserTest, AFolderMissingAtConstructionIsEnteredOnTheFirstOpeningThatFindsIt)
{
    const auto later = home.getChildFile ("made/later");
    dialog = std::make_unique<InspectableBrowser> ("fileBrowser_", "Save", later, "*.vmxp", 5, 1, 5, 3, 8);
    window.addChildComponent (*dialog);

    later.createDirectory();
    dialog->show();
    EXPECT_EQ (browser().getRoot(), later);

    browser().setFileName ("First");
    dialog->timerCallback();
    EXPECT_TRUE (isUsable (*button ("OK")));
}

TEST_F (FileBrowserTest, AModeOutsideOneToFiveBuildsNothingAndDoesNotOpen)
{
    open (6);
    EXPECT_EQ (dialog->getNumChildComponents(), 0);
    EXPECT_FALSE (dialog->isVisible());
    EXPECT_EQ (countModalComponents(), 0);
}

TEST_F (FileBrowserTest, DeletingAnOpenDialogLeavesNothingModal)
{
    open (5);
    click (*button ("New Folder"));
    dialog.reset();
    EXPECT_TRUE (deliverPostedMessages());
    EXPECT_EQ (countModalComponents(), 0);
}

TEST_F (FileBrowserTest, Snapshot)
{
    open (2);
    ASSERT_TRUE (waitForListing (*dialog, 2));
    saveSnapshot (*dialog, "file_browser_load");
}
