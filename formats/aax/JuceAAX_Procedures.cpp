// The procedures the registration hands to the host: the plug-in's effect
// parameters and GUI objects, and the audio callback of the processing side.
#include "JuceAAX_Procedures.h"

#include "JuceAAX_GUI.h"
#include "JuceAAX_Processor.h"

namespace JuceAAX
{
    AAX_IEffectParameters* CreateEffectParameters()
    {
        try
        {
            return new JuceAAX_Processor();
        }
        catch (...)
        {
            return nullptr;
        }
    }

    AAX_IEffectGUI* CreateEffectGUI()
    {
        try
        {
            return new JuceAAX_GUI();
        }
        catch (...)
        {
            return nullptr;
        }
    }

    void ProcessAlgorithm (void* const instancesBegin[], const void* instancesEnd)
    {
        for (auto* const* instance = instancesBegin; instance < instancesEnd; ++instance)
        {
            const auto& context = *static_cast<const AlgorithmContext*> (*instance);

            // An instance whose fields the host has not yet set up renders nothing;
            // one that could not be prepared renders silence.
            if (context.pluginInstance == nullptr || *context.pluginInstance == nullptr || context.bufferSize == nullptr)
                continue;

            const bool bypassed = context.bypass != nullptr && *context.bypass != 0;
            (*context.pluginInstance)->process (context.inputChannels, context.outputChannels,
                                                *context.bufferSize, bypassed);
        }
    }
}
