// The kit's dialogs take JUCE's modal state, which is one for the whole process,
// while a host shows the windows of many plug-in instances in one process: a
// dialog must block its own window and leave the other windows alone.

#include "VeloraAlertComponent.h"
#include "VeloraSplashScreen.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{
    /** One plug-in window: a control of the editor, and the about box and the
        message box laid over the window, hidden, as the editor builds them. */
    struct PluginWindow
    {
        PluginWindow()
        {
            window.setSize (325, 454);
            window.addAndMakeVisible (control);
            control.setBounds (160, 153, 66, 10);
            window.addChildComponent (about);
            about.setBounds (0, 0, 325, 455);
            window.addChildComponent (alert);
            alert.setBounds (0, 0, 325, 454);
        }

        juce::Component window;
        juce::Component control;
        VeloraSplashScreen about { "aboutContainer_" };
        VeloraAlertComponent alert { "alert_", 1, 1, 3 };
    };

    /** What opens, in order: the about box or the message box of window 0 or 1,
        or a modal component of someone else's (a host's own dialog). */
    enum class Opening { about0, alert0, about1, alert1, foreign };

    struct Case
    {
        const char* name;
        std::vector<Opening> openings;
        bool control0Blocked;
        bool control1Blocked;
        bool dialogsTakeInput = true;
    };

    class DialogModalityTest : public ::testing::TestWithParam<Case>
    {
    protected:
        ~DialogModalityTest() override
        {
            for (auto* c : { static_cast<juce::Component*> (&windows[0].about),
                             static_cast<juce::Component*> (&windows[1].about), &foreign })
                c->exitModalState (0);

            for (auto& w : windows)
                w.alert.hide();
        }

        /** Opens one, and returns the component that now holds the modal state. */
        juce::Component& open (Opening opening)
        {
            switch (opening)
            {
                case Opening::about0:  windows[0].about.show(); return windows[0].about;
                case Opening::alert0:  windows[0].alert.show (1, 1); return windows[0].alert;
                case Opening::about1:  windows[1].about.show(); return windows[1].about;
                case Opening::alert1:  windows[1].alert.show (2, 1); return windows[1].alert;
                case Opening::foreign: break;
            }

            foreign.enterModalState (false);
            return foreign;
        }

        juce::ScopedJuceInitialiser_GUI juceInitialiser;
        PluginWindow windows[2];
        juce::Component foreign;
    };

    TEST_P (DialogModalityTest, BlocksItsOwnWindowOnly)
    {
        const auto& c = GetParam();
        std::vector<juce::Component*> opened;

        for (const auto opening : c.openings)
            opened.push_back (&open (opening));

        EXPECT_EQ (windows[0].control.isCurrentlyBlockedByAnotherModalComponent(), c.control0Blocked);
        EXPECT_EQ (windows[1].control.isCurrentlyBlockedByAnotherModalComponent(), c.control1Blocked);

        // Every open dialog, and what lies on it, still takes input, whichever opened last.
        for (auto* dialog : c.dialogsTakeInput ? opened : std::vector<juce::Component*>())
        {
            EXPECT_FALSE (dialog->isCurrentlyBlockedByAnotherModalComponent()) << dialog->getName();

            for (auto* child : dialog->getChildren())
                EXPECT_FALSE (child->isCurrentlyBlockedByAnotherModalComponent()) << child->getName();
        }
    }

    using O = Opening;

    INSTANTIATE_TEST_SUITE_P (
        TwoWindows, DialogModalityTest,
        ::testing::Values (Case { "nothing", {}, false, false },
                           Case { "aboutInFirst", { O::about0 }, true, false },
                           Case { "alertInFirst", { O::alert0 }, true, false },
                           Case { "alertInSecond", { O::alert1 }, false, true },
                           Case { "aboutInFirstThenAlertInSecond", { O::about0, O::alert1 }, true, true },
                           Case { "alertInSecondThenAboutInFirst", { O::alert1, O::about0 }, true, true },
                           Case { "aboutInBoth", { O::about0, O::about1 }, true, true },
                           // Someone else's modal component still blocks what it blocked.
                           Case { "foreignThenAboutInFirst", { O::foreign, O::about0 }, true, true },
                           Case { "aboutInFirstThenForeign", { O::about0, O::foreign }, true, true, false }),
        [] (const auto& testInfo) { return std::string (testInfo.param.name); });
}
