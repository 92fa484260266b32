// Where the editor places its controls over the background, so that the
// printed labels, wells and scales of the background sit around them.

#pragma once

#include "PictureArt.h"

#include <array>

namespace art
{
namespace layout
{
    const juce::Rectangle<float> fileButton { 6.0f, 3.0f, 58.0f, 26.0f };
    const juce::Rectangle<float> presetDisplay { 67.0f, 3.0f, 192.0f, 26.0f };
    const juce::Rectangle<float> presetDec { 263.0f, 3.0f, 29.0f, 26.0f };
    const juce::Rectangle<float> presetInc { 292.0f, 3.0f, 29.0f, 26.0f };
    const juce::Rectangle<float> presetStepper = presetDec.getUnion (presetInc);
    const juce::Rectangle<float> abSwitch { 92.0f, 35.0f, 62.0f, 23.0f };
    const juce::Rectangle<float> copyButton { 163.0f, 30.0f, 75.0f, 25.0f };
    const juce::Rectangle<float> footswitch { 222.0f, 354.0f, 90.0f, 99.0f };
    const juce::Rectangle<float> stereoButton { 263.0f, 62.0f, 54.0f, 22.0f };
    const juce::Rectangle<float> syncButton { 7.0f, 62.0f, 54.0f, 22.0f };
    const juce::Rectangle<float> typeSwitch { 106.0f, 137.0f, 48.0f, 80.0f };
    const std::array<juce::Rectangle<float>, 3> typeHotSpots { { { 160.0f, 135.0f, 57.0f, 10.0f },
                                                                 { 160.0f, 153.0f, 66.0f, 10.0f },
                                                                 { 160.0f, 172.0f, 54.0f, 10.0f } } };
    const juce::Rectangle<float> rateKnob { 14.0f, 126.0f, 73.0f, 72.0f };
    const juce::Rectangle<float> depthKnob { 68.0f, 225.0f, 73.0f, 72.0f };
    const juce::Rectangle<float> mixKnob { 180.0f, 225.0f, 73.0f, 72.0f };
    const juce::Rectangle<float> levelKnob { 237.0f, 126.0f, 73.0f, 72.0f };
    const juce::Rectangle<float> aboutSpot { 15.0f, 383.0f, 109.0f, 58.0f };

    /** The dark upper deck ends, and the enamel begins, at this height. */
    constexpr float deckBottom = 92.0f;
} // namespace layout

/** The whole panel as a host first shows it (the controls at their default
    values, the effect on), drawn from the pictures, for the about box. */
juce::Image composeDefaultPanel (const std::vector<Picture>& pictures);
} // namespace art
