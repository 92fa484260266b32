// The typed parameter: values stored at once without an automation delegate,
// and only on the host's answer with one; steps, names, texts and parsing.
#include "FakeHostFixture.h"

#include "AAX_CBinaryDisplayDelegate.h"
#include "AAX_CBinaryTaperDelegate.h"
#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"
#include "AAX_VAutomationDelegate.h"

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace
{
using FloatParameter = AAX_CParameter<float>;
using BoolParameter = AAX_CParameter<bool>;

std::unique_ptr<FloatParameter> makeFloat (float defaultValue = 0.2f, const char* name = "Parameter")
{
    return std::make_unique<FloatParameter> ("0", AAX_CString (name), defaultValue,
                                             AAX_CLinearTaperDelegate<float, 0> (0.0f, 1.0f),
                                             AAX_CNumberDisplayDelegate<float, 3u, 0u>(), true);
}

std::unique_ptr<BoolParameter> makeBypass()
{
    return std::make_unique<BoolParameter> ("MasterBypassID", AAX_CString ("Master Bypass"), false,
                                            AAX_CBinaryTaperDelegate<bool>(),
                                            AAX_CBinaryDisplayDelegate<bool> ("bypass", "on"), true);
}

std::string valueText (const AAX_IParameter& parameter)
{
    AAX_CString text;
    parameter.GetValueString (&text);
    return text.Get();
}

/** A parameter attached to the fake host's automation delegate, answered through pump(). */
class AutomatedParameterTest : public FakeHostFixture
{
protected:
    void SetUp() override
    {
        automation = std::make_unique<AAX_VAutomationDelegate> (&instance);
        parameter->SetAutomationDelegate (automation.get());
        host.clearCalls();
    }

    void TearDown() override
    {
        parameter.reset();
        automation.reset();
        FakeHostFixture::TearDown();
    }

    /** The host answers every queued request through UpdateNormalizedValue. */
    int pump()
    {
        return instance.automation.pump ([this] (const std::string&, double normalized)
                                         { parameter->UpdateNormalizedValue (normalized); });
    }

    std::vector<std::string> automationCalls() const  { return host.callsStartingWith ("automation1."); }

    FakeInstanceHost& instance = host.newInstanceHost();
    std::unique_ptr<AAX_VAutomationDelegate> automation;
    std::unique_ptr<FloatParameter> parameter = makeFloat();
};
}

//==============================================================================
TEST (AAX_CParameterTest, ANewFloatParameterHoldsItsDefault)
{
    const auto parameter = makeFloat();

    EXPECT_STREQ (parameter->Identifier(), "0");
    EXPECT_EQ (parameter->GetNumberOfSteps(), 128u);
    EXPECT_EQ (parameter->GetType(), AAX_eParameterType_Continuous);
    EXPECT_EQ (parameter->GetOrientation(), 0);
    EXPECT_EQ (parameter->GetNormalizedValue(), static_cast<double> (0.2f));
    EXPECT_EQ (parameter->GetNormalizedDefaultValue(), static_cast<double> (0.2f));
    EXPECT_EQ (valueText (*parameter), "0.200");
}

TEST (AAX_CParameterTest, LongIdentifiersAreCutTo31Characters)
{
    const std::string longID (40, 'x');
    FloatParameter parameter (longID.c_str(), AAX_CString ("n"), 0.0f, AAX_CLinearTaperDelegate<float, 0>(),
                              AAX_CNumberDisplayDelegate<float, 3u, 0u>(), true);

    EXPECT_EQ (std::string (parameter.Identifier()), longID.substr (0, 31));
}

TEST (AAX_CParameterTest, WithoutADelegateValuesAreStoredAtOnceAndClamped)
{
    const auto parameter = makeFloat();

    parameter->SetNormalizedValue (1.5);
    EXPECT_EQ (parameter->GetNormalizedValue(), 1.0);

    parameter->SetNormalizedValue (-3.0);
    EXPECT_EQ (parameter->GetNormalizedValue(), 0.0);

    EXPECT_TRUE (parameter->SetValueWithFloat (0.25f));
    EXPECT_EQ (parameter->GetNormalizedValue(), 0.25);

    parameter->SetToDefaultValue();
    EXPECT_EQ (parameter->GetNormalizedValue(), static_cast<double> (0.2f));

    parameter->SetNormalizedDefaultValue (0.9);
    EXPECT_EQ (parameter->GetNormalizedValue(), static_cast<double> (0.2f)) << "a new default leaves the value";
    EXPECT_EQ (parameter->GetNormalizedDefaultValue(), static_cast<double> (0.9f));
}

