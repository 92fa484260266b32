// The collection, descriptor and property-map proxies against the fake host:
// what reaches the host, what each answers without its host interface, and
// that everything made during a description is released again.
#include "FakeHostFixture.h"

#include "AAX_VCollection.h"
#include "AAX_VComponentDescriptor.h"
#include "AAX_VEffectDescriptor.h"
#include "AAX_VPropertyMap.h"

#include <algorithm>
#include <functional>

namespace
{
/** One collection with a descriptor, a component and a map made through it. */
struct Description
{
    explicit Description (IACFUnknown* root)
        : collection (root),
          effect (collection.NewDescriptor()),
          component (effect->NewComponentDescriptor()),
          map (component->NewPropertyMap()) {}

    AAX_VCollection collection;
    AAX_IEffectDescriptor* effect;
    AAX_IComponentDescriptor* component;
    AAX_IPropertyMap* map;
};

bool contains (const std::vector<std::string>& calls, const std::string& call)
{
    return std::find (calls.begin(), calls.end(), call) != calls.end();
}

void answerEverything (FakeHost& host, AAX_Result answer)
{
    for (auto* fake : host.all<FakeObject>())
        fake->answer = answer;
}

struct ForwardCase
{
    const char* name;
    acfIID version;                 ///< the host interface the operation needs
    AAX_Result missing;             ///< its answer without that interface
    std::function<AAX_Result (Description&)> call;
    const char* hostCall;           ///< what the host records when it is called
};

const ForwardCase forwardCases[] {
    { "AddEffect", IID_IAAXCollectionV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.collection.AddEffect ("id", d.effect); }, "collection1.AddEffect(id, effect1)" },
    { "SetManufacturerName", IID_IAAXCollectionV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.collection.SetManufacturerName ("Velora"); }, "collection1.SetManufacturerName(Velora)" },
    { "AddPackageName", IID_IAAXCollectionV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.collection.AddPackageName ("QR7150"); }, "collection1.AddPackageName(QR7150)" },
    { "SetPackageVersion", IID_IAAXCollectionV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.collection.SetPackageVersion (65537); }, "collection1.SetPackageVersion(65537)" },
    { "CollectionSetProperties", IID_IAAXCollectionV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.collection.SetProperties (d.map); }, "collection1.SetProperties(map1)" },
    { "AddComponent", IID_IAAXEffectDescriptorV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.effect->AddComponent (d.component); }, "effect1.AddComponent(component1)" },
    { "AddName", IID_IAAXEffectDescriptorV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.effect->AddName ("QR7150"); }, "effect1.AddName(QR7150)" },
    { "AddCategory", IID_IAAXEffectDescriptorV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.effect->AddCategory (32); }, "effect1.AddCategory(32)" },
    { "AddCategoryBypassParameter", IID_IAAXEffectDescriptorV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.effect->AddCategoryBypassParameter (32, "MasterBypassID"); },
      "effect1.AddCategoryBypassParameter(32, MasterBypassID)" },
    { "AddProcPtr", IID_IAAXEffectDescriptorV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.effect->AddProcPtr (&d, kAAX_ProcPtrID_Create_EffectGUI); }, "effect1.AddProcPtr(ptr, 1)" },
    { "EffectSetProperties", IID_IAAXEffectDescriptorV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.effect->SetProperties (nullptr); }, "effect1.SetProperties(null)" },
    { "AddResourceInfo", IID_IAAXEffectDescriptorV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.effect->AddResourceInfo (AAX_eResourceType_PageTable, "pages.xml"); },
      "effect1.AddResourceInfo(1, pages.xml)" },
    { "AddMeterDescription", IID_IAAXEffectDescriptorV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.effect->AddMeterDescription (7, "Level", d.map); },
      "effect1.AddMeterDescription(7, Level, map1)" },
    { "AddControlMIDINode", IID_IAAXEffectDescriptorV2, AAX_ERROR_UNIMPLEMENTED,
      [] (Description& d) { return d.effect->AddControlMIDINode (9, AAX_eMIDINodeType_LocalInput, "In", 3); },
      "effect1.AddControlMIDINode(9, 0, In, 3)" },
    { "Clear", IID_IAAXComponentDescriptorV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.component->Clear(); }, "component1.Clear()" },
    { "AddReservedField", IID_IAAXComponentDescriptorV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.component->AddReservedField (8, 2); }, "component1.AddReservedField(8, 2)" },
    { "AddAudioIn", IID_IAAXComponentDescriptorV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.component->AddAudioIn (0); }, "component1.AddAudioIn(0)" },
    { "AddAudioOut", IID_IAAXComponentDescriptorV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.component->AddAudioOut (1); }, "component1.AddAudioOut(1)" },
    { "AddAudioBufferLength", IID_IAAXComponentDescriptorV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.component->AddAudioBufferLength (2); }, "component1.AddAudioBufferLength(2)" },
    { "AddSampleRate", IID_IAAXComponentDescriptorV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.component->AddSampleRate (3); }, "component1.AddSampleRate(3)" },
    { "AddClock", IID_IAAXComponentDescriptorV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.component->AddClock (4); }, "component1.AddClock(4)" },
    { "AddSideChainIn", IID_IAAXComponentDescriptorV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.component->AddSideChainIn (6); }, "component1.AddSideChainIn(6)" },
    { "AddDataInPort", IID_IAAXComponentDescriptorV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.component->AddDataInPort (3, 4, AAX_eDataInPortType_Buffered); },
      "component1.AddDataInPort(3, 4, 1)" },
    { "AddAuxOutputStem", IID_IAAXComponentDescriptorV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.component->AddAuxOutputStem (0, AAX_eStemFormat_Stereo, "Aux"); },
      "component1.AddAuxOutputStem(0, 65538, Aux)" },
    { "AddPrivateData", IID_IAAXComponentDescriptorV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.component->AddPrivateData (4, 8, 0); }, "component1.AddPrivateData(4, 8, 0)" },
    { "AddDmaInstance", IID_IAAXComponentDescriptorV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.component->AddDmaInstance (5, AAX_IDma::eMode_Burst); },
      "component1.AddDmaInstance(5, 1)" },
    { "AddMIDINode", IID_IAAXComponentDescriptorV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.component->AddMIDINode (7, AAX_eMIDINodeType_LocalOutput, "Out", 1); },
      "component1.AddMIDINode(7, 1, Out, 1)" },
    { "AddProcessProc_Native", IID_IAAXComponentDescriptorV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.component->AddProcessProc_Native (nullptr, d.map, nullptr, nullptr, nullptr); },
      "component1.AddProcessProc_Native(null, map1, null, null, null)" },
    { "AddProcessProc_TI", IID_IAAXComponentDescriptorV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.component->AddProcessProc_TI ("dsp.so", "Process", d.map, "Init", nullptr, nullptr); },
      "component1.AddProcessProc_TI(dsp.so, Process, map1, Init, null, null)" },
    { "AddMeters", IID_IAAXComponentDescriptorV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.component->AddMeters (7, nullptr, 0); }, "component1.AddMeters(7, null, 0)" },
    { "AddTemporaryData", IID_IAAXComponentDescriptorV2, AAX_ERROR_UNIMPLEMENTED,
      [] (Description& d) { return d.component->AddTemporaryData (8, 16); }, "component1.AddTemporaryData(8, 16)" },
    { "AddProperty", IID_IAAXPropertyMapV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.map->AddProperty (AAX_eProperty_ProductID, 5); }, "map1.AddProperty(12, 5)" },
    { "RemoveProperty", IID_IAAXPropertyMapV1, AAX_ERROR_NULL_OBJECT,
      [] (Description& d) { return d.map->RemoveProperty (AAX_eProperty_ProductID); }, "map1.RemoveProperty(12)" },
    { "AddPropertyWithIDArray", IID_IAAXPropertyMapV2, AAX_ERROR_UNIMPLEMENTED,
      [] (Description& d)
      {
          const AAX_SPlugInIdentifierTriad ids[] { { 1, 2, 3 } };
          return d.map->AddPropertyWithIDArray (AAX_eProperty_PlugInID_Native, ids, 1);
      },
      "map1.AddPropertyWithIDArray(13, 1)" },
};

