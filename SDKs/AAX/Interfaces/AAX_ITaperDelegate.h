// Maps a parameter's real value to the normalised range 0..1 and back.
#pragma once

/** The untyped root of all taper delegates. */
class AAX_ITaperDelegateBase
{
public:
    virtual ~AAX_ITaperDelegateBase() = default;
};

template <typename T>
class AAX_ITaperDelegate : public AAX_ITaperDelegateBase
{
public:
    ~AAX_ITaperDelegate() override = default;

    /** A new copy, owned by the caller. */
    virtual AAX_ITaperDelegate* Clone() const = 0;
    virtual T GetMaximumValue() const = 0;
    virtual T GetMinimumValue() const = 0;
    /** The value limited to the taper's range. */
    virtual T ConstrainRealValue (T value) const = 0;
    virtual T NormalizedToReal (double normalized) const = 0;
    virtual double RealToNormalized (T value) const = 0;
};
