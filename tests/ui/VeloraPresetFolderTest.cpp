#include "DialogTestSupport.h"
#include "../PrivateMounts.h"

#include "ModulixQR7150AudioProcessor.h"
#include "ModulixQR7150PatchXml.h"
#include "VeloraOverwriteComponent.h"
#include "VeloraPresetFolder.h"
#include "VeloraPresetMenu.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <thread>

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace modulix_test;

namespace
{
constexpr int depthIndex = 4;

/** The save road as the editor's overwrite box takes it, on the real preset folder
    under the test's home. */
class PresetFolderTest : public DialogTest
{
protected:
    PresetFolderTest()
    {
        root.createDirectory();
        menu.setDirectoryPath (root.getFullPathName());
        menu.setFileExtension ("*.vmxp");
        window.addChildComponent (box);
        box.setBounds (0, 0, 325, 454);
    }

    ~PresetFolderTest() override
    {
        window.removeChildComponent (&box);
    }

    /** A preset of this product from the processor's current setting, written as a
        host-independent copy would be (not through the code under test). */
    juce::File writePresetOfThisProduct (const juce::String& relativePath)
    {
        const auto file = root.getChildFile (relativePath);
        file.getParentDirectory().createDirectory();
        EXPECT_TRUE (processor.writePreset (true).writeTo (file));
        return file;
    }

    /** Answers OK to the overwrite question about that file; false when the box
        then reports the failure. */
    bool overwriteThroughTheBox (const juce::File& file)
    {
        box.showQuestion (file);
        box.okButtonClicked();
        return ! shownText().startsWith (VeloraOverwriteComponent::saveFailedMessage);
    }

    juce::String shownText() { return findChild<juce::Label> (box, "titleText_")->getText(); }

    juce::String activePresetPath()
    {
        const auto& program = processor.programs[processor.currentProgram];
        return program.presetPath[program.getActiveSetting()];
    }

    static juce::MemoryBlock bytesOf (const juce::File& file)
    {
        juce::MemoryBlock data;
        file.loadFileAsData (data);
        return data;
    }

    /** The bytes of a file, or of the one preset inside a folder of that name. */
    static juce::MemoryBlock contentOf (const juce::File& file)
    {
        return bytesOf (file.isDirectory() ? file.getChildFile ("Inside.vmxp") : file);
    }

    const juce::File root = presetRoot();
    ModulixQR7150AudioProcessor processor;
    VeloraPresetMenu menu { "presetMenu_" };
    VeloraOverwriteComponent box { "overwritePresetComponent_", &processor, &menu };
};

bool isPipe (const juce::File& file)
{
    struct stat info {};
    return ::lstat (file.getFullPathName().toRawUTF8(), &info) == 0 && S_ISFIFO (info.st_mode);
}

/** Fills the file system that holds the folder until no byte more fits. */
void fillUp (const juce::File& folder)
{
    juce::FileOutputStream filler (folder.getChildFile ("filler"), 0);
    const juce::MemoryBlock chunk (512, true);
    while (filler.write (chunk.getData(), chunk.getSize())) {}
}
} // namespace

TEST_F (PresetFolderTest, SavesWhileTheHostAutomatesEveryParameterSucceedAndHoldACompleteSetting)
{
    const auto file = root.getChildFile ("Automated.vmxp");
    std::atomic<bool> automating { true };

    // As a host's automation does it, once per block, from another thread.
    std::thread host ([&]
    {
        for (int step = 0; automating; ++step)
            for (const int k : { 2, 4, 5, 6 })
                processor.setParameter (k, (float) ((step + k) % 100) / 100.0f);
    });

    int failed = 0;
    for (int save = 0; save < 100; ++save)
    {
        if (! VeloraPresetFolder::savePreset (menu, processor, file))
            ++failed;

        const auto onDisk = ModulixQR7150PatchXml::parseFile (file);
        ASSERT_NE (onDisk, nullptr) << save;
        ASSERT_TRUE (ModulixQR7150PatchXml::isPresetOfThisProduct (*onDisk)) << save;
        EXPECT_EQ (onDisk->getChildByName ("Properties")->getNumChildElements(), 9) << save;
    }

    automating = false;
    host.join();

    EXPECT_EQ (failed, 0);
    EXPECT_EQ (activePresetPath(), "Automated.vmxp");
    EXPECT_EQ (menu.getText(), "Automated");

    // With the host quiet, the file is exactly the setting.
    ASSERT_TRUE (VeloraPresetFolder::savePreset (menu, processor, file));
    const auto expected = processor.writePreset (true);
    EXPECT_TRUE (ModulixQR7150PatchXml::parseFile (file)->isEquivalentTo (&expected, false));
}

