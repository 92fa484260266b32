// The plug-in editor without a display: its children, what it sends to the
// host, its refresh timer and its commands.

#include "ModulixQR7150AudioProcessorEditor.h"

#include "../MessagePump.h"
#include "../PrivateMounts.h"
#include "../TestHome.h"
#include "../support/CraftedXmlTexts.h"
#include "../support/RateSyncCases.h"
#include "../ui/DialogTestSupport.h"
#include "../ui/FolderTreeFixture.h"

#include "ModulixQR7150PatchXml.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <random>
#include <thread>
#include <vector>

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
using modulix_test::pumpMessages;
using modulix_test::pumpUntil;
using Editor = ModulixQR7150AudioProcessorEditor;

enum Parameter { onBypass, chorusType, rate, rateSync, depth, mix, level, stereo, sync };

constexpr int numParameters = ModulixQR7150AudioProcessor::numParameters;

/** What a host learns of parameter changes. */
struct HostSpy final : juce::AudioProcessorListener
{
    struct Change
    {
        int index;
        float value;
        bool operator== (const Change& other) const { return index == other.index && value == other.value; }
    };

    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override
    {
        changes.push_back ({ index, value });
    }

    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails& details) override
    {
        ++displayUpdates;
        storedStateChanges += details.nonParameterStateChanged ? 1 : 0;
    }

    std::vector<Change> changes;
    int displayUpdates = 0;
    int storedStateChanges = 0;
};

/** Records every area of the editor that asks to be repainted, its children's
    included: a cached image sees each invalidation on its way to the window. */
struct RepaintRecorder final : juce::CachedComponentImage
{
    void paint (juce::Graphics&) override {}
    bool invalidateAll() override                                   { areas.push_back ({ 0, 0, 325, 454 }); return true; }
    bool invalidate (const juce::Rectangle<int>& area) override     { areas.push_back (area); return true; }
    void releaseResources() override {}

    std::vector<juce::Rectangle<int>> areas;
};

std::ostream& operator<< (std::ostream& out, const HostSpy::Change& change)
{
    return out << "{" << change.index << ", " << change.value << "}";
}

//==============================================================================
/** An editor on a processor, in a home folder of the test's own, with a host listening. */
class EditorTest : public ::testing::Test,
                   protected modulix_test::TestHome
{
protected:
    EditorTest() : TestHome ("editor")
    {
        processor.addListener (&host);
    }

    ~EditorTest() override
    {
        editor.reset();
        processor.removeListener (&host);
    }

    /** Runs the message loop for several of the open editor's 50 ms refresh
        ticks, and on until a tick has taken every change flag raised before,
        however late the ticks come on a loaded machine. */
    void letTheTimerRun()
    {
        pumpMessages (200);

        if (editor != nullptr)
        {
            EXPECT_TRUE (pumpUntil ([this] { return ! (processor.paramsChanged || processor.programChanged || processor.presetChanged); },
                                    modulix_test::generousWaitMs))
                << "the editor's refresh timer did not take the change flags";
        }
    }

    Editor& openEditor()
    {
        editor.reset (dynamic_cast<Editor*> (processor.createEditor()));
        EXPECT_NE (editor, nullptr);
        editor->setVisible (true);
        return *editor;
    }

    template <typename ComponentType = juce::Component>
    ComponentType& child (const juce::String& name) const
    {
        for (auto* c : editor->getChildren())
            if (c->getName() == name)
                if (auto* typed = dynamic_cast<ComponentType*> (c))
                    return *typed;

        ADD_FAILURE() << "no child " << name;
        throw std::runtime_error ("missing child");
    }

    juce::String presetName() const  { return child<juce::Label> ("presetMenu_").getText(); }

    /** With the window open and ticking, the host loads the state another processor saved. */
    void loadStateWhileOpen (ModulixQR7150AudioProcessor& other)
    {
        juce::MemoryBlock state;
        other.getStateInformation (state);

        openEditor();
        letTheTimerRun();
        processor.setStateInformation (state.getData(), static_cast<int> (state.getSize()));
        letTheTimerRun();
    }

    /** The message text shown by a message box. */
    juce::String messageOf (const juce::String& box) const
    {
        for (auto* c : child (box).getChildren())
            if (auto* label = dynamic_cast<juce::Label*> (c))
                return label->getText();

        return {};
    }

    ProgramSlot& currentSlot()  { return processor.programs[processor.getCurrentProgram()]; }

    /** A preset file of the processor's current setting, optionally from a later version. */
    juce::File writePresetFile (const juce::String& relativePath, const juce::String& presetVersion = "1.0")
    {
        auto xml = processor.writePreset (true);

        if (auto* properties = xml.getChildByName ("Properties"))
            properties->setAttribute ("presetVersion", presetVersion);

        const auto file = presetRoot().getChildFile (relativePath);
        file.getParentDirectory().createDirectory();
        EXPECT_TRUE (xml.writeTo (file));
        return file;
    }

    /** A preset file holding exactly the bytes given; false when it cannot be written. */
    bool writePresetBytes (const juce::String& relativePath, const std::string& bytes)
    {
        const auto file = presetRoot().getChildFile (relativePath);
        return file.getParentDirectory().createDirectory() && file.replaceWithData (bytes.data(), bytes.size());
    }

    /** Clicks the button as JUCE delivers triggerClick, through the message
        loop, and runs the loop until the click has arrived. */
    void clickAndWait (const juce::String& name)
    {
        child<juce::Button> (name).triggerClick();
        EXPECT_TRUE (modulix_test::deliverPostedMessages()) << name;
    }

    VeloraPresetMenu& presetMenu() const                 { return child<VeloraPresetMenu> ("presetMenu_"); }
    VeloraPresetBrowser& saveBrowser() const             { return child<VeloraPresetBrowser> ("savePresetBrowser_"); }
    juce::FileBrowserComponent& browsedFiles() const     { return *modulix_test::findChild<juce::FileBrowserComponent> (saveBrowser()); }

    /** The overwrite question of the save browser, which also reports its failed saves. */
    VeloraOverwriteComponent& browserQuestion() const
    {
        return *modulix_test::findChild<VeloraOverwriteComponent> (saveBrowser(), "overwriteComponent_");
    }

    /** Clicks OK, or CANCEL, of a dialog as the user does. */
    static void clickButtonOf (juce::Component& dialog, const char* button)
    {
        modulix_test::click (*modulix_test::findChild<juce::Button> (dialog, button));
    }

    /** Types a name into the open save browser and clicks its OK as the user does. */
    void typeIntoSaveBrowser (const juce::String& typed)
    {
        browsedFiles().setFileName (typed);
        saveBrowser().timerCallback();
        clickButtonOf (saveBrowser(), "OK");
    }

    /** "Save Preset As..." under that name, answering OK when the browser asks
        whether to overwrite. */
    void saveAs (const juce::String& typed)
    {
        editor->fileMenuResult (Editor::savePresetAs);
        typeIntoSaveBrowser (typed);

        if (auto& question = browserQuestion();
            question.isVisible() && modulix_test::findChild<juce::Button> (question, "CANCEL")->isVisible())
            clickButtonOf (question, "OK");
    }

    /** True when the file holds exactly the processor's current setting. */
    bool holdsCurrentSetting (const juce::File& file)
    {
        const auto written = ModulixQR7150PatchXml::parseFile (file);
        const auto expected = processor.writePreset (true);
        return written != nullptr && written->isEquivalentTo (&expected, false);
    }

    /** The preset file the active setting names. */
    juce::File activePresetFile() { return presetRoot().getChildFile (currentSlot().presetPath[0]); }

    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    ModulixQR7150AudioProcessor processor;
    HostSpy host;
    std::unique_ptr<Editor> editor;
};

//==============================================================================
TEST_F (EditorTest, OpensAtTheFixedSizeWithEveryChildAtItsPlaceSendingNothing)
{
    struct Row { const char* name; juce::Rectangle<int> bounds; bool visible; };

    const std::vector<Row> table {
        { "fileButton_", { 6, 3, 58, 26 }, true },               { "presetDecButton_", { 263, 3, 29, 26 }, true },
        { "presetIncButton_", { 292, 3, 29, 26 }, true },        { "presetMenu_", { 67, 3, 192, 26 }, true },
        { "abButton_", { 92, 35, 62, 23 }, true },               { "abCopyButton_", { 163, 30, 75, 25 }, true },
        { "bypassButton_", { 222, 354, 90, 99 }, true },         { "stereoSpreadButton_", { 263, 62, 54, 22 }, true },
        { "syncButton_", { 7, 62, 54, 22 }, true },              { "typeKnob_", { 106, 137, 48, 80 }, true },
        { "type1ShortcutButton_", { 160, 135, 57, 10 }, true },  { "type2ShortcutButton_", { 160, 153, 66, 10 }, true },
        { "type3ShortcutButton_", { 160, 172, 54, 10 }, true },  { "rateKnob_", { 14, 126, 73, 72 }, true },
        { "rateSyncKnob_", { 14, 126, 73, 72 }, false },         { "depthKnob_", { 68, 225, 73, 72 }, true },
        { "mixKnob_", { 180, 225, 73, 72 }, true },              { "levelKnob_", { 237, 126, 73, 72 }, true },
        { "aboutShowButton_", { 15, 383, 109, 58 }, true },      { "aboutContainer_", { 0, 0, 325, 455 }, false },
        { "savePresetBrowser_", { 0, 0, 325, 454 }, false },     { "overwritePresetComponent_", { 0, 0, 325, 454 }, false },
        { "alert_", { 0, 0, 325, 454 }, false },
    };

    auto& e = openEditor();
    EXPECT_EQ (e.getWidth(), 325);
    EXPECT_EQ (e.getHeight(), 454);
    EXPECT_FALSE (e.isResizable());
    ASSERT_EQ (e.getNumChildComponents(), static_cast<int> (table.size()));

    // Created in the table's order, so the dialogs lie over everything.
    for (size_t i = 0; i < table.size(); ++i)
    {
        SCOPED_TRACE (table[i].name);
        auto* c = e.getChildComponent (static_cast<int> (i));
        EXPECT_EQ (c->getName(), table[i].name);
        EXPECT_EQ (c->getBounds(), table[i].bounds);
        EXPECT_EQ (c->isVisible(), table[i].visible);
    }

    letTheTimerRun();
    EXPECT_TRUE (host.changes.empty());
    EXPECT_EQ (presetName(), "Init*");
}

