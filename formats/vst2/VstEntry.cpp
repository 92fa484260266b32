// The module's entry points: a VST 2.4 host calls VSTPluginMain (older Linux
// hosts call main) with its callback and receives the effect's record.

#include "JuceVSTWrapper.h"

#include <juce_audio_plugin_client/utility/juce_CreatePluginFilter.h>

#include <mutex>

namespace
{
    // The editor is a fixed picture; hosts learn its size before any window exists.
    const juce::Rectangle<int> editorSize { 325, 454 };

    /** JUCE notes the wrapper type in a process-wide variable as it makes a
        processor, so instances that host threads make at once are made one
        at a time. */
    std::unique_ptr<juce::AudioProcessor> createProcessor()
    {
        static std::mutex creationLock;
        const std::lock_guard<std::mutex> held (creationLock);
        return juce::createPluginFilterOfType (juce::AudioProcessor::wrapperType_VST);
    }

    AEffect* createEffect (HostCallback host)
    {
        if (host == nullptr)
            return nullptr;

        try
        {
            const juce::ScopedJuceInitialiser_GUI libraryInitialiser;

            // A host that does not answer the version question is no VST 2 host.
            if (host (nullptr, hostVersion, 0, 0, nullptr, 0.0f) == 0)
                return nullptr;

            return (new JuceVSTWrapper (host, createProcessor(), editorSize))->getAeffect();
        }
        catch (...)
        {
            return nullptr;
        }
    }
}

extern "C" __attribute__ ((visibility ("default"))) AEffect* VSTPluginMain (HostCallback host);
extern "C" __attribute__ ((visibility ("default"))) AEffect* VSTPluginMain (HostCallback host)
{
    return createEffect (host);
}

// Exported under the name "main", which C++ reserves for programs.
extern "C" __attribute__ ((visibility ("default"))) AEffect* legacyMain (HostCallback host) asm ("main");
extern "C" __attribute__ ((visibility ("default"))) AEffect* legacyMain (HostCallback host)
{
    return createEffect (host);
}
