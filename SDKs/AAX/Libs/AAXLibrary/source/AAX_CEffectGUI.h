// The editor side of one effect instance: connects to the host, finds the
// instance's effect parameters, and tells the plug-in's GUI when to build,
// show and remove its view inside the host's view container.
#pragma once

#include "AAX_IEffectGUI.h"

#include <memory>

class AAX_IController;
class AAX_ITransport;
class AAX_IViewContainer;
class AAX_IEffectParameters;
class AAX_IACFEffectParameters;

class AAX_CEffectGUI : public AAX_IEffectGUI
{
public:
    AAX_CEffectGUI();
    /** Uninitializes, then deletes a view-container proxy still held. */
    ~AAX_CEffectGUI() override;

    AAX_CEffectGUI (const AAX_CEffectGUI&) = delete;
    AAX_CEffectGUI& operator= (const AAX_CEffectGUI&) = delete;

    /** Connects to host and builds the view's contents; -20011 for a null host. */
    AAX_Result Initialize (IACFUnknown* host) override;
    /** Releases the effect parameters and deletes the controller and transport proxies. */
    AAX_Result Uninitialize() override;
    AAX_Result NotificationReceived (AAX_CTypeID type, const void* data, uint32_t size) override;
    /** A container shows the view in it and pushes every value; null removes the view. */
    AAX_Result SetViewContainer (IACFUnknown* container) override;
    /** Writes nothing; the plug-in's GUI reports its size. */
    AAX_Result GetViewSize (AAX_Point* size) const override;
    AAX_Result Draw (AAX_Rect* area) override;
    AAX_Result TimerWakeup() override;
    AAX_Result ParameterUpdated (AAX_CParamID id) override;
    /** -20004: no custom labels. */
    AAX_Result GetCustomLabel (AAX_EPlugInStrings which, AAX_IString* out) const override;
    AAX_Result SetControlHighlightInfo (AAX_CParamID id, AAX_CBoolean highlighted, AAX_EHighlightColor colour) override;

    /** The instance's effect parameters, as the host handed them out; null before Initialize. */
    AAX_IEffectParameters* GetEffectParameters() const noexcept;
    AAX_IViewContainer* GetViewContainer() const noexcept;
    /** The container's kind; 0 without a container. */
    int32_t GetViewContainerType() const;
    /** The host's native view; null without a container. */
    void* GetViewContainerPtr() const;

protected:
    /** Builds the plug-in's view without showing it; called once from Initialize. */
    virtual void CreateViewContents() = 0;
    /** Shows the view inside the container just set. */
    virtual void CreateViewContainer() = 0;
    /** Takes the view out of the container just cleared and deletes it. */
    virtual void DeleteViewContainer() = 0;
    /** Calls ParameterUpdated for every parameter, in index order. */
    virtual void UpdateAllParameters();

private:
    std::unique_ptr<AAX_IController> controller;
    AAX_IACFEffectParameters* effectParameters = nullptr;
    std::unique_ptr<AAX_IViewContainer> viewContainer;
    std::unique_ptr<AAX_ITransport> transport;
};