TEST_F (EditorTest, VisibleControlsNeitherOverlapNorLeaveTheWindow)
{
    auto& e = openEditor();
    std::vector<juce::Component*> controls;

    for (auto* c : e.getChildren())
        if (c->isVisible())
            controls.push_back (c);

    for (size_t i = 0; i < controls.size(); ++i)
    {
        EXPECT_TRUE (e.getLocalBounds().contains (controls[i]->getBounds())) << controls[i]->getName();

        for (size_t j = i + 1; j < controls.size(); ++j)
            EXPECT_FALSE (controls[i]->getBounds().intersects (controls[j]->getBounds()))
                << controls[i]->getName() << " and " << controls[j]->getName();
    }
}

TEST_F (EditorTest, ShowsTheProcessorsValuesWithTheSyncedRateKnobWhileSyncIsOn)
{
    const std::vector<std::pair<int, float>> values {
        { onBypass, 0.0f }, { chorusType, 1.0f }, { rate, 0.3f }, { depth, 0.7f }, { mix, 0.25f },
        { level, 0.8f }, { stereo, 1.0f }, { sync, 1.0f }, { rateSync, 0.5f },
    };

    for (const auto& [index, value] : values)
        processor.setParameter (index, value);

    auto& e = openEditor();
    EXPECT_FALSE (child<juce::Button> ("bypassButton_").getToggleState());
    EXPECT_TRUE (child<juce::Button> ("stereoSpreadButton_").getToggleState());
    EXPECT_TRUE (child<juce::Button> ("syncButton_").getToggleState());
    EXPECT_EQ (child<juce::Slider> ("typeKnob_").getValue(), 1.0);
    EXPECT_EQ (child<juce::Slider> ("rateKnob_").getValue(), static_cast<double> (0.3f));
    EXPECT_EQ (child<juce::Slider> ("depthKnob_").getValue(), static_cast<double> (0.7f));
    EXPECT_EQ (child<juce::Slider> ("mixKnob_").getValue(), 0.25);
    EXPECT_EQ (child<juce::Slider> ("levelKnob_").getValue(), static_cast<double> (0.8f));
    EXPECT_FALSE (child ("rateKnob_").isVisible());
    EXPECT_TRUE (child ("rateSyncKnob_").isVisible());
    EXPECT_EQ (child ("rateKnob_").getBounds(), child ("rateSyncKnob_").getBounds());
    EXPECT_EQ (e.getNumChildComponents(), 23);
    EXPECT_TRUE (host.changes.empty());
}

TEST_F (EditorTest, EachControlSendsExactlyItsValue)
{
    struct SliderCase { const char* name; double value; HostSpy::Change sent; };

    const std::vector<SliderCase> sliders {
        { "typeKnob_", 0.5, { chorusType, 0.5f } },  { "rateKnob_", 0.35, { rate, 0.35f } },
        { "depthKnob_", 0.9, { depth, 0.9f } },      { "mixKnob_", 0.1, { mix, 0.1f } },
        { "levelKnob_", 0.75, { level, 0.75f } },
        // The synced knob snaps to its note steps: 0.5 is step 9.
        { "rateSyncKnob_", 0.5, { rateSync, static_cast<float> (9 * 0.05524861812591553) } },
    };

    openEditor();
    letTheTimerRun();

    for (const auto& c : sliders)
    {
        SCOPED_TRACE (c.name);
        host.changes.clear();
        child<juce::Slider> (c.name).setValue (c.value, juce::sendNotificationSync);
        EXPECT_EQ (host.changes, std::vector<HostSpy::Change> { c.sent });
    }

    struct ButtonCase { const char* name; HostSpy::Change sent; };

    const std::vector<ButtonCase> buttons {
        { "bypassButton_", { onBypass, 0.0f } },          { "bypassButton_", { onBypass, 1.0f } },
        { "stereoSpreadButton_", { stereo, 1.0f } },      { "syncButton_", { sync, 1.0f } },
        { "type1ShortcutButton_", { chorusType, 0.0f } }, { "type2ShortcutButton_", { chorusType, 0.5f } },
        { "type3ShortcutButton_", { chorusType, 1.0f } },
    };

    for (const auto& c : buttons)
    {
        SCOPED_TRACE (c.name);
        host.changes.clear();
        clickAndWait (c.name);
        EXPECT_EQ (host.changes, std::vector<HostSpy::Change> { c.sent });
    }
}

TEST_F (EditorTest, SyncSwitchSwapsTheRateKnobsAtOnceAndHostSyncOnTheNextTick)
{
    openEditor();
    letTheTimerRun();

    clickAndWait ("syncButton_");
    EXPECT_TRUE (child ("rateSyncKnob_").isVisible());
    EXPECT_FALSE (child ("rateKnob_").isVisible());

    processor.setParameter (sync, 0.0f);
    EXPECT_TRUE (child ("rateSyncKnob_").isVisible());
    EXPECT_TRUE (pumpUntil ([this] { return child ("rateKnob_").isVisible(); }, modulix_test::generousWaitMs));
    EXPECT_FALSE (child ("rateSyncKnob_").isVisible());
}

TEST_F (EditorTest, KnobsReturnToTheProcessorDefaultsOnDoubleClick)
{
    const std::vector<std::pair<const char*, double>> defaults {
        { "rateKnob_", 0.20000000298023224 }, { "rateSyncKnob_", 0.1666666716337204 },
        { "depthKnob_", 0.20000000298023224 }, { "mixKnob_", 0.5 }, { "levelKnob_", 0.5 },
    };

    openEditor();

    for (const auto& [name, value] : defaults)
    {
        EXPECT_TRUE (child<juce::Slider> (name).isDoubleClickReturnEnabled()) << name;
        EXPECT_EQ (child<juce::Slider> (name).getDoubleClickReturnValue(), value) << name;
    }
}

TEST_F (EditorTest, TimerFollowsAutomationAndMarksThePresetNameAsModified)
{
    openEditor();
    letTheTimerRun();
    writePresetFile ("Init.vmxp");
    processor.presetChanged = true;
    processor.paramsChanged = true;
    letTheTimerRun();
    EXPECT_EQ (presetName(), "Init");

    processor.setParameter (depth, 0.65f);
    EXPECT_TRUE (pumpUntil ([this] { return child<juce::Slider> ("depthKnob_").getValue() == static_cast<double> (0.65f); }, modulix_test::generousWaitMs));
    EXPECT_EQ (presetName(), "Init*");
    EXPECT_FALSE (processor.paramsChanged);

    // A tick finds no flag: setting the knob back by hand stays put.
    auto& knob = child<juce::Slider> ("depthKnob_");
    knob.setValue (0.1, juce::dontSendNotification);
    letTheTimerRun();
    EXPECT_EQ (knob.getValue(), 0.1);
    EXPECT_TRUE (host.changes.empty());
}

TEST_F (EditorTest, SyncKnobShowsTheStepOfARateSyncValueAHostKeptAsText)
{
    processor.setParameter (sync, 1.0f);
    auto& e = openEditor();
    auto& knob = child<juce::Slider> ("rateSyncKnob_");

    for (const auto& c : RateSyncCases::makeCases())
    {
        processor.setParameter (rateSync, c.value);
        e.timerCallback();
        EXPECT_EQ (knob.getValue(), c.step * knob.getInterval()) << c.label;
        EXPECT_EQ (knob.getTextFromValue (knob.getValue()), RateSyncCases::noteTexts[c.step]) << c.label;
    }
}

TEST_F (EditorTest, TimerFollowsProgramChangesWithTheirSettingAndPreset)
{
    auto& program = processor.programs[3];
    program.activeChannel = 1;
    program.presetPath[1] = "Live/Wide.vmxp";
    program.values[1][depth] = 0.9f;
    program.values[1][chorusType] = 0.5f;

    openEditor();
    letTheTimerRun();
    EXPECT_FALSE (child<juce::Button> ("abButton_").getToggleState());

    processor.setCurrentProgram (3);
    letTheTimerRun();
    EXPECT_TRUE (child<juce::Button> ("abButton_").getToggleState());
    EXPECT_EQ (child<juce::Slider> ("depthKnob_").getValue(), static_cast<double> (0.9f));
    EXPECT_EQ (child<juce::Slider> ("typeKnob_").getValue(), 0.5);
    EXPECT_EQ (presetName(), "Wide*");
    EXPECT_EQ (child<VeloraPresetMenu> ("presetMenu_").getSelectedFilePath(), "Live/Wide.vmxp");
}

