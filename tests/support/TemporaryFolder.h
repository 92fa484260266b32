#pragma once

#include <juce_core/juce_core.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace modulix_test
{

/** A folder of this object's own, made by mkdtemp inside a parent folder (the
    system's temporary folder unless one is given) and removed with all it holds
    when the object goes. Test processes run in parallel: a name only checked to
    be free could be taken by another process before this one makes it, whereas
    mkdtemp picks and makes the folder in one step. */
class TemporaryFolder
{
public:
    explicit TemporaryFolder (const juce::String& prefix,
                              const juce::File& parent = juce::File::getSpecialLocation (juce::File::tempDirectory))
        : folder (make (prefix, parent))
    {
    }

    ~TemporaryFolder()  { folder.deleteRecursively (false); }

    /** The folder; an empty File when mkdtemp failed (a test failure then). */
    const juce::File& getFile() const noexcept  { return folder; }

private:
    static juce::File make (const juce::String& prefix, const juce::File& parent)
    {
        parent.createDirectory();
        std::string path = parent.getChildFile (prefix + ".XXXXXX").getFullPathName().toStdString();

        if (::mkdtemp (path.data()) == nullptr)
        {
            ADD_FAILURE_AT (__FILE__, __LINE__) << "cannot make a temporary folder in " << parent.getFullPathName();
            return {};
        }

        return juce::File (juce::String::fromUTF8 (path.c_str()));
    }

    const juce::File folder;

    JUCE_DECLARE_NON_COPYABLE (TemporaryFolder)
};

} // namespace modulix_test
