#pragma once

#include "DspBase.h"

/** Base of every block that transforms one sample, or a left/right pair, in place. */
class ModuleBase : public DspBase
{
public:
    ModuleBase() noexcept : DspBase ("ModuleBase") {}

    /** Transforms one sample in place. */
    virtual void process (double& x) noexcept = 0;

    /** Transforms a left and a right sample in place, each with its own state. */
    virtual void process (double& left, double& right) noexcept = 0;
};
