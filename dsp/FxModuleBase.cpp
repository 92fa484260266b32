#include "FxModuleBase.h"

FxModuleBase::FxModuleBase() noexcept : DspBase ("FxModuleBase") {}

FxModuleBase::~FxModuleBase() = default;
