// Where each operation of the interfaces between host and plug-in sits in the
// virtual table, against positions taken from the interface descriptions
// themselves rather than from our headers: the fake host is compiled from the
// same headers as the library, so an operation declared out of order in both
// would pass every other test and still call the wrong operation in a real host.
#include "AAX_IACFAutomationDelegate.h"
#include "AAX_IACFCollection.h"
#include "AAX_IACFComponentDescriptor.h"
#include "AAX_IACFController.h"
#include "AAX_IACFEffectDescriptor.h"
#include "AAX_IACFEffectGUI.h"
#include "AAX_IACFEffectParameters.h"
#include "AAX_IACFHostServices.h"
#include "AAX_IACFPropertyMap.h"
#include "AAX_IACFTransport.h"
#include "AAX_IACFViewContainer.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <vector>

namespace
{
/** The virtual-table position of a virtual operation. In the Itanium C++ ABI a
    pointer to a virtual member function holds 1 + the byte offset of its entry. */
template <class Member>
std::ptrdiff_t slotOf (Member member)
{
    static_assert (sizeof (Member) == 2 * sizeof (std::ptrdiff_t), "an Itanium member-function pointer");
    std::ptrdiff_t words[2];
    std::memcpy (words, &member, sizeof (words));
    return (words[0] - 1) / static_cast<std::ptrdiff_t> (sizeof (void*));
}

struct Slot
{
    const char* name;
    std::ptrdiff_t expected;
    std::ptrdiff_t declared;
};

void expectSlots (const char* interfaceName, const std::vector<Slot>& slots)
{
    for (const auto& slot : slots)
        EXPECT_EQ (slot.declared, slot.expected) << interfaceName << "::" << slot.name;
}

/** Operations listed in slot order from position 3, after the three of IACFUnknown. */
void expectInOrderFromThree (const char* interfaceName, const std::vector<std::pair<const char*, std::ptrdiff_t>>& operations)
{
    std::ptrdiff_t expected = 3;

    for (const auto& [name, declared] : operations)
        EXPECT_EQ (declared, expected++) << interfaceName << "::" << name;
}
}

TEST (InterfaceSlotsTest, TheFrameworkBase)
{
    expectSlots ("IACFUnknown", {
        { "QueryInterface", 0, slotOf (&IACFUnknown::QueryInterface) },
        { "AddRef", 1, slotOf (&IACFUnknown::AddRef) },
        { "Release", 2, slotOf (&IACFUnknown::Release) },
    });
    expectSlots ("IACFComponentFactory", { { "CreateInstance", 3, slotOf (&IACFComponentFactory::CreateInstance) } });
}

