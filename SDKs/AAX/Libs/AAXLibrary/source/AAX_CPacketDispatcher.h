// Parameter data for the processing side: packets bound to parameter
// identifiers, filled by handlers and posted through the host controller when
// their parameters have changed.
#pragma once

#include "AAX.h"
#include "AAX_CMutex.h"
#include "AAX_IPacketHandler.h"

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class AAX_IController;
class AAX_IEffectParameters;

/** One block of bytes under a packet ID. */
class AAX_CPacket
{
public:
    /** A heap buffer that starts as 8 zero bytes. */
    class SPacketData
    {
    public:
        SPacketData() : bytes (8, 0) {}

        /** Resizes the buffer to size bytes (new ones 0); size 0 raises std::out_of_range. */
        void* Get (uint32_t numBytes);
        const void* Get() const noexcept  { return bytes.data(); }

    private:
        std::vector<uint8_t> bytes;
    };

    explicit AAX_CPacket (int32_t id) noexcept : packetID (id) {}

    int32_t GetID() const noexcept  { return packetID; }
    bool IsDirty() const noexcept  { return dirty; }
    void SetDirty (bool isDirty) noexcept  { dirty = isDirty; }
    uint32_t GetSize() const noexcept  { return size; }
    /** Writes value in native byte order as the packet's only content. */
    template <typename Value>
    void Write (const Value& value)
    {
        size = sizeof (Value);
        std::memcpy (data.Get (size), &value, sizeof (Value));
    }
    const void* GetData() const noexcept  { return data.Get(); }

private:
    int32_t packetID;
    bool dirty = true;
    uint32_t size = 0;
    SPacketData data;
};

/** Calls a member function of a target object: one taking the identifier and
    the packet, else one taking only the packet. */
template <class Target>
class AAX_CPacketHandler : public AAX_IPacketHandler
{
public:
    using PacketHandler = AAX_Result (Target::*) (AAX_CPacket&);
    using ParameterPacketHandler = AAX_Result (Target::*) (AAX_CParamID, AAX_CPacket&);

    AAX_CPacketHandler (Target* targetToCall, PacketHandler handler) noexcept
        : target (targetToCall), packetHandler (handler) {}

    AAX_CPacketHandler (Target* targetToCall, ParameterPacketHandler handler) noexcept
        : target (targetToCall), parameterPacketHandler (handler) {}

    AAX_CPacketHandler* Clone() const override  { return new AAX_CPacketHandler (*this); }

    /** -20004 when neither member function is set. */
    AAX_Result Call (AAX_CParamID id, AAX_CPacket& packet) const override
    {
        if (parameterPacketHandler != nullptr)
            return (target->*parameterPacketHandler) (id, packet);

        if (packetHandler != nullptr)
            return (target->*packetHandler) (packet);

        return AAX_ERROR_NULL_OBJECT;
    }

private:
    Target* target;
    PacketHandler packetHandler = nullptr;
    ParameterPacketHandler parameterPacketHandler = nullptr;
};

class AAX_CPacketDispatcher
{
public:
    AAX_CPacketDispatcher() = default;
    /** Deletes the packets and the handler copies. */
    ~AAX_CPacketDispatcher();

    AAX_CPacketDispatcher (const AAX_CPacketDispatcher&) = delete;
    AAX_CPacketDispatcher& operator= (const AAX_CPacketDispatcher&) = delete;

    /** Runs before any other use, and again when the effect is initialised
        again: every packet and registration made before is forgotten. */
    void Initialize (AAX_IController* hostController, AAX_IEffectParameters* owner);

    /** Binds parameterID to the packet packetID (created dirty when new) with a
        copy of handler. A negative packetID or a null handler registers nothing. */
    AAX_Result RegisterPacket (AAX_CParamID parameterID, int32_t packetID, const AAX_IPacketHandler* handler);

    /** Marks every packet bound to parameterID; an unbound identifier changes nothing. */
    AAX_Result SetDirty (AAX_CParamID parameterID, bool dirty);

    /** Fills and posts every dirty packet once and cleans it, also when its
        handler fails or throws. The result of the last post, 0 without one. */
    AAX_Result Dispatch();

    /** The stock filler: the parameter's value as a 32-bit bool, float or
        integer, or a double, in native byte order; -20004 when there is none. */
    AAX_Result GenerateSingleValuePacket (AAX_CParamID parameterID, AAX_CPacket& packet);

private:
    using Registration = std::pair<AAX_CPacket*, std::unique_ptr<AAX_IPacketHandler>>;

    static AAX_Result fill (const Registration& registration, const std::string& parameterID) noexcept;
    void forgetPackets();
    AAX_Result post (const AAX_CPacket& packet) noexcept;

    std::map<int32_t, std::unique_ptr<AAX_CPacket>> packets;
    std::multimap<std::string, Registration> registrations;
    AAX_IController* controller = nullptr;
    AAX_IEffectParameters* effectParameters = nullptr;
    AAX_CMutex mutex;
};
