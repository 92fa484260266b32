// The built VST3 bundle allocates nothing on the host's audio thread on any
// path a session takes. JUCE's VST3 host loads, arranges and prepares it; the
// blocks then go straight to the bundle's IAudioProcessor::process with data
// the host built beforehand, parameter changes included, so that only the
// plug-in's own work is counted, not that of JUCE's host wrapper.
#include "AudioSessionPaths.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <pluginterfaces/vst/ivstaudioprocessor.h>
#include <pluginterfaces/vst/ivstcomponent.h>
#include <pluginterfaces/vst/ivstparameterchanges.h>
#include <pluginterfaces/vst/ivstprocesscontext.h>
#include <pluginterfaces/vst/ivstunits.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace juce
{
    // JUCE's Linux message queue pump.
    bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
}

namespace
{
using namespace AudioSessionPaths;
using namespace Steinberg;

// The SDK's interfaces have no virtual destructors; these objects are never
// deleted through them.
JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wnon-virtual-dtor")

/** A host object on the stack: its lifetime is the session's, not counted references. */
template <class Interface>
struct Uncounted : Interface
{
    tresult PLUGIN_API queryInterface (const TUID, void** object) override
    {
        *object = nullptr;
        return kNoInterface;
    }

    uint32 PLUGIN_API addRef() override   { return 1; }
    uint32 PLUGIN_API release() override  { return 1; }
};

/** One parameter's change in a block: a single point at the block's start. */
struct PointQueue final : Uncounted<Vst::IParamValueQueue>
{
    Vst::ParamID PLUGIN_API getParameterId() override  { return id; }
    int32 PLUGIN_API getPointCount() override          { return 1; }

    tresult PLUGIN_API getPoint (int32 index, int32& sampleOffset, Vst::ParamValue& point) override
    {
        if (index != 0)
            return kResultFalse;

        sampleOffset = 0;
        point = value;
        return kResultTrue;
    }

    tresult PLUGIN_API addPoint (int32, Vst::ParamValue point, int32& index) override
    {
        value = point;
        index = 0;
        return kResultTrue;
    }

    Vst::ParamID id = 0;
    Vst::ParamValue value = 0.0;
};

/** A block's parameter changes in fixed storage, so filling and reading them allocates nothing. */
struct BlockChanges final : Uncounted<Vst::IParameterChanges>
{
    int32 PLUGIN_API getParameterCount() override  { return count; }

    Vst::IParamValueQueue* PLUGIN_API getParameterData (int32 index) override
    {
        return index >= 0 && index < count ? &queues[static_cast<size_t> (index)] : nullptr;
    }

    Vst::IParamValueQueue* PLUGIN_API addParameterData (const Vst::ParamID& id, int32& index) override
    {
        for (index = 0; index < count; ++index)
            if (queues[static_cast<size_t> (index)].id == id)
                return &queues[static_cast<size_t> (index)];

        if (count == static_cast<int32> (queues.size()))
            return nullptr;

        queues[static_cast<size_t> (count)].id = id;
        return &queues[static_cast<size_t> (count++)];
    }

    void set (Vst::ParamID id, double value)
    {
        int32 index = 0;

        if (auto* queue = addParameterData (id, index))
            queue->addPoint (0, value, index);
    }

