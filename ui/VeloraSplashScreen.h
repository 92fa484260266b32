#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

/** The about box: a modal panel over the whole editor window that shows the
    about picture with the version text over it. It is created hidden, opened by
    show() and closed by any mouse press on it. */
class VeloraSplashScreen : public juce::Component
{
public:
    /** A hidden box with that component name, sized to the about picture (325 x 455). */
    explicit VeloraSplashScreen (const juce::String& name);
    ~VeloraSplashScreen() override;

    /** Closes the box, whichever mouse button was pressed. */
    void mouseDown (const juce::MouseEvent& event) override;

    /** Draws the about picture scaled into the whole box. */
    void paint (juce::Graphics& g) override;

    /** While open, only its own window is blocked: other windows of the
        process (the host's other plug-in windows) keep taking input. */
    bool canModalEventBeSentToComponent (const juce::Component* target) override;

    /** Input blocked by the dialog neither beeps nor raises a window. */
    void inputAttemptWhenModal() override {}

    /** Makes the box modal, taking the keyboard focus, and visible; returns at once. */
    virtual void show();

    /** Gives the modal state back (with result 1) and hides the box. */
    virtual void hide();

    /** Sets the version text, shown from the next opening on if the box is hidden. */
    void setVersion (const juce::String& text);

private:
    juce::Image aboutImage;
    std::unique_ptr<juce::Label> versionLabel_;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VeloraSplashScreen)
};
