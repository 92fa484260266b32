#include "AAX_CEffectParameters.h"

#include "AAX_CString.h"
#include "AAX_IParameter.h"
#include "AAX_VAutomationDelegate.h"
#include "AAX_VController.h"
#include "AAX_VTransport.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <type_traits>

const char* const cDefaultMasterBypassID = "MasterBypassID";
const char* const cPreviewID = "PreviewID";
const char* const CONTROLS_CHUNK_DESCRIPTION = "Complete Controls State";

namespace
{
    double clampToUnit (double value) noexcept
    {
        return std::clamp (value, 0.0, 1.0);
    }

    /** Calls read with the parameter's value in the first type it answers, in
        the order float, int32, bool, double, string; false when it answers none. */
    template <class Visitor>
    bool visitValue (const AAX_IParameter& parameter, Visitor&& visit)
    {
        float floatValue = 0.0f;
        int32_t intValue = 0;
        bool boolValue = false;
        double doubleValue = 0.0;
        AAX_CString text;

        if (parameter.GetValueAsFloat (&floatValue))
            visit (floatValue);
        else if (parameter.GetValueAsInt32 (&intValue))
            visit (intValue);
        else if (parameter.GetValueAsBool (&boolValue))
            visit (boolValue);
        else if (parameter.GetValueAsDouble (&doubleValue))
            visit (doubleValue);
        else if (parameter.GetValueAsString (&text))
            visit (text);
        else
            return false;

        return true;
    }

    /** Calls action with the identifier's parameter and returns its result;
        an unknown identifier gives AAX_ERROR_INVALID_PARAMETER_ID. */
    template <class Manager, class Action>
    AAX_Result withParameter (Manager& manager, AAX_CParamID id, Action&& action)
    {
        auto* parameter = manager.GetParameterByID (id);
        return parameter != nullptr ? action (*parameter) : AAX_ERROR_INVALID_PARAMETER_ID;
    }

    /** Calls action on every parameter the controls chunk holds, in the host's
        order, while it returns true; false when it stopped early. */
    template <class Manager, class Action>
    bool forEachChunkParameter (Manager& manager, const std::set<std::string>& filtered, Action&& action)
    {
        for (int32_t i = 0; i < manager.NumParameters(); ++i)
        {
            auto* parameter = manager.GetParameter (i);

            if (parameter != nullptr && filtered.count (parameter->Identifier()) == 0 && ! action (*parameter))
                return false;
        }

        return true;
    }
}

//==============================================================================
AAX_CEffectParameters::AAX_CEffectParameters() = default;

AAX_CEffectParameters::~AAX_CEffectParameters()
{
    // Parameters unregister from the automation proxy as they go, so they go before it.
    parameterManager.RemoveAllParameters();
}

