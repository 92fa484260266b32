#pragma once

#if defined (__SSE2__)
 #include <emmintrin.h>
#else
 #include <algorithm>
 #include <cmath>
#endif

/** A left and a right sample (or state) held as one value, so that a
    two-channel block runs both channels through one SSE2 instruction per
    operation. Every operation rounds each lane exactly as the same scalar
    operation would, so a pair gives bit for bit what two single-channel passes
    give. Targets without SSE2 get a plain two-double version.
*/
class DoublePair final
{
public:
    /** Both lanes 0. */
    DoublePair() noexcept : DoublePair (0.0) {}

    /** Both lanes set to the same value. */
    explicit DoublePair (double both) noexcept : DoublePair (both, both) {}

    DoublePair (double left, double right) noexcept : lanes (make (left, right)) {}

    /** Reads a left value and the right value stored just after it. */
    static DoublePair load (const double* leftThenRight) noexcept   { return DoublePair (loadLanes (leftThenRight)); }

    /** Writes the left value and, just after it, the right value. */
    void store (double* leftThenRight) const noexcept               { storeLanes (leftThenRight, lanes); }

    double left() const noexcept                                    { return leftOf (lanes); }
    double right() const noexcept                                   { return rightOf (lanes); }

    /** The same two values with left and right exchanged. */
    DoublePair swapped() const noexcept                             { return DoublePair (exchange (lanes)); }

    friend DoublePair operator+ (DoublePair a, DoublePair b) noexcept { return DoublePair (add (a.lanes, b.lanes)); }
    friend DoublePair operator- (DoublePair a, DoublePair b) noexcept { return DoublePair (subtract (a.lanes, b.lanes)); }
    friend DoublePair operator* (DoublePair a, DoublePair b) noexcept { return DoublePair (multiply (a.lanes, b.lanes)); }
    friend DoublePair operator/ (DoublePair a, DoublePair b) noexcept { return DoublePair (divide (a.lanes, b.lanes)); }
    friend DoublePair operator- (DoublePair a) noexcept               { return DoublePair (negate (a.lanes)); }

    DoublePair& operator+= (DoublePair other) noexcept               { return *this = *this + other; }
    DoublePair& operator-= (DoublePair other) noexcept               { return *this = *this - other; }
    DoublePair& operator*= (DoublePair other) noexcept               { return *this = *this * other; }
    DoublePair& operator/= (DoublePair other) noexcept               { return *this = *this / other; }

    /** Per lane, the magnitude (std::abs). */
    friend DoublePair abs (DoublePair a) noexcept                     { return DoublePair (magnitude (a.lanes)); }

    /** Per lane, b where a < b, else a (std::max (a, b), which keeps a not-a-number a). */
    friend DoublePair max (DoublePair a, DoublePair b) noexcept       { return DoublePair (larger (a.lanes, b.lanes)); }

    /** Per lane, replacement where x >= limit, else otherwise. */
    friend DoublePair whereAtLeast (DoublePair x, double limit, double replacement, DoublePair otherwise) noexcept
    {
        return DoublePair (select (atLeast (x.lanes, make (limit, limit)), make (replacement, replacement),
                                   otherwise.lanes));
    }

    /** Per lane, replacement where x <= limit, else otherwise. */
    friend DoublePair whereAtMost (DoublePair x, double limit, double replacement, DoublePair otherwise) noexcept
    {
        return DoublePair (select (atLeast (make (limit, limit), x.lanes), make (replacement, replacement),
                                   otherwise.lanes));
    }

private:
   #if defined (__SSE2__)
    using Lanes = __m128d;

