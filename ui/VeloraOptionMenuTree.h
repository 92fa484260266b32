#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <vector>

/** A label that shows the name of one selected file and, when clicked, opens a
    popup menu of every file in a folder tree: one sub-menu per folder, one
    numbered item per file.

    Item ids run from 1 without gaps in post-order: each sub-folder's files (its
    own sub-folders first) before the folder's own files, sub-folders and files in
    the order the file system lists them. The lists of the last build can be
    stepped through without opening the menu. Folders are only read, never written.
    A symbolic link to a folder is followed, unless it leads back into a folder
    the walk is inside of.

    The menu opens asynchronously, so the host may delete this component while it
    is open; a pick arrives in menuClosed() with the lists the menu was built from,
    whatever rebuild happened in between. Listeners learn of a pick through
    juce::Label::Listener::labelTextChanged, with getSelectedFilePath() already
    naming the picked file.
*/
class VeloraOptionMenuTree : public juce::Label
{
public:
    /** An empty, centred, white, non-editable label; the root folder is the user's
        music folder's child "Audio Music Apps", the pattern "*", walked recursively. */
    explicit VeloraOptionMenuTree (const juce::String& name);

    /** Closes this component's menu when it is open. */
    ~VeloraOptionMenuTree() override;

    /** Rebuilds the tree from disk and opens the menu at the label (any mouse button). */
    void mouseDown (const juce::MouseEvent&) override;

    /** Sets the root folder's full path; "\" separators become "/". Rebuilds nothing. */
    virtual void setDirectoryPath (juce::String path);

    /** Rebuilds the tree and selects the file at that path relative to the root
        ("\" read as "/"), showing its name without notifying listeners. A path that
        names no listed file shows that name all the same and keeps the selected id. */
    virtual void setSelectedFilePath (juce::String path);

    /** Selects the file with that item id in the lists of the last build and shows
        its name, without notifying listeners; an id naming no file is ignored. */
    virtual void setSelectedFileIndex (int itemId);

    /** Whether sub-folders are walked (the default) or only the root's own files listed. */
    virtual void setAsRecursive (bool shouldWalkSubFolders);

    /** The JUCE wildcard pattern that listed files must match. */
    virtual void setFileExtension (juce::String wildcardPattern);

    /** The selected file's path relative to the root, "/"-separated. */
    virtual juce::String getSelectedFilePath() const;

    /** The selected file's item id; 0 while nothing has been selected. */
    virtual int getSelectedFileIndex() const;

    /** The full path of the file with item id index + 1; empty out of range. */
    virtual juce::String getFilePath (int index) const;

    /** The name without extension of the file with item id index + 1; empty out of range. */
    virtual juce::String getFileName (int index) const;

    /** The number of files of the last build plus one (the id a next file would get). */
    virtual int getNumOfFiles() const;

    /** Selects the next file of the last build, wrapping from the last to the first. */
    virtual void nextResult();

    /** Selects the previous file of the last build, wrapping from the first to the last. */
    virtual void previousResult();

    /** Rebuilds every menu and the id-to-file lists from disk; true when the
        selected file was among the listed files. */
    bool createMenuTree();

    /** The menu the label opens, that of the root folder; empty before the first build. */
    const juce::PopupMenu& getRootMenu() const noexcept;

protected:
    /** What the item ids of one build refer to. */
    struct Listing
    {
        juce::File root;
        juce::StringArray filePaths;   // full path of item id i at index i - 1
        juce::StringArray fileNames;   // name without extension of item id i at index i - 1
    };

    /** Acts on the outcome of a menu built with that listing: an id below 1 is a
        dismissal. A pick selects the file, tells the listeners when it differs
        from the last pick, and shows its name. Returns true when a file was
        picked and this component still exists (a listener may delete it). */
    virtual bool menuClosed (int itemId, const Listing& shownListing);

    /** setSelectedFilePath's work; true when the file was listed. */
    bool selectFilePath (const juce::String& path);

    /** setSelectedFileIndex's work; false when the id was rejected. */
    bool selectFileIndex (int itemId);

    /** The root folder; an invalid juce::File while the root path is not a full path. */
    juce::File getRootFolder() const;

    /** The root folder's child at a relative path ("\" read as "/"), or the file a
        full path names. Such a path may lead outside the root. */
    juce::File getFileAt (const juce::String& path) const;

    /** The path of a file below the root, relative to it and "/"-separated;
        empty for a file outside the root. */
    static juce::String getRelativePath (const juce::File& file, const juce::File& root);

    /** A path with every "\" turned into "/". */
    static juce::String withForwardSlashes (const juce::String& path);

private:
    struct Walk;

    /** Builds the menu of one folder after those of its sub-folders and returns its index in menus. */
    int createSubMenu (const juce::File& folder, Walk& walk);

    Listing listing;
    juce::String directoryPath;
    juce::String lastPickedFilePath;
    juce::String selectedFilePath;
    int selectedFileIndex = 0;
    juce::String fileExtension { "*" };
    bool asRecursive = true;

    // One menu per folder walked, each after its sub-folders' menus: the root's is
    // the last. Before the first build, one empty root menu.
    std::vector<juce::PopupMenu> menus = std::vector<juce::PopupMenu> (1);
    bool menuIsOpen = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VeloraOptionMenuTree)
};
