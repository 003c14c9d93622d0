// Counts the instructions of one call of each export and of the same client calls made
// directly. Run under valgrind --tool=callgrind --collect-atstart=no (bench/callgrind.sh):
// each measured call is bracketed by collection toggles and followed by a dump whose
// name is "<export> <side>", or "profile <bytes>" for one read by the profile reader
// stand-in of a file of that size.
#include <valgrind/callgrind.h>

#include <stdlib.h>

#include <cstdio>
#include <string>

#include "BenchFiles.h"
#include "TestEnvironment.h"
#include "FakeClients.h"
#include "Forwarding.h"
#include "Orvane.h"
#include "Platform.h"
#include "Preparation.h"
#include "rpc/RpcStandin.h"

using namespace orvbench;

namespace {

void Dump(const std::string& name) {
    CALLGRIND_DUMP_STATS_AT(name.c_str());
}

void Measure(const char* name, const char* side, Batch batch) {
    batch(1); // first calls bind symbols and touch memory: no part of a call's cost
    ResetFakes();
    CALLGRIND_TOGGLE_COLLECT;
    batch(1);
    CALLGRIND_TOGGLE_COLLECT;
    Dump(std::string(name) + " " + side);
}

bool MeasurePrepare() {
    // One of each first, for the same reason, and so that the runtime stand-in's journal
    // has room: its growth would otherwise count against whichever side ran first.
    if (!PrepareByParts() || ORV_Prepare(nullptr, 0) != 0) return false;
    ReleaseParts();
    ORV_Discard();
    standin::rpc::Reset();

    CALLGRIND_TOGGLE_COLLECT;
    const bool parts = PrepareByParts();
    CALLGRIND_TOGGLE_COLLECT;
    Dump("ORV_Prepare direct");
    ReleaseParts();
    standin::rpc::Reset();

    CALLGRIND_TOGGLE_COLLECT;
    const ORV_STATUS status = ORV_Prepare(nullptr, 0);
    CALLGRIND_TOGGLE_COLLECT;
    Dump("ORV_Prepare export");
    ORV_Discard();
    return parts && status == 0;
}

// Instructions grow with the work done, not with the caches or the load: a reader that
// is linear in the file's size shows the same count per byte at every size.
bool MeasureProfileReads() {
    for (std::size_t bytes : {1000, 10000, 100000, 1000000, 10000000}) {
        const std::string name = "profile-" + std::to_string(bytes);
        const std::string path = orvtest::InConfigDirectory(name.c_str());
        orvtest::WriteConfigFile(name.c_str(), MakeSampleProfile(bytes));
        char value[64] = "";
        GetPrivateProfileStringA(kSampleSection, kSampleKey, "", value, sizeof value, path.c_str());
        CALLGRIND_TOGGLE_COLLECT;
        GetPrivateProfileStringA(kSampleSection, kSampleKey, "", value, sizeof value, path.c_str());
        CALLGRIND_TOGGLE_COLLECT;
        Dump("profile " + std::to_string(bytes));
        if (std::string(value) != kSampleValue) return false;
    }
    return true;
}

} // namespace

int main() {
    char dir[] = "/tmp/orvane-callgrind-XXXXXX";
    if (mkdtemp(dir) == nullptr) return 2;
    setenv("ORVANE_WINDIR", dir, 1);
    WriteFullConfig();

    bool ok = PrepareLibrary();
    for (const ForwardingCase& c : ForwardingCases()) {
        if (!ok) break;
        Measure(c.name, "direct", c.direct);
        if (c.directWithCopy != nullptr) Measure(c.name, "copy", c.directWithCopy);
        Measure(c.name, "export", c.viaExport);
    }
    ok = ok && MeasurePrepare();
    ok = ok && MeasureProfileReads();

    std::system((std::string("rm -rf ") + dir).c_str());
    if (!ok) std::fprintf(stderr, "callgrind probe: a measured call failed\n");
    return ok ? 0 : 2;
}
