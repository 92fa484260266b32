#include "VeloraPresetFolder.h"

#include "ModulixQR7150AudioProcessor.h"
#include "ModulixQR7150PatchXml.h"
#include "VeloraPresetMenu.h"

namespace VeloraPresetFolder
{
juce::File getRoot()
{
    return juce::File::getSpecialLocation (juce::File::userMusicDirectory)
        .getChildFile ("Audio Music Apps")
        .getChildFile ("Velora/Presets/ModulixQR7150");
}

bool contains (const juce::File& file)
{
    return file.isAChildOf (getRoot());
}

bool isInTree (const juce::File& folder)
{
    return folder == getRoot() || contains (folder);
}

juce::String describe (const juce::File& file)
{
    if (! contains (file))
        return file.getFullPathName();
    return file.getRelativePathFrom (getRoot()).replaceCharacter ('\\', '/');
}

bool savePreset (VeloraPresetMenu& presetMenu, ModulixQR7150AudioProcessor& processor, const juce::File& file)
{
    if (! contains (file) || file.isDirectory())
        return false;

    presetMenu.writePreset (&processor, file.getFullPathName());

    // The menu keeps quiet about a failed write, so read back what is there: an
    // old file left in place by a failed write holds another setting, or the
    // same one, which is then saved all the same.
    const auto written = ModulixQR7150PatchXml::parseFile (file);
    const auto expected = processor.writePreset (true);

    if (written == nullptr || ! written->isEquivalentTo (&expected, false))
        return false;

    processor.setActivePresetPath (presetMenu.getSelectedFilePath());
    return true;
}
} // namespace VeloraPresetFolder
