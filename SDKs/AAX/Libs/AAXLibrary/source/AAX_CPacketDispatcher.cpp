#include "AAX_CPacketDispatcher.h"

#include "AAX_IController.h"
#include "AAX_IEffectParameters.h"
#include "AAX_IParameter.h"

#include <stdexcept>

void* AAX_CPacket::SPacketData::Get (uint32_t numBytes)
{
    if (numBytes == 0)
        throw std::out_of_range ("a packet holds at least one byte");

    bytes.resize (numBytes, 0);
    return bytes.data();
}

//==============================================================================
AAX_CPacketDispatcher::~AAX_CPacketDispatcher()
{
    forgetPackets();
}

void AAX_CPacketDispatcher::forgetPackets()
{
    const AAX_StLock_Guard guard (mutex);
    registrations.clear();
    packets.clear();
}

void AAX_CPacketDispatcher::Initialize (AAX_IController* hostController, AAX_IEffectParameters* owner)
{
    // An effect initialised again registers its packets again, for parameters
    // that start again at their defaults: they begin as new packets, dirty.
    forgetPackets();
    controller = hostController;
    effectParameters = owner;
}

AAX_Result AAX_CPacketDispatcher::RegisterPacket (AAX_CParamID parameterID, int32_t packetID,
                                                  const AAX_IPacketHandler* handler)
{
    const AAX_StLock_Guard guard (mutex);

    if (parameterID == nullptr || packetID < 0 || handler == nullptr)
        return AAX_SUCCESS;

    auto& packet = packets[packetID];

    if (packet == nullptr)
        packet = std::make_unique<AAX_CPacket> (packetID);

    registrations.emplace (parameterID, Registration { packet.get(), std::unique_ptr<AAX_IPacketHandler> (handler->Clone()) });
    return AAX_SUCCESS;
}

AAX_Result AAX_CPacketDispatcher::SetDirty (AAX_CParamID parameterID, bool dirty)
{
    const AAX_StLock_Guard guard (mutex);

    if (parameterID == nullptr)
        return AAX_SUCCESS;

    const auto [first, last] = registrations.equal_range (parameterID);

    for (auto registration = first; registration != last; ++registration)
        registration->second.first->SetDirty (dirty);

    return AAX_SUCCESS;
}

AAX_Result AAX_CPacketDispatcher::fill (const Registration& registration, const std::string& parameterID) noexcept
{
    try
    {
        return registration.second->Call (parameterID.c_str(), *registration.first);
    }
    catch (...)
    {
        return AAX_ERROR_NULL_OBJECT;
    }
}

AAX_Result AAX_CPacketDispatcher::post (const AAX_CPacket& packet) noexcept
{
    if (controller == nullptr)
        return AAX_ERROR_NULL_OBJECT;

    try
    {
        return controller->PostPacket (packet.GetID(), packet.GetData(), packet.GetSize());
    }
    catch (...)
    {
        return AAX_ERROR_NULL_OBJECT;
    }
}

AAX_Result AAX_CPacketDispatcher::Dispatch()
{
    const AAX_StLock_Guard guard (mutex);
    AAX_Result result = AAX_SUCCESS;

    for (const auto& [parameterID, registration] : registrations)
    {
        auto& packet = *registration.first;

        if (! packet.IsDirty())
            continue;

        // Clean before filling: a failing handler must not leave the packet to
        // be retried on every later dispatch.
        packet.SetDirty (false);

        if (fill (registration, parameterID) == AAX_SUCCESS)
            result = post (packet);
    }

    return result;
}

AAX_Result AAX_CPacketDispatcher::GenerateSingleValuePacket (AAX_CParamID parameterID, AAX_CPacket& packet)
{
    AAX_IParameter* parameter = nullptr;

    if (effectParameters == nullptr || effectParameters->GetParameter (parameterID, &parameter) != AAX_SUCCESS
        || parameter == nullptr)
        return AAX_ERROR_NULL_OBJECT;

    bool boolValue = false;
    float floatValue = 0.0f;
    int32_t intValue = 0;
    double doubleValue = 0.0;

    if (parameter->GetValueAsBool (&boolValue))
        packet.Write (static_cast<int32_t> (boolValue ? 1 : 0));
    else if (parameter->GetValueAsFloat (&floatValue))
        packet.Write (floatValue);
    else if (parameter->GetValueAsInt32 (&intValue))
        packet.Write (intValue);
    else if (parameter->GetValueAsDouble (&doubleValue))
        packet.Write (doubleValue);
    else
        return AAX_ERROR_NULL_OBJECT;

    return AAX_SUCCESS;
}
