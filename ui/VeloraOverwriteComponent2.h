#pragma once

#include "VeloraOverwriteComponent.h"

/** The save-preset browser's overwrite question: as VeloraOverwriteComponent,
    and a successful OK also closes the browser it lies in. CANCEL returns to the
    browser, so that another name can be chosen. */
class VeloraOverwriteComponent2 : public VeloraOverwriteComponent
{
public:
    using VeloraOverwriteComponent::VeloraOverwriteComponent;

    /** Overwrites, then closes this box and the browser; a failure keeps the browser open. */
    void okButtonClicked() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VeloraOverwriteComponent2)
};
