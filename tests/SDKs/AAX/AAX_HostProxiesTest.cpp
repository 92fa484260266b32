// The controller, automation, transport, view-container and host-services
// proxies: each operation with and without the interface version it needs,
// and the module-wide trace through the host services.
#include "FakeHostFixture.h"

#include "AAX_CHostServices.h"
#include "AAX_CString.h"
#include "AAX_VAutomationDelegate.h"
#include "AAX_VController.h"
#include "AAX_VHostServices.h"
#include "AAX_VTransport.h"
#include "AAX_VViewContainer.h"

#include <algorithm>
#include <functional>
#include <string>

namespace
{
/** Every host proxy, built on one instance host, one view container and the root. */
struct HostProxies
{
    HostProxies (IACFUnknown* instance, IACFUnknown* view, IACFUnknown* root)
        : controller (instance), automation (instance), transport (instance), viewContainer (view), services (root) {}

    AAX_VController controller;
    AAX_VAutomationDelegate automation;
    AAX_VTransport transport;
    AAX_VViewContainer viewContainer;
    AAX_VHostServices services;
};

/** Out values for the operations to write into. */
struct Outs
{
    AAX_CString text;
    float f = 0.0f;
    double d = 0.0;
    int32_t i = 0, j = 0;
    uint32_t u = 0;
    int64_t l = 0, m = 0, n = 0;
    bool b = false;
    AAX_CBoolean flag = 0;
    AAX_EStemFormat stem = AAX_eStemFormat_None;
    AAX_EFrameRate frameRate = AAX_eFrameRate_Undeclared;
    AAX_EFeetFramesRate feetFramesRate = AAX_eFeetFramesRate_Undeclared;
    AAX_Point point;
};

struct ForwardCase
{
    const char* name;
    acfIID version;                 ///< the host interface version the operation needs
    AAX_Result missing;             ///< its answer without that version
    std::function<AAX_Result (HostProxies&, Outs&)> call;
    const char* hostCall;           ///< the start of what the host records when it is called
};

const AAX_CParamID twoIDs[] { "0", "1" };

const ForwardCase forwardCases[] {
    { "GetEffectID", IID_IAAXControllerV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs& o) { return p.controller.GetEffectID (&o.text); }, "controller1.GetEffectID(" },
    { "GetSampleRate", IID_IAAXControllerV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs& o) { return p.controller.GetSampleRate (&o.f); }, "controller1.GetSampleRate(" },
    { "GetInputStemFormat", IID_IAAXControllerV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs& o) { return p.controller.GetInputStemFormat (&o.stem); }, "controller1.GetInputStemFormat(" },
    { "GetOutputStemFormat", IID_IAAXControllerV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs& o) { return p.controller.GetOutputStemFormat (&o.stem); }, "controller1.GetOutputStemFormat(" },
    { "GetSignalLatency", IID_IAAXControllerV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs& o) { return p.controller.GetSignalLatency (&o.i); }, "controller1.GetSignalLatency(" },
    { "GetCycleCount", IID_IAAXControllerV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs& o) { return p.controller.GetCycleCount (AAX_eProperty_ProductID, &o.i); }, "controller1.GetCycleCount(12, " },
    { "GetTODLocation", IID_IAAXControllerV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs& o) { return p.controller.GetTODLocation (&o.l); }, "controller1.GetTODLocation(" },
    { "SetSignalLatency", IID_IAAXControllerV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs&) { return p.controller.SetSignalLatency (64); }, "controller1.SetSignalLatency(64)" },
    { "SetCycleCount", IID_IAAXControllerV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs&) { return p.controller.SetCycleCount (nullptr, nullptr, 0); }, "controller1.SetCycleCount(null, null, 0)" },
    { "PostPacket", IID_IAAXControllerV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs& o) { return p.controller.PostPacket (3, &o.i, 4); }, "controller1.PostPacket(3, ptr, 4)" },
    { "GetCurrentMeterValue", IID_IAAXControllerV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs& o) { return p.controller.GetCurrentMeterValue (2, &o.f); }, "controller1.GetCurrentMeterValue(2, " },
    { "GetMeterPeakValue", IID_IAAXControllerV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs& o) { return p.controller.GetMeterPeakValue (2, &o.f); }, "controller1.GetMeterPeakValue(2, " },
    { "ClearMeterPeakValue", IID_IAAXControllerV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs&) { return p.controller.ClearMeterPeakValue (2); }, "controller1.ClearMeterPeakValue(2)" },
    { "GetMeterClipped", IID_IAAXControllerV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs& o) { return p.controller.GetMeterClipped (2, &o.flag); }, "controller1.GetMeterClipped(2, " },
    { "ClearMeterClipped", IID_IAAXControllerV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs&) { return p.controller.ClearMeterClipped (2); }, "controller1.ClearMeterClipped(2)" },
    { "GetMeterCount", IID_IAAXControllerV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs& o) { return p.controller.GetMeterCount (&o.u); }, "controller1.GetMeterCount(" },
    { "GetNextMIDIPacket", IID_IAAXControllerV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs& o) { return p.controller.GetNextMIDIPacket (&o.i, nullptr); }, "controller1.GetNextMIDIPacket(" },
    { "SendNotification", IID_IAAXControllerV2, AAX_ERROR_UNIMPLEMENTED, [] (HostProxies& p, Outs&) { return p.controller.SendNotification (5, nullptr, 0); }, "controller1.SendNotification(5, null, 0)" },
    { "GetHybridSignalLatency", IID_IAAXControllerV2, AAX_ERROR_UNIMPLEMENTED, [] (HostProxies& p, Outs& o) { return p.controller.GetHybridSignalLatency (&o.i); }, "controller1.GetHybridSignalLatency(" },
    { "GetCurrentAutomationTimestamp", IID_IAAXControllerV2, AAX_ERROR_UNIMPLEMENTED, [] (HostProxies& p, Outs& o) { return p.controller.GetCurrentAutomationTimestamp (&o.l); }, "controller1.GetCurrentAutomationTimestamp(" },
    { "GetHostName", IID_IAAXControllerV2, AAX_ERROR_UNIMPLEMENTED, [] (HostProxies& p, Outs& o) { return p.controller.GetHostName (&o.text); }, "controller1.GetHostName(" },
    { "GetPlugInTargetPlatform", IID_IAAXControllerV3, AAX_ERROR_UNIMPLEMENTED, [] (HostProxies& p, Outs& o) { return p.controller.GetPlugInTargetPlatform (&o.i); }, "controller1.GetPlugInTargetPlatform(" },
    { "GetIsAudioSuite", IID_IAAXControllerV3, AAX_ERROR_UNIMPLEMENTED, [] (HostProxies& p, Outs& o) { return p.controller.GetIsAudioSuite (&o.flag); }, "controller1.GetIsAudioSuite(" },

    { "RegisterParameter", IID_IAAXAutomationDelegateV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs&) { return p.automation.RegisterParameter ("3"); }, "automation1.RegisterParameter(3)" },
    { "UnregisterParameter", IID_IAAXAutomationDelegateV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs&) { return p.automation.UnregisterParameter ("3"); }, "automation1.UnregisterParameter(3)" },
    { "PostSetValueRequest", IID_IAAXAutomationDelegateV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs&) { return p.automation.PostSetValueRequest ("3", 0.25); }, "automation1.PostSetValueRequest(3, 0.25)" },
    { "PostCurrentValue", IID_IAAXAutomationDelegateV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs&) { return p.automation.PostCurrentValue ("3", 0.5); }, "automation1.PostCurrentValue(3, 0.5)" },
    { "PostTouchRequest", IID_IAAXAutomationDelegateV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs&) { return p.automation.PostTouchRequest ("3"); }, "automation1.PostTouchRequest(3)" },
    { "PostReleaseRequest", IID_IAAXAutomationDelegateV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs&) { return p.automation.PostReleaseRequest ("3"); }, "automation1.PostReleaseRequest(3)" },
    { "GetTouchState", IID_IAAXAutomationDelegateV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs& o) { return p.automation.GetTouchState ("3", &o.flag); }, "automation1.GetTouchState(3, " },

    { "GetCurrentTempo", IID_IAAXTransportV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs& o) { return p.transport.GetCurrentTempo (&o.d); }, "transport1.GetCurrentTempo(" },
    { "GetCurrentMeter", IID_IAAXTransportV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs& o) { return p.transport.GetCurrentMeter (&o.i, &o.j); }, "transport1.GetCurrentMeter(" },
    { "IsTransportPlaying", IID_IAAXTransportV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs& o) { return p.transport.IsTransportPlaying (&o.b); }, "transport1.IsTransportPlaying(" },
    { "GetCurrentTickPosition", IID_IAAXTransportV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs& o) { return p.transport.GetCurrentTickPosition (&o.l); }, "transport1.GetCurrentTickPosition(" },
    { "GetCurrentLoopPosition", IID_IAAXTransportV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs& o) { return p.transport.GetCurrentLoopPosition (&o.b, &o.l, &o.m); }, "transport1.GetCurrentLoopPosition(" },
    { "GetCurrentNativeSampleLocation", IID_IAAXTransportV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs& o) { return p.transport.GetCurrentNativeSampleLocation (&o.l); }, "transport1.GetCurrentNativeSampleLocation(" },
    { "GetCustomTickPosition", IID_IAAXTransportV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs& o) { return p.transport.GetCustomTickPosition (&o.l, 480); }, "transport1.GetCustomTickPosition(ptr, 480)" },
    { "GetBarBeatPosition", IID_IAAXTransportV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs& o) { return p.transport.GetBarBeatPosition (&o.i, &o.j, &o.l, 960); }, "transport1.GetBarBeatPosition(ptr, ptr, ptr, 960)" },
    { "GetTicksPerQuarter", IID_IAAXTransportV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs& o) { return p.transport.GetTicksPerQuarter (&o.u); }, "transport1.GetTicksPerQuarter(" },
    { "GetCurrentTicksPerBeat", IID_IAAXTransportV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs& o) { return p.transport.GetCurrentTicksPerBeat (&o.u); }, "transport1.GetCurrentTicksPerBeat(" },
    { "GetTimelineSelectionStartPosition", IID_IAAXTransportV2, AAX_ERROR_UNIMPLEMENTED, [] (HostProxies& p, Outs& o) { return p.transport.GetTimelineSelectionStartPosition (&o.l); }, "transport1.GetTimelineSelectionStartPosition(" },
    { "GetTimeCodeInfo", IID_IAAXTransportV2, AAX_ERROR_UNIMPLEMENTED, [] (HostProxies& p, Outs& o) { return p.transport.GetTimeCodeInfo (&o.frameRate, &o.i); }, "transport1.GetTimeCodeInfo(" },
    { "GetFeetFramesInfo", IID_IAAXTransportV2, AAX_ERROR_UNIMPLEMENTED, [] (HostProxies& p, Outs& o) { return p.transport.GetFeetFramesInfo (&o.feetFramesRate, &o.n); }, "transport1.GetFeetFramesInfo(" },
    { "IsMetronomeEnabled", IID_IAAXTransportV2, AAX_ERROR_UNIMPLEMENTED, [] (HostProxies& p, Outs& o) { return p.transport.IsMetronomeEnabled (&o.i); }, "transport1.IsMetronomeEnabled(" },

    { "GetModifiers", IID_IAAXViewContainerV1, AAX_ERROR_UNIMPLEMENTED, [] (HostProxies& p, Outs& o) { return p.viewContainer.GetModifiers (&o.u); }, "view1.GetModifiers(" },
    { "SetViewSize", IID_IAAXViewContainerV1, AAX_SUCCESS, [] (HostProxies& p, Outs& o) { o.point = { 454.0f, 325.0f }; return p.viewContainer.SetViewSize (o.point); }, "view1.SetViewSize(325, 454)" },
    { "HandleParameterMouseDown", IID_IAAXViewContainerV1, AAX_ERROR_UNIMPLEMENTED, [] (HostProxies& p, Outs&) { return p.viewContainer.HandleParameterMouseDown ("4", 1); }, "view1.HandleParameterMouseDown(4, 1)" },
    { "HandleParameterMouseDrag", IID_IAAXViewContainerV1, AAX_ERROR_UNIMPLEMENTED, [] (HostProxies& p, Outs&) { return p.viewContainer.HandleParameterMouseDrag ("4", 1); }, "view1.HandleParameterMouseDrag(4, 1)" },
    { "HandleParameterMouseUp", IID_IAAXViewContainerV1, AAX_ERROR_UNIMPLEMENTED, [] (HostProxies& p, Outs&) { return p.viewContainer.HandleParameterMouseUp ("4", 1); }, "view1.HandleParameterMouseUp(4, 1)" },
    { "HandleMultipleParametersMouseDown", IID_IAAXViewContainerV2, AAX_ERROR_UNIMPLEMENTED, [] (HostProxies& p, Outs&) { return p.viewContainer.HandleMultipleParametersMouseDown (twoIDs, 2, 0); }, "view1.HandleMultipleParametersMouseDown(ptr, 2, 0)" },
    { "HandleMultipleParametersMouseDrag", IID_IAAXViewContainerV2, AAX_ERROR_UNIMPLEMENTED, [] (HostProxies& p, Outs&) { return p.viewContainer.HandleMultipleParametersMouseDrag (twoIDs, 2, 0); }, "view1.HandleMultipleParametersMouseDrag(ptr, 2, 0)" },
    { "HandleMultipleParametersMouseUp", IID_IAAXViewContainerV2, AAX_ERROR_UNIMPLEMENTED, [] (HostProxies& p, Outs&) { return p.viewContainer.HandleMultipleParametersMouseUp (twoIDs, 2, 0); }, "view1.HandleMultipleParametersMouseUp(ptr, 2, 0)" },

    { "Assert", IID_IAAXHostServicesV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs&) { return p.services.Assert ("file.cpp", 12, "note"); }, "services1.Assert(file.cpp, 12, note)" },
    { "Trace", IID_IAAXHostServicesV1, AAX_ERROR_NULL_OBJECT, [] (HostProxies& p, Outs&) { return p.services.Trace (AAX_eTracePriorityHost_Normal, "text"); }, "services1.Trace(134217728, text)" },
    { "StackTrace", IID_IAAXHostServicesV2, AAX_ERROR_UNIMPLEMENTED, [] (HostProxies& p, Outs&) { return p.services.StackTrace (1, 2, "text"); }, "services1.StackTrace(1, 2, text)" },
};

