#pragma once

#include "Velora2StateKickButton.h"

#include <memory>

/** The kit's modal message box: a panel the size of the editor window with an
    icon overlay, a centred multi-line text and one or two push buttons, OK and
    CANCEL. It is created once, hidden, and then only shown and hidden; show()
    enters the component modal state and returns at once. A click on either
    button closes the box; subclasses give the buttons a meaning by overriding
    okButtonClicked() and cancelButtonClicked().

    Icon kinds: 2 the OK picture, 3 smile, 4 frown, anything else the asterisk. */
class VeloraAlertComponent : public juce::Component,
                             public juce::Button::Listener
{
public:
    VeloraAlertComponent (const juce::String& componentName, int iconType, int okButtonType, int cancelButtonType);
    ~VeloraAlertComponent() override;

    /** OK calls okButtonClicked(), CANCEL cancelButtonClicked(); other buttons nothing. */
    void buttonClicked (juce::Button* button) override;

    /** Sets the message, drawn as plain text; "\n" breaks lines, and a text too
        long for its box is cut to it. */
    virtual void setTitle (const juce::String& text);

    /** Opens the box with 1 (OK) or 2 (OK and CANCEL) buttons and an icon kind;
        any other button count does nothing. Opening a box that is already open
        only updates its buttons and icon. */
    virtual void show (int buttons, int iconType);

    /** Closes the box, giving the modal state back to its parent when so set. */
    virtual void hide();

    /** What OK does: here only hide(). */
    virtual void okButtonClicked();

    /** What CANCEL does: here only hide(). */
    virtual void cancelButtonClicked();

    /** When set, the box takes the modal state from its modal parent while open. */
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
    juce::Image backgroundImage;
    juce::Image iconImage;
    bool changeParentModal = false;
    int iconType;
    int okButtonType;
    int cancelButtonType;

    std::unique_ptr<juce::Label> titleText_;
    std::unique_ptr<Velora2StateKickButton> okButton_;
    std::unique_ptr<Velora2StateKickButton> cancelButton_;

private:
    static juce::Image loadIconImage (int kind);

    /** Where the message goes: the middle 80 % of the width, 30 % to 70 % of the height. */
    juce::Rectangle<int> getTitleBounds() const;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VeloraAlertComponent)
};
