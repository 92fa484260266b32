// The GUI object: what it asks of the plug-in's view, in which order, and what
// it holds of the host between Initialize and Uninitialize.
#include "FakeHostFixture.h"

#include "AAX_CEffectGUI.h"
#include "AAX_CEffectParameters.h"
#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"

#include <string>
#include <vector>

namespace
{
class TenKnobEffect : public AAX_CEffectParameters
{
public:
    AAX_Result EffectInit() override
    {
        for (int i = 0; i < count; ++i)
            parameterManager.AddParameter (new AAX_CParameter<float> (std::to_string (i).c_str(), AAX_CString ("Knob"), 0.0f,
                                                                      AAX_CLinearTaperDelegate<float, 0>(),
                                                                      AAX_CNumberDisplayDelegate<float, 3u, 0u>(), true));
        return AAX_SUCCESS;
    }

    int count = 10;
};

/** Records the view operations and what it sees of the container while they run. */
class RecordingGUI : public AAX_CEffectGUI
{
public:
    std::vector<std::string> log;

    AAX_Result ParameterUpdated (AAX_CParamID id) override
    {
        log.push_back (std::string ("updated ") + id);
        return AAX_SUCCESS;
    }

protected:
    void CreateViewContents() override  { log.push_back ("contents"); }
    void CreateViewContainer() override  { log.push_back (GetViewContainer() != nullptr ? "show" : "show without container"); }
    void DeleteViewContainer() override  { log.push_back (GetViewContainer() == nullptr ? "delete" : "delete with container"); }
};

class EffectGUITest : public FakeHostFixture
{
protected:
    void SetUp() override
    {
        effect->AddRef();
        gui->AddRef();
        instance.effectParameters = effect;
    }

    void TearDown() override
    {
        gui->Release();
        effect->Uninitialize();
        effect->Release();
        FakeHostFixture::TearDown();
    }

    std::vector<std::string> updates (int count) const
    {
        std::vector<std::string> expected;
        for (int i = 0; i < count; ++i)
            expected.push_back ("updated " + std::to_string (i));
        return expected;
    }

    FakeInstanceHost& instance = host.newInstanceHost();
    TenKnobEffect* effect = new TenKnobEffect();
    RecordingGUI* gui = new RecordingGUI();
};
}

TEST_F (EffectGUITest, WithoutAHostNoViewIsBuilt)
{
    EXPECT_EQ (gui->Initialize (nullptr), AAX_ERROR_NOT_INITIALIZED);
    EXPECT_TRUE (gui->log.empty());
    EXPECT_EQ (gui->GetEffectParameters(), nullptr);
}

TEST_F (EffectGUITest, ContainersShowTheViewAndPushEveryValue)
{
    effect->Initialize (&instance);
    ASSERT_EQ (gui->Initialize (&instance), AAX_SUCCESS);
    EXPECT_EQ (gui->GetEffectParameters(), static_cast<AAX_IEffectParameters*> (effect));
    EXPECT_EQ (gui->GetViewContainerType(), 0);
    EXPECT_EQ (gui->GetViewContainerPtr(), nullptr);

    auto& first = host.newViewContainer();
    auto& second = host.newViewContainer();
    int nativeView = 0;
    second.nativeView = &nativeView;

    gui->SetViewContainer (&first);
    gui->SetViewContainer (&second);
    EXPECT_EQ (first.outstanding(), 0) << "the first container's proxy was deleted";
    EXPECT_EQ (gui->GetViewContainerType(), AAX_eViewContainer_Type_Native);
    EXPECT_EQ (gui->GetViewContainerPtr(), &nativeView);

    gui->SetViewContainer (nullptr);
    EXPECT_EQ (second.outstanding(), 0);

    auto expected = std::vector<std::string> { "contents", "show" };
    for (const auto& part : { updates (10), { "show" }, updates (10), { "delete" } })
        expected.insert (expected.end(), part.begin(), part.end());
    EXPECT_EQ (gui->log, expected);

    EXPECT_EQ (gui->Uninitialize(), AAX_SUCCESS);
    EXPECT_EQ (gui->GetEffectParameters(), nullptr);
}

TEST_F (EffectGUITest, AnEffectWithoutParametersUpdatesNothing)
{
    effect->count = 0;
    effect->Initialize (&instance);
    gui->Initialize (&instance);
    gui->SetViewContainer (&host.newViewContainer());

    EXPECT_EQ (gui->log, (std::vector<std::string> { "contents", "show" }));
    AAX_CString label;
    EXPECT_EQ (gui->GetCustomLabel (AAX_ePlugInStrings_Analysis, &label), AAX_ERROR_NULL_OBJECT);
    gui->SetViewContainer (nullptr);
}

class EffectGUIWithheldTest : public EffectGUITest, public ::testing::WithParamInterface<Withholding>
{
};

TEST_P (EffectGUIWithheldTest, AWithheldEffectParametersInterfaceLeavesNone)
{
    host.withhold (IID_IAAXEffectParametersV1, GetParam());
    ASSERT_EQ (gui->Initialize (&instance), AAX_SUCCESS);
    EXPECT_EQ (gui->GetEffectParameters(), nullptr);

    gui->SetViewContainer (&host.newViewContainer());
    EXPECT_EQ (gui->log, (std::vector<std::string> { "contents", "show" }));
    gui->SetViewContainer (nullptr);
}

INSTANTIATE_TEST_SUITE_P (Answers, EffectGUIWithheldTest,
                          ::testing::Values (Withholding::refusal, Withholding::errorWithPointer,
                                             Withholding::successWithNull));
