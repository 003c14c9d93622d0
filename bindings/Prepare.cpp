// ORV_Prepare and ORV_Discard: making and releasing the service bindings.
#include "ConfigReader.h"
#include "ConnectionSettings.h"
#include "ServiceBindings.h"

#include <cstring>
#include <initializer_list>

using orv::serviceBindings;

namespace {

RPC_CSTR AsRpcText(const char* text) {
    return reinterpret_cast<RPC_CSTR>(const_cast<char*>(text));
}

} // namespace

extern "C" ORV_STATUS ORV_CALL ORV_Prepare(const char* networkAddress, ORV_VALUE /*reserved*/) {
    orv::ConfigReader reader(orv::kConfigFileName);
    orv::ConnectionSettings settings;
    std::memset(&settings, 0, sizeof settings);

    const bool loaded = reader.LoadSettings(&settings) == 0;
    const bool addressGiven = networkAddress != nullptr && networkAddress[0] != '\0';
    if (!loaded && !addressGiven) return ORV_E_CONFIG;

    // After a failed load only the endpoint counts: the binding is plain TCP.
    const bool http = loaded && settings.transport == orv::TransportKind::Http;
    const char* protseq = http ? "ncacn_http" : "ncacn_ip_tcp";
    const char* address = addressGiven ? networkAddress : settings.server;
    const char* options = http ? settings.options : nullptr;

    if (RpcStringBindingComposeA(nullptr, AsRpcText(protseq), AsRpcText(address),
                                 AsRpcText(settings.endPoint), AsRpcText(options),
                                 &serviceBindings.stringBinding) != RPC_S_OK)
        return ORV_E_BINDING;
    // Each call yields a handle of its own, released independently.
    for (RPC_BINDING_HANDLE* handle :
         {&serviceBindings.routing, &serviceBindings.agent, &serviceBindings.device}) {
        if (RpcBindingFromStringBindingA(serviceBindings.stringBinding, handle) != RPC_S_OK)
            return ORV_E_BINDING;
    }
    return 0;
}

extern "C" std::int32_t ORV_CALL ORV_Discard(void) {
    // A released member is cleared here too: some runtimes leave the freed pointer in
    // the variable, and a second discard must never release the same text twice.
    if (RpcStringFreeA(&serviceBindings.stringBinding) != RPC_S_OK) return 1;
    serviceBindings.stringBinding = nullptr;
    for (RPC_BINDING_HANDLE* handle :
         {&serviceBindings.routing, &serviceBindings.agent, &serviceBindings.device}) {
        if (RpcBindingFree(handle) != RPC_S_OK) return 1;
        *handle = nullptr;
    }
    return 0;
}
