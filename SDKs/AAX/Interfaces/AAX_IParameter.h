// A parameter of the effect: identity, names, normalised and real values,
// steps, texts and the host's automation round trip.
#pragma once

#include "AAX.h"

class AAX_CString;
class AAX_IString;
class AAX_IAutomationDelegate;
class AAX_ITaperDelegateBase;
class AAX_IDisplayDelegateBase;

/** A snapshot of one parameter's identifier and value. */
class AAX_IParameterValue
{
public:
    virtual ~AAX_IParameterValue() = default;

    /** A new copy, owned by the caller. */
    virtual AAX_IParameterValue* Clone() const = 0;
    virtual AAX_CParamID Identifier() const = 0;
    // Each getter writes and answers true only for the value's own type.
    virtual bool GetValueAsBool (bool* out) const = 0;
    virtual bool GetValueAsInt32 (int32_t* out) const = 0;
    virtual bool GetValueAsFloat (float* out) const = 0;
    virtual bool GetValueAsDouble (double* out) const = 0;
    virtual bool GetValueAsString (AAX_IString* out) const = 0;
};

class AAX_IParameter
{
public:
    virtual ~AAX_IParameter() = default;

    // Identity and names
    /** A new value snapshot, owned by the caller. */
    virtual AAX_IParameterValue* CloneValue() const = 0;
    virtual AAX_CParamID Identifier() const = 0;
    virtual void SetName (const AAX_CString& name) = 0;
    virtual const AAX_CString& Name() const = 0;
    virtual void AddShortenedName (const AAX_CString& name) = 0;
    virtual const AAX_CString& ShortenedName (int32_t numCharacters) const = 0;
    virtual void ClearShortenedNames() = 0;

    // Automation
    virtual bool Automatable() const = 0;
    virtual void SetAutomationDelegate (AAX_IAutomationDelegate* delegate) = 0;
    virtual void Touch() = 0;
    virtual void Release() = 0;

    // Values
    virtual void SetNormalizedValue (double normalized) = 0;
    virtual double GetNormalizedValue() const = 0;
    virtual void SetNormalizedDefaultValue (double normalized) = 0;
    virtual double GetNormalizedDefaultValue() const = 0;
    virtual void SetToDefaultValue() = 0;

    // Steps
    virtual void SetNumberOfSteps (uint32_t steps) = 0;
    virtual uint32_t GetNumberOfSteps() const = 0;
    virtual uint32_t GetStepValue() const = 0;
    virtual double GetNormalizedValueFromStep (uint32_t step) const = 0;
    virtual uint32_t GetStepValueFromNormalizedValue (double normalized) const = 0;
    virtual void SetStepValue (uint32_t step) = 0;

    // Texts and typed conversions
    virtual bool GetValueString (AAX_CString* target) const = 0;
    virtual bool GetValueString (int32_t maxNumChars, AAX_CString* target) const = 0;
    virtual bool GetNormalizedValueFromBool (bool value, double* out) const = 0;
    virtual bool GetNormalizedValueFromInt32 (int32_t value, double* out) const = 0;
    virtual bool GetNormalizedValueFromFloat (float value, double* out) const = 0;
    virtual bool GetNormalizedValueFromDouble (double value, double* out) const = 0;
    virtual bool GetNormalizedValueFromString (const AAX_CString& text, double* out) const = 0;
    virtual bool GetBoolFromNormalizedValue (double normalized, bool* out) const = 0;
    virtual bool GetInt32FromNormalizedValue (double normalized, int32_t* out) const = 0;
    virtual bool GetFloatFromNormalizedValue (double normalized, float* out) const = 0;
    virtual bool GetDoubleFromNormalizedValue (double normalized, double* out) const = 0;
    virtual bool GetStringFromNormalizedValue (double normalized, AAX_CString& target) const = 0;
    virtual bool GetStringFromNormalizedValue (double normalized, int32_t maxNumChars, AAX_CString& target) const = 0;
    virtual bool SetValueFromString (const AAX_CString& text) = 0;
    virtual bool GetValueAsBool (bool* out) const = 0;
    virtual bool GetValueAsInt32 (int32_t* out) const = 0;
    virtual bool GetValueAsFloat (float* out) const = 0;
    virtual bool GetValueAsDouble (double* out) const = 0;
    virtual bool GetValueAsString (AAX_IString* out) const = 0;
    virtual bool SetValueWithBool (bool value) = 0;
    virtual bool SetValueWithInt32 (int32_t value) = 0;
    virtual bool SetValueWithFloat (float value) = 0;
    virtual bool SetValueWithDouble (double value) = 0;
    virtual bool SetValueWithString (const AAX_IString& text) = 0;

    // Kind and delegates
    virtual void SetType (AAX_EParameterType type) = 0;
    virtual AAX_EParameterType GetType() const = 0;
    virtual void SetOrientation (AAX_EParameterOrientation orientation) = 0;
    virtual AAX_EParameterOrientation GetOrientation() const = 0;
    virtual void SetTaperDelegate (AAX_ITaperDelegateBase& taper, bool preserveValue) = 0;
    virtual void SetDisplayDelegate (AAX_IDisplayDelegateBase& display) = 0;

    /** The host's confirmation of a value: stores and reports it. */
    virtual void UpdateNormalizedValue (double normalized) = 0;
};
