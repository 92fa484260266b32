#include "ModulixQR7150AudioProcessorEditor.h"

#include "ModulixQR7150DocumentOpener.h"
#include "VeloraPresetFolder.h"

#include "ModulixModulationUpperPanelBinImg.h"
#include "ModulixQR7150BinImg.h"

namespace
{
    namespace Param
    {
        enum Index { onBypass, chorusType, rate, rateSync, depth, mix, level, stereo, sync };
    }

    constexpr int refreshIntervalMs = 50;
    constexpr int resyncTicks = 3;
    constexpr const char* versionText = "1.0.1";
    constexpr const char* displayName = "Modulix QR7150";

    // Message-box settings (see VeloraAlertComponent): icons and button counts.
    constexpr int asteriskIcon = 1;
    constexpr int frownIcon = 4;
    constexpr int okOnly = 1;

    // The preset reader's result for a preset made by a newer version.
    constexpr int loadedFromNewerVersion = 4;

    // VeloraPresetBrowser settings: save mode with the save-as title, and the
    // pictures of its OK, CANCEL and New Folder buttons.
    constexpr int saveMode = 5;
    constexpr int saveAsTitle = 1;
    constexpr int okPicture = 1;
    constexpr int savePicture = 5;
    constexpr int cancelPicture = 3;
    constexpr int newFolderPicture = 8;

    juce::Image loadPicture (const char* data, int size)
    {
        return juce::ImageFileFormat::loadFrom (data, static_cast<size_t> (size));
    }

    juce::Image copyPicture (bool bIsActive)
    {
        using namespace ModulixModulationUpperPanelBinImg;
        return bIsActive ? loadPicture (btoa_png, btoa_pngSize) : loadPicture (atob_png, atob_pngSize);
    }

    juce::String quoted (const juce::String& text)
    {
        return "\"" + text + "\"";
    }
}

//==============================================================================
ModulixQR7150AudioProcessorEditor::ModulixQR7150AudioProcessorEditor (ModulixQR7150AudioProcessor* owner)
    : juce::AudioProcessorEditor (owner)
{
    using namespace ModulixQR7150BinImg;
    using namespace ModulixModulationUpperPanelBinImg;

    setLookAndFeel (&lookAndFeel);

    backgroundImage = loadPicture (bg_chorus_png, bg_chorus_pngSize);
    setSize (backgroundImage.getWidth(), backgroundImage.getHeight());

    addButton (fileButton_, "fileButton_", file_png, file_pngSize, { 6, 3, 58, 26 });
    addButton (presetDecButton_, "presetDecButton_", left_png, left_pngSize, { 263, 3, 29, 26 });
    addButton (presetIncButton_, "presetIncButton_", right_png, right_pngSize, { 292, 3, 29, 26 });

    auto& presetMenu = addChild (presetMenu_, std::make_unique<VeloraPresetMenu> ("presetMenu_"),
                                 { 67, 3, 192, 26 }, true);
    presetMenu.setDirectoryPath (VeloraPresetFolder::getRoot().getFullPathName());
    presetMenu.setFileExtension ("*.vmxp");
    presetMenu.setSelectedFilePath (owner->getActivePresetPath());
    presetMenu.setColour (juce::Label::textColourId, juce::Colour (0, 0, 0));
    presetMenu.addListener (this);

    addButton (abButton_, "abButton_", ab_png, ab_pngSize, { 92, 35, 62, 23 });
    addButton (abCopyButton_, "abCopyButton_", atob_png, atob_pngSize, { 163, 30, 75, 25 });
    addButton (bypassButton_, "bypassButton_", bypass_png, bypass_pngSize, { 222, 354, 90, 99 });
    showSwitch (*bypassButton_, Param::onBypass);
    addButton (stereoSpreadButton_, "stereoSpreadButton_", stereo_png, stereo_pngSize, { 263, 62, 54, 22 });
    showSwitch (*stereoSpreadButton_, Param::stereo);
    addButton (syncButton_, "syncButton_", sync_png, sync_pngSize, { 7, 62, 54, 22 });
    showSwitch (*syncButton_, Param::sync);

    auto& typeSwitch = addChild (typeKnob_, std::make_unique<VeloraVerticalSwitch2> ("typeKnob_"),
                                 { 106, 137, 48, 80 }, true);
    typeSwitch.setImage (loadPicture (type_png, type_pngSize), 3); // three frames: steps of 0.5
    typeSwitch.setValue (getValue (Param::chorusType), juce::dontSendNotification);
    typeSwitch.setControllableImageHeight (45);
    typeSwitch.addListener (this);

    addButton (type1ShortcutButton_, "type1ShortcutButton_", nullptr, 0, { 160, 135, 57, 10 });
    addButton (type2ShortcutButton_, "type2ShortcutButton_", nullptr, 0, { 160, 153, 66, 10 });
    addButton (type3ShortcutButton_, "type3ShortcutButton_", nullptr, 0, { 160, 172, 54, 10 });

    addKnob (rateKnob_, "rateKnob_", rate_png, rate_pngSize, 101, { 14, 126, 73, 72 }, Param::rate, false);
    addKnob (rateSyncKnob_, "rateSyncKnob_", rate_sync_png, rate_sync_pngSize, 19, { 14, 126, 73, 72 }, Param::rateSync,
             false);
    for (auto* rateControl : { static_cast<juce::Slider*> (rateKnob_.get()), static_cast<juce::Slider*> (rateSyncKnob_.get()) })
        rateControl->setPopupDisplayEnabled (true, false, this);
    showRateKnobForSync();

    addKnob (depthKnob_, "depthKnob_", depth_png, depth_pngSize, 101, { 68, 225, 73, 72 }, Param::depth, true);
    addKnob (mixKnob_, "mixKnob_", mix_png, mix_pngSize, 101, { 180, 225, 73, 72 }, Param::mix, true);
    addKnob (levelKnob_, "levelKnob_", level_png, level_pngSize, 101, { 237, 126, 73, 72 }, Param::level, true);

    addButton (aboutShowButton_, "aboutShowButton_", nullptr, 0, { 15, 383, 109, 58 });

    // The about box sizes itself to its picture, at the window's top left.
    addChild (aboutContainer_, std::make_unique<VeloraSplashScreen> ("aboutContainer_"), {}, false);

    addDialog (savePresetBrowser_,
               std::make_unique<VeloraPresetBrowser> ("savePresetBrowser_", "Save", VeloraPresetFolder::getRoot(), "*.vmxp",
                                                      saveMode, saveAsTitle, savePicture, cancelPicture,
                                                      newFolderPicture, owner, presetMenu_.get()));
    addDialog (overwritePresetComponent_,
               std::make_unique<VeloraOverwriteComponent> ("overwritePresetComponent_", owner, presetMenu_.get()));
    addDialog (alert_, std::make_unique<VeloraAlertComponent> ("alert_", asteriskIcon, okPicture, cancelPicture));

    auto& p = getProcessor();
    p.paramsChanged = true;
    p.programChanged = true;
    p.presetChanged = true;
    resyncPending = true;
    resyncCount = 0;
    startTimer (refreshIntervalMs);
}

