#include "Preparation.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "TestEnvironment.h"
#include "ConfigReader.h"
#include "Forwarding.h"
#include "Orvane.h"
#include "Platform.h"

#ifndef _WIN32
#include "rpc/RpcStandin.h"
#endif

namespace orvbench {

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "bench: %s\n", what);
    std::exit(2);
}

// What a preparation by parts made, until it is released.
struct Made {
    RPC_CSTR text;
    RPC_BINDING_HANDLE handles[3];
} made;

RPC_CSTR AsRpcText(char* text) {
    return reinterpret_cast<RPC_CSTR>(text);
}

DWORD Read(const char* section, const char* key, char* buffer, DWORD size) {
    return GetPrivateProfileStringA(section, key, "", buffer, size, orv::kConfigFileName);
}

} // namespace

// The least a host would do by hand for the same binding.
bool PrepareByParts() {
    char protseq[orv::kTextSize], server[orv::kTextSize], useEndPoint[32];
    char endPoint[orv::kTextSize], useHttpProxy[32], httpProxy[orv::kTextSize];
    char rpcProxy[orv::kTextSize], options[orv::kOptionsSize];
    const bool read = Read("RPC", "protseq", protseq, sizeof protseq) != 0 &&
                      Read("RPC", "QORServer", server, sizeof server) != 0 &&
                      Read("RPC", "UseEndPoint", useEndPoint, sizeof useEndPoint) != 0 &&
                      Read("RPC", "EndPoint", endPoint, sizeof endPoint) != 0 &&
                      Read("ncacn_http", "UseHttpProxy", useHttpProxy, sizeof useHttpProxy) != 0 &&
                      Read("ncacn_http", "HttpProxy", httpProxy, sizeof httpProxy) != 0 &&
                      Read("ncacn_http", "RpcProxy", rpcProxy, sizeof rpcProxy) != 0;
    if (!read) return false;
    std::strcpy(options, "HttpProxy=");
    std::strcat(options, httpProxy);
    std::strcat(options, ",RpcProxy=");
    std::strcat(options, rpcProxy);
    char http[] = "ncacn_http";
    if (RpcStringBindingComposeA(nullptr, AsRpcText(http), AsRpcText(server), AsRpcText(endPoint),
                                 AsRpcText(options), &made.text) != RPC_S_OK)
        return false;
    for (RPC_BINDING_HANDLE& handle : made.handles)
        if (RpcBindingFromStringBindingA(made.text, &handle) != RPC_S_OK) return false;
    return true;
}

void ReleaseParts() {
    RpcStringFreeA(&made.text);
    for (RPC_BINDING_HANDLE& handle : made.handles)
        RpcBindingFree(&handle);
    made = Made{};
}

namespace {

std::string BindingText(RPC_BINDING_HANDLE handle) {
    RPC_CSTR text = nullptr;
    if (RpcBindingToStringBindingA(handle, &text) != RPC_S_OK) return {};
    std::string result = reinterpret_cast<const char*>(text);
    RpcStringFreeA(&text);
    return result;
}

// The parts must make the very binding ORV_Prepare makes, or the two sides do different work.
void CheckSameBinding() {
    if (!PrepareByParts()) Fail("preparing by parts failed");
    const std::string parts = BindingText(made.handles[0]);
    ReleaseParts();
    if (!PrepareLibrary()) Fail("ORV_Prepare failed");
    const std::string library = BindingText(LibraryRoutingHandle());
    ORV_Discard();
    if (parts.empty() || parts != library) Fail("the parts make another binding than ORV_Prepare");
}

double PartsNs() {
    const auto start = std::chrono::steady_clock::now();
    const bool ok = PrepareByParts();
    const auto stop = std::chrono::steady_clock::now();
    if (!ok) Fail("preparing by parts failed");
    ReleaseParts();
    return std::chrono::duration<double, std::nano>(stop - start).count();
}

double ExportNs() {
    const auto start = std::chrono::steady_clock::now();
    const ORV_STATUS status = ORV_Prepare(nullptr, 0);
    const auto stop = std::chrono::steady_clock::now();
    if (status != 0) Fail("ORV_Prepare failed");
    if (ORV_Discard() != 0) Fail("ORV_Discard failed");
    return std::chrono::duration<double, std::nano>(stop - start).count();
}

} // namespace

void WriteFullConfig() {
    orvtest::WriteConfigFile(orv::kConfigFileName, orvtest::kHttpConfig);
}

PrepareRound RunPrepareRound(int roundIndex) {
    if (roundIndex == 0) CheckSameBinding();
    PrepareRound r{0, 0};
    if (roundIndex % 2 == 0) {
        r.partsNs = PartsNs();
        r.exportNs = ExportNs();
    } else {
        r.exportNs = ExportNs();
        r.partsNs = PartsNs();
    }
#ifndef _WIN32
    standin::rpc::Reset(); // the runtime stand-in journals every call: keep it small
#endif
    return r;
}

} // namespace orvbench
