#pragma once

#include "DspBase.h"

/** Root of the effect-model tree: a DspBase that names itself "FxModuleBase".
    It only serves as a base and is never instantiated on its own. */
class FxModuleBase : public DspBase
{
public:
    ~FxModuleBase() override;

protected:
    FxModuleBase() noexcept;
};
