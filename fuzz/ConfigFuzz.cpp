// libFuzzer target over the configuration path: arbitrary bytes as the configuration file,
// loaded by a ConfigReader into a record of its exact size on the heap, then prepared and
// discarded by the library over the native stand-ins. Besides what AddressSanitizer and
// UndefinedBehaviorSanitizer find, every invariant the library documents is checked, and a
// broken one aborts with a message.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

#include "ConfigReader.h"
#include "Orvane.h"
#include "rpc/RpcStandin.h"

namespace {

using orv::ConnectionSettings;
using orv::TransportKind;
namespace rpc = standin::rpc;

std::string windir;
std::string iniPath;

void RemoveWindir() {
    std::remove(iniPath.c_str());
    rmdir(windir.c_str());
}

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

bool Terminated(const char* field, std::size_t size) {
    return std::memchr(field, '\0', size) != nullptr;
}

std::string Read(orv::ConfigReader& reader,
                 int (orv::ConfigReader::*read)(char*, const std::int32_t*)) {
    char buffer[orv::kTextSize];
    const std::int32_t capacity = sizeof buffer;
    (reader.*read)(buffer, &capacity);
    Check(Terminated(buffer, sizeof buffer), "a read value runs to the end of its buffer");
    return buffer;
}

// What a load that returned 0 must have put into the record, against the keys read alone.
void CheckLoaded(const ConnectionSettings& s, orv::ConfigReader& reader) {
    Check(s.transport == TransportKind::Http || s.transport == TransportKind::Tcp ||
              s.transport == TransportKind::Unrecognised,
          "transport is none of the three kinds");
    Check(s.useEndPoint <= 1 && s.useHttpProxy <= 1, "a flag is neither 0 nor 1");
    const std::size_t server = std::strlen(s.server);
    Check(server >= 1 && server <= 255, "server is not 1 to 255 characters");
    Check(s.server == Read(reader, &orv::ConfigReader::ReadServer),
          "server is not its key's value");
    if (s.useEndPoint == 1) {
        Check(s.endPoint == Read(reader, &orv::ConfigReader::ReadEndPoint),
              "endPoint is not its key's value");
        Check(s.endPoint[0] != '\0', "endPoint is empty although wanted");
    } else {
        Check(s.endPoint[0] == '\0', "endPoint is set although not wanted");
    }
    std::string options;
    if (s.useHttpProxy == 1)
        options = "HttpProxy=" + Read(reader, &orv::ConfigReader::ReadHttpProxy) + ",";
    options += "RpcProxy=" + Read(reader, &orv::ConfigReader::ReadRpcProxy);
    Check(s.options == options, "options are not composed from the proxy keys");
}

// The parts the last compose received, against the record the same file loads into.
void CheckComposed(const ConnectionSettings& s, bool loaded, const char* address) {
    const auto& journal = rpc::Journal();
    Check(!journal.empty() && journal[0].op == rpc::Op::Compose, "no compose");
    const rpc::Call& c = journal[0];
    const bool http = loaded && s.transport == TransportKind::Http;
    Check(c.uuid.isNull, "an object UUID was passed");
    Check(c.protseq.text == (http ? "ncacn_http" : "ncacn_ip_tcp"), "wrong protocol sequence");
    Check(c.address.text == (address != nullptr ? address : s.server), "wrong network address");
    Check(!c.endpoint.isNull && c.endpoint.text == s.endPoint, "wrong endpoint");
    Check(http ? (!c.options.isNull && c.options.text == s.options) : c.options.isNull,
          "wrong options");
}

// One preparation and its discard: documented results, and every object the runtime made
// released exactly once.
void PrepareAndDiscard(const ConnectionSettings& s, bool loaded, const char* address) {
    rpc::Reset();
    const int bad = rpc::BadReleases();
    const int live = rpc::LiveStrings() + rpc::LiveHandles();
    const ORV_STATUS prepared = ORV_Prepare(address, 0);
    Check(prepared == 0 || prepared == ORV_E_CONFIG || prepared == ORV_E_BINDING,
          "ORV_Prepare returned an undocumented status");
    Check((prepared == ORV_E_CONFIG) == (!loaded && address == nullptr),
          "ORV_E_CONFIG does not match a failed load without an address");
    if (prepared == 0) CheckComposed(s, loaded, address);
    const std::int32_t discarded = ORV_Discard();
    if (prepared == 0) Check(discarded == 0, "the discard after a preparation failed");
    if (prepared == ORV_E_CONFIG) Check(discarded == 1, "a discard with nothing prepared passed");
    Check(rpc::BadReleases() == bad, "something was released twice");
    Check(rpc::LiveStrings() + rpc::LiveHandles() == live, "something made was not released");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A Windows directory of the run's own, like the test programs'.
    char dir[] = "/tmp/orvane-fuzz-XXXXXX";
    if (mkdtemp(dir) == nullptr) std::abort();
    setenv("ORVANE_WINDIR", dir, 1);
    windir = dir;
    iniPath = windir + "/" + orv::kConfigFileName;
    std::atexit(RemoveWindir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A new file each time: rewriting one in place makes some file systems flush it on close.
    std::remove(iniPath.c_str());
    FILE* f = std::fopen(iniPath.c_str(), "wb");
    if (f == nullptr) std::abort();
    if (size != 0 && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);

    auto* s = static_cast<ConnectionSettings*>(std::calloc(1, sizeof(ConnectionSettings)));
    orv::ConfigReader reader(orv::kConfigFileName);
    const int load = reader.LoadSettings(s);
    Check(load == 0 || load == -1, "LoadSettings returned neither 0 nor -1");
    Check(Terminated(s->server, sizeof s->server), "server runs to the end of its field");
    Check(Terminated(s->endPoint, sizeof s->endPoint), "endPoint runs to the end of its field");
    Check(Terminated(s->options, sizeof s->options), "options run to the end of their field");
    if (load == 0) CheckLoaded(*s, reader);

    PrepareAndDiscard(*s, load == 0, nullptr);
    PrepareAndDiscard(*s, load == 0, "fuzz-host");
    std::free(s);
    return 0;
}
