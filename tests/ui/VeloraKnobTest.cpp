#include "FilmStripTestBits.h"

#include "CE2Chorus.h"
#include "ModulixQR7150BinImg.h"
#include "RateSyncSteps.h"
#include "VeloraKnob.h"
#include "VeloraModDelayFreq20HzMaxLog10Knob.h"
#include "VeloraModDelaySyncKnob.h"

#include "../support/RateSyncCases.h"

#include <cmath>
#include <limits>

using namespace FilmStripTestBits;

namespace
{
    constexpr int frameWidth = 8;
    constexpr int frameHeight = 6;
    constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

    using RateSyncCases::noteTexts;

    /** A knob of that class with a synthetic strip whose height is no multiple of its frame count. */
    template <typename KnobClass>
    struct KnobRig
    {
        explicit KnobRig (int frames)
        {
            knob.setImage (makeStrip (frames, frameWidth, frameHeight, frames - 1), frames);
            knob.setBounds (0, 0, frameWidth * 2, frameHeight * 2); // drawn scaled into the whole knob
        }

        int getShownFrame()     { return FilmStripTestBits::getShownFrame (knob, knob.getLocalBounds().reduced (2)); }

        KnobClass knob { "knob_" };
    };

    /** A knob's value text as a standard string, which the test framework prints. */
    std::string getText (juce::Slider& knob, double value)    { return knob.getTextFromValue (value).toStdString(); }

    /** The single-precision bound at which the engine's step k ends, a hair above k/18. */
    float getStepBound (int k)      { return static_cast<float> (k) / 18.0f + RateSyncSteps::nominalTolerance; }
}

class KnobTest : public UiTest {};

TEST_F (KnobTest, ValueChoosesFrameRoundingUp)
{
    KnobRig<VeloraKnob> rig (101);
    EXPECT_EQ (rig.knob.getSliderStyle(), juce::Slider::RotaryVerticalDrag);
    EXPECT_EQ (rig.knob.getTextBoxPosition(), juce::Slider::NoTextBox);
    EXPECT_EQ (rig.knob.getInterval(), 0.0);

    const struct { double value; int frame; } cases[] = {
        { 0.0, 0 }, { 0.001, 1 }, { (double) 0.2f, 20 }, { 0.5, 50 }, { 0.5001, 51 }, { 0.999, 100 }, { 1.0, 100 },
        { -1.0, 0 }, { 3.0, 100 }, { notANumber, 0 },
    };

    for (const auto& c : cases)
    {
        rig.knob.setValue (c.value, juce::dontSendNotification);
        EXPECT_EQ (rig.getShownFrame(), c.frame) << c.value;
    }
}

TEST_F (KnobTest, NotANumberFromOutsideLeavesTheKnobAtItsMinimum)
{
    VeloraKnob knob ("depthKnob_");
    knob.setValue (0.7, juce::dontSendNotification);
    knob.setValue (notANumber, juce::dontSendNotification);
    EXPECT_EQ (knob.getValue(), 0.0);
}

TEST_F (KnobTest, WithoutAPictureNothingIsDrawn)
{
    KnobRig<VeloraKnob> rig (101);
    rig.knob.setValue (0.5, juce::dontSendNotification);
    rig.knob.setImage (juce::Image(), 101);
    EXPECT_EQ (rig.getShownFrame(), noFrame);

    VeloraKnob bare ("levelKnob_");
    bare.setBounds (0, 0, 73, 72);
    EXPECT_EQ (FilmStripTestBits::getShownFrame (bare), noFrame);
}

