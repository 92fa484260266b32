#include "VeloraPresetMenu.h"

#include "ModulixQR7150AudioProcessor.h"
#include "ModulixQR7150PatchXml.h"

#include <filesystem>
#include <system_error>

namespace
{
    const juce::String changedMarker { "*" };

    /** False for folders, and for devices and pipes, whose reading would block or never end. */
    bool isRegularFile (const juce::File& file)
    {
        std::error_code error;
        return std::filesystem::is_regular_file (std::filesystem::u8path (file.getFullPathName().toStdString()), error);
    }
} // namespace

VeloraPresetMenu::VeloraPresetMenu (const juce::String& name)
    : VeloraOptionMenuTree (name)
{
}

void VeloraPresetMenu::setSelectedFilePath (juce::String path)
{
    const bool found = selectFilePath (path);

    if (! found)
        setText (getText (false) + changedMarker, juce::dontSendNotification);

    markedAsChange = ! found;
}

void VeloraPresetMenu::setSelectedFileIndex (int itemId)
{
    if (selectFileIndex (itemId))
        markedAsChange = false;
}

bool VeloraPresetMenu::menuClosed (int itemId, const Listing& shownListing)
{
    if (! VeloraOptionMenuTree::menuClosed (itemId, shownListing))
        return false;

    markedAsChange = false;
    return true;
}

void VeloraPresetMenu::setPresetHasChanged()
{
    if (markedAsChange)
        return;

    setText (getText (false) + changedMarker, juce::dontSendNotification);
    markedAsChange = true;
}

void VeloraPresetMenu::compareAndMarkPreset (ModulixQR7150AudioProcessor* processor)
{
    const auto file = getFileAt (getSelectedFilePath());

    if (processor == nullptr || ! isReadablePreset (file))
        return;

    if (processor->comparePreset (ModulixQR7150PatchXml::parseFile (file)))
        setPresetHasChanged();
}

int VeloraPresetMenu::readPreset (ModulixQR7150AudioProcessor* processor, juce::String path)
{
    const auto file = getFileAt (path);

    if (processor == nullptr || ! isReadablePreset (file))
        return 0;

    return processor->readPreset (ModulixQR7150PatchXml::parseFile (file), true);
}

void VeloraPresetMenu::writePreset (ModulixQR7150AudioProcessor* processor, juce::String path)
{
    const auto file = getFileAt (path);
    const bool isInside = file.isAChildOf (getRootFolder());

    if (processor == nullptr)
        return;

    // A failed write is not reported: the selection then finds no file and shows the "*".
    if (isInside)
        ModulixQR7150PatchXml::writeFile (processor->writePreset (true), file);

    setSelectedFilePath (isInside ? getRelativePath (file, getRootFolder()) : path);
}

void VeloraPresetMenu::setMarkedAsChange (bool isMarked)
{
    markedAsChange = isMarked;
}

bool VeloraPresetMenu::isReadablePreset (const juce::File& file) const
{
    return file.isAChildOf (getRootFolder()) && isRegularFile (file);
}
