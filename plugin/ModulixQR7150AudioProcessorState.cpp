#include "ModulixQR7150AudioProcessor.h"
#include "ModulixQR7150PatchXml.h"
#include "RateSyncSteps.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace
{
    using Processor = ModulixQR7150AudioProcessor;

    const char* const rootTag       = ModulixQR7150PatchXml::rootTag;
    const char* const propertiesTag = ModulixQR7150PatchXml::propertiesTag;
    const char* const productId     = ModulixQR7150PatchXml::productId;

    constexpr juce::uint32 stateMagic = 0x21324356; // "VC2!" read as a little-endian word
    constexpr size_t stateHeaderBytes = 8;          // magic, then the text's byte count
    constexpr float compareThreshold = 1.0e-5f;

    enum class Coding { onOff, chorusType, rateSync, plain };

    Coding codingOf (int k) noexcept
    {
        switch (k)
        {
            case Processor::bypassIndex:
            case Processor::stereoIndex:
            case Processor::syncIndex:     return Coding::onOff;
            case Processor::typeIndex:     return Coding::chorusType;
            case Processor::rateSyncIndex: return Coding::rateSync;
            default:            return Coding::plain;
        }
    }

    // Values name their parameter by their first attribute, exactly.
    int parameterIndexOf (const juce::String& id) noexcept
    {
        for (int k = 0; k < Processor::numParameters; ++k)
            if (id == Processor::parameterIds[k])
                return k;

        return -1;
    }

    bool isValidSetting (int setting) noexcept  { return setting >= 0 && setting < ProgramSlot::numSettings; }
    bool isValidProgram (int program) noexcept  { return program >= 0 && program < Processor::numProgramSlots; }

    bool hasTag (const juce::XmlElement& element, const char* tag)
    {
        return element.getTagName() == tag;
    }

    // getIntValue, saturating instead of overflowing on texts beyond the int range.
    int readInteger (const juce::String& text) noexcept
    {
        auto p = text.getCharPointer().findEndOfWhitespace();
        const bool negative = *p == '-';

        if (negative)
            ++p;

        juce::int64 value = 0;

        for (; p.isDigit() && value <= std::numeric_limits<int>::max(); ++p)
            value = value * 10 + (*p - '0');

        return (int) juce::jlimit<juce::int64> (std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max(),
                                                negative ? -value : value);
    }

    // getDoubleValue, except that an exponent of ten or more digits, which would
    // overflow its int, settles the magnitude here: infinite or zero.
    double readNumber (const juce::String& text) noexcept
    {
        auto p = text.getCharPointer().findEndOfWhitespace();
        const bool negative = *p == '-';

        if (negative || *p == '+')
            ++p;

        bool hasDigits = false;

        for (bool hasPoint = false; p.isDigit() || (*p == '.' && ! hasPoint); ++p)
        {
            hasDigits = hasDigits || p.isDigit();
            hasPoint = hasPoint || *p == '.';
        }

        if (hasDigits && (*p == 'e' || *p == 'E'))
        {
            const bool negativeExponent = *++p == '-';

            if (negativeExponent || *p == '+')
                ++p;

            while (*p == '0')
                ++p;

            int numDigits = 0;

            for (; p.isDigit(); ++p)
                ++numDigits;

            if (numDigits >= 10)
                return negativeExponent ? 0.0 : (negative ? -1.0 : 1.0) * std::numeric_limits<double>::infinity();
        }

        return text.getDoubleValue();
    }

    float readFloat (const juce::String& text) noexcept
    {
        constexpr auto largest = (double) std::numeric_limits<float>::max();
        return (float) juce::jlimit (-largest, largest, readNumber (text));
    }

    // NaN and anything at or below zero become 0.
    float limitToUnitRange (float value) noexcept
    {
        return value > 0.0f ? std::min (value, 1.0f) : 0.0f;
    }

    float decodeValue (int k, const juce::String& text)
    {
        switch (codingOf (k))
        {
            case Coding::onOff:      return text.trim() == "true" ? 1.0f : 0.0f;
            case Coding::chorusType: return limitToUnitRange (readFloat (text) * 0.5f);
            case Coding::rateSync:   return limitToUnitRange (readFloat (text) / 18.0f);
            case Coding::plain:      break;
        }

        return limitToUnitRange (readFloat (text));
    }

    juce::String encodeValue (int k, float value)
    {
        switch (codingOf (k))
        {
            case Coding::onOff:      return value > 0.0f ? "true" : "false";
            case Coding::chorusType: return juce::String ((double) std::ceil (2.0f * value), 0);
            case Coding::rateSync:   return juce::String (RateSyncSteps::getStep (value));
            case Coding::plain:      break;
        }

        return juce::String (value, 5);
    }

    // The current-program state types the stereo and sync switches as numbers.
    bool isBooleanValue (int k, bool isCurrentProgramState) noexcept
    {
        return codingOf (k) == Coding::onOff && ! (isCurrentProgramState && k != Processor::bypassIndex);
    }

    /** Calls visit (k, value) for first and each following sibling that decodes as a Value. */
    template <typename Visitor>
    void forEachValue (const juce::XmlElement* first, Visitor&& visit)
    {
        for (auto* e = first; e != nullptr; e = e->getNextElement())
        {
            const int k = parameterIndexOf (e->getAttributeValue (0));

            if (k >= 0)
                visit (k, decodeValue (k, e->getAllSubText()));
        }
    }

    /** Calls visit (element, position) for the first maxCount child elements (text is no element). */
    template <typename Visitor>
    void forEachChildElement (const juce::XmlElement& parent, int maxCount, Visitor&& visit)
    {
        int position = 0;

        for (auto* child : parent.getChildIterator())
        {
            if (child->isTextElement())
                continue;

            if (position == maxCount)
                return;

            visit (*child, position++);
        }
    }

    const juce::XmlElement* findChild (const juce::XmlElement& parent, const char* tag)
    {
        for (auto* child : parent.getChildIterator())
            if (hasTag (*child, tag))
                return child;

        return nullptr;
    }

    //==============================================================================
    juce::XmlElement createRoot()
    {
        juce::XmlElement root (rootTag);
        root.setAttribute ("version", "1.0");
        root.createNewChildElement ("DeviceName")->addTextElement ("Modulix QR7150");
        return root;
    }

    juce::XmlElement& addProperties (juce::XmlElement& root)
    {
        auto& properties = *root.createNewChildElement (propertiesTag);
        properties.setAttribute ("deviceProductID", productId);
        properties.setAttribute ("deviceVersion", "1.0.1");
        properties.setAttribute ("presetVersion", "1.0");
        return properties;
    }

    /** The names and texts every value repeats, made once: a bank holds hundreds
        of values, and making each text again is most of writing one. */
    struct ValueTexts
    {
        ValueTexts()
        {
            for (int k = 0; k < Processor::numParameters; ++k)
                parameterIds[k] = Processor::parameterIds[k];
        }

        const juce::Identifier tag { "Value" }, property { "property" }, type { "type" };
        const juce::String boolean { "boolean" }, number { "number" };
        juce::String parameterIds[Processor::numParameters];
    };

    const ValueTexts& valueTexts()
    {
        static const ValueTexts texts;
        return texts;
    }

    template <typename Value>
    void addValues (juce::XmlElement& parent, const Value* values, bool isCurrentProgramState)
    {
        const auto& texts = valueTexts();

        for (int k = 0; k < Processor::numParameters; ++k)
        {
            auto* value = new juce::XmlElement (texts.tag);
            parent.addChildElement (value);
            value->setAttribute (texts.property, texts.parameterIds[k]);
            value->setAttribute (texts.type, isBooleanValue (k, isCurrentProgramState) ? texts.boolean : texts.number);
            value->addTextElement (encodeValue (k, values[k]));
        }
    }

    void addChannel (juce::XmlElement& parent, const ProgramSlot& slot, int setting, bool isCurrentProgramState)
    {
        auto* channel = parent.createNewChildElement ("Channel");
        channel->setAttribute ("channel", setting);
        channel->setAttribute ("presetPath", slot.presetPath[setting]);
        addValues (*channel, slot.values[setting], isCurrentProgramState);
    }

    //==============================================================================
    // One line without XML declaration, behind the magic and the text's byte count,
    // then a zero byte.
    void packState (const juce::XmlElement& xml, juce::MemoryBlock& destData)
    {
        const auto text = xml.toString (juce::XmlElement::TextFormat().singleLine().withoutHeader());
        const auto numTextBytes = text.getNumBytesAsUTF8();

        juce::MemoryOutputStream out (destData, false);
        out.writeInt ((int) stateMagic);
        out.writeInt ((int) numTextBytes);
        out.write (text.toRawUTF8(), numTextBytes);
        out.writeByte (0);
    }

    // As juce::AudioProcessor::getXmlFromBinary reads it: a byte count that is not
    // positive gives nothing, one reaching beyond the block ends at the block's end.
    std::unique_ptr<juce::XmlElement> unpackState (const void* data, int sizeInBytes)
    {
        if (data == nullptr || sizeInBytes <= (int) stateHeaderBytes)
            return {};

        const auto* bytes = static_cast<const char*> (data);
        const auto numTextBytes = (int) juce::ByteOrder::littleEndianInt (bytes + 4);

        if (juce::ByteOrder::littleEndianInt (bytes) != stateMagic || numTextBytes <= 0)
            return {};

        return ModulixQR7150PatchXml::parse (bytes + stateHeaderBytes,
                                             (size_t) std::min (numTextBytes, sizeInBytes - (int) stateHeaderBytes));
    }

    //==============================================================================
    // A path longer than a file system takes (4096 bytes in all, 255 per name)
    // names no file; such a path is refused as a missing one is. The editor
    // paints the name of this text, so it must stay short.
    juce::String readPresetPath (const juce::XmlElement& channel)
    {
        constexpr size_t maxPathBytes = 4096, maxNameBytes = 255;
        const auto path = channel.getAttributeValue (1);

        if (path.getNumBytesAsUTF8() > maxPathBytes)
            return {};

        juce::StringArray names;
        names.addTokens (path, "/\\", {});

        for (const auto& name : names)
            if (name.getNumBytesAsUTF8() > maxNameBytes)
                return {};

        return path;
    }

    //==============================================================================
    struct Selection
    {
        int program = 0, setting = 0;
    };

    // Programs and settings are taken by position; elements beyond the bank, and
    // active-setting numbers other than 0 and 1, are ignored.
    Selection readBankPrograms (Processor& processor, const juce::XmlElement& properties)
    {
        const int activePreset = readInteger (properties.getAttributeValue (3));
        Selection found;

        forEachChildElement (properties, Processor::numProgramSlots, [&] (juce::XmlElement& preset, int i)
        {
            auto& slot = processor.programs[i];
            const int activeChannel = readInteger (preset.getAttributeValue (1));

            if (isValidSetting (activeChannel))
                slot.activeChannel = activeChannel;

            forEachChildElement (preset, ProgramSlot::numSettings, [&] (juce::XmlElement& channel, int j)
            {
                slot.presetPath[j] = readPresetPath (channel);

                if (i == activePreset && j == activeChannel)
                    found = { i, j };

                processor.storePresetElement (channel.getFirstChildElement(), i, j);
            });
        });

        return found;
    }

    bool hasChildElement (const juce::XmlElement& parent)
    {
        for (auto* child : parent.getChildIterator())
            if (! child->isTextElement())
                return true;

        return false;
    }

    // The bank and its selection come from the first "Properties" element,
    // wherever it stands (a second one is ignored, as getChildByName finds only
    // the first); without one, any element makes program 0 with setting A
    // current. The bank is applied whole under its lock; the host hears of the
    // program left current only after the lock is let go.
    void readBank (Processor& processor, const juce::XmlElement& root, juce::CriticalSection& bankLock)
    {
        if (! hasTag (root, rootTag) || ! hasChildElement (root))
            return;

        const auto* properties = findChild (root, propertiesTag);
        Selection found;

        {
            const juce::ScopedLock bank (bankLock);

            if (properties != nullptr)
                found = readBankPrograms (processor, *properties);

            processor.currentProgram = found.program;
            processor.programs[found.program].activeChannel = found.setting;
        }

        processor.setCurrentProgram (found.program);
    }

    int readPresetFile (Processor& processor, const juce::XmlElement& root)
    {
        const auto* properties = hasTag (root, rootTag) ? findChild (root, propertiesTag) : nullptr;

        if (properties == nullptr)
            return 0;

        if (properties->getAttributeValue (0) != productId)
            return 2;

        processor.readPresetElement (properties->getFirstChildElement());
        return readNumber (properties->getAttributeValue (2)) > 1.0 ? 4 : 1;
    }
}