//==============================================================================
TEST_F (KnobTest, SyncKnobPositionsShowTheirOwnFrameAndText)
{
    KnobRig<VeloraModDelaySyncKnob> rig (VeloraModDelaySyncKnob::numPositions);
    EXPECT_EQ (rig.knob.getInterval(), VeloraModDelaySyncKnob::positionStep);
    EXPECT_EQ (VeloraModDelaySyncKnob::positionStep, (double) (1.0f / 18.1f));

    for (int k = 0; k < VeloraModDelaySyncKnob::numPositions; ++k)
    {
        rig.knob.setValue (k * VeloraModDelaySyncKnob::positionStep, juce::dontSendNotification);
        EXPECT_EQ (rig.getShownFrame(), k);
        EXPECT_EQ (getText (rig.knob, rig.knob.getValue()), noteTexts[k]);
    }
}

TEST_F (KnobTest, SyncKnobShowsTheStepThatPlaysForAValueFromOutside)
{
    const struct { double value; int step; } cases[] = {
        { 1.0, 18 },                          // the last position is 18 x step, not 1
        { (double) (1.0f / 6.0f), 3 },        // the processor's default equals the bound of step 3
        { 0.08, 2 },                          // nearer to position 1, but the engine plays step 2
        { 0.5, 9 },
        { 0.9444445, 17 },                    // a hair above 17/18, as a host keeps that as text
        { 0.9446, 18 },
        { 0.0, 0 }, { -0.5, 0 }, { 7.0, 18 }, { notANumber, 0 },
    };

    for (const auto& c : cases)
    {
        KnobRig<VeloraModDelaySyncKnob> rig (VeloraModDelaySyncKnob::numPositions);
        int changes = 0;
        rig.knob.onValueChange = [&changes] { ++changes; };
        rig.knob.setValue (c.value, juce::dontSendNotification);

        EXPECT_EQ (rig.getShownFrame(), c.step) << c.value;
        EXPECT_EQ (rig.knob.getValue(), c.step * VeloraModDelaySyncKnob::positionStep) << c.value;
        EXPECT_EQ (getText (rig.knob, rig.knob.getValue()), noteTexts[c.step]) << c.value;
        EXPECT_EQ (changes, 0);
    }
}

TEST_F (KnobTest, SyncKnobShowsTheStepOfAValueAHostKeptAsText)
{
    KnobRig<VeloraModDelaySyncKnob> rig (VeloraModDelaySyncKnob::numPositions);

    for (const auto& c : RateSyncCases::makeCases())
    {
        rig.knob.setValue (static_cast<double> (c.value), juce::dontSendNotification);
        EXPECT_EQ (rig.getShownFrame(), c.step) << c.label;
        EXPECT_EQ (getText (rig.knob, rig.knob.getValue()), noteTexts[c.step]) << c.label;
    }
}

TEST_F (KnobTest, SyncTextsChangeExactlyAtTheEnginesBounds)
{
    VeloraModDelaySyncKnob knob ("rateSyncKnob_");
    EXPECT_EQ (getText (knob, 0.0), "8/1");
    EXPECT_EQ (getText (knob, -1.0), "8/1");
    EXPECT_EQ (getText (knob, std::nextafter (0.0, 1.0)), "8/1"); // 0 in single precision
    EXPECT_EQ (getText (knob, (double) getStepBound (0)), "8/1");
    EXPECT_EQ (getText (knob, (double) std::nextafter (getStepBound (0), 1.0f)), "4/1");
    EXPECT_EQ (getText (knob, 1.0), "1/32T");
    EXPECT_EQ (getText (knob, 2.0), "1/32T");
    EXPECT_EQ (getText (knob, 0.5), "1/4T");

    for (int k = 1; k <= 17; ++k)
    {
        const float bound = getStepBound (k);
        EXPECT_EQ (getText (knob, (double) bound), noteTexts[k]) << k;
        EXPECT_EQ (getText (knob, (double) std::nextafter (bound, 0.0f)), noteTexts[k]) << k;
        EXPECT_EQ (getText (knob, (double) std::nextafter (bound, 1.0f)), noteTexts[k + 1]) << k;
        // A double just above the bound reaches the engine as the bound itself.
        EXPECT_EQ (getText (knob, std::nextafter ((double) bound, 1.0)), noteTexts[k]) << k;
    }
}

