#include "FolderTreeFixture.h"

#include "VeloraOptionMenuTree.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include <sys/stat.h>

using modulix_test::FolderTreeTest;
using modulix_test::LabelSpy;
using modulix_test::listInPostOrder;

namespace
{
/** The tree with the pick of an open menu reachable: the menu itself needs a display. */
struct MenuTree final : VeloraOptionMenuTree
{
    MenuTree() : VeloraOptionMenuTree ("tree_") {}

    /** The lists the menu would be opened with now. */
    Listing snapshot() const
    {
        Listing shown { getRootFolder(), {}, {} };

        for (int i = 0; i < getNumOfFiles() - 1; ++i)
        {
            shown.filePaths.add (getFilePath (i));
            shown.fileNames.add (getFileName (i));
        }

        return shown;
    }

    /** What mouseDown's callback does when the user picks that id. */
    void pick (int itemId, const Listing& shown)  { menuClosed (itemId, shown); }
    void pick (int itemId)                        { pick (itemId, snapshot()); }
};

class OptionMenuTreeTest : public FolderTreeTest
{
protected:
    OptionMenuTreeTest()
    {
        resetMenu();
    }

    /** A fresh menu over the root, listing "*.vmxp". */
    void resetMenu()
    {
        menu = std::make_unique<MenuTree>();
        menu->setDirectoryPath (root.getFullPathName());
        menu->setFileExtension ("*.vmxp");
    }

    /** A root with nested sub-folders, an empty folder and a file of another kind. */
    void addNestedTree() const
    {
        addFile ("A/C/c1.vmxp");
        addFile ("A/a1.vmxp");
        addFile ("A/a2.vmxp");
        addFile ("B/b1.vmxp");
        addFolder ("Empty");
        addFile ("r1.vmxp");
        addFile ("notes.txt");
    }

    /** Checks a menu against the folder it shows, items numbered from firstId on:
        its sub-folders as sub-menus, then its own files, each in listing order.
        Returns the id after the folder's last file. */
    int expectMenuShowsFolder (const juce::PopupMenu& shown, const juce::File& folder, int firstId) const
    {
        auto entries = listNames (folder, true);
        const int numSubFolders = entries.size();

        for (const auto& name : listNames (folder, false))
            if (name.matchesWildcard ("*.vmxp", false))
                entries.add (name);

        int nextId = firstId;
        int position = 0;

        for (juce::PopupMenu::MenuItemIterator items (shown); items.next(); ++position)
        {
            const auto& item = items.getItem();
            EXPECT_EQ (item.text, entries[position]) << "the extension stays in item texts";
            // JUCE greys out an empty sub-menu; everything else can be chosen.
            EXPECT_EQ (item.isEnabled, item.subMenu == nullptr || item.subMenu->getNumItems() > 0) << item.text;

            if (position < numSubFolders)
            {
                EXPECT_EQ (item.itemID, 0);
                EXPECT_NE (item.subMenu, nullptr) << item.text;

                if (item.subMenu != nullptr)
                    nextId = expectMenuShowsFolder (*item.subMenu, folder.getChildFile (item.text), nextId);
            }
            else
            {
                EXPECT_EQ (item.subMenu, nullptr) << item.text;
                EXPECT_EQ (item.itemID, nextId);
                EXPECT_EQ (menu->getFilePath (nextId - 1), folder.getChildFile (item.text).getFullPathName());
                ++nextId;
            }
        }

        EXPECT_EQ (position, entries.size()) << folder.getFullPathName();
        return nextId;
    }

    /** The listed files, as paths below the root with every link resolved, sorted. */
    juce::StringArray realPathsOfListedFiles() const
    {
        juce::StringArray paths;
        for (int i = 0; i < menu->getNumOfFiles() - 1; ++i)
            paths.add (realPathOf (juce::File (menu->getFilePath (i))));
        paths.sort (false);
        return paths;
    }

    /** The folders of every sub-menu, as realPathsOfListedFiles gives files. The menu
        keeps names only, so each is found again by its name among its parent's entries. */
    juce::StringArray realPathsOfSubMenus() const
    {
        juce::StringArray paths;
        addSubMenuPaths (menu->getRootMenu(), root, paths);
        paths.sort (false);
        return paths;
    }

