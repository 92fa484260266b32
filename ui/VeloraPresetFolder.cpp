#include "VeloraPresetFolder.h"

#include "ModulixQR7150AudioProcessor.h"
#include "ModulixQR7150PatchXml.h"
#include "VeloraPresetMenu.h"

namespace VeloraPresetFolder
{
namespace
{
const juce::String presetExtension { ".vmxp" };
} // namespace

juce::File getRoot()
{
    return juce::File::getSpecialLocation (juce::File::userMusicDirectory)
        .getChildFile ("Audio Music Apps")
        .getChildFile ("Velora/Presets/ModulixQR7150");
}

juce::File getFile (const juce::String& storedPath)
{
    return VeloraOptionMenuTree::resolvePath (getRoot(), storedPath);
}

bool contains (const juce::File& file)
{
    return VeloraOptionMenuTree::getRelativePath (file, getRoot()).isNotEmpty();
}

bool isInTree (const juce::File& folder)
{
    return folder == getRoot() || contains (folder);
}

bool isPresetFile (const juce::File& file)
{
    if (! contains (file) || ! file.getFileName().endsWith (presetExtension))
        return false;

    const auto document = ModulixQR7150PatchXml::parseFile (file);
    return document != nullptr && ModulixQR7150PatchXml::isPresetOfThisProduct (*document);
}

juce::String describe (const juce::File& file)
{
    return contains (file) ? VeloraOptionMenuTree::getRelativePath (file, getRoot()) : file.getFullPathName();
}

bool savePreset (VeloraPresetMenu& presetMenu, ModulixQR7150AudioProcessor& processor, const juce::File& file)
{
    if (! contains (file) || ! file.getFileName().endsWith (presetExtension))
        return false;

    // One snapshot, which the writer reads back before it replaces the old file: the
    // host may automate the setting meanwhile, which is no failure of the save.
    if (! presetMenu.writeSetting (processor.writePreset (true), file))
        return false;

    processor.setActivePresetPath (presetMenu.getSelectedFilePath());
    return true;
}
} // namespace VeloraPresetFolder
