#include "FilmStripTestBits.h"

#include "ModulixQR7150AudioProcessor.h"
#include "ModulixQR7150BinImg.h"
#include "VeloraVerticalSwitch2.h"

#include <cmath>
#include <limits>
#include <ostream>

using namespace FilmStripTestBits;

namespace
{
    constexpr int frameWidth = 12;
    constexpr int frameHeight = 20;

    /** The editor's type switch, with a synthetic three-frame strip of uneven height. */
    struct TypeSwitch
    {
        TypeSwitch()
        {
            typeSwitch.setImage (makeStrip (3, frameWidth, frameHeight, 2), 3);
            typeSwitch.setBounds (0, 0, frameWidth, frameHeight * 2);
        }

        int getShownFrame()     { return FilmStripTestBits::getShownFrame (typeSwitch, { frameWidth, frameHeight }); }

        VeloraVerticalSwitch2 typeSwitch { "typeKnob_" };
    };

    struct ValueCase
    {
        double value;
        int frame;
        bool playsAModel; // the engine selects no model for values outside (-0.5, 1]
    };

    const float aboveHalf = std::nextafter (0.5f, 1.0f);

    const ValueCase valueCases[] = {
        { 0.0, 0, true },
        { 0.5, 1, true },
        { 1.0, 2, true },
        { 1.0e-30, 1, true },         // anything above 0 plays the second model
        { 0.2, 1, true },             // nearer to 0, but plays Type 2
        { 0.25, 1, true },
        { 0.4999, 1, true },
        { (double) aboveHalf, 2, true },
        { 0.7, 2, true },
        { -0.3, 0, true },
        { std::nextafter (0.0, 1.0), 0, true }, // a double too small for single precision is 0 there
        { 1.5, 2, false },
        { -2.0, 0, false },
        { std::numeric_limits<double>::quiet_NaN(), 0, false },
    };

    void PrintTo (const ValueCase& c, std::ostream* os)
    {
        *os << "value " << c.value << " frame " << c.frame;
    }

    class SwitchValueTest : public UiTest, public ::testing::WithParamInterface<ValueCase> {};
}

TEST_P (SwitchValueTest, AValueFromOutsideShowsTheTypeThatPlays)
{
    const auto& c = GetParam();
    TypeSwitch rig;
    rig.typeSwitch.setValue (0.5, juce::dontSendNotification);
    rig.typeSwitch.setValue (c.value, juce::dontSendNotification);

    EXPECT_EQ (rig.getShownFrame(), c.frame);
    EXPECT_EQ (rig.typeSwitch.getValue(), 0.5 * c.frame); // a drag goes on from the position shown
    EXPECT_EQ (FilmStripTestBits::getFrameAt (render (rig.typeSwitch), { 5, frameHeight + 5 }), noFrame)
        << "drawn at the frame's own size, not scaled";

    if (c.playsAModel)
    {
        ModulixQR7150AudioProcessor processor;
        processor.setParameter (ModulixQR7150AudioProcessor::typeIndex, (float) c.value);
        EXPECT_EQ (processor.getParameterText (ModulixQR7150AudioProcessor::typeIndex),
                   "Type " + juce::String (c.frame + 1));
    }
}

INSTANTIATE_TEST_SUITE_P (TypeSwitch, SwitchValueTest, ::testing::ValuesIn (valueCases));

//==============================================================================
class VerticalSwitchTest : public UiTest {};

TEST_F (VerticalSwitchTest, PictureSetsTheStepsAndANullPictureDrawsNothing)
{
    TypeSwitch rig;
    EXPECT_DOUBLE_EQ (rig.typeSwitch.getInterval(), 0.5);
    EXPECT_EQ (rig.typeSwitch.getSliderStyle(), juce::Slider::LinearVertical);

    rig.typeSwitch.setImage (makeStrip (5, frameWidth, frameHeight), 5);
    EXPECT_DOUBLE_EQ (rig.typeSwitch.getInterval(), 0.25);

    rig.typeSwitch.setImage (juce::Image(), 3);
    rig.typeSwitch.setValue (1.0, juce::dontSendNotification);
    EXPECT_EQ (rig.getShownFrame(), noFrame);
    EXPECT_EQ (rig.typeSwitch.getValue(), 1.0);
}

TEST_F (VerticalSwitchTest, WithoutTheIntervalAValueBetweenPositionsShowsTheNextOne)
{
    TypeSwitch rig;
    rig.typeSwitch.setRange (0.0, 1.0, 0.0);

    const struct { double value; int frame; } cases[] = { { 0.0, 0 }, { 0.25, 1 }, { 0.5, 1 }, { 0.51, 2 }, { 1.0, 2 } };

    for (const auto& c : cases)
    {
        rig.typeSwitch.juce::Slider::setValue (c.value, juce::dontSendNotification);
        EXPECT_EQ (rig.getShownFrame(), c.frame) << c.value;
    }
}

TEST_F (VerticalSwitchTest, ValueFromOutsideSendsNothingAndOwnerStepsStay)
{
    TypeSwitch rig;
    int changes = 0;
    rig.typeSwitch.onValueChange = [&changes] { ++changes; };

    rig.typeSwitch.setValue (0.2, juce::dontSendNotification);
    EXPECT_EQ (changes, 0);

    rig.typeSwitch.setValue (1.0, juce::sendNotificationSync);
    EXPECT_EQ (changes, 1);
    EXPECT_EQ (rig.typeSwitch.getValue(), 1.0);
}

TEST_F (VerticalSwitchTest, DragCoversTheRangeWithinTheControllableHeight)
{
    TypeSwitch rig;
    rig.typeSwitch.setRange (0.0, 1.0, 0.0);
    rig.typeSwitch.setBounds (0, 0, 48, 80);
    rig.typeSwitch.setControllableImageHeight (45);

    // The slider's proportion is 1 at the top of a vertical track.
    const double bottomOfRange = 1.0 - 45.0 / 80.0;
    const struct { double proportion; double value; } cases[] = {
        { 1.0, 0.0 }, { 1.0 - 0.5 * 45.0 / 80.0, 0.5 }, { bottomOfRange, 1.0 }, { 0.0, 1.0 },
    };

    for (const auto& c : cases)
        EXPECT_NEAR (rig.typeSwitch.proportionOfLengthToValue (c.proportion), c.value, 1.0e-12) << c.proportion;

    for (double proportion = bottomOfRange; proportion <= 1.0; proportion += 0.0625)
    {
        const auto value = rig.typeSwitch.proportionOfLengthToValue (proportion);
        EXPECT_NEAR (rig.typeSwitch.valueToProportionOfLength (value), proportion, 1.0e-12);
    }

    rig.typeSwitch.setControllableImageHeight (80);
    EXPECT_NEAR (rig.typeSwitch.proportionOfLengthToValue (0.0), 1.0, 1.0e-12);
    EXPECT_NEAR (rig.typeSwitch.proportionOfLengthToValue (0.25), 0.75, 1.0e-12);
}

TEST_F (VerticalSwitchTest, RendersTheTypeSwitch)
{
    VeloraVerticalSwitch2 typeSwitch ("typeKnob_");
    typeSwitch.setImage (loadPicture (ModulixQR7150BinImg::type_png, ModulixQR7150BinImg::type_pngSize), 3);
    typeSwitch.setBounds (106, 137, 48, 80);

    for (const double value : { 0.0, 0.5, 1.0 })
    {
        typeSwitch.setValue (value, juce::dontSendNotification);
        saveSnapshot (typeSwitch, "typeKnob_" + juce::String (value, 1));
    }
}