    void addSubMenuPaths (const juce::PopupMenu& shown, const juce::File& folder, juce::StringArray& paths) const
    {
        for (juce::PopupMenu::MenuItemIterator items (shown); items.next();)
        {
            if (const auto* subMenu = items.getItem().subMenu.get())
            {
                const auto subFolder = folder.getChildFile (items.getItem().text);
                paths.add (realPathOf (subFolder));
                addSubMenuPaths (*subMenu, subFolder, paths);
            }
        }
    }

    juce::String realPathOf (const juce::File& file) const
    {
        // A link to nothing, which should not have been listed, keeps its own path.
        std::error_code error;
        const auto path = std::filesystem::path (file.getFullPathName().toStdString());
        const auto canonical = std::filesystem::canonical (path, error);
        const auto real = error ? path : canonical;
        const auto realRoot = std::filesystem::canonical (root.getFullPathName().toStdString());
        const auto relative = real.lexically_relative (realRoot).string();
        return relative.rfind ("..", 0) == 0 ? juce::String (real.string()) : juce::String (relative);
    }

    std::unique_ptr<MenuTree> menu;
};
} // namespace

TEST_F (OptionMenuTreeTest, StartsAsAnEmptyCentredWhiteLabelOverTheMusicFolder)
{
    const MenuTree fresh;

    EXPECT_EQ (fresh.getName(), "tree_");
    EXPECT_TRUE (fresh.getText().isEmpty());
    EXPECT_EQ (fresh.getJustificationType(), juce::Justification (juce::Justification::centred));
    EXPECT_EQ (fresh.findColour (juce::Label::textColourId), juce::Colours::white);
    EXPECT_FALSE (fresh.isEditableOnSingleClick());
    EXPECT_FALSE (fresh.isEditableOnDoubleClick());
    EXPECT_EQ (fresh.getSelectedFileIndex(), 0);
    EXPECT_EQ (fresh.getNumOfFiles(), 1);
    EXPECT_EQ (fresh.getRootMenu().getNumItems(), 0);
}

TEST_F (OptionMenuTreeTest, DefaultRootIsAudioMusicAppsInTheMusicFolderWithEveryFile)
{
    const auto musicApps = juce::File::getSpecialLocation (juce::File::userMusicDirectory).getChildFile ("Audio Music Apps");
    const auto file = musicApps.getChildFile (scratch.getFileName()).getChildFile ("any.txt");
    file.getParentDirectory().createDirectory();
    file.replaceWithText ({});

    MenuTree fresh;
    fresh.setSelectedFilePath (file.getRelativePathFrom (musicApps));

    EXPECT_EQ (fresh.getFilePath (fresh.getSelectedFileIndex() - 1), file.getFullPathName());
    EXPECT_EQ (fresh.getText(), "any");
    file.getParentDirectory().deleteRecursively();
}

TEST_F (OptionMenuTreeTest, NumbersFilesInPostOrderOfTheListing)
{
    addNestedTree();
    menu->createMenuTree();

    const auto expected = listInPostOrder (root, "*.vmxp");
    ASSERT_EQ (expected.size(), 5);
    EXPECT_EQ (menu->getNumOfFiles(), 6);

    for (int id = 1; id <= expected.size(); ++id)
    {
        EXPECT_EQ (menu->getFilePath (id - 1), expected[id - 1]) << "item id " << id;
        EXPECT_EQ (menu->getFileName (id - 1), juce::File (expected[id - 1]).getFileNameWithoutExtension());
    }

    EXPECT_TRUE (menu->getFilePath (-1).isEmpty());
    EXPECT_TRUE (menu->getFilePath (5).isEmpty());
    EXPECT_TRUE (menu->getFileName (5).isEmpty());

    // The deepest folder's file comes before its parent's own files.
    const auto c1 = expected.indexOf (root.getChildFile ("A/C/c1.vmxp").getFullPathName());
    EXPECT_LT (c1, expected.indexOf (root.getChildFile ("A/a1.vmxp").getFullPathName()));
    EXPECT_EQ (expected[4], root.getChildFile ("r1.vmxp").getFullPathName()) << "the root's own files come last";
}

