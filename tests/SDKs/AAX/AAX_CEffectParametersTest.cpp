// The effect parameters object through its host interface: parameter queries,
// the automation round trip, the controls chunk and the bypass packet.
#include "ChunkBytes.h"
#include "FakeHostFixture.h"

#include "AAX_CBinaryDisplayDelegate.h"
#include "AAX_CBinaryTaperDelegate.h"
#include "AAX_CEffectParameters.h"
#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"

#include <functional>
#include <limits>
#include <string>
#include <thread>
#include <vector>

namespace
{
/** A master bypass with packet 3, then three float parameters "0" to "2". */
class ThreeKnobEffect : public AAX_CEffectParameters
{
public:
    AAX_Result EffectInit() override
    {
        auto* bypass = new AAX_CParameter<bool> (cDefaultMasterBypassID, AAX_CString ("Master Bypass\nMstByp\nMByp"), false,
                                                 AAX_CBinaryTaperDelegate<bool>(),
                                                 AAX_CBinaryDisplayDelegate<bool> ("bypass", "on"), true);
        bypass->SetNumberOfSteps (2);
        bypass->SetType (AAX_eParameterType_Discrete);
        parameterManager.AddParameter (bypass);

        const AAX_CPacketHandler<AAX_CPacketDispatcher> handler (&packetDispatcher,
                                                                 &AAX_CPacketDispatcher::GenerateSingleValuePacket);
        packetDispatcher.RegisterPacket (cDefaultMasterBypassID, 3, &handler);

        for (const char* id : { "0", "1", "2" })
            parameterManager.AddParameter (new AAX_CParameter<float> (id, AAX_CString ("Knob"), 0.5f,
                                                                      AAX_CLinearTaperDelegate<float, 0>(),
                                                                      AAX_CNumberDisplayDelegate<float, 3u, 0u>(), true));
        return initResult;
    }

    AAX_Result initResult = AAX_SUCCESS;
};

class EffectParametersTest : public FakeHostFixture
{
protected:
    void SetUp() override
    {
        effect->AddRef();
        instance.effectParameters = effect;
        ASSERT_EQ (effect->Initialize (&instance), AAX_SUCCESS);
        host.clearCalls();
    }

    void TearDown() override
    {
        effect->Uninitialize();
        effect->Release();
        FakeHostFixture::TearDown();
    }

    double value (const char* id) const
    {
        double out = -1.0;
        effect->GetParameterNormalizedValue (id, &out);
        return out;
    }

    /** The controls chunk as the host reads it: size first, then the chunk. */
    ChunkBuffer controlsChunk() const
    {
        uint32_t size = 0;
        EXPECT_EQ (effect->GetChunkSize (AAX_ControlsChunkID, &size), AAX_SUCCESS);
        ChunkBuffer chunk (size, AAX_ControlsChunkID);
        EXPECT_EQ (effect->GetChunk (AAX_ControlsChunkID, chunk.get()), AAX_SUCCESS);
        return chunk;
    }

    FakeInstanceHost& instance = host.newInstanceHost();
    ThreeKnobEffect* effect = new ThreeKnobEffect();
};
}

