#include "StateTestBits.h"

#include "ModulixQR7150PatchXml.h"

#include "../support/CraftedXmlTexts.h"

#include <functional>
#include <stdexcept>

namespace modulix_test
{
namespace
{

juce::String singleLine (const juce::XmlElement& xml)
{
    return xml.toString (juce::XmlElement::TextFormat().singleLine().withoutHeader());
}

juce::XmlElement& presetOf (juce::XmlElement& root, int i)  { return *propertiesOf (root).getChildElement (i); }

juce::XmlElement& channelOf (juce::XmlElement& root, int i, int j)
{
    return *presetOf (root, i).getChildElement (j);
}

juce::XmlElement& valueOf (juce::XmlElement& channel, const char* property)
{
    for (auto* value : channel.getChildIterator())
        if (value->getStringAttribute ("property") == property)
            return *value;

    throw std::runtime_error ("no such Value");
}

void setValueText (juce::XmlElement& channel, const char* property, const juce::String& text)
{
    auto& value = valueOf (channel, property);
    value.deleteAllTextElements();
    value.addTextElement (text);
}

//==============================================================================
TEST_F (ProcessorTest, FreshBankDocumentHoldsTwelveInitProgramsAtTheDefaults)
{
    Processor p;
    const auto xml = p.writePreset (false);

    const auto* properties = expectPatchHeader (xml, { { "activePreset", "0" } });
    ASSERT_NE (properties, nullptr);

    const auto presets = childrenOf (*properties);
    ASSERT_EQ (presets.size(), 12u);

    for (size_t i = 0; i < presets.size(); ++i)
    {
        SCOPED_TRACE ("program " + std::to_string (i));
        EXPECT_EQ (presets[i]->getTagName(), "Preset");
        EXPECT_EQ (attributesOf (*presets[i]), (Attributes { { "preset", juce::String (i) }, { "activeChannel", "0" } }));

        const auto channels = childrenOf (*presets[i]);
        ASSERT_EQ (channels.size(), 2u);

        for (size_t j = 0; j < channels.size(); ++j)
        {
            EXPECT_EQ (channels[j]->getTagName(), "Channel");
            EXPECT_EQ (attributesOf (*channels[j]), (Attributes { { "channel", juce::String (j) }, { "presetPath", "Init.vmxp" } }));
            expectValues (*channels[j], freshValueRows());
        }
    }
}

TEST_F (ProcessorTest, BankDocumentWritesTheStoredValuesAndTheCurrentProgram)
{
    Processor p;
    p.programs[9].activeChannel = 1;
    p.programs[9].presetPath[1] = "Warm/Nine.vmxp";
    storeSetting (p.programs[9], 1, someSetting());
    p.setCurrentProgram (9);

    auto xml = p.writePreset (false);

    EXPECT_EQ (propertiesOf (xml).getStringAttribute ("activePreset"), "9");
    EXPECT_EQ (attributesOf (presetOf (xml, 9)), (Attributes { { "preset", "9" }, { "activeChannel", "1" } }));
    EXPECT_EQ (channelOf (xml, 9, 1).getStringAttribute ("presetPath"), "Warm/Nine.vmxp");
    expectValues (channelOf (xml, 9, 1), { { "onBypass", "boolean", "false" }, { "chorusType", "number", "2" },
                                           { "rate", "number", "0.62500" },    { "rateSync", "number", "9" },
                                           { "depth", "number", "0.75000" },   { "mix", "number", "0.25000" },
                                           { "level", "number", "0.87500" },   { "stereo", "boolean", "true" },
                                           { "sync", "boolean", "true" } });
    expectValues (channelOf (xml, 9, 0), freshValueRows());
}

TEST_F (ProcessorTest, CurrentProgramDocumentHoldsBothSettingsAndTypesTheSwitchesAsNumbers)
{
    Processor p;
    p.programs[3].activeChannel = 1;
    p.programs[3].presetPath[0] = "A.vmxp";
    p.programs[3].presetPath[1] = "Sub/B.vmxp";
    storeSetting (p.programs[3], 1, someSetting());
    p.setCurrentProgram (3);

    const auto xml = p.writeCurrentProgram();

    const auto* properties = expectPatchHeader (xml, { { "activeChannel", "1" } });
    ASSERT_NE (properties, nullptr);

    const auto channels = childrenOf (*properties);
    ASSERT_EQ (channels.size(), 2u);
    EXPECT_EQ (attributesOf (*channels[0]), (Attributes { { "channel", "0" }, { "presetPath", "A.vmxp" } }));
    EXPECT_EQ (attributesOf (*channels[1]), (Attributes { { "channel", "1" }, { "presetPath", "Sub/B.vmxp" } }));

    auto rows = freshValueRows();
    rows[7].type = rows[8].type = "number";
    expectValues (*channels[0], rows);
    expectValues (*channels[1], { { "onBypass", "boolean", "false" }, { "chorusType", "number", "2" },
                                  { "rate", "number", "0.62500" },    { "rateSync", "number", "9" },
                                  { "depth", "number", "0.75000" },   { "mix", "number", "0.25000" },
                                  { "level", "number", "0.87500" },   { "stereo", "number", "true" },
                                  { "sync", "number", "true" } });
}

TEST_F (ProcessorTest, StateBlocksAreMagicByteCountOneLineWithoutDeclarationAndZeroByte)
{
    Processor p;

    const struct
    {
        const char* name;
        juce::MemoryBlock block;
        juce::String text;
        const char* expectedStart;
        const char* expectedEnd;
    } cases[] {
        { "bank", bankStateOf (p), singleLine (p.writePreset (false)),
          "<veloraPatch version=\"1.0\"><DeviceName>Modulix QR7150</DeviceName><Properties "
          "deviceProductID=\"com.velora.ModulixQR7150\" deviceVersion=\"1.0.1\" presetVersion=\"1.0\" "
          "activePreset=\"0\"><Preset preset=\"0\" activeChannel=\"0\"><Channel channel=\"0\" presetPath=\"Init.vmxp\">"
          "<Value property=\"onBypass\" type=\"boolean\">true</Value><Value property=\"chorusType\" type=\"number\">0</Value>",
          "</Channel></Preset></Properties></veloraPatch>" },
        { "current program", currentProgramStateOf (p), singleLine (p.writeCurrentProgram()),
          "<veloraPatch version=\"1.0\"><DeviceName>Modulix QR7150</DeviceName><Properties "
          "deviceProductID=\"com.velora.ModulixQR7150\" deviceVersion=\"1.0.1\" presetVersion=\"1.0\" "
          "activeChannel=\"0\"><Channel channel=\"0\" presetPath=\"Init.vmxp\">"
          "<Value property=\"onBypass\" type=\"boolean\">true</Value>",
          "<Value property=\"sync\" type=\"number\">false</Value></Channel></Properties></veloraPatch>" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        const auto* bytes = static_cast<const juce::uint8*> (c.block.getData());
        const auto numTextBytes = c.text.getNumBytesAsUTF8();

        ASSERT_EQ (c.block.getSize(), 8 + numTextBytes + 1);
        EXPECT_EQ (std::string (bytes, bytes + 4), "VC2!");
        EXPECT_EQ (bytes[4] | bytes[5] << 8 | bytes[6] << 16 | (size_t) bytes[7] << 24, numTextBytes);
        EXPECT_EQ (juce::String::fromUTF8 (reinterpret_cast<const char*> (bytes) + 8, (int) numTextBytes), c.text);
        EXPECT_EQ (bytes[8 + numTextBytes], 0);
        EXPECT_TRUE (c.text.startsWith (c.expectedStart)) << c.text;
        EXPECT_TRUE (c.text.endsWith (c.expectedEnd)) << c.text;
    }
}

//==============================================================================
struct BankCase
{
    std::string name;
    std::function<void (Processor&)> prepareSource;
    std::function<void (juce::XmlElement&)> editDocument;
    std::function<void (Processor&, const HostLog&)> check;
};

// The target of every bank read: all programs on setting B with depth 0.9, program 5 current.
void prepareTarget (Processor& target)
{
    for (auto& slot : target.programs)
    {
        slot.activeChannel = 1;
        slot.values[0][4] = slot.values[1][4] = 0.9f;
    }

    target.setCurrentProgram (5);
}

std::vector<BankCase> bankCases()
{
    const auto noChange = [] (Processor&) {};
    const auto asWritten = [] (juce::XmlElement&) {};

    // Program 7 current on setting B, and program 0 on setting B as well.
    const auto sevenOnB = [] (Processor& source)
    {
        source.programs[0].activeChannel = 1;
        source.programs[7].activeChannel = 1;
        storeSetting (source.programs[7], 1, someSetting());
        source.setCurrentProgram (7);
    };
    const auto sevenOnBIsCurrent = [] (Processor& p, const HostLog& log)
    {
        EXPECT_EQ (p.getCurrentProgram(), 7);
        EXPECT_EQ (p.programs[7].activeChannel, 1);
        EXPECT_EQ (p.programs[0].activeChannel, 1);
        EXPECT_EQ (log.lastSetting(), someSetting());
    };

    std::vector<BankCase> cases {
        { "a fresh bank makes program 0 setting A current", noChange, asWritten,
          [] (Processor& p, const HostLog& log)
          {
              EXPECT_EQ (p.getCurrentProgram(), 0);
              EXPECT_EQ (p.programs[0].activeChannel, 0);
              EXPECT_EQ (p.programs[5].activeChannel, 0);
              EXPECT_EQ (settingOf (p.programs[5], 1), defaultSetting());
              EXPECT_EQ (log.lastSetting(), defaultSetting());
          } },

        { "a bank naming program 7 setting B makes it current and hands its values to the host",
          [] (Processor& source)
          {
              source.programs[7].activeChannel = 1;
              source.programs[7].presetPath[1] = "Warm/Seven.vmxp";
              storeSetting (source.programs[7], 1, someSetting());
              source.setCurrentProgram (7);
          },
          asWritten,
          [] (Processor& p, const HostLog& log)
          {
              EXPECT_EQ (p.getCurrentProgram(), 7);
              EXPECT_EQ (p.programs[7].activeChannel, 1);
              EXPECT_EQ (p.programs[7].presetPath[1], "Warm/Seven.vmxp");
              EXPECT_EQ (p.getProgramName (7), "Seven");
              EXPECT_EQ (liveSettingOf (p), someSetting());
              EXPECT_EQ (log.lastSetting(), someSetting());
          } },

        { "Properties before DeviceName is read as well", sevenOnB,
          [] (juce::XmlElement& xml)
          {
              auto* name = xml.getChildByName ("DeviceName");
              xml.removeChildElement (name, false);
              xml.addChildElement (name);
          },
          sevenOnBIsCurrent },

        { "an element after Properties keeps the program and setting it names", sevenOnB,
          [] (juce::XmlElement& xml) { xml.createNewChildElement ("Extra"); },
          sevenOnBIsCurrent },

        { "a second Properties is ignored", sevenOnB,
          [] (juce::XmlElement& xml)
          {
              auto* second = new juce::XmlElement (propertiesOf (xml));
              second->setAttribute ("activePreset", "3");
              second->getChildElement (3)->getChildElement (0)->setAttribute ("presetPath", "Second.vmxp");
              xml.addChildElement (second);
          },
          [sevenOnBIsCurrent] (Processor& p, const HostLog& log)
          {
              sevenOnBIsCurrent (p, log);
              EXPECT_EQ (p.programs[3].presetPath[0], "Init.vmxp");
          } },

        { "a Channel's attributes are taken by position", noChange,
          [] (juce::XmlElement& xml)
          {
              auto& channel = channelOf (xml, 2, 0);
              channel.removeAttribute ("channel");
              channel.setAttribute ("channel", "0");
          },
          [] (Processor& p, const HostLog&) { EXPECT_EQ (p.programs[2].presetPath[0], "0"); } },

        { "a missing Value leaves the stored value", noChange,
          [] (juce::XmlElement& xml) { channelOf (xml, 4, 0).removeChildElement (&valueOf (channelOf (xml, 4, 0), "depth"), true); },
          [] (Processor& p, const HostLog&)
          {
              EXPECT_EQ (p.programs[4].values[0][4], 0.9f);
              EXPECT_EQ (p.programs[4].values[1][4], 0.2f);
          } },

        { "another root tag changes nothing", noChange,
          [] (juce::XmlElement& xml) { xml.setTagName ("otherPatch"); },
          [] (Processor& p, const HostLog& log)
          {
              EXPECT_EQ (p.getCurrentProgram(), 5);
              EXPECT_EQ (p.programs[0].values[0][4], 0.9f);
              EXPECT_TRUE (log.changes.empty());
          } },

        { "a thirteenth Preset is ignored, and naming it selects program 0 setting A",
          [] (Processor& source) { source.programs[0].activeChannel = 1; },
          [] (juce::XmlElement& xml)
          {
              auto* extra = new juce::XmlElement (presetOf (xml, 11));
              extra->setAttribute ("activeChannel", "1");
              extra->getChildElement (1)->setAttribute ("presetPath", "Thirteen.vmxp");
              propertiesOf (xml).addChildElement (extra);
              propertiesOf (xml).setAttribute ("activePreset", "12");
          },
          [] (Processor& p, const HostLog& log)
          {
              EXPECT_EQ (p.getCurrentProgram(), 0);
              EXPECT_EQ (p.programs[0].activeChannel, 0);
              EXPECT_EQ (p.programs[11].presetPath[1], "Init.vmxp");
              EXPECT_EQ (log.lastSetting(), defaultSetting());
          } },

        { "a third Channel is ignored", noChange,
          [] (juce::XmlElement& xml)
          {
              auto* extra = new juce::XmlElement (channelOf (xml, 3, 1));
              extra->setAttribute ("presetPath", "Third.vmxp");
              setValueText (*extra, "depth", "0.1");
              presetOf (xml, 3).addChildElement (extra);
          },
          [] (Processor& p, const HostLog&)
          {
              EXPECT_EQ (p.programs[3].presetPath[1], "Init.vmxp");
              EXPECT_EQ (p.programs[3].values[1][4], 0.2f);
          } },

        { "active-setting numbers other than 0 and 1 are ignored", noChange,
          [] (juce::XmlElement& xml)
          {
              const std::pair<int, const char*> numbers[] { { 4, "2" }, { 6, "-1" }, { 8, "99999999999" }, { 9, "-2147483648" } };

              for (const auto& [program, text] : numbers)
                  presetOf (xml, program).setAttribute ("activeChannel", text);
          },
          [] (Processor& p, const HostLog&)
          {
              for (int program : { 4, 6, 8, 9 })
                  EXPECT_EQ (p.programs[program].activeChannel, 1) << "program " << program;

              for (int program : { 3, 5, 7, 10 })
                  EXPECT_EQ (p.programs[program].activeChannel, 0) << "program " << program;
          } },

        { "preset paths are kept as text",
          [] (Processor& source)
          {
              const char* const paths[] { "../../../etc/passwd", "a&b<c>\"d'e.vmxp", "Gr\xc3\xbc\xc3\x9f\x65/\xf0\x9d\x84\x9e.vmxp",
                                          "line\r\nbreak.vmxp", "  spaced  .vmxp", "" };

              for (int i = 0; i < (int) std::size (paths); ++i)
                  source.programs[i].presetPath[1] = juce::String::fromUTF8 (paths[i]);

              source.programs[11].presetPath[0] = juce::String::repeatedString ("deep/", 818) + "x.vmxp";   // 4096 bytes
          },
          asWritten,
          [] (Processor& p, const HostLog&)
          {
              EXPECT_EQ (p.programs[0].presetPath[1], "../../../etc/passwd");
              EXPECT_EQ (p.programs[1].presetPath[1], "a&b<c>\"d'e.vmxp");
              EXPECT_EQ (p.programs[2].presetPath[1], juce::String::fromUTF8 ("Gr\xc3\xbc\xc3\x9f\x65/\xf0\x9d\x84\x9e.vmxp"));
              EXPECT_EQ (p.programs[3].presetPath[1], "line\r\nbreak.vmxp");
              EXPECT_EQ (p.programs[4].presetPath[1], "  spaced  .vmxp");
              EXPECT_EQ (p.programs[5].presetPath[1], "");
              EXPECT_EQ (p.programs[11].presetPath[0], juce::String::repeatedString ("deep/", 818) + "x.vmxp");
          } },
    };

    for (const char* activePreset : { "12", "-1", "2147483648" })
    {
        cases.push_back ({ std::string ("an active-preset number of \"") + activePreset + "\" selects program 0 setting A",
                           [] (Processor& source) { source.programs[0].activeChannel = 1; },
                           [activePreset] (juce::XmlElement& xml) { propertiesOf (xml).setAttribute ("activePreset", activePreset); },
                           [] (Processor& p, const HostLog&)
                           {
                               EXPECT_EQ (p.getCurrentProgram(), 0);
                               EXPECT_EQ (p.programs[0].activeChannel, 0);
                           } });
    }

    for (const char* activePreset : { "abc", "" })
    {
        cases.push_back ({ std::string ("an active-preset text of \"") + activePreset + "\" reads as program 0",
                           [] (Processor& source) { source.programs[0].activeChannel = 1; },
                           [activePreset] (juce::XmlElement& xml) { propertiesOf (xml).setAttribute ("activePreset", activePreset); },
                           [] (Processor& p, const HostLog&)
                           {
                               EXPECT_EQ (p.getCurrentProgram(), 0);
                               EXPECT_EQ (p.programs[0].activeChannel, 1);
                           } });
    }

    return cases;
}

TEST_F (ProcessorTest, BankStatesAreReadByPositionWithinTheBank)
{
    for (const auto& c : bankCases())
    {
        SCOPED_TRACE (c.name);
        Processor source;
        c.prepareSource (source);
        auto xml = source.writePreset (false);
        c.editDocument (xml);

        Processor target;
        prepareTarget (target);
        HostLog log (target);
        const auto block = pack (singleLine (xml));
        target.setStateInformation (block.getData(), (int) block.getSize());

        c.check (target, log);
        EXPECT_TRUE (target.stateXml == nullptr);
    }
}

TEST_F (ProcessorTest, BankReaderReturnsFiveForAnyDocumentAndZeroForNone)
{
    Processor p;
    EXPECT_EQ (p.readPreset (nullptr, false), 0);
    EXPECT_EQ (p.readPreset (copyOf (p.writePreset (false)), false), 5);
    EXPECT_EQ (p.readPreset (juce::parseXML ("<otherPatch/>"), false), 5);
}

TEST_F (ProcessorTest, BlocksPackedByJuceWithTheirDeclarationAreReadToo)
{
    Processor source;
    source.programs[6].activeChannel = 1;
    source.setCurrentProgram (6);

    Processor target;
    juce::MemoryBlock block;
    juce::AudioProcessor::copyXmlToBinary (source.writePreset (false), block);
    ASSERT_TRUE (juce::String::fromUTF8 (static_cast<const char*> (block.getData()) + 8).startsWith ("<?xml"));
    target.setStateInformation (block.getData(), (int) block.getSize());

    EXPECT_EQ (target.getCurrentProgram(), 6);
    EXPECT_EQ (target.programs[6].activeChannel, 1);
}

TEST_F (ProcessorTest, StateWrittenAndReadBackIsWrittenIdentically)
{
    Processor source;

    for (int i = 0; i < Processor::numProgramSlots; ++i)
    {
        auto& slot = source.programs[i];
        slot.activeChannel = i % 2;
        slot.presetPath[0] = "Bank/" + juce::String (i) + " & <more>.vmxp";
        slot.values[1][2] = (float) i / 16.0f;
        slot.values[0][1] = (float) (i % 3) / 2.0f;
    }

    source.setCurrentProgram (10);

    Processor bankTarget, programTarget;
    const auto bank = bankStateOf (source);
    const auto program = currentProgramStateOf (source);
    bankTarget.setStateInformation (bank.getData(), (int) bank.getSize());
    programTarget.setCurrentProgramStateInformation (program.getData(), (int) program.getSize());

    EXPECT_EQ (bankStateOf (bankTarget), bank);
    EXPECT_EQ (currentProgramStateOf (programTarget), program);
}

juce::MemoryBlock packText (const std::string& text)
{
    return packWithCount ({ text.data(), text.size() }, (juce::uint32) text.size());
}

// Whatever a reader takes, the writer gives back in a form the reader takes
// again, and that is written the same, byte for byte: preset paths with any
// character a document can carry, raw or as a reference.
TEST_F (ProcessorTest, EveryStateTakenIsWrittenInAFormTakenAgainAndWrittenTheSame)
{
    using CraftedXmlTexts::Form;

    const struct
    {
        const char* name;
        std::string path;
        bool taken;
    } cases[] {
        { "multi-byte characters", CraftedXmlTexts::multiByteText, true },
        { "references at the edges of every form",
          "&#1;&#9;&#10;&#13;&#31;&#127;&#128;&#x7ff;&#x800;&#xd7ff;&#xe000;&#xfffe;&#xFFFF;&#x10000;&#1114111;.vmxp", true },
        { "references to surrogates, kept as JUCE reads them", "&#xd800;&#57343;.vmxp", true },
        { "markup, quotes, tabs and line ends", "a&amp;b&lt;c&gt;&quot;d'e\tf\r\ng\rh\n.vmxp", true },
        { "an overlong '&' before a reference beyond Unicode", "\xc0\xa6#4294967295;.vmxp", false },
    };

    const auto take = [] (Processor& p, Form form, const juce::MemoryBlock& block)
    {
        if (form == Form::bank)
            p.setStateInformation (block.getData(), (int) block.getSize());
        else
            p.setCurrentProgramStateInformation (block.getData(), (int) block.getSize());
    };

    for (const auto form : { Form::bank, Form::program })
    {
        const auto stateOf = [form] (Processor& p) { return form == Form::bank ? bankStateOf (p) : currentProgramStateOf (p); };

        for (const auto& c : cases)
        {
            SCOPED_TRACE (std::string (c.name) + (form == Form::bank ? " in a bank" : " in a current program"));
            Processor first, second;
            const auto fresh = bankStateOf (first);
            take (first, form, packText (CraftedXmlTexts::documentHolding (form, c.path)));
            const auto& path = first.programs[0].presetPath[0];

            if (! c.taken)
            {
                EXPECT_EQ (bankStateOf (first), fresh);
                continue;
            }

            EXPECT_NE (path, "Init.vmxp");
            const auto saved = stateOf (first);
            take (second, form, saved);
            EXPECT_EQ (second.programs[0].presetPath[0], path);
            EXPECT_EQ (stateOf (second), saved);
        }
    }

    Processor p;
    const auto block = packText (CraftedXmlTexts::multiByteDocument (Form::bank));
    p.setStateInformation (block.getData(), (int) block.getSize());
    EXPECT_EQ (p.programs[0].presetPath[0], juce::String::fromUTF8 (CraftedXmlTexts::multiByteText.c_str()));
}

TEST_F (ProcessorTest, PresetPathsNoFileSystemTakesAreRefusedByBothReaders)
{
    const auto longName = juce::String::repeatedString ("n", 255);
    const auto manyShortNames = juce::String::repeatedString ("abcdefg/", 511) + "x.vmxp";   // 4094 bytes

    struct Case { juce::String path; bool kept; };
    const Case cases[] = {
        { juce::String::repeatedString ("p", 1000000), false },
        { manyShortNames + "xyz", false },                              // 4096 bytes fit, 4097 do not
        { manyShortNames + "xy", true },
        { longName + "/Wide.vmxp", true },
        { longName + "n/Wide.vmxp", false },
        { "Sub\\" + longName + "n", false },
        { juce::String::repeatedString (juce::String::fromUTF8 ("\xc3\xa9"), 128), false },          // 256 bytes in 128 characters
        { "Live/Wide.vmxp", true },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.path.substring (0, 40) + "... of " + juce::String (c.path.getNumBytesAsUTF8()) + " bytes");
        Processor source;
        source.programs[0].presetPath[1] = c.path;
        const auto bank = bankStateOf (source);
        const auto program = currentProgramStateOf (source);

        Processor bankTarget, programTarget;
        bankTarget.setStateInformation (bank.getData(), (int) bank.getSize());
        programTarget.setCurrentProgramStateInformation (program.getData(), (int) program.getSize());

        const juce::String expected = c.kept ? source.programs[0].presetPath[1] : juce::String();
        EXPECT_EQ (bankTarget.programs[0].presetPath[1], expected);
        EXPECT_EQ (programTarget.programs[0].presetPath[1], expected);
        EXPECT_EQ (bankTarget.programs[0].presetPath[0], "Init.vmxp");
    }
}

//==============================================================================
TEST_F (ProcessorTest, CurrentProgramStateSetsOnlyTheCurrentProgramOfAnotherInstance)
{
    Processor source;
    auto& from = source.programs[2];
    from.activeChannel = 1;
    from.presetPath[0] = "First.vmxp";
    from.presetPath[1] = "Sub/Second.vmxp";
    storeSetting (from, 1, someSetting());
    from.values[0][4] = 0.375f;
    source.setCurrentProgram (2);

    Processor target;
    target.setCurrentProgram (4);
    HostLog log (target);
    const auto block = currentProgramStateOf (source);
    target.setCurrentProgramStateInformation (block.getData(), (int) block.getSize());

    EXPECT_EQ (target.getCurrentProgram(), 4);
    const auto& to = target.programs[4];
    EXPECT_EQ (to.activeChannel, 1);
    EXPECT_EQ (to.presetPath[0], "First.vmxp");
    EXPECT_EQ (to.presetPath[1], "Sub/Second.vmxp");
    EXPECT_EQ (settingOf (to, 0), settingOf (from, 0));
    EXPECT_EQ (settingOf (to, 1), someSetting());
    EXPECT_EQ (log.lastSetting(), someSetting());
    EXPECT_TRUE (target.stateXml == nullptr);

    for (int i : { 0, 2, 11 })
    {
        EXPECT_EQ (target.programs[i].activeChannel, 0);
        EXPECT_EQ (target.programs[i].presetPath[1], "Init.vmxp");
        EXPECT_EQ (settingOf (target.programs[i], 1), defaultSetting());
    }
}

TEST_F (ProcessorTest, CurrentProgramReaderAcceptsOnlyOurRootAndStaysWithinTwoSettings)
{
    Processor p;
    p.programs[0].activeChannel = 1;
    EXPECT_FALSE (p.readCurrentProgram (nullptr));
    EXPECT_FALSE (p.readCurrentProgram (juce::parseXML ("<otherPatch><Properties a='' b='' c='' activeChannel='0'/></otherPatch>")));
    EXPECT_EQ (p.programs[0].activeChannel, 1);

    auto xml = p.writeCurrentProgram();
    auto& properties = propertiesOf (xml);
    properties.setAttribute ("activeChannel", "5");
    auto* third = new juce::XmlElement (*properties.getChildElement (1));
    third->setAttribute ("presetPath", "Third.vmxp");
    setValueText (*third, "depth", "0.1");
    properties.addChildElement (third);

    EXPECT_TRUE (p.readCurrentProgram (copyOf (xml)));
    EXPECT_EQ (p.programs[0].activeChannel, 1);
    EXPECT_EQ (p.programs[0].presetPath[1], "Init.vmxp");
    EXPECT_EQ (p.programs[0].values[1][4], 0.2f);
}

//==============================================================================
// One Value in each of the three documents that decode Values.
enum class Reader { bankState, currentProgramState, presetFile };

float readThroughOneValue (Reader reader, const juce::String& property, const juce::String& text)
{
    Processor p;
    auto xml = reader == Reader::bankState ? p.writePreset (false)
             : reader == Reader::currentProgramState ? p.writeCurrentProgram()
                                                     : p.writePreset (true);

    auto& properties = propertiesOf (xml);
    auto& values = reader == Reader::bankState ? channelOf (xml, 0, 0)
                 : reader == Reader::currentProgramState ? *properties.getChildElement (0)
                                                         : properties;
    values.deleteAllChildElements();
    values.addChildElement (makeValue (property, text));

    if (reader == Reader::bankState)
        p.readPreset (copyOf (xml), false);
    else if (reader == Reader::currentProgramState)
        p.readCurrentProgram (copyOf (xml));
    else
        EXPECT_EQ (p.readPreset (copyOf (xml), true), 1);

    for (int k = 0; k < Processor::numParameters; ++k)
        if (p.getParameterName (k) == property)
            return p.getParameter (k);

    ADD_FAILURE() << "no parameter " << property;
    return -1.0f;
}

TEST_F (ProcessorTest, ValuesDecodeIntoTheUnitRangeInEveryDocument)
{
    const struct
    {
        const char* property;
        const char* text;
        float expected;
    } cases[] {
        { "chorusType", "1", 0.5f },    { "chorusType", "2", 1.0f },     { "chorusType", "0", 0.0f },
        { "rateSync", "3", 1.0f / 6.0f }, { "rateSync", "18", 1.0f },     { "rateSync", "0", 0.0f },
        { "onBypass", " true ", 1.0f }, { "onBypass", "True", 0.0f },    { "onBypass", "1", 0.0f },
        { "stereo", "\ttrue\n", 1.0f }, { "sync", "true", 1.0f },
        { "depth", "0.25000", 0.25f },  { "depth", "abc", 0.0f },        { "depth", "", 0.0f },
        { "mix", " 0.75xyz", 0.75f },

        // Out of range, not a number, infinite, and exponents too long for JUCE's int.
        { "depth", "-1", 0.0f },        { "depth", "5", 1.0f },          { "depth", "nan", 0.0f },
        { "depth", "1e999", 1.0f },     { "depth", "-1e999", 0.0f },     { "depth", "inf", 1.0f },
        { "rate", "1e99999999999", 1.0f }, { "rate", "1e-99999999999", 0.0f },
        { "rate", "-0", 0.0f },         { "level", "-1e-99999999999", 0.0f },
        { "chorusType", "5", 1.0f },    { "chorusType", "-1", 0.0f },    { "chorusType", "nan", 0.0f },
        { "rateSync", "36", 1.0f },     { "rateSync", "-3", 0.0f },      { "rateSync", "1e999", 1.0f },
    };

    for (const auto& c : cases)
    {
        for (auto reader : { Reader::bankState, Reader::currentProgramState, Reader::presetFile })
        {
            SCOPED_TRACE (std::string (c.property) + " \"" + c.text + "\" through reader " + std::to_string ((int) reader));
            const auto value = readThroughOneValue (reader, c.property, c.text);
            EXPECT_EQ (value, c.expected);
            EXPECT_FALSE (std::signbit (value));
        }
    }
}

//==============================================================================
template <size_t size>
juce::MemoryBlock bytesOf (const char (&bytes)[size])
{
    return { bytes, size - 1 };
}

template <size_t size>
juce::MemoryBlock packBytes (const char (&bytes)[size])
{
    return packWithCount (bytesOf (bytes), (juce::uint32) size - 1);
}

juce::MemoryBlock withCount (const juce::String& text, juce::uint32 count)
{
    return packWithCount ({ text.toRawUTF8(), text.getNumBytesAsUTF8() }, count);
}

juce::MemoryBlock truncated (juce::MemoryBlock block, size_t numBytes)
{
    block.setSize (numBytes);
    return block;
}

TEST_F (ProcessorTest, BadBlocksChangeNothing)
{
    Processor writer;
    const auto bank = bankStateOf (writer);
    const auto bankText = singleLine (writer.writePreset (false));
    const auto text = juce::String ("<veloraPatch version=\"1.0\"><DeviceName>Modulix QR7150</DeviceName></veloraPatch>");
    const auto nested = [] (int depth)
    {
        return "<veloraPatch>" + juce::String::repeatedString ("<a>", depth) + juce::String::repeatedString ("</a>", depth) + "</veloraPatch>";
    };

    const struct
    {
        const char* name;
        juce::MemoryBlock block;
    } cases[] {
        { "empty", {} },
        { "shorter than the header", bytesOf ("VC2!\x05\0\0") },
        { "wrong magic", [&] { auto b = pack (text); static_cast<char*> (b.getData())[3] = '?'; return b; }() },
        { "count of 0xffffffff", withCount (text, 0xffffffffu) },
        { "count of 0x80000000", withCount (text, 0x80000000u) },
        { "count of zero", withCount (text, 0) },
        { "truncated bank", truncated (bank, bank.getSize() / 2) },
        { "truncated bank with a matching count", pack (bankText.substring (0, bankText.length() / 2)) },
        { "text that is not XML", pack ("Modulix QR7150") },
        { "invalid UTF-8", packBytes ("<veloraPatch>\xf0\x28</veloraPatch>") },
        { "invalid UTF-8 at the end", packBytes ("<veloraPatch/>\xf0") },
        { "a zero byte inside", packBytes ("<veloraPatch>\0<DeviceName/></veloraPatch>") },
        { "deep nesting", pack (nested (100000)) },
        { "nesting one beyond the limit", pack (nested (ModulixQR7150PatchXml::maxDepth)) },
        { "huge document", pack ("<veloraPatch><DeviceName>" + juce::String::repeatedString (" ", 2 << 20) + "</DeviceName></veloraPatch>") },
        { "too many elements", pack ("<veloraPatch>" + juce::String::repeatedString ("<DeviceName/>", 5000) + "</veloraPatch>") },
        { "processing instruction after text", pack ("<veloraPatch><DeviceName>x<?p?>y</DeviceName></veloraPatch>") },
        { "document type with entities", pack ("<!DOCTYPE veloraPatch [<!ENTITY e \"&#60;DeviceName/&#62;\">]><veloraPatch>&e;</veloraPatch>") },
        { "unknown entity holding markup", pack ("<veloraPatch>&<DeviceName/>;</veloraPatch>") },
        { "unclosed root", pack ("<veloraPatch><DeviceName/>") },
        { "another root", pack ("<velorapatch><DeviceName/></velorapatch>") },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        Processor p;
        p.programs[3].activeChannel = 1;
        p.programs[3].values[1][4] = 0.9f;
        p.setCurrentProgram (3);
        const auto before = bankStateOf (p);
        HostLog log (p);

        p.setStateInformation (c.block.getData(), (int) c.block.getSize());
        p.setCurrentProgramStateInformation (c.block.getData(), (int) c.block.getSize());

        EXPECT_TRUE (log.changes.empty());
        EXPECT_EQ (bankStateOf (p), before);
        EXPECT_TRUE (p.stateXml == nullptr);
    }
}

TEST_F (ProcessorTest, BlocksEndAtTheirCountAtAZeroByteOrAtTheirEnd)
{
    const auto text = juce::String ("<veloraPatch><DeviceName/></veloraPatch>");
    const juce::MemoryBlock cases[] {
        withCount (text + "<trailing", (juce::uint32) text.getNumBytesAsUTF8()),
        truncated (pack (text), 8 + text.getNumBytesAsUTF8()),
        withCount (text, (juce::uint32) text.getNumBytesAsUTF8() + 1),
        withCount (text, (juce::uint32) text.getNumBytesAsUTF8() + 2),
        truncated (withCount (text, 0x7fffffffu), 8 + text.getNumBytesAsUTF8()),
    };

    for (const auto& block : cases)
    {
        Processor p;
        p.setCurrentProgram (3);
        p.setStateInformation (block.getData(), (int) block.getSize());
        EXPECT_EQ (p.getCurrentProgram(), 0);
    }
}

} // namespace
} // namespace modulix_test
