#pragma once

#include <juce_core/juce_core.h>

class ModulixQR7150AudioProcessor;
class VeloraPresetMenu;

/** Where preset files live, and the one road by which the dialogs save them.

    Whether a file lies inside the preset folder is decided on file paths
    (juce::File::isAChildOf, getRelativePathFrom), never by searching path text:
    a sibling such as "ModulixQR7150-old", a path leading up with "..", a full
    path typed into a name box or a differently cased spelling of the folder
    (where the file system tells case apart) is outside. */
namespace VeloraPresetFolder
{
    /** The user's music folder, "Audio Music Apps", "Velora/Presets/ModulixQR7150";
        computed afresh at each call. */
    juce::File getRoot();

    /** The file a stored preset path names: relative to the preset folder, with "\"
        read as "/" (paths stored on other systems), or a full path. Every reader
        and writer of a stored path resolves it so. */
    juce::File getFile (const juce::String& storedPath);

    /** True for a file or folder below the preset folder (not the folder itself)
        that a stored path can name (see VeloraOptionMenuTree::isStorable). */
    bool contains (const juce::File& file);

    /** True for the preset folder itself or a folder below it. */
    bool isInTree (const juce::File& folder);

    /** True for a preset of this product inside the preset folder: a regular
        ".vmxp" file that reads as one. Only such a file is overwritten by
        "Save Preset" without choosing a name. */
    bool isPresetFile (const juce::File& file);

    /** The path below the preset folder, "/"-separated, for a file inside it;
        the full path for any other file (for messages only). */
    juce::String describe (const juce::File& file);

    /** Writes the processor's current setting, taken once, into a ".vmxp" file
        inside the preset folder through the preset menu, which replaces an old
        file only with a complete new one and then selects the file. True only when
        the file now holds exactly the setting that was taken, and the file is then
        recorded as the preset of the current program's active setting; a file
        outside the folder, or anything but a regular file in the way, is never
        written. */
    bool savePreset (VeloraPresetMenu& presetMenu, ModulixQR7150AudioProcessor& processor, const juce::File& file);
}