TEST_F (EditorTest, ANewEditorShowsSettingBOnlyFromItsFirstTick)
{
    currentSlot().activeChannel = 1;
    openEditor();
    EXPECT_FALSE (child<juce::Button> ("abButton_").getToggleState());
    EXPECT_TRUE (pumpUntil ([this] { return child<juce::Button> ("abButton_").getToggleState(); }, modulix_test::generousWaitMs));
}

TEST_F (EditorTest, TimerFollowsAStateLoad)
{
    ModulixQR7150AudioProcessor other;
    other.setParameter (mix, 0.9f);
    other.setParameter (stereo, 1.0f);
    loadStateWhileOpen (other);

    EXPECT_EQ (child<juce::Slider> ("mixKnob_").getValue(), static_cast<double> (0.9f));
    EXPECT_TRUE (child<juce::Button> ("stereoSpreadButton_").getToggleState());
}

TEST_F (EditorTest, ABSwitchSendsTheOtherSettingAndCopyLeavesPathsAndParametersAlone)
{
    auto& slot = currentSlot();
    slot.presetPath[1] = "B.vmxp";
    slot.values[1][depth] = 0.8f;
    openEditor();
    letTheTimerRun();
    host.changes.clear();

    clickAndWait ("abButton_");
    EXPECT_EQ (slot.activeChannel, 1);
    ASSERT_EQ (host.changes.size(), static_cast<size_t> (numParameters));

    for (int i = 0; i < numParameters; ++i)
        EXPECT_EQ (host.changes[static_cast<size_t> (i)], (HostSpy::Change { i, slot.values[1][i] }));

    EXPECT_EQ (child<VeloraPresetMenu> ("presetMenu_").getSelectedFilePath(), "B.vmxp");
    EXPECT_GE (host.storedStateChanges, 1);
    letTheTimerRun();
    EXPECT_EQ (child<juce::Slider> ("depthKnob_").getValue(), static_cast<double> (0.8f));

    // B is active: copy writes B's values onto A, nothing else; the host only
    // hears that the project changed.
    host.changes.clear();
    host.storedStateChanges = 0;
    slot.values[0][depth] = 0.1f;
    clickAndWait ("abCopyButton_");
    EXPECT_EQ (slot.values[0][depth], 0.8f);
    EXPECT_EQ (slot.presetPath[0], "Init.vmxp");
    EXPECT_EQ (slot.presetPath[1], "B.vmxp");
    EXPECT_TRUE (host.changes.empty());
    EXPECT_EQ (host.storedStateChanges, 1);

    clickAndWait ("abButton_");
    EXPECT_EQ (slot.activeChannel, 0);
    EXPECT_EQ (child<VeloraPresetMenu> ("presetMenu_").getSelectedFilePath(), "Init.vmxp");
}

TEST_F (EditorTest, CopyTakesThePlayingSettingWhateverTheSwitchShows)
{
    // Program 3 plays one setting while the switch shows the other, as it does
    // between a host's program change and the window's next tick.
    for (const int playing : { 0, 1 })
    {
        SCOPED_TRACE (playing);
        auto& program = processor.programs[3];
        program.activeChannel = playing;

        for (int setting = 0; setting < ProgramSlot::numSettings; ++setting)
            for (int i = 0; i < numParameters; ++i)
                program.values[setting][i] = 0.3f * static_cast<float> (setting) + 0.05f * static_cast<float> (i);

        openEditor();
        letTheTimerRun();
        processor.setCurrentProgram (3);
        child<juce::Button> ("abButton_").setToggleState (playing == 0, juce::dontSendNotification);
        host.storedStateChanges = 0;

        editor->buttonClicked (&child<juce::Button> ("abCopyButton_"));

        for (int i = 0; i < numParameters; ++i)
        {
            EXPECT_EQ (program.values[playing][i], processor.currentValues[i]) << i;
            EXPECT_EQ (program.values[1 - playing][i], processor.currentValues[i]) << i;
        }

        EXPECT_EQ (host.storedStateChanges, 1);
        editor.reset();
    }
}

TEST_F (EditorTest, AfterAHostThreadStopsTheWindowShowsWhatTheProcessorHolds)
{
    // The spy is not made for two threads; the host thread goes without one.
    processor.removeListener (&host);

    for (int i = 0; i < ModulixQR7150AudioProcessor::numProgramSlots; ++i)
    {
        processor.programs[i].activeChannel = i % 2;
        processor.programs[i].presetPath[0] = "P" + juce::String (i) + "A.vmxp";
        processor.programs[i].presetPath[1] = "P" + juce::String (i) + "B.vmxp";
    }

    // Values every control shows exactly: the switches and the type switch
    // snap, the knobs take any value. The synced-rate knob snaps to its own
    // positions and is left out.
    const auto valueFor = [] (int index, std::mt19937& random)
    {
        const auto unit = static_cast<float> (random() % 1001) / 1000.0f;

        if (index == chorusType)
            return 0.5f * static_cast<float> (random() % 3);

        return index == onBypass || index == stereo || index == sync ? std::round (unit) : unit;
    };

    openEditor();
    std::mt19937 seeds (20);

    for (int trial = 0; trial < 300 && ! HasFailure(); ++trial)
    {
        SCOPED_TRACE (trial);
        std::atomic<bool> hostDone { false };
        std::thread hostThread ([&, seed = seeds()] {
            std::mt19937 random (seed);

            for (int call = 0; call < 40; ++call)
            {
                if (random() % 4 == 0)
                {
                    processor.setCurrentProgram (static_cast<int> (random() % 12));
                }
                else
                {
                    const auto index = static_cast<int> (random() % numParameters);
                    processor.setParameter (index, valueFor (index, random));
                }
            }

            hostDone = true;
        });

        while (! hostDone)
            editor->timerCallback();

        hostThread.join();

        // Enough ticks for a preset re-selection armed by the last one.
        for (int tick = 0; tick < 3; ++tick)
            editor->timerCallback();

        for (const auto& [name, index] : { std::pair { "typeKnob_", chorusType }, std::pair { "rateKnob_", rate },
                                           std::pair { "depthKnob_", depth }, std::pair { "mixKnob_", mix },
                                           std::pair { "levelKnob_", level } })
            EXPECT_EQ (child<juce::Slider> (name).getValue(), static_cast<double> (processor.getParameter (index))) << name;

        for (const auto& [name, index] : { std::pair { "bypassButton_", onBypass },
                                           std::pair { "stereoSpreadButton_", stereo },
                                           std::pair { "syncButton_", sync } })
            EXPECT_EQ (child<juce::Button> (name).getToggleState(), processor.getParameter (index) > 0.0f) << name;

        EXPECT_EQ (child<juce::Button> ("abButton_").getToggleState(), processor.getActiveSetting() == 1);
        EXPECT_EQ (presetName().trimCharactersAtEnd ("*"),
                   juce::File::createFileWithoutCheckingPath ("/" + processor.getActivePresetPath())
                       .getFileNameWithoutExtension());
    }
}

TEST_F (EditorTest, HostStateAndProgramCallsBesideWindowPresetPicksSwitchesAndCopies)
{
    // The host's thread saves and loads state and switches programs while the
    // window, on the message thread, steps through presets, switches A and B
    // and copies. Run in the ThreadSanitizer build, this shows whether the two
    // share the bank safely.
    processor.removeListener (&host);
    const juce::StringArray presets { "One.vmxp", "Two.vmxp", "Three.vmxp" };

    for (int i = 0; i < presets.size(); ++i)
    {
        processor.setParameter (depth, 0.1f * static_cast<float> (i + 1));
        writePresetFile (presets[i]);
    }

    openEditor();
    letTheTimerRun();

    std::atomic<bool> windowDone { false };
    std::thread hostThread ([&] {
        juce::MemoryBlock bank, program;

        for (int call = 0; ! windowDone; ++call)
        {
            processor.getStateInformation (bank);
            processor.setStateInformation (bank.getData(), static_cast<int> (bank.getSize()));
            processor.setCurrentProgram (call % ModulixQR7150AudioProcessor::numProgramSlots);
            processor.getCurrentProgramStateInformation (program);
            processor.setCurrentProgramStateInformation (program.getData(), static_cast<int> (program.getSize()));
            EXPECT_TRUE (processor.getProgramName (call % 12).isNotEmpty());
        }
    });

    auto& abSwitch = child<juce::Button> ("abButton_");

    for (int step = 0; step < 400; ++step)
    {
        switch (step % 4)
        {
            case 0:  editor->buttonClicked (&child<juce::Button> ("presetIncButton_")); break;
            case 1:  abSwitch.setToggleState (! abSwitch.getToggleState(), juce::dontSendNotification);
                     editor->buttonClicked (&abSwitch);
                     break;
            case 2:  editor->buttonClicked (&child<juce::Button> ("abCopyButton_")); break;
            default: editor->timerCallback(); break;
        }
    }

    windowDone = true;
    hostThread.join();

    // The bank is whole, and what plays is the current program's active setting.
    for (const auto& program : processor.programs)
    {
        EXPECT_TRUE (program.activeChannel == 0 || program.activeChannel == 1);

        for (const auto& path : program.presetPath)
            EXPECT_TRUE (path == "Init.vmxp" || presets.contains (path)) << path;
    }

    for (int i = 0; i < numParameters; ++i)
        EXPECT_EQ (processor.currentValues[i], processor.getParameter (i)) << i;
}