TEST_F (OptionMenuTreeTest, MenusShowSubFoldersFirstThenFilesWithTheirIds)
{
    addNestedTree();
    menu->createMenuTree();

    EXPECT_EQ (expectMenuShowsFolder (menu->getRootMenu(), root, 1), menu->getNumOfFiles());
}

TEST_F (OptionMenuTreeTest, SelectingByPathTicksAndShowsTheNameWithoutExtension)
{
    addNestedTree();
    LabelSpy spy;
    menu->addListener (&spy);

    menu->setSelectedFilePath ("A/C/c1.vmxp");

    const auto expected = listInPostOrder (root, "*.vmxp");
    const int id = expected.indexOf (root.getChildFile ("A/C/c1.vmxp").getFullPathName()) + 1;
    EXPECT_EQ (menu->getSelectedFileIndex(), id);
    EXPECT_EQ (menu->getSelectedFilePath(), "A/C/c1.vmxp");
    EXPECT_EQ (menu->getText(), "c1");
    EXPECT_TRUE (spy.textsSeen.isEmpty());

    int ticked = 0;
    for (juce::PopupMenu::MenuItemIterator items (menu->getRootMenu(), true); items.next();)
        if (items.getItem().isTicked)
        {
            ++ticked;
            EXPECT_EQ (items.getItem().itemID, id);
        }
    EXPECT_EQ (ticked, 1);
}

TEST_F (OptionMenuTreeTest, BackslashSeparatorsAreReadAsSlashes)
{
    addNestedTree();
    menu->setDirectoryPath (root.getFullPathName().replaceCharacter ('/', '\\'));

    menu->setSelectedFilePath ("A\\C\\c1.vmxp");

    EXPECT_EQ (menu->getSelectedFilePath(), "A/C/c1.vmxp");
    EXPECT_EQ (menu->getText(), "c1");
    EXPECT_EQ (menu->getFilePath (menu->getSelectedFileIndex() - 1), root.getChildFile ("A/C/c1.vmxp").getFullPathName());
}

TEST_F (OptionMenuTreeTest, APathNamingNoListedFileShowsItsNameAndKeepsTheSelectedId)
{
    addNestedTree();
    menu->setSelectedFilePath ("B/b1.vmxp");
    const int id = menu->getSelectedFileIndex();

    for (const auto* path : { "Init.vmxp", "B/missing.vmxp", "notes.txt", "../outside.vmxp" })
    {
        menu->setSelectedFilePath (path);
        EXPECT_EQ (menu->getText(), juce::File ("/x").getChildFile (path).getFileNameWithoutExtension()) << path;
        EXPECT_EQ (menu->getSelectedFilePath(), path);
        EXPECT_EQ (menu->getSelectedFileIndex(), id) << path;
    }
}

TEST_F (OptionMenuTreeTest, StepsThroughTheLastBuildWithWrapAround)
{
    addNestedTree();
    menu->createMenuTree();
    const int last = menu->getNumOfFiles() - 1;

    struct StepCase { int from; bool forwards; int to; };
    const StepCase cases[] = {
        { 0, true, 1 },        // nothing selected yet
        { 0, false, last },
        { 1, true, 2 },
        { 2, false, 1 },
        { last, true, 1 },     // wraps forwards
        { 1, false, last },    // wraps backwards
    };

    for (const auto& c : cases)
    {
        resetMenu();
        menu->createMenuTree();

        if (c.from > 0)
            menu->setSelectedFileIndex (c.from);

        c.forwards ? menu->nextResult() : menu->previousResult();

        EXPECT_EQ (menu->getSelectedFileIndex(), c.to) << "from " << c.from << (c.forwards ? " forwards" : " backwards");
        EXPECT_EQ (menu->getText(), menu->getFileName (c.to - 1));
        EXPECT_EQ (menu->getSelectedFilePath(),
                   juce::File (menu->getFilePath (c.to - 1)).getRelativePathFrom (root));
    }
}