TEST (InterfaceSlotsTest, TheEffectParametersObject)
{
    using I = AAX_IACFEffectParameters_V3;
    expectInOrderFromThree ("AAX_IACFEffectParameters_V3", {
        { "Initialize", slotOf (&I::Initialize) },
        { "Uninitialize", slotOf (&I::Uninitialize) },
        { "NotificationReceived", slotOf (&I::NotificationReceived) },
        { "GetNumberOfParameters", slotOf (&I::GetNumberOfParameters) },
        { "GetMasterBypassParameter", slotOf (&I::GetMasterBypassParameter) },
        { "GetParameterIsAutomatable", slotOf (&I::GetParameterIsAutomatable) },
        { "GetParameterNumberOfSteps", slotOf (&I::GetParameterNumberOfSteps) },
        { "GetParameterName", slotOf (&I::GetParameterName) },
        { "GetParameterNameOfLength", slotOf (&I::GetParameterNameOfLength) },
        { "GetParameterDefaultNormalizedValue", slotOf (&I::GetParameterDefaultNormalizedValue) },
        { "SetParameterDefaultNormalizedValue", slotOf (&I::SetParameterDefaultNormalizedValue) },
        { "GetParameterType", slotOf (&I::GetParameterType) },
        { "GetParameterOrientation", slotOf (&I::GetParameterOrientation) },
        { "GetParameter", slotOf (&I::GetParameter) },
        { "GetParameterIndex", slotOf (&I::GetParameterIndex) },
        { "GetParameterIDFromIndex", slotOf (&I::GetParameterIDFromIndex) },
        { "GetParameterValueInfo", slotOf (&I::GetParameterValueInfo) },
        { "GetParameterValueFromString", slotOf (&I::GetParameterValueFromString) },
        { "GetParameterStringFromValue", slotOf (&I::GetParameterStringFromValue) },
        { "GetParameterValueString", slotOf (&I::GetParameterValueString) },
        { "GetParameterNormalizedValue", slotOf (&I::GetParameterNormalizedValue) },
        { "SetParameterNormalizedValue", slotOf (&I::SetParameterNormalizedValue) },
        { "SetParameterNormalizedRelative", slotOf (&I::SetParameterNormalizedRelative) },
        { "TouchParameter", slotOf (&I::TouchParameter) },
        { "ReleaseParameter", slotOf (&I::ReleaseParameter) },
        { "UpdateParameterTouch", slotOf (&I::UpdateParameterTouch) },
        { "UpdateParameterNormalizedValue", slotOf (&I::UpdateParameterNormalizedValue) },
        { "UpdateParameterNormalizedRelative", slotOf (&I::UpdateParameterNormalizedRelative) },
        { "GenerateCoefficients", slotOf (&I::GenerateCoefficients) },
        { "ResetFieldData", slotOf (&I::ResetFieldData) },
        { "GetNumberOfChunks", slotOf (&I::GetNumberOfChunks) },
        { "GetChunkIDFromIndex", slotOf (&I::GetChunkIDFromIndex) },
        { "GetChunkSize", slotOf (&I::GetChunkSize) },
        { "GetChunk", slotOf (&I::GetChunk) },
        { "SetChunk", slotOf (&I::SetChunk) },
        { "CompareActiveChunk", slotOf (&I::CompareActiveChunk) },
        { "GetNumberOfChanges", slotOf (&I::GetNumberOfChanges) },
        { "TimerWakeup", slotOf (&I::TimerWakeup) },
        { "GetCurveData", slotOf (&I::GetCurveData) },
        { "GetCustomData", slotOf (&I::GetCustomData) },
        { "SetCustomData", slotOf (&I::SetCustomData) },
        { "DoMIDITransfers", slotOf (&I::DoMIDITransfers) },
        { "RenderAudio_Hybrid", slotOf (&I::RenderAudio_Hybrid) },
        { "UpdateMIDINodes", slotOf (&I::UpdateMIDINodes) },
        { "UpdateControlMIDINodes", slotOf (&I::UpdateControlMIDINodes) },
        { "GetCurveDataMeterIds", slotOf (&I::GetCurveDataMeterIds) },
        { "GetCurveDataDisplayRange", slotOf (&I::GetCurveDataDisplayRange) },
    });
}

TEST (InterfaceSlotsTest, TheGUIObject)
{
    using I = AAX_IACFEffectGUI;
    expectInOrderFromThree ("AAX_IACFEffectGUI", {
        { "Initialize", slotOf (&I::Initialize) },
        { "Uninitialize", slotOf (&I::Uninitialize) },
        { "NotificationReceived", slotOf (&I::NotificationReceived) },
        { "SetViewContainer", slotOf (&I::SetViewContainer) },
        { "GetViewSize", slotOf (&I::GetViewSize) },
        { "Draw", slotOf (&I::Draw) },
        { "TimerWakeup", slotOf (&I::TimerWakeup) },
        { "ParameterUpdated", slotOf (&I::ParameterUpdated) },
        { "GetCustomLabel", slotOf (&I::GetCustomLabel) },
        { "SetControlHighlightInfo", slotOf (&I::SetControlHighlightInfo) },
    });
}

