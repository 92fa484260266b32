#include "BBDNonLinearBiased.h"

BBDNonLinearBiased::BBDNonLinearBiased() noexcept = default;