TEST_F (EditorTest, ASettingNumberOtherThanAOrBReadsAsA)
{
    for (const int setting : { 2, -1, 1000000 })
    {
        currentSlot().activeChannel = setting;
        currentSlot().presetPath[0] = "A.vmxp";
        openEditor();
        letTheTimerRun();
        EXPECT_FALSE (child<juce::Button> ("abButton_").getToggleState()) << setting;
        EXPECT_EQ (child<VeloraPresetMenu> ("presetMenu_").getSelectedFilePath(), "A.vmxp") << setting;
        editor.reset();
    }
}

TEST_F (EditorTest, PresetButtonsStepAndLoadPresetsAndANewerOneIsReported)
{
    processor.setParameter (depth, 0.3f);
    writePresetFile ("First.vmxp");
    processor.setParameter (depth, 0.6f);
    writePresetFile ("Second.vmxp", "2.0");
    processor.setParameter (depth, 0.2f);

    openEditor();
    letTheTimerRun();
    auto& menu = child<VeloraPresetMenu> ("presetMenu_");
    const auto firstId = menu.getFileName (0) == "First" ? 1 : 2;
    menu.setSelectedFileIndex (3 - firstId);
    host.changes.clear();

    // Stepping on from the last wraps to the first, which loads quietly.
    clickAndWait (firstId == 1 ? "presetIncButton_" : "presetDecButton_");
    EXPECT_EQ (currentSlot().presetPath[0], "First.vmxp");
    EXPECT_EQ (processor.getParameter (depth), 0.3f);
    EXPECT_FALSE (child ("alert_").isVisible());
    EXPECT_FALSE (host.changes.empty());

    clickAndWait (firstId == 1 ? "presetIncButton_" : "presetDecButton_");
    EXPECT_EQ (currentSlot().presetPath[0], "Second.vmxp");
    EXPECT_EQ (processor.getParameter (depth), 0.6f);
    ASSERT_TRUE (child ("alert_").isVisible());
    EXPECT_EQ (messageOf ("alert_"),
               juce::String ("\"Second.vmxp\"\nwas made using a newer version of Modulix QR7150.\n"
                             "To use this preset correctly, please install the newest version from: ")
                   + Editor::downloadsAddress);
    letTheTimerRun();
    EXPECT_EQ (presetName(), "Second");
}

TEST_F (EditorTest, APresetPickedInTheMenuIsLoadedAndOtherLabelsAreIgnored)
{
    processor.setParameter (mix, 0.8f);
    writePresetFile ("Picked.vmxp");
    processor.setParameter (mix, 0.1f);

    openEditor();
    letTheTimerRun();
    auto& menu = child<VeloraPresetMenu> ("presetMenu_");
    menu.setSelectedFileIndex (1);

    juce::Label other;
    editor->labelTextChanged (&other);
    EXPECT_EQ (processor.getParameter (mix), 0.1f);
    EXPECT_EQ (currentSlot().presetPath[0], "Init.vmxp");

    editor->labelTextChanged (&menu);
    EXPECT_EQ (processor.getParameter (mix), 0.8f);
    EXPECT_EQ (currentSlot().presetPath[0], "Picked.vmxp");
    EXPECT_TRUE (processor.presetChanged);
    letTheTimerRun();
    EXPECT_EQ (child<juce::Slider> ("mixKnob_").getValue(), static_cast<double> (0.8f));
    EXPECT_EQ (presetName(), "Picked");
}

// Preset files that are not strict UTF-8, on which JUCE's reader would hang the
// host's message thread or overflow its stack, reach the reader by three roads:
// the stored preset compared as the window opens, the arrows and a pick.
TEST_F (EditorTest, PresetFilesThatAreNotStrictUtf8AreRefusedByEveryRoad)
{
    using CraftedXmlTexts::Form;
    GTEST_FLAG_SET (death_test_style, "threadsafe");

    const auto liveSetting = [this]
    {
        std::vector<float> values;

        for (int k = 0; k < numParameters; ++k)
            values.push_back (processor.getParameter (k));

        return values;
    };

    // In a child process, so that a read that hangs or crashes fails this test only.
    EXPECT_EXIT (
        {
            CraftedXmlTexts::boundHangs();
            juce::StringArray names;
            bool held = true;

            for (const auto& text : CraftedXmlTexts::refusedTexts (Form::preset))
            {
                names.add ("Crafted " + juce::String (names.size() + 10) + ".vmxp");
                held = held && writePresetBytes (names[names.size() - 1], text.bytes);
            }

            processor.setParameter (depth, 0.3f);
            const auto before = liveSetting();

            for (const auto& name : names)
            {
                currentSlot().presetPath[0] = name;
                openEditor();
                letTheTimerRun();
                held = held && liveSetting() == before;
                editor.reset();
            }

            openEditor();
            letTheTimerRun();
            auto& menu = child<VeloraPresetMenu> ("presetMenu_");

            for (const auto& name : names)
            {
                menu.setSelectedFilePath (name);
                editor->labelTextChanged (&menu);
                clickAndWait ("presetIncButton_");
                held = held && liveSetting() == before;
            }

            editor.reset();
            home.deleteRecursively();
            CraftedXmlTexts::exitChild (held);
        },
        ::testing::ExitedWithCode (0), "");

    ASSERT_TRUE (writePresetBytes ("Multi.vmxp", CraftedXmlTexts::multiByteDocument (Form::preset)));
    openEditor();
    letTheTimerRun();
    auto& menu = child<VeloraPresetMenu> ("presetMenu_");
    menu.setSelectedFilePath ("Multi.vmxp");
    editor->labelTextChanged (&menu);
    EXPECT_EQ (processor.getParameter (depth), 0.7f);
}

TEST_F (EditorTest, FileMenuResults)
{
    openEditor();
    letTheTimerRun();
    const auto visibleDialogs = [this]
    {
        juce::StringArray names;
        for (auto* name : { "savePresetBrowser_", "overwritePresetComponent_", "alert_", "aboutContainer_" })
            if (child (name).isVisible())
                names.add (name);
        return names.joinIntoString (",");
    };

    for (const int nothing : { 0, -1, 5, 99 })
    {
        editor->fileMenuResult (nothing);
        EXPECT_EQ (visibleDialogs(), "") << nothing;
    }

    // "Save Preset" for a setting without a file makes the folder and asks for a name.
    ASSERT_FALSE (presetRoot().isDirectory());
    editor->fileMenuResult (Editor::savePreset);
    EXPECT_TRUE (presetRoot().isDirectory());
    EXPECT_EQ (visibleDialogs(), "savePresetBrowser_");
    dynamic_cast<VeloraFileBrowser&> (child ("savePresetBrowser_")).hide();

    // ... for a setting whose file exists, asks before overwriting it.
    const auto existing = writePresetFile ("Live/Wide.vmxp");
    currentSlot().presetPath[0] = "Live/Wide.vmxp";
    editor->fileMenuResult (Editor::savePreset);
    EXPECT_EQ (visibleDialogs(), "overwritePresetComponent_");
    EXPECT_EQ (child<VeloraOverwriteComponent> ("overwritePresetComponent_").presetFile, existing);
    EXPECT_EQ (messageOf ("overwritePresetComponent_"),
               "Are you sure you want to overwrite this preset?\n\n\"Live/Wide.vmxp\"");
    child<VeloraAlertComponent> ("overwritePresetComponent_").hide();

    // ... and never overwrites a file outside the preset folder, whatever the stored path says.
    const auto outside = home.getChildFile ("outside.vmxp");
    outside.replaceWithText ("keep");
    for (const auto& path : { juce::String ("../../../../../outside.vmxp"), outside.getFullPathName() })
    {
        currentSlot().presetPath[0] = path;
        editor->fileMenuResult (Editor::savePreset);
        EXPECT_EQ (visibleDialogs(), "savePresetBrowser_") << path;
        dynamic_cast<VeloraFileBrowser&> (child ("savePresetBrowser_")).hide();
    }
    EXPECT_EQ (outside.loadFileAsString(), "keep");

    editor->fileMenuResult (Editor::savePresetAs);
    EXPECT_EQ (visibleDialogs(), "savePresetBrowser_");
    dynamic_cast<VeloraFileBrowser&> (child ("savePresetBrowser_")).hide();

    editor->fileMenuResult (Editor::userManual);
    EXPECT_EQ (visibleDialogs(), "alert_");
    EXPECT_EQ (messageOf ("alert_"), "User manual on: \"" + Editor::getUserManual().getFullPathName()
                                         + "\" is not available.");
    child<VeloraAlertComponent> ("alert_").hide();
    EXPECT_TRUE (host.changes.empty());
}

