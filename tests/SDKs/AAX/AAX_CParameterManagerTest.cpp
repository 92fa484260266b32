// The parameter manager: order of addition, lookups, duplicates and the
// automation delegate handed to new parameters.
#include "FakeHostFixture.h"

#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"
#include "AAX_CParameterManager.h"
#include "AAX_VAutomationDelegate.h"

#include <memory>

namespace
{
AAX_CParameter<float>* newParameter (const char* id)
{
    return new AAX_CParameter<float> (id, AAX_CString (id), 0.0f, AAX_CLinearTaperDelegate<float, 0>(),
                                      AAX_CNumberDisplayDelegate<float, 3u, 0u>(), true);
}

using ParameterManagerTest = FakeHostFixture;
}

TEST_F (ParameterManagerTest, ParametersAreFoundByIdentifierAndIndex)
{
    AAX_CParameterManager manager;
    auto* first = newParameter ("0");
    const std::unique_ptr<AAX_IParameter> duplicate (newParameter ("0"));
    manager.AddParameter (first);
    manager.AddParameter (duplicate.get());
    manager.AddParameter (nullptr);
    manager.AddParameter (newParameter ("b"));
    manager.AddParameter (newParameter ("a"));

    EXPECT_EQ (manager.NumParameters(), 3);
    EXPECT_EQ (manager.GetParameterByID ("0"), first);
    EXPECT_EQ (manager.GetParameterByID (nullptr), nullptr);
    EXPECT_EQ (manager.GetParameterByID ("x"), nullptr);
    EXPECT_EQ (manager.GetParameterIndex ("a"), 2);
    EXPECT_EQ (manager.GetParameterIndex ("x"), -1);
    EXPECT_EQ (manager.GetParameterIndex (nullptr), -1);
    EXPECT_EQ (manager.GetParameter (0), first);
    EXPECT_EQ (manager.GetParameter (-1), nullptr);
    EXPECT_EQ (manager.GetParameter (3), nullptr);

    manager.RemoveAllParameters();
    EXPECT_EQ (manager.NumParameters(), 0);
    EXPECT_EQ (manager.GetParameterByID ("b"), nullptr);
}

TEST_F (ParameterManagerTest, OnlyParametersAddedAfterInitializeGetTheDelegate)
{
    auto& instance = host.newInstanceHost();
    AAX_VAutomationDelegate automation (&instance);

    {
        AAX_CParameterManager manager;
        auto* early = newParameter ("early");
        manager.AddParameter (early);
        manager.Initialize (&automation);
        manager.AddParameter (newParameter ("late"));

        EXPECT_EQ (instance.automation.registered, (std::set<std::string> { "late" }));

        early->SetNormalizedValue (0.5);
        EXPECT_EQ (early->GetNormalizedValue(), 0.5) << "without a delegate the value is stored at once";
    }

    EXPECT_TRUE (instance.automation.registered.empty()) << "the manager deleted its parameters";
}
