#include "VeloraNewFolderComponent.h"

#include "ModulixDialogBoxBinImg.h"
#include "VeloraDialogSupport.h"

namespace
{
bool isOnlyDots (const juce::String& name)
{
    return name.containsOnly (".");
}
} // namespace

VeloraNewFolderComponent::VeloraNewFolderComponent (const juce::String& name,
                                                    juce::FileBrowserComponent* fileBrowser_,
                                                    const juce::String& promptText)
    : juce::Component (name),
      fileBrowser (fileBrowser_)
{
    using namespace ModulixDialogBoxBinImg;

    backgroundImage = VeloraDialogSupport::loadPicture (dialog_box_clean_png, dialog_box_clean_pngSize);
    if (backgroundImage.isValid())
        setSize (backgroundImage.getWidth(), backgroundImage.getHeight());

    titleText_ = VeloraDialogSupport::addTitleLabel (*this, promptText);
    titleText_->setBoundsRelative (0.0f, 0.3f, 1.0f, 0.3f);

    textEditor_ = std::make_unique<juce::TextEditor> ("textEditor_");
    addAndMakeVisible (textEditor_.get());
    textEditor_->setBounds (23, 229, 280, 24);
    textEditor_->addListener (this);

    okButton_ = VeloraDialogSupport::addButton (*this, *this, "OK", VeloraDialogSupport::loadPicture (ok_png, ok_pngSize),
                                                { 16, 307, 132, 51 });
    cancelButton_ = VeloraDialogSupport::addButton (*this, *this, "CANCEL",
                                                    VeloraDialogSupport::loadPicture (cancel_png, cancel_pngSize),
                                                    { 179, 307, 132, 51 });

    alertComponent_ = std::make_unique<VeloraAlertComponent> ("alertComponent_", 1, 1, 3);
    addChildComponent (alertComponent_.get());
    alertComponent_->setBounds (0, 0, 325, 454);
    alertComponent_->needChangeParentModal (true);
}

VeloraNewFolderComponent::~VeloraNewFolderComponent() = default;

void VeloraNewFolderComponent::buttonClicked (juce::Button* button)
{
    if (button == okButton_.get())
        createFolder();
    else if (button == cancelButton_.get())
        hide();
}

void VeloraNewFolderComponent::timerCallback()
{
    VeloraDialogSupport::setUsable (*okButton_, textEditor_->getText().isNotEmpty());
}

void VeloraNewFolderComponent::needChangeParentModal (bool shouldChangeParentModal)
{
    changeParentModal = shouldChangeParentModal;
}

void VeloraNewFolderComponent::show()
{
    if (! VeloraDialogSupport::enterModalState (*this, changeParentModal))
        return;

    textEditor_->clear();
    setVisible (true);
    textEditor_->grabKeyboardFocus();
    timerCallback();
    startTimer (VeloraDialogSupport::buttonTimerPeriodMs);
}

void VeloraNewFolderComponent::hide()
{
    if (alertComponent_->isVisible())
        alertComponent_->hide();

    VeloraDialogSupport::leaveModalState (*this, changeParentModal);
    setVisible (false);
    stopTimer();
}

void VeloraNewFolderComponent::textEditorReturnKeyPressed (juce::TextEditor&)
{
    okButton_->triggerClick();
}

void VeloraNewFolderComponent::textEditorEscapeKeyPressed (juce::TextEditor&)
{
    cancelButton_->triggerClick();
}

void VeloraNewFolderComponent::paint (juce::Graphics& g)
{
    if (backgroundImage.isValid())
        g.drawImageAt (backgroundImage, 0, 0);
}

juce::String VeloraNewFolderComponent::checkName (const juce::String& text)
{
    const auto name = text.trim();

    if (name.containsAnyOf ("/\\"))
        return separatorMessage;

    if (name.length() > maxNameLength || name.getNumBytesAsUTF8() > static_cast<size_t> (maxNameBytes))
        return tooLongMessage;

    const auto legalName = juce::File::createLegalFileName (name);
    if (legalName.isEmpty() || isOnlyDots (legalName))
        return invalidNameMessage;

    return {};
}

void VeloraNewFolderComponent::createFolder()
{
    const auto text = textEditor_->getText();
    if (text.isEmpty() || fileBrowser == nullptr)
        return;

    if (const auto problem = checkName (text); problem.isNotEmpty())
        return report (problem);

    const auto& folder = fileBrowser->getRoot();
    const auto target = folder.getChildFile (juce::File::createLegalFileName (text.trim()));

    if (target.getParentDirectory() != folder)
        return report (invalidNameMessage);

    if (target.exists())
        return report (nameTakenMessage);

    // The browser's folder may have gone since it was listed; creating the
    // target then would build the whole missing path back.
    if (! folder.isDirectory() || target.createDirectory().failed())
        return report (notCreatedMessage);

    fileBrowser->refresh();
    hide();
}

void VeloraNewFolderComponent::report (const juce::String& message)
{
    alertComponent_->setTitle (message);
    alertComponent_->show (1, 1);
}

bool VeloraNewFolderComponent::canModalEventBeSentToComponent (const juce::Component* target)
{
    return VeloraDialogSupport::letsInputReach (*this, target);
}
