#include "FxBase.h"

FxBase::FxBase() noexcept = default;

FxBase::~FxBase() = default;

float FxBase::getParameter (int index) const noexcept
{
    if (parameters == nullptr || index < 0 || index >= parameterNum)
        return 0.0f;

    return parameters[static_cast<size_t> (index)];
}

float* FxBase::getAllParameters() noexcept { return parameters.get(); }

int FxBase::getParameterNum() const noexcept { return parameterNum; }

void FxBase::setExpectedSampleFrame (int frames) { expectedSampleFrame = frames; }

int FxBase::getExpectedSampleFrame() const noexcept { return expectedSampleFrame; }

void FxBase::setBpm (float beatsPerMinute) noexcept { bpm = beatsPerMinute; }

float FxBase::getBpm() const noexcept { return bpm; }
