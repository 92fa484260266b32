#include "AAX_CParameterManager.h"

#include "AAX_IParameter.h"

#include <cstring>
#include <utility>

AAX_CParameterManager::~AAX_CParameterManager()
{
    RemoveAllParameters();
}

void AAX_CParameterManager::Initialize (AAX_IAutomationDelegate* delegate)
{
    automationDelegate = delegate;
}

int32_t AAX_CParameterManager::NumParameters() const
{
    return static_cast<int32_t> (parameters.size());
}

void AAX_CParameterManager::AddParameter (AAX_IParameter* parameter)
{
    if (parameter == nullptr || GetParameterByID (parameter->Identifier()) != nullptr)
        return;

    parameter->SetAutomationDelegate (automationDelegate);
    parameters.push_back (parameter);
    parametersByID.emplace (parameter->Identifier(), parameter);
}

void AAX_CParameterManager::RemoveAllParameters()
{
    for (auto* parameter : parameters)
        delete parameter;

    parameters.clear();
    parametersByID.clear();
}

AAX_IParameter* AAX_CParameterManager::GetParameterByID (AAX_CParamID id)
{
    return const_cast<AAX_IParameter*> (std::as_const (*this).GetParameterByID (id));
}

const AAX_IParameter* AAX_CParameterManager::GetParameterByID (AAX_CParamID id) const
{
    if (id == nullptr)
        return nullptr;

    const auto found = parametersByID.find (id);
    return found == parametersByID.end() ? nullptr : found->second;
}

int32_t AAX_CParameterManager::GetParameterIndex (AAX_CParamID id) const
{
    if (id == nullptr)
        return -1;

    for (size_t i = 0; i < parameters.size(); ++i)
        if (std::strcmp (parameters[i]->Identifier(), id) == 0)
            return static_cast<int32_t> (i);

    return -1;
}

AAX_IParameter* AAX_CParameterManager::GetParameter (int32_t index)
{
    return const_cast<AAX_IParameter*> (std::as_const (*this).GetParameter (index));
}

const AAX_IParameter* AAX_CParameterManager::GetParameter (int32_t index) const
{
    if (index < 0 || index >= NumParameters())
        return nullptr;

    return parameters[static_cast<size_t> (index)];
}
