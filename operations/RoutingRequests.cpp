// ORV_RequestResource, ORV_FetchTarget and ORV_FetchTargetEx: one routing call each.
#include "ClientLibraries.h"
#include "ServiceBindings.h"

using orv::serviceBindings;

// The routing handle is read once: the value that passed the readiness test is the
// value handed on.
extern "C" ORV_STATUS ORV_CALL ORV_RequestResource(ORV_VALUE value1, ORV_RESOURCE_REQUEST request,
                                                   ORV_VALUE value2) {
    const RPC_BINDING_HANDLE routing = serviceBindings.routing;
    if (routing == nullptr) return ORV_E_NOT_PREPARED;
    return RoutingResourceRequest(routing, value1, request, value2);
}

extern "C" ORV_STATUS ORV_CALL ORV_FetchTargetEx(ORV_VALUE value1, ORV_VALUE value2,
                                                 ORV_VALUE value3) {
    const RPC_BINDING_HANDLE routing = serviceBindings.routing;
    if (routing == nullptr) return ORV_E_NOT_PREPARED;
    return RoutingTargetFetch(routing, value1, value2, value3);
}

extern "C" ORV_STATUS ORV_CALL ORV_FetchTarget(ORV_VALUE value1, ORV_VALUE value2) {
    return ORV_FetchTargetEx(value1, value2, 0);
}
