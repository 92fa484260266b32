#include "ChorusModelTestSupport.h"
#include "OutputFingerprint.h"
#include "ScopedFlushDenormals.h"
#include "TestBits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

// Each model's chains rebuilt here from separate blocks, one block call per
// step, with the blocks' plain one- and two-sample operations, and compared
// with the model bit for bit over a programme that glides its parameters and
// moves between the mono chain and both stereo chains.

namespace
{
    struct ChainSettings
    {
        float rate, depth, mix, level;
    };

    float freeRateHz (float rate) { return std::max ((std::pow (81.0f, rate) - 1.0f) * 0.0125f * 20.0f, 0.01f); }
    float sweepWidthMs (float depth) { return depth * 9.99f + 0.01f; }

    /** The blocks every chain has, and the preparation and glides that drive them. */
    template <typename Lfo, size_t numLines, size_t numExpanders, size_t numWetGains>
    struct ReferenceChain
    {
        explicit ReferenceChain (std::vector<DspBase*> modelFilters) : filters (std::move (modelFilters)) {}

        template <typename Operation>
        void forEachBlock (Operation&& operation)
        {
            operation (lfo);
            operation (compressor);
            operation (inputHighPass);
            operation (outputHighPass);
            operation (smoother);
            operation (dry);
            operation (level);

            for (auto& line : lines)     operation (line);
            for (auto& e : expanders)    operation (e);
            for (auto& gain : wet)       operation (gain);
            for (auto* filter : filters) operation (*filter);
        }

        void prepare (float fs, const ChainSettings& s)
        {
            forEachBlock ([fs] (auto& block) { block.setSampleRate (fs); });
            forEachBlock ([] (auto& block) { block.resetBuffer(); block.resetCoeffs(); });

            smoother.setFrequency (50.0f);
            compressor.setCap (4.7e-7f);

            for (auto& e : expanders)
                e.setCap (4.7e-7f);

            inputHighPass.setFrequency (10.0f);
            outputHighPass.setFrequency (10.0f);

            for (auto& line : lines)
            {
                line.setDelay (7.0f);
                line.setSweepWidth (sweepWidthMs (s.depth));
            }

            setGains (s);
            lfo.setFrequency (freeRateHz (s.rate));
            forEachBlock ([] (auto& block) { block.calc(); });
            lfo.forceCalcParams();

            for (auto& line : lines)
                line.forceCalcParams();
        }

        /** What calcParameter does for a new rate, depth, mix and level. */
        void glideTo (const ChainSettings& s)
        {
            lfo.setFrequency (freeRateHz (s.rate));
            lfo.calc();

            for (auto& line : lines)
            {
                line.setSweepWidth (sweepWidthMs (s.depth));
                line.calcSweepWidth();
            }

            setGains (s);

            for (auto& gain : wet)
                gain.calc();

            dry.calc();
            level.calc();
        }

        void setGains (const ChainSettings& s)
        {
            for (auto& gain : wet)
                gain.setValue (s.mix);

            dry.setValue (1.0f - s.mix);
            level.setValue (2.0f * s.level);
        }

        Lfo lfo;
        std::array<ModulatingDelayLine, numLines> lines;
        Compressor compressor;
        std::array<Expander, numExpanders> expanders;
        OnePole inputHighPass, outputHighPass, smoother;
        std::array<SmoothVolume, numWetGains> wet;
        SmoothVolume dry, level;
        BBDNonLinearBiased softClip;
        std::vector<DspBase*> filters;
    };

    struct CE2Reference : ReferenceChain<WavetableTriangleOsc, 2, 1, 1>
    {
        CE2Reference() : ReferenceChain ({ &pre, &antiAliasing, &reconstruction, &de }) {}

