// The library's parameter: identity and names, a value in real units mapped to
// 0..1 by a taper and shown by a display delegate, and the host's automation
// round trip. While an automation delegate is attached, a change the plug-in
// asks for only goes to the host (touch, set-value request, release); the host's
// answer, UpdateNormalizedValue, stores it. Without one, changes store at once.
#pragma once

#include "AAX_CParameterValue.h"
#include "AAX_CString.h"
#include "AAX_IAutomationDelegate.h"
#include "AAX_IDisplayDelegate.h"
#include "AAX_IParameter.h"
#include "AAX_ITaperDelegate.h"

#include <cmath>
#include <cstdint>
#include <iterator>
#include <map>
#include <memory>
#include <type_traits>

template <typename T>
class AAX_CParameter : public AAX_IParameter
{
public:
    /** Clones both delegates (the caller keeps its own), stores the default and
        takes it as the value; 128 steps until the creator sets another count. */
    AAX_CParameter (AAX_CParamID identifier, const AAX_IString& parameterName, T defaultValueToUse,
                    const AAX_ITaperDelegate<T>& taperDelegate, const AAX_IDisplayDelegate<T>& displayDelegate,
                    bool isAutomatable)
        : name (parameterName),
          automatable (isAutomatable),
          taper (taperDelegate.Clone()),
          display (displayDelegate.Clone()),
          value (identifier),
          defaultValue (defaultValueToUse)
    {
        SetToDefaultValue();
    }

    /** Unregisters from the automation delegate, if one is attached. */
    ~AAX_CParameter() override
    {
        if (automation != nullptr)
            automation->UnregisterParameter (Identifier());
    }

    AAX_CParameter (const AAX_CParameter&) = delete;
    AAX_CParameter& operator= (const AAX_CParameter&) = delete;

    //==============================================================================
    AAX_IParameterValue* CloneValue() const override  { return value.Clone(); }
    AAX_CParamID Identifier() const override  { return value.Identifier(); }
    void SetName (const AAX_CString& newName) override  { name = newName; }
    const AAX_CString& Name() const override  { return name; }

    /** Stored under its length; replaces a name of the same length. */
    void AddShortenedName (const AAX_CString& shortName) override  { shortNames[shortName.Length()] = shortName; }

    /** The longest stored name not above numCharacters; the full name when it
        fits, when there are none or for a negative count; else the shortest. */
    const AAX_CString& ShortenedName (int32_t numCharacters) const override
    {
        if (numCharacters < 0 || shortNames.empty() || static_cast<uint32_t> (numCharacters) >= name.Length())
            return name;

        auto above = shortNames.upper_bound (static_cast<uint32_t> (numCharacters));

        if (above == shortNames.begin())
            return above->second;

        return std::prev (above)->second;
    }

    void ClearShortenedNames() override  { shortNames.clear(); }

    //==============================================================================
    bool Automatable() const override  { return automatable; }

    /** Unregisters from the old delegate and registers with the new one (null detaches). */
    void SetAutomationDelegate (AAX_IAutomationDelegate* delegate) override
    {
        if (automation != nullptr)
            automation->UnregisterParameter (Identifier());

        automation = delegate;

        if (automation != nullptr)
            automation->RegisterParameter (Identifier());
    }

    void Touch() override
    {
        if (automation != nullptr)
            automation->PostTouchRequest (Identifier());
    }

    void Release() override
    {
        if (automation != nullptr)
            automation->PostReleaseRequest (Identifier());
    }

    //==============================================================================
    /** Asks for x as the taper clamps and quantises it; a NaN is no value and asks for nothing. */
    void SetNormalizedValue (double normalized) override
    {
        if (std::isnan (normalized))
            return;

        requestValue (taper->RealToNormalized (taper->NormalizedToReal (normalized)));
    }

    double GetNormalizedValue() const override  { return taper->RealToNormalized (value.Get()); }

    /** Changes the default only: the value stays and the host hears nothing. */
    void SetNormalizedDefaultValue (double normalized) override
    {
        defaultValue = taper->ConstrainRealValue (taper->NormalizedToReal (normalized));
    }

