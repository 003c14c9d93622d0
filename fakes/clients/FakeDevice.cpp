// The device client library's two operations, journaled.
#include "ClientLibraries.h"
#include "FakeClients.h"

#include <cstring>

extern "C" {

ORV_STATUS ORV_CLIENT_CALL DeviceSignIn(RPC_BINDING_HANDLE deviceBinding, ORV_VALUE device) {
    return FakeRecord(FAKE_DEVICE_SIGN_IN, deviceBinding, &device, 1, nullptr, nullptr, 0);
}

ORV_STATUS ORV_CLIENT_CALL DeviceSignOut(RPC_BINDING_HANDLE deviceBinding, const char* device) {
    // The text as received, up to and including its terminator within 16 bytes.
    const size_t n = device ? strnlen(device, kDeviceIdSize) : 0;
    return FakeRecord(FAKE_DEVICE_SIGN_OUT, deviceBinding, nullptr, 0, const_cast<char*>(device),
                      device, n < kDeviceIdSize ? n + 1 : n);
}

} // extern "C"
