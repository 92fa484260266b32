#pragma once

#include "ProcessorTestRig.h"

#include <array>
#include <utility>
#include <vector>

namespace modulix_test
{

using Processor = ModulixQR7150AudioProcessor;
using Attributes = std::vector<std::pair<juce::String, juce::String>>;
using Setting = std::array<float, Processor::numParameters>;

/** The attributes of an element, by position. */
inline Attributes attributesOf (const juce::XmlElement& element)
{
    Attributes result;

    for (int i = 0; i < element.getNumAttributes(); ++i)
        result.emplace_back (element.getAttributeName (i), element.getAttributeValue (i));

    return result;
}

/** The child elements of an element, text left out. */
inline std::vector<juce::XmlElement*> childrenOf (const juce::XmlElement& element)
{
    std::vector<juce::XmlElement*> result;

    for (auto* child : element.getChildIterator())
        if (! child->isTextElement())
            result.push_back (child);

    return result;
}

/** One Value element as the writers give it. */
struct ValueRow
{
    const char* property;
    const char* type;
    const char* text;
};

/** The Values of a fresh processor's setting, with the switches typed as booleans. */
inline std::vector<ValueRow> freshValueRows()
{
    return { { "onBypass", "boolean", "true" },    { "chorusType", "number", "0" },
             { "rate", "number", "0.20000" },      { "rateSync", "number", "3" },
             { "depth", "number", "0.20000" },     { "mix", "number", "0.50000" },
             { "level", "number", "0.50000" },     { "stereo", "boolean", "false" },
             { "sync", "boolean", "false" } };
}

inline void expectValues (const juce::XmlElement& parent, const std::vector<ValueRow>& rows)
{
    const auto values = childrenOf (parent);
    ASSERT_EQ (values.size(), rows.size());

    for (size_t k = 0; k < rows.size(); ++k)
    {
        SCOPED_TRACE (rows[k].property);
        EXPECT_EQ (values[k]->getTagName(), "Value");
        EXPECT_EQ (attributesOf (*values[k]), (Attributes { { "property", rows[k].property }, { "type", rows[k].type } }));
        EXPECT_EQ (values[k]->getAllSubText(), juce::String (rows[k].text));
    }
}

inline std::unique_ptr<juce::XmlElement> copyOf (const juce::XmlElement& xml)
{
    return std::make_unique<juce::XmlElement> (xml);
}

/** A Value element with any property and text. */
inline juce::XmlElement* makeValue (const juce::String& property, const juce::String& text)
{
    auto* value = new juce::XmlElement ("Value");
    value->setAttribute ("property", property);
    value->setAttribute ("type", "number");
    value->addTextElement (text);
    return value;
}

inline juce::MemoryBlock bankStateOf (Processor& p)
{
    juce::MemoryBlock block;
    p.getStateInformation (block);
    return block;
}

inline juce::MemoryBlock currentProgramStateOf (Processor& p)
{
    juce::MemoryBlock block;
    p.getCurrentProgramStateInformation (block);
    return block;
}

/** Magic, a byte count and the text with its zero byte, the count given separately. */
inline juce::MemoryBlock packWithCount (const juce::MemoryBlock& text, juce::uint32 count)
{
    juce::MemoryBlock block;
    juce::MemoryOutputStream out (block, false);
    out.write ("VC2!", 4);
    out.writeInt ((int) count);
    out.write (text.getData(), text.getSize());
    out.writeByte (0);
    return block;
}

inline juce::MemoryBlock pack (const juce::String& text)
{
    const juce::MemoryBlock bytes (text.toRawUTF8(), text.getNumBytesAsUTF8());
    return packWithCount (bytes, (juce::uint32) bytes.getSize());
}

inline Setting settingOf (const ProgramSlot& slot, int setting)
{
    Setting result;
    std::copy (std::begin (slot.values[setting]), std::end (slot.values[setting]), result.begin());
    return result;
}

inline void storeSetting (ProgramSlot& slot, int setting, const Setting& values)
{
    std::copy (values.begin(), values.end(), slot.values[setting]);
}

inline Setting liveSettingOf (Processor& p)
{
    Setting result;

    for (int k = 0; k < Processor::numParameters; ++k)
        result[(size_t) k] = p.getParameter (k);

    return result;
}

inline void setLiveSetting (Processor& p, const Setting& values)
{
    for (int k = 0; k < Processor::numParameters; ++k)
        p.setParameter (k, values[(size_t) k]);
}

inline Setting defaultSetting()
{
    return { 1.0f, 0.0f, 0.2f, 1.0f / 6.0f, 0.2f, 0.5f, 0.5f, 0.0f, 0.0f };
}

/** Checks the root, the "DeviceName" child and the "Properties" attributes that
    every document of ours starts with; returns "Properties", or null when the
    document has another shape. */
inline const juce::XmlElement* expectPatchHeader (const juce::XmlElement& root, const Attributes& identityExtra)
{
    EXPECT_EQ (root.getTagName(), "veloraPatch");
    EXPECT_EQ (attributesOf (root), (Attributes { { "version", "1.0" } }));

    const auto children = childrenOf (root);
    EXPECT_EQ (children.size(), 2u);

    if (children.size() != 2)
        return nullptr;

    EXPECT_EQ (children[0]->getTagName(), "DeviceName");
    EXPECT_EQ (children[0]->getAllSubText(), "Modulix QR7150");
    EXPECT_EQ (children[1]->getTagName(), "Properties");

    Attributes identity { { "deviceProductID", "com.velora.ModulixQR7150" },
                          { "deviceVersion", "1.0.1" },
                          { "presetVersion", "1.0" } };
    identity.insert (identity.end(), identityExtra.begin(), identityExtra.end());
    EXPECT_EQ (attributesOf (*children[1]), identity);
    return children[1];
}

inline juce::XmlElement& propertiesOf (juce::XmlElement& root)
{
    return *root.getChildByName ("Properties");
}

/** A setting unlike the defaults, with values that survive the formats' rounding. */
inline Setting someSetting()
{
    return { 0.0f, 1.0f, 0.625f, 0.5f, 0.75f, 0.25f, 0.875f, 1.0f, 1.0f };
}

/** Records the host notifications of parameter changes. */
struct HostLog : juce::AudioProcessorListener
{
    explicit HostLog (Processor& p) : processor (p)   { processor.addListener (this); }
    ~HostLog() override                               { processor.removeListener (this); }

    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override
    {
        changes.emplace_back (index, value);
    }

    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}

    /** The last nine values the host received, when they came in index order. */
    Setting lastSetting() const
    {
        Setting result {};

        if (changes.size() < result.size())
        {
            ADD_FAILURE() << "the host received " << changes.size() << " changes";
            return result;
        }

        const auto first = changes.size() - (size_t) Processor::numParameters;

        for (size_t k = 0; k < result.size(); ++k)
        {
            EXPECT_EQ (changes[first + k].first, (int) k);
            result[k] = changes[first + k].second;
        }

        return result;
    }

    Processor& processor;
    std::vector<std::pair<int, float>> changes;
};

} // namespace modulix_test
