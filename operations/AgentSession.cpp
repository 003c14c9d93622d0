// ORV_LoginAgent and ORV_LogoutAgent: device and agent sign-in, and the reverse.
#include "ClientLibraries.h"
#include "ServiceBindings.h"

using orv::serviceBindings;

extern "C" ORV_STATUS ORV_CALL ORV_LoginAgent(ORV_VALUE agent, ORV_VALUE device, ORV_VALUE extra1,
                                              ORV_VALUE extra2, ORV_VALUE extra3) {
    // The routing handle marks readiness; after a half-failed preparation the handles
    // passed on may still be missing, and a client library never receives a null one.
    if (serviceBindings.routing == nullptr || serviceBindings.device == nullptr ||
        serviceBindings.agent == nullptr)
        return ORV_E_NOT_PREPARED;

    const ORV_STATUS status = DeviceSignIn(serviceBindings.device, device);
    if (status != 0) return status;
    // A refused agent sign-in leaves the device signed in: nothing is undone.
    return AgentSignIn(serviceBindings.agent, agent, device, extra1, extra2, extra3);
}

extern "C" ORV_STATUS ORV_CALL ORV_LogoutAgent(ORV_VALUE agent) {
    if (serviceBindings.routing == nullptr || serviceBindings.agent == nullptr ||
        serviceBindings.device == nullptr)
        return ORV_E_NOT_PREPARED;

    char device[kDeviceIdSize];
    ORV_STATUS status = AgentDeviceQuery(serviceBindings.agent, agent, device);
    if (status != 0) return status;
    // The service may fill all 16 bytes; the device service gets at most 15 characters.
    device[kDeviceIdSize - 1] = '\0';

    status = AgentSignOut(serviceBindings.agent, agent);
    if (status != 0) return status;
    return DeviceSignOut(serviceBindings.device, device);
}