TEST_F (EditorTest, SavePresetAsksToOverwriteOnlyAPresetOfThisProduct)
{
    openEditor();
    letTheTimerRun();
    const auto visibleDialog = [this]
    {
        for (auto* name : { "savePresetBrowser_", "overwritePresetComponent_" })
            if (child (name).isVisible())
                return juce::String (name);
        return juce::String();
    };

    writePresetFile ("Mine.vmxp");
    writePresetFile ("Sub/Deep.vmxp");
    writePresetFile ("a\\b.vmxp");   // a name holding a backslash, which stored paths read as a separator
    auto other = processor.writePreset (true);
    other.getChildByName ("Properties")->setAttribute ("deviceProductID", "com.other.Chorus");
    ASSERT_TRUE (other.writeTo (presetRoot().getChildFile ("Other.vmxp")));
    presetRoot().getChildFile ("LICENSE.txt").replaceWithText ("license");
    presetRoot().getChildFile ("Notes.vmxp").replaceWithText ("notes");
    const auto elsewhere = home.getChildFile ("Elsewhere");
    elsewhere.createDirectory();
    elsewhere.getChildFile ("victim.vmxp").replaceWithText ("victim");
    ASSERT_TRUE (elsewhere.createSymbolicLink (presetRoot().getChildFile ("Linked"), false));

    struct Case { const char* storedPath; const char* asked; };
    const Case cases[] = {
        { "Mine.vmxp", "Mine.vmxp" },
        { "Sub\\Deep.vmxp", "Sub/Deep.vmxp" },
        { "LICENSE.txt", nullptr },
        { "Notes.vmxp", nullptr },
        { "Other.vmxp", nullptr },
        { "Linked/victim.vmxp", nullptr },
        { "a\\b.vmxp", nullptr },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.storedPath);
        currentSlot().presetPath[0] = c.storedPath;
        editor->fileMenuResult (Editor::savePreset);

        if (c.asked != nullptr)
        {
            EXPECT_EQ (visibleDialog(), "overwritePresetComponent_");
            EXPECT_EQ (child<VeloraOverwriteComponent> ("overwritePresetComponent_").presetFile,
                       presetRoot().getChildFile (c.asked));
            child<VeloraAlertComponent> ("overwritePresetComponent_").hide();
        }
        else
        {
            EXPECT_EQ (visibleDialog(), "savePresetBrowser_");
            dynamic_cast<VeloraFileBrowser&> (child ("savePresetBrowser_")).hide();
        }
    }

    EXPECT_FALSE (presetRoot().getChildFile ("a").exists());
    EXPECT_EQ (elsewhere.getChildFile ("victim.vmxp").loadFileAsString(), "victim");
    EXPECT_EQ (presetRoot().getChildFile ("LICENSE.txt").loadFileAsString(), "license");
}

TEST_F (EditorTest, AStatesOverlongPresetPathIsRefusedAndTheLabelStaysShort)
{
    ModulixQR7150AudioProcessor other;
    other.programs[0].presetPath[0] = juce::String::repeatedString ("p", 1000000);
    loadStateWhileOpen (other);

    // Painting the label costs in proportion to its text: a short text paints quickly.
    EXPECT_EQ (currentSlot().presetPath[0], "");
    EXPECT_LT (presetName().length(), 100);
}

TEST_F (EditorTest, AboutHotSpotShowsTheVersionInTheModalAboutBox)
{
    openEditor();
    clickAndWait ("aboutShowButton_");
    auto& about = child ("aboutContainer_");
    ASSERT_TRUE (about.isVisible());
    EXPECT_TRUE (about.isCurrentlyModal());

    juce::StringArray texts;
    for (auto* c : about.getChildren())
        if (auto* label = dynamic_cast<juce::Label*> (c))
            texts.add (label->getText());
    EXPECT_TRUE (texts.contains ("1.0.1 (64bit)")) << texts.joinIntoString ("|");
}

//==============================================================================
/** strace attached to this process, failing the named system calls with EIO (only
    on that path, when one is given) for as long as it lives: a disk whose reads,
    flushes or renames fail, made for one process. */
class InjectedFaults
{
public:
    /** Whether strace is installed and may attach to a process here. */
    static bool available()
    {
        return std::system ("strace -qq -o /dev/null true >/dev/null 2>&1") == 0;
    }

    InjectedFaults (const juce::String& calls, const juce::String& path)
    {
        juce::StringArray arguments { "strace", "-f", "-qq", "-o", "/dev/null", "-p", juce::String (::getpid()),
                                      "-e", "trace=" + calls, "-e", "inject=" + calls + ":error=EIO" };
        if (path.isNotEmpty())
            arguments.addArray ({ "-P", path });

        std::vector<char*> argv;
        for (auto& argument : arguments)
            argv.push_back (const_cast<char*> (argument.toRawUTF8()));
        argv.push_back (nullptr);

        posix_spawn_file_actions_t quiet;
        posix_spawn_file_actions_init (&quiet);
        posix_spawn_file_actions_addopen (&quiet, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen (&quiet, 2, "/dev/null", O_WRONLY, 0);
        const bool started = ::posix_spawnp (&tracer, "strace", &quiet, nullptr, argv.data(), environ) == 0;
        posix_spawn_file_actions_destroy (&quiet);

        attached = started && waitUntilTraced (true);
    }

    ~InjectedFaults()
    {
        ::kill (tracer, SIGTERM);
        ::waitpid (tracer, nullptr, 0);
        waitUntilTraced (false);
    }

    bool attached = false;

private:
    static bool isTraced()
    {
        const auto status = juce::File ("/proc/self/status").loadFileAsString();
        return status.fromFirstOccurrenceOf ("TracerPid:", false, false).trim().getIntValue() != 0;
    }

    static bool waitUntilTraced (bool traced)
    {
        for (int tries = 0; tries < 1000; ++tries, std::this_thread::sleep_for (std::chrono::milliseconds (10)))
            if (isTraced() == traced)
                return true;

        return false;
    }

    pid_t tracer = 0;
};

/** Ends the process as a failure when it is not told in time that the work is done:
    a message thread stuck in a blocking call never would. */
class Watchdog
{
public:
    Watchdog()
        : thread ([this]
          {
              for (int tenths = 0; tenths < 600 && ! finished; ++tenths)
                  std::this_thread::sleep_for (std::chrono::milliseconds (100));

              if (! finished)
              {
                  std::fputs ("the message thread is blocked\n", stderr);
                  std::_Exit (2);
              }
          })
    {
    }

    ~Watchdog()
    {
        finished = true;
        thread.join();
    }

private:
    std::atomic<bool> finished { false };
    std::thread thread;
};

/** Tells what went wrong in a child process, on its error output, and counts it. */
struct ProblemReport
{
    void operator() (bool isWrong, const char* text)
    {
        if (isWrong)
        {
            std::fprintf (stderr, "%s\n", text);
            ++count;
        }
    }

