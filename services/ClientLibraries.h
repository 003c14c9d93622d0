// The operations of the three closed client libraries that Orvane calls. On Windows they
// are imported by ordinal only (see the .def files beside this header); natively a fake
// library provides them by name. Every operation is stdcall, takes the matching binding
// handle by value first, and returns a 32-bit status, 0 for success.
#pragma once

#include <cstdint>

#include "Orvane.h"
#include "Platform.h"

#if defined(_WIN32) && !defined(_WIN64)
#define ORV_CLIENT_CALL __stdcall
#else
#define ORV_CLIENT_CALL
#endif

#ifndef ORV_CLIENT_API
#ifdef _WIN32
#define ORV_CLIENT_API __declspec(dllimport)
#else
#define ORV_CLIENT_API
#endif
#endif

extern "C" {

// Routing client library: ordinals 28, 29, 31, 32.
ORV_CLIENT_API ORV_STATUS ORV_CLIENT_CALL RoutingSkillAdd(RPC_BINDING_HANDLE routing,
                                                          ORV_SKILL_RECORD* skill);
ORV_CLIENT_API ORV_STATUS ORV_CLIENT_CALL RoutingSkillRemove(RPC_BINDING_HANDLE routing,
                                                             ORV_SKILL_RECORD* skill);
ORV_CLIENT_API ORV_STATUS ORV_CLIENT_CALL RoutingResourceRequest(RPC_BINDING_HANDLE routing,
                                                                 ORV_VALUE value1,
                                                                 ORV_RESOURCE_REQUEST request,
                                                                 ORV_VALUE value2);
ORV_CLIENT_API ORV_STATUS ORV_CLIENT_CALL RoutingTargetFetch(RPC_BINDING_HANDLE routing,
                                                             ORV_VALUE value1, ORV_VALUE value2,
                                                             ORV_VALUE value3);

// Agent client library: ordinals 3, 4, 18, 21, 22.
ORV_CLIENT_API ORV_STATUS ORV_CLIENT_CALL AgentSignIn(RPC_BINDING_HANDLE agentBinding,
                                                      ORV_VALUE agent, ORV_VALUE device,
                                                      ORV_VALUE extra1, ORV_VALUE extra2,
                                                      ORV_VALUE extra3);
ORV_CLIENT_API ORV_STATUS ORV_CLIENT_CALL AgentSignOut(RPC_BINDING_HANDLE agentBinding,
                                                       ORV_VALUE agent);
// Fills the 16-byte buffer with the agent's device identifier.
ORV_CLIENT_API ORV_STATUS ORV_CLIENT_CALL AgentDeviceQuery(RPC_BINDING_HANDLE agentBinding,
                                                           ORV_VALUE agent, char* device);
ORV_CLIENT_API ORV_STATUS ORV_CLIENT_CALL AgentSkillAdd(RPC_BINDING_HANDLE agentBinding,
                                                        ORV_SKILL_RECORD* skill);
ORV_CLIENT_API ORV_STATUS ORV_CLIENT_CALL AgentSkillRemove(RPC_BINDING_HANDLE agentBinding,
                                                           ORV_SKILL_RECORD* skill);

// Device client library: ordinals 27, 28.
ORV_CLIENT_API ORV_STATUS ORV_CLIENT_CALL DeviceSignIn(RPC_BINDING_HANDLE deviceBinding,
                                                       ORV_VALUE device);
ORV_CLIENT_API ORV_STATUS ORV_CLIENT_CALL DeviceSignOut(RPC_BINDING_HANDLE deviceBinding,
                                                        const char* device);
}

// The size of the device identifier buffer of the device query.
constexpr int kDeviceIdSize = 16;
