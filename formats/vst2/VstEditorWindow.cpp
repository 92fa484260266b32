#include "VstEditorWindow.h"

VstEditorWindow::VstEditorWindow (std::unique_ptr<juce::AudioProcessorEditor> e, void* parentWindow)
    : editor (std::move (e))
{
    setOpaque (true);
    addAndMakeVisible (*editor);
    setSize (editor->getWidth(), editor->getHeight());

    // The peer is created as a child of the host's window, so the host's own
    // window placement and lifetime apply to it.
    addToDesktop (0, parentWindow);
    setVisible (true);
}

VstEditorWindow::~VstEditorWindow()
{
    // The editor tells its processor it is going in its own destructor; take it
    // out of the window first so nothing repaints it half gone.
    removeChildComponent (editor.get());
    editor.reset();
    removeFromDesktop();
}

void VstEditorWindow::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black);
}
