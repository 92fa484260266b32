#include "DialogTestSupport.h"

#include "ModulixDialogBoxBinImg.h"
#include "VeloraAlertComponent.h"
#include "VeloraDialogSupport.h"

using namespace modulix_test;

namespace
{
/** Opens the box's picture state to the tests. */
struct InspectableAlert : VeloraAlertComponent
{
    InspectableAlert() : VeloraAlertComponent ("alert_", 1, 1, 3) {}
    using VeloraAlertComponent::iconImage;
    using VeloraAlertComponent::iconType;
};

juce::Image picture (const char* data, int size)
{
    return VeloraDialogSupport::loadPicture (data, size);
}

struct MessageCase
{
    const char* snapshot;
    juce::String text;
    int buttons;
    int icon;
    juce::Image expectedIcon;
};

std::vector<MessageCase> messageCases()
{
    using namespace ModulixDialogBoxBinImg;
    const auto asterisk = picture (icononly_asterix_png, icononly_asterix_pngSize);
    const juce::String q ("\"");

    return {
        { "alert_newer_version",
          q + "Live/Wide.vmxp" + q + "\nwas made using a newer version of Modulix QR7150.\n"
              "To use this preset correctly, please install the newest version from: https://www.velora-audio.com/downloads",
          1, 1, asterisk },
        { "alert_manual_missing",
          "User manual on: " + q + "/home/user/Music/Audio Music Apps/Velora/User Manuals/ModulixQR7150 Manual.pdf" + q
              + " is not available.",
          1, 4, picture (icononly_frown_png, icononly_frown_pngSize) },
        { "alert_overwrite_question", "Are you sure you want to overwrite this preset?\n\n" + q + "Live/Wide.vmxp" + q,
          2, 1, asterisk },
        { "alert_folder_exists", "The folder name already exist! Try different name.", 1, 1, asterisk },
        { "alert_folder_not_created", "Couldn't create the folder! Try different name.", 1, 1, asterisk },
        { "alert_smile", "Saved.", 1, 3, picture (icononly_smile_png, icononly_smile_pngSize) },
        { "alert_ok_icon", "Kind 2 shows the OK strip as its icon.", 2, 2, picture (ok_png, ok_pngSize) },
        { "alert_unknown_icon", "Any other kind shows the asterisk.", 1, 9, asterisk },
    };
}

class AlertTest : public DialogTest
{
protected:
    AlertTest()
    {
        window.addChildComponent (alert);
        alert.setBounds (0, 0, 325, 454);
    }

    juce::Button& button (const char* name) { return *findChild<juce::Button> (alert, name); }
    juce::Label& title() { return *findChild<juce::Label> (alert, "titleText_"); }

    InspectableAlert alert;
};
} // namespace

TEST_F (AlertTest, ShowsEachMessageWithItsButtonsAndIcon)
{
    for (const auto& message : messageCases())
    {
        SCOPED_TRACE (message.snapshot);
        alert.setTitle (message.text);
        alert.show (message.buttons, message.icon);

        EXPECT_TRUE (alert.isVisible());
        EXPECT_TRUE (alert.isCurrentlyModal (false));
        EXPECT_EQ (title().getText(), message.text);
        EXPECT_EQ (title().getBounds(), juce::Rectangle<int> (32, 136, 260, 182));
        EXPECT_EQ (alert.iconType, message.icon);
        EXPECT_TRUE (samePixels (alert.iconImage, message.expectedIcon));

        const bool two = message.buttons == 2;
        EXPECT_EQ (button ("OK").getBounds(), two ? juce::Rectangle<int> (16, 307, 132, 51)
                                                  : juce::Rectangle<int> (97, 307, 132, 51));
        EXPECT_EQ (button ("CANCEL").isVisible(), two);
        if (two)
        {
            EXPECT_EQ (button ("CANCEL").getBounds(), juce::Rectangle<int> (179, 307, 132, 51));
        }

        saveSnapshot (alert, message.snapshot);
        alert.hide();
        EXPECT_FALSE (alert.isVisible());
        EXPECT_EQ (countModalComponents(), 0);
    }
}

