// The stand-in platform: a small stateful model of the routing, agent and device services,
// for running a host offline. It is no part of Orvane and shares nothing with the
// recording fakes in fakes/clients: the three client libraries of this directory forward
// each of their eleven operations to the function of the same role below.
//
// The model is read from the text file that $ORVANE_PLATFORM_MODEL names (else
// "platform.model" in the current directory) at the first call, and lives as long as the
// process. Values the stand-in gives meaning to:
//   agent, device         numbers, as the model file lists them
//   skill record          text up to its first zero byte: "AGENT SKILL", e.g. "7 sales"
//   request block         text up to its first zero byte: the skill wanted, e.g. "sales"
//   request value1        the request's number; value2 is not looked at
//   fetch value1          the number of a pending request
//   fetch value2, value3  address of the buffer that receives the target as text, and its
//                         size (0 means 16); value2 0 means no buffer
#pragma once

#include "Orvane.h"

#ifndef MODEL_API
#ifdef _WIN32
#define MODEL_API __declspec(dllimport)
#else
#define MODEL_API
#endif
#endif

#ifdef __cplusplus
extern "C" {
#endif

MODEL_API ORV_STATUS ModelRoutingSkillAdd(const void* binding, const ORV_SKILL_RECORD* skill);
MODEL_API ORV_STATUS ModelRoutingSkillRemove(const void* binding, const ORV_SKILL_RECORD* skill);
MODEL_API ORV_STATUS ModelResourceRequest(const void* binding, ORV_VALUE value1,
                                          const ORV_RESOURCE_REQUEST* request, ORV_VALUE value2);
MODEL_API ORV_STATUS ModelTargetFetch(const void* binding, ORV_VALUE value1, ORV_VALUE value2,
                                      ORV_VALUE value3);

MODEL_API ORV_STATUS ModelAgentSignIn(const void* binding, ORV_VALUE agent, ORV_VALUE device,
                                      ORV_VALUE extra1, ORV_VALUE extra2, ORV_VALUE extra3);
MODEL_API ORV_STATUS ModelAgentSignOut(const void* binding, ORV_VALUE agent);
MODEL_API ORV_STATUS ModelAgentDeviceQuery(const void* binding, ORV_VALUE agent, char* device);
MODEL_API ORV_STATUS ModelAgentSkillAdd(const void* binding, const ORV_SKILL_RECORD* skill);
MODEL_API ORV_STATUS ModelAgentSkillRemove(const void* binding, const ORV_SKILL_RECORD* skill);

MODEL_API ORV_STATUS ModelDeviceSignIn(const void* binding, ORV_VALUE device);
MODEL_API ORV_STATUS ModelDeviceSignOut(const void* binding, const char* device);

#ifdef __cplusplus
}
#endif
