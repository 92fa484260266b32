#pragma once

#include "VeloraOptionMenuTree.h"

class ModulixQR7150AudioProcessor;

/** The editor's preset bar: a folder-tree menu of the preset files that shows the
    name of the preset the current setting came from, followed by "*" once the
    sound no longer matches that file or the file does not exist.

    It is the only place where preset files are read and written. Paths come
    relative to the preset folder (as the processor stores them, also from host
    state) or full; either way nothing outside the preset folder is read or
    written because of one. Files are parsed by ModulixQR7150PatchXml and handed
    to the processor, which decides what they mean.
*/
class VeloraPresetMenu : public VeloraOptionMenuTree
{
public:
    explicit VeloraPresetMenu (const juce::String& name);

    /** Selects the preset at that path and shows its name; a preset that is not
        listed shows its name followed by "*". */
    void setSelectedFilePath (juce::String path) override;

    /** Selects by item id as the base does, and an accepted id clears the "*". */
    void setSelectedFileIndex (int itemId) override;

    /** Appends "*" to the shown name, once. */
    virtual void setPresetHasChanged();

    /** Appends "*" when the selected preset file differs from the processor's
        current setting or cannot be loaded (unreadable, malformed, not a preset of
        this product); a missing file or a null processor changes nothing. */
    virtual void compareAndMarkPreset (ModulixQR7150AudioProcessor* processor);

    /** Loads the preset at that path into the processor and returns its read
        result: 0 not read (missing, outside the preset folder, not a preset),
        1 loaded, 2 a preset of another product, 4 loaded but from a newer version.
        The selection and the shown name stay as they are. */
    virtual int readPreset (ModulixQR7150AudioProcessor* processor, juce::String path);

    /** Writes the processor's current setting to the preset at that path, creating
        missing folders, then selects it; a failed write leaves the selection as it
        was. A path outside the preset folder is selected but not written, so it
        shows with "*". */
    virtual void writePreset (ModulixQR7150AudioProcessor* processor, juce::String path);

    /** Writes that preset document to a file inside the preset folder, creating
        missing folders, then selects the file. An old file is replaced only by a
        complete new one. False when nothing was written: a file outside the
        folder, or a failed write; the selection then stays as it was. */
    bool writeSetting (const juce::XmlElement& preset, const juce::File& file);

    /** Records whether the shown name ends with the "*" this class appended. */
    virtual void setMarkedAsChange (bool isMarked);

protected:
    /** A pick selects a preset as it is on disk, so it clears the "*". */
    bool menuClosed (int itemId, const Listing& shownListing) override;

private:
    /** True for a file inside the preset folder: the only files read. */
    bool isInPresetFolder (const juce::File& file) const;

    bool markedAsChange = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VeloraPresetMenu)
};
