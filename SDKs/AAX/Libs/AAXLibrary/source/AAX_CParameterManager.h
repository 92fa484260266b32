// The effect's parameters in the order the plug-in added them (the host's
// indices), found by identifier, given the host's automation delegate, owned.
#pragma once

#include "AAX.h"

#include <map>
#include <string>
#include <vector>

class AAX_IAutomationDelegate;
class AAX_IParameter;

class AAX_CParameterManager
{
public:
    AAX_CParameterManager() = default;
    /** Deletes every parameter still held. */
    ~AAX_CParameterManager();

    AAX_CParameterManager (const AAX_CParameterManager&) = delete;
    AAX_CParameterManager& operator= (const AAX_CParameterManager&) = delete;

    /** The delegate for parameters added from now on; those held keep theirs. */
    void Initialize (AAX_IAutomationDelegate* delegate);

    int32_t NumParameters() const;

    /** Takes the parameter over and gives it the delegate; a null parameter, or
        one whose identifier is already held, is ignored and stays the caller's. */
    void AddParameter (AAX_IParameter* parameter);

    /** Deletes every parameter. */
    void RemoveAllParameters();

    /** Null for a null or unknown identifier. */
    AAX_IParameter* GetParameterByID (AAX_CParamID id);
    const AAX_IParameter* GetParameterByID (AAX_CParamID id) const;

    /** The index of the identifier in order of addition; -1 when absent or null. */
    int32_t GetParameterIndex (AAX_CParamID id) const;

    /** Null outside 0 .. count - 1. */
    AAX_IParameter* GetParameter (int32_t index);
    const AAX_IParameter* GetParameter (int32_t index) const;

private:
    AAX_IAutomationDelegate* automationDelegate = nullptr;
    std::vector<AAX_IParameter*> parameters;
    std::map<std::string, AAX_IParameter*> parametersByID;
};
