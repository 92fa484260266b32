#include "VeloraSplashScreen.h"

#include "VeloraDialogSupport.h"

#include "ModulixQR7150BinImg.h"

VeloraSplashScreen::VeloraSplashScreen (const juce::String& name)
    : juce::Component (name)
{
    aboutImage = juce::ImageFileFormat::loadFrom (ModulixQR7150BinImg::about_png,
                                                  static_cast<size_t> (ModulixQR7150BinImg::about_pngSize));
    setSize (aboutImage.getWidth(), aboutImage.getHeight());

    versionLabel_ = std::make_unique<juce::Label> ("versionLabel_", juce::String());
    addAndMakeVisible (*versionLabel_);
    versionLabel_->setBounds (150, 112, 100, 16);
    versionLabel_->setJustificationType (juce::Justification::bottomLeft);
    versionLabel_->setColour (juce::Label::textColourId, juce::Colour (211, 211, 211));
    versionLabel_->setInterceptsMouseClicks (false, false); // a press on the text closes the box too

    setVisible (false);
}

VeloraSplashScreen::~VeloraSplashScreen() = default;

void VeloraSplashScreen::mouseDown (const juce::MouseEvent&)
{
    hide();
}

void VeloraSplashScreen::paint (juce::Graphics& g)
{
    g.drawImage (aboutImage, 0, 0, getWidth(), getHeight(), 0, 0, aboutImage.getWidth(), aboutImage.getHeight());
}

void VeloraSplashScreen::show()
{
    // Opening an open box again keeps the one modal state it already holds.
    VeloraDialogSupport::enterModalState (*this, false);

    setVisible (true);
}

void VeloraSplashScreen::hide()
{
    exitModalState (1);
    setVisible (false);
}

void VeloraSplashScreen::setVersion (const juce::String& text)
{
    versionLabel_->setText (text, juce::dontSendNotification);
}

bool VeloraSplashScreen::canModalEventBeSentToComponent (const juce::Component* target)
{
    return VeloraDialogSupport::letsInputReach (*this, target);
}