TEST_F (OptionMenuTreeTest, SteppingUsesTheListsOfTheLastBuild)
{
    addFile ("one.vmxp");
    menu->createMenuTree();
    addFile ("two.vmxp");

    menu->nextResult();
    menu->nextResult();

    EXPECT_EQ (menu->getSelectedFileIndex(), 1);
    EXPECT_EQ (menu->getText(), "one");
}

TEST_F (OptionMenuTreeTest, SteppingBackFromAnIdBeyondASmallerBuildSelectsTheLastFile)
{
    addFile ("one.vmxp");
    addFile ("two.vmxp");
    const auto three = addFile ("three.vmxp");
    menu->createMenuTree();
    menu->setSelectedFileIndex (3);

    three.deleteFile();
    menu->setSelectedFilePath ("three.vmxp");
    ASSERT_EQ (menu->getSelectedFileIndex(), 3);

    menu->previousResult();
    EXPECT_EQ (menu->getSelectedFileIndex(), 2);
}

TEST_F (OptionMenuTreeTest, IdsNamingNoFileAreIgnored)
{
    menu->setSelectedFilePath ("Init.vmxp");
    menu->nextResult();
    menu->previousResult();
    EXPECT_EQ (menu->getSelectedFileIndex(), 0) << "stepping without files";
    EXPECT_EQ (menu->getText(), "Init");

    addFile ("one.vmxp");
    addFile ("two.vmxp");
    menu->createMenuTree();
    menu->setSelectedFileIndex (2);

    for (const int id : { 0, -1, 3, 100 })
    {
        menu->setSelectedFileIndex (id);
        EXPECT_EQ (menu->getSelectedFileIndex(), 2) << id;
        EXPECT_EQ (menu->getText(), menu->getFileName (1)) << id;
    }
}

TEST_F (OptionMenuTreeTest, NonRecursiveListsOnlyTheRootsOwnFilesInOneMenu)
{
    addNestedTree();
    menu->setAsRecursive (false);
    menu->createMenuTree();

    EXPECT_EQ (menu->getNumOfFiles(), 2);
    EXPECT_EQ (menu->getFilePath (0), root.getChildFile ("r1.vmxp").getFullPathName());
    ASSERT_EQ (menu->getRootMenu().getNumItems(), 1);

    juce::PopupMenu::MenuItemIterator items (menu->getRootMenu());
    ASSERT_TRUE (items.next());
    EXPECT_EQ (items.getItem().subMenu, nullptr);
    EXPECT_EQ (items.getItem().text, "r1.vmxp");
}

TEST_F (OptionMenuTreeTest, AMissingOrEmptyRootBuildsOneEmptyMenu)
{
    for (const auto& folder : { root.getChildFile ("missing"), root })
    {
        menu->setDirectoryPath (folder.getFullPathName());
        EXPECT_FALSE (menu->createMenuTree());
        EXPECT_EQ (menu->getRootMenu().getNumItems(), 0);
        EXPECT_EQ (menu->getNumOfFiles(), 1);
    }
}

TEST_F (OptionMenuTreeTest, SymbolicLinkCyclesEndAndOtherLinkedFoldersAreWalked)
{
    addFile ("A/a1.vmxp");
    addFile ("B/b1.vmxp");
    addLink ("A/toRoot", root);
    addLink ("A/toSelf", root.getChildFile ("A"));
    addLink ("B/toA", root.getChildFile ("A"));
    addFolder ("B/Deep/Deeper");
    addLink ("B/Deep/Deeper/toDeep", root.getChildFile ("B/Deep"));

    menu->createMenuTree();

    // A1 is listed once, under A or under B's link to it, whichever the walk meets first.
    EXPECT_EQ (realPathsOfListedFiles().joinIntoString (" "), "A/a1.vmxp B/b1.vmxp");

    // A link into a folder walked before is left out of the menu.
    EXPECT_EQ (realPathsOfSubMenus().joinIntoString (" "), "A B B/Deep B/Deep/Deeper");
}