    std::array<PointQueue, 32> queues;
    int32 count = 0;
};

JUCE_END_IGNORE_WARNINGS_GCC_LIKE

Vst::ParamID idOf (juce::AudioProcessorParameter* parameter)
{
    auto* hosted = dynamic_cast<juce::HostedAudioProcessorParameter*> (parameter);
    return hosted != nullptr ? static_cast<Vst::ParamID> (hosted->getParameterID().getLargeIntValue()) : Vst::kNoParamId;
}

Vst::IComponent* componentOf (juce::AudioPluginInstance& instance)
{
    struct Visitor : juce::ExtensionsVisitor
    {
        void visitVST3Client (const VST3Client& client) override  { component = client.getIComponentPtr(); }
        Vst::IComponent* component = nullptr;
    };

    Visitor visitor;
    instance.getExtensions (visitor);
    return visitor.component;
}

void pumpMessages (int milliseconds)
{
    const auto end = juce::Time::getMillisecondCounter() + static_cast<juce::uint32> (milliseconds);

    while (juce::Time::getMillisecondCounter() < end)
        if (! juce::dispatchNextMessageOnSystemQueue (true))
            juce::Thread::sleep (1);
}

class Vst3Session final : public Session
{
public:
    Vst3Session (std::unique_ptr<juce::AudioPluginInstance> loaded, const Layout& channels)
        : Session (channels), instance (std::move (loaded))
    {
        if (instance == nullptr)
            return;

        auto buses = instance->getBusesLayout();
        buses.inputBuses.getReference (0) = juce::AudioChannelSet::canonicalChannelSet (layout.inputs);
        buses.outputBuses.getReference (0) = juce::AudioChannelSet::canonicalChannelSet (layout.outputs);
        arranged = instance->setBusesLayout (buses);
        instance->prepareToPlay (sampleRate, announcedBlockSize);

        auto* component = componentOf (*instance);

        if (component == nullptr || component->queryInterface (Vst::IAudioProcessor::iid, reinterpret_cast<void**> (&processor)) != kResultOk)
            processor = nullptr;

        for (auto* parameter : instance->getParameters())
        {
            if (parameter->getName (64) == "Program")
                programId = idOf (parameter);
            else if (parameter != instance->getBypassParameter() && parameterIds.size() < 9)
                parameterIds.push_back (idOf (parameter));
        }

        bypassId = idOf (instance->getBypassParameter());
        setUpProcessData();
    }

    ~Vst3Session() override
    {
        if (processor != nullptr)
            processor->release();

        if (instance != nullptr)
            instance->releaseResources();
    }

    bool isReady() const
    {
        return processor != nullptr && arranged && parameterIds.size() == 9
               && bypassId != Vst::kNoParamId && programId != Vst::kNoParamId;
    }

    void automate (int parameter, float value) override
    {
        changes.set (parameterIds[static_cast<size_t> (parameter)], static_cast<double> (value));
    }

    void setHostBypass (bool bypassed) override
    {
        changes.set (bypassId, bypassed ? 1.0 : 0.0);
    }

    /** The host's program change: the controller side on the message thread,
        then the program parameter in the next block. */
    void changeProgram (int program) override
    {
        instance->setCurrentProgram (program);
        const auto last = juce::jmax (1, instance->getNumPrograms() - 1);
        changes.set (programId, static_cast<double> (program) / static_cast<double> (last));
    }

    void letMessageThreadRun() override  { pumpMessages (200); }

    std::unique_ptr<juce::AudioPluginInstance> instance;
    Vst::IAudioProcessor* processor = nullptr;

private:
    void setUpProcessData()
    {
        inputBus.numChannels = layout.inputs;
        inputBus.channelBuffers32 = inputPointers.data();
        outputBus.numChannels = layout.outputs;
        outputBus.channelBuffers32 = outputPointers.data();

        context.state = Vst::ProcessContext::kPlaying | Vst::ProcessContext::kTempoValid;
        context.sampleRate = sampleRate;
        context.tempo = 120.0;

        data.processMode = Vst::kRealtime;
        data.symbolicSampleSize = Vst::kSample32;
        data.numInputs = 1;
        data.numOutputs = 1;
        data.inputs = &inputBus;
        data.outputs = &outputBus;
        data.inputParameterChanges = &changes;
        data.outputParameterChanges = &changesFromPlugin;
        data.processContext = &context;
    }

    void process (int numSamples) override
    {
        data.numSamples = numSamples;
        processor->process (data);

        context.projectTimeSamples += numSamples;
        changes.count = 0;
        changesFromPlugin.count = 0;
    }

