#include "TestEnvironment.h"

#include <cstdio>
#include <cstdlib>

#include "Platform.h"

#ifndef _WIN32
#include "rpc/RpcStandin.h"
#endif

namespace orvtest {

const char kTcpConfig[] = "[RPC]\n"
                          "protseq=ncacn_ip_tcp\n"
                          "QORServer=qor-main\n"
                          "UseEndPoint=yes\n"
                          "EndPoint=5150\n"
                          "[ncacn_http]\n"
                          "UseHttpProxy=no\n"
                          "RpcProxy=rpc-gate\n";

const char kHttpConfig[] = "[RPC]\n"
                           "protseq=ncacn_http\n"
                           "QORServer=qor-main\n"
                           "UseEndPoint=yes\n"
                           "EndPoint=5151\n"
                           "[ncacn_http]\n"
                           "UseHttpProxy=yes\n"
                           "HttpProxy=web-proxy:8080\n"
                           "RpcProxy=rpc-gate:443\n";

std::string ConfigDirectory() {
#ifdef _WIN32
    char dir[MAX_PATH];
    const UINT n = GetWindowsDirectoryA(dir, MAX_PATH);
    return std::string(dir, n);
#else
    const char* dir = std::getenv("ORVANE_WINDIR");
    return dir != nullptr ? dir : ".";
#endif
}

std::string InConfigDirectory(const char* name) {
#ifdef _WIN32
    return ConfigDirectory() + "\\" + name;
#else
    return ConfigDirectory() + "/" + name;
#endif
}

void WriteConfigFile(const char* name, const std::string& text) {
    FILE* f = std::fopen(InConfigDirectory(name).c_str(), "wb");
    if (f == nullptr) {
        std::fprintf(stderr, "cannot write %s\n", InConfigDirectory(name).c_str());
        std::abort();
    }
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
#ifdef _WIN32
    // The profile functions may keep a parsed copy of a file; this drops it.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, name);
#endif
}

void RemoveConfigFile(const char* name) {
    std::remove(InConfigDirectory(name).c_str());
#ifdef _WIN32
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, name);
#endif
}

void ResetBindingsAndFakes() {
    ORV_Prepare("127.0.0.1", 0);
    ORV_Discard();
#ifndef _WIN32
    standin::rpc::Reset();
#endif
    FakeReset();
}

std::string BindingText(void* handle) {
    RPC_CSTR text = nullptr;
    if (RpcBindingToStringBindingA(handle, &text) != RPC_S_OK) return "<no binding>";
    std::string result = reinterpret_cast<const char*>(text);
    RpcStringFreeA(&text);
    return result;
}

bool LastPreparedHandles(Handles* handles) {
#ifdef _WIN32
    (void)handles;
    return false;
#else
    void* made[3] = {};
    int found = 0;
    const auto& journal = standin::rpc::Journal();
    for (auto it = journal.rbegin(); it != journal.rend() && found < 3; ++it) {
        if (it->op != standin::rpc::Op::FromString || it->result != RPC_S_OK) continue;
        made[2 - found++] = const_cast<void*>(it->made);
    }
    if (found != 3) return false;
    *handles = Handles{made[0], made[1], made[2]};
    return true;
#endif
}

void FillPattern(unsigned char* bytes, std::size_t count, unsigned char seed) {
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<unsigned char>(seed + i * 7);
}

std::string JournalText() {
    std::string text;
    for (int i = 0; i < FakeCallCount(); ++i) {
        const FakeCall* call = FakeCallAt(i);
        text += FakeOpName(call->op);
        text += "(";
        for (int v = 0; v < call->valueCount; ++v) {
            if (v != 0) text += ",";
            text += std::to_string(static_cast<unsigned long long>(call->values[v]));
        }
        text += ")\n";
    }
    return text;
}

} // namespace orvtest
