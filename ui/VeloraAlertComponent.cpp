#include "VeloraAlertComponent.h"

#include "ModulixDialogBoxBinImg.h"
#include "VeloraDialogSupport.h"

namespace
{
const juce::Rectangle<int> pairedOkBounds { 16, 307, 132, 51 };
const juce::Rectangle<int> cancelBounds { 179, 307, 132, 51 };
const juce::Rectangle<int> singleOkBounds { 97, 307, 132, 51 };
constexpr int iconTop = 12;
constexpr int buttonGap = 4;
} // namespace

VeloraAlertComponent::VeloraAlertComponent (const juce::String& name, int iconType_,
                                            int okButtonType_, int cancelButtonType_)
    : juce::Component (name),
      iconType (iconType_),
      okButtonType (okButtonType_),
      cancelButtonType (cancelButtonType_)
{
    using namespace ModulixDialogBoxBinImg;

    backgroundImage = VeloraDialogSupport::loadPicture (dialog_box_clean_png, dialog_box_clean_pngSize);
    if (backgroundImage.isValid())
        setSize (backgroundImage.getWidth(), backgroundImage.getHeight());

    iconImage = loadIconImage (iconType);

    titleText_ = VeloraDialogSupport::addTitleLabel (*this);
    // The buttons are placed on show(), for the number asked for.
    okButton_ = VeloraDialogSupport::addButton (*this, *this, "OK", loadButtonImage (okButtonType));
    cancelButton_ = VeloraDialogSupport::addButton (*this, *this, "CANCEL", loadButtonImage (cancelButtonType));
}

VeloraAlertComponent::~VeloraAlertComponent() = default;

void VeloraAlertComponent::buttonClicked (juce::Button* button)
{
    if (button == okButton_.get())
        okButtonClicked();
    else if (button == cancelButton_.get())
        cancelButtonClicked();
}

void VeloraAlertComponent::setTitle (const juce::String& text)
{
    // The message is centred in its box, whose foot the buttons cover: a long one
    // keeps to the height that stays clear of them.
    const auto textArea = titleText_->getBorderSize().subtractedFrom (getTitleBounds());
    const int clearHeight = 2 * (pairedOkBounds.getY() - buttonGap - textArea.getCentreY());
    titleText_->setText (VeloraDialogSupport::cutTextToBox (text, titleText_->getFont(), textArea, clearHeight),
                         juce::dontSendNotification);
}

void VeloraAlertComponent::show (int buttons, int kind)
{
    if (buttons != 1 && buttons != 2)
        return;

    VeloraDialogSupport::enterModalState (*this, changeParentModal);

    if (kind != iconType)
    {
        iconType = kind;
        iconImage = loadIconImage (kind);
        repaint();
    }

    titleText_->setBounds (getTitleBounds());

    const bool withCancel = buttons == 2;
    okButton_->setBounds (withCancel ? pairedOkBounds : singleOkBounds);
    cancelButton_->setBounds (cancelBounds);
    cancelButton_->setVisible (withCancel);

    setVisible (true);
}

void VeloraAlertComponent::hide()
{
    VeloraDialogSupport::leaveModalState (*this, changeParentModal);
    setVisible (false);
}

void VeloraAlertComponent::okButtonClicked()
{
    hide();
}

void VeloraAlertComponent::cancelButtonClicked()
{
    hide();
}

void VeloraAlertComponent::needChangeParentModal (bool shouldChangeParentModal)
{
    changeParentModal = shouldChangeParentModal;
}

void VeloraAlertComponent::paint (juce::Graphics& g)
{
    if (backgroundImage.isValid())
        g.drawImageAt (backgroundImage, 0, 0);

    if (iconImage.isValid())
        g.drawImageAt (iconImage, getWidth() / 2 - iconImage.getWidth() / 2, iconTop);
}

juce::Image VeloraAlertComponent::loadButtonImage (int code) const
{
    return VeloraDialogSupport::loadButtonPicture (code);
}

juce::Rectangle<int> VeloraAlertComponent::getTitleBounds() const
{
    const auto w = static_cast<float> (getWidth());
    const auto h = static_cast<float> (getHeight());
    return { juce::roundToInt (0.1f * w), juce::roundToInt (0.3f * h),
             juce::roundToInt (0.8f * w), juce::roundToInt (0.4f * h) };
}

juce::Image VeloraAlertComponent::loadIconImage (int kind)
{
    using namespace ModulixDialogBoxBinImg;

    switch (kind)
    {
        case 2:  return VeloraDialogSupport::loadPicture (ok_png, ok_pngSize);
        case 3:  return VeloraDialogSupport::loadPicture (icononly_smile_png, icononly_smile_pngSize);
        case 4:  return VeloraDialogSupport::loadPicture (icononly_frown_png, icononly_frown_pngSize);
        default: return VeloraDialogSupport::loadPicture (icononly_asterix_png, icononly_asterix_pngSize);
    }
}

bool VeloraAlertComponent::canModalEventBeSentToComponent (const juce::Component* target)
{
    return VeloraDialogSupport::letsInputReach (*this, target);
}