    static Lanes make (double l, double r) noexcept                  { return _mm_set_pd (r, l); }
    static Lanes loadLanes (const double* p) noexcept                { return _mm_loadu_pd (p); }
    static void storeLanes (double* p, Lanes a) noexcept             { _mm_storeu_pd (p, a); }
    static double leftOf (Lanes a) noexcept                          { return _mm_cvtsd_f64 (a); }
    static double rightOf (Lanes a) noexcept                         { return _mm_cvtsd_f64 (_mm_unpackhi_pd (a, a)); }
    static Lanes exchange (Lanes a) noexcept                         { return _mm_shuffle_pd (a, a, 1); }
    static Lanes add (Lanes a, Lanes b) noexcept                     { return _mm_add_pd (a, b); }
    static Lanes subtract (Lanes a, Lanes b) noexcept                { return _mm_sub_pd (a, b); }
    static Lanes multiply (Lanes a, Lanes b) noexcept                { return _mm_mul_pd (a, b); }
    static Lanes divide (Lanes a, Lanes b) noexcept                  { return _mm_div_pd (a, b); }
    static Lanes negate (Lanes a) noexcept                           { return _mm_xor_pd (a, _mm_set1_pd (-0.0)); }
    static Lanes magnitude (Lanes a) noexcept                        { return _mm_andnot_pd (_mm_set1_pd (-0.0), a); }
    static Lanes larger (Lanes a, Lanes b) noexcept                  { return _mm_max_pd (b, a); } // b > a ? b : a
    static Lanes atLeast (Lanes a, Lanes b) noexcept                 { return _mm_cmpge_pd (a, b); }
    static Lanes select (Lanes mask, Lanes a, Lanes b) noexcept      { return _mm_or_pd (_mm_and_pd (mask, a),
                                                                                         _mm_andnot_pd (mask, b)); }
   #else
    struct Lanes { double l, r; };

    static Lanes make (double l, double r) noexcept                  { return { l, r }; }
    static Lanes loadLanes (const double* p) noexcept                { return { p[0], p[1] }; }
    static void storeLanes (double* p, Lanes a) noexcept             { p[0] = a.l; p[1] = a.r; }
    static double leftOf (Lanes a) noexcept                          { return a.l; }
    static double rightOf (Lanes a) noexcept                         { return a.r; }
    static Lanes exchange (Lanes a) noexcept                         { return { a.r, a.l }; }
    static Lanes add (Lanes a, Lanes b) noexcept                     { return { a.l + b.l, a.r + b.r }; }
    static Lanes subtract (Lanes a, Lanes b) noexcept                { return { a.l - b.l, a.r - b.r }; }
    static Lanes multiply (Lanes a, Lanes b) noexcept                { return { a.l * b.l, a.r * b.r }; }
    static Lanes divide (Lanes a, Lanes b) noexcept                  { return { a.l / b.l, a.r / b.r }; }
    static Lanes negate (Lanes a) noexcept                           { return { -a.l, -a.r }; }
    static Lanes magnitude (Lanes a) noexcept                        { return { std::abs (a.l), std::abs (a.r) }; }
    static Lanes larger (Lanes a, Lanes b) noexcept                  { return { std::max (a.l, b.l), std::max (a.r, b.r) }; }
    static Lanes atLeast (Lanes a, Lanes b) noexcept                 { return { a.l >= b.l ? 1.0 : 0.0, a.r >= b.r ? 1.0 : 0.0 }; }
    static Lanes select (Lanes mask, Lanes a, Lanes b) noexcept      { return { mask.l != 0.0 ? a.l : b.l,
                                                                                  mask.r != 0.0 ? a.r : b.r }; }
   #endif

    explicit DoublePair (Lanes value) noexcept : lanes (value) {}

    Lanes lanes;
};

/** Reads a value kept per channel, left then right: the left one for a
    single-channel Sample (double), both for a DoublePair. Lets one template
    serve a block's one- and two-channel processing. */
template <typename Sample>
Sample loadChannels (const double* leftThenRight) noexcept;

template <>
inline double loadChannels<double> (const double* leftThenRight) noexcept       { return leftThenRight[0]; }

template <>
inline DoublePair loadChannels<DoublePair> (const double* leftThenRight) noexcept { return DoublePair::load (leftThenRight); }

/** Writes a value kept per channel: the left one only for a double, both for a DoublePair. */
inline void storeChannels (double* leftThenRight, double value) noexcept         { leftThenRight[0] = value; }
inline void storeChannels (double* leftThenRight, DoublePair value) noexcept     { value.store (leftThenRight); }

/** Runs an operation on a pair made of two separate samples and writes the
    lanes back: the blocks' two-sample interface on top of their pair processing. */
template <typename PairOperation>
void processAsPair (double& left, double& right, PairOperation&& operation) noexcept
{
    DoublePair pair (left, right);
    operation (pair);
    left = pair.left();
    right = pair.right();
}
