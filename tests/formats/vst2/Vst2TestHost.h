// The small VST 2.4 host of the module tests: it loads the built module with
// dlopen, records every call the plug-in makes to it and opens instances as a
// host does. It uses no JUCE, so the module's own JUCE is the only one in the
// process.
#pragma once

#include "AEffect.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cmath>
#include <cstring>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace Vst2TestHost
{
constexpr float sampleRate = 44100.0f;
constexpr int blockSize = 512;

using EntryFunction = AEffect* (*) (HostCallback);

/** What the host saw and answers. The module may call from its own threads. */
struct Host
{
    struct Call
    {
        AEffect* effect;
        int opcode, index;
        long long value;
        float opt;
    };

    std::mutex lock;
    std::vector<Call> calls;
    long long versionReply = 2400;
    HostTimeInfo timeInfo {};

    std::vector<Call> takeCalls()
    {
        const std::lock_guard<std::mutex> l (lock);
        return std::exchange (calls, {});
    }

    std::vector<Call> takeCalls (int opcode)
    {
        std::vector<Call> matching;

        for (const auto& call : takeCalls())
            if (call.opcode == opcode)
                matching.push_back (call);

        return matching;
    }
};

inline Host host;

inline long long hostCallback (AEffect* effect, int32_t opcode, int32_t index, long long value, void*, float opt)
{
    {
        const std::lock_guard<std::mutex> l (host.lock);
        host.calls.push_back ({ effect, opcode, index, value, opt });
    }

    switch (opcode)
    {
        case hostVersion:        return host.versionReply;
        case hostGetTime:        return (long long) (intptr_t) &host.timeInfo;
        case hostGetSampleRate:  return (long long) sampleRate;
        case hostGetBlockSize:   return blockSize;
        default:                 return 0;
    }
}

inline EntryFunction loadEntry (const char* name)
{
    // Kept loaded for the whole run, as hosts keep a plug-in's module.
    static void* const module = dlopen (MODULIX_VST2_MODULE, RTLD_NOW | RTLD_LOCAL);
    return module == nullptr ? nullptr : reinterpret_cast<EntryFunction> (dlsym (module, name));
}

/** One instance of the plug-in, opened and later closed as a host does. */
struct Instance
{
    Instance()
    {
        auto entry = loadEntry ("VSTPluginMain");
        effect = entry != nullptr ? entry (hostCallback) : nullptr;

        if (effect != nullptr)
        {
            dispatch (effectOpen);
            dispatch (effectSetSampleRate, 0, 0, nullptr, sampleRate);
            dispatch (effectSetBlockSize, 0, blockSize);
        }
    }

    ~Instance()
    {
        if (effect != nullptr)
            close();
    }

    Instance (const Instance&) = delete;
    Instance& operator= (const Instance&) = delete;

    void close()
    {
        dispatch (effectSuspendResume, 0, 0);
        EXPECT_EQ (dispatch (effectClose), 1);
        effect = nullptr;
    }

    long long dispatch (int opcode, int index = 0, long long value = 0, void* ptr = nullptr, float opt = 0.0f)
    {
        return effect->dispatcher (effect, opcode, index, value, ptr, opt);
    }

    void resume()  { dispatch (effectSuspendResume, 0, 1); }

    std::string text (int opcode, int index = 0)
    {
        char buffer[256];
        std::memset (buffer, 'x', sizeof (buffer));
        dispatch (opcode, index, 0, buffer);
        return buffer;
    }

    void setParameter (int index, float value)  { effect->setParameter (effect, index, value); }
    float getParameter (int index)              { return effect->getParameter (effect, index); }

    std::vector<char> chunk (bool program)
    {
        void* data = nullptr;
        const auto size = dispatch (effectGetChunk, program ? 1 : 0, 0, &data);
        return size > 0 && data != nullptr ? std::vector<char> ((char*) data, (char*) data + size) : std::vector<char>();
    }

    /** Processes the next stereo block of a continuing sine, separately or in place. */
    std::vector<float> process (int numSamples, bool inPlace = false)
    {
        std::vector<float> in (2 * (size_t) numSamples), out (2 * (size_t) numSamples);

        for (int i = 0; i < numSamples; ++i)
        {
            const auto t = (float) (position + i) / sampleRate;
            in[(size_t) i] = 0.5f * std::sin (6.2831853f * 330.0f * t);
            in[(size_t) (numSamples + i)] = 0.3f * std::sin (6.2831853f * 517.0f * t);
        }

        position += numSamples;
        lastInput = in;
        auto& target = inPlace ? in : out;
        float* inputs[] = { in.data(), in.data() + numSamples };
        float* outputs[] = { target.data(), target.data() + numSamples };
        effect->processReplacing (effect, inputs, outputs, numSamples);
        return target;
    }

    AEffect* effect = nullptr;
    long long position = 0;
    std::vector<float> lastInput;
};
}
