#include "SZBase2s.h"

SZBase2s::SZBase2s() noexcept = default;
SZBase2s::~SZBase2s() = default;
