#include "FilmStripTestBits.h"

#include "ModulixDialogBoxBinImg.h"
#include "ModulixModulationUpperPanelBinImg.h"
#include "ModulixQR7150BinImg.h"
#include "Velora2StateButton.h"
#include "Velora2StateKickButton.h"
#include "Velora4StateButton.h"
#include "Velora4StateButton3PDT.h"

#include <memory>
#include <ostream>

using namespace FilmStripTestBits;

namespace
{
    enum class Kind { fourState, threePdt, twoState, kick };

    constexpr int frameWidth = 12;
    constexpr int frameHeight = 10;

    int getFrameCount (Kind kind)    { return kind == Kind::fourState || kind == Kind::threePdt ? 4 : 2; }

    /** The most rows a strip can have beyond its whole frames: its height is then no multiple of its frame count. */
    int getLeftoverRows (Kind kind)  { return getFrameCount (kind) - 1; }

    template <typename ButtonClass>
    std::unique_ptr<juce::Button> makeWithImage (const juce::Image& strip)
    {
        auto button = std::make_unique<ButtonClass> ("button_");
        button->setImage (strip);
        return button;
    }

    /** A button of that class whose strip has the synthetic frame colours. */
    std::unique_ptr<juce::Button> makeButton (Kind kind, const juce::Image& strip)
    {
        switch (kind)
        {
            case Kind::fourState: return makeWithImage<Velora4StateButton> (strip);
            case Kind::threePdt:  return makeWithImage<Velora4StateButton3PDT> (strip);
            case Kind::twoState:  return makeWithImage<Velora2StateButton> (strip);
            case Kind::kick:      return makeWithImage<Velora2StateKickButton> (strip);
        }

        return {};
    }

    std::unique_ptr<juce::Button> makeButton (Kind kind)
    {
        auto button = makeButton (kind, makeStrip (getFrameCount (kind), frameWidth, frameHeight, getLeftoverRows (kind)));
        button->setBounds (0, 0, frameWidth, frameHeight);
        return button;
    }

    const char* getName (Kind kind)
    {
        switch (kind)
        {
            case Kind::fourState: return "Velora4StateButton";
            case Kind::threePdt:  return "Velora4StateButton3PDT";
            case Kind::twoState:  return "Velora2StateButton";
            case Kind::kick:      return "Velora2StateKickButton";
        }

        return "";
    }

    using State = juce::Button::ButtonState;

    struct FrameCase
    {
        Kind kind;
        bool toggling;
        bool on;
        State state;
        int frame;
    };

    constexpr State up = juce::Button::buttonNormal;
    constexpr State over = juce::Button::buttonOver;
    constexpr State down = juce::Button::buttonDown; // held down is also over

    const FrameCase frameCases[] = {
        { Kind::fourState, true,  false, up,   0 },
        { Kind::fourState, true,  false, over, 1 },
        { Kind::fourState, true,  false, down, 1 },
        { Kind::fourState, true,  true,  up,   3 },
        { Kind::fourState, true,  true,  over, 2 },
        { Kind::fourState, true,  true,  down, 2 },
        { Kind::fourState, false, false, up,   0 },
        { Kind::fourState, false, false, over, 1 },
        { Kind::fourState, false, true,  down, 2 },

        { Kind::threePdt,  true,  false, up,   0 },
        { Kind::threePdt,  true,  false, over, 0 },
        { Kind::threePdt,  true,  false, down, 1 },
        { Kind::threePdt,  true,  true,  up,   2 },
        { Kind::threePdt,  true,  true,  over, 2 },
        { Kind::threePdt,  true,  true,  down, 3 },
        { Kind::threePdt,  false, true,  up,   0 },
        { Kind::threePdt,  false, true,  down, 0 },

        { Kind::twoState,  true,  false, up,   0 },
        { Kind::twoState,  true,  false, down, 0 },
        { Kind::twoState,  true,  true,  up,   1 },
        { Kind::twoState,  true,  true,  over, 1 },
        { Kind::twoState,  false, true,  up,   0 },
        { Kind::twoState,  false, false, down, 1 },

        { Kind::kick,      false, false, up,   0 },
        { Kind::kick,      false, false, over, 0 },
        { Kind::kick,      false, false, down, 1 },
        { Kind::kick,      true,  true,  up,   0 },
        { Kind::kick,      true,  false, down, 1 },
    };