TEST (InterfaceSlotsTest, TheHostsDescriptionObjects)
{
    using C = AAX_IACFCollection;
    expectSlots ("AAX_IACFCollection", {
        { "AddEffect", 7, slotOf (&C::AddEffect) },
        { "SetManufacturerName", 8, slotOf (&C::SetManufacturerName) },
        { "AddPackageName", 9, slotOf (&C::AddPackageName) },
        { "SetPackageVersion", 10, slotOf (&C::SetPackageVersion) },
        { "SetProperties", 11, slotOf (&C::SetProperties) },
    });

    using E = AAX_IACFEffectDescriptor_V2;
    expectInOrderFromThree ("AAX_IACFEffectDescriptor_V2", {
        { "AddComponent", slotOf (&E::AddComponent) },
        { "AddName", slotOf (&E::AddName) },
        { "AddCategory", slotOf (&E::AddCategory) },
        { "AddCategoryBypassParameter", slotOf (&E::AddCategoryBypassParameter) },
        { "AddProcPtr", slotOf (&E::AddProcPtr) },
        { "SetProperties", slotOf (&E::SetProperties) },
        { "AddResourceInfo", slotOf (&E::AddResourceInfo) },
        { "AddMeterDescription", slotOf (&E::AddMeterDescription) },
        { "AddControlMIDINode", slotOf (&E::AddControlMIDINode) },
    });

    using D = AAX_IACFComponentDescriptor_V2;
    expectInOrderFromThree ("AAX_IACFComponentDescriptor_V2", {
        { "Clear", slotOf (&D::Clear) },
        { "AddReservedField", slotOf (&D::AddReservedField) },
        { "AddAudioIn", slotOf (&D::AddAudioIn) },
        { "AddAudioOut", slotOf (&D::AddAudioOut) },
        { "AddAudioBufferLength", slotOf (&D::AddAudioBufferLength) },
        { "AddSampleRate", slotOf (&D::AddSampleRate) },
        { "AddClock", slotOf (&D::AddClock) },
        { "AddSideChainIn", slotOf (&D::AddSideChainIn) },
        { "AddDataInPort", slotOf (&D::AddDataInPort) },
        { "AddAuxOutputStem", slotOf (&D::AddAuxOutputStem) },
        { "AddPrivateData", slotOf (&D::AddPrivateData) },
        { "AddDmaInstance", slotOf (&D::AddDmaInstance) },
        { "AddMIDINode", slotOf (&D::AddMIDINode) },
        { "AddProcessProc_Native", slotOf (&D::AddProcessProc_Native) },
        { "AddProcessProc_TI", slotOf (&D::AddProcessProc_TI) },
        { "AddMeters", slotOf (&D::AddMeters) },
        { "AddTemporaryData", slotOf (&D::AddTemporaryData) },
    });

    using P = AAX_IACFPropertyMap_V2;
    expectInOrderFromThree ("AAX_IACFPropertyMap_V2", {
        { "GetProperty", slotOf (&P::GetProperty) },
        { "AddProperty", slotOf (&P::AddProperty) },
        { "RemoveProperty", slotOf (&P::RemoveProperty) },
        { "AddPropertyWithIDArray", slotOf (&P::AddPropertyWithIDArray) },
        { "GetPropertyWithIDArray", slotOf (&P::GetPropertyWithIDArray) },
    });
}

