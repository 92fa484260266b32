// The plug-in's GUI object: the processor's editor, inside the host's native view.
#pragma once

#include "AAX_CEffectGUI.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

class JuceAAX_GUI : public AAX_CEffectGUI
{
public:
    JuceAAX_GUI();
    /** Deletes the editor, if it still exists. */
    ~JuceAAX_GUI() override;

    /** Deletes the editor before the effect parameters, whose processor it shows, are let go. */
    AAX_Result Uninitialize() override;
    /** The editor's size; -20004 while there is none. */
    AAX_Result GetViewSize (AAX_Point* size) const override;
    AAX_Result ParameterUpdated (AAX_CParamID id) override;
    AAX_Result SetControlHighlightInfo (AAX_CParamID id, AAX_CBoolean highlighted, AAX_EHighlightColor colour) override;

    /** The component holding the editor, or null. */
    juce::Component* getContentComponent() const noexcept;

protected:
    /** Has the processor create its editor, once; a processor without one leaves no view. */
    void CreateViewContents() override;
    /** Shows the editor in the host's native view. */
    void CreateViewContainer() override;
    /** Takes the editor off the screen and deletes it. */
    void DeleteViewContainer() override;

private:
    class ContentWrapperComponent;

    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    std::unique_ptr<ContentWrapperComponent> component;
};