TEST_F (AutomatedParameterTest, ASetOnlyAsksTheHostUntilItAnswers)
{
    parameter->SetNormalizedValue (0.7);

    EXPECT_EQ (parameter->GetNormalizedValue(), static_cast<double> (0.2f));
    EXPECT_EQ (automationCalls(), (std::vector<std::string> { "automation1.PostTouchRequest(0)",
                                                              "automation1.PostSetValueRequest(0, " + describeNumber (static_cast<double> (0.7f)) + ")",
                                                              "automation1.PostReleaseRequest(0)" }));

    host.clearCalls();
    EXPECT_EQ (pump(), 1);
    EXPECT_EQ (parameter->GetNormalizedValue(), static_cast<double> (0.7f));
    EXPECT_EQ (automationCalls(), (std::vector<std::string> { "automation1.PostCurrentValue(0, " + describeNumber (static_cast<double> (0.7f)) + ")" }));

    host.clearCalls();
    parameter->UpdateNormalizedValue (static_cast<double> (0.7f));
    EXPECT_TRUE (automationCalls().empty()) << "an unchanged value is not reported again";
}

TEST_F (AutomatedParameterTest, EveryKindOfSetGoesThroughTheHost)
{
    const std::vector<std::function<void()>> sets {
        [&] { parameter->SetValueWithFloat (0.5f); },
        [&] { parameter->SetToDefaultValue(); },
        [&] { parameter->SetValueFromString (AAX_CString ("0.5")); },
        [&] { parameter->SetValueWithString (AAX_CString ("0.5")); },
        [&] { parameter->SetStepValue (3); },
    };

    for (const auto& set : sets)
    {
        const auto before = parameter->GetNormalizedValue();
        set();
        EXPECT_EQ (parameter->GetNormalizedValue(), before);
        EXPECT_EQ (instance.automation.pendingRequests(), 1u);
        pump();
    }
}

TEST_F (AutomatedParameterTest, DelegatesAreRegisteredAndUnregistered)
{
    EXPECT_EQ (instance.automation.registered, (std::set<std::string> { "0" }));

    parameter->SetAutomationDelegate (nullptr);
    EXPECT_TRUE (instance.automation.registered.empty());

    parameter->SetAutomationDelegate (automation.get());
    parameter.reset();
    EXPECT_TRUE (instance.automation.registered.empty()) << "a deleted parameter unregisters";
}

TEST_F (AutomatedParameterTest, ATaperChangeKeepsThePositionOrTheRealValue)
{
    parameter->SetNormalizedValue (0.25);
    pump();
    host.clearCalls();

    parameter->SetTaperDelegate (*std::make_unique<AAX_CLinearTaperDelegate<float, 0>> (0.0f, 10.0f), false);
    float real = 0.0f;
    parameter->GetValueAsFloat (&real);
    EXPECT_EQ (real, 2.5f);
    EXPECT_EQ (automationCalls(), (std::vector<std::string> { "automation1.PostCurrentValue(0, 0.25)" }));

    host.clearCalls();
    parameter->SetTaperDelegate (*std::make_unique<AAX_CLinearTaperDelegate<float, 0>> (0.0f, 100.0f), true);
    parameter->GetValueAsFloat (&real);
    EXPECT_EQ (real, 2.5f);
    EXPECT_EQ (automationCalls()[1], "automation1.PostSetValueRequest(0, 0.025)");
}

TEST_F (AutomatedParameterTest, ANewDisplayIsReportedSoTheHostFetchesTheText)
{
    parameter->SetDisplayDelegate (*std::make_unique<AAX_CNumberDisplayDelegate<float, 1u, 0u>>());

    EXPECT_EQ (valueText (*parameter), "0.2");
    EXPECT_EQ (automationCalls(), (std::vector<std::string> { "automation1.PostCurrentValue(0, " + describeNumber (static_cast<double> (0.2f)) + ")" }));
}

