// The stand-in device client library: its two operations, answered by the model.
#include "ClientLibraries.h"
#include "Model.h"

extern "C" {

ORV_STATUS ORV_CLIENT_CALL DeviceSignIn(RPC_BINDING_HANDLE deviceBinding, ORV_VALUE device) {
    return ModelDeviceSignIn(deviceBinding, device);
}

ORV_STATUS ORV_CLIENT_CALL DeviceSignOut(RPC_BINDING_HANDLE deviceBinding, const char* device) {
    return ModelDeviceSignOut(deviceBinding, device);
}

} // extern "C"
