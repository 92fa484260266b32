#include "VeloraPresetMenu.h"

#include "ModulixQR7150AudioProcessor.h"
#include "ModulixQR7150PatchXml.h"

namespace
{
    const juce::String changedMarker { "*" };
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

    if (processor == nullptr || ! isInPresetFolder (file))
        return;

    // A file that cannot be loaded (unreadable, malformed, not a preset of this
    // product) is not what plays; a file that has gone leaves the name as it is.
    auto document = ModulixQR7150PatchXml::parseFile (file);
    const bool differs = document == nullptr ? file.exists()
                                             : ! ModulixQR7150PatchXml::isPresetOfThisProduct (*document)
                                                   || processor->comparePreset (std::move (document));

    if (differs)
        setPresetHasChanged();
}

int VeloraPresetMenu::readPreset (ModulixQR7150AudioProcessor* processor, juce::String path)
{
    const auto file = getFileAt (path);

    if (processor == nullptr || ! isInPresetFolder (file))
        return 0;

    auto document = ModulixQR7150PatchXml::parseFile (file);
    return document == nullptr ? 0 : processor->readPreset (std::move (document), true);
}

void VeloraPresetMenu::writePreset (ModulixQR7150AudioProcessor* processor, juce::String path)
{
    if (processor == nullptr)
        return;

    const auto file = getFileAt (path);

    // Outside the preset folder nothing is written; the selection then shows the "*".
    if (getRelativePath (file, getRootFolder()).isEmpty())
        return setSelectedFilePath (path);

    writeSetting (processor->writePreset (true), file);
}

bool VeloraPresetMenu::writeSetting (const juce::XmlElement& preset, const juce::File& file)
{
    const auto relativePath = getRelativePath (file, getRootFolder());

    // After a failed write the selection stays on the preset that is really active.
    if (relativePath.isEmpty() || ! ModulixQR7150PatchXml::writeFile (preset, file))
        return false;

    setSelectedFilePath (relativePath);
    return true;
}

void VeloraPresetMenu::setMarkedAsChange (bool isMarked)
{
    markedAsChange = isMarked;
}

bool VeloraPresetMenu::isInPresetFolder (const juce::File& file) const
{
    return getRelativePath (file, getRootFolder()).isNotEmpty();
}
