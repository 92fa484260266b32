// The plug-in's GUI object: the processor's editor, inside the host's native view.
#pragma once

#include "AAX_CEffectGUI.h"
#include "JuceAAX_SharedJuce.h"

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

    /** The component holding the editor, or null. Lock the message manager while using it. */
    juce::Component* getContentComponent() const noexcept;

protected:
    /** Has the processor create its editor, once. A processor without one, or
        whose editor another GUI object already shows, leaves no view. */
    void CreateViewContents() override;
    /** Shows the editor in the host's native view, taking it out of any view it was in. */
    void CreateViewContainer() override;
    /** Takes the editor off the screen and deletes it. */
    void DeleteViewContainer() override;

private:
    class ContentWrapperComponent;

    /** Takes the editor off the screen and deletes it, with the message manager locked. */
    void deleteContents();

    // Declared first, so JUCE and its message thread outlive the editor.
    JuceAAX_SharedJuce sharedJuce;
    std::unique_ptr<ContentWrapperComponent> component;
};
