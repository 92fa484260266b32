#include "TestEffectDescriptions.h"

#include "AAX_Init.h"

std::function<AAX_Result (AAX_ICollection*)> testEffectDescriptions = [] (AAX_ICollection*) { return AAX_Result (AAX_SUCCESS); };

AAX_Result GetEffectDescriptions (AAX_ICollection* collection)
{
    return testEffectDescriptions (collection);
}
