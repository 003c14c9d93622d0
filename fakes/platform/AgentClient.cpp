// The stand-in agent client library: its five operations, answered by the model.
#include "ClientLibraries.h"
#include "Model.h"

extern "C" {

ORV_STATUS ORV_CLIENT_CALL AgentSignIn(RPC_BINDING_HANDLE agentBinding, ORV_VALUE agent,
                                       ORV_VALUE device, ORV_VALUE extra1, ORV_VALUE extra2,
                                       ORV_VALUE extra3) {
    return ModelAgentSignIn(agentBinding, agent, device, extra1, extra2, extra3);
}

ORV_STATUS ORV_CLIENT_CALL AgentSignOut(RPC_BINDING_HANDLE agentBinding, ORV_VALUE agent) {
    return ModelAgentSignOut(agentBinding, agent);
}

ORV_STATUS ORV_CLIENT_CALL AgentDeviceQuery(RPC_BINDING_HANDLE agentBinding, ORV_VALUE agent,
                                            char* device) {
    return ModelAgentDeviceQuery(agentBinding, agent, device);
}

ORV_STATUS ORV_CLIENT_CALL AgentSkillAdd(RPC_BINDING_HANDLE agentBinding, ORV_SKILL_RECORD* skill) {
    return ModelAgentSkillAdd(agentBinding, skill);
}

ORV_STATUS ORV_CLIENT_CALL AgentSkillRemove(RPC_BINDING_HANDLE agentBinding,
                                            ORV_SKILL_RECORD* skill) {
    return ModelAgentSkillRemove(agentBinding, skill);
}

} // extern "C"