    void PrintTo (const FrameCase& c, std::ostream* os)
    {
        *os << "frame " << c.frame;
    }

    class ButtonFrameTest : public UiTest, public ::testing::WithParamInterface<FrameCase> {};

    std::string describe (const ::testing::TestParamInfo<FrameCase>& info)
    {
        const auto& c = info.param;
        const char* states[] = { "Up", "Over", "Down" };
        return std::string (getName (c.kind)) + (c.toggling ? "Toggling" : "Momentary")
             + (c.on ? "On" : "Off") + states[(int) c.state] + "_" + std::to_string (info.index);
    }
}

TEST_P (ButtonFrameTest, StateChoosesFrameAndLeftoverRowsNeverShow)
{
    const auto& c = GetParam();
    auto button = makeButton (c.kind);
    button->setClickingTogglesState (c.toggling);
    button->setToggleState (c.on, juce::dontSendNotification);
    button->setState (c.state);

    EXPECT_EQ (getShownFrame (*button), c.frame);
    EXPECT_EQ (getAlphaAtCentre (*button), 255);
}

INSTANTIATE_TEST_SUITE_P (FilmStripButtons, ButtonFrameTest, ::testing::ValuesIn (frameCases), describe);

//==============================================================================
class FilmStripButtonTest : public UiTest {};

TEST_F (FilmStripButtonTest, OnlyTheFourStateButtonsDimWhileDisabled)
{
    const struct { Kind kind; int alpha; } cases[] = {
        { Kind::fourState, 102 }, { Kind::threePdt, 102 }, { Kind::twoState, 255 }, { Kind::kick, 255 },
    };

    for (const auto& c : cases)
    {
        auto button = makeButton (c.kind);
        button->setEnabled (false);

        EXPECT_EQ (getShownFrame (*button), 0) << getName (c.kind);
        EXPECT_NEAR (getAlphaAtCentre (*button), c.alpha, 1) << getName (c.kind);
    }
}

TEST_F (FilmStripButtonTest, FrameIsScaledIntoTheWholeButton)
{
    for (const auto kind : { Kind::fourState, Kind::threePdt, Kind::twoState, Kind::kick })
    {
        auto button = makeButton (kind);
        button->setBounds (0, 0, frameWidth * 3, frameHeight * 3);
        button->setToggleState (true, juce::dontSendNotification);

        const auto rendered = render (*button);
        const int frame = getFrameAt (rendered, button->getLocalBounds().getCentre());
        EXPECT_GE (frame, 0) << getName (kind);
        EXPECT_EQ (getFrameAt (rendered, { 2, 2 }), frame) << getName (kind);
        EXPECT_EQ (getFrameAt (rendered, { frameWidth * 3 - 3, frameHeight * 3 - 3 }), frame) << getName (kind);
    }
}

TEST_F (FilmStripButtonTest, WithoutAPictureNothingIsDrawnButClicksStillArrive)
{
    Velora2StateKickButton hotSpot ("type2ShortcutButton_");
    Velora2StateButton toggle ("syncButton_");
    Velora4StateButton fourState ("fourState_");
    Velora4StateButton3PDT footswitch ("bypassButton_");
    toggle.setImage (makeStrip (2, frameWidth, frameHeight));
    toggle.setImage (juce::Image()); // a picture taken back draws nothing, as one never given

    int clicks = 0;
    for (juce::Button* button : std::initializer_list<juce::Button*> { &hotSpot, &toggle, &fourState, &footswitch })
    {
        button->setBounds (0, 0, 57, 10);
        button->setState (juce::Button::buttonDown);
        button->setToggleState (true, juce::dontSendNotification);
        EXPECT_EQ (getShownFrame (*button), noFrame) << button->getName();
        EXPECT_TRUE (button->hitTest (1, 1)) << button->getName();
        EXPECT_TRUE (button->hitTest (56, 9)) << button->getName();
        button->onClick = [&clicks] { ++clicks; };
        button->triggerClick();
    }

    modulix_test::pumpUntil ([&clicks] { return clicks == 4; });
    EXPECT_EQ (clicks, 4);
    EXPECT_FALSE (toggle.getToggleState()); // a toggling button still toggles on its click
}

