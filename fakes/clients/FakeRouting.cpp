// The routing client library's four operations, journaled.
#include "ClientLibraries.h"
#include "FakeClients.h"

extern "C" {

ORV_STATUS ORV_CLIENT_CALL RoutingSkillAdd(RPC_BINDING_HANDLE routing, ORV_SKILL_RECORD* skill) {
    return FakeRecord(FAKE_ROUTING_SKILL_ADD, routing, nullptr, 0, skill, skill,
                      skill ? sizeof *skill : 0);
}

ORV_STATUS ORV_CLIENT_CALL RoutingSkillRemove(RPC_BINDING_HANDLE routing,
                                              ORV_SKILL_RECORD* skill) {
    return FakeRecord(FAKE_ROUTING_SKILL_REMOVE, routing, nullptr, 0, skill, skill,
                      skill ? sizeof *skill : 0);
}

ORV_STATUS ORV_CLIENT_CALL RoutingResourceRequest(RPC_BINDING_HANDLE routing, ORV_VALUE value1,
                                                  ORV_RESOURCE_REQUEST request,
                                                  ORV_VALUE value2) {
    const ORV_VALUE values[] = {value1, value2};
    return FakeRecord(FAKE_ROUTING_RESOURCE, routing, values, 2, nullptr, &request,
                      sizeof request);
}

ORV_STATUS ORV_CLIENT_CALL RoutingTargetFetch(RPC_BINDING_HANDLE routing, ORV_VALUE value1,
                                              ORV_VALUE value2, ORV_VALUE value3) {
    const ORV_VALUE values[] = {value1, value2, value3};
    return FakeRecord(FAKE_ROUTING_TARGET_FETCH, routing, values, 3, nullptr, nullptr, 0);
}

} // extern "C"