//==============================================================================
TEST (AAX_CParameterTest, ShortenedNamesPickTheLongestThatFits)
{
    const auto parameter = makeFloat (0.0f, "Parameter");
    EXPECT_EQ (std::string (parameter->ShortenedName (3).Get()), "Parameter") << "no shortened names";

    parameter->AddShortenedName (AAX_CString ("Prm4"));
    parameter->AddShortenedName (AAX_CString ("Param6"));

    const std::vector<std::pair<int32_t, std::string>> cases {
        { 3, "Prm4" }, { 4, "Prm4" }, { 5, "Prm4" }, { 6, "Param6" }, { 7, "Param6" },
        { 9, "Parameter" }, { 20, "Parameter" }, { -1, "Parameter" },
    };

    for (const auto& [n, expected] : cases)
        EXPECT_EQ (std::string (parameter->ShortenedName (n).Get()), expected) << "n = " << n;

    parameter->AddShortenedName (AAX_CString ("PRM4"));
    EXPECT_EQ (std::string (parameter->ShortenedName (4).Get()), "PRM4") << "same length replaces";

    parameter->ClearShortenedNames();
    EXPECT_EQ (std::string (parameter->ShortenedName (4).Get()), "Parameter");
}

TEST (AAX_CParameterTest, StepsMapToNormalisedValuesAndBack)
{
    const auto parameter = makeFloat();

    struct StepCase { double normalized; uint32_t step; };
    for (const auto& [normalized, step] : { StepCase { 0.0, 0 }, { 0.2, 25 }, { 0.5, 64 }, { 1.0, 127 }, { 7.0, 127 },
                                            { -1.0, 0 }, { std::nan (""), 0 } })
        EXPECT_EQ (parameter->GetStepValueFromNormalizedValue (normalized), step) << normalized;

    EXPECT_EQ (parameter->GetNormalizedValueFromStep (1), 1.0 / 127.0);
    EXPECT_EQ (parameter->GetNormalizedValueFromStep (64), 0.5039370078740157);
    EXPECT_EQ (parameter->GetNormalizedValueFromStep (127), 1.0);
    EXPECT_EQ (parameter->GetNormalizedValueFromStep (5000), 1.0);

    parameter->SetStepValue (64);
    EXPECT_EQ (parameter->GetStepValue(), 64u);

    parameter->SetNumberOfSteps (0);
    EXPECT_EQ (parameter->GetNumberOfSteps(), 128u) << "0 is ignored";

    parameter->SetNumberOfSteps (2);
    EXPECT_EQ (parameter->GetStepValueFromNormalizedValue (0.49), 0u);
    EXPECT_EQ (parameter->GetStepValueFromNormalizedValue (0.5), 1u);

    parameter->SetNumberOfSteps (1);
    const auto before = parameter->GetNormalizedValue();
    parameter->SetStepValue (5);
    EXPECT_EQ (parameter->GetNormalizedValue(), before);
    EXPECT_EQ (parameter->GetStepValue(), 0u);
    EXPECT_EQ (parameter->GetNormalizedValueFromStep (1), 0.0);
}

TEST (AAX_CParameterTest, TextsOfValuesAndTheirLimits)
{
    const auto parameter = makeFloat();

    struct TextCase { double normalized; int32_t limit; const char* text; };
    for (const auto& [normalized, limit, text] : { TextCase { 0.2, 2, "0" }, { 0.2, 5, "0.200" }, { 0.2, 3, "0.2" },
                                                   { 1.0, 1, "1" }, { 0.5, 0, "" }, { 0.5, -1, "" }, { 2.0, 10, "1.000" } })
    {
        AAX_CString target;
        EXPECT_TRUE (parameter->GetStringFromNormalizedValue (normalized, limit, target));
        EXPECT_STREQ (target.Get(), text) << normalized << " limit " << limit;
    }

    AAX_CString full;
    EXPECT_TRUE (parameter->GetStringFromNormalizedValue (0.25, full));
    EXPECT_STREQ (full.Get(), "0.250");

    AAX_CString current;
    EXPECT_TRUE (parameter->GetValueString (2, &current));
    EXPECT_STREQ (current.Get(), "0.200") << "the current value's text is always whole";

    AAX_CString foreign ("unchanged");
    EXPECT_FALSE (parameter->GetValueAsString (nullptr));
    EXPECT_TRUE (parameter->GetValueAsString (&foreign));
    EXPECT_STREQ (foreign.Get(), "0.200");
}