//==============================================================================
void ModulixQR7150AudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    packState (writePreset (false), destData);
}

void ModulixQR7150AudioProcessor::getCurrentProgramStateInformation (juce::MemoryBlock& destData)
{
    packState (writeCurrentProgram(), destData);
}

void ModulixQR7150AudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    takeStateInformation (data, sizeInBytes);
}

bool ModulixQR7150AudioProcessor::takeStateInformation (const void* data, int sizeInBytes)
{
    stateXml = unpackState (data, sizeInBytes);

    if (stateXml == nullptr || ! hasTag (*stateXml, rootTag))
    {
        stateXml.reset();
        return false;
    }

    readPreset (std::move (stateXml), false);
    return true;
}

void ModulixQR7150AudioProcessor::setCurrentProgramStateInformation (const void* data, int sizeInBytes)
{
    stateXml = unpackState (data, sizeInBytes);

    if (stateXml != nullptr)
        readCurrentProgram (std::move (stateXml));
}

//==============================================================================
juce::XmlElement ModulixQR7150AudioProcessor::writePreset (bool asPresetFile)
{
    const juce::ScopedLock bank (bankLock);
    auto root = createRoot();
    auto& properties = addProperties (root);

    if (asPresetFile)
    {
        float setting[numParameters];

        for (int k = 0; k < numParameters; ++k)
            setting[k] = getParameter (k);

        addValues (properties, setting, false);
        return root;
    }

    properties.setAttribute ("activePreset", getCurrentProgram());

    for (int i = 0; i < numProgramSlots; ++i)
    {
        auto* preset = properties.createNewChildElement ("Preset");
        preset->setAttribute ("preset", i);
        preset->setAttribute ("activeChannel", programs[i].activeChannel.load());

        for (int j = 0; j < ProgramSlot::numSettings; ++j)
            addChannel (*preset, programs[i], j, false);
    }

    return root;
}

