// Prints the digital coefficients and stereo responses of every bilinear-transform
// prototype and of OnePole, one JSON object a line, for scipy_reference.py to check.
// Left input: a unit impulse at sample 0; right input: an impulse of -0.75 at sample 3.

#include "CE2AntiAliasingFilter.h"
#include "CE2DeEmphasisFilter.h"
#include "CE2PreEmphasisFilter.h"
#include "CE2ReconstructionFilter.h"
#include "DimensionCAntiAliasing.h"
#include "DimensionCReconstructionFilter.h"
#include "DimensionCrossFilter.h"
#include "DimensionDeEmphasisFilter.h"
#include "DimensionPreEmphasisFilter.h"
#include "OnePole.h"
#include "TriAntiAliasingFilter.h"
#include "TriReconstructionFilter.h"

#include <cstdio>
#include <vector>

namespace
{
constexpr int numSamples = 4096;
constexpr float sampleRates[] = { 22050.0f, 44100.0f, 48000.0f, 96000.0f, 192000.0f };

struct StereoResponse
{
    std::vector<double> left, right;
};

template <typename Process>
StereoResponse respond (Process&& process)
{
    StereoResponse response;

    for (int n = 0; n < numSamples; ++n)
    {
        double l = n == 0 ? 1.0 : 0.0, r = n == 3 ? -0.75 : 0.0;
        process (l, r);
        response.left.push_back (l);
        response.right.push_back (r);
    }

    return response;
}

template <typename Values>
void printArray (const char* key, const Values& values, const char* after = ", ")
{
    std::printf ("\"%s\": [", key);
    const char* separator = "";

    for (double v : values)
    {
        std::printf ("%s%.17g", separator, v);
        separator = ", ";
    }

    std::printf ("]%s", after);
}

void printResponse (const StereoResponse& response)
{
    printArray ("left", response.left);
    printArray ("right", response.right, "");
}

template <typename Filter>
void dumpPrototype (const char* name)
{
    for (float fs : sampleRates)
    {
        Filter filter;
        filter.setSampleRate (fs);
        filter.calc();

        std::vector<double> a, b;

        for (int k = 0; k <= Filter::order; ++k)
        {
            a.push_back (filter.getA (k));
            b.push_back (filter.getB (k));
        }

        std::printf ("{\"name\": \"%s\", \"fs\": %.17g, ", name, static_cast<double> (fs));
        printArray ("den", Filter::denominator);
        printArray ("num", Filter::numerator);
        printArray ("a", a);
        printArray ("b", b);
        printResponse (respond ([&filter] (double& l, double& r) { filter.process (l, r); }));
        std::printf ("}\n");
    }
}

void dumpOnePole (float fs, float cutoff, bool highPass)
{
    OnePole filter;
    filter.setSampleRate (fs);
    filter.reset();
    filter.setFrequency (cutoff);

    std::printf ("{\"name\": \"OnePole\", \"fs\": %.17g, \"cutoff\": %.17g, \"highpass\": %s, ",
                 static_cast<double> (fs), static_cast<double> (cutoff), highPass ? "true" : "false");
    printResponse (respond ([&filter, highPass] (double& l, double& r)
                            {
                                if (highPass)
                                    filter.processHP (l, r);
                                else
                                    filter.process (l, r);
                            }));
    std::printf ("}\n");
}
} // namespace

int main()
{
    dumpPrototype<CE2PreEmphasisFilter> ("CE2PreEmphasisFilter");
    dumpPrototype<CE2DeEmphasisFilter> ("CE2DeEmphasisFilter");
    dumpPrototype<CE2AntiAliasingFilter> ("CE2AntiAliasingFilter");
    dumpPrototype<CE2ReconstructionFilter> ("CE2ReconstructionFilter");
    dumpPrototype<DimensionPreEmphasisFilter> ("DimensionPreEmphasisFilter");
    dumpPrototype<DimensionDeEmphasisFilter> ("DimensionDeEmphasisFilter");
    dumpPrototype<DimensionCrossFilter> ("DimensionCrossFilter");
    dumpPrototype<DimensionCAntiAliasing> ("DimensionCAntiAliasing");
    dumpPrototype<DimensionCReconstructionFilter> ("DimensionCReconstructionFilter");
    dumpPrototype<TriAntiAliasingFilter> ("TriAntiAliasingFilter");
    dumpPrototype<TriReconstructionFilter> ("TriReconstructionFilter");

    struct OnePoleCase { float fs, cutoff; };
    for (const auto& c : { OnePoleCase { 44100.0f, 10.0f }, OnePoleCase { 48000.0f, 1000.0f },
                           OnePoleCase { 96000.0f, 50.0f }, OnePoleCase { 22050.0f, 5000.0f } })
        for (bool highPass : { false, true })
            dumpOnePole (c.fs, c.cutoff, highPass);

    return 0;
}