AAX_Result AAX_CEffectParameters::Initialize (IACFUnknown* host)
{
    // An object initialised before starts again: its parameters point at the
    // proxies about to be replaced, so they go first.
    parameterManager.RemoveAllParameters();
    controller = std::make_unique<AAX_VController> (host);
    auto automation = std::make_unique<AAX_VAutomationDelegate> (host);
    const bool hostAutomates = automation->IsConnected();
    automationDelegate = std::move (automation);
    transport = std::make_unique<AAX_VTransport> (host);

    // A host without automation never answers a set-value request: the
    // parameters then store their values at once.
    parameterManager.Initialize (hostAutomates ? automationDelegate.get() : nullptr);
    packetDispatcher.Initialize (controller.get(), this);

    if (const auto result = EffectInit(); result != AAX_SUCCESS)
        return result;

    AAX_CString bypassID;
    GetMasterBypassParameter (&bypassID);
    FilterParameterIDOnSave (bypassID.Get());
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::Uninitialize()
{
    parameterManager.RemoveAllParameters();
    controller.reset();
    automationDelegate.reset();
    transport.reset();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::EffectInit()
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::NotificationReceived (AAX_CTypeID type, const void* data, uint32_t size)
{
    if (type != AAX_PreviewNotification || data == nullptr || size < sizeof (int32_t))
        return AAX_SUCCESS;

    if (auto* preview = parameterManager.GetParameterByID (cPreviewID))
    {
        int32_t previewOn = 0;
        std::memcpy (&previewOn, data, sizeof (previewOn));
        preview->SetValueWithBool (previewOn != 0);
    }

    return AAX_SUCCESS;
}

void AAX_CEffectParameters::FilterParameterIDOnSave (AAX_CParamID id)
{
    if (id != nullptr)
        filteredParameterIDs.insert (id);
}

//==============================================================================
AAX_Result AAX_CEffectParameters::GetNumberOfParameters (int32_t* out) const
{
    *out = parameterManager.NumParameters();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetMasterBypassParameter (AAX_IString* out) const
{
    *out = parameterManager.GetParameterByID (cDefaultMasterBypassID) != nullptr ? cDefaultMasterBypassID : "";
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterIsAutomatable (AAX_CParamID id, AAX_CBoolean* out) const
{
    *out = 0;
    return withParameter (parameterManager, id, [out] (const AAX_IParameter& parameter)
    {
        *out = parameter.Automatable() ? 1 : 0;
        return AAX_SUCCESS;
    });
}

AAX_Result AAX_CEffectParameters::GetParameterNumberOfSteps (AAX_CParamID id, int32_t* out) const
{
    return withParameter (parameterManager, id, [out] (const AAX_IParameter& parameter)
    {
        const auto steps = static_cast<int32_t> (parameter.GetNumberOfSteps());

        if (steps < 0)
            return AAX_ERROR_INVALID_NUMBER_OF_STEPS;

        *out = steps;
        return AAX_SUCCESS;
    });
}

AAX_Result AAX_CEffectParameters::GetParameterName (AAX_CParamID id, AAX_IString* out) const
{
    const auto* parameter = parameterManager.GetParameterByID (id);
    *out = parameter != nullptr ? parameter->Name() : AAX_CString();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterNameOfLength (AAX_CParamID id, AAX_IString* out, int32_t length) const
{
    if (out == nullptr)
        return AAX_ERROR_INVALID_STRING_CONVERSION;

    const auto* parameter = parameterManager.GetParameterByID (id);

    if (parameter == nullptr)
    {
        *out = "";
        return AAX_SUCCESS;
    }

    const std::string name = std::string (parameter->ShortenedName (length).Get()).substr (0, 255);

    if (name.empty())
        return AAX_SUCCESS;

    // A name may hold alternatives of different lengths, one per line.
    std::string chosen;
    bool found = false;
    size_t start = 0;

    while (start <= name.size())
    {
        const auto end = std::min (name.find ('\n', start), name.size());
        const auto segment = name.substr (start, end - start);

        if (static_cast<int64_t> (segment.size()) <= length && (! found || segment.size() > chosen.size()))
        {
            chosen = segment;
            found = true;
        }

        start = end + 1;
    }

    if (found)
        *out = chosen.c_str();
    else
        *out = length < 1 ? "" : name.substr (0, static_cast<size_t> (length)).c_str();

    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterDefaultNormalizedValue (AAX_CParamID id, double* out) const
{
    return withParameter (parameterManager, id, [&] (const AAX_IParameter& parameter)
    {
        *out = parameter.GetNormalizedDefaultValue();
        return AAX_SUCCESS;
    });
}

AAX_Result AAX_CEffectParameters::SetParameterDefaultNormalizedValue (AAX_CParamID id, double value)
{
    return withParameter (parameterManager, id, [&] (AAX_IParameter& parameter)
    {
        parameter.SetNormalizedDefaultValue (value);
        return AAX_SUCCESS;
    });
}

AAX_Result AAX_CEffectParameters::GetParameterType (AAX_CParamID id, AAX_EParameterType* out) const
{
    return withParameter (parameterManager, id, [&] (const AAX_IParameter& parameter)
    {
        *out = parameter.GetType();
        return AAX_SUCCESS;
    });
}

AAX_Result AAX_CEffectParameters::GetParameterOrientation (AAX_CParamID id, AAX_EParameterOrientation* out) const
{
    return withParameter (parameterManager, id, [&] (const AAX_IParameter& parameter)
    {
        *out = parameter.GetOrientation();
        return AAX_SUCCESS;
    });
}

AAX_Result AAX_CEffectParameters::GetParameter (AAX_CParamID id, AAX_IParameter** out)
{
    *out = parameterManager.GetParameterByID (id);
    return *out != nullptr ? AAX_SUCCESS : AAX_ERROR_INVALID_PARAMETER_ID;
}

AAX_Result AAX_CEffectParameters::GetParameterIndex (AAX_CParamID id, int32_t* out) const
{
    *out = parameterManager.GetParameterIndex (id);
    return *out < 0 ? AAX_ERROR_INVALID_PARAMETER_ID : AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterIDFromIndex (int32_t index, AAX_IString* out) const
{
    const auto* parameter = parameterManager.GetParameter (index);
    *out = parameter != nullptr ? parameter->Identifier() : "";
    return parameter != nullptr ? AAX_SUCCESS : AAX_ERROR_INVALID_PARAMETER_ID;
}

AAX_Result AAX_CEffectParameters::GetParameterValueInfo (AAX_CParamID, int32_t, int32_t* out) const
{
    *out = 0;
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::GetParameterValueFromString (AAX_CParamID id, double* out,
                                                               const AAX_IString& text) const
{
    return withParameter (parameterManager, id, [&] (const AAX_IParameter& parameter)
    {
        return parameter.GetNormalizedValueFromString (AAX_CString (text), out) ? AAX_SUCCESS
                                                                                 : AAX_ERROR_INVALID_STRING_CONVERSION;
    });
}

AAX_Result AAX_CEffectParameters::GetParameterStringFromValue (AAX_CParamID id, double normalized, AAX_IString* out,
                                                               int32_t maxLength) const
{
    return withParameter (parameterManager, id, [&] (const AAX_IParameter& parameter)
    {
        AAX_CString text;

        if (! parameter.GetStringFromNormalizedValue (normalized, maxLength, text))
            return AAX_ERROR_INVALID_STRING_CONVERSION;

        *out = text;
        return AAX_SUCCESS;
    });
}

AAX_Result AAX_CEffectParameters::GetParameterValueString (AAX_CParamID id, AAX_IString* out, int32_t maxLength) const
{
    return withParameter (parameterManager, id, [&] (const AAX_IParameter& parameter)
    {
        AAX_CString text;
        parameter.GetValueString (maxLength, &text);
        *out = text;
        return AAX_SUCCESS;
    });
}

AAX_Result AAX_CEffectParameters::GetParameterNormalizedValue (AAX_CParamID id, double* out) const
{
    return withParameter (parameterManager, id, [&] (const AAX_IParameter& parameter)
    {
        *out = parameter.GetNormalizedValue();
        return AAX_SUCCESS;
    });
}

AAX_Result AAX_CEffectParameters::SetParameterNormalizedValue (AAX_CParamID id, double value)
{
    return withParameter (parameterManager, id, [&] (AAX_IParameter& parameter)
    {
        const auto previous = parameter.GetNormalizedValue();
        parameter.SetNormalizedValue (value);

        // With the host's automation the value waits for its answer; without
        // it the parameter stored the value at once, which then goes on to the
        // processing side just as a value the host confirms.
        return parameter.GetNormalizedValue() != previous ? valueStored (id) : AAX_Result (AAX_SUCCESS);
    });
}

AAX_Result AAX_CEffectParameters::SetParameterNormalizedRelative (AAX_CParamID id, double delta)
{
    double current = 0.0;

    if (const auto result = GetParameterNormalizedValue (id, &current); result != AAX_SUCCESS)
        return result;

    return SetParameterNormalizedValue (id, clampToUnit (current + delta));
}

AAX_Result AAX_CEffectParameters::TouchParameter (AAX_CParamID id)
{
    return withParameter (parameterManager, id, [&] (AAX_IParameter& parameter)
    {
        parameter.Touch();
        return AAX_SUCCESS;
    });
}

AAX_Result AAX_CEffectParameters::ReleaseParameter (AAX_CParamID id)
{
    return withParameter (parameterManager, id, [&] (AAX_IParameter& parameter)
    {
        parameter.Release();
        return AAX_SUCCESS;
    });
}

AAX_Result AAX_CEffectParameters::UpdateParameterTouch (AAX_CParamID, AAX_CBoolean)
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::UpdateParameterNormalizedValue (AAX_CParamID id, double value, AAX_EUpdateSource)
{
    return withParameter (parameterManager, id, [&] (AAX_IParameter& parameter)
    {
        const auto previous = parameter.GetNormalizedValue();
        parameter.UpdateNormalizedValue (value);
        const auto result = packetDispatcher.SetDirty (id, true);

        // What the parameter kept decides: a NaN or an out-of-range value is
        // not what it stores.
        if (parameter.GetNormalizedValue() != previous)
            ++changeCount;

        return result;
    });
}

AAX_Result AAX_CEffectParameters::valueStored (AAX_CParamID id)
{
    ++changeCount;
    return packetDispatcher.SetDirty (id, true);
}

AAX_Result AAX_CEffectParameters::UpdateParameterNormalizedRelative (AAX_CParamID id, double delta)
{
    double current = 0.0;

    if (const auto result = GetParameterNormalizedValue (id, &current); result != AAX_SUCCESS)
        return result;

    return UpdateParameterNormalizedValue (id, clampToUnit (current + delta), AAX_eUpdateSource_Unspecified);
}

//==============================================================================
AAX_Result AAX_CEffectParameters::GenerateCoefficients()
{
    return packetDispatcher.Dispatch();
}

AAX_Result AAX_CEffectParameters::ResetFieldData (AAX_CFieldIndex, void* data, uint32_t size) const
{
    if (data != nullptr)
        std::memset (data, 0, size);

    return AAX_SUCCESS;
}

//==============================================================================
AAX_Result AAX_CEffectParameters::GetNumberOfChunks (int32_t* out) const
{
    *out = 1;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetChunkIDFromIndex (int32_t index, AAX_CTypeID* out) const
{
    *out = index == 0 ? AAX_ControlsChunkID : 0;
    return index == 0 ? AAX_SUCCESS : AAX_ERROR_INVALID_CHUNK_INDEX;
}

void AAX_CEffectParameters::BuildChunkData() const
{
    chunkParser.Clear();

    forEachChunkParameter (parameterManager, filteredParameterIDs, [this] (const AAX_IParameter& parameter)
    {
        const auto* id = parameter.Identifier();

        visitValue (parameter, [&] (const auto& value)
        {
            using Value = std::decay_t<decltype (value)>;

            if constexpr (std::is_same_v<Value, float>)
                chunkParser.AddDouble (id, static_cast<double> (value));
            else if constexpr (std::is_same_v<Value, int32_t>)
                chunkParser.AddInt32 (id, value);
            else if constexpr (std::is_same_v<Value, bool>)
                chunkParser.AddInt32 (id, value ? 1 : 0);
            else if constexpr (std::is_same_v<Value, double>)
                chunkParser.AddDouble (id, value);
            else
                chunkParser.AddString (id, value);
        });
        return true;
    });
}

AAX_Result AAX_CEffectParameters::GetChunkSize (AAX_CTypeID id, uint32_t* out) const
{
    if (id != AAX_ControlsChunkID)
    {
        *out = 0;
        return AAX_ERROR_INVALID_CHUNK_ID;
    }

    BuildChunkData();
    chunkSize = chunkParser.GetChunkDataSize();

    if (chunkSize < 0)
        return AAX_ERROR_INCORRECT_CHUNK_SIZE;

    *out = static_cast<uint32_t> (chunkSize.load());
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetChunk (AAX_CTypeID id, AAX_SPlugInChunk* chunk) const
{
    if (id != AAX_ControlsChunkID)
        return AAX_ERROR_INVALID_CHUNK_ID;

    BuildChunkData();

    if (chunkParser.GetChunkDataSize() != chunkSize || chunkSize == 0)
        return AAX_ERROR_INCORRECT_CHUNK_SIZE;

    chunk->fVersion = chunkParser.GetChunkVersion();
    std::memset (chunk->fName, 0, sizeof (chunk->fName));
    std::strncpy (chunk->fName, CONTROLS_CHUNK_DESCRIPTION, sizeof (chunk->fName) - 1);
    return chunkParser.GetChunkData (chunk);
}

AAX_Result AAX_CEffectParameters::SetChunk (AAX_CTypeID id, const AAX_SPlugInChunk* chunk)
{
    if (id != AAX_ControlsChunkID)
        return AAX_ERROR_INVALID_CHUNK_ID;

    chunkParser.LoadChunk (chunk);

    // A NaN describes no value: the parameter keeps its own.
    forEachChunkParameter (parameterManager, filteredParameterIDs, [this] (AAX_IParameter& parameter)
    {
        const auto* name = parameter.Identifier();

        visitValue (parameter, [&] (const auto& current)
        {
            using Value = std::decay_t<decltype (current)>;

            if constexpr (std::is_same_v<Value, float>)
            {
                if (double stored = 0.0; chunkParser.FindDouble (name, &stored) && ! std::isnan (stored))
                    parameter.SetValueWithFloat (static_cast<float> (stored));
            }
            else if constexpr (std::is_same_v<Value, int32_t>)
            {
                if (int32_t stored = 0; chunkParser.FindInt32 (name, &stored))
                    parameter.SetValueWithInt32 (stored);
            }
            else if constexpr (std::is_same_v<Value, bool>)
            {
                if (int32_t stored = 0; chunkParser.FindInt32 (name, &stored))
                    parameter.SetValueWithBool (stored != 0);
            }
            else if constexpr (std::is_same_v<Value, double>)
            {
                if (double stored = 0.0; chunkParser.FindDouble (name, &stored) && ! std::isnan (stored))
                    parameter.SetValueWithDouble (stored);
            }
            else
            {
                if (AAX_CString stored; chunkParser.FindString (name, &stored))
                    parameter.SetValueWithString (stored);
            }
        });
        return true;
    });

    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::CompareActiveChunk (const AAX_SPlugInChunk* chunk, AAX_CBoolean* isEqual) const
{
    if (chunk == nullptr || chunk->fChunkID != AAX_ControlsChunkID)
    {
        *isEqual = 1;
        return AAX_SUCCESS;
    }

    chunkParser.LoadChunk (chunk);

    const bool allSame = forEachChunkParameter (parameterManager, filteredParameterIDs,
                                                [this] (const AAX_IParameter& parameter)
    {
        const auto* name = parameter.Identifier();
        bool same = true;

        visitValue (parameter, [&] (const auto& current)
        {
            using Value = std::decay_t<decltype (current)>;

            if constexpr (std::is_same_v<Value, float>)
            {
                double stored = 0.0;
                same = chunkParser.FindDouble (name, &stored) && static_cast<float> (stored) == current;
            }
            else if constexpr (std::is_same_v<Value, int32_t>)
            {
                int32_t stored = 0;
                same = chunkParser.FindInt32 (name, &stored) && stored == current;
            }
            else if constexpr (std::is_same_v<Value, bool>)
            {
                int32_t stored = 0;
                same = chunkParser.FindInt32 (name, &stored) && (stored != 0) == current;
            }
            else if constexpr (std::is_same_v<Value, double>)
            {
                double stored = 0.0;
                same = chunkParser.FindDouble (name, &stored) && static_cast<float> (stored) == static_cast<float> (current);
            }
            else
            {
                AAX_CString stored;
                same = chunkParser.FindString (name, &stored) && stored == current;
            }
        });

        return same;
    });

    *isEqual = allSame ? 1 : 0;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetNumberOfChanges (int32_t* out) const
{
    if (const auto changes = changeCount.load(); changes >= 0)
        *out = changes;

    return AAX_SUCCESS;
}

//==============================================================================
AAX_Result AAX_CEffectParameters::TimerWakeup()  { return AAX_SUCCESS; }
AAX_Result AAX_CEffectParameters::DoMIDITransfers()  { return AAX_SUCCESS; }
AAX_Result AAX_CEffectParameters::SetCustomData (AAX_CTypeID, uint32_t, const void*)  { return AAX_SUCCESS; }
AAX_Result AAX_CEffectParameters::UpdateMIDINodes (AAX_CFieldIndex, AAX_CMidiPacket&)  { return AAX_SUCCESS; }
AAX_Result AAX_CEffectParameters::UpdateControlMIDINodes (AAX_CTypeID, AAX_CMidiPacket&)  { return AAX_SUCCESS; }

AAX_Result AAX_CEffectParameters::GetCustomData (AAX_CTypeID, uint32_t, void*, uint32_t* outSize) const
{
    *outSize = 0;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetCurveData (AAX_CTypeID, const float*, uint32_t, float*) const
{
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::GetCurveDataMeterIds (AAX_CTypeID, uint32_t*, uint32_t*) const
{
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::GetCurveDataDisplayRange (AAX_CTypeID, float*, float*, float*, float*) const
{
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::RenderAudio_Hybrid (AAX_SHybridRenderInfo*)
{
    return AAX_ERROR_UNIMPLEMENTED;
}
