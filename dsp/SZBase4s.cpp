#include "SZBase4s.h"

SZBase4s::SZBase4s() noexcept = default;
SZBase4s::~SZBase4s() = default;
