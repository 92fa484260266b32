// Fills a packet for the processing side from a parameter's value.
#pragma once

#include "AAX.h"

class AAX_CPacket;

class AAX_IPacketHandler
{
public:
    virtual ~AAX_IPacketHandler() = default;

    /** A new copy, owned by the caller. */
    virtual AAX_IPacketHandler* Clone() const = 0;
    /** Fills the packet for the parameter id; 0 means post it. */
    virtual AAX_Result Call (AAX_CParamID id, AAX_CPacket& packet) const = 0;
};
