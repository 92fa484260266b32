#pragma once

#include "VeloraFileBrowser.h"
#include "VeloraOverwriteComponent2.h"

#include <memory>

class ModulixQR7150AudioProcessor;
class VeloraPresetMenu;

/** The dialog in which the current setting is saved as a preset file: the file
    browser in save mode, whose OK and New Folder are usable only while the
    chosen file (or, for New Folder, the shown folder) lies inside the preset
    folder tree, whose OK saves the preset, asking first when the file exists,
    and whose CANCEL closes it. A save that fails is reported and the dialog
    stays open. */
class VeloraPresetBrowser : public VeloraFileBrowser
{
public:
    /** The first nine arguments go to VeloraFileBrowser; neither pointer is owned. */
    VeloraPresetBrowser (const juce::String& componentName, const juce::String& buttonText,
                         const juce::File& initialDirectory, const juce::String& wildcard, int mode,
                         int titleType, int okButtonType, int cancelButtonType, int newFolderButtonType,
                         ModulixQR7150AudioProcessor* processor, VeloraPresetMenu* presetMenu);
    ~VeloraPresetBrowser() override;

    /** In save mode, OK follows the chosen file and New Folder the shown folder:
        inside the preset folder tree they are usable, outside dimmed. */
    void timerCallback() override;

    /** In save mode: savePreset(), then the host is told to refresh its display. */
    void okButtonClicked() override;

    /** Closes the dialog. */
    void cancelButtonClicked() override;

    /** Opens the new-folder dialog only while the shown folder is in the preset folder tree. */
    void createNewFolder() override;

    /** Closes the dialog and its overwrite question. */
    void hide() override;

    /** Saves the current setting under the typed name (".vmxp" appended when it
        does not end so) inside the preset folder tree: a new file at once, an
        existing one after the overwrite question. A chosen file outside the
        tree, or no typed name, does nothing. */
    void savePreset();

protected:
    VeloraPresetMenu* presetMenu;
    ModulixQR7150AudioProcessor* processor;
    std::unique_ptr<VeloraOverwriteComponent2> overwriteComponent_;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VeloraPresetBrowser)
};
