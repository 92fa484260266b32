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
    Only regular files are listed (also through symbolic links). Symbolic links to
    folders are followed, but each real folder is walked once per build, and a build
    reads at most maxEntriesRead folder entries and descends at most maxDepth
    folders below the root, so that no tree of links can stall the message thread;
    both bounds lie far above real libraries. A build that they cut ends the root
    menu with a disabled item saying so, and a selected file that the walk did not
    reach is listed after all others, so that it is shown and stepped from all the
    same. Entries whose name no stored path can hold (see isStorable) are not
    listed.

    The menu opens asynchronously, so the host may delete this component while it
    is open; a pick arrives in menuClosed() with the lists the menu was built from,
    whatever rebuild happened in between. Listeners learn of a pick through
    juce::Label::Listener::labelTextChanged, with getSelectedFilePath() already
    naming the picked file.
*/
class VeloraOptionMenuTree : public juce::Label
{
public:
    /** Bounds of one build: folder entries read, and folder levels below the root. */
    static constexpr int maxEntriesRead = 1 << 16;
    static constexpr int maxDepth = 16;

    /** The disabled last item of a root menu whose build the bounds cut, and its id. */
    static constexpr const char* listCutText = "Folder tree too large to list whole";
    static constexpr int listCutItemId = -1;

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

    /** How many folder entries the last build read, at most maxEntriesRead. */
    int getNumOfEntriesRead() const noexcept;

    /** The file a path names: a path relative to root ("\" read as "/"), or a full
        path. The one rule by which every stored preset path is read. */
    static juce::File resolvePath (const juce::File& root, const juce::String& path);

    /** The path of a file below root, relative to it and "/"-separated; empty for a
        file outside root or one that no stored path can hold (see isStorable). */
    static juce::String getRelativePath (const juce::File& file, const juce::File& root);

    /** True for a relative path, or a name, that a stored path can hold: one without
        "\", which stored paths read as a separator, in strict UTF-8, the only text
        the state reader takes back (JUCE keeps any character it decoded, one beyond
        U+10FFFF too, and writes that as a reference the reader refuses). */
    static bool isStorable (const juce::String& relativePath);

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

    /** A path with every "\" turned into "/". */
    static juce::String withForwardSlashes (const juce::String& path);

private:
    struct Walk;

    /** Builds the menu of one folder, depth levels below the root, after those of
        its sub-folders, and returns its index in menus. */
    int createSubMenu (const juce::File& folder, Walk& walk, int depth);

    /** Reads the folder's entries, within the walk's bound, into sub-folders and
        matching regular files. */
    void readFolder (const juce::File& folder, Walk& walk,
                     juce::Array<juce::File>& subFolders, juce::Array<juce::File>& files) const;

    /** Adds a file to the lists and its item to the menu; returns its item id. */
    int addFileItem (juce::PopupMenu& menu, const juce::File& file, bool isTicked);

    /** After a cut build: lists the selected file at the end when it exists but was not reached. */
    void listSelectedFileBeyondTheCut (Walk& walk);

    Listing listing;
    juce::String directoryPath;
    juce::String lastPickedFilePath;
    juce::String selectedFilePath;
    int selectedFileIndex = 0;
    juce::String fileExtension { "*" };
    bool asRecursive = true;
    int entriesRead = 0;

    // One menu per folder walked, each after its sub-folders' menus: the root's is
    // the last. Before the first build, one empty root menu.
    std::vector<juce::PopupMenu> menus = std::vector<juce::PopupMenu> (1);
    bool menuIsOpen = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VeloraOptionMenuTree)
};
