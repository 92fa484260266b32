// Describes the plug-in to an AAX host: one effect, with one processing
// component per main-bus layout that the processor supports.
#include "JuceAAX_Procedures.h"
#include "JuceAAX_SharedJuce.h"

#include "AAX_ICollection.h"
#include "AAX_IComponentDescriptor.h"
#include "AAX_IEffectDescriptor.h"
#include "AAX_IPropertyMap.h"
#include "AAX_Init.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>
#include <optional>


namespace
{
    constexpr const char* effectID = "com.velora.ModulixQR7150";
    constexpr const char* manufacturerName = "Velora";
    constexpr const char* shortName = "QR7150";
    constexpr const char* fullName = "Modulix QR7150";
    constexpr uint32_t versionCode = 0x10001;
    constexpr AAX_CTypeID manufacturerCode = AAX_MakeTypeID ('V', 'L', 'R', '_');
    constexpr AAX_CTypeID productCode = AAX_MakeTypeID ('V', 'q', 'r', '7');

    // Mono and stereo, in the order the host is offered them.
    const juce::AudioChannelSet mainBusFormats[] { juce::AudioChannelSet::mono(), juce::AudioChannelSet::stereo() };

    AAX_EStemFormat stemFormatOf (const juce::AudioChannelSet& set)
    {
        if (set == juce::AudioChannelSet::mono())
            return AAX_eStemFormat_Mono;

        if (set == juce::AudioChannelSet::stereo())
            return AAX_eStemFormat_Stereo;

        return AAX_eStemFormat_None;
    }

    void addProperties (AAX_IPropertyMap& properties, const juce::AudioProcessor& processor,
                        const juce::AudioProcessor::BusesLayout& layout)
    {
        const auto in = layout.getMainInputChannelSet();
        const auto out = layout.getMainOutputChannelSet();

        properties.AddProperty (AAX_eProperty_ManufacturerID, static_cast<AAX_CPropertyValue> (manufacturerCode));
        properties.AddProperty (AAX_eProperty_ProductID, static_cast<AAX_CPropertyValue> (productCode));
        properties.AddProperty (AAX_eProperty_CanBypass, 1);
        properties.AddProperty (AAX_eProperty_InputStemFormat, stemFormatOf (in));
        properties.AddProperty (AAX_eProperty_OutputStemFormat, stemFormatOf (out));
        properties.AddProperty (AAX_eProperty_PlugInID_Native, processor.getAAXPluginIDForMainBusConfig (in, out, false));
        properties.AddProperty (AAX_eProperty_PlugInID_AudioSuite, processor.getAAXPluginIDForMainBusConfig (in, out, true));
        properties.AddProperty (AAX_eProperty_Constraint_MultiMonoSupport, 1);
    }

    /** Side chain and extra outputs, for a processor that has buses beyond the main ones. */
    void addExtraBuses (AAX_IComponentDescriptor& component, AAX_IPropertyMap& properties,
                        const juce::AudioProcessor& processor, const juce::AudioProcessor::BusesLayout& layout)
    {
        if (! layout.getChannelSet (true, 1).isDisabled())
        {
            component.AddSideChainIn (JuceAAX::sideChainBuffers);
            properties.AddProperty (AAX_eProperty_SupportsSideChainInput, 1);
        }

        for (int bus = 1; bus < layout.outputBuses.size(); ++bus)
        {
            const auto format = stemFormatOf (layout.getChannelSet (false, bus));

            if (format != AAX_eStemFormat_None)
                component.AddAuxOutputStem (0, format, processor.getBus (false, bus)->getName().toRawUTF8());
        }
    }

    void describeComponent (AAX_IComponentDescriptor& component, const juce::AudioProcessor& processor,
                            const juce::AudioProcessor::BusesLayout& layout)
    {
        component.AddAudioIn (JuceAAX::inputChannels);
        component.AddAudioOut (JuceAAX::outputChannels);
        component.AddAudioBufferLength (JuceAAX::bufferSize);
        component.AddDataInPort (JuceAAX::bypass, sizeof (int32_t), AAX_eDataInPortType_Buffered);
        component.AddPrivateData (JuceAAX::pluginInstance, static_cast<int32_t> (sizeof (void*)), 0);
        component.AddPrivateData (JuceAAX::preparedFlag, static_cast<int32_t> (sizeof (int32_t)), 0);

        if (auto* properties = component.NewPropertyMap())
        {
            addProperties (*properties, processor, layout);
            addExtraBuses (component, *properties, processor, layout);
            component.AddProcessProc_Native (JuceAAX::ProcessAlgorithm, properties, nullptr, nullptr, nullptr);
        }
    }

    /** The processor's current layout with the main buses replaced, or nothing
        when the processor does not support that pair. */
    std::optional<juce::AudioProcessor::BusesLayout> layoutWithMainBuses (const juce::AudioProcessor& processor,
                                                                          const juce::AudioChannelSet& in,
                                                                          const juce::AudioChannelSet& out)
    {
        auto layout = processor.getBusesLayout();

        if (layout.inputBuses.isEmpty() || layout.outputBuses.isEmpty())
            return std::nullopt;

        layout.inputBuses.getReference (0) = in;
        layout.outputBuses.getReference (0) = out;

        if (! processor.checkBusesLayoutSupported (layout))
            return std::nullopt;

        return layout;
    }

    /** Deletes a processor with the message thread held, so that none of its
        timers runs while it goes. */
    struct DeleteWithMessageThreadHeld
    {
        void operator() (juce::AudioProcessor* processor) const
        {
            const juce::MessageManagerLock lock;
            delete processor;
        }
    };

    void describeEffect (AAX_IEffectDescriptor& descriptor)
    {
        // A temporary processor tells which layouts the effect supports.
        const std::unique_ptr<juce::AudioProcessor, DeleteWithMessageThreadHeld> processor (
            JuceAAX_SharedJuce::createProcessor().release());

        descriptor.AddName (shortName);
        descriptor.AddName (fullName);
        descriptor.AddCategory (AAX_ePlugInCategory_Modulation);
        descriptor.AddProcPtr (reinterpret_cast<void*> (JuceAAX::CreateEffectGUI), kAAX_ProcPtrID_Create_EffectGUI);
        descriptor.AddProcPtr (reinterpret_cast<void*> (JuceAAX::CreateEffectParameters),
                               kAAX_ProcPtrID_Create_EffectParameters);

        for (const auto& in : mainBusFormats)
        {
            for (const auto& out : mainBusFormats)
            {
                const auto layout = layoutWithMainBuses (*processor, in, out);

                if (! layout.has_value())
                    continue;

                if (auto* component = descriptor.NewComponentDescriptor())
                {
                    describeComponent (*component, *processor, *layout);
                    descriptor.AddComponent (component);
                }
            }
        }
    }
}

AAX_Result GetEffectDescriptions (AAX_ICollection* collection)
{
    const JuceAAX_SharedJuce sharedJuce;
    auto* descriptor = collection->NewDescriptor();

    if (descriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;

    describeEffect (*descriptor);

    collection->AddEffect (effectID, descriptor);
    collection->SetManufacturerName (manufacturerName);
    collection->AddPackageName (shortName);
    collection->AddPackageName (fullName);
    collection->SetPackageVersion (versionCode);
    return AAX_SUCCESS;
}
