// A parameter's identifier and value, kept by the parameter and handed out as a snapshot.
#pragma once

#include "AAX_IParameter.h"

#include <atomic>
#include <cstring>
#include <type_traits>

template <typename T>
class AAX_CParameterValue : public AAX_IParameterValue
{
    static_assert (std::is_same_v<T, float> || std::is_same_v<T, bool>, "parameters hold floats or bools");

public:
    /** An identifier longer than 31 characters is cut to its first 31. */
    explicit AAX_CParameterValue (AAX_CParamID id, T initialValue = T()) noexcept
        : value (initialValue)
    {
        if (id != nullptr)
            std::strncpy (identifier, id, maxIdentifierLength);
    }

    AAX_CParameterValue (const AAX_CParameterValue& other) noexcept
        : value (other.Get())
    {
        std::memcpy (identifier, other.identifier, sizeof (identifier));
    }

    AAX_CParameterValue& operator= (const AAX_CParameterValue&) = delete;

    AAX_CParameterValue* Clone() const override  { return new AAX_CParameterValue (*this); }
    AAX_CParamID Identifier() const override  { return identifier; }

    T Get() const noexcept  { return value.load(); }
    void Set (T newValue) noexcept  { value.store (newValue); }

    bool GetValueAsBool (bool* out) const override  { return getAs (out); }
    bool GetValueAsInt32 (int32_t*) const override  { return false; }
    bool GetValueAsFloat (float* out) const override  { return getAs (out); }
    bool GetValueAsDouble (double*) const override  { return false; }
    bool GetValueAsString (AAX_IString*) const override  { return false; }

private:
    static constexpr size_t maxIdentifierLength = 31;

    template <typename Out>
    bool getAs (Out* out) const noexcept
    {
        if constexpr (std::is_same_v<Out, T>)
        {
            *out = value.load();
            return true;
        }
        else
        {
            return false;
        }
    }

    char identifier[maxIdentifierLength + 1] {};

    // The host may confirm a value on one thread while packets for the
    // processing side are generated from it on another.
    std::atomic<T> value;
};