class DescriptionForwardTest : public FakeHostFixture, public ::testing::WithParamInterface<ForwardCase> {};

TEST_P (DescriptionForwardTest, ForwardsToTheHostAndPassesItsAnswerBack)
{
    Description description (host.root());
    answerEverything (host, 77);

    EXPECT_EQ (GetParam().call (description), 77);
    EXPECT_TRUE (contains (host.calls(), GetParam().hostCall)) << GetParam().hostCall;
}

TEST_P (DescriptionForwardTest, AnswersItsMissingResultWithoutTheInterfaceVersion)
{
    host.refuse (GetParam().version);
    Description description (host.root());

    EXPECT_EQ (GetParam().call (description), GetParam().missing);
    EXPECT_FALSE (contains (host.calls(), GetParam().hostCall));
}

TEST_P (DescriptionForwardTest, AnswersItsMissingResultWithoutAHost)
{
    Description description (nullptr);
    EXPECT_EQ (GetParam().call (description), GetParam().missing);
}

INSTANTIATE_TEST_SUITE_P (Operations, DescriptionForwardTest, ::testing::ValuesIn (forwardCases),
                          [] (const auto& testInfo) { return std::string (testInfo.param.name); });

//==============================================================================
using DescriptionProxiesTest = FakeHostFixture;