class HostProxyForwardTest : public FakeHostFixture, public ::testing::WithParamInterface<ForwardCase>
{
protected:
    /** The recorded host calls that start as the case's does. */
    size_t hostCallsMade() const  { return host.callsStartingWith (GetParam().hostCall).size(); }
};

TEST_P (HostProxyForwardTest, ForwardsToTheHostAndPassesItsAnswerBack)
{
    auto& instance = host.newInstanceHost();
    auto& view = host.newViewContainer();
    HostProxies proxies (instance.unknown(), view.unknown(), host.root());

    for (auto* fake : host.all<FakeObject>())
        fake->answer = 77;

    Outs outs;
    EXPECT_EQ (GetParam().call (proxies, outs), 77);
    EXPECT_EQ (hostCallsMade(), 1u) << GetParam().hostCall;
}

TEST_P (HostProxyForwardTest, AnswersItsMissingResultWithoutTheInterfaceVersion)
{
    // Neither an error that still hands out a pointer nor a success without one grants the interface.
    for (const auto how : { Withholding::refusal, Withholding::errorWithPointer, Withholding::successWithNull })
    {
        FakeHost withholding;
        withholding.withhold (GetParam().version, how);
        auto& instance = withholding.newInstanceHost();
        auto& view = withholding.newViewContainer();

        {
            HostProxies proxies (instance.unknown(), view.unknown(), withholding.root());
            Outs outs;
            EXPECT_EQ (GetParam().call (proxies, outs), GetParam().missing) << static_cast<int> (how);
        }

        EXPECT_EQ (withholding.callsStartingWith (GetParam().hostCall).size(), 0u) << static_cast<int> (how);
        EXPECT_EQ (withholding.outstandingReferences(), 0) << withholding.outstandingReport();
        EXPECT_EQ (withholding.overReleases(), 0) << withholding.outstandingReport();
    }
}

