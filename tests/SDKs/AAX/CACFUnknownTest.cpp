// The object base, its interface queries and the module-wide live-object
// count, and the ACF entry functions that the host calls first.
#include "FakeHostFixture.h"
#include "TestEffectDescriptions.h"

#include "AAX_CHostServices.h"
#include "AAX_ICollection.h"
#include "AAX_IEffectDescriptor.h"
#include "AAX_IEffectGUI.h"
#include "AAX_IEffectParameters.h"

#include <initializer_list>
#include <stdexcept>
#include <thread>
#include <vector>

extern "C"
{
    ACFRESULT ACFRegisterPlugin (IACFUnknown*, IACFPluginDefinition**);
    ACFRESULT ACFRegisterComponent (IACFUnknown*, uint32_t, IACFComponentDefinition**);
    ACFRESULT ACFGetClassFactory (IACFUnknown*, const acfCLSID&, const acfIID&, void**);
    ACFRESULT ACFCanUnloadNow (IACFUnknown*);
    ACFRESULT ACFStartup (IACFUnknown*);
    ACFRESULT ACFShutdown (IACFUnknown*);
    ACFRESULT ACFGetSDKVersion (uint64_t*);
}

namespace
{
/** Counts the objects of this test that are deleted, and in which order the last release ran. */
struct Lifecycle
{
    int finalReleases = 0;
    int deletions = 0;
    bool finalReleaseBeforeDeletion = false;
};

/** An effect parameters object that answers nothing but its queries and counting. */
class TestEffectParameters final : public AAX_IEffectParameters
{
public:
    explicit TestEffectParameters (Lifecycle* lifecycleToUse = nullptr) : lifecycle (lifecycleToUse) {}

    ~TestEffectParameters() override
    {
        if (lifecycle != nullptr)
            ++lifecycle->deletions;
    }

    void FinalRelease() override
    {
        if (lifecycle != nullptr)
        {
            ++lifecycle->finalReleases;
            lifecycle->finalReleaseBeforeDeletion = lifecycle->deletions == 0;
        }
    }