    int count = 0;
};

TEST_F (EditorTest, APipeSwappedInForAPresetByAnotherThreadNeverBlocksTheWindow)
{
    GTEST_FLAG_SET (death_test_style, "threadsafe");

    EXPECT_EXIT (
        {
            const Watchdog watchdog;
            writePresetFile ("A.vmxp");
            const auto swapped = writePresetFile ("Swap.vmxp");
            writePresetFile ("Z.vmxp");
            const auto presetText = swapped.loadFileAsString().toStdString();
            openEditor();
            letTheTimerRun();

            // As a sync tool or a script that replaces files by rename: now a pipe, now
            // the preset again.
            std::atomic<bool> swapping { true };
            std::thread swapper ([&]
            {
                const auto target = swapped.getFullPathName().toStdString();
                const auto pipe = swapped.getSiblingFile (".pipe").getFullPathName().toStdString();
                const auto copy = swapped.getSiblingFile (".copy").getFullPathName().toStdString();

                while (swapping)
                {
                    ::mkfifo (pipe.c_str(), 0600);
                    ::rename (pipe.c_str(), target.c_str());

                    if (auto* out = std::fopen (copy.c_str(), "w"))
                    {
                        std::fputs (presetText.c_str(), out);
                        std::fclose (out);
                    }

                    ::rename (copy.c_str(), target.c_str());
                }
            });

            auto& menu = presetMenu();
            auto& question = child<VeloraOverwriteComponent> ("overwritePresetComponent_");

            // Every road that reads a preset: the arrows, a pick from the menu, the
            // timer's comparison, "Save Preset"'s look at its file and the save itself.
            for (int step = 0; step < 4000; ++step)
            {
                switch (step % 4)
                {
                    case 0:  editor->buttonClicked (&child<juce::Button> ("presetIncButton_")); break;
                    case 1:  menu.setSelectedFileIndex (1 + step % juce::jmax (1, menu.getNumOfFiles() - 1));
                             editor->labelTextChanged (&menu);
                             break;
                    case 2:  editor->timerCallback(); break;
                    default:
                        currentSlot().presetPath[0] = "Swap.vmxp";
                        editor->fileMenuResult (Editor::savePreset);

                        if (question.isVisible())
                            question.okButtonClicked();   // saves, or turns into the failure report

                        if (question.isVisible())
                            question.hide();

                        if (saveBrowser().isVisible())
                            saveBrowser().hide();

                        break;
                }
            }

            swapping = false;
            swapper.join();
            std::_Exit (0);
        },
        ::testing::ExitedWithCode (0), "");
}

TEST_F (EditorTest, WhatCannotBeLoadedIsNeverShownAsTheLoadedPreset)
{
    const auto text = writePresetFile ("Good.vmxp").loadFileAsString();
    auto other = processor.writePreset (true);
    other.getChildByName ("Properties")->setAttribute ("deviceProductID", "com.other.Chorus");
    ASSERT_TRUE (other.writeTo (presetRoot().getChildFile ("Other.vmxp")));
    presetRoot().getChildFile ("Truncated.vmxp").replaceWithText (text.substring (0, text.length() / 2));
    ASSERT_TRUE (presetRoot().getChildFile ("Empty.vmxp").create());
    presetRoot().getChildFile ("Huge.vmxp").replaceWithText (text + "<!--" + juce::String::repeatedString (" ", 1 << 20) + "-->");
    ASSERT_EQ (::mkfifo (presetRoot().getChildFile ("Pipe.vmxp").getFullPathName().toRawUTF8(), 0600), 0);
    ASSERT_TRUE (juce::File ("/dev/zero").createSymbolicLink (presetRoot().getChildFile ("Device.vmxp"), false));
    ASSERT_TRUE (presetRoot().getChildFile ("Missing.vmxp").createSymbolicLink (presetRoot().getChildFile ("Dangling.vmxp"), false));

    // Only Good holds this setting: what is loaded shows unmarked, nothing else.
    const std::map<juce::String, juce::String> shownAfterLoading {
        { "Good", "Good" }, { "Truncated", "Truncated*" }, { "Empty", "Empty*" }, { "Huge", "Huge*" }, { "Other", "Other*" },
    };

    const auto shownFor = [&] (const juce::String& name)
    {
        const auto known = shownAfterLoading.find (name);
        return known != shownAfterLoading.end() ? known->second : juce::String ("(no such file is listed)");
    };

    openEditor();
    letTheTimerRun();
    auto& menu = presetMenu();
    juce::StringArray stepped;

    for (size_t step = 0; step < shownAfterLoading.size(); ++step)
    {
        clickAndWait ("presetIncButton_");
        letTheTimerRun();
        const auto name = activePresetFile().getFileNameWithoutExtension();
        stepped.add (name);
        EXPECT_EQ (presetName(), shownFor (name)) << name << " reached with the arrow";

        // The same file picked from the menu.
        menu.setSelectedFileIndex (menu.getSelectedFileIndex());
        editor->labelTextChanged (&menu);
        letTheTimerRun();
        EXPECT_EQ (presetName(), shownFor (name)) << name << " picked from the menu";
    }

    stepped.sort (false);
    EXPECT_EQ (stepped.joinIntoString (" "), "Empty Good Huge Other Truncated") << "only regular files are listed";

    // A stored path (a program change, a project) naming what is no regular file.
    for (const auto* name : { "Pipe", "Device", "Dangling" })
    {
        currentSlot().presetPath[0] = juce::String (name) + ".vmxp";
        processor.presetChanged = true;
        processor.paramsChanged = true;
        letTheTimerRun();
        EXPECT_EQ (presetName(), juce::String (name) + "*") << name;
    }
}

TEST_F (EditorTest, TenThousandPresetsFlatOrInFoldersAreListedWholeAndSteppedInOrder)
{
    constexpr int numPresets = 10000;

    for (const int numFolders : { 0, 40 })
    {
        SCOPED_TRACE (numFolders);
        presetRoot().deleteRecursively();

        for (int i = 0; i < numPresets; ++i)
            ASSERT_TRUE (presetRoot().getChildFile ((numFolders > 0 ? "Bank " + juce::String (i % numFolders) + "/" : juce::String())
                                                    + "p" + juce::String (i) + ".vmxp").create());

        openEditor();
        letTheTimerRun();
        const auto expected = modulix_test::listInPostOrder (presetRoot(), "*.vmxp");
        ASSERT_EQ (expected.size(), numPresets);

        auto& next = child<juce::Button> ("presetIncButton_");
        int inOrder = 0;

        for (int step = 0; step <= numPresets; ++step)
        {
            editor->buttonClicked (&next);
            inOrder += activePresetFile().getFullPathName() == expected[step % numPresets] ? 1 : 0;
        }

        EXPECT_EQ (inOrder, numPresets + 1) << "every preset once, in order, then round to the first";

        // A preset saved now shows as it is, and the arrows go on from it.
        saveAs ("Zeta new");
        letTheTimerRun();
        EXPECT_EQ (presetName(), "Zeta new");
        const auto listed = modulix_test::listInPostOrder (presetRoot(), "*.vmxp");
        const int saved = listed.indexOf (presetRoot().getChildFile ("Zeta new.vmxp").getFullPathName());
        ASSERT_GE (saved, 0);
        editor->buttonClicked (&next);
        EXPECT_EQ (activePresetFile().getFullPathName(), listed[(saved + 1) % listed.size()]);
        editor.reset();
    }
}

TEST_F (EditorTest, APresetBeyondTheMenusBoundsIsShownAsItIsAndSteppedFrom)
{
    juce::String deep = "Deep";
    for (int level = 1; level <= VeloraOptionMenuTree::maxDepth + 2; ++level)
        deep << "/D" << level;

    writePresetFile ("Top1.vmxp");
    writePresetFile ("Top2.vmxp");
    writePresetFile (deep + "/Bottom.vmxp");
    currentSlot().presetPath[0] = deep + "/Bottom.vmxp";

    openEditor();
    letTheTimerRun();
    EXPECT_EQ (presetName(), "Bottom");

    juce::PopupMenu::Item last;
    for (juce::PopupMenu::MenuItemIterator items (presetMenu().getRootMenu()); items.next();)
        last = items.getItem();
    EXPECT_EQ (last.text, VeloraOptionMenuTree::listCutText);
    EXPECT_FALSE (last.isEnabled);

    // The arrows go on from it: it comes after every listed file.
    const auto topFiles = modulix_test::listInPostOrder (presetRoot(), "Top*.vmxp");
    clickAndWait ("presetIncButton_");
    EXPECT_EQ (activePresetFile().getFullPathName(), topFiles[0]);
    currentSlot().presetPath[0] = deep + "/Bottom.vmxp";
    processor.presetChanged = true;
    processor.paramsChanged = true;
    letTheTimerRun();
    clickAndWait ("presetDecButton_");
    EXPECT_EQ (activePresetFile().getFullPathName(), topFiles[1]);

    // A preset saved down there shows as it is too.
    editor->fileMenuResult (Editor::savePresetAs);
    browsedFiles().setRoot (presetRoot().getChildFile (deep));
    typeIntoSaveBrowser ("Saved");
    letTheTimerRun();
    EXPECT_TRUE (holdsCurrentSetting (presetRoot().getChildFile (deep + "/Saved.vmxp")));
    EXPECT_EQ (currentSlot().presetPath[0], deep + "/Saved.vmxp");
    EXPECT_EQ (presetName(), "Saved");
}

TEST_F (EditorTest, EveryNameTheDiskTakesCanBeSavedAndSavedOver)
{
    openEditor();
    letTheTimerRun();

    // File names of 248 to 255 bytes with the extension, the longest the disk takes;
    // "é" takes two bytes.
    const juce::String names[] = {
        juce::String::repeatedString ("a", 243),
        juce::String::repeatedString ("b", 250),
        juce::String::repeatedString (juce::String::fromUTF8 ("\xc3\xa9"), 125),
    };

    for (const auto& name : names)
    {
        const auto file = presetRoot().getChildFile (name + ".vmxp");
        SCOPED_TRACE (file.getFileName().getNumBytesAsUTF8());

        // "Save Preset As...": first a new file, then over it after the question.
        for (const float value : { 0.3f, 0.7f })
        {
            processor.setParameter (depth, value);
            letTheTimerRun();
            saveAs (name);
            EXPECT_FALSE (saveBrowser().isVisible());
            EXPECT_TRUE (holdsCurrentSetting (file));
            EXPECT_EQ (currentSlot().presetPath[0], file.getFileName());
            EXPECT_EQ (presetName(), name);
        }

        // "Save Preset" over it.
        processor.setParameter (depth, 0.5f);
        letTheTimerRun();
        editor->fileMenuResult (Editor::savePreset);
        auto& question = child<VeloraOverwriteComponent> ("overwritePresetComponent_");
        ASSERT_TRUE (question.isVisible());
        clickButtonOf (question, "OK");
        EXPECT_FALSE (question.isVisible());
        EXPECT_TRUE (holdsCurrentSetting (file));
        EXPECT_EQ (presetName(), name);
    }

    // A folder of the longest name the new-folder dialog makes takes such a preset too.
    const auto longest = juce::File::createLegalFileName (juce::String::repeatedString ("c", 255));
    editor->fileMenuResult (Editor::savePresetAs);
    clickButtonOf (saveBrowser(), "New Folder");
    auto& newFolder = *modulix_test::findChild<VeloraNewFolderComponent> (saveBrowser());
    modulix_test::findChild<juce::TextEditor> (newFolder, "textEditor_")->setText (longest);
    newFolder.timerCallback();
    clickButtonOf (newFolder, "OK");
    ASSERT_TRUE (presetRoot().getChildFile (longest).isDirectory());
    browsedFiles().setRoot (presetRoot().getChildFile (longest));
    typeIntoSaveBrowser (names[1]);
    EXPECT_TRUE (holdsCurrentSetting (presetRoot().getChildFile (longest + "/" + names[1] + ".vmxp")));
    EXPECT_EQ (presetName(), names[1]);

    EXPECT_EQ (presetRoot().getNumberOfChildFiles (juce::File::findFiles, ".*"), 0) << "no temporary file is left";
}

TEST_F (EditorTest, APresetFolderThatCannotBeCreatedIsReportedAndNothingElseChanges)
{
    GTEST_FLAG_SET (death_test_style, "threadsafe");
    const auto music = juce::File::getSpecialLocation (juce::File::userMusicDirectory);

    struct Case
    {
        const char* what;
        bool needsMount;
        std::function<bool()> arrange;
    };

    const Case cases[] = {
        { "the home folder is a file", false, [this]
          {
              const auto homeFile = home.getChildFile ("home-file");
              return homeFile.replaceWithText ("x") && ::setenv ("HOME", homeFile.getFullPathName().toRawUTF8(), 1) == 0;
          } },
        { "a file stands where the maker's folder belongs", false, [&]
          {
              const auto blocker = music.getChildFile ("Audio Music Apps/Velora");
              return blocker.getParentDirectory().createDirectory().wasOk() && blocker.replaceWithText ("x");
          } },
        { "the music folder is read-only", true, [&]
          {
              return music.createDirectory().wasOk() && modulix_test::enterPrivateMounts()
                  && modulix_test::remountReadOnly (music.getFullPathName().toRawUTF8());
          } },
        { "the music folder's disk has no inode left", true, [&]
          {
              return music.createDirectory().wasOk() && modulix_test::enterPrivateMounts()
                  && ::mount ("tmpfs", music.getFullPathName().toRawUTF8(), "tmpfs", 0, "nr_inodes=1") == 0;
          } },
    };

    const auto untested = modulix_test::runArrangeableCases (cases, [&] (const auto& c)
    {
        EXPECT_EXIT (
            {
                if (! c.arrange())
                    std::_Exit (3);

                openEditor();
                letTheTimerRun();
                const auto before = modulix_test::everythingBelow (home);
                const auto expected = juce::String (Editor::presetFolderFailedMessage) + "\n\n\""
                                    + presetRoot().getFullPathName() + "\"";
                ProblemReport report;

                // "Save Preset As...", and "Save Preset" for a setting without a file.
                for (const int item : { Editor::savePresetAs, Editor::savePreset })
                {
                    editor->fileMenuResult (item);
                    report (! child ("alert_").isVisible(), "the user was not told");
                    report (messageOf ("alert_") != expected, "the message does not name the folder");
                    report (saveBrowser().isVisible(), "a browser opened on a folder that is not there");
                    child<VeloraAlertComponent> ("alert_").hide();
                }

                report (modulix_test::everythingBelow (home) != before, "something changed on the disk");
                report (currentSlot().presetPath[0] != "Init.vmxp", "the active preset changed");
                report (presetName() != "Init*", "the label changed");
                std::fflush (stderr);
                ::umount2 (music.getFullPathName().toRawUTF8(), MNT_DETACH);
                std::_Exit (report.count);
            },
            ::testing::ExitedWithCode (0), "")
            << c.what;
    });

    if (! untested.isEmpty())
        GTEST_SKIP() << "mount namespaces are not available here, untested: " << untested.joinIntoString (", ");
}

TEST_F (EditorTest, ASaveIsReportedAsDoneExactlyWhenTheNewPresetReplacedTheOld)
{
    if (! InjectedFaults::available())
        GTEST_SKIP() << "strace is missing or may not attach to a process here";

    GTEST_FLAG_SET (death_test_style, "threadsafe");

    struct Case
    {
        const char* what;
        const char* calls;
        bool onThePresetOnly;
        bool saved;
    };

    const Case cases[] = {
        { "reading the preset fails once the new one has replaced it", "read,pread64,readv,preadv", true, true },
        { "reading back what was written fails", "pread64", false, false },
        { "flushing it to the disk fails", "fsync", false, false },
        { "the rename fails", "rename,renameat,renameat2", false, false },
    };

    for (const auto& c : cases)
    {
        for (const int road : { Editor::savePreset, Editor::savePresetAs })
        {
            EXPECT_EXIT (
                {
                    const auto old = writePresetFile ("Old.vmxp");
                    const juce::String before = old.loadFileAsString();
                    const juce::String activeBefore = road == Editor::savePreset ? "Old.vmxp" : "Init.vmxp";
                    currentSlot().presetPath[0] = activeBefore;
                    openEditor();
                    letTheTimerRun();
                    processor.setParameter (depth, 0.8f);
                    letTheTimerRun();
                    const auto shownBefore = presetName();

                    // Up to the question whether to overwrite it.
                    auto* box = &child<VeloraOverwriteComponent> ("overwritePresetComponent_");
                    editor->fileMenuResult (road);

                    if (road == Editor::savePresetAs)
                    {
                        typeIntoSaveBrowser ("Old");
                        box = &browserQuestion();
                    }

                    if (! box->isVisible())
                        std::_Exit (3);

                    {
                        const InjectedFaults faults (c.calls, c.onThePresetOnly ? old.getFullPathName() : juce::String());

                        if (! faults.attached)
                            std::_Exit (4);

                        box->okButtonClicked();
                    }

                    const bool reportedSaved = ! box->isVisible();
                    ProblemReport report;
                    report (reportedSaved != c.saved, reportedSaved ? "reported as saved" : "reported as not saved");

                    if (reportedSaved)
                    {
                        report (! holdsCurrentSetting (old), "the file does not hold the saved setting");
                        report (currentSlot().presetPath[0] != "Old.vmxp", "the saved file was not recorded");
                        report (presetName() != "Old", "the label does not show the saved preset");
                    }
                    else
                    {
                        report (old.loadFileAsString() != before, "the old preset changed");
                        report (currentSlot().presetPath[0] != activeBefore, "the active preset changed");
                        report (presetName() != shownBefore, "the label left the active preset");
                    }

                    report (presetRoot().getNumberOfChildFiles (juce::File::findFiles, ".*") != 0,
                            "a temporary file was left behind");
                    std::fflush (stderr);
                    std::_Exit (report.count);
                },
                ::testing::ExitedWithCode (0), "")
                << c.what << (road == Editor::savePreset ? ", Save Preset" : ", Save Preset As");
        }
    }
}

//==============================================================================
/** A stand-in desktop opener on PATH: records its arguments, one per line, and
    its process id, then waits while a hold file exists, so that the test can
    look at what it was given from outside. The host's side holds a project
    file and a socket open, as hosts do, neither marked close-on-exec. */
class OpenerTest : public EditorTest
{
protected:
    OpenerTest()
    {
        const auto bin = home.getChildFile ("bin");
        bin.createDirectory();
        opener.replaceWithText ("#!/bin/sh\n"
                                "printf '%s\\n' \"$@\" > \"" + arguments.getFullPathName() + ".part\"\n"
                                "echo $$ > \"" + pidFile.getFullPathName() + ".part\"\n"
                                "mv \"" + arguments.getFullPathName() + ".part\" \"" + arguments.getFullPathName() + "\"\n"
                                "mv \"" + pidFile.getFullPathName() + ".part\" \"" + pidFile.getFullPathName() + "\"\n"
                                "while [ -e \"" + hold.getFullPathName() + "\" ]; do sleep 0.02; done\n",
                                false, false, "\n");
        opener.setExecutePermission (true);
        previousPath = juce::SystemStats::getEnvironmentVariable ("PATH", {});
        ::setenv ("PATH", (bin.getFullPathName() + ":" + previousPath).toRawUTF8(), 1);

        projectFile.replaceWithText ("session");
        projectDescriptor = ::open (projectFile.getFullPathName().toRawUTF8(), O_RDONLY);
        ::socketpair (AF_UNIX, SOCK_STREAM, 0, sockets);
    }

