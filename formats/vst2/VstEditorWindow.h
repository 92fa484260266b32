#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

/** The plug-in's editor inside the window a VST2 host hands over (an X11
    window id on Linux): a desktop component created as a child of that window,
    sized to the editor. Create and delete it on JUCE's message thread. */
class VstEditorWindow : public juce::Component
{
public:
    /** Takes the editor and shows it inside parentWindow. */
    VstEditorWindow (std::unique_ptr<juce::AudioProcessorEditor> editor, void* parentWindow);
    ~VstEditorWindow() override;

    void paint (juce::Graphics& g) override;

private:
    std::unique_ptr<juce::AudioProcessorEditor> editor;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VstEditorWindow)
};
