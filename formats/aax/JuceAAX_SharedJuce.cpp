#include "JuceAAX_SharedJuce.h"

#include <juce_gui_basics/juce_gui_basics.h>
#include <juce_audio_plugin_client/utility/juce_LinuxMessageThread.h>

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
    int users = 0;
    std::unique_ptr<Runtime> runtime;
}

JuceAAX_SharedJuce::JuceAAX_SharedJuce()
{
    const std::lock_guard<std::mutex> guard (lock);

    if (users == 0)
        runtime = std::make_unique<Runtime>();

    ++users;
}

JuceAAX_SharedJuce::~JuceAAX_SharedJuce()
{
    const std::lock_guard<std::mutex> guard (lock);

    if (--users == 0)
        runtime.reset();
}
