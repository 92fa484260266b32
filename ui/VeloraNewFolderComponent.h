#pragma once

#include "Velora2StateKickButton.h"
#include "VeloraAlertComponent.h"

#include <memory>

/** The small modal dialog that asks for a folder name and creates that folder
    inside the folder a juce::FileBrowserComponent shows. A name that cannot be
    used, one that is taken or a folder that cannot be created is reported in a
    message box of its own, and the dialog stays open with its text. It never
    creates anything but a direct child of the browser's folder. */
class VeloraNewFolderComponent : public juce::Component,
                                 public juce::Button::Listener,
                                 public juce::TextEditor::Listener,
                                 public juce::Timer
{
public:
    /** Messages of the dialog's own box. */
    static constexpr const char* nameTakenMessage = "The folder name already exist! Try different name.";
    static constexpr const char* notCreatedMessage = "Couldn't create the folder! Try different name.";
    static constexpr const char* invalidNameMessage = "The folder name is not valid! Try different name.";
    static constexpr const char* separatorMessage = "A folder name can't contain / or \\ ! Try different name.";
    static constexpr const char* tooLongMessage = "The folder name is too long! Try a shorter name.";

    /** Longest name, in characters and in UTF-8 bytes, that the dialog creates. */
    static constexpr int maxNameLength = 128;
    static constexpr int maxNameBytes = 255;

    /** fileBrowser is not owned; the new folder goes into its current folder. */
    VeloraNewFolderComponent (const juce::String& componentName, juce::FileBrowserComponent* fileBrowser,
                              const juce::String& promptText);
    ~VeloraNewFolderComponent() override;

    /** OK creates the folder (see the class comment), CANCEL closes the dialog. */
    void buttonClicked (juce::Button* button) override;

    /** Enables OK at full opacity while the name box holds any text, else dims and disables it. */
    void timerCallback() override;

    /** When set, the dialog takes the modal state from its modal parent while open. */
    virtual void needChangeParentModal (bool shouldChangeParentModal);

    /** Opens the dialog modally with an empty name box; opening it again while
        it is open changes nothing. */
    virtual void show();

    /** Closes the dialog and its message box. */
    virtual void hide();

    void textEditorTextChanged (juce::TextEditor&) override {}
    /** Return acts as OK (only while OK is enabled). */
    void textEditorReturnKeyPressed (juce::TextEditor&) override;
    /** Escape acts as CANCEL. */
    void textEditorEscapeKeyPressed (juce::TextEditor&) override;
    void textEditorFocusLost (juce::TextEditor&) override {}

    void paint (juce::Graphics& g) override;

    /** While open, only its own window is blocked: other windows of the
        process (the host's other plug-in windows) keep taking input. */
    bool canModalEventBeSentToComponent (const juce::Component* target) override;

    /** Input blocked by the dialog neither beeps nor raises a window. */
    void inputAttemptWhenModal() override {}

private:
    /** Why a typed name cannot be created here, or an empty text when it can. */
    static juce::String checkName (const juce::String& text);

    void createFolder();
    void report (const juce::String& message);

    juce::Image backgroundImage;
    bool changeParentModal = false;

    std::unique_ptr<juce::Label> titleText_;
    std::unique_ptr<juce::TextEditor> textEditor_;
    std::unique_ptr<Velora2StateKickButton> okButton_;
    std::unique_ptr<Velora2StateKickButton> cancelButton_;
    std::unique_ptr<VeloraAlertComponent> alertComponent_;
    juce::FileBrowserComponent* fileBrowser;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VeloraNewFolderComponent)
};