int ModulixQR7150AudioProcessor::readPreset (std::unique_ptr<juce::XmlElement> xml, bool asPresetFile)
{
    if (xml == nullptr)
        return 0;

    if (asPresetFile)
        return readPresetFile (*this, *xml);

    readBank (*this, *xml, bankLock);
    return 5;
}

juce::XmlElement ModulixQR7150AudioProcessor::writeCurrentProgram()
{
    const juce::ScopedLock bank (bankLock);
    auto root = createRoot();
    auto& properties = addProperties (root);
    const auto& slot = programs[currentProgram];

    properties.setAttribute ("activeChannel", slot.activeChannel.load());

    for (int j = 0; j < ProgramSlot::numSettings; ++j)
        addChannel (properties, slot, j, true);

    return root;
}

bool ModulixQR7150AudioProcessor::readCurrentProgram (std::unique_ptr<juce::XmlElement> xml)
{
    if (xml == nullptr || ! hasTag (*xml, rootTag))
        return false;

    forEachChildElement (*xml, std::numeric_limits<int>::max(), [&] (juce::XmlElement& child, int)
    {
        if (hasTag (child, propertiesTag))
        {
            const juce::ScopedLock bank (bankLock);
            const int program = currentProgram;
            auto& slot = programs[program];
            const int activeChannel = readInteger (child.getAttributeValue (3));

            if (isValidSetting (activeChannel))
                slot.activeChannel = activeChannel;

            forEachChildElement (child, ProgramSlot::numSettings, [&] (juce::XmlElement& channel, int j)
            {
                slot.presetPath[j] = readPresetPath (channel);
                storePresetElement (channel.getFirstChildElement(), program, j);
            });
        }

        setCurrentProgram (currentProgram);
    });

    return true;
}