    double GetNormalizedDefaultValue() const override  { return taper->RealToNormalized (defaultValue); }
    void SetToDefaultValue() override  { requestValue (taper->RealToNormalized (defaultValue)); }

    /** Asks for a real value. */
    void SetValue (T newValue)  { requestValue (taper->RealToNormalized (newValue)); }

    //==============================================================================
    /** 0 keeps the old count. */
    void SetNumberOfSteps (uint32_t steps) override
    {
        if (steps > 0)
            stepCount = steps;
    }

    uint32_t GetNumberOfSteps() const override  { return stepCount; }
    uint32_t GetStepValue() const override  { return GetStepValueFromNormalizedValue (GetNormalizedValue()); }

    double GetNormalizedValueFromStep (uint32_t step) const override
    {
        const auto steps = GetNumberOfSteps();

        if (steps < 2)
            return 0.0;

        const auto normalized = static_cast<double> (step) * (1.0 / (static_cast<double> (steps) - 1.0));

        if (normalized < 0.0)
            return 0.0;

        return normalized > 1.0 ? 1.0 : normalized;
    }

    uint32_t GetStepValueFromNormalizedValue (double normalized) const override
    {
        const auto steps = GetNumberOfSteps();

        if (steps < 2)
            return 0;

        const auto lastStep = static_cast<double> (steps) - 1.0;
        auto step = normalized / (1.0 / lastStep) + 0.5;

        // A NaN fails both tests; it takes the first step rather than an undefined conversion.
        if (! (step >= 0.0))
            step = 0.0;
        else if (step > lastStep)
            step = lastStep;

        return static_cast<uint32_t> (step);
    }

    void SetStepValue (uint32_t step) override
    {
        if (GetNumberOfSteps() >= 2)
            SetNormalizedValue (GetNormalizedValueFromStep (step));
    }

    //==============================================================================
    bool GetValueString (AAX_CString* target) const override  { return display->ValueToString (value.Get(), target); }

    /** The text of the current value is always given in full: the limit is not applied. */
    bool GetValueString (int32_t, AAX_CString* target) const override  { return GetValueString (target); }

    bool GetStringFromNormalizedValue (double normalized, AAX_CString& target) const override
    {
        const auto real = taper->NormalizedToReal (normalized);
        return display->ValueToString (real, &target) && isInRange (real);
    }

    bool GetStringFromNormalizedValue (double normalized, int32_t maxNumChars, AAX_CString& target) const override
    {
        const auto real = taper->NormalizedToReal (normalized);
        return display->ValueToString (real, maxNumChars, &target) && isInRange (real);
    }

    /** Writes out for every text that parses; false also when it lies outside the taper's range. */
    bool GetNormalizedValueFromString (const AAX_CString& text, double* out) const override
    {
        T real {};

        if (! display->StringToValue (text, &real))
            return false;

        *out = taper->RealToNormalized (real);
        return isInRange (real);
    }

    /** Asks for the parsed value, clamped by the taper. */
    bool SetValueFromString (const AAX_CString& text) override
    {
        T real {};

        if (! display->StringToValue (text, &real))
            return false;

        requestValue (taper->RealToNormalized (real));
        return true;
    }

    bool SetValueWithString (const AAX_IString& text) override  { return SetValueFromString (AAX_CString (text)); }

    bool GetValueAsString (AAX_IString* out) const override
    {
        if (out == nullptr)
            return false;

        AAX_CString text;

        if (! GetValueString (&text))
            return false;

        *out = text;
        return true;
    }

    //==============================================================================
    bool GetNormalizedValueFromBool (bool real, double* out) const override  { return normalizedFrom (real, out); }
    bool GetNormalizedValueFromInt32 (int32_t, double*) const override  { return false; }
    bool GetNormalizedValueFromFloat (float real, double* out) const override  { return normalizedFrom (real, out); }
    bool GetNormalizedValueFromDouble (double, double*) const override  { return false; }
    bool GetBoolFromNormalizedValue (double normalized, bool* out) const override  { return realFrom (normalized, out); }
    bool GetInt32FromNormalizedValue (double, int32_t*) const override  { return false; }
    bool GetFloatFromNormalizedValue (double normalized, float* out) const override  { return realFrom (normalized, out); }
    bool GetDoubleFromNormalizedValue (double, double*) const override  { return false; }
    bool GetValueAsBool (bool* out) const override  { return value.GetValueAsBool (out); }
    bool GetValueAsInt32 (int32_t* out) const override  { return value.GetValueAsInt32 (out); }
    bool GetValueAsFloat (float* out) const override  { return value.GetValueAsFloat (out); }
    bool GetValueAsDouble (double* out) const override  { return value.GetValueAsDouble (out); }
    bool SetValueWithBool (bool real) override  { return setWith (real); }
    bool SetValueWithInt32 (int32_t) override  { return false; }
    bool SetValueWithFloat (float real) override  { return setWith (real); }
    bool SetValueWithDouble (double) override  { return false; }

