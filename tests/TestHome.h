#pragma once

#include <juce_core/juce_core.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace modulix_test
{

/** Points HOME, for as long as it lives, at a fresh folder of the running test's
    own below the suite's temporary HOME: the cases of a suite run in parallel
    processes that share that HOME. As a base of a fixture it is in place before
    the fixture's members (JUCE, a processor) start. */
class TestHome
{
public:
    explicit TestHome (const juce::String& folderName)
        : previousHome (juce::SystemStats::getEnvironmentVariable ("HOME", {})),
          home (juce::File (previousHome).getChildFile (folderName).getChildFile (testName()).getNonexistentSibling())
    {
        home.createDirectory();
        ::setenv ("HOME", home.getFullPathName().toRawUTF8(), 1);
    }

    ~TestHome()
    {
        home.deleteRecursively();
        ::setenv ("HOME", previousHome.toRawUTF8(), 1);
    }

    /** The preset folder as the plug-in computes it, under this home. */
    static juce::File presetRoot()
    {
        return juce::File::getSpecialLocation (juce::File::userMusicDirectory)
            .getChildFile ("Audio Music Apps")
            .getChildFile ("Velora/Presets/ModulixQR7150");
    }

    const juce::String previousHome;
    const juce::File home;

private:
    static juce::String testName()
    {
        const auto& test = *::testing::UnitTest::GetInstance()->current_test_info();
        return juce::String (test.test_suite_name()) + "." + test.name();
    }

    JUCE_DECLARE_NON_COPYABLE (TestHome)
};

} // namespace modulix_test
