#include "VeloraDialogSupport.h"

#include "ModulixDialogBoxBinImg.h"

namespace
{
/** JUCE raises the windows of all modal components whenever another of its
    windows comes to the front, and the plug-in windows embedded in a host's
    windows share one idea of where they are on the screen: a raised window
    then takes the clicks meant for the window in front. So a dialog holds the
    modal state only while its own window is the front one. When another
    window comes to the front, the dialog steps out of it, still shown over
    its window, which it covers; when its window comes back to the front, it
    steps in again. */
class FrontWindowModality final : private juce::ComponentListener
{
public:
    static FrontWindowModality& getInstance()
    {
        static FrontWindowModality instance;
        return instance;
    }

    /** Watches which window comes to the front, for this dialog and every window open now. */
    void dialogOpened (juce::Component& dialog)
    {
        dialogs.removeAllInstancesOf (nullptr);

        if (! dialogs.contains (&dialog))
            dialogs.add (&dialog);

        for (int i = juce::Desktop::getInstance().getNumComponents(); --i >= 0;)
            if (auto* window = juce::Desktop::getInstance().getComponent (i))
                window->addComponentListener (this);
    }

private:
    // Runs before JUCE raises the modal components' windows.
    void componentBroughtToFront (juce::Component& window) override
    {
        parked.removeAllInstancesOf (nullptr);

        for (auto& safeDialog : dialogs)
        {
            auto* dialog = safeDialog.getComponent();

            if (dialog == nullptr)
                continue;

            const bool inFront = dialog->getTopLevelComponent() == &window;

            if (! inFront && dialog->isCurrentlyModal (false))
            {
                dialog->exitModalState (0);
                parked.addIfNotAlreadyThere (safeDialog);
            }
            else if (inFront && parked.contains (safeDialog))
            {
                parked.removeFirstMatchingValue (safeDialog);

                if (dialog->isVisible() && ! dialog->isCurrentlyModal (false))
                    dialog->enterModalState (true, nullptr, false);
            }
        }
    }

    juce::Array<juce::Component::SafePointer<juce::Component>> dialogs;
    juce::Array<juce::Component::SafePointer<juce::Component>> parked;
};
} // namespace

namespace VeloraDialogSupport
{
juce::Image loadPicture (const char* data, int size)
{
    if (data == nullptr || size <= 0)
        return {};
    return juce::ImageFileFormat::loadFrom (data, static_cast<size_t> (size));
}

juce::Image loadButtonPicture (int code)
{
    using namespace ModulixDialogBoxBinImg;

    switch (code)
    {
        case 3:
        case 4:  return loadPicture (cancel_png, cancel_pngSize);
        case 5:  return loadPicture (save_png, save_pngSize);
        case 8:  return loadPicture (newfolder_png, newfolder_pngSize);
        case 10: return loadPicture (overwrite_png, overwrite_pngSize);
        default: return loadPicture (ok_png, ok_pngSize);
    }
}

std::unique_ptr<Velora2StateKickButton> addButton (juce::Component& dialog, juce::Button::Listener& listener,
                                                   const juce::String& name, const juce::Image& picture,
                                                   juce::Rectangle<int> bounds)
{
    auto button = std::make_unique<Velora2StateKickButton> (name);
    dialog.addAndMakeVisible (button.get());
    button->setImage (picture);
    button->setBounds (bounds);
    button->addListener (&listener);
    return button;
}

std::unique_ptr<juce::Label> addTitleLabel (juce::Component& dialog, const juce::String& text)
{
    auto label = std::make_unique<juce::Label> ("titleText_", text);
    dialog.addAndMakeVisible (label.get());
    label->setJustificationType (juce::Justification::centred);
    label->setColour (juce::Label::textColourId, textColour);
    return label;
}

void setUsable (juce::Button& button, bool usable)
{
    button.setAlpha (usable ? 1.0f : 0.5f);
    button.setEnabled (usable);
}

juce::String cutTextToBox (const juce::String& text, const juce::Font& font, juce::Rectangle<int> area, int maxHeight)
{
    // Laid out as juce::Label draws its text, so that what is measured is what is drawn.
    const auto width = static_cast<float> (area.getWidth());
    const auto height = static_cast<float> (area.getHeight());
    const int maxLines = juce::jmax (1, static_cast<int> (height / font.getHeight()));

    const auto fits = [&] (const juce::String& candidate)
    {
        juce::GlyphArrangement glyphs;
        glyphs.addFittedText (font, candidate, 0.0f, 0.0f, width, height, juce::Justification::centred, maxLines);
        const auto bounds = glyphs.getBoundingBox (0, -1, true);
        return bounds.getHeight() <= static_cast<float> (juce::jmin (maxHeight, area.getHeight()));
    };
    const auto cutAt = [&text] (int length) { return text.substring (0, length).trimEnd() + "..."; };

    if (fits (text))
        return text;

    int fitting = 0;
    for (int tooLong = text.length(); tooLong - fitting > 1;)
    {
        const int middle = (fitting + tooLong) / 2;
        (fits (cutAt (middle)) ? fitting : tooLong) = middle;
    }
    return cutAt (fitting);
}

bool holdsModalState (const juce::Component& dialog)
{
    if (dialog.isCurrentlyModal (false))
        return true;

    for (int i = juce::Component::getNumCurrentlyModalComponents(); --i >= 0;)
        if (dialog.isParentOf (juce::Component::getCurrentlyModalComponent (i)))
            return true;

    return false;
}

bool letsInputReach (const juce::Component& dialog, const juce::Component* target)
{
    const auto* window = dialog.getTopLevelComponent();

    if (target == nullptr || target == window || window->isParentOf (target))
        return false;

    const int count = juce::Component::getNumCurrentlyModalComponents();
    int below = 0;

    while (below < count && juce::Component::getCurrentlyModalComponent (below) != &dialog)
        ++below;

    auto* next = below + 1 < count ? juce::Component::getCurrentlyModalComponent (below + 1) : nullptr;

    return next == nullptr || next == target || next->isParentOf (target)
           || next->canModalEventBeSentToComponent (target);
}

bool enterModalState (juce::Component& dialog, bool takeFromParent)
{
    if (holdsModalState (dialog))
        return false;

    if (auto* parent = dialog.getParentComponent(); takeFromParent && parent != nullptr
                                                     && parent->isCurrentlyModal (false))
        parent->exitModalState (1);

    dialog.enterModalState (true, nullptr, false);
    FrontWindowModality::getInstance().dialogOpened (dialog);
    return true;
}

bool leaveModalState (juce::Component& dialog, bool giveBackToParent)
{
    if (! dialog.isVisible() && ! dialog.isCurrentlyModal (false))
        return false;

    dialog.exitModalState (1);

    if (auto* parent = dialog.getParentComponent(); giveBackToParent && parent != nullptr
                                                     && parent->isVisible() && ! holdsModalState (*parent))
        parent->enterModalState (true, nullptr, false);

    return true;
}
} // namespace VeloraDialogSupport
