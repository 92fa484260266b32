#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <functional>
#include <thread>

namespace modulix_test
{

/** A host's audio thread: stereo blocks of a sine through a processor until it
    is destroyed, each block after the host's automation for it, as a host
    plays back automated controls. */
class AutomatingAudioThread
{
public:
    /** Hands the processor what the host automates before the given block. */
    using Automation = std::function<void (int block)>;

    AutomatingAudioThread (juce::AudioProcessor& processorToPlay, Automation automationToPlay)
        : processor (processorToPlay), automation (std::move (automationToPlay)), thread ([this] { run(); })
    {
    }

    ~AutomatingAudioThread()
    {
        stop = true;
        thread.join();
    }

    AutomatingAudioThread (const AutomatingAudioThread&) = delete;
    AutomatingAudioThread& operator= (const AutomatingAudioThread&) = delete;

    bool playedOnlyFiniteSamples() const noexcept  { return finite; }

private:
    void run()
    {
        juce::AudioBuffer<float> buffer (2, blockSize);
        juce::MidiBuffer midi;

        for (int block = 0; ! stop; ++block)
        {
            for (int ch = 0; ch < 2; ++ch)
                for (int i = 0; i < blockSize; ++i)
                    buffer.setSample (ch, i, 0.4f * std::sin (0.05f * static_cast<float> (block * blockSize + i) + static_cast<float> (ch)));

            automation (block);
            processor.processBlock (buffer, midi);

            for (int ch = 0; ch < 2; ++ch)
                for (int i = 0; i < blockSize; ++i)
                    finite = finite && std::isfinite (buffer.getSample (ch, i));

            std::this_thread::sleep_for (std::chrono::microseconds (300));
        }
    }

    static constexpr int blockSize = 256;

    juce::AudioProcessor& processor;
    const Automation automation;
    std::atomic<bool> stop { false }, finite { true };
    std::thread thread;
};

} // namespace modulix_test