TEST_F (OptionMenuTreeTest, LinksFanningOutWalkEachRealFolderOnce)
{
    // Each folder holds a preset and two links to the next: without care, 2^depth walks.
    constexpr int depth = 12;
    const auto levelFolder = [this] (int level)
    {
        return level == 0 ? root.getChildFile ("L0") : scratch.getChildFile ("Real/L" + juce::String (level));
    };

    for (int level = 0; level <= depth; ++level)
    {
        levelFolder (level).createDirectory();
        levelFolder (level).getChildFile ("p.vmxp").replaceWithText ({});

        for (const auto* link : { "a", "b" })
        {
            if (level > 0)
            {
                ASSERT_TRUE (levelFolder (level).createSymbolicLink (levelFolder (level - 1).getChildFile (link), false));
            }
        }
    }

    menu->createMenuTree();

    EXPECT_EQ (menu->getNumOfFiles() - 1, depth + 1);
    EXPECT_EQ (realPathsOfListedFiles().size(), depth + 1);
    EXPECT_EQ (realPathsOfSubMenus().size(), depth + 1);
    // The root's one folder, then per level its preset and two links, the last level its preset.
    EXPECT_EQ (menu->getNumOfEntriesRead(), 1 + depth * 3 + 1);
}

TEST_F (OptionMenuTreeTest, OnlyRegularFilesAreListedAlsoThroughLinks)
{
    addFile ("Plain.vmxp");
    addFile ("Elsewhere/Target.vmxp");
    addLink ("Linked.vmxp", root.getChildFile ("Elsewhere/Target.vmxp"));
    addLink ("Device.vmxp", juce::File ("/dev/zero"));
    addLink ("Dangling.vmxp", root.getChildFile ("Missing.vmxp"));
    ASSERT_EQ (::mkfifo (root.getChildFile ("Pipe.vmxp").getFullPathName().toRawUTF8(), 0600), 0);

    menu->setSelectedFilePath ("Pipe.vmxp");

    EXPECT_EQ (realPathsOfListedFiles().joinIntoString (" "), "Elsewhere/Target.vmxp Elsewhere/Target.vmxp Plain.vmxp");
    EXPECT_EQ (menu->getSelectedFileIndex(), 0) << "a pipe is not listed, so not selected";
    EXPECT_EQ (expectMenuShowsFolder (menu->getRootMenu(), root, 1), menu->getNumOfFiles());
}

TEST_F (OptionMenuTreeTest, NamesThatAreNotStrictUtf8AreNeitherListedNorStepped)
{
    // JUCE would read each of these as another name, or none: an overlong '/' as a
    // separator, a lone 0x80 as the end; and a character beyond U+10FFFF as one that
    // no stored path keeps.
    addFile ("Good.vmxp");
    addFile (juce::String::fromUTF8 ("Caf\xC3\xA9.vmxp"));
    const auto rootPath = root.getFullPathName().toStdString() + "/";

    for (const char* name : { "\x80lone.vmxp", "over\xC0\xAFslash.vmxp", "cut\xE2\x82.vmxp",
                              "far\xF4\x90\x80\x80.vmxp", "surrogate\xED\xA0\x80.vmxp" })
        std::fclose (std::fopen ((rootPath + name).c_str(), "w"));

    const auto folder = rootPath + "\xC0\xAE\xC0\xAE";
    ASSERT_EQ (::mkdir (folder.c_str(), 0700), 0);
    std::fclose (std::fopen ((folder + "/Inside.vmxp").c_str(), "w"));

    menu->setSelectedFilePath ("Good.vmxp");

    EXPECT_EQ (realPathsOfListedFiles().joinIntoString (" "), juce::String::fromUTF8 ("Caf\xC3\xA9.vmxp Good.vmxp"));
    EXPECT_EQ (menu->getRootMenu().getNumItems(), 2) << "no sub-menu for the folder either";

    juce::StringArray stepped;

    for (int step = 0; step < 4; ++step)
    {
        menu->nextResult();
        stepped.add (menu->getSelectedFilePath());
    }

    stepped.sort (false);
    EXPECT_EQ (stepped.joinIntoString (" "),
               juce::String::fromUTF8 ("Caf\xC3\xA9.vmxp Caf\xC3\xA9.vmxp Good.vmxp Good.vmxp"));
}

