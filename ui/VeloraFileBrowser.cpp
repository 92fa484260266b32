#include "VeloraFileBrowser.h"

#include "ModulixDialogBoxBinImg.h"
#include "VeloraDialogSupport.h"

namespace
{
constexpr int saveMode = 5;

int flagsOfMode (int mode)
{
    using B = juce::FileBrowserComponent;

    switch (mode)
    {
        case 1: return B::openMode | B::canSelectFiles;
        case 2: return B::openMode | B::canSelectFiles | B::canSelectMultipleItems;
        case 3: return B::openMode | B::canSelectFiles | B::canSelectDirectories | B::canSelectMultipleItems;
        case 4: return B::openMode | B::canSelectDirectories;
        case 5: return B::saveMode | B::canSelectFiles | B::warnAboutOverwriting;
        default: return 0;
    }
}

juce::Image loadTitleImage (int titleType)
{
    using namespace ModulixDialogBoxBinImg;

    switch (titleType)
    {
        case 1: return VeloraDialogSupport::loadPicture (browser_textonly_save_as_png, browser_textonly_save_as_pngSize);
        case 2: return VeloraDialogSupport::loadPicture (browser_textonly_load_png, browser_textonly_load_pngSize);
        default: return {};
    }
}
} // namespace

VeloraFileBrowser::VeloraFileBrowser (const juce::String& name, const juce::String& buttonText,
                                      const juce::File& initialDirectory_, const juce::String& wildcard_,
                                      int mode, int titleType_, int okButtonType_, int cancelButtonType_,
                                      int newFolderButtonType_)
    : juce::Component (name),
      wildcard (wildcard_.trim().isEmpty() ? juce::String ("*") : wildcard_),
      initialDirectory (initialDirectory_),
      browserMode (mode),
      titleType (titleType_),
      okButtonType (okButtonType_),
      cancelButtonType (cancelButtonType_),
      newFolderButtonType (newFolderButtonType_)
{
    startedInInitialDirectory = initialDirectory.isDirectory();

    if (const auto modeFlags = flagsOfMode (browserMode); modeFlags != 0)
        createBrowser (modeFlags, buttonText);
}

VeloraFileBrowser::~VeloraFileBrowser() = default;

void VeloraFileBrowser::createBrowser (int browserFlags, const juce::String&)
{
    using B = juce::FileBrowserComponent;
    using namespace ModulixDialogBoxBinImg;

    // A rebuild drops the old browser (and the dialog that points at it) before
    // the filter it may still be scanning with.
    newFolderComponent_.reset();
    fileBrowser_.reset();

    fileFilter_ = std::make_unique<juce::WildcardFileFilter> ((browserFlags & B::canSelectFiles) != 0 ? wildcard : juce::String(),
                                                              (browserFlags & B::canSelectDirectories) != 0 ? "*" : "",
                                                              juce::String());

    backgroundImage = VeloraDialogSupport::loadPicture (file_browser_clean_png, file_browser_clean_pngSize);
    setSize (325, 454);

    titleImage = loadTitleImage (titleType);

    titleText_ = VeloraDialogSupport::addTitleLabel (*this);
    titleText_->setBoundsRelative (0.0f, 0.01f, 1.0f, 0.1f);

    fileBrowser_ = std::make_unique<B> (browserFlags, initialDirectory, fileFilter_.get(), nullptr);
    addAndMakeVisible (fileBrowser_.get());
    fileBrowser_->setBounds (12, 59, 300, 275);
    fileBrowser_->addListener (this);
    fileBrowser_->setColour (juce::Label::textColourId, VeloraDialogSupport::textColour);
    for (auto* child : fileBrowser_->getChildren())
        if (auto* label = dynamic_cast<juce::Label*> (child))
            label->setColour (juce::Label::textColourId, VeloraDialogSupport::textColour);

    using VeloraDialogSupport::addButton;
    okButton_ = addButton (*this, *this, "OK", loadButtonImage (okButtonType), { 179, 336, 132, 51 });
    cancelButton_ = addButton (*this, *this, "CANCEL", loadButtonImage (cancelButtonType), { 179, 386, 132, 51 });

    if (browserMode == saveMode)
    {
        newFolderButton_ = addButton (*this, *this, "New Folder", loadButtonImage (newFolderButtonType),
                                      { 16, 336, 132, 51 });

        newFolderComponent_ = std::make_unique<VeloraNewFolderComponent> ("newFolderComponent_", fileBrowser_.get(),
                                                                          "Please enter the name of the new folder:");
        addChildComponent (newFolderComponent_.get());
        newFolderComponent_->setBounds (getLocalBounds());
        newFolderComponent_->needChangeParentModal (true);
    }
}

void VeloraFileBrowser::paint (juce::Graphics& g)
{
    if (backgroundImage.isValid())
        g.drawImageAt (backgroundImage, 0, 0);
    if (titleImage.isValid())
        g.drawImageAt (titleImage, 0, 0);
}

void VeloraFileBrowser::show()
{
    if (fileBrowser_ == nullptr || ! VeloraDialogSupport::enterModalState (*this, changeParentModal))
        return;

    moveToInitialDirectoryIfNeeded();
    fileBrowser_->refresh();
    fileBrowser_->setFileName ({});

    setVisible (true);
    timerCallback();
    startTimer (VeloraDialogSupport::buttonTimerPeriodMs);
}

void VeloraFileBrowser::hide()
{
    if (newFolderComponent_ != nullptr && newFolderComponent_->isVisible())
        newFolderComponent_->hide();

    VeloraDialogSupport::leaveModalState (*this, changeParentModal);
    setVisible (false);
    stopTimer();
}

void VeloraFileBrowser::timerCallback()
{
    if (fileBrowser_ == nullptr)
        return;

    if (browserMode == 1)
        VeloraDialogSupport::setUsable (*okButton_, fileBrowser_->getSelectedFile (0).existsAsFile());
    else if (browserMode == saveMode)
        VeloraDialogSupport::setUsable (*okButton_, fileBrowser_->currentFileIsValid());
}

void VeloraFileBrowser::buttonClicked (juce::Button* button)
{
    if (button == nullptr)
        return;

    if (button == okButton_.get())
        okButtonClicked();
    else if (button == cancelButton_.get())
        cancelButtonClicked();
    else if (button == newFolderButton_.get())
        createNewFolder();
}

void VeloraFileBrowser::fileDoubleClicked (const juce::File&)
{
    if (okButton_ != nullptr)
        okButton_->triggerClick();
}

void VeloraFileBrowser::okButtonClicked()
{
    hide();
}

void VeloraFileBrowser::cancelButtonClicked()
{
    hide();
}

void VeloraFileBrowser::createNewFolder()
{
    if (newFolderComponent_ != nullptr && fileBrowser_->getRoot().isDirectory())
        newFolderComponent_->show();
}

void VeloraFileBrowser::needChangeParentModal (bool shouldChangeParentModal)
{
    changeParentModal = shouldChangeParentModal;
}

juce::Image VeloraFileBrowser::loadButtonImage (int code) const
{
    return VeloraDialogSupport::loadButtonPicture (code);
}

void VeloraFileBrowser::moveToInitialDirectoryIfNeeded()
{
    const bool lost = ! fileBrowser_->getRoot().isDirectory();

    if ((! startedInInitialDirectory || lost) && initialDirectory.isDirectory())
    {
        fileBrowser_->setRoot (initialDirectory);
        startedInInitialDirectory = true;
    }
}

bool VeloraFileBrowser::canModalEventBeSentToComponent (const juce::Component* target)
{
    return VeloraDialogSupport::letsInputReach (*this, target);
}