TEST_F (AlertTest, ButtonCountOtherThanOneOrTwoLeavesTheBoxAsItIs)
{
    alert.show (3, 4);
    EXPECT_FALSE (alert.isVisible());
    EXPECT_EQ (countModalComponents(), 0);
    EXPECT_EQ (alert.iconType, 1);

    alert.show (2, 1);
    alert.show (0, 4);
    EXPECT_TRUE (alert.isVisible());
    EXPECT_EQ (alert.iconType, 1);
    EXPECT_TRUE (button ("CANCEL").isVisible());
}

TEST_F (AlertTest, EitherButtonClosesTheBoxThroughItsClick)
{
    for (const char* name : { "OK", "CANCEL" })
    {
        alert.show (2, 1);
        click (button (name));
        EXPECT_FALSE (alert.isVisible()) << name;
        EXPECT_EQ (countModalComponents(), 0) << name;
    }
}

TEST_F (AlertTest, SecondShowNeitherNestsTheModalStateNorLosesIt)
{
    alert.show (1, 1);
    alert.show (2, 4);

    EXPECT_EQ (countModalComponents(), 1);
    EXPECT_EQ (alert.iconType, 4);
    EXPECT_TRUE (button ("CANCEL").isVisible());

    alert.hide();
    EXPECT_EQ (countModalComponents(), 0);
}

TEST_F (AlertTest, BoxInsideAModalDialogTakesItsModalStateOnlyWhenAsked)
{
    juce::Component dialog;
    window.removeChildComponent (&alert);
    dialog.addChildComponent (alert);
    window.addAndMakeVisible (dialog);
    dialog.setBounds (window.getLocalBounds());

    for (const bool change : { true, false })
    {
        SCOPED_TRACE (change);
        alert.needChangeParentModal (change);
        dialog.enterModalState (true, nullptr, false);

        alert.show (1, 1);
        EXPECT_EQ (dialog.isCurrentlyModal (false), ! change);
        EXPECT_TRUE (alert.isCurrentlyModal (false));

        alert.hide();
        EXPECT_TRUE (dialog.isCurrentlyModal (false));
        EXPECT_FALSE (alert.isCurrentlyModal (false));

        dialog.exitModalState (0);
    }
    dialog.removeChildComponent (&alert);
}

TEST_F (AlertTest, ClosingAClosedBoxLeavesItsParentAlone)
{
    juce::Component dialog;
    window.removeChildComponent (&alert);
    dialog.addChildComponent (alert);
    window.addAndMakeVisible (dialog);
    alert.needChangeParentModal (true);

    alert.hide();

    EXPECT_EQ (countModalComponents(), 0);
    dialog.removeChildComponent (&alert);
}

TEST_F (AlertTest, LongTextFromOutsideIsDrawnAsTextInsideItsBox)
{
    // The text box, short of the buttons that lie over its foot.
    const auto titleBounds = juce::Rectangle<int> (32, 136, 260, 182).withBottom (307);
    alert.show (1, 1);
    alert.setTitle ({});
    const auto empty = alert.createComponentSnapshot (alert.getLocalBounds());

    juce::String path ("\"");
    for (int i = 0; i < 60; ++i)
        path << "<b>folder" << i << "</b>/%s%n\\";
    alert.setTitle (path + "\n" + path + "\n" + path + "\"\nwas made using a newer version");
    const auto full = alert.createComponentSnapshot (alert.getLocalBounds());

    bool drewInside = false;
    for (int y = 0; y < full.getHeight(); ++y)
        for (int x = 0; x < full.getWidth(); ++x)
        {
            const bool differs = full.getPixelAt (x, y) != empty.getPixelAt (x, y);
            if (titleBounds.contains (x, y))
                drewInside = drewInside || differs;
            else
                ASSERT_FALSE (differs) << "drawn outside the text box at " << x << ", " << y;
        }

    EXPECT_TRUE (drewInside);
    EXPECT_TRUE (title().getText().startsWith ("\"<b>folder0</b>/%s%n\\"));
    EXPECT_TRUE (title().getText().endsWith ("..."));
    saveSnapshot (alert, "alert_long_text");
}
