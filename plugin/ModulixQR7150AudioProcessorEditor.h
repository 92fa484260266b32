#pragma once

#include "ModulixQR7150AudioProcessor.h"

#include "Velora2StateButton.h"
#include "Velora2StateKickButton.h"
#include "Velora4StateButton3PDT.h"
#include "VeloraAlertComponent.h"
#include "VeloraKnob.h"
#include "VeloraModDelayFreq20HzMaxLog10Knob.h"
#include "VeloraModDelaySyncKnob.h"
#include "VeloraOverwriteComponent.h"
#include "VeloraPresetBrowser.h"
#include "VeloraPresetMenu.h"
#include "VeloraSplashScreen.h"
#include "VeloraVerticalSwitch2.h"

#include <memory>

/** The plug-in window: a fixed 325 x 454 picture with every parameter control,
    the preset bar, the A/B switch and copy button, the type hot-spots, the about
    box and the hidden dialogs laid over it.

    Control changes go to the host through setParameterNotifyingHost; changes made
    elsewhere (automation, program changes, state loads) reach the controls only
    through the processor's refresh flags, which a 50 ms timer polls. */
class ModulixQR7150AudioProcessorEditor : public juce::AudioProcessorEditor,
                                          public juce::Timer,
                                          public juce::Button::Listener,
                                          public juce::Slider::Listener,
                                          public juce::Label::Listener
{
public:
    /** The maker's web site (file menu) and the downloads page named by the
        newer-version message. */
    static constexpr const char* websiteAddress = "https://velora.example.com/";
    static constexpr const char* downloadsAddress = "https://velora.example.com/updates";

    /** Text of the report of a preset folder that cannot be created, above its path. */
    static constexpr const char* presetFolderFailedMessage = "Couldn't create the preset folder!";

    /** The file-menu item ids. */
    enum FileMenuItem { savePreset = 1, savePresetAs, userManual, veloraWebsite };

    /** Builds every child, sends nothing to the host, and arms the timer so that
        its first tick shows the processor's state. */
    explicit ModulixQR7150AudioProcessorEditor (ModulixQR7150AudioProcessor* owner);
    ~ModulixQR7150AudioProcessorEditor() override;

    /** Draws the background picture; everything else is drawn by the children. */
    void paint (juce::Graphics&) override;

    /** Follows the refresh flags: re-reads the controls, the A/B switch and the
        preset name, and re-selects the preset after a preset or A/B change. */
    void timerCallback() override;

    void buttonClicked (juce::Button*) override;
    void sliderValueChanged (juce::Slider*) override;

    /** A preset picked in the preset menu is loaded. */
    void labelTextChanged (juce::Label*) override;

    /** Acts on a file-menu pick (a FileMenuItem); 0 (dismissed) and other values do nothing. */
    void fileMenuResult (int result);

    /** Creates the preset folder, with its parents, when it is missing; true when it
        is there as a folder. */
    static bool createPresetFolder();

    /** The user manual that the file menu opens. */
    static juce::File getUserManual();

private:
    ModulixQR7150AudioProcessor& getProcessor() const noexcept;

    void sendParameter (int index, float value);
    double getValue (int parameter) const;
    void showSwitch (juce::Button& button, int parameter);
    void showRateKnobForSync();
    void refreshControls();
    void refreshAbSwitch();
    void showCopyDirection (bool bIsActive);
    void loadSelectedPreset();
    void switchSetting (bool toB);
    void showFileMenu();
    void openSaveBrowser();
    void openUserManual();
    void showAbout();

    template <typename Child>
    Child& addChild (std::unique_ptr<Child>& child, std::unique_ptr<Child> made,
                     juce::Rectangle<int> bounds, bool visible);

    template <typename Button>
    void addButton (std::unique_ptr<Button>& button, const char* name, const char* picture, int pictureSize,
                    juce::Rectangle<int> bounds);

    template <typename Knob>
    void addKnob (std::unique_ptr<Knob>& knob, const char* name, const char* picture, int pictureSize,
                  int frames, juce::Rectangle<int> bounds, int parameter, bool visible);

    template <typename Dialog>
    void addDialog (std::unique_ptr<Dialog>& dialog, std::unique_ptr<Dialog> made);

    //==============================================================================
    juce::LookAndFeel_V3 lookAndFeel;
    juce::Image backgroundImage;
    bool resyncPending = false;
    int resyncCount = 0;

    std::unique_ptr<Velora2StateKickButton> fileButton_;
    std::unique_ptr<Velora2StateKickButton> presetDecButton_;
    std::unique_ptr<Velora2StateKickButton> presetIncButton_;
    // Declared before the dialogs that point at it, so that it outlives them.
    std::unique_ptr<VeloraPresetMenu> presetMenu_;
    std::unique_ptr<Velora2StateButton> abButton_;
    std::unique_ptr<Velora2StateKickButton> abCopyButton_;
    std::unique_ptr<Velora4StateButton3PDT> bypassButton_;
    std::unique_ptr<VeloraVerticalSwitch2> typeKnob_;
    std::unique_ptr<VeloraModDelayFreq20HzMaxLog10Knob> rateKnob_;
    std::unique_ptr<VeloraModDelaySyncKnob> rateSyncKnob_;
    std::unique_ptr<VeloraKnob> depthKnob_;
    std::unique_ptr<VeloraKnob> mixKnob_;
    std::unique_ptr<VeloraKnob> levelKnob_;
    std::unique_ptr<Velora2StateButton> stereoSpreadButton_;
    std::unique_ptr<Velora2StateButton> syncButton_;
    std::unique_ptr<Velora2StateKickButton> type1ShortcutButton_;
    std::unique_ptr<Velora2StateKickButton> type2ShortcutButton_;
    std::unique_ptr<Velora2StateKickButton> type3ShortcutButton_;
    std::unique_ptr<VeloraPresetBrowser> savePresetBrowser_;
    std::unique_ptr<VeloraOverwriteComponent> overwritePresetComponent_;
    std::unique_ptr<VeloraAlertComponent> alert_;
    std::unique_ptr<Velora2StateKickButton> aboutShowButton_;
    std::unique_ptr<VeloraSplashScreen> aboutContainer_;

    juce::TooltipWindow tooltipWindow { nullptr, 700 };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ModulixQR7150AudioProcessorEditor)
};
