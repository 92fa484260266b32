#pragma once

#include "Velora2StateKickButton.h"

#include <memory>

/** What the kit's dialogs share: their pictures and the way they take and give
    back the component modal state. Dialogs are children laid over their owner's
    window; they never run a nested event loop. */
namespace VeloraDialogSupport
{
    /** Decodes one embedded picture; a null image when it cannot be decoded. */
    juce::Image loadPicture (const char* data, int size);

    /** The two-frame button strip of a picture code: 3 and 4 CANCEL, 5 SAVE,
        8 NEW FOLDER, 10 OVERWRITE, every other code OK. */
    juce::Image loadButtonPicture (int code);

    /** True while the dialog, or a box it opened over itself, holds the modal state. */
    bool holdsModalState (const juce::Component& dialog);

    /** Makes the dialog modal (taking the keyboard focus), after taking the state
        away from a modal parent when asked to. A dialog that already holds the
        state, itself or through one of its boxes, is left as it is: a second
        opening neither nests the state nor takes it from its own box.
        Returns false in that case. */
    bool enterModalState (juce::Component& dialog, bool takeFromParent);

    /** Ends the dialog's modal state and, when asked to, gives it back to a
        visible parent that lost it. A dialog that is neither visible nor modal
        is left alone, so closing a closed box never makes its parent modal.
        Returns false in that case. Does not change the dialog's visibility. */
    bool leaveModalState (juce::Component& dialog, bool giveBackToParent);

    /** Whether input may reach a component while the dialog is modal. JUCE's
        modal state is one for the whole process, and a host shows many plug-in
        windows in one process: a dialog blocks only its own window (the
        components under its top-level component). Beyond it, whatever else is
        modal decides, as it would without the dialog. For the dialogs'
        canModalEventBeSentToComponent. */
    bool letsInputReach (const juce::Component& dialog, const juce::Component* target);

    /** Makes a push button with that picture strip, shown in the dialog at those
        bounds and heard by the listener. */
    std::unique_ptr<Velora2StateKickButton> addButton (juce::Component& dialog, juce::Button::Listener& listener,
                                                       const juce::String& name, const juce::Image& picture,
                                                       juce::Rectangle<int> bounds = {});

    /** Makes the dialog's centred message label, shown in the dialog. */
    std::unique_ptr<juce::Label> addTitleLabel (juce::Component& dialog, const juce::String& text = {});

    /** How often an open dialog re-checks whether its OK button is usable. */
    constexpr int buttonTimerPeriodMs = 200;

    /** Enables a dialog button at alpha 1.0, or dims it to 0.5 and disables it. */
    void setUsable (juce::Button& button, bool usable);

    /** The text, when juce::Label draws it centred in that text area and font, is
        a block at most maxHeight high; else the longest start of it that is, with
        "..." after it. For texts from files or host state, of any length. */
    juce::String cutTextToBox (const juce::String& text, const juce::Font& font, juce::Rectangle<int> area,
                               int maxHeight);

    /** The text colour of every dialog label. */
    const juce::Colour textColour { 211, 211, 211 };
}