TEST_F (FilmStripButtonTest, KickButtonSwapsItsPicture)
{
    Velora2StateKickButton copy ("abCopyButton_");
    copy.setBounds (0, 0, frameWidth, frameHeight);
    copy.setImage (makeStrip (2, frameWidth, frameHeight));
    EXPECT_EQ (getShownFrame (copy), 0);

    auto other = makeStrip (4, frameWidth, frameHeight).getClippedImage ({ 0, 2 * frameHeight, frameWidth, 2 * frameHeight });
    copy.setImage (other.createCopy());
    EXPECT_EQ (getShownFrame (copy), 2);
}

TEST_F (FilmStripButtonTest, FourStateButtonReportsItsFrameSize)
{
    Velora4StateButton3PDT footswitch ("bypassButton_");
    EXPECT_EQ (footswitch.getImageWidth(), 0);
    EXPECT_EQ (footswitch.getImageHeight(), 0);

    footswitch.setImage (makeStrip (4, 90, 99, getLeftoverRows (Kind::threePdt)));
    EXPECT_EQ (footswitch.getImageWidth(), 90);
    EXPECT_EQ (footswitch.getImageHeight(), 99);

    footswitch.setImage (juce::Image());
    EXPECT_EQ (footswitch.getImageHeight(), 0);
}

//==============================================================================
namespace
{
    struct Picture
    {
        const char* data;
        int size;
    };

    template <typename ButtonClass>
    void saveButtonSnapshots (const juce::String& name, Picture picture, std::initializer_list<int> states)
    {
        const auto strip = loadPicture (picture.data, picture.size);
        ASSERT_TRUE (strip.isValid()) << name;

        ButtonClass button (name);
        button.setImage (strip);
        const int frames = std::is_base_of_v<Velora4StateButton, ButtonClass> ? 4 : 2;
        button.setBounds (0, 0, strip.getWidth(), strip.getHeight() / frames);

        for (const int state : states)
        {
            button.setToggleState (state >= 2, juce::dontSendNotification);
            button.setState ((state % 2) == 1 ? juce::Button::buttonDown : juce::Button::buttonNormal);
            saveSnapshot (button, name + "_" + juce::String (state));
        }
    }
}

TEST_F (FilmStripButtonTest, RendersEveryButtonPicture)
{
    namespace Upper = ModulixModulationUpperPanelBinImg;
    namespace Dialog = ModulixDialogBoxBinImg;

    // States: 0 off and up, 1 off and held down, 2 on and up, 3 on and held down.
    saveButtonSnapshots<Velora4StateButton3PDT> ("bypassButton_", { ModulixQR7150BinImg::bypass_png, ModulixQR7150BinImg::bypass_pngSize }, { 0, 1, 2, 3 });
    saveButtonSnapshots<Velora2StateButton> ("abButton_", { Upper::ab_png, Upper::ab_pngSize }, { 0, 2 });
    saveButtonSnapshots<Velora2StateButton> ("stereoSpreadButton_", { Upper::stereo_png, Upper::stereo_pngSize }, { 0, 2 });
    saveButtonSnapshots<Velora2StateButton> ("syncButton_", { Upper::sync_png, Upper::sync_pngSize }, { 0, 2 });

    const std::pair<const char*, Picture> kickButtons[] = {
        { "atob", { Upper::atob_png, Upper::atob_pngSize } },
        { "btoa", { Upper::btoa_png, Upper::btoa_pngSize } },
        { "fileButton_", { Upper::file_png, Upper::file_pngSize } },
        { "presetDecButton_", { Upper::left_png, Upper::left_pngSize } },
        { "presetIncButton_", { Upper::right_png, Upper::right_pngSize } },
        { "ok", { Dialog::ok_png, Dialog::ok_pngSize } },
        { "cancel", { Dialog::cancel_png, Dialog::cancel_pngSize } },
        { "save", { Dialog::save_png, Dialog::save_pngSize } },
        { "newfolder", { Dialog::newfolder_png, Dialog::newfolder_pngSize } },
        { "overwrite", { Dialog::overwrite_png, Dialog::overwrite_pngSize } },
    };

    for (const auto& [name, picture] : kickButtons)
        saveButtonSnapshots<Velora2StateKickButton> (name, picture, { 0, 1 });
}
