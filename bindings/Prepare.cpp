// ORV_Prepare and ORV_Discard: making and releasing the service bindings.
#include "BindingParts.h"
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
    orv::BindingParts parts;
    if (!orv::ChooseBindingParts(settings, loaded, networkAddress, &parts)) return ORV_E_CONFIG;

    if (RpcStringBindingComposeA(nullptr, AsRpcText(parts.protseq), AsRpcText(parts.address),
                                 AsRpcText(parts.endPoint), AsRpcText(parts.options),
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
