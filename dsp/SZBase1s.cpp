#include "SZBase1s.h"

SZBase1s::SZBase1s() noexcept = default;
SZBase1s::~SZBase1s() = default;