TEST (AAX_CParameterTest, ParsingTexts)
{
    const auto parameter = makeFloat();

    struct ParseCase { const char* text; bool parses; bool inRange; double normalized; };
    const ParseCase cases[] {
        { "0.5", true, true, 0.5 },
        { " 0.75 dB", true, true, 0.75 },
        { "1", true, true, 1.0 },
        { "1.5", true, false, 1.0 },    // written clamped, but reported as out of range
        { "-2", true, false, 0.0 },
        { "", false, false, -1.0 },
        { "abc", false, false, -1.0 },
    };

    for (const auto& c : cases)
    {
        double out = -1.0;
        EXPECT_EQ (parameter->GetNormalizedValueFromString (AAX_CString (c.text), &out), c.parses && c.inRange) << c.text;
        EXPECT_EQ (out, c.normalized) << c.text;

        const auto before = parameter->GetNormalizedValue();
        EXPECT_EQ (parameter->SetValueFromString (AAX_CString (c.text)), c.parses) << c.text;
        EXPECT_EQ (parameter->GetNormalizedValue(), c.parses ? c.normalized : before) << c.text;
    }
}

TEST (AAX_CParameterTest, TypedConversionsAnswerOnlyTheirOwnType)
{
    const auto floatParameter = makeFloat();
    const auto bypass = makeBypass();
    double d = -1.0;
    float f = -1.0f;
    bool b = false;
    int32_t i = -1;

    EXPECT_TRUE (floatParameter->GetNormalizedValueFromFloat (0.5f, &d));
    EXPECT_EQ (d, 0.5);
    EXPECT_TRUE (floatParameter->GetFloatFromNormalizedValue (0.25, &f));
    EXPECT_EQ (f, 0.25f);
    EXPECT_FALSE (floatParameter->GetNormalizedValueFromBool (true, &d));
    EXPECT_FALSE (floatParameter->GetNormalizedValueFromInt32 (1, &d));
    EXPECT_FALSE (floatParameter->GetNormalizedValueFromDouble (1.0, &d));
    EXPECT_FALSE (floatParameter->GetBoolFromNormalizedValue (1.0, &b));
    EXPECT_FALSE (floatParameter->GetInt32FromNormalizedValue (1.0, &i));
    EXPECT_FALSE (floatParameter->GetDoubleFromNormalizedValue (1.0, &d));
    EXPECT_FALSE (floatParameter->GetValueAsBool (&b));
    EXPECT_FALSE (floatParameter->GetValueAsInt32 (&i));
    EXPECT_FALSE (floatParameter->GetValueAsDouble (&d));
    EXPECT_FALSE (floatParameter->SetValueWithBool (true));
    EXPECT_FALSE (floatParameter->SetValueWithInt32 (1));
    EXPECT_FALSE (floatParameter->SetValueWithDouble (1.0));
    EXPECT_EQ (floatParameter->GetNormalizedValue(), static_cast<double> (0.2f));

    EXPECT_TRUE (bypass->GetNormalizedValueFromBool (true, &d));
    EXPECT_EQ (d, 1.0);
    EXPECT_TRUE (bypass->GetBoolFromNormalizedValue (0.1, &b));
    EXPECT_TRUE (b);
    EXPECT_FALSE (bypass->GetNormalizedValueFromFloat (1.0f, &d));
    EXPECT_FALSE (bypass->GetFloatFromNormalizedValue (1.0, &f));
    EXPECT_FALSE (bypass->GetValueAsFloat (&f));
    EXPECT_FALSE (bypass->SetValueWithFloat (1.0f));

    std::unique_ptr<AAX_IParameterValue> snapshot (floatParameter->CloneValue());
    EXPECT_STREQ (snapshot->Identifier(), "0");
    EXPECT_TRUE (snapshot->GetValueAsFloat (&f));
    EXPECT_EQ (f, 0.2f);
}

TEST (AAX_CParameterTest, TheMasterBypassShowsAndParsesItsTwoTexts)
{
    const auto bypass = makeBypass();
    EXPECT_EQ (bypass->GetNumberOfSteps(), 128u) << "its creator sets 2";
    EXPECT_EQ (valueText (*bypass), "bypass");

    bypass->SetNormalizedValue (0.3);
    EXPECT_EQ (bypass->GetNormalizedValue(), 1.0);
    EXPECT_EQ (valueText (*bypass), "on");

    EXPECT_TRUE (bypass->SetValueWithString (AAX_CString ("bypass")));
    EXPECT_EQ (bypass->GetNormalizedValue(), 0.0);

    EXPECT_TRUE (bypass->SetValueWithString (AAX_CString ("on")));
    EXPECT_FALSE (bypass->SetValueWithString (AAX_CString ("Bypass")));
    EXPECT_EQ (bypass->GetNormalizedValue(), 1.0);

    double out = -1.0;
    EXPECT_FALSE (bypass->GetNormalizedValueFromString (AAX_CString ("off"), &out));
    EXPECT_EQ (out, -1.0);
}
