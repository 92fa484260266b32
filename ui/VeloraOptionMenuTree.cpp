#include "VeloraOptionMenuTree.h"

#include "StrictUtf8.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>
#include <system_error>

namespace
{
    /** The folder's path with every link and ".." resolved, to recognise a folder
        reached again through a symbolic link; the plain path when that fails. */
    std::filesystem::path getRealPath (const juce::File& folder)
    {
        const auto path = std::filesystem::u8path (folder.getFullPathName().toStdString());
        std::error_code error;
        auto realPath = std::filesystem::canonical (path, error);
        return error ? path : realPath;
    }
} // namespace

/** The state of one rebuild: the file to tick, whether it was found, the
    patterns files must match, the real folders walked so far and how many more
    folder entries may be read. */
struct VeloraOptionMenuTree::Walk
{
    juce::String target;
    juce::StringArray wildcards;
    bool found = false;
    bool isCut = false;
    int entriesLeft = maxEntriesRead;
    std::set<std::filesystem::path> walkedFolders;

    /** False for a folder already walked in this build, under whatever name a link gives it. */
    bool enter (const juce::File& folder)
    {
        return walkedFolders.insert (getRealPath (folder)).second;
    }

    /** As juce::DirectoryIterator matches names: any of the patterns separated by ";" or ",". */
    bool matches (const juce::String& fileName) const
    {
        for (const auto& wildcard : wildcards)
            if (fileName.matchesWildcard (wildcard, ! juce::File::areFileNamesCaseSensitive()))
                return true;

        return false;
    }
};

VeloraOptionMenuTree::VeloraOptionMenuTree (const juce::String& name)
    : juce::Label (name, {}),
      directoryPath (juce::File::getSpecialLocation (juce::File::userMusicDirectory)
                         .getChildFile ("Audio Music Apps").getFullPathName())
{
    directoryPath = withForwardSlashes (directoryPath);
    setJustificationType (juce::Justification::centred);
    setColour (juce::Label::textColourId, juce::Colours::white);
    setEditable (false, false);
}

VeloraOptionMenuTree::~VeloraOptionMenuTree()
{
    // JUCE can only close every open menu at once, other plug-in instances' too:
    // done only when one of ours is open.
    if (menuIsOpen)
        juce::PopupMenu::dismissAllActiveMenus();
}

void VeloraOptionMenuTree::mouseDown (const juce::MouseEvent&)
{
    createMenuTree();

    // The ids of the menu refer to these lists, however often the tree is rebuilt while it is open.
    auto shownListing = std::make_shared<const Listing> (listing);
    menuIsOpen = true;

    menus.back().showMenuAsync (juce::PopupMenu::Options().withTargetComponent (this),
                                 [safeThis = SafePointer<VeloraOptionMenuTree> (this), shownListing] (int itemId)
                                 {
                                     if (safeThis != nullptr)
                                         safeThis->menuClosed (itemId, *shownListing);
                                 });
}

bool VeloraOptionMenuTree::menuClosed (int itemId, const Listing& shownListing)
{
    menuIsOpen = false;

    if (itemId < 1 || itemId > shownListing.filePaths.size())
        return false;

    listing = shownListing;
    selectedFileIndex = itemId;
    selectedFilePath = getRelativePath (juce::File (listing.filePaths[itemId - 1]), listing.root);

    const auto pickedPath = selectedFilePath;
    const auto pickedName = listing.fileNames[itemId - 1];
    const SafePointer<VeloraOptionMenuTree> safeThis (this);

    if (pickedPath != lastPickedFilePath)
    {
        // Listeners run while the label still shows the previous name.
        callChangeListeners();

        if (safeThis == nullptr)
            return false;

        lastPickedFilePath = pickedPath;
        setText (pickedName, juce::dontSendNotification);
    }
    else
    {
        // The same file again: listeners hear of it only when the shown text changes
        // (when a marker had been appended to the name).
        setText (pickedName, juce::sendNotification);

        if (safeThis == nullptr)
            return false;
    }

    return true;
}

