// ORV_AddSkill and ORV_RemoveSkill: the routing step, then the agent step, and the
// routing step undone when the agent service refuses.
#include "ClientLibraries.h"
#include "ServiceBindings.h"

#include <cstring>

using orv::serviceBindings;

namespace {

using SkillStep = ORV_STATUS(ORV_CLIENT_CALL*)(RPC_BINDING_HANDLE, ORV_SKILL_RECORD*);

ORV_STATUS ChangeSkill(ORV_SKILL_RECORD* skill, SkillStep routingStep, SkillStep agentStep,
                       SkillStep routingUndo) {
    // A half-failed preparation may leave the agent handle missing: refuse rather than
    // hand a null handle to the agent client library.
    if (serviceBindings.routing == nullptr || serviceBindings.agent == nullptr)
        return ORV_E_NOT_PREPARED;
    if (skill == nullptr) return ORV_E_INVALID_ARG;

    // The agent service sees the record as it stood on entry, and what it writes into
    // its copy never reaches the host's record.
    ORV_SKILL_RECORD copy;
    std::memcpy(&copy, skill, sizeof copy);

    const ORV_STATUS routed = routingStep(serviceBindings.routing, skill);
    if (routed != 0) return routed;
    const ORV_STATUS agentStatus = agentStep(serviceBindings.agent, &copy);
    if (agentStatus != 0) routingUndo(serviceBindings.routing, skill); // its result is not ours
    return agentStatus;
}

} // namespace

extern "C" ORV_STATUS ORV_CALL ORV_AddSkill(ORV_SKILL_RECORD* skill) {
    return ChangeSkill(skill, RoutingSkillAdd, AgentSkillAdd, RoutingSkillRemove);
}

extern "C" ORV_STATUS ORV_CALL ORV_RemoveSkill(ORV_SKILL_RECORD* skill) {
    return ChangeSkill(skill, RoutingSkillRemove, AgentSkillRemove, RoutingSkillAdd);
}
