#include "VeloraPresetBrowser.h"

#include "ModulixQR7150AudioProcessor.h"
#include "VeloraDialogSupport.h"
#include "VeloraPresetFolder.h"
#include "VeloraPresetMenu.h"

namespace
{
constexpr int saveMode = 5;
const juce::String presetExtension { ".vmxp" };
} // namespace

VeloraPresetBrowser::VeloraPresetBrowser (const juce::String& name, const juce::String& buttonText,
                                          const juce::File& initialDirectory_, const juce::String& wildcard_,
                                          int mode, int titleType_, int okButtonType_, int cancelButtonType_,
                                          int newFolderButtonType_, ModulixQR7150AudioProcessor* processor_,
                                          VeloraPresetMenu* presetMenu_)
    : VeloraFileBrowser (name, buttonText, initialDirectory_, wildcard_, mode, titleType_, okButtonType_,
                         cancelButtonType_, newFolderButtonType_),
      presetMenu (presetMenu_),
      processor (processor_)
{
    overwriteComponent_ = std::make_unique<VeloraOverwriteComponent2> ("overwriteComponent_", processor, presetMenu);
    addChildComponent (overwriteComponent_.get());
    overwriteComponent_->needChangeParentModal (true);
}

VeloraPresetBrowser::~VeloraPresetBrowser() = default;

void VeloraPresetBrowser::timerCallback()
{
    if (browserMode != saveMode || fileBrowser_ == nullptr)
        return;

    const auto chosen = fileBrowser_->getSelectedFile (0);
    const bool inside = VeloraPresetFolder::isInTree (chosen);

    VeloraDialogSupport::setUsable (*okButton_, inside && VeloraPresetFolder::contains (chosen)
                                                    && fileBrowser_->currentFileIsValid());
    VeloraDialogSupport::setUsable (*newFolderButton_, inside);
}

void VeloraPresetBrowser::okButtonClicked()
{
    if (browserMode != saveMode)
        return;

    savePreset();

    if (processor != nullptr)
        processor->updateHostDisplay();
}

void VeloraPresetBrowser::cancelButtonClicked()
{
    hide();
}

void VeloraPresetBrowser::createNewFolder()
{
    if (fileBrowser_ != nullptr && VeloraPresetFolder::isInTree (fileBrowser_->getRoot()))
        VeloraFileBrowser::createNewFolder();
}

void VeloraPresetBrowser::hide()
{
    if (overwriteComponent_->isVisible())
        overwriteComponent_->hide();

    VeloraFileBrowser::hide();
}

void VeloraPresetBrowser::savePreset()
{
    if (presetMenu == nullptr || processor == nullptr || fileBrowser_ == nullptr)
        return;

    auto file = fileBrowser_->getSelectedFile (0);

    if (! VeloraPresetFolder::contains (file) || file == fileBrowser_->getRoot())
        return;

    if (! file.getFileName().endsWith (presetExtension))
        file = file.getSiblingFile (file.getFileName() + presetExtension);

    overwriteComponent_->setBounds (0, 0, 325, 454);

    if (file.existsAsFile())
    {
        overwriteComponent_->showQuestion (file);
        return;
    }

    if (! VeloraPresetFolder::savePreset (*presetMenu, *processor, file))
        return overwriteComponent_->showSaveFailure (file);

    fileBrowser_->refresh();
    hide();
}