        float mono (float x)
        {
            auto d = static_cast<double> (x);
            inputHighPass.processHP (d);
            pre.process (d);
            double w = d;
            compressor.process (w);
            antiAliasing.process (w);
            float m;
            lfo.getOscSignal (m);
            smoother.process (m);
            lines[0].process (w, m);
            softClip.process (w);
            reconstruction.process (w);
            expanders[0].process (w);
            wet[0].process (w);
            dry.process (d);
            double y = w * 1.3 + d;
            de.process (y);
            outputHighPass.processHP (y);
            level.process (y);
            return static_cast<float> (y);
        }

        void stereo (float& left, float& right, bool stereoOn)
        {
            auto dL = static_cast<double> (left), dR = static_cast<double> (right);
            inputHighPass.processHP (dL, dR);
            pre.process (dL, dR);
            double wL = dL, wR = dR;
            compressor.process (wL, wR);
            antiAliasing.process (wL, wR);

            if (stereoOn)
            {
                float mA, mB;
                lfo.getOscSignal (mA, mB);
                smoother.process (mA, mB);
                lines[0].process (wL, mA);
                lines[1].process (wR, mB);
            }
            else
            {
                float m;
                lfo.getOscSignal (m);
                smoother.process (m);
                lines[0].process (wL, m);
                lines[1].process (wR, m);
            }

            softClip.process (wL, wR);
            reconstruction.process (wL, wR);
            expanders[0].process (wL, wR);
            wet[0].process (wL, wR);
            dry.process (dL, dR);
            double yL = wL * 1.3 + dL, yR = wR * 1.3 + dR;
            de.process (yL, yR);
            outputHighPass.processHP (yL, yR);
            level.process (yL, yR);
            left = static_cast<float> (yL);
            right = static_cast<float> (yR);
        }

        CE2PreEmphasisFilter pre;
        CE2AntiAliasingFilter antiAliasing;
        CE2ReconstructionFilter reconstruction;
        CE2DeEmphasisFilter de;
    };

    struct DimensionCReference : ReferenceChain<WavetableTriangleOsc, 4, 2, 2>
    {
        DimensionCReference() : ReferenceChain ({ &antiAliasing, &reconstruction1, &reconstruction2, &pre, &de, &cross }) {}

        float mono (float x)
        {
            auto d = static_cast<double> (x);
            inputHighPass.processHP (d);
            pre.process (d);
            double a = d;
            compressor.process (a);
            antiAliasing.process (a);
            float mA, mB;
            lfo.getOscSignal (mA, mB);
            smoother.process (mA, mB);
            double b = a;
            lines[0].process (a, mA);
            lines[1].process (b, mB);
            softClip.process (a, b);
            reconstruction1.process (a, b);
            expanders[0].process (a, b);
            double v = -b;
            cross.process (v);
            wet[0].process (a);
            wet[1].process (v);
            dry.process (d);
            double s = d + a;
            de.process (s);
            s = v + s;
            outputHighPass.processHP (s);
            level.process (s);
            return static_cast<float> (s * 1.33);
        }

        void stereo (float& left, float& right, bool stereoOn)
        {
            auto dL = static_cast<double> (left), dR = static_cast<double> (right);
            inputHighPass.processHP (dL, dR);
            pre.process (dL, dR);
            double aL = dL, aR = dR;
            compressor.process (aL, aR);
            antiAliasing.process (aL, aR);
            double bL = aL, bR = aR;
            float mA, mB;
            lfo.getOscSignal (mA, mB);
            smoother.process (mA, mB);
            double vL, vR;

            if (stereoOn)
            {
                lines[0].process (aL, mA);
                lines[3].process (aR, mB);
                softClip.process (aL, aR);
                reconstruction1.process (aL, aR);
                expanders[0].process (aL, aR);
                vL = -aL;
                vR = -aR;
            }
            else
            {
                lines[0].process (aL, mA);
                lines[1].process (aR, mA);
                lines[2].process (bL, mB);
                lines[3].process (bR, mB);
                softClip.process (aL, aR);
                reconstruction1.process (aL, aR);
                expanders[0].process (aL, aR);
                softClip.process (bL, bR);
                reconstruction2.process (bL, bR);
                expanders[1].process (bL, bR);
                vL = -bL;
                vR = -bR;
            }

            cross.process (vL, vR);
            wet[0].process (aL, aR);
            wet[1].process (vL, vR);
            dry.process (dL, dR);
            double sL = dL + aL, sR = dR + aR;
            de.process (sL, sR);
            sL = vR + sL;
            sR = vL + sR;
            outputHighPass.processHP (sL, sR);
            level.process (sL, sR);
            left = static_cast<float> (sL * 1.33);
            right = static_cast<float> (sR * 1.33);
        }