ModulixQR7150AudioProcessorEditor::~ModulixQR7150AudioProcessorEditor()
{
    setLookAndFeel (nullptr);
}

//==============================================================================
template <typename Child>
Child& ModulixQR7150AudioProcessorEditor::addChild (std::unique_ptr<Child>& child, std::unique_ptr<Child> made,
                                                    juce::Rectangle<int> bounds, bool visible)
{
    child = std::move (made);

    if (visible)
        addAndMakeVisible (*child);
    else
        addChildComponent (*child);

    if (! bounds.isEmpty())
        child->setBounds (bounds);

    return *child;
}

template <typename Button>
void ModulixQR7150AudioProcessorEditor::addButton (std::unique_ptr<Button>& button, const char* name,
                                                   const char* picture, int pictureSize, juce::Rectangle<int> bounds)
{
    auto& made = addChild (button, std::make_unique<Button> (name), bounds, true);

    if (picture != nullptr)
        made.setImage (loadPicture (picture, pictureSize));

    made.addListener (this);
}

template <typename Knob>
void ModulixQR7150AudioProcessorEditor::addKnob (std::unique_ptr<Knob>& knob, const char* name, const char* picture,
                                                 int pictureSize, int frames, juce::Rectangle<int> bounds,
                                                 int parameter, bool visible)
{
    auto& made = addChild (knob, std::make_unique<Knob> (name), bounds, visible);
    made.setImage (loadPicture (picture, pictureSize), frames);
    made.setValue (getValue (parameter), juce::dontSendNotification);

    // A double-click returns the knob to the processor's default, in single precision.
    made.setDoubleClickReturnValue (true, static_cast<double> (getProcessor().getParameterDefaultValue (parameter)));
    made.addListener (this);
}

template <typename Dialog>
void ModulixQR7150AudioProcessorEditor::addDialog (std::unique_ptr<Dialog>& dialog, std::unique_ptr<Dialog> made)
{
    auto& added = addChild (dialog, std::move (made), {}, false);
    added.needChangeParentModal (false);
    added.setBounds (getLocalBounds());
}

//==============================================================================
ModulixQR7150AudioProcessor& ModulixQR7150AudioProcessorEditor::getProcessor() const noexcept
{
    return static_cast<ModulixQR7150AudioProcessor&> (processor);
}