TEST_F (OptionMenuTreeTest, AWalkReadsABoundedNumberOfEntriesAndLevelsAndACutOneSaysSo)
{
    const auto cutItem = [this]
    {
        juce::PopupMenu::Item last;
        for (juce::PopupMenu::MenuItemIterator items (menu->getRootMenu()); items.next();)
            last = items.getItem();
        return last;
    };
    const auto expectCutItemLast = [&]
    {
        const auto last = cutItem();
        EXPECT_EQ (last.text, VeloraOptionMenuTree::listCutText);
        EXPECT_FALSE (last.isEnabled);
        EXPECT_EQ (last.itemID, VeloraOptionMenuTree::listCutItemId);
    };

    const int numFiles = VeloraOptionMenuTree::maxEntriesRead + 50;
    for (int i = 0; i < numFiles; ++i)
        juce::File (root.getChildFile ("Many/f" + juce::String (i) + ".vmxp")).create();

    juce::String deepPath = "Deep";
    for (int level = 1; level < VeloraOptionMenuTree::maxDepth + 4; ++level)
        deepPath << "/D" << level;
    addFile (deepPath + "/bottom.vmxp");

    menu->createMenuTree();

    EXPECT_EQ (menu->getNumOfEntriesRead(), VeloraOptionMenuTree::maxEntriesRead);
    const int numListed = menu->getNumOfFiles() - 1;
    EXPECT_LT (numListed, VeloraOptionMenuTree::maxEntriesRead);
    expectCutItemLast();

    // A selected file that the walk did not reach is shown all the same, after the
    // listed ones, and the arrows step on from it.
    juce::String unreached;
    for (int i = 0; i < numFiles && unreached.isEmpty(); ++i)
        if (const auto name = "Many/f" + juce::String (i) + ".vmxp";
            ! juce::StringArray (menu->snapshot().filePaths).contains (root.getChildFile (name).getFullPathName()))
            unreached = name;

    ASSERT_TRUE (unreached.isNotEmpty());
    menu->setSelectedFilePath (unreached);
    EXPECT_EQ (menu->getText(), juce::File (unreached).getFileNameWithoutExtension());
    EXPECT_EQ (menu->getSelectedFileIndex(), numListed + 1);
    EXPECT_EQ (menu->getFilePath (numListed), root.getChildFile (unreached).getFullPathName());
    expectCutItemLast();
    menu->nextResult();
    EXPECT_EQ (menu->getSelectedFileIndex(), 1);
    menu->setSelectedFilePath (unreached);
    menu->previousResult();
    EXPECT_EQ (menu->getSelectedFileIndex(), numListed);

    // Alone, the deep chain is walked down to the bound: the root's folder "Deep" is
    // one level below it, and no deeper folder than maxDepth levels is listed.
    root.getChildFile ("Many").deleteRecursively();
    menu->createMenuTree();
    EXPECT_EQ (realPathsOfSubMenus().size(), VeloraOptionMenuTree::maxDepth);
    EXPECT_EQ (menu->getNumOfFiles(), 1) << "the bottom file lies beyond the bound";
    expectCutItemLast();

    menu->setSelectedFilePath (deepPath + "/bottom.vmxp");
    EXPECT_EQ (menu->getText(), "bottom");
    EXPECT_EQ (menu->getSelectedFileIndex(), 1);

    // Within the bounds nothing is cut, and no item says so.
    root.getChildFile ("Deep").deleteRecursively();
    addFile ("One.vmxp");
    menu->createMenuTree();
    EXPECT_EQ (cutItem().text, "One.vmxp");
}

