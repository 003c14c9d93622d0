// The stand-in routing client library: its four operations, answered by the model.
#include "ClientLibraries.h"
#include "Model.h"

extern "C" {

ORV_STATUS ORV_CLIENT_CALL RoutingSkillAdd(RPC_BINDING_HANDLE routing, ORV_SKILL_RECORD* skill) {
    return ModelRoutingSkillAdd(routing, skill);
}

ORV_STATUS ORV_CLIENT_CALL RoutingSkillRemove(RPC_BINDING_HANDLE routing, ORV_SKILL_RECORD* skill) {
    return ModelRoutingSkillRemove(routing, skill);
}

ORV_STATUS ORV_CLIENT_CALL RoutingResourceRequest(RPC_BINDING_HANDLE routing, ORV_VALUE value1,
                                                  ORV_RESOURCE_REQUEST request, ORV_VALUE value2) {
    return ModelResourceRequest(routing, value1, &request, value2);
}

ORV_STATUS ORV_CLIENT_CALL RoutingTargetFetch(RPC_BINDING_HANDLE routing, ORV_VALUE value1,
                                              ORV_VALUE value2, ORV_VALUE value3) {
    return ModelTargetFetch(routing, value1, value2, value3);
}

} // extern "C"
