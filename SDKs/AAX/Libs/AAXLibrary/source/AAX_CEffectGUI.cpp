#include "AAX_CEffectGUI.h"

#include "AAX_CString.h"
#include "AAX_IEffectParameters.h"
#include "AAX_UIDs.h"
#include "AAX_VController.h"
#include "AAX_VTransport.h"
#include "AAX_VViewContainer.h"

AAX_CEffectGUI::AAX_CEffectGUI() = default;

AAX_CEffectGUI::~AAX_CEffectGUI()
{
    AAX_CEffectGUI::Uninitialize();
}

AAX_Result AAX_CEffectGUI::Initialize (IACFUnknown* host)
{
    controller = std::make_unique<AAX_VController> (host);

    if (host == nullptr)
        return AAX_ERROR_NOT_INITIALIZED;

    void* parameters = nullptr;

    if (host->QueryInterface (IID_IAAXEffectParametersV1, &parameters) == ACF_OK)
        effectParameters = static_cast<AAX_IACFEffectParameters*> (parameters);

    transport = std::make_unique<AAX_VTransport> (host);
    CreateViewContents();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::Uninitialize()
{
    if (auto* parameters = effectParameters)
    {
        effectParameters = nullptr;
        parameters->Release();
    }

    controller.reset();
    transport.reset();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::SetViewContainer (IACFUnknown* container)
{
    if (container != nullptr)
    {
        viewContainer = std::make_unique<AAX_VViewContainer> (container);
        CreateViewContainer();
        UpdateAllParameters();
    }
    else
    {
        viewContainer.reset();
        DeleteViewContainer();
    }

    return AAX_SUCCESS;
}

void AAX_CEffectGUI::UpdateAllParameters()
{
    if (effectParameters == nullptr)
        return;

    int32_t count = 0;

    if (effectParameters->GetNumberOfParameters (&count) != AAX_SUCCESS || count < 0)
        return;

    for (int32_t i = 0; i < count; ++i)
    {
        AAX_CString id;

        if (effectParameters->GetParameterIDFromIndex (i, &id) == AAX_SUCCESS)
            ParameterUpdated (id.Get());
    }
}

AAX_IEffectParameters* AAX_CEffectGUI::GetEffectParameters() const noexcept
{
    // The host hands out the data-model object of this library, whose
    // interface starts the object.
    return effectParameters != nullptr
             ? static_cast<AAX_IEffectParameters*> (static_cast<AAX_IACFEffectParameters_V3*> (effectParameters))
             : nullptr;
}

AAX_IViewContainer* AAX_CEffectGUI::GetViewContainer() const noexcept
{
    return viewContainer.get();
}

int32_t AAX_CEffectGUI::GetViewContainerType() const
{
    return viewContainer != nullptr ? viewContainer->GetType() : AAX_eViewContainer_Type_NULL;
}

void* AAX_CEffectGUI::GetViewContainerPtr() const
{
    return viewContainer != nullptr ? viewContainer->GetPtr() : nullptr;
}

AAX_Result AAX_CEffectGUI::NotificationReceived (AAX_CTypeID, const void*, uint32_t)  { return AAX_SUCCESS; }
AAX_Result AAX_CEffectGUI::GetViewSize (AAX_Point*) const  { return AAX_SUCCESS; }
AAX_Result AAX_CEffectGUI::Draw (AAX_Rect*)  { return AAX_SUCCESS; }
AAX_Result AAX_CEffectGUI::TimerWakeup()  { return AAX_SUCCESS; }
AAX_Result AAX_CEffectGUI::ParameterUpdated (AAX_CParamID)  { return AAX_SUCCESS; }
AAX_Result AAX_CEffectGUI::SetControlHighlightInfo (AAX_CParamID, AAX_CBoolean, AAX_EHighlightColor)  { return AAX_SUCCESS; }

AAX_Result AAX_CEffectGUI::GetCustomLabel (AAX_EPlugInStrings, AAX_IString*) const
{
    return AAX_ERROR_NULL_OBJECT;
}
