// A JUCE host that keeps creating and releasing instances of the built VST3
// bundle, as a DAW does when a user tries plug-ins on a track: each instance
// lives a random 0.5 to 1 s, while its audio thread plays with automation,
// two other host threads save, restore and read its state, parameters and
// programs, and the host's message thread opens and closes its window. Every
// other instance is created while the one before still lives, so that the
// bundle sees both a last instance going and one going beside another.
//
//   vst3_churn_host [--seconds N] [--seed S] [--stall-seconds T] [--bundle PATH]
//
// Exits 0 when every instance loaded, played finite audio and went away;
// aborts (for a core dump) when the message thread or an instance's threads
// make no progress for T seconds (default 30). The suite runs it for a few
// seconds; long runs are for hunting rare faults, on a copy of the bundle
// (--bundle) when the build tree may change meanwhile.

#include "../MessagePump.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>
#include <vector>

namespace
{
constexpr double sampleRate = 44100.0;
constexpr int blockSize = 256;

enum Parameter { chorusType = 1, rate = 2, depth = 4, mix = 5, stereo = 7 };

struct Options
{
    double seconds = 4.0;
    unsigned seed = 1;
    int stallSeconds = 30;
    juce::String bundle = MODULIX_VST3_BUNDLE;
};

Options parseOptions (int argc, char** argv)
{
    Options options;

    for (int i = 1; i + 1 < argc; i += 2)
    {
        const juce::String name (argv[i]), value (argv[i + 1]);

        if (name == "--seconds")
            options.seconds = value.getDoubleValue();
        else if (name == "--seed")
            options.seed = static_cast<unsigned> (value.getLargeIntValue());
        else if (name == "--stall-seconds")
            options.stallSeconds = value.getIntValue();
        else if (name == "--bundle")
            options.bundle = value;
    }

    return options;
}

/** Counts of what all instances did, for the summary line. */
struct Totals
{
    std::atomic<long> instances { 0 }, blocks { 0 }, stateCalls { 0 }, parameterReads { 0 }, windows { 0 };
    std::atomic<bool> nonFinite { false };
};

/** Aborts the process when the message thread's loop has not come round for
    too long: a hang shows up as a core dump with every thread's stack. It says
    how many calls the host's other threads finished meanwhile, which tells a
    message thread kept busy by their calls from one that is stuck. */
class StallWatchdog
{
public:
    StallWatchdog (int seconds, const Totals& totalsToReport)
        : limit (seconds), totals (totalsToReport), thread ([this] { watch(); })
    {
    }

    ~StallWatchdog()
    {
        done = true;
        thread.join();
    }

    /** Called by the message thread whenever it gets round to its loop. */
    void tick() noexcept  { ++progress; }

    /** Waits until the message thread's loop has come round once more, or
        stop is raised. JUCE's message thread on Linux handles every message
        posted while it handles its queue, and JUCE's VST3 host takes the
        message-manager lock, by a message, for each state call and parameter
        text: host threads that called again at once would keep it from ever
        coming round, a stall of the host's own making. */
    void waitForTheLoop (const std::atomic<bool>& stop) const
    {
        const long seen = progress;

        while (! stop && progress == seen)
            std::this_thread::sleep_for (std::chrono::milliseconds (1));
    }

private:
    long hostCalls() const noexcept  { return totals.stateCalls + totals.parameterReads; }

    void watch()
    {
        long last = progress, callsThen = hostCalls();
        auto lastChange = std::chrono::steady_clock::now();

        while (! done)
        {
            std::this_thread::sleep_for (std::chrono::milliseconds (100));
            const long now = progress;

            if (now != last)
            {
                last = now;
                callsThen = hostCalls();
                lastChange = std::chrono::steady_clock::now();
            }
            else if (std::chrono::steady_clock::now() - lastChange > std::chrono::seconds (limit))
            {
                std::fprintf (stderr, "vst3_churn_host: the message thread's loop did not come round for %d s, "
                                      "while the host's other threads finished %ld calls; aborting\n",
                              limit, hostCalls() - callsThen);
                std::abort();
            }
        }
    }