    bool arranged = false;
    std::vector<Vst::ParamID> parameterIds;
    Vst::ParamID bypassId = Vst::kNoParamId, programId = Vst::kNoParamId;

    Vst::AudioBusBuffers inputBus {}, outputBus {};
    Vst::ProcessContext context {};
    BlockChanges changes, changesFromPlugin;
    Vst::ProcessData data {};
};

//==============================================================================
class Vst3AudioThreadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        format.findAllTypesForFile (types, MODULIX_VST3_BUNDLE);
        ASSERT_EQ (types.size(), 1) << MODULIX_VST3_BUNDLE;
    }

    std::unique_ptr<juce::AudioPluginInstance> load()
    {
        juce::String error;
        auto loaded = format.createInstanceFromDescription (*types[0], sampleRate, announcedBlockSize, error);
        EXPECT_NE (loaded, nullptr) << error;
        return loaded;
    }

    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    juce::VST3PluginFormat format;
    juce::OwnedArray<juce::PluginDescription> types;
};

TEST_F (Vst3AudioThreadTest, TheCounterSeesAllocationsInsideTheBundle)
{
    Vst3Session session (load(), stereoInStereoOut);
    ASSERT_TRUE (session.isReady());

    Vst::IUnitInfo* units = nullptr;
    ASSERT_EQ (session.processor->queryInterface (Vst::IUnitInfo::iid, reinterpret_cast<void**> (&units)), kResultOk);
    Vst::ProgramListInfo list {};
    ASSERT_EQ (units->getProgramListInfo (0, list), kResultOk);

    Vst::String128 name {};
    const auto counts = AudioThreadAllocations::countDuring ([&] { units->getProgramName (list.id, 3, name); });
    units->release();

    EXPECT_GT (counts.allocations, 0);
    EXPECT_NE (name[0], 0);
}

/** The wrapper's own buffers hold the announced length; a longer block must
    still sound as the same signal played in announced-size blocks. */
TEST_F (Vst3AudioThreadTest, ABlockLongerThanAnnouncedSoundsAsAnnouncedBlocksDo)
{
    for (const auto& layout : { stereoInStereoOut, monoInStereoOut })
    {
        Vst3Session whole (load(), layout), pieces (load(), layout);
        ASSERT_TRUE (whole.isReady() && pieces.isReady());

        whole.render (longestBlock);
        std::vector<std::vector<float>> expected (whole.lastOutputs().size());

        for (int start = 0; start < longestBlock; start += announcedBlockSize)
        {
            const auto length = std::min (announcedBlockSize, longestBlock - start);
            pieces.render (length);

            for (size_t ch = 0; ch < expected.size(); ++ch)
                expected[ch].insert (expected[ch].end(), pieces.lastOutputs()[ch].begin(),
                                     pieces.lastOutputs()[ch].begin() + length);
        }

        for (size_t ch = 0; ch < expected.size(); ++ch)
        {
            const std::vector<float> played (whole.lastOutputs()[ch].begin(), whole.lastOutputs()[ch].begin() + longestBlock);
            EXPECT_EQ (played, expected[ch]) << layout.name << ", channel " << ch;
        }
    }
}

class Vst3AudioPath : public Vst3AudioThreadTest,
                      public ::testing::WithParamInterface<Case>
{
};

TEST_P (Vst3AudioPath, AllocatesNothingOnTheAudioThread)
{
    Vst3Session session (load(), GetParam().layout);
    ASSERT_TRUE (session.isReady());

    GetParam().path.run (session);

    EXPECT_EQ (session.allocated, AudioThreadAllocations::Counts {});
    EXPECT_TRUE (session.outputsFinite);
}

INSTANTIATE_TEST_SUITE_P (Paths, Vst3AudioPath, ::testing::ValuesIn (allCases()), CaseName());
}