TEST_F (PresetFolderTest, AFailingWriteKeepsTheOldPresetByteForByteAndIsReported)
{
    GTEST_FLAG_SET (death_test_style, "threadsafe");

    // Each case runs in a child process of its own, which arranges the failure
    // (limit, mount), saves through the overwrite box and checks the outcome; it
    // exits 0 when the old preset stayed and the user was told.
    struct Case
    {
        const char* what;
        bool needsMount;
        std::function<juce::File (const juce::File& folder)> arrange;   // returns the old preset to overwrite
    };

    const auto oldPresetIn = [this] (const juce::File& folder)
    {
        return writePresetOfThisProduct (folder.getRelativePathFrom (root) + "/Old.vmxp");
    };

    const Case cases[] = {
        { "a file-size limit cutting the write mid-file", false, [&] (const juce::File& folder)
          {
              const auto old = oldPresetIn (folder);
              std::signal (SIGXFSZ, SIG_IGN);
              const rlimit limit { 300, 300 };
              ::setrlimit (RLIMIT_FSIZE, &limit);
              return old;
          } },
        { "a full file system", true, [&] (const juce::File& folder)
          {
              folder.createDirectory();
              if (! enterPrivateMounts() || ::mount ("tmpfs", folder.getFullPathName().toRawUTF8(), "tmpfs", 0, "size=64k") != 0)
                  std::_Exit (3);
              const auto old = oldPresetIn (folder);
              fillUp (folder);
              return old;
          } },
        { "a read-only folder", true, [&] (const juce::File& folder)
          {
              const auto old = oldPresetIn (folder);
              if (! enterPrivateMounts() || ! remountReadOnly (folder.getFullPathName().toRawUTF8()))
                  std::_Exit (3);
              return old;
          } },
        { "a name that is a folder", false, [&] (const juce::File& folder)
          {
              writePresetOfThisProduct (folder.getRelativePathFrom (root) + "/Old.vmxp/Inside.vmxp");
              return folder.getChildFile ("Old.vmxp");
          } },
    };

    const auto untested = modulix_test::runArrangeableCases (cases, [&] (const auto& c)
    {
        EXPECT_EXIT (
            {
                const auto folder = root.getChildFile ("Case");
                const auto old = c.arrange (folder);
                const auto before = contentOf (old);
                processor.setParameter (depthIndex, 0.9f);
                menu.setSelectedFilePath ("Init.vmxp");
                const auto shownBefore = menu.getText();

                const bool saved = overwriteThroughTheBox (old);
                const auto after = contentOf (old);

                int problems = 0;
                const auto report = [&] (bool bad, const char* text) { if (bad) { std::fprintf (stderr, "%s\n", text); ++problems; } };
                report (before.getSize() == 0, "no old preset was arranged");
                report (saved, "the save was reported as done");
                report (after != before, "the old preset changed");
                report (! box.isVisible(), "the user was not told");
                report (activePresetPath() != "Init.vmxp", "the failed file was recorded");
                report (menu.getText() != shownBefore, "the label left the preset that is active");
                report (folder.getNumberOfChildFiles (juce::File::findFiles, ".*") != 0,
                        "a temporary file was left behind");
                std::fflush (stderr);

                // The child ends without destructors: its mounts and its home go here.
                ::umount2 (folder.getFullPathName().toRawUTF8(), MNT_DETACH);
                home.deleteRecursively();
                std::_Exit (problems);
            },
            ::testing::ExitedWithCode (0), "")
            << c.what;
    });

    if (! untested.isEmpty())
        GTEST_SKIP() << "mount namespaces are not available here, untested: " << untested.joinIntoString (", ");
}

TEST_F (PresetFolderTest, WhatIsNoRegularFileIsNeitherReadNorReplaced)
{
    ASSERT_EQ (::mkfifo (root.getChildFile ("Pipe.vmxp").getFullPathName().toRawUTF8(), 0600), 0);
    ASSERT_TRUE (juce::File ("/dev/zero").createSymbolicLink (root.getChildFile ("Zero.vmxp"), false));
    root.getChildFile ("Folder.vmxp").createDirectory();

    // A read of any of them would hang or never end; the test's time-out guards that.
    for (const auto* name : { "Pipe.vmxp", "Zero.vmxp", "Folder.vmxp" })
    {
        const auto file = root.getChildFile (name);
        EXPECT_EQ (ModulixQR7150PatchXml::parseFile (file), nullptr) << name;
        EXPECT_FALSE (VeloraPresetFolder::isPresetFile (file)) << name;
        EXPECT_FALSE (overwriteThroughTheBox (file)) << name;
        EXPECT_TRUE (shownText().startsWith (VeloraOverwriteComponent::saveFailedMessage)) << name;
        box.hide();
    }

    EXPECT_TRUE (isPipe (root.getChildFile ("Pipe.vmxp")));
    EXPECT_EQ (root.getChildFile ("Zero.vmxp").getLinkedTarget(), juce::File ("/dev/zero"));
    EXPECT_TRUE (root.getChildFile ("Folder.vmxp").isDirectory());
    EXPECT_EQ (activePresetPath(), "Init.vmxp");
}