TEST_F (EffectParametersTest, UnknownIdentifiersAreRefusedWithoutTouchingOutputs)
{
    AAX_CString text ("kept");
    double d = -1.0;
    int32_t i = -1;
    AAX_CBoolean flag = 7;
    AAX_IParameter* parameter = reinterpret_cast<AAX_IParameter*> (&text);
    AAX_EParameterType type = AAX_eParameterType_Continuous;

    const std::vector<std::function<AAX_Result()>> refused {
        [&] { return effect->GetParameterNumberOfSteps ("x", &i); },
        [&] { return effect->GetParameterDefaultNormalizedValue ("x", &d); },
        [&] { return effect->SetParameterDefaultNormalizedValue ("x", 0.5); },
        [&] { return effect->GetParameterType ("x", &type); },
        [&] { return effect->GetParameterOrientation ("x", &i); },
        [&] { return effect->GetParameterValueFromString ("x", &d, AAX_CString ("0.5")); },
        [&] { return effect->GetParameterStringFromValue ("x", 0.5, &text, 5); },
        [&] { return effect->GetParameterValueString ("x", &text, 5); },
        [&] { return effect->GetParameterNormalizedValue ("x", &d); },
        [&] { return effect->SetParameterNormalizedValue ("x", 0.5); },
        [&] { return effect->SetParameterNormalizedRelative ("x", 0.5); },
        [&] { return effect->TouchParameter ("x"); },
        [&] { return effect->ReleaseParameter ("x"); },
        [&] { return effect->UpdateParameterNormalizedValue ("x", 0.5, AAX_eUpdateSource_Unspecified); },
        [&] { return effect->UpdateParameterNormalizedRelative ("x", 0.5); },
        [&] { return effect->GetParameterNumberOfSteps (nullptr, &i); },
    };

    for (size_t n = 0; n < refused.size(); ++n)
        EXPECT_EQ (refused[n](), AAX_ERROR_INVALID_PARAMETER_ID) << "case " << n;

    EXPECT_EQ (d, -1.0);
    EXPECT_EQ (i, -1);
    EXPECT_STREQ (text.Get(), "kept");
    EXPECT_EQ (type, AAX_eParameterType_Continuous);

    EXPECT_EQ (effect->GetParameterIsAutomatable ("x", &flag), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ (flag, 0);
    EXPECT_EQ (effect->GetParameter ("x", &parameter), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ (parameter, nullptr);
    EXPECT_EQ (effect->GetParameterName ("x", &text), AAX_SUCCESS);
    EXPECT_STREQ (text.Get(), "");
    EXPECT_EQ (effect->GetParameterIndex ("x", &i), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ (i, -1);
    EXPECT_EQ (effect->GetParameterIDFromIndex (4, &text), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_STREQ (text.Get(), "");
    EXPECT_TRUE (host.callsStartingWith ("automation1.Post").empty());
}

TEST_F (EffectParametersTest, ParametersAreListedInTheOrderAdded)
{
    int32_t count = 0, index = 0;
    AAX_CString text;
    EXPECT_EQ (effect->GetNumberOfParameters (&count), AAX_SUCCESS);
    EXPECT_EQ (count, 4);
    effect->GetMasterBypassParameter (&text);
    EXPECT_STREQ (text.Get(), "MasterBypassID");
    effect->GetParameterIDFromIndex (2, &text);
    EXPECT_STREQ (text.Get(), "1");
    effect->GetParameterIndex ("2", &index);
    EXPECT_EQ (index, 3);
}

TEST_F (EffectParametersTest, NamesOfALengthTakeTheLongestLineThatFits)
{
    const std::vector<std::pair<int32_t, std::string>> cases {
        { 6, "MstByp" }, { 5, "MByp" }, { 13, "Master Bypass" }, { 100, "Master Bypass" }, { 3, "Mas" }, { 0, "" },
    };

    for (const auto& [length, expected] : cases)
    {
        AAX_CString text;
        EXPECT_EQ (effect->GetParameterNameOfLength (cDefaultMasterBypassID, &text, length), AAX_SUCCESS);
        EXPECT_EQ (std::string (text.Get()), expected) << "length " << length;
    }

    EXPECT_EQ (effect->GetParameterNameOfLength ("0", nullptr, 4), AAX_ERROR_INVALID_STRING_CONVERSION);
}

TEST_F (EffectParametersTest, AValueIsStoredOnlyWhenTheHostAnswers)
{
    EXPECT_EQ (effect->SetParameterNormalizedValue ("1", 0.25), AAX_SUCCESS);
    EXPECT_EQ (value ("1"), 0.5);
    EXPECT_EQ (host.callsStartingWith ("automation1.Post"),
               (std::vector<std::string> { "automation1.PostTouchRequest(1)", "automation1.PostSetValueRequest(1, 0.25)",
                                           "automation1.PostReleaseRequest(1)" }));

    int32_t changes = -1;
    EXPECT_EQ (instance.pump(), 1);
    EXPECT_EQ (value ("1"), 0.25);
    effect->GetNumberOfChanges (&changes);
    EXPECT_EQ (changes, 1);

    effect->UpdateParameterNormalizedValue ("1", 0.25, AAX_eUpdateSource_Unspecified);
    effect->GetNumberOfChanges (&changes);
    EXPECT_EQ (changes, 1) << "the same value again is no change";

    effect->UpdateParameterNormalizedValue ("1", std::numeric_limits<double>::quiet_NaN(), AAX_eUpdateSource_Unspecified);
    effect->GetNumberOfChanges (&changes);
    EXPECT_EQ (value ("1"), 0.25);
    EXPECT_EQ (changes, 1) << "a value that is no number changes nothing";
}

TEST_F (EffectParametersTest, RelativeChangesStopAtTheEnds)
{
    struct RelativeCase { double delta; double expected; };

    for (const auto& [delta, expected] : { RelativeCase { 0.25, 0.75 }, { 0.9, 1.0 }, { -2.0, 0.0 } })
    {
        effect->SetParameterNormalizedRelative ("0", delta);
        instance.pump();
        EXPECT_EQ (value ("0"), expected) << delta;
        effect->UpdateParameterNormalizedValue ("0", 0.5, AAX_eUpdateSource_Unspecified);
    }

    effect->UpdateParameterNormalizedRelative ("2", 0.8);
    EXPECT_EQ (value ("2"), 1.0);
    EXPECT_EQ (instance.automation.pendingRequests(), 0u) << "an update stores without asking";
}

TEST_F (EffectParametersTest, TextsAndParsingGoThroughTheParameter)
{
    AAX_CString text;
    double d = 0.0;

    EXPECT_EQ (effect->GetParameterValueString ("0", &text, 2), AAX_SUCCESS);
    EXPECT_STREQ (text.Get(), "0.500");
    EXPECT_EQ (effect->GetParameterStringFromValue ("0", 0.125, &text, 4), AAX_SUCCESS);
    EXPECT_STREQ (text.Get(), "0.12");
    EXPECT_EQ (effect->GetParameterValueFromString ("0", &d, AAX_CString ("0.75")), AAX_SUCCESS);
    EXPECT_EQ (d, 0.75);
    EXPECT_EQ (effect->GetParameterValueFromString ("0", &d, AAX_CString ("loud")), AAX_ERROR_INVALID_STRING_CONVERSION);
    EXPECT_EQ (effect->GetParameterValueFromString (cDefaultMasterBypassID, &d, AAX_CString ("on")), AAX_SUCCESS);
    EXPECT_EQ (d, 1.0);
    EXPECT_EQ (effect->GetParameterValueString (cDefaultMasterBypassID, &text, 1), AAX_SUCCESS);
    EXPECT_STREQ (text.Get(), "bypass");
}

TEST_F (EffectParametersTest, TheControlsChunkHoldsEveryValueButTheBypass)
{
    uint32_t size = 0;
    EXPECT_EQ (effect->GetChunkSize (AAX_ControlsChunkID, &size), AAX_SUCCESS);
    EXPECT_EQ (size, 40u);

    const auto chunk = controlsChunk();
    EXPECT_EQ (chunk.get()->fVersion, -1);
    EXPECT_STREQ (chunk.get()->fName, "Complete Controls State");
    const std::vector<uint8_t> half { 0x3F, 0xE0, 0, 0, 0, 0, 0, 0 };
    std::vector<uint8_t> expected { 1, 1, 1, 1 };

    for (const char id : { '0', '1', '2' })
    {
        expected.insert (expected.end(), { 'd', '_', static_cast<uint8_t> (id), 0 });
        expected.insert (expected.end(), half.begin(), half.end());
    }

    EXPECT_EQ (chunk.data(), expected);
}

TEST_F (EffectParametersTest, AChunkWrittenAfterAChangeInSizeIsRefused)
{
    uint32_t size = 0;
    effect->GetChunkSize (AAX_ControlsChunkID, &size);
    effect->FilterParameterIDOnSave ("2");

    ChunkBuffer chunk (size, AAX_ControlsChunkID);
    EXPECT_EQ (effect->GetChunk (AAX_ControlsChunkID, chunk.get()), AAX_ERROR_INCORRECT_CHUNK_SIZE);

    AAX_CTypeID id = 1;
    EXPECT_EQ (effect->GetChunkSize (AAX_MakeTypeID ('j', 'u', 'c', 'e'), &size), AAX_ERROR_INVALID_CHUNK_ID);
    EXPECT_EQ (size, 0u);
    EXPECT_EQ (effect->GetChunkIDFromIndex (1, &id), AAX_ERROR_INVALID_CHUNK_INDEX);
    EXPECT_EQ (id, 0u);
}

TEST_F (EffectParametersTest, ChunksSetTheValuesTheyHoldAndCompare)
{
    effect->UpdateParameterNormalizedValue ("0", 0.125, AAX_eUpdateSource_Unspecified);
    effect->UpdateParameterNormalizedValue (cDefaultMasterBypassID, 1.0, AAX_eUpdateSource_Unspecified);
    auto saved = controlsChunk();

    AAX_CBoolean equal = 0;
    effect->CompareActiveChunk (saved.get(), &equal);
    EXPECT_EQ (equal, 1);

    effect->UpdateParameterNormalizedValue ("0", 0.875, AAX_eUpdateSource_Unspecified);
    effect->UpdateParameterNormalizedValue ("1", 0.0, AAX_eUpdateSource_Unspecified);
    effect->UpdateParameterNormalizedValue (cDefaultMasterBypassID, 0.0, AAX_eUpdateSource_Unspecified);
    effect->CompareActiveChunk (saved.get(), &equal);
    EXPECT_EQ (equal, 0);

    EXPECT_EQ (effect->SetChunk (AAX_ControlsChunkID, saved.get()), AAX_SUCCESS);
    instance.pump();
    EXPECT_EQ (value ("0"), 0.125);
    EXPECT_EQ (value ("1"), 0.5);
    EXPECT_EQ (value (cDefaultMasterBypassID), 0.0) << "the bypass is never restored from the chunk";

    saved.get()->fChunkID = AAX_MakeTypeID ('j', 'u', 'c', 'e');
    effect->CompareActiveChunk (saved.get(), &equal);
    EXPECT_EQ (equal, 1) << "another chunk is not compared";
}

TEST_F (EffectParametersTest, HostileControlsChunksChangeOnlyWhatTheyFullyDescribe)
{
    // "0" complete, "2" a NaN, then "1" whose double runs past the chunk's end.
    const auto chunk = ChunkBuffer::holding ({ 1, 1, 1, 1, 'd', '_', '0', 0, 0x3F, 0xD0, 0, 0, 0, 0, 0, 0,
                                               'd', '_', '2', 0, 0x7F, 0xF8, 0, 0, 0, 0, 0, 0,
                                               'd', '_', '1', 0, 0x3F, 0xD0, 0, 0 }, AAX_ControlsChunkID);
    EXPECT_EQ (effect->SetChunk (AAX_ControlsChunkID, chunk.get()), AAX_SUCCESS);
    instance.pump();

    EXPECT_EQ (value ("0"), 0.25);
    EXPECT_EQ (value ("1"), 0.5);
    EXPECT_EQ (value ("2"), 0.5);

    AAX_CBoolean equal = 1;
    effect->CompareActiveChunk (chunk.get(), &equal);
    EXPECT_EQ (equal, 0) << "a chunk lacking a parameter differs";
}

TEST_F (EffectParametersTest, HostConfirmedBypassChangesPostPacket3)
{
    effect->GenerateCoefficients();
    ASSERT_EQ (instance.controller.packets.size(), 1u) << "a new packet is posted once";

    effect->UpdateParameterNormalizedValue ("0", 0.1, AAX_eUpdateSource_Unspecified);
    effect->GenerateCoefficients();
    EXPECT_EQ (instance.controller.packets.size(), 1u) << "other parameters have no packet";

    effect->UpdateParameterNormalizedValue (cDefaultMasterBypassID, 1.0, AAX_eUpdateSource_Unspecified);
    effect->GenerateCoefficients();
    effect->GenerateCoefficients();
    ASSERT_EQ (instance.controller.packets.size(), 2u);
    EXPECT_EQ (instance.controller.packets[1].fieldIndex, 3);
    EXPECT_EQ (instance.controller.packets[1].bytes, (std::vector<uint8_t> { 1, 0, 0, 0 }));
}

TEST_F (EffectParametersTest, StubsAndNotifications)
{
    uint32_t outSize = 9;
    int32_t info = 9;
    uint8_t field[6] { 1, 2, 3, 4, 5, 6 };
    const int32_t previewOn = 1;

    EXPECT_EQ (effect->NotificationReceived (AAX_PreviewNotification, &previewOn, sizeof (previewOn)), AAX_SUCCESS);
    EXPECT_EQ (effect->GetCustomData (0, 0, nullptr, &outSize), AAX_SUCCESS);
    EXPECT_EQ (outSize, 0u);
    EXPECT_EQ (effect->GetParameterValueInfo ("0", 0, &info), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (info, 0);
    EXPECT_EQ (effect->ResetFieldData (0, field, sizeof (field)), AAX_SUCCESS);
    EXPECT_EQ (field[5], 0);
    EXPECT_EQ (effect->RenderAudio_Hybrid (nullptr), AAX_ERROR_UNIMPLEMENTED);
}

TEST_F (EffectParametersTest, AFailingEffectInitIsReported)
{
    auto* failing = new ThreeKnobEffect();
    failing->AddRef();
    failing->initResult = -5;
    EXPECT_EQ (failing->Initialize (&instance), -5);
    failing->Uninitialize();
    failing->Release();
}

TEST_F (EffectParametersTest, ASecondInitializeStartsAgainOnTheNewHost)
{
    ASSERT_EQ (effect->Initialize (&instance), AAX_SUCCESS);

    // The parameters now in place reach the host's automation.
    effect->SetParameterNormalizedValue ("1", 0.25);
    EXPECT_EQ (instance.pump(), 1);
    EXPECT_EQ (value ("1"), 0.25);

    // The first four parameters go at the second Initialize, the next four at Uninitialize.
    effect->Uninitialize();
    EXPECT_TRUE (instance.automation.registered.empty()) << "every parameter left the host's automation";
    EXPECT_EQ (host.callsStartingWith ("automation1.RegisterParameter").size(), 4u);
    EXPECT_EQ (host.callsStartingWith ("automation1.UnregisterParameter").size(), 8u);
}

TEST_F (EffectParametersTest, ASecondInitializeSendsTheProcessingSideItsNewBypass)
{
    effect->UpdateParameterNormalizedValue (cDefaultMasterBypassID, 1.0, AAX_eUpdateSource_Unspecified);
    effect->GenerateCoefficients();
    ASSERT_FALSE (instance.controller.packets.empty());
    instance.controller.packets.clear();

    // The parameters start again at their defaults, bypass off; the processing
    // side must hear so, once.
    ASSERT_EQ (effect->Initialize (&instance), AAX_SUCCESS);
    effect->GenerateCoefficients();
    effect->GenerateCoefficients();
    ASSERT_EQ (instance.controller.packets.size(), 1u);
    EXPECT_EQ (instance.controller.packets[0].fieldIndex, 3);
    EXPECT_EQ (instance.controller.packets[0].bytes, (std::vector<uint8_t> { 0, 0, 0, 0 }));
}

namespace
{
/** One effect on a fresh host, with or without the host's automation. */
struct StandaloneEffect
{
    explicit StandaloneEffect (bool withAutomation)
    {
        if (! withAutomation)
            host.refuse (IID_IAAXAutomationDelegateV1);

        effect->AddRef();
        instance.effectParameters = effect;
        EXPECT_EQ (effect->Initialize (&instance), AAX_SUCCESS);
    }

    ~StandaloneEffect()
    {
        effect->Uninitialize();
        effect->Release();
        EXPECT_EQ (host.outstandingReferences(), 0) << host.outstandingReport();
    }

    FakeHost host;
    FakeInstanceHost& instance = host.newInstanceHost();
    ThreeKnobEffect* effect = new ThreeKnobEffect();
};
}

TEST (EffectParametersRoadTest, ASetValueReachesTheProcessingSideWithOrWithoutAutomation)
{
    for (const bool withAutomation : { true, false })
    {
        StandaloneEffect standalone (withAutomation);
        auto& effect = *standalone.effect;
        effect.GenerateCoefficients();
        standalone.instance.controller.packets.clear();

        effect.SetParameterNormalizedValue (cDefaultMasterBypassID, 1.0);
        standalone.instance.pump();
        effect.GenerateCoefficients();

        const auto& packets = standalone.instance.controller.packets;
        ASSERT_EQ (packets.size(), 1u) << "automation " << withAutomation;
        EXPECT_EQ (packets[0].fieldIndex, 3);
        EXPECT_EQ (packets[0].bytes, (std::vector<uint8_t> { 1, 0, 0, 0 }));

        int32_t changes = -1;
        effect.GetNumberOfChanges (&changes);
        EXPECT_EQ (changes, 1) << "automation " << withAutomation;
    }
}

TEST (EffectParametersRoadTest, ANaNIsNoValue)
{
    for (const bool withAutomation : { true, false })
    {
        StandaloneEffect standalone (withAutomation);
        auto& effect = *standalone.effect;
        const auto nan = std::numeric_limits<double>::quiet_NaN();

        effect.SetParameterNormalizedValue ("0", nan);
        standalone.instance.pump();
        effect.UpdateParameterNormalizedValue ("1", nan, AAX_eUpdateSource_Unspecified);

        for (const char* id : { "0", "1" })
        {
            double value = -1.0;
            effect.GetParameterNormalizedValue (id, &value);
            EXPECT_EQ (value, 0.5) << id << ", automation " << withAutomation;
        }
    }
}

TEST (EffectParametersThreadTest, HostConfirmationsAndCoefficientsOnTwoThreads)
{
    // The host confirms values on one thread while it generates the
    // processing side's coefficients on another.
    StandaloneEffect standalone (true);
    auto& effect = *standalone.effect;
    constexpr int rounds = 2000;

    std::thread confirming ([&effect]
    {
        for (int i = 0; i < rounds; ++i)
            effect.UpdateParameterNormalizedValue (cDefaultMasterBypassID, i % 2, AAX_eUpdateSource_Unspecified);

        effect.UpdateParameterNormalizedValue (cDefaultMasterBypassID, 1.0, AAX_eUpdateSource_Unspecified);
    });

    for (int i = 0; i < rounds; ++i)
        effect.GenerateCoefficients();

    confirming.join();
    effect.GenerateCoefficients();

    const auto& packets = standalone.instance.controller.packets;
    ASSERT_FALSE (packets.empty());
    EXPECT_EQ (packets.back().bytes, (std::vector<uint8_t> { 1, 0, 0, 0 })) << "the last confirmed value arrives";
}