TEST_F (DescriptionProxiesTest, EachProxyCreatesItsHostObjectThroughTheFactory)
{
    Description description (host.root());

    EXPECT_EQ (host.callsStartingWith ("root1.CreateInstance"), (std::vector<std::string> {
        "root1.CreateInstance(AAXCompID_AAXCollection, null, IID_IAAXCollectionV1)",
        "root1.CreateInstance(AAXCompID_AAXEffectDescriptor, null, IID_IAAXEffectDescriptorV1)",
        "root1.CreateInstance(AAXCompID_AAXComponentDescriptor, null, IID_IAAXComponentDescriptorV1)",
        "root1.CreateInstance(AAXCompID_AAXPropertyMap, null, IID_IAAXPropertyMapV1)" }));

    ASSERT_NE (description.collection.GetIUnknown(), nullptr);
    EXPECT_EQ (host.find (description.collection.GetIUnknown())->name(), "collection1");
}

TEST_F (DescriptionProxiesTest, WithoutAFactoryNothingIsCreatedAndNothingIsHeld)
{
    host.refuse (IID_IACFComponentFactory);
    Description description (host.root());

    EXPECT_EQ (description.collection.GetIUnknown(), nullptr);
    EXPECT_TRUE (host.callsStartingWith ("root1.CreateInstance").empty());
    EXPECT_EQ (description.effect->AddName ("x"), AAX_ERROR_NULL_OBJECT);
    EXPECT_FALSE (description.map->GetProperty (AAX_eProperty_ProductID, nullptr));
}