    ~OpenerTest() override
    {
        hold.deleteFile();
        ::close (projectDescriptor);
        ::close (sockets[0]);
        ::close (sockets[1]);
        ::setenv ("PATH", previousPath.toRawUTF8(), 1);
    }

    /** What the opener received, once it has run: its arguments and the targets
        of its open descriptors. */
    struct Launch
    {
        juce::String arguments;
        juce::StringArray descriptorTargets;
        int pid = 0;
    };

    Launch launchFromFileMenu (int item)
    {
        hold.create();
        editor->fileMenuResult (item);

        Launch launch;
        if (! pumpUntil ([this] { return pidFile.existsAsFile(); }, 10000))
            return launch;

        launch.arguments = arguments.loadFileAsString();
        launch.pid = pidFile.loadFileAsString().getIntValue();

        for (const auto& entry : juce::File ("/proc/" + juce::String (launch.pid) + "/fd")
                                     .findChildFiles (juce::File::findFilesAndDirectories, false))
        {
            char target[4096] {};
            const auto length = ::readlink (entry.getFullPathName().toRawUTF8(), target, sizeof (target) - 1);
            launch.descriptorTargets.add (juce::String::fromUTF8 (target, static_cast<int> (juce::jmax<ssize_t> (0, length))));
        }

        // Let it finish, and wait until it has exited.
        hold.deleteFile();
        pumpUntil ([&launch] { return ! isRunning (launch.pid); }, 10000);
        return launch;
    }