void ModulixQR7150AudioProcessor::storePresetElement (juce::XmlElement* first, int program, int setting)
{
    if (! isValidProgram (program) || ! isValidSetting (setting))
        return;

    const juce::ScopedLock bank (bankLock);
    forEachValue (first, [&] (int k, float value) { programs[program].values[setting][k] = value; });
}

//==============================================================================
void ModulixQR7150AudioProcessor::readPresetElement (juce::XmlElement* first)
{
    // Stored and made live whole, so that a program change on a host thread
    // finds the values in one program; the host hears of them, in document
    // order, after the lock is let go.
    std::vector<std::pair<int, float>> read;

    {
        const juce::ScopedLock bank (bankLock);
        auto& program = programs[currentProgram];
        const int setting = program.getActiveSetting();

        forEachValue (first, [&] (int k, float value)
        {
            program.values[setting][k] = value;
            currentValues[k] = value;
            read.emplace_back (k, value);
        });
    }

    for (const auto& [k, value] : read)
    {
        sendParamChangeMessageToListeners (k, value);
        liveValueChanged (k);
    }
}

bool ModulixQR7150AudioProcessor::comparePreset (std::unique_ptr<juce::XmlElement> xml)
{
    if (xml == nullptr || ! hasTag (*xml, rootTag))
        return false;

    bool differs = false;

    for (auto* child : xml->getChildIterator())
    {
        if (! hasTag (*child, propertiesTag))
            continue;

        forEachValue (child->getFirstChildElement(), [&] (int k, float fileValue)
        {
            auto current = getParameter (k);

            if (codingOf (k) == Coding::onOff && current > 0.0f)
                current = 1.0f;

            differs = differs || std::abs (current - fileValue) >= compareThreshold;
        });
    }

    return differs;
}
