// The library's only lasting state: one string binding and the three binding handles
// made from it. Process-wide and unguarded: the host never runs ORV_Prepare or
// ORV_Discard alongside another export, and the operations only read it.
#pragma once

#include "Orvane.h"
#include "Platform.h"

namespace orv {

struct ServiceBindings {
    RPC_CSTR stringBinding;     // the runtime's text; released only through RpcStringFreeA
    RPC_BINDING_HANDLE routing; // also the one marker of readiness
    RPC_BINDING_HANDLE agent;
    RPC_BINDING_HANDLE device;
};

// All null at load; only the RPC runtime writes the members, through their addresses,
// save that ORV_Discard clears a member whose release succeeded.
extern ServiceBindings serviceBindings;

} // namespace orv
