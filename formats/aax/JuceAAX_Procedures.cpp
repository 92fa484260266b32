// Until the plug-in's AAX classes (its effect parameters and GUI objects)
// exist, the host is offered the procedures but gets no objects from them,
// and the audio callback leaves the buffers as they are.
#include "JuceAAX_Procedures.h"

namespace JuceAAX
{
    AAX_IEffectParameters* CreateEffectParameters()
    {
        return nullptr;
    }

    AAX_IEffectGUI* CreateEffectGUI()
    {
        return nullptr;
    }

    void ProcessAlgorithm (void* const[], const void*)
    {
    }
}