    /** Only the opener's own script and /dev/null: nothing of the host's. */
    void expectNothingInherited (const Launch& launch) const
    {
        EXPECT_FALSE (launch.descriptorTargets.isEmpty());

        for (const auto& target : launch.descriptorTargets)
            EXPECT_TRUE (target == "/dev/null" || target == opener.getFullPathName()) << target;
    }

    static bool isRunning (int pid)
    {
        const auto state = statusOf (pid);
        return state.isNotEmpty() && state[0] != 'Z';
    }

    /** The state letter and the parent's id of a process, from /proc; empty once gone. */
    static juce::String statusOf (int pid)
    {
        const auto stat = juce::File ("/proc/" + juce::String (pid) + "/stat").loadFileAsString();
        return stat.fromLastOccurrenceOf (") ", false, false).trim();
    }

    /** Children of this process left unreaped by a launch: the shell that
        JUCE's launcher starts, or the opener itself. (JUCE leaves other
        children of its own, such as gsettings, which are not looked at.) */
    static juce::StringArray zombieLaunchers()
    {
        juce::StringArray zombies;
        const auto self = juce::String (::getpid());

        for (const auto& entry : juce::File ("/proc").findChildFiles (juce::File::findDirectories, false))
        {
            const auto stat = entry.getChildFile ("stat").loadFileAsString();
            const auto name = stat.fromFirstOccurrenceOf ("(", false, false).upToLastOccurrenceOf (")", false, false);
            const auto fields = juce::StringArray::fromTokens (stat.fromLastOccurrenceOf (") ", false, false), " ", {});

            if (fields.size() > 1 && fields[0] == "Z" && fields[1] == self
                && juce::StringArray { "sh", "dash", "bash", "xdg-open" }.contains (name))
                zombies.add (entry.getFileName() + " " + name);
        }

        return zombies;
    }

    const juce::File opener { home.getChildFile ("bin").getChildFile ("xdg-open") };
    const juce::File arguments { home.getChildFile ("opened.txt") };
    const juce::File pidFile { home.getChildFile ("opener.pid") };
    const juce::File hold { home.getChildFile ("opener.hold") };
    const juce::File projectFile { home.getChildFile ("project.session") };
    int projectDescriptor = -1;
    int sockets[2] { -1, -1 };
    juce::String previousPath;
};

TEST_F (OpenerTest, TheUserManualGoesToTheOpenerAsOnePathNeverThroughAShellNorRun)
{
    // A home folder whose name a shell would expand, and a manual that would
    // leave a mark if it were executed.
    const auto strangeHome = home.getChildFile ("it's $(touch shell-ran) `touch tick-ran` ; touch semi-ran");
    strangeHome.createDirectory();
    ::setenv ("HOME", strangeHome.getFullPathName().toRawUTF8(), 1);

    const auto manual = Editor::getUserManual();
    manual.getParentDirectory().createDirectory();
    manual.replaceWithText ("#!/bin/sh\ntouch \"" + home.getChildFile ("manual-ran").getFullPathName() + "\"\n",
                            false, false, "\n");
    manual.setExecutePermission (true);

    openEditor();
    const auto launch = launchFromFileMenu (Editor::userManual);

    EXPECT_EQ (launch.arguments, manual.getFullPathName() + "\n");
    EXPECT_FALSE (child ("alert_").isVisible());

    for (const auto* mark : { "shell-ran", "tick-ran", "semi-ran", "manual-ran" })
    {
        EXPECT_FALSE (home.getChildFile (mark).exists()) << mark;
        EXPECT_FALSE (strangeHome.getChildFile (mark).exists()) << mark;
        EXPECT_FALSE (juce::File::getCurrentWorkingDirectory().getChildFile (mark).exists()) << mark;
    }
}

TEST_F (OpenerTest, TheManualAndTheWebsiteOpenWithoutAShellZombieOrInheritedDescriptor)
{
    const auto manual = Editor::getUserManual();
    manual.getParentDirectory().createDirectory();
    manual.replaceWithText ("%PDF-1.4");

    const std::pair<int, juce::String> launches[] {
        { Editor::userManual, manual.getFullPathName() },
        { Editor::veloraWebsite, Editor::websiteAddress },
        { Editor::veloraWebsite, Editor::websiteAddress },
    };

    openEditor();

    for (const auto& [item, target] : launches)
    {
        SCOPED_TRACE (target);
        const auto launch = launchFromFileMenu (item);
        ASSERT_NE (launch.pid, 0) << "the opener did not run";
        EXPECT_EQ (launch.arguments, target + "\n");
        expectNothingInherited (launch);
        EXPECT_TRUE (zombieLaunchers().isEmpty()) << zombieLaunchers().joinIntoString (", ");
        arguments.deleteFile();
        pidFile.deleteFile();
    }

    EXPECT_TRUE (juce::String (Editor::websiteAddress).contains ("example.com"));
    EXPECT_TRUE (juce::String (Editor::downloadsAddress).contains ("example.com"));
}

//==============================================================================
TEST_F (EditorTest, AnOpenWindowShowingNoChangeRepaintsNothingAndAKnobOnlyItself)
{
    auto& e = openEditor();
    auto* recorder = new RepaintRecorder();
    e.setCachedComponentImage (recorder);
    letTheTimerRun();
    processor.setParameter (depth, 0.4f);  // marks the name as modified once
    letTheTimerRun();

    recorder->areas.clear();
    pumpMessages (300);
    EXPECT_TRUE (recorder->areas.empty()) << recorder->areas.size() << " repaints while idle";

    processor.setParameter (depth, 0.9f);
    letTheTimerRun();
    ASSERT_FALSE (recorder->areas.empty());

    for (const auto& area : recorder->areas)
        EXPECT_TRUE (child ("depthKnob_").getBounds().contains (area)) << area.toString();
}

TEST_F (EditorTest, ClosingWithADialogOpenLeavesNoModalStateTimerOrListener)
{
    for (const auto* opener : { "aboutShowButton_", "fileMenuSaveAs", "missingManual" })
    {
        SCOPED_TRACE (opener);
        openEditor();

        if (juce::String (opener) == "fileMenuSaveAs")
            editor->fileMenuResult (Editor::savePresetAs);
        else if (juce::String (opener) == "missingManual")
            editor->fileMenuResult (Editor::userManual);
        else
            clickAndWait (opener);

        EXPECT_GE (juce::Component::getNumCurrentlyModalComponents(), 1);
        editor.reset();
        EXPECT_EQ (juce::Component::getNumCurrentlyModalComponents(), 0);

        // Flags raised after the window closed find no editor to call.
        processor.setParameter (depth, 0.5f);
        processor.presetChanged = true;
        letTheTimerRun();
        EXPECT_TRUE (processor.paramsChanged);
    }
}

TEST_F (EditorTest, WholeWindowSnapshotsForLookingAt)
{
    const auto keep = [this] (const juce::String& name)
    {
        const auto image = editor->createComponentSnapshot (editor->getLocalBounds());
        EXPECT_EQ (image.getWidth(), 325);
        EXPECT_EQ (image.getHeight(), 454);

        const auto file = juce::File (MODULIX_SNAPSHOT_DIR).getChildFile (name + ".png");
        file.getParentDirectory().createDirectory();
        file.deleteFile();
        juce::FileOutputStream out (file);
        ASSERT_TRUE (out.openedOk());
        juce::PNGImageFormat().writeImageToStream (image, out);
    };

    writePresetFile ("Newer.vmxp", "2.0");
    openEditor();
    letTheTimerRun();
    keep ("editor");

    editor->fileMenuResult (Editor::userManual);
    keep ("editor-missing-manual");
    child<VeloraAlertComponent> ("alert_").hide();

    auto& menu = child<VeloraPresetMenu> ("presetMenu_");
    menu.setSelectedFileIndex (1);
    editor->labelTextChanged (&menu);
    keep ("editor-newer-preset");
    child<VeloraAlertComponent> ("alert_").hide();

    editor->fileMenuResult (Editor::savePreset);
    keep ("editor-overwrite");
    child<VeloraAlertComponent> ("overwritePresetComponent_").hide();

    editor->fileMenuResult (Editor::savePresetAs);
    pumpMessages (300);
    keep ("editor-save-as");
    saveBrowser().hide();

    // A home folder that is a file leaves no room for the preset folder.
    const auto homeFile = home.getChildFile ("home-file");
    ASSERT_TRUE (homeFile.replaceWithText ("x"));
    ::setenv ("HOME", homeFile.getFullPathName().toRawUTF8(), 1);
    editor->fileMenuResult (Editor::savePresetAs);
    keep ("editor-preset-folder-failed");
}

} // namespace