TEST_P (HostProxyForwardTest, AnswersItsMissingResultWithoutAHost)
{
    HostProxies proxies (nullptr, nullptr, nullptr);
    Outs outs;
    EXPECT_EQ (GetParam().call (proxies, outs), GetParam().missing);
}

INSTANTIATE_TEST_SUITE_P (Operations, HostProxyForwardTest, ::testing::ValuesIn (forwardCases),
                          [] (const auto& testInfo) { return std::string (testInfo.param.name); });

//==============================================================================
using HostProxiesTest = FakeHostFixture;

TEST_F (HostProxiesTest, EachProxyAsksForEveryVersionOnceOldestFirst)
{
    auto& instance = host.newInstanceHost();
    auto& view = host.newViewContainer();
    host.clearCalls();
    {
        HostProxies proxies (instance.unknown(), view.unknown(), host.root());
    }

    EXPECT_EQ (host.callsStartingWith ("instance1.QueryInterface"), (std::vector<std::string> {
        "instance1.QueryInterface(IID_IAAXControllerV1)",
        "instance1.QueryInterface(IID_IAAXControllerV2)",
        "instance1.QueryInterface(IID_IAAXControllerV3)",
        "instance1.QueryInterface(IID_IAAXAutomationDelegateV1)",
        "instance1.QueryInterface(IID_IAAXTransportV1)",
        "instance1.QueryInterface(IID_IAAXTransportV2)" }));
    EXPECT_EQ (host.callsStartingWith ("view1.QueryInterface"), (std::vector<std::string> {
        "view1.QueryInterface(IID_IAAXViewContainerV1)",
        "view1.QueryInterface(IID_IAAXViewContainerV2)" }));
    EXPECT_EQ (host.callsStartingWith ("root1.CreateInstance"), (std::vector<std::string> {
        "root1.CreateInstance(AAXCompID_HostServices, null, IID_IAAXHostServicesV1)",
        "root1.CreateInstance(AAXCompID_HostServices, null, IID_IAAXHostServicesV2)" }));
}