    const int limit;
    const Totals& totals;
    std::atomic<long> progress { 0 };
    std::atomic<bool> done { false };
    std::thread thread;
};

/** One instance's life: its host threads run until asked to stop. */
class InstanceLife
{
public:
    InstanceLife (std::unique_ptr<juce::AudioPluginInstance> loaded, Totals& totalsToCount,
                  const StallWatchdog& loopToWaitFor, unsigned seed)
        : instance (std::move (loaded)), totals (totalsToCount), messageLoop (loopToWaitFor), random (seed)
    {
        instance->prepareToPlay (sampleRate, blockSize);
        start ([this] { playAudio(); });
        start ([this] { saveAndRestoreState(); });
        start ([this] { readParametersAndPrograms(); });
    }

    /** Stops the threads while this (the message) thread keeps its loop running,
        since the host's state calls wait for it; then closes the window and
        releases the instance. The watchdog sees no progress meanwhile, so a
        thread that never finishes is caught too. */
    void end()
    {
        stop = true;
        modulix_test::pumpUntil ([&] { return running == 0; }, 24 * 3600 * 1000);

        for (auto& t : threads)
            t.join();

        closeWindow();
        instance->releaseResources();
        instance.reset();
    }

    /** When this instance's host wants it gone. */
    double endTime = 0.0;

    /** When the host next opens or closes its window. */
    double windowTime = 0.0;

    /** Opens the window when it is closed, and closes it when it is open. */
    void toggleWindow()
    {
        if (editor != nullptr)
        {
            closeWindow();
            return;
        }

        editor.reset (instance->createEditorIfNeeded());

        if (editor != nullptr)
        {
            editor->setTopLeftPosition (40, 40);
            editor->addToDesktop (0);
            editor->setVisible (true);
            ++totals.windows;
        }
    }

private:
    void closeWindow()  { editor.reset(); }

    template <typename Loop>
    void start (Loop&& loop)
    {
        ++running;
        threads.emplace_back ([this, loop] { loop(); --running; });
    }

    juce::AudioProcessorParameter& parameter (int index) const
    {
        return *instance->getParameters().getUnchecked (index);
    }

    void playAudio()
    {
        juce::AudioBuffer<float> buffer (2, blockSize);
        juce::MidiBuffer midi;
        std::minstd_rand audioRandom (random());
        std::uniform_real_distribution<float> unit (0.0f, 1.0f);
        long position = 0;

        while (! stop)
        {
            for (int i = 0; i < blockSize; ++i, ++position)
                for (int ch = 0; ch < 2; ++ch)
                    buffer.setSample (ch, i, 0.4f * std::sin (0.031f * static_cast<float> (position) + static_cast<float> (ch)));

            // Automation of a control in every block, of the chorus type now and then.
            parameter (depth).setValue (unit (audioRandom));

            if (audioRandom() % 64 == 0)
                parameter (chorusType).setValue (static_cast<float> (audioRandom() % 3) * 0.5f);

            instance->processBlock (buffer, midi);
            ++totals.blocks;

            for (int ch = 0; ch < 2; ++ch)
                for (int i = 0; i < blockSize; ++i)
                    if (! std::isfinite (buffer.getSample (ch, i)))
                        totals.nonFinite = true;

            std::this_thread::sleep_for (std::chrono::microseconds (500));
        }
    }

    void saveAndRestoreState()
    {
        juce::MemoryBlock saved;

        for (int round = 0; ! stop; ++round)
        {
            if (round % 3 == 2 && saved.getSize() > 0)
                instance->setStateInformation (saved.getData(), static_cast<int> (saved.getSize()));
            else
                instance->getStateInformation (saved);

            ++totals.stateCalls;
            std::this_thread::sleep_for (std::chrono::milliseconds (2));
            messageLoop.waitForTheLoop (stop);
        }
    }