    //==============================================================================
    void SetType (AAX_EParameterType newType) override  { type = newType; }
    AAX_EParameterType GetType() const override  { return type; }
    void SetOrientation (AAX_EParameterOrientation newOrientation) override  { orientation = newOrientation; }
    AAX_EParameterOrientation GetOrientation() const override  { return orientation; }

    /** preserveValue keeps the real value (asking the host for its new position);
        otherwise the position stays and the real value follows, stored at once. */
    void SetTaperDelegate (AAX_ITaperDelegateBase& newTaper, bool preserveValue) override
    {
        const auto normalized = GetNormalizedValue();
        taper.reset (static_cast<AAX_ITaperDelegate<T>&> (newTaper).Clone());
        forceUpdate = true;

        if (preserveValue)
            requestValue (taper->RealToNormalized (value.Get()));
        else
            UpdateNormalizedValue (normalized);
    }

    /** The host is told the value again, so that it fetches the new text. */
    void SetDisplayDelegate (AAX_IDisplayDelegateBase& newDisplay) override
    {
        display.reset (static_cast<AAX_IDisplayDelegate<T>&> (newDisplay).Clone());

        if (automation != nullptr)
            automation->PostCurrentValue (Identifier(), GetNormalizedValue());
    }

    /** Stores x and reports it to the host, unless it is the value already held
        and no change since the last update forces it. A NaN is no value: the
        parameter keeps the one it has. */
    void UpdateNormalizedValue (double normalized) override
    {
        if (std::isnan (normalized))
            return;

        const auto real = taper->NormalizedToReal (normalized);

        if (! forceUpdate && real == value.Get())
            return;

        value.Set (real);

        if (automation != nullptr)
            automation->PostCurrentValue (Identifier(), normalized);

        forceUpdate = false;
    }

private:
    void requestValue (double normalized)
    {
        if (automation != nullptr)
        {
            Touch();
            automation->PostSetValueRequest (Identifier(), normalized);
            Release();
            return;
        }

        forceUpdate = true;
        UpdateNormalizedValue (normalized);
    }

    bool isInRange (T real) const
    {
        return ! (real > taper->GetMaximumValue() || real < taper->GetMinimumValue());
    }

    template <typename U>
    bool normalizedFrom (U real, double* out) const
    {
        if constexpr (std::is_same_v<U, T>)
        {
            *out = taper->RealToNormalized (real);
            return true;
        }
        else
        {
            return false;
        }
    }

    template <typename U>
    bool realFrom (double normalized, U* out) const
    {
        if constexpr (std::is_same_v<U, T>)
        {
            *out = taper->NormalizedToReal (normalized);
            return true;
        }
        else
        {
            return false;
        }
    }

    template <typename U>
    bool setWith (U real)
    {
        if constexpr (std::is_same_v<U, T>)
        {
            SetValue (real);
            return true;
        }
        else
        {
            return false;
        }
    }

    AAX_CString name;
    std::map<uint32_t, AAX_CString> shortNames;
    bool automatable;
    uint32_t stepCount = 128;
    AAX_EParameterType type = AAX_eParameterType_Continuous;
    AAX_EParameterOrientation orientation = 0;
    std::unique_ptr<AAX_ITaperDelegate<T>> taper;
    std::unique_ptr<AAX_IDisplayDelegate<T>> display;
    AAX_IAutomationDelegate* automation = nullptr;
    bool forceUpdate = true;
    AAX_CParameterValue<T> value;
    T defaultValue;
};
