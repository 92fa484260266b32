// The paths a DAW session takes through a plug-in's audio callback, written
// once for every format: steady play, automation in every block, a chorus-type
// change with its cross-fade, the host's bypass, the effect switched off and
// on, a program change, and blocks shorter and longer than announced. Each
// format supplies a Session that delivers these the way its hosts do and runs
// its process call on a host-like audio thread, where every allocation and
// free is counted.
#pragma once

#include "AudioThreadAllocations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace AudioSessionPaths
{
enum Parameter { onBypass, chorusType, rate, rateSync, depth, mix, level, stereo, sync };

constexpr double sampleRate = 44100.0;
constexpr double twoPi = 6.283185307179586;
constexpr int announcedBlockSize = 256;
/** Longer than the plug-in's own work buffers (16384 samples). */
constexpr int longestBlock = 20000;
/** The plug-in's fade length at 44100 Hz, with a margin of blocks. */
constexpr int fadeBlocks = 2048 / announcedBlockSize + 4;

struct Layout
{
    int inputs;
    int outputs;
    const char* name;
};

const Layout stereoInStereoOut { 2, 2, "StereoInStereoOut" };
const Layout monoInStereoOut { 1, 2, "MonoInStereoOut" };

/** A host's audio thread: one thread for the whole session, running each piece
    of work it is handed, marked as the audio thread, while the caller waits. */
class AudioThread
{
public:
    AudioThread() : thread ([this] { serve(); }) {}

    ~AudioThread()
    {
        {
            const std::lock_guard<std::mutex> guard (lock);
            quit = true;
        }

        wake.notify_one();
        thread.join();
    }

    AudioThread (const AudioThread&) = delete;
    AudioThread& operator= (const AudioThread&) = delete;

    /** Runs work on the audio thread; returns what it allocated and freed there. */
    AudioThreadAllocations::Counts run (const std::function<void()>& work)
    {
        std::unique_lock<std::mutex> guard (lock);
        job = &work;
        wake.notify_one();
        finished.wait (guard, [this] { return job == nullptr; });
        return lastCounts;
    }

private:
    void serve()
    {
        std::unique_lock<std::mutex> guard (lock);

        for (;;)
        {
            wake.wait (guard, [this] { return quit || job != nullptr; });

            if (quit)
                return;

            guard.unlock();
            const auto counts = AudioThreadAllocations::countDuring (*job);
            guard.lock();

            lastCounts = counts;
            job = nullptr;
            finished.notify_one();
        }
    }

    std::mutex lock;
    std::condition_variable wake, finished;
    const std::function<void()>* job = nullptr;
    AudioThreadAllocations::Counts lastCounts;
    bool quit = false;
    std::thread thread;
};

/** One plug-in instance as a format's host drives it. The host's own calls
    (automation, bypass, program) go where that format's hosts make them;
    render runs the format's process call on the audio thread. */
class Session
{
public:
    virtual ~Session() = default;

    /** Automation of a parameter, delivered with or before the next block. */
    virtual void automate (int parameter, float value) = 0;
    /** The host's own bypass switch. */
    virtual void setHostBypass (bool bypassed) = 0;
    virtual void changeProgram (int program) = 0;
    /** Time for the plug-in's timers on its message thread (its 50 ms model switch). */
    virtual void letMessageThreadRun() = 0;

    /** Plays the next numSamples of a continuing signal as one block. */
    void render (int numSamples)
    {
        fillInputs (numSamples);
        const std::function<void()> work = [this, numSamples] { process (numSamples); };
        const auto counts = audioThread.run (work);

        allocated.allocations += counts.allocations;
        allocated.frees += counts.frees;
        checkOutputs (numSamples);
    }

    /** The output channels of the last block. */
    const std::vector<std::vector<float>>& lastOutputs() const noexcept  { return outputs; }

    /** Everything the audio thread allocated and freed so far. */
    AudioThreadAllocations::Counts allocated;
    bool outputsFinite = true;

protected:
    explicit Session (const Layout& channelLayout)
        : layout (channelLayout),
          inputs (static_cast<size_t> (layout.inputs), std::vector<float> (longestBlock)),
          outputs (static_cast<size_t> (layout.outputs), std::vector<float> (longestBlock))
    {
        for (auto& channel : inputs)
            inputPointers.push_back (channel.data());

        for (auto& channel : outputs)
            outputPointers.push_back (channel.data());
    }

    /** The format's process call on the prepared channels; runs on the audio thread. */
    virtual void process (int numSamples) = 0;

    const Layout layout;
    std::vector<std::vector<float>> inputs, outputs;
    std::vector<float*> inputPointers, outputPointers;

private:
    void fillInputs (int numSamples)
    {
        for (size_t ch = 0; ch < inputs.size(); ++ch)
            for (int i = 0; i < numSamples; ++i)
            {
                const auto t = static_cast<double> (position + i) / sampleRate;
                inputs[ch][static_cast<size_t> (i)] = static_cast<float> (0.4 * std::sin (twoPi * (330.0 + 187.0 * static_cast<double> (ch)) * t));
            }

        position += numSamples;
    }

    void checkOutputs (int numSamples)
    {
        for (const auto& channel : outputs)
            for (int i = 0; i < numSamples; ++i)
                outputsFinite = outputsFinite && std::isfinite (channel[static_cast<size_t> (i)]);
    }

    AudioThread audioThread;
    long long position = 0;
};

//==============================================================================
inline void steadyPlay (Session& session)
{
    for (int block = 0; block < 40; ++block)
        session.render (announcedBlockSize);
}

inline void automationEveryBlock (Session& session)
{
    for (int block = 0; block < 40; ++block)
    {
        const auto sweep = static_cast<float> (block % 10) / 10.0f;

        for (const int parameter : { rate, rateSync, depth, mix, level })
            session.automate (parameter, sweep);

        for (const int parameter : { stereo, sync })
            session.automate (parameter, (block / 3) % 2 == 0 ? 1.0f : 0.0f);

        session.render (announcedBlockSize);
    }
}

/** Each change takes effect once the plug-in's timer has fired; the fade runs
    over the next blocks. The last one turns round mid-fade. */
inline void chorusTypeChangesAndCrossFades (Session& session)
{
    const auto changeTo = [&session] (float type, int blocksAfter)
    {
        session.automate (chorusType, type);
        session.render (announcedBlockSize);
        session.letMessageThreadRun();

        for (int block = 0; block < blocksAfter; ++block)
            session.render (announcedBlockSize);
    };

    changeTo (0.5f, fadeBlocks);
    changeTo (1.0f, fadeBlocks);
    changeTo (0.0f, 2);
    changeTo (1.0f, fadeBlocks);
}

inline void hostBypassOnAndOff (Session& session)
{
    for (const bool bypassed : { false, true, false, true, false })
    {
        session.setHostBypass (bypassed);

        for (int block = 0; block < 4; ++block)
            session.render (announcedBlockSize);
    }
}

/** Off fades out, then silent blocks return early; on fades back in. */
inline void effectSwitchedOffAndOn (Session& session)
{
    for (const float on : { 0.0f, 1.0f, 0.0f, 1.0f })
    {
        session.automate (onBypass, on);

        for (int block = 0; block < fadeBlocks; ++block)
            session.render (announcedBlockSize);
    }
}

inline void programChanges (Session& session)
{
    for (const int program : { 5, 11, 0 })
    {
        session.changeProgram (program);

        for (int block = 0; block < 4; ++block)
            session.render (announcedBlockSize);
    }
}

inline void blocksShorterAndLongerThanAnnounced (Session& session)
{
    for (const int length : { 1, 7, announcedBlockSize / 2, announcedBlockSize, announcedBlockSize + 1,
                              3 * announcedBlockSize + 5, longestBlock, 2, announcedBlockSize })
        session.render (length);
}

struct Path
{
    const char* name;
    void (*run) (Session&);
};

const Path allPaths[] {
    { "SteadyPlay", steadyPlay },
    { "AutomationEveryBlock", automationEveryBlock },
    { "ChorusTypeChangesAndCrossFades", chorusTypeChangesAndCrossFades },
    { "HostBypassOnAndOff", hostBypassOnAndOff },
    { "EffectSwitchedOffAndOn", effectSwitchedOffAndOn },
    { "ProgramChanges", programChanges },
    { "BlocksShorterAndLongerThanAnnounced", blocksShorterAndLongerThanAnnounced },
};

/** One test case: a path in a channel layout. */
struct Case
{
    Layout layout;
    Path path;
};

inline std::vector<Case> allCases()
{
    std::vector<Case> cases;

    for (const auto& layout : { stereoInStereoOut, monoInStereoOut })
        for (const auto& path : allPaths)
            cases.push_back ({ layout, path });

    return cases;
}

inline std::string caseName (const Case& c)
{
    return std::string (c.path.name) + "_" + c.layout.name;
}

/** Names each instantiated case after its path and layout. */
struct CaseName
{
    std::string operator() (const ::testing::TestParamInfo<Case>& info) const  { return caseName (info.param); }
};

inline std::ostream& operator<< (std::ostream& out, const Case& c)
{
    return out << caseName (c);
}
}