TEST_F (PresetFolderTest, OnlyAPresetOfThisProductCountsAsOne)
{
    const auto mine = writePresetOfThisProduct ("Mine.vmxp");
    const auto other = root.getChildFile ("Other.vmxp");
    auto otherDocument = processor.writePreset (true);
    otherDocument.getChildByName ("Properties")->setAttribute ("deviceProductID", "com.other.Chorus");
    ASSERT_TRUE (otherDocument.writeTo (other));
    root.getChildFile ("LICENSE.txt").replaceWithText ("license");
    root.getChildFile ("Notes.vmxp").replaceWithText ("notes");
    const auto elsewhere = writePresetOfThisProduct ("../Elsewhere.vmxp");
    const auto renamed = root.getChildFile ("Mine.txt");
    mine.copyFileTo (renamed);

    struct Case { juce::File file; bool isPreset; };
    const Case cases[] = {
        { mine, true },
        { other, false },
        { root.getChildFile ("LICENSE.txt"), false },
        { root.getChildFile ("Notes.vmxp"), false },
        { renamed, false },
        { elsewhere, false },
        { root.getChildFile ("Missing.vmxp"), false },
    };

    for (const auto& c : cases)
        EXPECT_EQ (VeloraPresetFolder::isPresetFile (c.file), c.isPreset) << c.file.getFullPathName();
}

TEST_F (PresetFolderTest, BackslashesInStoredPathsAreSeparatorsForEveryReaderAndWriter)
{
    // A file whose very name holds a backslash can be named by no stored path.
    const auto literal = writePresetOfThisProduct ("a\\b.vmxp");
    const auto literalBytes = bytesOf (literal);

    EXPECT_EQ (VeloraPresetFolder::getFile ("a\\b.vmxp"), root.getChildFile ("a/b.vmxp"));
    EXPECT_EQ (VeloraPresetFolder::getFile ("Live\\Deep\\Wide.vmxp"), root.getChildFile ("Live/Deep/Wide.vmxp"));
    EXPECT_FALSE (VeloraPresetFolder::contains (literal));
    EXPECT_FALSE (VeloraPresetFolder::isPresetFile (literal));
    EXPECT_FALSE (VeloraPresetFolder::isPresetFile (VeloraPresetFolder::getFile ("a\\b.vmxp")));

    EXPECT_FALSE (VeloraPresetFolder::savePreset (menu, processor, literal));
    EXPECT_FALSE (root.getChildFile ("a").exists());
    EXPECT_EQ (bytesOf (literal), literalBytes);

    menu.createMenuTree();
    EXPECT_EQ (menu.getNumOfFiles(), 1) << "the menu offers no file that no path could select";

    // The path as stored names the same file for the writer, the menu and the reader.
    processor.setParameter (depthIndex, 0.65f);
    ASSERT_TRUE (VeloraPresetFolder::savePreset (menu, processor, VeloraPresetFolder::getFile ("a\\b.vmxp")));
    EXPECT_EQ (activePresetPath(), "a/b.vmxp");
    EXPECT_EQ (menu.getText(), "b");
    processor.setParameter (depthIndex, 0.2f);
    EXPECT_EQ (menu.readPreset (&processor, "a\\b.vmxp"), 1);
    EXPECT_FLOAT_EQ (processor.getParameter (depthIndex), 0.65f);
    EXPECT_EQ (bytesOf (literal), literalBytes);
}

TEST_F (PresetFolderTest, APathHoldingACharacterNoStateKeepsIsNeitherContainedNorSaved)
{
    // JUCE keeps any code point it decoded (a pasted name can hold one beyond U+10FFFF)
    // and would store the path as a reference that no state reader takes back.
    const auto beyondUnicode = root.getChildFile ("Far" + juce::String::charToString ((juce::juce_wchar) 0x110000) + ".vmxp");
    const auto accented = root.getChildFile (juce::String::fromUTF8 ("Caf\xC3\xA9 \xF0\x9F\x8E\xB8.vmxp"));

    const auto activeBefore = activePresetPath();
    EXPECT_FALSE (VeloraPresetFolder::contains (beyondUnicode));
    EXPECT_FALSE (VeloraPresetFolder::savePreset (menu, processor, beyondUnicode));
    EXPECT_FALSE (beyondUnicode.exists());
    EXPECT_EQ (activePresetPath(), activeBefore);

    ASSERT_TRUE (VeloraPresetFolder::contains (accented));
    ASSERT_TRUE (VeloraPresetFolder::savePreset (menu, processor, accented));
    EXPECT_TRUE (VeloraPresetFolder::isPresetFile (accented));
    EXPECT_EQ (activePresetPath(), accented.getFileName());

    juce::MemoryBlock state;
    processor.getStateInformation (state);
    ModulixQR7150AudioProcessor reloaded;
    ASSERT_TRUE (reloaded.takeStateInformation (state.getData(), (int) state.getSize()));
    const auto& program = reloaded.programs[reloaded.currentProgram];
    EXPECT_EQ (program.presetPath[program.activeChannel], accented.getFileName());
}