TEST_F (OptionMenuTreeTest, FoldersAddedBetweenBuildsAreListed)
{
    addFile ("A/a.vmxp");
    menu->createMenuTree();

    for (int i = 0; i < 40; ++i)
        addFile ("N" + juce::String (i) + "/Sub/f.vmxp");

    menu->createMenuTree();
    EXPECT_EQ (menu->getNumOfFiles(), 42);
    EXPECT_EQ (menu->getRootMenu().getNumItems(), 41);
}

TEST_F (OptionMenuTreeTest, PickingAnotherFileTellsListenersBeforeTheNameChanges)
{
    addNestedTree();
    menu->setSelectedFilePath ("r1.vmxp");
    const auto expected = listInPostOrder (root, "*.vmxp");
    const int id = expected.indexOf (root.getChildFile ("B/b1.vmxp").getFullPathName()) + 1;

    juce::String pathSeen;
    LabelSpy spy ([&] (juce::Label&) { pathSeen = menu->getSelectedFilePath(); });
    menu->addListener (&spy);

    menu->pick (id);

    EXPECT_EQ (spy.textsSeen, juce::StringArray ("r1"));
    EXPECT_EQ (pathSeen, "B/b1.vmxp");
    EXPECT_EQ (menu->getText(), "b1");
    EXPECT_EQ (menu->getSelectedFileIndex(), id);
}

TEST_F (OptionMenuTreeTest, PickingTheLastPickAgainTellsListenersOnlyWhenTheShownTextChanges)
{
    addNestedTree();
    menu->createMenuTree();
    LabelSpy spy;
    menu->addListener (&spy);

    menu->pick (1);
    ASSERT_EQ (spy.textsSeen.size(), 1);

    menu->pick (1);
    EXPECT_EQ (spy.textsSeen.size(), 1) << "same file, same text";

    menu->setText (menu->getText() + "*", juce::dontSendNotification);
    menu->pick (1);
    EXPECT_EQ (spy.textsSeen.size(), 2);
    EXPECT_EQ (spy.textsSeen[1], menu->getFileName (0)) << "told through the label's own notification";

    menu->nextResult();
    menu->pick (1);
    EXPECT_EQ (spy.textsSeen.size(), 3) << "the same file as the last pick, but another name shown";
}

TEST_F (OptionMenuTreeTest, ADismissedMenuChangesNothing)
{
    addNestedTree();
    menu->setSelectedFilePath ("B/b1.vmxp");
    const int id = menu->getSelectedFileIndex();
    LabelSpy spy;
    menu->addListener (&spy);

    for (const int result : { 0, -1, 6 })
        menu->pick (result);

    EXPECT_TRUE (spy.textsSeen.isEmpty());
    EXPECT_EQ (menu->getSelectedFileIndex(), id);
    EXPECT_EQ (menu->getText(), "b1");
}

TEST_F (OptionMenuTreeTest, APickMeansTheFileTheOpenMenuShowedThoughTheTreeWasRebuilt)
{
    addNestedTree();
    menu->createMenuTree();
    const auto shown = menu->snapshot();

    // While the menu is open the first file goes and the tree is rebuilt: every id shifts.
    juce::File (shown.filePaths[0]).deleteFile();
    menu->setSelectedFilePath ("r1.vmxp");
    ASSERT_NE (menu->getFilePath (1), shown.filePaths[1]);

    menu->pick (2, shown);

    EXPECT_EQ (menu->getSelectedFileIndex(), 2);
    EXPECT_EQ (root.getChildFile (menu->getSelectedFilePath()).getFullPathName(), shown.filePaths[1]);
    EXPECT_EQ (menu->getText(), shown.fileNames[1]);

    menu->nextResult();
    EXPECT_EQ (root.getChildFile (menu->getSelectedFilePath()).getFullPathName(), shown.filePaths[2])
        << "stepping goes on from the lists the user saw";
}

TEST_F (OptionMenuTreeTest, AListenerMayDeleteTheMenu)
{
    addNestedTree();
    menu->createMenuTree();
    LabelSpy spy ([&] (juce::Label&) { menu.reset(); });
    menu->addListener (&spy);

    menu->pick (1);

    EXPECT_EQ (menu, nullptr);
    EXPECT_EQ (spy.textsSeen.size(), 1);
}
