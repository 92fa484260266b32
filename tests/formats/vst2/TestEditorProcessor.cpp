// A stand-in processor for the window test: a stereo pass-through whose editor
// is a plain 325 x 454 component, the size of the plug-in's own editor.

#include <juce_audio_processors/juce_audio_processors.h>

namespace
{
    class TestEditor : public juce::AudioProcessorEditor
    {
    public:
        explicit TestEditor (juce::AudioProcessor& p) : juce::AudioProcessorEditor (p)  { setSize (325, 454); }
        void paint (juce::Graphics& g) override  { g.fillAll (juce::Colours::darkgrey); }
    };

    class TestEditorProcessor : public juce::AudioProcessor
    {
    public:
        TestEditorProcessor()
            : juce::AudioProcessor (BusesProperties().withInput ("Input", juce::AudioChannelSet::stereo(), true)
                                                     .withOutput ("Output", juce::AudioChannelSet::stereo(), true))
        {
        }

        const juce::String getName() const override                { return "Editor Test"; }
        void prepareToPlay (double, int) override {}
        void releaseResources() override {}
        void processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override {}
        double getTailLengthSeconds() const override               { return 0.0; }
        bool acceptsMidi() const override                          { return false; }
        bool producesMidi() const override                         { return false; }
        juce::AudioProcessorEditor* createEditor() override        { return new TestEditor (*this); }
        bool hasEditor() const override                            { return true; }
        int getNumPrograms() override                              { return 1; }
        int getCurrentProgram() override                           { return 0; }
        void setCurrentProgram (int) override {}
        const juce::String getProgramName (int) override           { return {}; }
        void changeProgramName (int, const juce::String&) override {}
        void getStateInformation (juce::MemoryBlock&) override {}
        void setStateInformation (const void*, int) override {}
    };
}

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new TestEditorProcessor();
}