    AAX_Result Initialize (IACFUnknown*) override  { return none; }
    AAX_Result Uninitialize() override  { return none; }
    AAX_Result NotificationReceived (AAX_CTypeID, const void*, uint32_t) override  { return none; }
    AAX_Result GetNumberOfParameters (int32_t*) const override  { return none; }
    AAX_Result GetMasterBypassParameter (AAX_IString*) const override  { return none; }
    AAX_Result GetParameterIsAutomatable (AAX_CParamID, AAX_CBoolean*) const override  { return none; }
    AAX_Result GetParameterNumberOfSteps (AAX_CParamID, int32_t*) const override  { return none; }
    AAX_Result GetParameterName (AAX_CParamID, AAX_IString*) const override  { return none; }
    AAX_Result GetParameterNameOfLength (AAX_CParamID, AAX_IString*, int32_t) const override  { return none; }
    AAX_Result GetParameterDefaultNormalizedValue (AAX_CParamID, double*) const override  { return none; }
    AAX_Result SetParameterDefaultNormalizedValue (AAX_CParamID, double) override  { return none; }
    AAX_Result GetParameterType (AAX_CParamID, AAX_EParameterType*) const override  { return none; }
    AAX_Result GetParameterOrientation (AAX_CParamID, AAX_EParameterOrientation*) const override  { return none; }
    AAX_Result GetParameter (AAX_CParamID, AAX_IParameter**) override  { return none; }
    AAX_Result GetParameterIndex (AAX_CParamID, int32_t*) const override  { return none; }
    AAX_Result GetParameterIDFromIndex (int32_t, AAX_IString*) const override  { return none; }
    AAX_Result GetParameterValueInfo (AAX_CParamID, int32_t, int32_t*) const override  { return none; }
    AAX_Result GetParameterValueFromString (AAX_CParamID, double*, const AAX_IString&) const override  { return none; }
    AAX_Result GetParameterStringFromValue (AAX_CParamID, double, AAX_IString*, int32_t) const override  { return none; }
    AAX_Result GetParameterValueString (AAX_CParamID, AAX_IString*, int32_t) const override  { return none; }
    AAX_Result GetParameterNormalizedValue (AAX_CParamID, double*) const override  { return none; }
    AAX_Result SetParameterNormalizedValue (AAX_CParamID, double) override  { return none; }
    AAX_Result SetParameterNormalizedRelative (AAX_CParamID, double) override  { return none; }
    AAX_Result TouchParameter (AAX_CParamID) override  { return none; }
    AAX_Result ReleaseParameter (AAX_CParamID) override  { return none; }
    AAX_Result UpdateParameterTouch (AAX_CParamID, AAX_CBoolean) override  { return none; }
    AAX_Result UpdateParameterNormalizedValue (AAX_CParamID, double, AAX_EUpdateSource) override  { return none; }
    AAX_Result UpdateParameterNormalizedRelative (AAX_CParamID, double) override  { return none; }
    AAX_Result GenerateCoefficients() override  { return none; }
    AAX_Result ResetFieldData (AAX_CFieldIndex, void*, uint32_t) const override  { return none; }
    AAX_Result GetNumberOfChunks (int32_t*) const override  { return none; }
    AAX_Result GetChunkIDFromIndex (int32_t, AAX_CTypeID*) const override  { return none; }
    AAX_Result GetChunkSize (AAX_CTypeID, uint32_t*) const override  { return none; }
    AAX_Result GetChunk (AAX_CTypeID, AAX_SPlugInChunk*) const override  { return none; }
    AAX_Result SetChunk (AAX_CTypeID, const AAX_SPlugInChunk*) override  { return none; }
    AAX_Result CompareActiveChunk (const AAX_SPlugInChunk*, AAX_CBoolean*) const override  { return none; }
    AAX_Result GetNumberOfChanges (int32_t*) const override  { return none; }
    AAX_Result TimerWakeup() override  { return none; }
    AAX_Result GetCurveData (AAX_CTypeID, const float*, uint32_t, float*) const override  { return none; }
    AAX_Result GetCustomData (AAX_CTypeID, uint32_t, void*, uint32_t*) const override  { return none; }
    AAX_Result SetCustomData (AAX_CTypeID, uint32_t, const void*) override  { return none; }
    AAX_Result DoMIDITransfers() override  { return none; }
    AAX_Result RenderAudio_Hybrid (AAX_SHybridRenderInfo*) override  { return none; }
    AAX_Result UpdateMIDINodes (AAX_CFieldIndex, AAX_CMidiPacket&) override  { return none; }
    AAX_Result UpdateControlMIDINodes (AAX_CTypeID, AAX_CMidiPacket&) override  { return none; }
    AAX_Result GetCurveDataMeterIds (AAX_CTypeID, uint32_t*, uint32_t*) const override  { return none; }
    AAX_Result GetCurveDataDisplayRange (AAX_CTypeID, float*, float*, float*, float*) const override  { return none; }

private:
    static constexpr AAX_Result none = AAX_ERROR_UNIMPLEMENTED;
    Lifecycle* lifecycle;
};

class TestEffectGUI final : public AAX_IEffectGUI
{
public:
    AAX_Result Initialize (IACFUnknown*) override  { return none; }
    AAX_Result Uninitialize() override  { return none; }
    AAX_Result NotificationReceived (AAX_CTypeID, const void*, uint32_t) override  { return none; }
    AAX_Result SetViewContainer (IACFUnknown*) override  { return none; }
    AAX_Result GetViewSize (AAX_Point*) const override  { return none; }
    AAX_Result Draw (AAX_Rect*) override  { return none; }
    AAX_Result TimerWakeup() override  { return none; }
    AAX_Result ParameterUpdated (AAX_CParamID) override  { return none; }
    AAX_Result GetCustomLabel (AAX_EPlugInStrings, AAX_IString*) const override  { return none; }
    AAX_Result SetControlHighlightInfo (AAX_CParamID, AAX_CBoolean, AAX_EHighlightColor) override  { return none; }

private:
    static constexpr AAX_Result none = AAX_ERROR_UNIMPLEMENTED;
};

/** The reference count, read without changing it. */
uint32_t referencesOf (IACFUnknown& object)
{
    object.AddRef();
    return object.Release();
}

//==============================================================================
TEST (CACFUnknownTest, TheLastReleaseRunsFinalReleaseThenDeletes)
{
    Lifecycle lifecycle;
    auto* object = new TestEffectParameters (&lifecycle);

    EXPECT_EQ (object->AddRef(), 1u);
    EXPECT_EQ (object->AddRef(), 2u);
    EXPECT_EQ (object->Release(), 1u);
    EXPECT_EQ (lifecycle.deletions, 0);
    EXPECT_EQ (object->Release(), 0u);

    EXPECT_EQ (lifecycle.finalReleases, 1);
    EXPECT_EQ (lifecycle.deletions, 1);
    EXPECT_TRUE (lifecycle.finalReleaseBeforeDeletion);
}

TEST (CACFUnknownTest, IACFUnknownGivesThePrivateUnknownWithAReference)
{
    auto* object = new TestEffectParameters;
    object->AddRef();

    void* answer = nullptr;
    ASSERT_EQ (object->QueryInterface (IID_IACFUnknown, &answer), ACF_OK);
    ASSERT_NE (answer, nullptr);
    EXPECT_NE (answer, static_cast<void*> (static_cast<IACFUnknown*> (object)));
    EXPECT_EQ (referencesOf (*object), 2u);

    // The private unknown counts for the same object.
    auto* privateUnknown = static_cast<IACFUnknown*> (answer);
    EXPECT_EQ (privateUnknown->Release(), 1u);
    EXPECT_EQ (object->Release(), 0u);
}

struct QueryCase
{
    const char* name;
    const acfIID& iid;
    bool answeredByParameters;
    bool answeredByGUI;
};

const QueryCase queryCases[] {
    { "EffectParametersV1", IID_IAAXEffectParametersV1, true, false },
    { "EffectParametersV2", IID_IAAXEffectParametersV2, true, false },
    { "EffectParametersV3", IID_IAAXEffectParametersV3, true, false },
    { "EffectGUIV1", IID_IAAXEffectGUIV1, false, true },
    { "PluginDefinition", IID_IACFPluginDefinition, false, false },
    { "Controller", IID_IAAXControllerV1, false, false },
};

class CACFUnknownQueryTest : public ::testing::TestWithParam<QueryCase> {};

/** Queries object for the case's interface: answered with the object's own
    interface pointer and one more reference, or refused with nothing changed. */
template <class Object, class Interface>
void checkQuery (Object* object, bool answered)
{
    object->AddRef();
    void* answer = reinterpret_cast<void*> (1);
    const auto result = object->QueryInterface (CACFUnknownQueryTest::GetParam().iid, &answer);

    if (answered)
    {
        EXPECT_EQ (result, ACF_OK);
        EXPECT_EQ (answer, static_cast<void*> (static_cast<Interface*> (object)));
        EXPECT_EQ (referencesOf (*object), 2u);
        object->Release();
    }
    else
    {
        EXPECT_EQ (result, ACF_E_NOINTERFACE);
        EXPECT_EQ (answer, nullptr);
        EXPECT_EQ (referencesOf (*object), 1u);
    }

    EXPECT_EQ (object->Release(), 0u);
}

TEST_P (CACFUnknownQueryTest, EffectParametersAnswerOnlyTheirOwnVersions)
{
    checkQuery<TestEffectParameters, AAX_IACFEffectParameters_V3> (new TestEffectParameters, GetParam().answeredByParameters);
}

TEST_P (CACFUnknownQueryTest, GUIObjectsAnswerOnlyTheirOwnInterface)
{
    checkQuery<TestEffectGUI, AAX_IACFEffectGUI> (new TestEffectGUI, GetParam().answeredByGUI);
}

INSTANTIATE_TEST_SUITE_P (Interfaces, CACFUnknownQueryTest, ::testing::ValuesIn (queryCases),
                          [] (const auto& testInfo) { return std::string (testInfo.param.name); });

TEST (CACFUnknownTest, AQueryWithoutAPlaceForTheAnswerChangesNothing)
{
    auto* parameters = new TestEffectParameters;
    auto* gui = new TestEffectGUI;
    parameters->AddRef();
    gui->AddRef();

    for (const auto& iid : { IID_IACFUnknown, IID_IAAXEffectParametersV2, IID_IAAXEffectGUIV1 })
    {
        EXPECT_EQ (parameters->QueryInterface (iid, nullptr), ACF_E_POINTER);
        EXPECT_EQ (gui->QueryInterface (iid, nullptr), ACF_E_POINTER);
    }

    EXPECT_EQ (parameters->Release(), 0u);
    EXPECT_EQ (gui->Release(), 0u);
}

TEST (CACFUnknownTest, ConcurrentAddRefAndReleaseDeleteExactlyOnce)
{
    constexpr int threadCount = 8;
    constexpr int pairsPerThread = 20000;
    Lifecycle lifecycle;
    auto* object = new TestEffectParameters (&lifecycle);
    object->AddRef();

    std::vector<std::thread> threads;

    for (int t = 0; t < threadCount; ++t)
        threads.emplace_back ([object]
        {
            for (int i = 0; i < pairsPerThread; ++i)
            {
                object->AddRef();
                object->Release();
            }
        });

    for (auto& thread : threads)
        thread.join();

    EXPECT_EQ (lifecycle.deletions, 0);
    EXPECT_EQ (object->Release(), 0u);
    EXPECT_EQ (lifecycle.deletions, 1);
}

TEST (CACFUnknownTest, TheLiveCountFollowsObjectsMadeOnManyThreads)
{
    const auto before = CACFUnknown::GetActiveObjectCount();
    std::vector<std::thread> threads;

    for (int t = 0; t < 8; ++t)
        threads.emplace_back ([]
        {
            for (int i = 0; i < 2000; ++i)
            {
                auto* parameters = new TestEffectParameters;
                auto* gui = new TestEffectGUI;
                parameters->AddRef();
                gui->AddRef();
                gui->Release();
                parameters->Release();
            }
        });

    for (auto& thread : threads)
        thread.join();

    EXPECT_EQ (CACFUnknown::GetActiveObjectCount(), before);
}

//==============================================================================
using EntryFunctionTest = FakeHostFixture;

TEST_F (EntryFunctionTest, FixedAnswers)
{
    uint64_t version = 0;
    EXPECT_EQ (ACFGetSDKVersion (&version), ACF_OK);
    EXPECT_EQ (version, 0x0000020200B45B38ull);

    void* factory = &version;
    EXPECT_EQ (ACFGetClassFactory (host.root(), IID_IACFUnknown, IID_IACFUnknown, &factory), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (factory, nullptr);

    IACFComponentDefinition* component = reinterpret_cast<IACFComponentDefinition*> (&version);
    EXPECT_EQ (ACFRegisterComponent (host.root(), 0, &component), ACF_OK);
    EXPECT_EQ (component, nullptr);

    // Without a place for the answer the results stay the same.
    EXPECT_EQ (ACFGetClassFactory (host.root(), IID_IACFUnknown, IID_IACFUnknown, nullptr), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (ACFRegisterComponent (host.root(), 0, nullptr), ACF_OK);
    EXPECT_EQ (ACFGetSDKVersion (nullptr), AAX_ERROR_NULL_OBJECT);
}

TEST_F (EntryFunctionTest, CanUnloadOnlyWhenNoObjectLives)
{
    ASSERT_EQ (ACFCanUnloadNow (host.root()), 0);

    auto* parameters = new TestEffectParameters;
    auto* gui = new TestEffectGUI;
    parameters->AddRef();
    gui->AddRef();
    EXPECT_EQ (ACFCanUnloadNow (host.root()), 2);

    gui->Release();
    EXPECT_EQ (ACFCanUnloadNow (host.root()), 1);
    parameters->Release();
    EXPECT_EQ (ACFCanUnloadNow (host.root()), 0);
}

TEST_F (EntryFunctionTest, StartupConnectsTheTraceAndShutdownDisconnectsIt)
{
    ASSERT_EQ (ACFStartup (host.root()), ACF_OK);
    AAX_CHostServices::Trace (AAX_eTracePriorityHost_Normal, "%s", "connected");
    ASSERT_EQ (ACFShutdown (host.root()), ACF_OK);
    AAX_CHostServices::Trace (AAX_eTracePriorityHost_Normal, "%s", "disconnected");

    EXPECT_EQ (host.hostServices().traces,
               (std::vector<std::pair<int32_t, std::string>> { { AAX_eTracePriorityHost_Normal, "connected" } }));
}

/** Registration with a description function of the test's choosing. */
class RegistrationTest : public FakeHostFixture
{
protected:
    void TearDown() override
    {
        testEffectDescriptions = [] (AAX_ICollection*) { return AAX_Result (AAX_SUCCESS); };
        FakeHostFixture::TearDown();
    }

    /** Registers and releases the definition the host handed back. */
    ACFRESULT registerPlugin()
    {
        IACFPluginDefinition* definition = nullptr;
        const auto result = ACFRegisterPlugin (host.root(), &definition);
        definitionReturned = definition != nullptr;

        if (definition != nullptr)
            definition->Release();

        return result;
    }

    bool definitionReturned = false;
};

TEST_F (RegistrationTest, DescribesThroughTheHostCollectionAndHandsBackItsDefinition)
{
    testEffectDescriptions = [] (AAX_ICollection* collection)
    {
        auto* effect = collection->NewDescriptor();
        effect->AddName ("Test");
        return collection->AddEffect ("com.test", effect);
    };

    EXPECT_EQ (registerPlugin(), ACF_OK);
    EXPECT_TRUE (definitionReturned);

    const auto collections = host.all<FakeCollection>();
    ASSERT_EQ (collections.size(), 1u);
    ASSERT_EQ (collections[0]->effects.size(), 1u);
    EXPECT_EQ (collections[0]->effects[0].first, "com.test");
    EXPECT_EQ (collections[0]->effects[0].second->names, std::vector<std::string> { "Test" });
    EXPECT_EQ (host.callsStartingWith ("collection1.QueryInterface(IID_IACFPluginDefinition)").size(), 1u);
}

TEST_F (RegistrationTest, ADescriptionFailureIsPassedOnUnchanged)
{
    testEffectDescriptions = [] (AAX_ICollection*) { return AAX_Result (-1234); };
    EXPECT_EQ (registerPlugin(), -1234);
    EXPECT_FALSE (definitionReturned);
}

TEST_F (RegistrationTest, ExceptionsOfAnyTypeBecomeUnexpected)
{
    testEffectDescriptions = [] (AAX_ICollection*) -> AAX_Result { throw std::runtime_error ("description failed"); };
    EXPECT_EQ (registerPlugin(), ACF_E_UNEXPECTED);

    testEffectDescriptions = [] (AAX_ICollection*) -> AAX_Result { throw 42; };
    EXPECT_EQ (registerPlugin(), ACF_E_UNEXPECTED);
    EXPECT_FALSE (definitionReturned);
}

TEST_F (RegistrationTest, ACollectionWithoutADefinitionIsANullObject)
{
    for (const auto how : { Withholding::refusal, Withholding::errorWithPointer, Withholding::successWithNull })
    {
        FakeHost withholding;
        withholding.withhold (IID_IACFPluginDefinition, how);
        IACFPluginDefinition* definition = nullptr;
        EXPECT_EQ (ACFRegisterPlugin (withholding.root(), &definition), AAX_ERROR_NULL_OBJECT) << static_cast<int> (how);
        EXPECT_EQ (definition, nullptr) << static_cast<int> (how);
        EXPECT_EQ (withholding.outstandingReferences(), 0) << withholding.outstandingReport();
    }
}

TEST_F (RegistrationTest, WithoutAHostCollectionNothingIsQueried)
{
    host.refuse (IID_IACFComponentFactory);
    EXPECT_EQ (registerPlugin(), AAX_ERROR_NULL_OBJECT);
    EXPECT_TRUE (host.all<FakeCollection>().empty());

    IACFPluginDefinition* definition = nullptr;
    EXPECT_EQ (ACFRegisterPlugin (nullptr, &definition), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (ACFRegisterPlugin (host.root(), nullptr), AAX_ERROR_NULL_OBJECT);
}
}
