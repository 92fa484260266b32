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
JuceAAX_GUI::JuceAAX_GUI() = default;

JuceAAX_GUI::~JuceAAX_GUI()
{
    component.reset();
}

AAX_Result JuceAAX_GUI::Uninitialize()
{
    component.reset();
    return AAX_CEffectGUI::Uninitialize();
}

juce::Component* JuceAAX_GUI::getContentComponent() const noexcept
{
    return component.get();
}

void JuceAAX_GUI::CreateViewContents()
{
    if (component != nullptr)
        return;

    auto* owner = dynamic_cast<JuceAAX_Processor*> (GetEffectParameters());

    if (owner == nullptr)
        return;

    if (auto* editor = owner->getPluginInstance().createEditorIfNeeded())
        component = std::make_unique<ContentWrapperComponent> (std::unique_ptr<juce::AudioProcessorEditor> (editor));
}

void JuceAAX_GUI::CreateViewContainer()
{
    CreateViewContents();
    auto* nativeView = GetViewContainerPtr();

    if (component == nullptr || nativeView == nullptr || GetViewContainerType() != AAX_eViewContainer_Type_Native)
        return;

    component->setVisible (true);
    component->addToDesktop (0, nativeView);
}

void JuceAAX_GUI::DeleteViewContainer()
{
    if (component != nullptr)
        component->removeFromDesktop();

    component.reset();
}

AAX_Result JuceAAX_GUI::GetViewSize (AAX_Point* size) const
{
    if (component == nullptr)
        return AAX_ERROR_NULL_OBJECT;

    size->horz = static_cast<float> (component->getWidth());
    size->vert = static_cast<float> (component->getHeight());
    return AAX_SUCCESS;
}

AAX_Result JuceAAX_GUI::ParameterUpdated (AAX_CParamID)
{
    return AAX_SUCCESS;
}

AAX_Result JuceAAX_GUI::SetControlHighlightInfo (AAX_CParamID, AAX_CBoolean, AAX_EHighlightColor)
{
    return AAX_SUCCESS;
}
