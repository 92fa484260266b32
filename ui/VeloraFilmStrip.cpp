#include "VeloraFilmStrip.h"

#include <cmath>

void VeloraFilmStrip::setImage (juce::Image strip, int newFrameCount)
{
    image = strip;

    if (! image.isValid())
    {
        frameCount = 0;
        return;
    }

    frameCount = juce::jmax (1, newFrameCount);
    frameWidth = image.getWidth();
    frameHeight = image.getHeight() / frameCount;
}

int VeloraFilmStrip::getFrameForProportion (double proportion) const noexcept
{
    if (frameCount == 0 || ! (proportion > 0.0))
        return 0;

    const auto lastFrame = frameCount - 1;
    const auto position = std::ceil (static_cast<float> (lastFrame) * static_cast<float> (proportion));
    return position < static_cast<float> (lastFrame) ? static_cast<int> (position) : lastFrame;
}

void VeloraFilmStrip::drawFrame (juce::Graphics& g, int frame, juce::Rectangle<int> destination) const
{
    if (frame < 0 || frame >= frameCount)
        return;

    g.drawImage (image,
                 destination.getX(), destination.getY(), destination.getWidth(), destination.getHeight(),
                 0, frame * frameHeight, frameWidth, frameHeight);
}