    void readParametersAndPrograms()
    {
        for (int round = 0; ! stop; ++round)
        {
            for (const int index : { chorusType, rate, mix, stereo })
            {
                auto& p = parameter (index);
                p.getText (p.getValue(), 32);
            }

            instance->getProgramName (round % 12);

            if (round % 8 == 0)
                instance->setCurrentProgram (round % 12);

            ++totals.parameterReads;
            std::this_thread::sleep_for (std::chrono::milliseconds (1));
            messageLoop.waitForTheLoop (stop);
        }
    }

    std::unique_ptr<juce::AudioPluginInstance> instance;
    std::unique_ptr<juce::AudioProcessorEditor> editor;
    Totals& totals;
    const StallWatchdog& messageLoop;
    std::minstd_rand random;
    std::atomic<bool> stop { false };
    std::atomic<int> running { 0 };
    std::vector<std::thread> threads;
};

int run (const Options& options)
{
    juce::ScopedJuceInitialiser_GUI juce;
    juce::VST3PluginFormat format;
    juce::OwnedArray<juce::PluginDescription> types;
    format.findAllTypesForFile (types, options.bundle);

    if (types.size() != 1)
    {
        std::fprintf (stderr, "vst3_churn_host: cannot describe %s\n", options.bundle.toRawUTF8());
        return 1;
    }

    Totals totals;
    StallWatchdog watchdog (options.stallSeconds, totals);
    std::minstd_rand random (options.seed);
    const auto now = [] { return juce::Time::getMillisecondCounterHiRes(); };
    const auto within = [&random] (int from, int to) { return static_cast<double> (from + static_cast<int> (random() % static_cast<unsigned> (to - from))); };
    const auto end = now() + options.seconds * 1000.0;
    std::vector<std::unique_ptr<InstanceLife>> alive;
    double nextCreation = now();

    while (now() < end || ! alive.empty())
    {
        if (now() < end && now() >= nextCreation && alive.size() < 2)
        {
            juce::String error;
            auto loaded = format.createInstanceFromDescription (*types[0], sampleRate, blockSize, error);

            if (loaded == nullptr)
            {
                std::fprintf (stderr, "vst3_churn_host: instance %ld did not load: %s\n",
                              totals.instances.load(), error.toRawUTF8());
                return 1;
            }

            const auto overlapsTheNext = totals.instances++ % 2 == 0;
            auto& life = *alive.emplace_back (std::make_unique<InstanceLife> (std::move (loaded), totals, watchdog, static_cast<unsigned> (random())));
            life.endTime = now() + within (500, 1000);
            nextCreation = overlapsTheNext ? life.endTime - within (100, 400) : life.endTime + within (0, 50);
        }

        for (auto& life : alive)
        {
            if (now() >= life->windowTime)
            {
                life->toggleWindow();
                life->windowTime = now() + within (50, 300);
            }
        }

        for (auto it = alive.begin(); it != alive.end();)
        {
            if (now() >= (*it)->endTime)
            {
                (*it)->end();
                it = alive.erase (it);
            }
            else
            {
                ++it;
            }
        }

        watchdog.tick();
        const auto pumpEnd = now() + 5.0;
        modulix_test::pumpUntil ([&] { return now() >= pumpEnd; }, 1000);
    }

    std::printf ("vst3_churn_host: %ld instances, %ld blocks, %ld state calls, %ld windows\n",
                 totals.instances.load(), totals.blocks.load(), totals.stateCalls.load(), totals.windows.load());

    if (totals.nonFinite)
    {
        std::fprintf (stderr, "vst3_churn_host: an instance played a non-finite sample\n");
        return 1;
    }

    return 0;
}
} // namespace

int main (int argc, char** argv)
{
    return run (parseOptions (argc, argv));
}
