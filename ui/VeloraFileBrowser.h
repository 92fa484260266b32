#pragma once

#include "Velora2StateKickButton.h"
#include "VeloraNewFolderComponent.h"

#include <memory>

/** The kit's modal file dialog: a panel the size of the editor window holding a
    juce::FileBrowserComponent, a title picture, OK and CANCEL and, in save mode,
    a New Folder button with its new-folder dialog. Created once, hidden, then
    only shown and hidden; show() enters the component modal state and returns
    at once. Here OK and CANCEL only close it; subclasses give OK its meaning.

    Modes: 1 open a file, 2 open files, 3 open files and folders, 4 open a
    folder, 5 save. Title types: 1 save-as, 2 load, others none. */
class VeloraFileBrowser : public juce::Component,
                          public juce::Button::Listener,
                          public juce::TextEditor::Listener,
                          public juce::FileBrowserListener,
                          public juce::Timer
{
public:
    /** buttonText is not displayed. A wildcard without any non-blank character
        lists every file. With a mode outside 1 to 5 nothing is built and the
        dialog must not be shown. */
    VeloraFileBrowser (const juce::String& componentName, const juce::String& buttonText,
                       const juce::File& initialDirectory, const juce::String& wildcard, int mode,
                       int titleType, int okButtonType, int cancelButtonType, int newFolderButtonType);
    ~VeloraFileBrowser() override;

    /** Runs every 200 ms while open. Mode 1 enables OK while an existing file is
        chosen, mode 5 while the browser's current file is valid; enabled means
        alpha 1.0, disabled alpha 0.5. */
    void timerCallback() override;

    /** OK, CANCEL and New Folder call the matching virtual operation. */
    void buttonClicked (juce::Button* button) override;

    /** Opens the dialog modally: the folder re-read, the name box empty, OK's
        state shown at once. Opening it again while it is open changes nothing. */
    virtual void show();

    /** Closes the dialog and any box open over it. */
    virtual void hide();

    /** (Re)builds the filter, the JUCE browser and the buttons for the flags. */
    virtual void createBrowser (int flags, const juce::String& buttonText);

    void selectionChanged() override {}
    void fileClicked (const juce::File&, const juce::MouseEvent&) override {}
    /** A double-click acts as OK, which JUCE delivers only while OK is enabled. */
    void fileDoubleClicked (const juce::File&) override;
    void browserRootChanged (const juce::File&) override {}

    /** What OK does: here only hide(). */
    virtual void okButtonClicked();

    /** What CANCEL does: here only hide(). */
    virtual void cancelButtonClicked();

    /** Opens the new-folder dialog while the browser's folder exists. */
    virtual void createNewFolder();

    /** When set, the dialog takes the modal state from its modal parent while open. */
    virtual void needChangeParentModal (bool shouldChangeParentModal);

    void paint (juce::Graphics& g) override;

    /** While open, only its own window is blocked: other windows of the
        process (the host's other plug-in windows) keep taking input. */
    bool canModalEventBeSentToComponent (const juce::Component* target) override;

    /** Input blocked by the dialog neither beeps nor raises a window. */
    void inputAttemptWhenModal() override {}

    /** The button strip of a picture code (see VeloraDialogSupport::loadButtonPicture). */
    juce::Image loadButtonImage (int code) const;

protected:
    juce::String wildcard;
    juce::File initialDirectory;
    int browserMode;
    int titleType;
    int okButtonType;
    int cancelButtonType;
    int newFolderButtonType;
    bool changeParentModal = false;
    juce::Image backgroundImage;
    juce::Image titleImage;

    std::unique_ptr<juce::Label> titleText_;
    std::unique_ptr<Velora2StateKickButton> okButton_;
    std::unique_ptr<Velora2StateKickButton> cancelButton_;
    std::unique_ptr<Velora2StateKickButton> newFolderButton_;
    // Declared in the order they may be destroyed in reverse: the new-folder
    // dialog points at the JUCE browser, which scans with the filter on its own thread.
    std::unique_ptr<juce::WildcardFileFilter> fileFilter_;
    std::unique_ptr<juce::FileBrowserComponent> fileBrowser_;
    std::unique_ptr<VeloraNewFolderComponent> newFolderComponent_;

private:
    void moveToInitialDirectoryIfNeeded();

    // The JUCE browser starts beside its folder when that is missing at
    // construction; it moves in on the first opening that finds the folder.
    bool startedInInitialDirectory = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VeloraFileBrowser)
};
