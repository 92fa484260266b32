#include "JuceAAX_GUI.h"

#include "JuceAAX_Processor.h"

/** Holds the processor's editor at the editor's size. */
class JuceAAX_GUI::ContentWrapperComponent final : public juce::Component
{
public:
    explicit ContentWrapperComponent (std::unique_ptr<juce::AudioProcessorEditor> editorToShow)
        : editor (std::move (editorToShow))
    {
        setOpaque (true);
        addAndMakeVisible (*editor);
        setSize (editor->getWidth(), editor->getHeight());
    }

    /** The editor tells its processor that it goes (AudioProcessorEditor's destructor). */
    ~ContentWrapperComponent() override = default;

    void paint (juce::Graphics& g) override  { g.fillAll (juce::Colours::black); }

    void childBoundsChanged (juce::Component* child) override
    {
        if (child == editor.get())
            setSize (editor->getWidth(), editor->getHeight());
    }

private:
    std::unique_ptr<juce::AudioProcessorEditor> editor;
};

//==============================================================================
// JUCE's message thread runs the editor's timers and repaints; every host call
// that builds, shows or deletes it first locks the message manager.
JuceAAX_GUI::JuceAAX_GUI() = default;

JuceAAX_GUI::~JuceAAX_GUI()
{
    deleteContents();
}

AAX_Result JuceAAX_GUI::Uninitialize()
{
    deleteContents();
    return AAX_CEffectGUI::Uninitialize();
}

juce::Component* JuceAAX_GUI::getContentComponent() const noexcept
{
    return component.get();
}

void JuceAAX_GUI::CreateViewContents()
{
    const juce::MessageManagerLock lock;

    if (component != nullptr)
        return;

    auto* owner = dynamic_cast<JuceAAX_Processor*> (GetEffectParameters());

    if (owner == nullptr)
        return;

    // A processor has one editor at a time: it belongs to the GUI object that
    // made it, and any other GUI object of the instance stays without a view.
    auto& processor = owner->getPluginInstance();

    if (processor.getActiveEditor() != nullptr)
        return;

    if (auto* editor = processor.createEditorIfNeeded())
        component = std::make_unique<ContentWrapperComponent> (std::unique_ptr<juce::AudioProcessorEditor> (editor));
}

void JuceAAX_GUI::CreateViewContainer()
{
    const juce::MessageManagerLock lock;
    CreateViewContents();

    if (component == nullptr)
        return;

    // A new container replaces the previous one, also without a clear in between:
    // the editor leaves the old window before the host can destroy it.
    component->removeFromDesktop();
    auto* nativeView = GetViewContainerPtr();

    if (nativeView == nullptr || GetViewContainerType() != AAX_eViewContainer_Type_Native)
        return;

    component->setVisible (true);
    component->addToDesktop (0, nativeView);
}

void JuceAAX_GUI::DeleteViewContainer()
{
    deleteContents();
}

void JuceAAX_GUI::deleteContents()
{
    if (component == nullptr)
        return;

    const juce::MessageManagerLock lock;
    component->removeFromDesktop();
    component.reset();
}

AAX_Result JuceAAX_GUI::GetViewSize (AAX_Point* size) const
{
    const juce::MessageManagerLock lock;

    if (component == nullptr)
        return AAX_ERROR_NULL_OBJECT;

    size->horz = static_cast<float> (component->getWidth());
    size->vert = static_cast<float> (component->getHeight());
    return AAX_SUCCESS;
}