juce::File ModulixQR7150AudioProcessorEditor::getUserManual()
{
    return juce::File::getSpecialLocation (juce::File::userMusicDirectory)
               .getChildFile ("Audio Music Apps")
               .getChildFile ("Velora/User Manuals")
               .getChildFile ("ModulixQR7150 Manual.pdf");
}

bool ModulixQR7150AudioProcessorEditor::createPresetFolder()
{
    const auto folder = VeloraPresetFolder::getRoot();
    return folder.isDirectory() || folder.createDirectory().wasOk();
}

//==============================================================================
void ModulixQR7150AudioProcessorEditor::paint (juce::Graphics& g)
{
    g.drawImageAt (backgroundImage, 0, 0);
}

void ModulixQR7150AudioProcessorEditor::sendParameter (int index, float value)
{
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    getProcessor().setParameterNotifyingHost (index, value);
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
}

void ModulixQR7150AudioProcessorEditor::showRateKnobForSync()
{
    const float syncValue = getProcessor().getParameter (Param::sync);
    rateKnob_->setVisible (syncValue == 0.0f);
    rateSyncKnob_->setVisible (syncValue > 0.0f);
}

//==============================================================================
void ModulixQR7150AudioProcessorEditor::timerCallback()
{
    auto& p = getProcessor();

    // Each flag is taken whole at the start, and each is looked at: a change
    // raised while this tick reads the processor raises its flag again and is
    // shown by the next tick, and a program change is never left waiting for
    // a parameter change.
    const bool paramsChanged = p.paramsChanged.exchange (false);
    const bool programChanged = p.programChanged.exchange (false);
    const bool presetChanged = p.presetChanged.exchange (false);

    if (paramsChanged)
        refreshControls();

    if (programChanged)
        refreshAbSwitch();

    if (presetChanged)
    {
        resyncPending = true;
        resyncCount = 0;
    }
    else if (paramsChanged)
    {
        presetMenu_->setPresetHasChanged();
    }

    if (resyncPending && resyncCount < resyncTicks)
    {
        presetMenu_->setSelectedFilePath (p.getActivePresetPath());
        presetMenu_->compareAndMarkPreset (&p);
        ++resyncCount;
    }
}

void ModulixQR7150AudioProcessorEditor::refreshControls()
{
    showSwitch (*bypassButton_, Param::onBypass);
    typeKnob_->setValue (getValue (Param::chorusType), juce::dontSendNotification);
    rateKnob_->setValue (getValue (Param::rate), juce::dontSendNotification);
    rateSyncKnob_->setValue (getValue (Param::rateSync), juce::dontSendNotification);
    showRateKnobForSync();
    depthKnob_->setValue (getValue (Param::depth), juce::dontSendNotification);
    mixKnob_->setValue (getValue (Param::mix), juce::dontSendNotification);
    levelKnob_->setValue (getValue (Param::level), juce::dontSendNotification);
    showSwitch (*stereoSpreadButton_, Param::stereo);
    showSwitch (*syncButton_, Param::sync);
}

double ModulixQR7150AudioProcessorEditor::getValue (int parameter) const
{
    return static_cast<double> (getProcessor().getParameter (parameter));
}

void ModulixQR7150AudioProcessorEditor::showSwitch (juce::Button& button, int parameter)
{
    button.setToggleState (getProcessor().getParameter (parameter) > 0.0f, juce::dontSendNotification);
}

void ModulixQR7150AudioProcessorEditor::refreshAbSwitch()
{
    const bool bIsActive = getProcessor().getActiveSetting() == 1;
    abButton_->setToggleState (bIsActive, juce::dontSendNotification);
    showCopyDirection (bIsActive);
}

void ModulixQR7150AudioProcessorEditor::showCopyDirection (bool bIsActive)
{
    abCopyButton_->setImage (copyPicture (bIsActive));
}

//==============================================================================
void ModulixQR7150AudioProcessorEditor::sliderValueChanged (juce::Slider* slider)
{
    const std::pair<juce::Slider*, int> sliders[] {
        { typeKnob_.get(), Param::chorusType }, { rateKnob_.get(), Param::rate }, { rateSyncKnob_.get(), Param::rateSync },
        { depthKnob_.get(), Param::depth },     { mixKnob_.get(), Param::mix },   { levelKnob_.get(), Param::level },
    };

    for (const auto& [control, index] : sliders)
        if (slider == control)
            sendParameter (index, static_cast<float> (slider->getValue()));
}