void VeloraOptionMenuTree::setDirectoryPath (juce::String path)
{
    directoryPath = withForwardSlashes (path);
}

void VeloraOptionMenuTree::setSelectedFilePath (juce::String path)
{
    selectFilePath (path);
}

bool VeloraOptionMenuTree::selectFilePath (const juce::String& path)
{
    selectedFilePath = withForwardSlashes (path);
    const bool found = createMenuTree();

    setText (found ? listing.fileNames[selectedFileIndex - 1]
                   : getFileAt (selectedFilePath).getFileNameWithoutExtension(),
             juce::dontSendNotification);
    return found;
}

void VeloraOptionMenuTree::setSelectedFileIndex (int itemId)
{
    selectFileIndex (itemId);
}

bool VeloraOptionMenuTree::selectFileIndex (int itemId)
{
    if (itemId < 1 || itemId > listing.filePaths.size())
        return false;

    selectedFileIndex = itemId;
    selectedFilePath = getRelativePath (juce::File (listing.filePaths[itemId - 1]), listing.root);
    setText (listing.fileNames[itemId - 1], juce::dontSendNotification);
    return true;
}

void VeloraOptionMenuTree::setAsRecursive (bool shouldWalkSubFolders)     { asRecursive = shouldWalkSubFolders; }
void VeloraOptionMenuTree::setFileExtension (juce::String wildcardPattern) { fileExtension = wildcardPattern; }

juce::String VeloraOptionMenuTree::getSelectedFilePath() const  { return selectedFilePath; }
int VeloraOptionMenuTree::getSelectedFileIndex() const          { return selectedFileIndex; }
juce::String VeloraOptionMenuTree::getFilePath (int index) const { return listing.filePaths[index]; }
juce::String VeloraOptionMenuTree::getFileName (int index) const { return listing.fileNames[index]; }
int VeloraOptionMenuTree::getNumOfFiles() const                  { return listing.filePaths.size() + 1; }
int VeloraOptionMenuTree::getNumOfEntriesRead() const noexcept   { return entriesRead; }

void VeloraOptionMenuTree::nextResult()
{
    const int lastId = listing.filePaths.size();
    setSelectedFileIndex (selectedFileIndex < lastId ? selectedFileIndex + 1 : 1);
}

void VeloraOptionMenuTree::previousResult()
{
    // A selection beyond the last id (kept from a larger build) steps back to the last file.
    const int lastId = listing.filePaths.size();
    setSelectedFileIndex (selectedFileIndex > 1 && selectedFileIndex <= lastId ? selectedFileIndex - 1 : lastId);
}

bool VeloraOptionMenuTree::createMenuTree()
{
    const auto root = getRootFolder();

    listing = { root, {}, {} };
    menus.clear();

    Walk walk;
    walk.target = getFileAt (selectedFilePath).getFullPathName();
    walk.wildcards.addTokens (fileExtension, ";,", "\"'");
    walk.wildcards.trim();
    walk.wildcards.removeEmptyStrings();
    walk.enter (root);

    createSubMenu (root, walk, 0);
    entriesRead = maxEntriesRead - std::max (walk.entriesLeft, 0);

    if (walk.isCut)
    {
        listSelectedFileBeyondTheCut (walk);
        menus.back().addItem (listCutItemId, listCutText, false);
    }

    return walk.found;
}

void VeloraOptionMenuTree::listSelectedFileBeyondTheCut (Walk& walk)
{
    // The selected file is shown and stepped from as it is on disk, although the walk
    // ended before it: after every listed file, as the one the user is on.
    const juce::File target (walk.target);
    std::error_code error;

    if (walk.found || getRelativePath (target, listing.root).isEmpty() || ! walk.matches (target.getFileName())
         || ! std::filesystem::is_regular_file (std::filesystem::u8path (walk.target.toStdString()), error))
        return;

    selectedFileIndex = addFileItem (menus.back(), target, true);
    walk.found = true;
}

int VeloraOptionMenuTree::addFileItem (juce::PopupMenu& menu, const juce::File& file, bool isTicked)
{
    const int itemId = listing.filePaths.size() + 1;
    menu.addItem (itemId, file.getFileName(), true, isTicked);
    listing.filePaths.add (file.getFullPathName());
    listing.fileNames.add (file.getFileNameWithoutExtension());
    return itemId;
}

