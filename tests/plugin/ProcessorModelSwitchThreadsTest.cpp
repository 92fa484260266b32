// The chorus type changes from the window and from host automation while the
// audio thread plays, with another control automated and the host tempo
// moving in every block: the model switch's timer works on the message thread
// beside the audio thread. The ThreadSanitizer tree reports anything the two
// share unguarded.

#include "ProcessorTestRig.h"
#include "../TestHome.h"
#include "../support/AutomatingAudioThread.h"

namespace
{
using modulix_test::AutomatingAudioThread;
using modulix_test::pumpMessages;

enum Parameter { chorusType = 1, depth = 4, mix = 5, stereo = 7, sync = 8 };

/** A play head whose tempo only the audio thread moves. */
struct MovingTempo final : juce::AudioPlayHead
{
    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo info;
        info.setBpm (bpm);
        return info;
    }

    double bpm = 120.0;
};

class ProcessorModelSwitchThreads : public ::testing::Test,
                                    protected modulix_test::TestHome
{
protected:
    ProcessorModelSwitchThreads() : TestHome ("model-switch-threads") {}

    juce::Button& typeButton (int type) const
    {
        const auto name = "type" + juce::String (type) + "ShortcutButton_";

        for (auto* c : editor->getChildren())
            if (auto* button = dynamic_cast<juce::Button*> (c); button != nullptr && c->getName() == name)
                return *button;

        ADD_FAILURE() << "no " << name;
        throw std::runtime_error ("missing button");
    }

    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    ModulixQR7150AudioProcessor processor;
    MovingTempo tempo;
    std::unique_ptr<juce::AudioProcessorEditor> editor;
};

TEST_F (ProcessorModelSwitchThreads, TypeChangesFromTheWindowAndFromAutomationWhileAudioPlays)
{
    processor.setParameter (sync, 1.0f);
    processor.setPlayHead (&tempo);
    processor.prepareToPlay (44100.0, 256);
    editor.reset (processor.createEditor());
    editor->setVisible (true);

    {
        // Host automation comes on the audio thread: depth and mix in every
        // block, the stereo switch and the chorus type now and then.
        AutomatingAudioThread audio (processor, [this] (int block)
        {
            processor.setParameter (depth, static_cast<float> (block % 100) / 100.0f);
            processor.setParameter (mix, static_cast<float> (block % 37) / 37.0f);
            processor.setParameter (stereo, (block / 50) % 2 == 0 ? 0.0f : 1.0f);

            if (block % 60 == 30)
                processor.setParameter (chorusType, static_cast<float> ((block / 60) % 3) * 0.5f);

            tempo.bpm = 90.0 + static_cast<double> (block % 40);
        });

        // Each click lands after the previous switch had time to take over.
        for (int round = 0; round < 12; ++round)
        {
            typeButton (1 + round % 3).triggerClick();
            pumpMessages (90);
        }

        EXPECT_TRUE (audio.playedOnlyFiniteSamples());
    }

    // The click arrives through the message loop.
    processor.setParameter (chorusType, 0.0f);
    typeButton (2).triggerClick();
    EXPECT_TRUE (modulix_test::pumpUntil ([this] { return processor.getParameter (chorusType) == 0.5f; },
                                          modulix_test::generousWaitMs));

    editor.reset();
    processor.setPlayHead (nullptr);
}
}
