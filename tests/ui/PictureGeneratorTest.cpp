// The picture generator must write the same bytes on every run and machine:
// run it again into a fresh folder and compare with what the build compiled.

#include "../support/TemporaryFolder.h"

#include <juce_core/juce_core.h>

#include <gtest/gtest.h>

TEST (PictureGenerator, SecondRunWritesTheSameBytesAsTheBuild)
{
    const modulix_test::TemporaryFolder scratch ("picture-generator");
    const auto sourceDir = scratch.getFile().getChildFile ("generated");
    const auto pngDir = scratch.getFile().getChildFile ("pictures");

    juce::ChildProcess generator;
    ASSERT_TRUE (generator.start (juce::StringArray { MODULIX_PICTURE_GENERATOR, sourceDir.getFullPathName(),
                                                      pngDir.getFullPathName(), MODULIX_PICTURE_FONT_DIR }));
    const auto output = generator.readAllProcessOutput();
    ASSERT_EQ (generator.getExitCode(), 0u) << output;

    const juce::File built (MODULIX_GENERATED_PICTURES_DIR);
    int compared = 0;
    for (const auto& file : built.findChildFiles (juce::File::findFiles, false, "*.h;*.cpp"))
    {
        juce::MemoryBlock expected, actual;
        ASSERT_TRUE (file.loadFileAsData (expected));
        ASSERT_TRUE (sourceDir.getChildFile (file.getFileName()).loadFileAsData (actual)) << file.getFileName();
        EXPECT_TRUE (expected == actual) << file.getFileName() << " differs between two runs";
        ++compared;
    }
    EXPECT_EQ (compared, 6); // a header and a source for each of the three groups
}
