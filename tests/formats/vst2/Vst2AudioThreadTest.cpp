// The built VST2 module, loaded with dlopen, allocates nothing on the host's
// audio thread on any path a session takes. The host here calls everything a
// VST 2.4 host may call from its audio thread there: automation, bypass and
// program changes just before the block, then processReplacing.
#include "AEffect.h"
#include "AudioSessionPaths.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace
{
using namespace AudioSessionPaths;

/** The module's JUCE would try display :0 otherwise, which may be another
    program's server; name one that is not there. */
[[maybe_unused]] const bool displayChosen = [] { return setenv ("DISPLAY", ":65535", 0) == 0; }();

HostTimeInfo transport = [] {
    HostTimeInfo info {};
    info.sampleRate = sampleRate;
    info.tempo = 120.0;
    info.flags = timeInfoTempoValid;
    return info;
}();

/** Answers without allocating: the plug-in asks it from its audio thread. */
long long answerPlugin (AEffect*, int32_t opcode, int32_t, long long, void*, float)
{
    switch (opcode)
    {
        case hostVersion:        return 2400;
        case hostGetTime:        return static_cast<long long> (reinterpret_cast<intptr_t> (&transport));
        case hostGetSampleRate:  return static_cast<long long> (sampleRate);
        case hostGetBlockSize:   return announcedBlockSize;
        default:                 return 0;
    }
}

AEffect* openEffect()
{
    // Kept loaded for the whole run, as hosts keep a plug-in's module.
    static void* const module = dlopen (MODULIX_VST2_MODULE, RTLD_NOW | RTLD_LOCAL);
    const auto entry = module != nullptr ? reinterpret_cast<AEffect* (*) (HostCallback)> (dlsym (module, "VSTPluginMain"))
                                         : nullptr;
    return entry != nullptr ? entry (answerPlugin) : nullptr;
}

VstSpeakerArrangement arrangementOf (int channels)
{
    VstSpeakerArrangement arrangement {};
    arrangement.type = channels == 1 ? 0 : 1;  // mono, stereo
    arrangement.numChannels = channels;
    return arrangement;
}

class Vst2Session final : public Session
{
public:
    explicit Vst2Session (const Layout& channels) : Session (channels), effect (openEffect())
    {
        if (effect == nullptr)
            return;

        dispatch (effectOpen);
        dispatch (effectSetSampleRate, 0, 0, nullptr, static_cast<float> (sampleRate));
        dispatch (effectSetBlockSize, 0, announcedBlockSize);

        auto in = arrangementOf (layout.inputs), out = arrangementOf (layout.outputs);
        arranged = dispatch (effectSetSpeakerArrangement, 0, reinterpret_cast<intptr_t> (&in), &out) == 1;

        dispatch (effectSuspendResume, 0, 1);
        dispatch (effectStartProcess);
    }

    ~Vst2Session() override
    {
        if (effect == nullptr)
            return;

        dispatch (effectStopProcess);
        dispatch (effectSuspendResume, 0, 0);
        dispatch (effectClose);
    }

    void automate (int parameter, float value) override  { automation.push_back ({ parameter, value }); }
    void setHostBypass (bool bypassed) override           { bypass = bypassed; }
    void changeProgram (int index) override               { program = index; }

    /** The module runs its timers on a message thread of its own. */
    void letMessageThreadRun() override  { std::this_thread::sleep_for (std::chrono::milliseconds (200)); }

    AEffect* effect;
    bool arranged = false;

private:
    struct Automation
    {
        int parameter;
        float value;
    };

    long long dispatch (int opcode, int index = 0, long long value = 0, void* ptr = nullptr, float opt = 0.0f)
    {
        return effect->dispatcher (effect, opcode, index, value, ptr, opt);
    }

    void process (int numSamples) override
    {
        for (const auto& change : automation)
            effect->setParameter (effect, change.parameter, change.value);

        automation.clear();

        if (bypass.has_value())
            dispatch (effectSetBypass, 0, *bypass ? 1 : 0);

        if (program.has_value())
            dispatch (effectSetProgram, 0, *program);

        bypass.reset();
        program.reset();
        effect->processReplacing (effect, inputPointers.data(), outputPointers.data(), numSamples);
    }

    std::vector<Automation> automation;
    std::optional<bool> bypass;
    std::optional<int> program;
};

//==============================================================================
TEST (Vst2AudioThread, TheCounterSeesAllocationsInsideTheModule)
{
    Vst2Session session (stereoInStereoOut);
    ASSERT_NE (session.effect, nullptr) << dlerror();

    char text[64] {};
    const auto counts = AudioThreadAllocations::countDuring ([&] {
        session.effect->dispatcher (session.effect, effectGetProgramNameIndexed, 3, 0, text, 0.0f);
    });

    EXPECT_GT (counts.allocations, 0);
    EXPECT_STRNE (text, "");
}

class Vst2AudioPath : public ::testing::TestWithParam<Case> {};

TEST_P (Vst2AudioPath, AllocatesNothingOnTheAudioThread)
{
    Vst2Session session (GetParam().layout);
    ASSERT_NE (session.effect, nullptr) << dlerror();
    ASSERT_TRUE (session.arranged);

    GetParam().path.run (session);

    EXPECT_EQ (session.allocated, AudioThreadAllocations::Counts {});
    EXPECT_TRUE (session.outputsFinite);
}

INSTANTIATE_TEST_SUITE_P (Paths, Vst2AudioPath, ::testing::ValuesIn (allCases()), CaseName());
}