TEST (InterfaceSlotsTest, TheHostsInstanceServices)
{
    using C = AAX_IACFController_V3;
    expectInOrderFromThree ("AAX_IACFController_V3", {
        { "GetEffectID", slotOf (&C::GetEffectID) },
        { "GetSampleRate", slotOf (&C::GetSampleRate) },
        { "GetInputStemFormat", slotOf (&C::GetInputStemFormat) },
        { "GetOutputStemFormat", slotOf (&C::GetOutputStemFormat) },
        { "GetSignalLatency", slotOf (&C::GetSignalLatency) },
        { "GetCycleCount", slotOf (&C::GetCycleCount) },
        { "GetTODLocation", slotOf (&C::GetTODLocation) },
        { "SetSignalLatency", slotOf (&C::SetSignalLatency) },
        { "SetCycleCount", slotOf (&C::SetCycleCount) },
        { "PostPacket", slotOf (&C::PostPacket) },
        { "GetCurrentMeterValue", slotOf (&C::GetCurrentMeterValue) },
        { "GetMeterPeakValue", slotOf (&C::GetMeterPeakValue) },
        { "ClearMeterPeakValue", slotOf (&C::ClearMeterPeakValue) },
        { "GetMeterClipped", slotOf (&C::GetMeterClipped) },
        { "ClearMeterClipped", slotOf (&C::ClearMeterClipped) },
        { "GetMeterCount", slotOf (&C::GetMeterCount) },
        { "GetNextMIDIPacket", slotOf (&C::GetNextMIDIPacket) },
        { "SendNotification", slotOf (&C::SendNotification) },
        { "GetHybridSignalLatency", slotOf (&C::GetHybridSignalLatency) },
        { "GetCurrentAutomationTimestamp", slotOf (&C::GetCurrentAutomationTimestamp) },
        { "GetHostName", slotOf (&C::GetHostName) },
        { "GetPlugInTargetPlatform", slotOf (&C::GetPlugInTargetPlatform) },
        { "GetIsAudioSuite", slotOf (&C::GetIsAudioSuite) },
    });

    using A = AAX_IACFAutomationDelegate;
    expectInOrderFromThree ("AAX_IACFAutomationDelegate", {
        { "RegisterParameter", slotOf (&A::RegisterParameter) },
        { "UnregisterParameter", slotOf (&A::UnregisterParameter) },
        { "PostSetValueRequest", slotOf (&A::PostSetValueRequest) },
        { "PostCurrentValue", slotOf (&A::PostCurrentValue) },
        { "PostTouchRequest", slotOf (&A::PostTouchRequest) },
        { "PostReleaseRequest", slotOf (&A::PostReleaseRequest) },
        { "GetTouchState", slotOf (&A::GetTouchState) },
    });

    using T = AAX_IACFTransport_V2;
    expectInOrderFromThree ("AAX_IACFTransport_V2", {
        { "GetCurrentTempo", slotOf (&T::GetCurrentTempo) },
        { "GetCurrentMeter", slotOf (&T::GetCurrentMeter) },
        { "IsTransportPlaying", slotOf (&T::IsTransportPlaying) },
        { "GetCurrentTickPosition", slotOf (&T::GetCurrentTickPosition) },
        { "GetCurrentLoopPosition", slotOf (&T::GetCurrentLoopPosition) },
        { "GetCurrentNativeSampleLocation", slotOf (&T::GetCurrentNativeSampleLocation) },
        { "GetCustomTickPosition", slotOf (&T::GetCustomTickPosition) },
        { "GetBarBeatPosition", slotOf (&T::GetBarBeatPosition) },
        { "GetTicksPerQuarter", slotOf (&T::GetTicksPerQuarter) },
        { "GetCurrentTicksPerBeat", slotOf (&T::GetCurrentTicksPerBeat) },
        { "GetTimelineSelectionStartPosition", slotOf (&T::GetTimelineSelectionStartPosition) },
        { "GetTimeCodeInfo", slotOf (&T::GetTimeCodeInfo) },
        { "GetFeetFramesInfo", slotOf (&T::GetFeetFramesInfo) },
        { "IsMetronomeEnabled", slotOf (&T::IsMetronomeEnabled) },
    });

    using V = AAX_IACFViewContainer_V2;
    expectInOrderFromThree ("AAX_IACFViewContainer_V2", {
        { "GetType", slotOf (&V::GetType) },
        { "GetPtr", slotOf (&V::GetPtr) },
        { "GetModifiers", slotOf (&V::GetModifiers) },
        { "SetViewSize", slotOf (&V::SetViewSize) },
        { "HandleParameterMouseDown", slotOf (&V::HandleParameterMouseDown) },
        { "HandleParameterMouseDrag", slotOf (&V::HandleParameterMouseDrag) },
        { "HandleParameterMouseUp", slotOf (&V::HandleParameterMouseUp) },
        { "HandleMultipleParametersMouseDown", slotOf (&V::HandleMultipleParametersMouseDown) },
        { "HandleMultipleParametersMouseDrag", slotOf (&V::HandleMultipleParametersMouseDrag) },
        { "HandleMultipleParametersMouseUp", slotOf (&V::HandleMultipleParametersMouseUp) },
    });

    using H = AAX_IACFHostServices_V2;
    expectInOrderFromThree ("AAX_IACFHostServices_V2", {
        { "Assert", slotOf (&H::Assert) },
        { "Trace", slotOf (&H::Trace) },
        { "StackTrace", slotOf (&H::StackTrace) },
    });
}