        DimensionCAntiAliasing antiAliasing;
        DimensionCReconstructionFilter reconstruction1, reconstruction2;
        DimensionPreEmphasisFilter pre;
        DimensionDeEmphasisFilter de;
        DimensionCrossFilter cross;
    };

    struct TriReference : ReferenceChain<WavetableTriChorusOsc, 6, 3, 1>
    {
        TriReference() : ReferenceChain ({ &antiAliasing, &reconstruction1, &reconstruction2, &reconstruction3 }) {}

        float mono (float x)
        {
            const auto d0 = static_cast<double> (x);
            double d = d0, w = d0;
            inputHighPass.processHP (w);
            compressor.process (w);
            antiAliasing.process (w);
            double w2 = w, w3 = w;
            float m1, m2, m3;
            lfo.getOscSignal (m1, m2, m3);
            lines[0].process (w, m1);
            lines[1].process (w2, m2);
            lines[2].process (w3, m3);
            softClip.process (w, w3);
            softClip.process (w2);
            reconstruction1.process (w);
            expanders[0].process (w);
            reconstruction2.process (w2);
            expanders[1].process (w2);
            reconstruction3.process (w3);
            expanders[2].process (w3);
            double s = (w + w2) + w3;
            outputHighPass.processHP (s);
            wet[0].process (s);
            dry.process (d);
            s = s * 0.667 + d;
            level.process (s);
            return static_cast<float> (s);
        }

        void stereo (float& left, float& right, bool stereoOn)
        {
            auto dL = static_cast<double> (left), dR = static_cast<double> (right);
            double wL = dL, wR = dR;
            inputHighPass.processHP (wL, wR);
            compressor.process (wL, wR);
            antiAliasing.process (wL, wR);
            float m1, m2, m3;
            double sL, sR;

            if (stereoOn)
            {
                double c = (wL + wR) * 0.5;
                lfo.getOscSignal (m1, m2, m3);
                lines[0].process (wL, m1);
                lines[1].process (c, m2);
                lines[2].process (wR, m3);
                softClip.process (wL, wR);
                softClip.process (c);
                reconstruction1.process (wL);
                expanders[0].process (wL);
                reconstruction2.process (c);
                expanders[1].process (c);
                reconstruction3.process (wR);
                expanders[2].process (wR);
                sL = wL + c;
                sR = c + wR;
            }
            else
            {
                double l1 = wL, l2 = wL, l3 = wL, r1 = wR, r2 = wR, r3 = wR;
                lfo.getOscSignal (m1, m2, m3);
                lines[0].process (l1, m1);
                lines[1].process (l2, m2);
                lines[2].process (l3, m3);
                lines[3].process (r1, m1);
                lines[4].process (r2, m2);
                lines[5].process (r3, m3);
                softClip.process (l1, l3);
                softClip.process (l2);
                softClip.process (r1, r3);
                softClip.process (r2);
                reconstruction1.process (l1, r1);
                expanders[0].process (l1, r1);
                reconstruction2.process (l2, r2);
                expanders[1].process (l2, r2);
                reconstruction3.process (l3, r3);
                expanders[2].process (l3, r3);
                sL = (l1 + l2) + l3;
                sR = (r1 + r2) + r3;
            }

            outputHighPass.processHP (sL, sR);
            wet[0].process (sL, sR);
            dry.process (dL, dR);
            sL = sL * 0.667 + dL;
            sR = sR * 0.667 + dR;
            level.process (sL, sR);
            left = static_cast<float> (sL);
            right = static_cast<float> (sR);
        }

