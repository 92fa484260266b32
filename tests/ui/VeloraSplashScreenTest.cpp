#include "FilmStripTestBits.h"

#include "VeloraSplashScreen.h"

#include <memory>

using namespace FilmStripTestBits;

namespace
{
    /** The editor window with its about box laid over it, hidden, as the editor builds it. */
    struct EditorWithAboutBox
    {
        EditorWithAboutBox()
        {
            window.setSize (325, 454);
            window.addChildComponent (aboutBox);
            aboutBox.setBounds (0, 0, 325, 455);
        }

        /** A press of the right mouse button, on the version text. */
        void press()
        {
            const juce::Point<float> position (160.0f, 120.0f);
            auto* target = aboutBox.getComponentAt (position.toInt());
            ASSERT_NE (target, nullptr);

            const auto now = juce::Time::getCurrentTime();
            const juce::MouseEvent event (juce::Desktop::getInstance().getMainMouseSource(), position,
                                          juce::ModifierKeys::rightButtonModifier, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                                          target, target, now, position, now, 1, false);
            target->mouseDown (event);
        }

        int getModalCount() const    { return juce::ModalComponentManager::getInstance()->getNumModalComponents(); }

        juce::Component window;
        VeloraSplashScreen aboutBox { "aboutContainer_" };
    };

    juce::Label* findVersionLabel (VeloraSplashScreen& box)
    {
        for (auto* child : box.getChildren())
            if (child->getName() == "versionLabel_")
                return dynamic_cast<juce::Label*> (child);

        return nullptr;
    }
}

class SplashScreenTest : public UiTest {};

TEST_F (SplashScreenTest, StartsHiddenAtThePicturesSizeWithAnEmptyVersionLabel)
{
    VeloraSplashScreen box ("aboutContainer_");
    EXPECT_EQ (box.getName(), "aboutContainer_");
    EXPECT_EQ (box.getBounds(), juce::Rectangle<int> (0, 0, 325, 455));
    EXPECT_FALSE (box.isVisible());
    EXPECT_FALSE (box.isCurrentlyModal (false));

    auto* label = findVersionLabel (box);
    ASSERT_NE (label, nullptr);
    EXPECT_EQ (label->getName(), "versionLabel_");
    EXPECT_TRUE (label->isVisible());
    EXPECT_EQ (label->getBounds(), juce::Rectangle<int> (150, 112, 100, 16));
    EXPECT_EQ (label->getJustificationType(), juce::Justification (juce::Justification::bottomLeft));
    EXPECT_EQ (label->findColour (juce::Label::textColourId), juce::Colour (211, 211, 211));
    EXPECT_TRUE (label->getText().isEmpty());
}

TEST_F (SplashScreenTest, PressClosesTheBoxAndGivesTheModalStateBack)
{
    EditorWithAboutBox editor;
    editor.aboutBox.show();

    EXPECT_TRUE (editor.aboutBox.isVisible());
    EXPECT_TRUE (editor.aboutBox.isCurrentlyModal (false));
    EXPECT_EQ (editor.getModalCount(), 1);
    EXPECT_TRUE (editor.window.isCurrentlyBlockedByAnotherModalComponent());

    int result = 0;
    juce::ModalComponentManager::getInstance()->attachCallback (&editor.aboutBox,
        juce::ModalCallbackFunction::create ([&result] (int value) { result = value; }));

    editor.press();

    EXPECT_FALSE (editor.aboutBox.isVisible());
    EXPECT_FALSE (editor.aboutBox.isCurrentlyModal (false));
    EXPECT_EQ (editor.getModalCount(), 0);
    EXPECT_FALSE (editor.window.isCurrentlyBlockedByAnotherModalComponent());

    modulix_test::pumpUntil ([&result] { return result != 0; });
    EXPECT_EQ (result, 1);
}

TEST_F (SplashScreenTest, OpeningTwiceHoldsOneModalStateThatOnePressGivesBack)
{
    EditorWithAboutBox editor;
    editor.aboutBox.show();
    editor.aboutBox.show();
    EXPECT_EQ (editor.getModalCount(), 1);

    editor.press();
    EXPECT_EQ (editor.getModalCount(), 0);
    EXPECT_FALSE (editor.aboutBox.isVisible());

    editor.aboutBox.hide(); // closing a closed box changes nothing
    EXPECT_EQ (editor.getModalCount(), 0);
}

TEST_F (SplashScreenTest, VersionSetWhileHiddenShowsAtTheNextOpening)
{
    EditorWithAboutBox editor;
    editor.aboutBox.show();
    editor.press();

    editor.aboutBox.setVersion (juce::String ("1.0.1") + " (64bit)");
    editor.aboutBox.show();

    auto* label = findVersionLabel (editor.aboutBox);
    ASSERT_NE (label, nullptr);
    EXPECT_EQ (label->getText(), "1.0.1 (64bit)");

    saveSnapshot (editor.aboutBox, "aboutContainer_");
    saveSnapshot (editor.window, "aboutContainer_overWindow");
    editor.aboutBox.hide();
}

TEST_F (SplashScreenTest, AWindowClosedWhileTheBoxIsOpenLeavesNoModalStateBehind)
{
    auto editor = std::make_unique<EditorWithAboutBox>();
    editor->aboutBox.show();
    ASSERT_EQ (editor->getModalCount(), 1);

    editor.reset();
    EXPECT_EQ (juce::ModalComponentManager::getInstance()->getNumModalComponents(), 0);
}
