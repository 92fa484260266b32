#include "StateTestBits.h"

#include <functional>

namespace modulix_test
{
namespace
{

Setting withValue (Setting setting, int k, float value)
{
    setting[(size_t) k] = value;
    return setting;
}

void keepOnlyValue (juce::XmlElement& properties, const char* property)
{
    for (auto* value : childrenOf (properties))
        if (value->getStringAttribute ("property") != property)
            properties.removeChildElement (value, true);
}

void setValueText (juce::XmlElement& properties, const char* property, const juce::String& text)
{
    for (auto* value : childrenOf (properties))
    {
        if (value->getStringAttribute ("property") == property)
        {
            value->deleteAllTextElements();
            value->addTextElement (text);
        }
    }
}

//==============================================================================
TEST_F (ProcessorTest, FreshPresetDocumentHoldsTheSettingUnderThreeIdentityAttributes)
{
    Processor p;
    const auto xml = p.writePreset (true);

    const auto* properties = expectPatchHeader (xml, {});
    ASSERT_NE (properties, nullptr);
    expectValues (*properties, freshValueRows());
}

TEST_F (ProcessorTest, PresetDocumentHoldsTheStoredValuesOfTheActiveSetting)
{
    Processor p;
    p.programs[0].activeChannel = 1;
    storeSetting (p.programs[0], 1, someSetting());

    auto xml = p.writePreset (true);

    expectValues (propertiesOf (xml), { { "onBypass", "boolean", "false" }, { "chorusType", "number", "2" },
                                        { "rate", "number", "0.62500" },    { "rateSync", "number", "9" },
                                        { "depth", "number", "0.75000" },   { "mix", "number", "0.25000" },
                                        { "level", "number", "0.87500" },   { "stereo", "boolean", "true" },
                                        { "sync", "boolean", "true" } });
}

//==============================================================================
struct PresetCase
{
    const char* name;
    std::function<void (juce::XmlElement&)> editFile;
    int expectedResult;
    Setting expectedSetting;
};

TEST_F (ProcessorTest, PresetReadResultsAndWhatTheyLoad)
{
    const auto loaded = someSetting();
    const auto unchanged = defaultSetting();

    const PresetCase cases[] {
        { "a preset of ours", [] (juce::XmlElement&) {}, 1, loaded },
        { "a preset version of 2.0 says newer and loads all the same",
          [] (juce::XmlElement& xml) { propertiesOf (xml).setAttribute ("presetVersion", "2.0"); }, 4, loaded },
        { "a preset version of 1.5 says newer",
          [] (juce::XmlElement& xml) { propertiesOf (xml).setAttribute ("presetVersion", "1.5"); }, 4, loaded },
        { "a missing preset version reads as 0",
          [] (juce::XmlElement& xml) { propertiesOf (xml).removeAttribute ("presetVersion"); }, 1, loaded },
        { "another product's preset",
          [] (juce::XmlElement& xml) { propertiesOf (xml).setAttribute ("deviceProductID", "com.velora.Other"); }, 2, unchanged },
        { "the product id in another case",
          [] (juce::XmlElement& xml) { propertiesOf (xml).setAttribute ("deviceProductID", "com.velora.modulixqr7150"); }, 2, unchanged },
        { "the product id taken by position",
          [] (juce::XmlElement& xml)
          {
              propertiesOf (xml).removeAttribute ("deviceProductID");
              propertiesOf (xml).setAttribute ("deviceProductID", "com.velora.ModulixQR7150");
          }, 2, unchanged },
        { "another root tag", [] (juce::XmlElement& xml) { xml.setTagName ("otherPatch"); }, 0, unchanged },
        { "no Properties element",
          [] (juce::XmlElement& xml) { xml.removeChildElement (&propertiesOf (xml), true); }, 0, unchanged },
        { "the first Properties element after others",
          [] (juce::XmlElement& xml)
          {
              xml.insertChildElement (new juce::XmlElement ("Other"), 0);
              xml.addChildElement (new juce::XmlElement ("Properties"));
          }, 1, loaded },
        { "a bank state read as a preset passes the product check and changes nothing",
          [] (juce::XmlElement& xml)
          {
              Processor bankSource;
              setLiveSetting (bankSource, someSetting());
              xml = bankSource.writePreset (false);
          }, 1, unchanged },
        { "Values in another order",
          [] (juce::XmlElement& xml)
          {
              auto& properties = propertiesOf (xml);

              for (auto* value : childrenOf (properties))
              {
                  properties.removeChildElement (value, false);
                  properties.insertChildElement (value, 0);
              }
          }, 1, loaded },
        { "a depth-only file",
          [] (juce::XmlElement& xml) { keepOnlyValue (propertiesOf (xml), "depth"); }, 1, withValue (unchanged, 4, 0.75f) },
        { "an unknown property is skipped",
          [] (juce::XmlElement& xml) { propertiesOf (xml).insertChildElement (makeValue ("speed", "0.9"), 0); }, 1, loaded },
        { "a later Value of a parameter wins",
          [] (juce::XmlElement& xml) { propertiesOf (xml).addChildElement (makeValue ("depth", "0.125")); }, 1, withValue (loaded, 4, 0.125f) },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        Processor source;
        setLiveSetting (source, someSetting());
        auto xml = source.writePreset (true);
        c.editFile (xml);

        Processor target;
        EXPECT_EQ (target.readPreset (copyOf (xml), true), c.expectedResult);
        EXPECT_EQ (liveSettingOf (target), c.expectedSetting);
        EXPECT_EQ (target.programs[0].presetPath[0], "Init.vmxp");
        EXPECT_FALSE (target.presetChanged);
    }

    Processor p;
    EXPECT_EQ (p.readPreset (nullptr, true), 0);
}

TEST_F (ProcessorTest, ReadingAPresetHandsEachValueToTheHostInFileOrder)
{
    Processor source;
    setLiveSetting (source, someSetting());
    auto xml = source.writePreset (true);
    propertiesOf (xml).removeChildElement (propertiesOf (xml).getChildElement (8), true);
    propertiesOf (xml).insertChildElement (makeValue ("sync", "true"), 0);

    Processor target;
    target.programs[0].activeChannel = 1;
    HostLog log (target);
    target.readPreset (copyOf (xml), true);

    const auto values = someSetting();
    ASSERT_EQ (log.changes.size(), 9u);
    EXPECT_EQ (log.changes[0], std::make_pair (8, 1.0f));

    for (int k = 0; k < 8; ++k)
        EXPECT_EQ (log.changes[(size_t) k + 1], std::make_pair (k, values[(size_t) k]));

    EXPECT_EQ (settingOf (target.programs[0], 1), someSetting());
    EXPECT_EQ (settingOf (target.programs[0], 0), defaultSetting());
    EXPECT_TRUE (target.paramsChanged);
}

//==============================================================================
struct CompareCase
{
    std::string name;
    std::function<void (Processor&)> beforeSaving, afterSaving;
    std::function<void (juce::XmlElement&)> editFile;
    bool differs;
};

std::vector<CompareCase> compareCases()
{
    const auto nothing = [] (Processor&) {};
    const auto asSaved = [] (juce::XmlElement&) {};
    const auto set = [] (int k, float value) { return [k, value] (Processor& p) { p.setParameter (k, value); }; };

    std::vector<CompareCase> cases {
        { "a file just saved", nothing, nothing, asSaved, false },
        { "depth turned by 0.001", nothing, set (4, 0.201f), asSaved, true },
        { "depth turned by 0.000001", nothing, set (4, 0.200001f), asSaved, false },
        { "a chorus type between the positions is saved rounded up", set (1, 0.3f), nothing, asSaved, true },
        { "a chorus type of 2 equals a stored 1", set (1, 1.0f), nothing, asSaved, false },
        { "a chorus type of 1 equals a stored 0.5", set (1, 0.5f), nothing, asSaved, false },
        { "an on/bypass value of 0.3 equals \"true\"", set (0, 0.3f), nothing, asSaved, false },
        { "a difference of exactly the float 1e-5 counts", set (4, 0.0f), nothing,
          [] (juce::XmlElement& xml) { setValueText (propertiesOf (xml), "depth", "0.00001"); }, true },
        { "a difference just below 1e-5 does not", set (4, 0.0f), nothing,
          [] (juce::XmlElement& xml) { setValueText (propertiesOf (xml), "depth", "0.0000099999"); }, false },
        { "a file depth beyond 1 equals the 1 it loads as", set (4, 1.0f), nothing,
          [] (juce::XmlElement& xml) { setValueText (propertiesOf (xml), "depth", "5"); }, false },
        { "a Value of an unknown property is skipped", nothing, nothing,
          [] (juce::XmlElement& xml) { propertiesOf (xml).addChildElement (makeValue ("speed", "0.9")); }, false },
        { "a file lacking Values compares only those it has", nothing, set (5, 0.9f),
          [] (juce::XmlElement& xml) { keepOnlyValue (propertiesOf (xml), "depth"); }, false },
        { "every Properties element is compared", nothing, nothing,
          [] (juce::XmlElement& xml)
          {
              auto* second = xml.createNewChildElement ("Properties");
              second->addChildElement (makeValue ("depth", "0.9"));
          }, true },
        { "Values outside Properties are not compared", nothing, nothing,
          [] (juce::XmlElement& xml) { xml.addChildElement (makeValue ("depth", "0.9")); }, false },
        { "another product's file compares all the same", nothing, set (4, 0.9f),
          [] (juce::XmlElement& xml) { propertiesOf (xml).setAttribute ("deviceProductID", "com.velora.Other"); }, true },
        { "a file with another root tag never differs", nothing, set (4, 0.9f),
          [] (juce::XmlElement& xml) { xml.setTagName ("otherPatch"); }, false },
    };

    for (int k = 1; k <= 18; ++k)
        cases.push_back ({ "the sync knob's position " + std::to_string (k) + " is saved as a whole number",
                           set (3, (float) k / 18.1f), nothing, asSaved, true });

    return cases;
}

TEST_F (ProcessorTest, ComparingAFileWithTheCurrentSetting)
{
    for (const auto& c : compareCases())
    {
        SCOPED_TRACE (c.name);
        Processor p;
        c.beforeSaving (p);
        auto xml = p.writePreset (true);
        c.afterSaving (p);
        c.editFile (xml);

        EXPECT_EQ (p.comparePreset (copyOf (xml)), c.differs);
    }

    Processor p;
    EXPECT_FALSE (p.comparePreset (nullptr));
}

} // namespace
} // namespace modulix_test
