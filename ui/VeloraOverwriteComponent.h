#pragma once

#include "VeloraAlertComponent.h"

class ModulixQR7150AudioProcessor;
class VeloraPresetMenu;

/** The question asked before a preset file is overwritten ("Save Preset" onto an
    existing file). OK writes the processor's current setting into presetFile
    through the preset menu and records the file as the active setting's preset;
    CANCEL writes nothing. A file outside the preset folder (a path from host
    state may lead anywhere) is never written, and a write that fails is shown
    in this same box instead of being taken for a save. */
class VeloraOverwriteComponent : public VeloraAlertComponent
{
public:
    /** Text of the report of a preset that could not be saved. */
    static constexpr const char* saveFailedMessage = "Couldn't save the preset! Try different name.";

    /** Neither pointer is owned; either may be null, and OK then only closes. */
    VeloraOverwriteComponent (const juce::String& componentName, ModulixQR7150AudioProcessor* processor,
                              VeloraPresetMenu* presetMenu);

    /** Opens the box as a question about presetFile. */
    void show (int buttons, int iconType) override;

    /** Overwrites presetFile, records it, tells the host and closes; or reports the failure. */
    void okButtonClicked() override;

    /** Closes without writing. */
    void cancelButtonClicked() override;

    /** Opens the box, with OK and CANCEL, as the question whether to overwrite file. */
    void showQuestion (const juce::File& file);

    /** Shows, with OK alone, that the file could not be saved; OK then only closes. */
    void showSaveFailure (const juce::File& file);

    /** The preset file to overwrite; the owner assigns it before showing the box. */
    juce::File presetFile;

protected:
    /** Writes and records presetFile and tells the host. On failure nothing is
        recorded and the box turns into the failure report. Returns success. */
    bool overwritePreset();

    /** True while the box reports a failure instead of asking. */
    bool isShowingFailure() const noexcept { return showingFailure; }

    ModulixQR7150AudioProcessor* processor;
    VeloraPresetMenu* presetMenu;

private:
    bool showingFailure = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VeloraOverwriteComponent)
};
