// What the AAX registration hands to the host for each instance: the creation
// procedures of the plug-in's AAX objects, the audio callback, and the fields
// of the algorithm context that the callback receives.
#pragma once

#include "AAX.h"

class AAX_IEffectParameters;
class AAX_IEffectGUI;
class JuceAAX_Processor;

namespace JuceAAX
{
    /** The fields every component descriptor declares, in this order. */
    enum Field : AAX_CFieldIndex
    {
        inputChannels    = 0,
        outputChannels   = 1,
        bufferSize       = 2,
        bypass           = 3,   ///< the master bypass packet, a 32-bit 0 or 1
        pluginInstance   = 4,   ///< private data: the instance's processor
        preparedFlag     = 5,   ///< private data: a 32-bit flag
        sideChainBuffers = 6
    };

    /** Packet ID of the master bypass: the field it arrives in. */
    constexpr int32_t bypassPacketID = bypass;

    /** What the host hands the audio callback per instance: one pointer per
        field, in field order. */
    struct AlgorithmContext
    {
        const float* const* inputChannels;
        float* const* outputChannels;
        const int32_t* bufferSize;
        const int32_t* bypass;                  ///< the latest bypass packet
        JuceAAX_Processor* const* pluginInstance; ///< written by the effect parameters' ResetFieldData
        const int32_t* preparedFlag;
        float* const* sideChainBuffers;
    };

    /** A new effect parameters object for one instance; the host owns it. */
    AAX_IEffectParameters* CreateEffectParameters();
    /** A new GUI object for one instance's editor; the host owns it. */
    AAX_IEffectGUI* CreateEffectGUI();
    /** The processing side: renders a run of instances' algorithm contexts. */
    void ProcessAlgorithm (void* const instancesBegin[], const void* instancesEnd);
}
