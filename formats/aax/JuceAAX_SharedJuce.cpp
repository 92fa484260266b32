#include "JuceAAX_SharedJuce.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_audio_plugin_client/utility/juce_LinuxMessageThread.h>

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter();

#include <juce_audio_plugin_client/utility/juce_CreatePluginFilter.h>

#include <memory>
#include <mutex>

namespace
{
    /** What the first user starts and the last one stops, in that order. */
    struct Runtime
    {
        juce::ScopedJuceInitialiser_GUI initialiser;
        juce::MessageThread messageThread;
    };

    std::mutex lock;
    std::mutex creationLock;
    int users = 0;

    // Not an owning static: a process that exits with instances alive must not
    // shut JUCE down from the exit handlers, after JUCE's own statics are gone.
    Runtime* runtime = nullptr;
}

JuceAAX_SharedJuce::JuceAAX_SharedJuce()
{
    const std::lock_guard<std::mutex> guard (lock);

    if (users == 0)
        runtime = new Runtime();

    ++users;
}

JuceAAX_SharedJuce::~JuceAAX_SharedJuce()
{
    const std::lock_guard<std::mutex> guard (lock);

    if (--users == 0)
    {
        delete runtime;
        runtime = nullptr;
    }
}

std::unique_ptr<juce::AudioProcessor> JuceAAX_SharedJuce::createProcessor()
{
    const std::lock_guard<std::mutex> guard (creationLock);
    return juce::createPluginFilterOfType (juce::AudioProcessor::wrapperType_AAX);
}
