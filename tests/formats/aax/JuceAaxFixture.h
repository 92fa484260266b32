// An instance of the AAX plug-in as the fake AAX host runs it: the effect
// parameters object initialised on an instance host, with or without the
// host's automation, and the audio callback's fields set up as a host does.
#pragma once

#include "FakeHostFixture.h"

#include "JuceAAX_Procedures.h"
#include "JuceAAX_Processor.h"
#include "ModulixQR7150AudioProcessor.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

/** One plug-in instance on its own instance host of the fixture's fake host. */
class AaxInstance
{
public:
    AaxInstance (FakeHost& host, bool withAutomation,
                 std::unique_ptr<juce::AudioProcessor> processor = nullptr)
        : instance (host.newInstanceHost()),
          effect (processor != nullptr ? new JuceAAX_Processor (std::move (processor)) : new JuceAAX_Processor())
    {
        if (! withAutomation)
            host.refuse (IID_IAAXAutomationDelegateV1);

        effect->AddRef();
        instance.effectParameters = effect;
        result = effect->Initialize (&instance);

        // The host sets up the processing side's private fields once per instance.
        effect->ResetFieldData (JuceAAX::pluginInstance, &pluginInstance, sizeof (pluginInstance));
        effect->ResetFieldData (JuceAAX::preparedFlag, &prepared, sizeof (prepared));
    }

    ~AaxInstance()
    {
        effect->Uninitialize();
        effect->Release();
    }

    AaxInstance (const AaxInstance&) = delete;
    AaxInstance& operator= (const AaxInstance&) = delete;

    ModulixQR7150AudioProcessor& processor()
    {
        return static_cast<ModulixQR7150AudioProcessor&> (effect->getPluginInstance());
    }

    double value (const char* id) const
    {
        double out = -1.0;
        effect->GetParameterNormalizedValue (id, &out);
        return out;
    }

    std::string text (const char* id) const
    {
        AAX_CString out;
        effect->GetParameterValueString (id, &out, 32);
        return out.Get();
    }

    /** The chunk as a host saves it: its size first, then the chunk. */
    std::vector<uint8_t> chunk (AAX_CTypeID id) const
    {
        uint32_t size = 0;
        EXPECT_EQ (effect->GetChunkSize (id, &size), AAX_SUCCESS);
        std::vector<uint8_t> bytes (AAX_SPlugInChunkHeaderSize + size);
        auto* header = static_cast<AAX_SPlugInChunk*> (static_cast<void*> (bytes.data()));
        header->fChunkID = id;
        EXPECT_EQ (effect->GetChunk (id, header), AAX_SUCCESS);
        EXPECT_EQ (header->fSize, static_cast<int32_t> (size));
        return bytes;
    }

    AAX_Result restore (std::vector<uint8_t> bytes)
    {
        auto* header = static_cast<AAX_SPlugInChunk*> (static_cast<void*> (bytes.data()));
        return effect->SetChunk (header->fChunkID, header);
    }

    /** Renders one block through the registered audio callback. */
    void render (std::vector<float>& left, std::vector<float>& right)
    {
        const float* inputs[] { left.data(), right.data() };
        float* outputs[] { left.data(), right.data() };
        const auto bufferSize = static_cast<int32_t> (left.size());
        const JuceAAX::AlgorithmContext context { inputs, outputs, &bufferSize, &bypassPacket, &pluginInstance,
                                                  &prepared, nullptr };
        void* const instances[] { const_cast<JuceAAX::AlgorithmContext*> (&context) };
        JuceAAX::ProcessAlgorithm (instances, instances + 1);
    }

    /** The host's processing side takes the latest bypass packet. */
    void deliverPackets()
    {
        for (const auto& packet : instance.controller.packets)
            if (packet.fieldIndex == JuceAAX::bypass && packet.bytes.size() == sizeof (bypassPacket))
                std::memcpy (&bypassPacket, packet.bytes.data(), sizeof (bypassPacket));
    }

    FakeInstanceHost& instance;
    JuceAAX_Processor* effect;
    AAX_Result result = AAX_SUCCESS;
    int32_t bypassPacket = 0;
    JuceAAX_Processor* pluginInstance = nullptr;
    int32_t prepared = 0;
};