void ModulixQR7150AudioProcessorEditor::buttonClicked (juce::Button* button)
{
    const auto onOff = [button] { return button->getToggleState() ? 1.0f : 0.0f; };

    if (button == bypassButton_.get())             sendParameter (Param::onBypass, onOff());
    else if (button == stereoSpreadButton_.get())  sendParameter (Param::stereo, onOff());
    else if (button == syncButton_.get())          { sendParameter (Param::sync, onOff()); showRateKnobForSync(); }
    else if (button == type1ShortcutButton_.get()) sendParameter (Param::chorusType, 0.0f);
    else if (button == type2ShortcutButton_.get()) sendParameter (Param::chorusType, 0.5f);
    else if (button == type3ShortcutButton_.get()) sendParameter (Param::chorusType, 1.0f);
    else if (button == fileButton_.get())          showFileMenu();
    else if (button == presetDecButton_.get())     { presetMenu_->previousResult(); loadSelectedPreset(); }
    else if (button == presetIncButton_.get())     { presetMenu_->nextResult(); loadSelectedPreset(); }
    else if (button == abButton_.get())            switchSetting (abButton_->getToggleState());
    else if (button == abCopyButton_.get())        getProcessor().copyActiveSetting();
    else if (button == aboutShowButton_.get())     showAbout();
}

void ModulixQR7150AudioProcessorEditor::labelTextChanged (juce::Label* label)
{
    if (label == presetMenu_.get())
        loadSelectedPreset();
}

//==============================================================================
void ModulixQR7150AudioProcessorEditor::loadSelectedPreset()
{
    auto& p = getProcessor();
    const auto storedPath = presetMenu_->getSelectedFilePath();
    p.setActivePresetPath (storedPath);

    if (presetMenu_->readPreset (&p, storedPath) == loadedFromNewerVersion)
    {
        alert_->setTitle (quoted (storedPath) + "\nwas made using a newer version of " + displayName + ".\n"
                          + "To use this preset correctly, please install the newest version from: "
                          + downloadsAddress);
        alert_->show (okOnly, asteriskIcon);
    }

    p.presetChanged = true;
    p.paramsChanged = true;
    p.updateHostDisplay();
}

void ModulixQR7150AudioProcessorEditor::switchSetting (bool toB)
{
    auto& p = getProcessor();
    p.selectSetting (toB ? 1 : 0);
    presetMenu_->setSelectedFilePath (p.getActivePresetPath());
    showCopyDirection (toB);
}

//==============================================================================
void ModulixQR7150AudioProcessorEditor::showFileMenu()
{
    juce::PopupMenu menu;
    menu.addItem (savePreset, "Save Preset");
    menu.addItem (savePresetAs, "Save Preset As...");
    menu.addSeparator();
    menu.addItem (userManual, "User Manual");
    menu.addSeparator();
    menu.addItem (veloraWebsite, "Velora Website");

    // The host may close the window while the menu is open: the menu then
    // closes too, and its result finds no editor to act on.
    menu.showMenuAsync (juce::PopupMenu::Options().withTargetComponent (fileButton_.get()),
                        [editor = juce::Component::SafePointer<ModulixQR7150AudioProcessorEditor> (this)] (int result)
                        {
                            if (editor != nullptr)
                                editor->fileMenuResult (result);
                        });
}

void ModulixQR7150AudioProcessorEditor::fileMenuResult (int result)
{
    switch (result)
    {
        case savePreset:
        {
            // A stored path may come from host state and name anything: only a
            // preset of this product is overwritten; anything else goes through
            // the save browser like a new preset.
            const auto preset = VeloraPresetFolder::getFile (getProcessor().getActivePresetPath());

            if (VeloraPresetFolder::isPresetFile (preset))
                overwritePresetComponent_->showQuestion (preset);
            else
                openSaveBrowser();

            break;
        }

        case savePresetAs:   openSaveBrowser(); break;
        case userManual:     openUserManual(); break;
        case veloraWebsite:  openWithDesktopApplication (juce::String (websiteAddress)); break;
        default:             break;
    }
}

void ModulixQR7150AudioProcessorEditor::openSaveBrowser()
{
    // A browser on a folder that cannot exist could save nothing: the user is told instead.
    if (! createPresetFolder())
    {
        alert_->setTitle (juce::String (presetFolderFailedMessage) + "\n\n"
                          + quoted (VeloraPresetFolder::getRoot().getFullPathName()));
        alert_->show (okOnly, frownIcon);
        return;
    }

    savePresetBrowser_->show();
}

void ModulixQR7150AudioProcessorEditor::openUserManual()
{
    const auto manual = getUserManual();

    if (manual.existsAsFile())
    {
        openWithDesktopApplication (manual);
        return;
    }

    alert_->setTitle ("User manual on: " + quoted (manual.getFullPathName()) + " is not available.");
    alert_->show (okOnly, frownIcon);
}

void ModulixQR7150AudioProcessorEditor::showAbout()
{
    aboutContainer_->setVersion (juce::String (versionText) + " (64bit)");
    aboutContainer_->show();
}
