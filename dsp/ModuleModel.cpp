#include "ModuleModel.h"

#include <algorithm>

namespace
{
    constexpr int noticeTimerIntervalMs = 50;
}

ModuleModel::ModuleModel()
{
    name = "ModuleModel";

    // Without a message manager no timer could ever fire; a deferred notice then stays pending.
    if (juce::MessageManager::getInstanceWithoutCreating() != nullptr)
        noticeTimer.startTimer (noticeTimerIntervalMs);
}

ModuleModel::~ModuleModel()
{
    noticeTimer.stopTimer();
}

void ModuleModel::process (float*, int) noexcept {}

void ModuleModel::process (float*, float*, int) noexcept {}

void ModuleModel::setInputsUsed (int numInputs) noexcept { inputsUsed = numInputs; }

int ModuleModel::getInputsUsed() const noexcept { return inputsUsed; }

void ModuleModel::setOutputsUsed (int numOutputs) noexcept { outputsUsed = numOutputs; }

int ModuleModel::getOutputsUsed() const noexcept { return outputsUsed; }

bool ModuleModel::isContainer() const noexcept { return false; }

void ModuleModel::setFloorId (int newFloorId) noexcept { floorId = newFloorId; }

int ModuleModel::getFloorId() const noexcept { return floorId; }

void ModuleModel::setColumn (int newColumn) noexcept { column = newColumn; }

int ModuleModel::getColumn() const noexcept { return column; }

bool ModuleModel::isUiNeedsUpdate() const noexcept { return uiNeedsUpdate; }

void ModuleModel::requestUiNeedsUpdate() noexcept { uiNeedsUpdate = true; }

void ModuleModel::clearUiNeedsUpdate() noexcept { uiNeedsUpdate = false; }

void ModuleModel::processBlock (float* input, float* output, int numSamples) noexcept
{
    switch (getInputsUsed())
    {
        case 2:
            process (input, output, numSamples);
            break;

        case 1:
            process (input, numSamples);

            if (numSamples > 0)
                std::copy_n (input, numSamples, output);

            break;

        default:
            break;
    }
}

void ModuleModel::sendArrangementNotice() noexcept
{
    if (juce::MessageManager::existsAndIsCurrentThread())
        sendActionMessage (arrangementMessage);
    else
        noticePending.store (true, std::memory_order_release);
}

void ModuleModel::deliverPendingNotice()
{
    if (noticePending.exchange (false, std::memory_order_acq_rel))
        sendActionMessage (arrangementMessage);
}
