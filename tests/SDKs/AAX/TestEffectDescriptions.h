// The description function of the library's test executable: what it does is
// up to each test (describe, fail or throw).
#pragma once

#include "AAX.h"

#include <functional>

class AAX_ICollection;

/** What GetEffectDescriptions runs; by default it describes nothing and succeeds. */
extern std::function<AAX_Result (AAX_ICollection*)> testEffectDescriptions;
