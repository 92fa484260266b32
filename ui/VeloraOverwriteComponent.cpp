#include "VeloraOverwriteComponent.h"

#include "ModulixQR7150AudioProcessor.h"
#include "VeloraPresetFolder.h"
#include "VeloraPresetMenu.h"

VeloraOverwriteComponent::VeloraOverwriteComponent (const juce::String& name,
                                                    ModulixQR7150AudioProcessor* processor_,
                                                    VeloraPresetMenu* presetMenu_)
    : VeloraAlertComponent (name, 1, 1, 3),
      processor (processor_),
      presetMenu (presetMenu_)
{
    setTitle ({});
}

void VeloraOverwriteComponent::show (int buttons, int kind)
{
    showingFailure = false;
    VeloraAlertComponent::show (buttons, kind);
}

void VeloraOverwriteComponent::okButtonClicked()
{
    if (showingFailure)
        return hide();

    if (overwritePreset())
        hide();
}

void VeloraOverwriteComponent::cancelButtonClicked()
{
    hide();
}

void VeloraOverwriteComponent::showQuestion (const juce::File& file)
{
    presetFile = file;
    setTitle ("Are you sure you want to overwrite this preset?\n\n\"" + VeloraPresetFolder::describe (file) + "\"");
    show (2, 1);
}

void VeloraOverwriteComponent::showSaveFailure (const juce::File& file)
{
    setTitle (juce::String (saveFailedMessage) + "\n\n\"" + VeloraPresetFolder::describe (file) + "\"");
    VeloraAlertComponent::show (1, 4);
    showingFailure = true;
}

bool VeloraOverwriteComponent::overwritePreset()
{
    if (presetMenu == nullptr || processor == nullptr)
        return true;

    const bool saved = VeloraPresetFolder::savePreset (*presetMenu, *processor, presetFile);
    processor->updateHostDisplay();

    if (! saved)
        showSaveFailure (presetFile);

    return saved;
}