        TriAntiAliasingFilter antiAliasing;
        TriReconstructionFilter reconstruction1, reconstruction2, reconstruction3;
    };

    /** Which chain a stretch of the programme runs. */
    struct Stretch
    {
        int end;
        Mode mode;
    };

    const std::vector<Stretch> programme {
        { 7200, Mode::stereoOff }, { 14400, Mode::stereoOn }, { 19200, Mode::mono },
        { 24000, Mode::stereoOff }, { 28800, Mode::stereoOn }, { 33600, Mode::mono }, { 38400, Mode::stereoOff },
    };

    constexpr int blockSize = 480;
    constexpr int glideStart = 9600;
    const ChainSettings firstSettings { 0.55f, 0.8f, 0.65f, 0.45f };
    const ChainSettings glidedSettings { 0.9f, 0.3f, 0.35f, 0.7f };

    Mode modeAt (int sample)
    {
        for (const auto& stretch : programme)
            if (sample < stretch.end)
                return stretch.mode;

        return Mode::mono;
    }

    template <typename Reference>
    void expectChainsMatch (ChorusModel& model, float sampleRate)
    {
        Reference reference;
        reference.prepare (sampleRate, firstSettings);
        prepareModel (model, sampleRate, { firstSettings.rate, 0.5f, firstSettings.depth, firstSettings.mix,
                                           firstSettings.level, 0.0f, 0.0f });

        const int total = programme.back().end;
        auto left = makeTestSignal (total, 41, sampleRate), right = makeTestSignal (total, 42, sampleRate);
        auto expectedLeft = left, expectedRight = right;

        for (int start = 0; start < total; start += blockSize)
        {
            if (start == glideStart)
            {
                const float values[] { glidedSettings.rate, glidedSettings.depth, glidedSettings.mix, glidedSettings.level };
                const int indices[] { ChorusModel::rateParameter, ChorusModel::depthParameter,
                                      ChorusModel::mixParameter, ChorusModel::levelParameter };

                for (size_t i = 0; i < 4; ++i)
                {
                    model.setParameter (indices[i], values[i]);
                    model.calcParameter (indices[i]);
                }

                reference.glideTo (glidedSettings);
            }

            const auto mode = modeAt (start);
            model.setParameter (ChorusModel::stereoOnParameter, mode == Mode::stereoOn ? 1.0f : 0.0f);
            processInMode (model, mode, left.data() + start, right.data() + start, blockSize);

            const ScopedFlushDenormals flushDenormals;

            for (int i = start; i < start + blockSize; ++i)
            {
                const auto k = static_cast<size_t> (i);

                if (mode == Mode::mono)
                    expectedLeft[k] = reference.mono (expectedLeft[k]);
                else
                    reference.stereo (expectedLeft[k], expectedRight[k], mode == Mode::stereoOn);
            }

            for (int i = start; i < start + blockSize; ++i)
            {
                const auto k = static_cast<size_t> (i);
                ASSERT_EQ (bitsOf (left[k]), bitsOf (expectedLeft[k])) << model.getName() << " at " << sampleRate << " Hz, sample " << i;

                if (mode != Mode::mono)
                {
                    ASSERT_EQ (bitsOf (right[k]), bitsOf (expectedRight[k])) << model.getName() << " at " << sampleRate << " Hz, sample " << i;
                }
            }
        }
    }
}

TEST (ChorusChainTest, EveryChainMatchesItsStepByStepBuild)
{
    for (const float sampleRate : { 44100.0f, 96000.0f })
    {
        CE2Chorus ce2;
        expectChainsMatch<CE2Reference> (ce2, sampleRate);

        DimensionCChorus dimensionC;
        expectChainsMatch<DimensionCReference> (dimensionC, sampleRate);

        TriChorus tri;
        expectChainsMatch<TriReference> (tri, sampleRate);
    }
}