TEST_F (HostProxiesTest, OutValuesComeFromTheHost)
{
    auto& instance = host.newInstanceHost();
    instance.controller.sampleRate = 96000.0f;
    instance.transport.tempo = 93.5;
    AAX_VController controller (instance.unknown());
    AAX_VTransport transport (instance.unknown());

    float sampleRate = 0.0f;
    double tempo = 0.0;
    AAX_CString name;
    EXPECT_EQ (controller.GetSampleRate (&sampleRate), AAX_SUCCESS);
    EXPECT_EQ (transport.GetCurrentTempo (&tempo), AAX_SUCCESS);
    EXPECT_EQ (controller.GetHostName (&name), AAX_SUCCESS);
    EXPECT_EQ (sampleRate, 96000.0f);
    EXPECT_EQ (tempo, 93.5);
    EXPECT_STREQ (name.Get(), "Fake AAX Host");

    const int32_t bypass = 1;
    EXPECT_EQ (controller.PostPacket (3, &bypass, sizeof (bypass)), AAX_SUCCESS);
    ASSERT_EQ (instance.controller.packets.size(), 1u);
    EXPECT_EQ (instance.controller.packets[0].fieldIndex, 3);
    EXPECT_EQ (instance.controller.packets[0].bytes, (std::vector<uint8_t> { 1, 0, 0, 0 }));
}

