// JUCE as the AAX module's objects share it: started by the first of them, shut
// down by the last, with a message thread of its own.
#pragma once

#include <memory>

namespace juce { class AudioProcessor; }

/** While any instance lives, JUCE is running and its message thread dispatches
    timers, repaints and async callbacks, whatever the host does. An AAX host
    creates and releases the module's objects on any thread, and JUCE counts its
    own start-ups in a plain integer: every start and stop in the module goes
    through this one counted, locked owner instead. Hold one, declared first,
    in every object that uses JUCE. */
class JuceAAX_SharedJuce
{
public:
    /** Starts JUCE and its message thread if no other instance has. */
    JuceAAX_SharedJuce();
    /** Stops the message thread and shuts JUCE down if this was the last instance. */
    ~JuceAAX_SharedJuce();

    /** A new plug-in processor for AAX. JUCE notes the wrapper type in a
        process-wide variable as it makes one, so creations on several host
        threads go one at a time. Call it while holding an instance. */
    static std::unique_ptr<juce::AudioProcessor> createProcessor();

    JuceAAX_SharedJuce (const JuceAAX_SharedJuce&) = delete;
    JuceAAX_SharedJuce& operator= (const JuceAAX_SharedJuce&) = delete;
};
