// The AAX plug-in allocates nothing on the host's audio thread on any path a
// session takes: its audio callback runs there, as the fake AAX host renders
// it, while parameters, bypass and settings reach it from the host's own
// thread, as AAX hosts deliver them.
#include "AudioSessionPaths.h"
#include "JuceAaxFixture.h"

#include <chrono>
#include <string>
#include <thread>

namespace
{
using namespace AudioSessionPaths;

AAX_EStemFormat stemOf (int channels)
{
    return channels == 1 ? AAX_eStemFormat_Mono : AAX_eStemFormat_Stereo;
}

class AaxSession final : public Session
{
public:
    AaxSession (FakeHost& host, const Layout& channels) : Session (channels), plugin (host, true)
    {
        // The host sets up the processing side again for the stems it plays.
        plugin.instance.controller.inputStem = stemOf (layout.inputs);
        plugin.instance.controller.outputStem = stemOf (layout.outputs);
        plugin.effect->ResetFieldData (JuceAAX::preparedFlag, &plugin.prepared, sizeof (plugin.prepared));

        savedSetting = plugin.chunk (JuceAAX_Processor::juceChunkID);
    }

    void automate (int parameter, float value) override
    {
        plugin.effect->UpdateParameterNormalizedValue (std::to_string (parameter).c_str(), static_cast<double> (value),
                                                       AAX_eUpdateSource_Unspecified);
    }

    /** The master bypass reaches the audio callback as a packet. */
    void setHostBypass (bool bypassed) override
    {
        plugin.effect->UpdateParameterNormalizedValue (cDefaultMasterBypassID, bypassed ? 1.0 : 0.0,
                                                       AAX_eUpdateSource_Unspecified);
        plugin.effect->GenerateCoefficients();
        plugin.deliverPackets();
    }

    /** AAX hosts have no program list: they recall a saved setting as a chunk. */
    void changeProgram (int) override
    {
        plugin.restore (savedSetting);
    }

    /** The module runs JUCE's message thread of its own, as it does in a host. */
    void letMessageThreadRun() override  { std::this_thread::sleep_for (std::chrono::milliseconds (200)); }

    AaxInstance plugin;

private:
    void process (int numSamples) override
    {
        const int32_t bufferSize = numSamples;
        const JuceAAX::AlgorithmContext context { inputPointers.data(), outputPointers.data(), &bufferSize,
                                                  &plugin.bypassPacket, &plugin.pluginInstance, &plugin.prepared,
                                                  nullptr };
        void* const instances[] { const_cast<JuceAAX::AlgorithmContext*> (&context) };
        JuceAAX::ProcessAlgorithm (instances, instances + 1);
    }

    std::vector<uint8_t> savedSetting;
};

class AaxAudioPath : public FakeHostFixture,
                     public ::testing::WithParamInterface<Case>
{
};

TEST_P (AaxAudioPath, AllocatesNothingOnTheAudioThread)
{
    AaxSession session (host, GetParam().layout);
    ASSERT_EQ (session.plugin.result, AAX_SUCCESS);
    ASSERT_EQ (session.plugin.prepared, 1);
    ASSERT_EQ (session.plugin.processor().getTotalNumInputChannels(), GetParam().layout.inputs);

    GetParam().path.run (session);

    EXPECT_EQ (session.allocated, AudioThreadAllocations::Counts {});
    EXPECT_TRUE (session.outputsFinite);
}

INSTANTIATE_TEST_SUITE_P (Paths, AaxAudioPath, ::testing::ValuesIn (allCases()), CaseName());
}