TEST_F (HostProxiesTest, OnlyTheFirstControllerVersionStillForwardsItsOwnOperations)
{
    host.refuse (IID_IAAXControllerV2);
    host.refuse (IID_IAAXControllerV3);
    AAX_VController controller (host.newInstanceHost().unknown());

    float sampleRate = 0.0f;
    AAX_CString name ("unchanged");
    AAX_CBoolean audioSuite = 7;
    EXPECT_EQ (controller.GetSampleRate (&sampleRate), AAX_SUCCESS);
    EXPECT_EQ (sampleRate, 44100.0f);
    EXPECT_EQ (controller.GetHostName (&name), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_STREQ (name.Get(), "unchanged");
    EXPECT_EQ (controller.GetIsAudioSuite (&audioSuite), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (audioSuite, 7);
}

TEST_F (HostProxiesTest, AMissingAutomationTimestampIsZero)
{
    host.refuse (IID_IAAXControllerV2);
    AAX_VController controller (host.newInstanceHost().unknown());

    int64_t timestamp = 99;
    EXPECT_EQ (controller.GetCurrentAutomationTimestamp (&timestamp), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (timestamp, 0);
    EXPECT_EQ (controller.GetCurrentAutomationTimestamp (nullptr), AAX_ERROR_UNIMPLEMENTED);
}

TEST_F (HostProxiesTest, AViewContainerWithoutItsHostShowsNoView)
{
    auto& view = host.newViewContainer();
    view.nativeView = &view;

    AAX_VViewContainer withHost (view.unknown());
    EXPECT_EQ (withHost.GetType(), AAX_eViewContainer_Type_Native);
    EXPECT_EQ (withHost.GetPtr(), &view);

    AAX_VViewContainer withoutHost (nullptr);
    AAX_Point size { 454.0f, 325.0f };
    EXPECT_EQ (withoutHost.GetType(), AAX_eViewContainer_Type_NULL);
    EXPECT_EQ (withoutHost.GetPtr(), nullptr);
    EXPECT_EQ (withoutHost.SetViewSize (size), AAX_SUCCESS);
}

TEST_F (HostProxiesTest, HostServicesNeedTheComponentFactory)
{
    host.refuse (IID_IACFComponentFactory);
    AAX_VHostServices services (host.root());

    EXPECT_TRUE (host.callsStartingWith ("root1.CreateInstance").empty());
    EXPECT_EQ (services.Trace (AAX_eTracePriorityHost_Normal, "text"), AAX_ERROR_NULL_OBJECT);
}

//==============================================================================
/** AAX_CHostServices is module-wide: each test leaves it cleared. */
class TraceTest : public FakeHostFixture
{
protected:
    void TearDown() override
    {
        AAX_CHostServices::Set (nullptr);
        FakeHostFixture::TearDown();
    }
};

TEST_F (TraceTest, NothingIsTracedBeforeStartupOrAfterShutdown)
{
    EXPECT_EQ (AAX_CHostServices::Trace (AAX_eTracePriorityHost_Normal, "before %d", 1), AAX_SUCCESS);

    AAX_CHostServices::Set (host.root());
    host.hostServices().answer = 5;
    EXPECT_EQ (AAX_CHostServices::Trace (AAX_eTracePriorityHost_Normal, "during %d", 2), 5);

    AAX_CHostServices::Set (nullptr);
    EXPECT_EQ (AAX_CHostServices::Trace (AAX_eTracePriorityHost_Normal, "after %d", 3), AAX_SUCCESS);

    EXPECT_EQ (host.hostServices().traces,
               (std::vector<std::pair<int32_t, std::string>> { { AAX_eTracePriorityHost_Normal, "during 2" } }));
}

TEST_F (TraceTest, ASecondStartupKeepsTheFirstHost)
{
    FakeHost second;
    AAX_CHostServices::Set (host.root());
    AAX_CHostServices::Set (second.root());
    AAX_CHostServices::Trace (AAX_eTracePriorityHost_Normal, "once");

    EXPECT_EQ (host.hostServices().traces.size(), 1u);
    EXPECT_EQ (second.outstandingReferences(), 0);
}

TEST_F (TraceTest, LongTextsAreCutToTheBufferInsteadOfOverrunningIt)
{
    AAX_CHostServices::Set (host.root());
    const std::string longText (2000, 'x');

    AAX_CHostServices::Trace (AAX_eTracePriorityHost_Normal, "AAX_CChunkDataParser::GetChunkData ERROR: %s",
                              longText.c_str());

    ASSERT_EQ (host.hostServices().traces.size(), 1u);
    const auto& traced = host.hostServices().traces[0].second;
    EXPECT_EQ (traced.size(), 511u);
    EXPECT_EQ (traced.rfind ("AAX_CChunkDataParser::GetChunkData ERROR: xxx", 0), 0u);
}
}
