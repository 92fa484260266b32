#include "PanelLayout.h"

#include <cstring>

namespace art
{
namespace
{
const Picture& find (const std::vector<Picture>& pictures, const char* name)
{
    for (const auto& picture : pictures)
        if (std::strcmp (picture.name, name) == 0)
            return picture;
    jassertfalse;
    return pictures.front();
}
} // namespace

juce::Image composeDefaultPanel (const std::vector<Picture>& pictures)
{
    juce::Image panel (juce::Image::ARGB, 325, 454, true, juce::SoftwareImageType());
    juce::Graphics g (panel);

    struct Placed
    {
        const char* name;
        int frame;
        juce::Rectangle<float> bounds; // each control is as large as its frame
    };
    const Placed controls[] = {
        { "bg_chorus_png", 0, { 0.0f, 0.0f, 325.0f, 454.0f } },
        { "file_png", 0, layout::fileButton },
        { "left_png", 0, layout::presetDec },
        { "right_png", 0, layout::presetInc },
        { "ab_png", 0, layout::abSwitch },
        { "atob_png", 0, layout::copyButton },
        { "bypass_png", 2, layout::footswitch },
        { "type_png", 0, layout::typeSwitch },
        { "rate_png", 20, layout::rateKnob },
        { "depth_png", 20, layout::depthKnob },
        { "mix_png", 50, layout::mixKnob },
        { "level_png", 50, layout::levelKnob },
        { "stereo_png", 0, layout::stereoButton },
        { "sync_png", 0, layout::syncButton },
    };
    for (const auto& control : controls)
        paintFrame (g, find (pictures, control.name), control.frame, control.bounds.getPosition().toInt());

    g.setColour (juce::Colours::black);
    g.setFont (font (Face::sans, 15.0f));
    g.drawText ("Init", layout::presetDisplay.reduced (5.0f, 0.0f), juce::Justification::centred);
    return panel;
}
} // namespace art