TEST_F (DescriptionProxiesTest, ARefusedClassLeavesOnlyThatProxyWithoutAHostObject)
{
    host.refuseClass (AAXCompID_AAXEffectDescriptor);
    Description description (host.root());

    EXPECT_EQ (description.effect->AddName ("x"), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (description.component->AddAudioIn (0), AAX_SUCCESS);
    EXPECT_EQ (description.collection.AddEffect ("id", description.effect), AAX_SUCCESS);
    EXPECT_TRUE (contains (host.calls(), "collection1.AddEffect(id, null)"));
}

TEST_F (DescriptionProxiesTest, AddEffectWithoutADescriptorDoesNotCallTheHost)
{
    Description description (host.root());
    EXPECT_EQ (description.collection.AddEffect ("id", nullptr), AAX_ERROR_NULL_OBJECT);
    EXPECT_TRUE (host.callsStartingWith ("collection1.AddEffect").empty());
}

TEST_F (DescriptionProxiesTest, PropertiesReachTheHostMapAndAreReadBack)
{
    Description description (host.root());
    description.map->AddProperty (AAX_eProperty_ManufacturerID, 42);

    AAX_CPropertyValue value = 0;
    EXPECT_TRUE (description.map->GetProperty (AAX_eProperty_ManufacturerID, &value));
    EXPECT_EQ (value, 42);
    EXPECT_FALSE (description.map->GetProperty (AAX_eProperty_ProductID, &value));

    const AAX_SPlugInIdentifierTriad ids[] { { 1, 2, 3 }, { 4, 5, 6 } };
    ASSERT_EQ (description.map->AddPropertyWithIDArray (AAX_eProperty_PlugInID_Native, ids, 2), AAX_SUCCESS);
    const AAX_SPlugInIdentifierTriad* read = nullptr;
    uint32_t count = 0;
    EXPECT_TRUE (description.map->GetPropertyWithIDArray (AAX_eProperty_PlugInID_Native, &read, &count));
    ASSERT_EQ (count, 2u);
    EXPECT_EQ (read[1].mPlugInID, 6u);
}

TEST_F (DescriptionProxiesTest, AMapWithoutTheSecondVersionStillTakesPlainProperties)
{
    host.refuse (IID_IAAXPropertyMapV2);
    Description description (host.root());

    EXPECT_EQ (description.map->AddProperty (AAX_eProperty_ProductID, 1), AAX_SUCCESS);
    EXPECT_EQ (description.map->AddPropertyWithIDArray (AAX_eProperty_ProductID, nullptr, 0), AAX_ERROR_UNIMPLEMENTED);
    const AAX_SPlugInIdentifierTriad* read = nullptr;
    uint32_t count = 0;
    EXPECT_FALSE (description.map->GetPropertyWithIDArray (AAX_eProperty_ProductID, &read, &count));
}

TEST_F (DescriptionProxiesTest, DuplicatedMapsHoldOnlyPropertiesTenToFourHundredOne)
{
    Description description (host.root());

    for (const auto id : { 5, 10, 401, 402 })
        description.map->AddProperty (static_cast<AAX_EProperty> (id), id * 2);

    auto* copy = description.component->DuplicatePropertyMap (description.map);
    ASSERT_NE (copy, nullptr);
    ASSERT_NE (copy, description.map);

    auto* hostCopy = dynamic_cast<FakePropertyMap*> (host.find (AAX_HostObjectOf (copy)));
    ASSERT_NE (hostCopy, nullptr);
    EXPECT_EQ (hostCopy->properties, (std::map<int32_t, AAX_CPropertyValue> { { 10, 20 }, { 401, 802 } }));

    // A missing source gives an empty map rather than a crash.
    EXPECT_NE (description.component->DuplicatePropertyMap (nullptr), nullptr);
}

TEST_F (DescriptionProxiesTest, DestroyingADescriptorReleasesEverythingMadeThroughIt)
{
    {
        AAX_VEffectDescriptor effect (host.root());
        auto* component = effect.NewComponentDescriptor();
        component->NewPropertyMap();
        component->DuplicatePropertyMap (component->NewPropertyMap());
        effect.NewPropertyMap();
        EXPECT_GT (host.outstandingReferences(), 0);
    }

    EXPECT_EQ (host.outstandingReferences(), 0) << host.outstandingReport();
}

TEST_F (DescriptionProxiesTest, MapsMadeByTheCollectionGoWithIt)
{
    {
        AAX_VCollection collection (host.root());
        EXPECT_EQ (collection.SetProperties (collection.NewPropertyMap()), AAX_SUCCESS);
        EXPECT_TRUE (contains (host.calls(), "collection1.SetProperties(map1)"));
    }

    EXPECT_EQ (host.outstandingReferences(), 0) << host.outstandingReport();
}
}