TEST_F (KnobTest, SyncKnobAgreesWithTheEngineOnEveryValue)
{
    // A model at 120 bpm with sync on: the LFO rate it plays for a rate-sync value.
    CE2Chorus model;
    model.setSampleRate (48000.0f);
    model.setBpm (120.0f);
    model.setParameter (ChorusModel::syncOnParameter, 1.0f);

    auto getPlayedRate = [&model] (double value)
    {
        model.setParameter (ChorusModel::rateSyncParameter, (float) value);
        model.calcParameter (ChorusModel::rateSyncParameter);
        return model.getLfoFrequency();
    };

    ASSERT_NE (getPlayedRate ((double) getStepBound (9)), getPlayedRate ((double) std::nextafter (getStepBound (9), 1.0f)));

    auto checkValue = [&getPlayedRate] (double value)
    {
        const auto shown = VeloraModDelaySyncKnob::getStepThatPlays (value) * VeloraModDelaySyncKnob::positionStep;
        EXPECT_EQ (getPlayedRate (shown), getPlayedRate (value)) << "value " << value;
    };

    for (int k = 0; k <= 18; ++k)
        for (const float value : { getStepBound (k), std::nextafter (getStepBound (k), 0.0f), std::nextafter (getStepBound (k), 2.0f) })
            checkValue ((double) value);

    for (int i = 0; i <= 10000; ++i)
        checkValue (i / 10000.0);
}

//==============================================================================
TEST_F (KnobTest, FreeRateTexts)
{
    VeloraModDelayFreq20HzMaxLog10Knob knob ("rateKnob_");
    EXPECT_EQ (knob.getInterval(), 0.0);

    const struct { double value; const char* text; } cases[] = {
        { 0.0, "0.01 Hz" }, { 0.001, "0.01 Hz" }, { 0.01, "0.01 Hz" }, { 0.1, "0.14 Hz" }, { 0.2, "0.35 Hz" },
        { (double) 0.2f, "0.35 Hz" }, { 0.5, "2.00 Hz" }, { 0.75, "6.50 Hz" }, { 1.0, "20.00 Hz" },
        { -0.5, "0.01 Hz" }, { 1.5, "20.00 Hz" }, { notANumber, "0.01 Hz" },
    };

    for (const auto& c : cases)
        EXPECT_EQ (getText (knob, c.value), c.text) << c.value;
}

//==============================================================================
TEST_F (KnobTest, RendersEveryKnob)
{
    struct Picture { const char* name; const char* data; int size; };
    namespace Main = ModulixQR7150BinImg;

    for (const auto& picture : { Picture { "rateKnob_", Main::rate_png, Main::rate_pngSize },
                                 Picture { "depthKnob_", Main::depth_png, Main::depth_pngSize },
                                 Picture { "mixKnob_", Main::mix_png, Main::mix_pngSize },
                                 Picture { "levelKnob_", Main::level_png, Main::level_pngSize } })
    {
        VeloraModDelayFreq20HzMaxLog10Knob knob (picture.name);
        knob.setImage (loadPicture (picture.data, picture.size), 101);
        knob.setBounds (0, 0, 73, 72);

        for (const double value : { 0.0, 0.2, 0.5, 1.0 })
        {
            knob.setValue (value, juce::dontSendNotification);
            saveSnapshot (knob, juce::String (picture.name) + juce::String (value, 1));
        }
    }

    VeloraModDelaySyncKnob syncKnob ("rateSyncKnob_");
    syncKnob.setImage (loadPicture (Main::rate_sync_png, Main::rate_sync_pngSize), 19);
    syncKnob.setBounds (0, 0, 73, 72);

    for (const double value : { 0.0, 1.0 / 6.0, 0.08, 0.5, 1.0 })
    {
        syncKnob.setValue (value, juce::dontSendNotification);
        saveSnapshot (syncKnob, "rateSyncKnob_" + syncKnob.getTextFromValue (syncKnob.getValue()).replace ("/", "-"));
    }
}