int VeloraOptionMenuTree::createSubMenu (const juce::File& folder, Walk& walk, int depth)
{
    juce::Array<juce::File> subFolders, files;

    if (folder != juce::File())
        readFolder (folder, walk, subFolders, files);

    juce::PopupMenu menu;

    if (asRecursive && depth < maxDepth)
    {
        for (const auto& subFolder : subFolders)
            if (walk.enter (subFolder))
                menu.addSubMenu (subFolder.getFileName(), menus[(size_t) createSubMenu (subFolder, walk, depth + 1)], true);
    }
    else if (asRecursive && ! subFolders.isEmpty())
    {
        walk.isCut = true;
    }

    for (const auto& file : files)
    {
        const bool isTicked = file.getFullPathName() == walk.target;
        const int itemId = addFileItem (menu, file, isTicked);

        if (isTicked)
        {
            walk.found = true;
            selectedFileIndex = itemId;
        }
    }

    menus.push_back (std::move (menu));
    return (int) menus.size() - 1;
}

void VeloraOptionMenuTree::readFolder (const juce::File& folder, Walk& walk,
                                       juce::Array<juce::File>& subFolders, juce::Array<juce::File>& files) const
{
    // The entry types come with the listing; only links cost a look at what they name.
    const auto folderPath = juce::File::addTrailingSeparator (folder.getFullPathName());
    std::error_code error;

    for (std::filesystem::directory_iterator entries (std::filesystem::u8path (folderPath.toStdString()), error), end;
         ! error && entries != end; entries.increment (error))
    {
        if (--walk.entriesLeft < 0)
        {
            walk.isCut = true;
            return;
        }

        // Checked as bytes before a String is made of them: JUCE reads an overlong form
        // as the character it spells and a lone 0x80 as the end, so a String made of
        // such a name would name another entry or none.
        const auto rawName = entries->path().filename().native();

        if (! isStrictUtf8 (rawName))
            continue;

        const auto name = juce::String::fromUTF8 (rawName.data(), (int) rawName.size());

        // No stored path could name this entry.
        if (! isStorable (name))
            continue;

        // Only regular files are offered: a pipe, a device or a link to nothing has no
        // preset to load.
        std::error_code typeError;
        const auto entry = juce::File::createFileWithoutCheckingPath (folderPath + name);

        if (entries->is_directory (typeError))
            subFolders.add (entry);
        else if (walk.matches (name) && entries->is_regular_file (typeError))
            files.add (entry);
    }
}

const juce::PopupMenu& VeloraOptionMenuTree::getRootMenu() const noexcept
{
    return menus.back();
}

juce::File VeloraOptionMenuTree::getRootFolder() const
{
    return juce::File::isAbsolutePath (directoryPath) ? juce::File (directoryPath) : juce::File();
}

juce::File VeloraOptionMenuTree::getFileAt (const juce::String& path) const
{
    return resolvePath (getRootFolder(), path);
}

juce::File VeloraOptionMenuTree::resolvePath (const juce::File& root, const juce::String& path)
{
    return root.getChildFile (withForwardSlashes (path));
}

juce::String VeloraOptionMenuTree::getRelativePath (const juce::File& file, const juce::File& root)
{
    if (! file.isAChildOf (root))
        return {};

    // Where "\" is the separator it becomes "/"; elsewhere it can be part of a
    // name, which no stored path can name.
    auto path = file.getRelativePathFrom (root);

    if (juce::File::getSeparatorChar() == '\\')
        path = withForwardSlashes (path);

    return isStorable (path) ? path : juce::String();
}

bool VeloraOptionMenuTree::isStorable (const juce::String& relativePath)
{
    return ! relativePath.containsChar ('\\') && isStrictUtf8 (relativePath.toRawUTF8());
}

juce::String VeloraOptionMenuTree::withForwardSlashes (const juce::String& path)
{
    return path.replaceCharacter ('\\', '/');
}
