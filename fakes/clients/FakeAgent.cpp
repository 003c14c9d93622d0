// The agent client library's five operations, journaled.
#include "ClientLibraries.h"
#include "FakeClients.h"

extern "C" {

ORV_STATUS ORV_CLIENT_CALL AgentSignIn(RPC_BINDING_HANDLE agentBinding, ORV_VALUE agent,
                                       ORV_VALUE device, ORV_VALUE extra1, ORV_VALUE extra2,
                                       ORV_VALUE extra3) {
    const ORV_VALUE values[] = {agent, device, extra1, extra2, extra3};
    return FakeRecord(FAKE_AGENT_SIGN_IN, agentBinding, values, 5, nullptr, nullptr, 0);
}

ORV_STATUS ORV_CLIENT_CALL AgentSignOut(RPC_BINDING_HANDLE agentBinding, ORV_VALUE agent) {
    return FakeRecord(FAKE_AGENT_SIGN_OUT, agentBinding, &agent, 1, nullptr, nullptr, 0);
}

ORV_STATUS ORV_CLIENT_CALL AgentDeviceQuery(RPC_BINDING_HANDLE agentBinding, ORV_VALUE agent,
                                            char* device) {
    return FakeRecord(FAKE_AGENT_DEVICE_QUERY, agentBinding, &agent, 1, device, device,
                      kDeviceIdSize);
}

ORV_STATUS ORV_CLIENT_CALL AgentSkillAdd(RPC_BINDING_HANDLE agentBinding, ORV_SKILL_RECORD* skill) {
    return FakeRecord(FAKE_AGENT_SKILL_ADD, agentBinding, nullptr, 0, skill, skill, sizeof *skill);
}

ORV_STATUS ORV_CLIENT_CALL AgentSkillRemove(RPC_BINDING_HANDLE agentBinding,
                                            ORV_SKILL_RECORD* skill) {
    return FakeRecord(FAKE_AGENT_SKILL_REMOVE, agentBinding, nullptr, 0, skill, skill,
                      sizeof *skill);
}

} // extern "C"
