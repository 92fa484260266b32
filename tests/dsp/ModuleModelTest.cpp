#include "CE2Chorus.h"
#include "ModuleModel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace
{
    /** A model that records how the interface calls it, to check the routing of processBlock. */
    class RecordingModel final : public ModuleModel
    {
    public:
        RecordingModel() { parameterNum = 2; parameters = std::make_unique<float[]> (2); }

        void process (float* buffer, int numSamples) noexcept override
        {
            ++monoCalls;
            for (int i = 0; i < numSamples; ++i)
                buffer[i] *= 2.0f;
        }

        void process (float* left, float* right, int numSamples) noexcept override
        {
            ++stereoCalls;
            for (int i = 0; i < numSamples; ++i)
                std::swap (left[i], right[i]);
        }

        void setParameter (int index, float value) noexcept override { parameters[static_cast<size_t> (index)] = value; }
        void calcParameter (int) noexcept override {}
        float getDefaultParameter (int) const noexcept override { return 0.0f; }
        const char* getParameterName (int) const noexcept override { return ""; }
        void forceCalcParams() override {}

        int monoCalls = 0;
        int stereoCalls = 0;
    };

    class MessageCounter final : public juce::ActionListener
    {
    public:
        void actionListenerCallback (const juce::String& message) override { messages.add (message); }
        juce::StringArray messages;
    };

    /** Runs the message loop until done() holds or a second has passed. */
    template <typename Condition>
    void runMessageLoopUntil (Condition&& done)
    {
        struct Poller final : juce::Timer
        {
            explicit Poller (Condition& c) : condition (c) { startTimer (5); }

            void timerCallback() override
            {
                if (condition() || ++ticks > 200)
                {
                    stopTimer();
                    juce::MessageManager::getInstance()->stopDispatchLoop();
                }
            }

            Condition& condition;
            int ticks = 0;
        } poller { done };

        juce::MessageManager::getInstance()->runDispatchLoop();
    }
}

TEST (FxBaseTest, NamesAlongTheTree)
{
    RecordingModel model;
    EXPECT_STREQ (model.getName(), "ModuleModel");
    EXPECT_FLOAT_EQ (model.getSampleRate(), 44100.0f);
}

TEST (FxBaseTest, AttributesAfterConstruction)
{
    RecordingModel model;
    EXPECT_EQ (model.getBpm(), 120.0f);
    EXPECT_EQ (model.getExpectedSampleFrame(), 0);
    EXPECT_EQ (model.getInputsUsed(), 1);
    EXPECT_EQ (model.getOutputsUsed(), 1);
    EXPECT_EQ (model.getFloorId(), 0);
    EXPECT_EQ (model.getColumn(), 0);
    EXPECT_FALSE (model.isContainer());
    EXPECT_FALSE (model.isUiNeedsUpdate());

    model.requestUiNeedsUpdate();
    EXPECT_TRUE (model.isUiNeedsUpdate());
    model.clearUiNeedsUpdate();
    EXPECT_FALSE (model.isUiNeedsUpdate());

    model.setBpm (97.5f);
    model.setExpectedSampleFrame (512);
    EXPECT_EQ (model.getBpm(), 97.5f);
    EXPECT_EQ (model.getExpectedSampleFrame(), 512);
}

TEST (FxBaseTest, GetParameterOutsideTheTableGivesZero)
{
    RecordingModel model;
    model.setParameter (0, 0.25f);
    model.setParameter (1, 0.75f);

    EXPECT_EQ (model.getParameter (0), 0.25f);
    EXPECT_EQ (model.getParameter (1), 0.75f);
    EXPECT_EQ (model.getAllParameters()[1], 0.75f);

    for (int index : { -1, 2, 8, std::numeric_limits<int>::min(), std::numeric_limits<int>::max() })
        EXPECT_EQ (model.getParameter (index), 0.0f) << index;
}

TEST (ModuleModelTest, ProcessBlockRoutesByInputsUsed)
{
    struct Case { int inputs; int monoCalls; int stereoCalls; std::vector<float> input, output; };

    const std::vector<Case> cases {
        { 1, 1, 0, { 2.0f, -4.0f }, { 2.0f, -4.0f } },   // mono in place, then copied to the output
        { 2, 0, 1, { 9.0f, 9.0f }, { 1.0f, -2.0f } },    // stereo pair: input is left, output right
        { 0, 0, 0, { 1.0f, -2.0f }, { 9.0f, 9.0f } },
        { 3, 0, 0, { 1.0f, -2.0f }, { 9.0f, 9.0f } },
    };

    for (const auto& c : cases)
    {
        RecordingModel model;
        model.setInputsUsed (c.inputs);

        std::vector<float> input { 1.0f, -2.0f }, output { 9.0f, 9.0f };
        model.processBlock (input.data(), output.data(), 2);

        EXPECT_EQ (model.monoCalls, c.monoCalls) << c.inputs;
        EXPECT_EQ (model.stereoCalls, c.stereoCalls) << c.inputs;
        EXPECT_EQ (input, c.input) << c.inputs;
        EXPECT_EQ (output, c.output) << c.inputs;
    }
}

TEST (ArrangementNoticeTest, GoesOutOnceOnTheMessageThread)
{
    const juce::ScopedJuceInitialiser_GUI juce;
    MessageCounter counter;
    CE2Chorus model;
    model.addActionListener (&counter);

    model.setParameter (ChorusModel::stereoOnParameter, 1.0f);
    model.setParameter (ChorusModel::stereoOnParameter, 1.0f);   // unchanged: no second notice
    runMessageLoopUntil ([&] { return counter.messages.size() >= 1; });

    ASSERT_EQ (counter.messages.size(), 1);
    EXPECT_EQ (counter.messages[0], "ModuleViewController arrangeModelInputsOutputs");
    model.removeActionListener (&counter);
}

TEST (ArrangementNoticeTest, FromAnotherThreadIsDeliveredOnTheMessageThread)
{
    const juce::ScopedJuceInitialiser_GUI juce;
    MessageCounter counter;
    CE2Chorus model;
    model.addActionListener (&counter);

    std::thread audioThread ([&model] { model.setParameter (ChorusModel::stereoOnParameter, 1.0f); });
    audioThread.join();
    EXPECT_TRUE (counter.messages.isEmpty());

    runMessageLoopUntil ([&] { return counter.messages.size() >= 1; });

    ASSERT_EQ (counter.messages.size(), 1);
    EXPECT_EQ (counter.messages[0], "ModuleViewController arrangeModelInputsOutputs");
    model.removeActionListener (&counter);
}

TEST (ArrangementNoticeTest, OnlyOneInputCountsAsArranged)
{
    const juce::ScopedJuceInitialiser_GUI juce;
    MessageCounter counter;
    CE2Chorus model;
    model.addActionListener (&counter);
    model.setInputsUsed (2);

    model.setParameter (ChorusModel::stereoOnParameter, 1.0f);
    model.setParameter (ChorusModel::stereoOnParameter, 0.0f);
    runMessageLoopUntil ([&] { return false; });

    EXPECT_TRUE (counter.messages.isEmpty());
    model.removeActionListener (&counter);
}
