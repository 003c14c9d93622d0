#include "FakeClients.h"

#include <atomic>
#include <cstring>
#include <mutex>

namespace {

// Operations may run on several threads at once; the journal and the scripts are shared.
std::mutex journalLock;
std::atomic<FakeHook> hook{nullptr};

FakeCall journal[FAKE_MAX_CALLS];
int journalCount = 0;
ORV_STATUS statuses[FAKE_OP_COUNT];
unsigned char writes[FAKE_OP_COUNT][FAKE_MAX_BYTES];
size_t writeCounts[FAKE_OP_COUNT];

bool ValidOp(int op) { return op >= 0 && op < FAKE_OP_COUNT; }

} // namespace

extern "C" {

void FakeReset(void) {
    const std::lock_guard<std::mutex> guard(journalLock);
    hook = nullptr;
    journalCount = 0;
    std::memset(statuses, 0, sizeof statuses);
    std::memset(writeCounts, 0, sizeof writeCounts);
}

void FakeSetStatus(int op, ORV_STATUS status) {
    const std::lock_guard<std::mutex> guard(journalLock);
    if (ValidOp(op)) statuses[op] = status;
}

void FakeSetWrite(int op, const void* bytes, size_t count) {
    if (!ValidOp(op)) return;
    if (count > FAKE_MAX_BYTES) count = FAKE_MAX_BYTES;
    const std::lock_guard<std::mutex> guard(journalLock);
    std::memcpy(writes[op], bytes, count);
    writeCounts[op] = count;
}

void FakeSetHook(FakeHook h) {
    hook = h;
}

int FakeCallCount(void) {
    const std::lock_guard<std::mutex> guard(journalLock);
    return journalCount;
}

const FakeCall* FakeCallAt(int i) {
    const std::lock_guard<std::mutex> guard(journalLock);
    return (i >= 0 && i < journalCount) ? &journal[i] : nullptr;
}

const char* FakeOpName(int op) {
    static const char* const names[FAKE_OP_COUNT] = {
        "RoutingSkillAdd", "RoutingSkillRemove", "RoutingResourceRequest", "RoutingTargetFetch",
        "AgentSignIn",     "AgentSignOut",       "AgentDeviceQuery",       "AgentSkillAdd",
        "AgentSkillRemove", "DeviceSignIn",      "DeviceSignOut"};
    return ValidOp(op) ? names[op] : "?";
}

ORV_STATUS FakeRecord(int op, void* handle, const ORV_VALUE* values, int valueCount,
                      void* address, const void* bytes, size_t byteCount) {
    FakeCall call;
    std::memset(&call, 0, sizeof call);
    call.op = op;
    call.handle = handle;
    for (int i = 0; i < valueCount && i < 5; ++i) call.values[i] = values[i];
    call.valueCount = valueCount;
    call.address = address;
    if (byteCount > FAKE_MAX_BYTES) byteCount = FAKE_MAX_BYTES;
    if (bytes != nullptr) std::memcpy(call.bytes, bytes, byteCount);
    call.byteCount = byteCount;
    ORV_STATUS status = -1;
    {
        const std::lock_guard<std::mutex> guard(journalLock);
        if (journalCount < FAKE_MAX_CALLS) journal[journalCount++] = call;
        if (ValidOp(op) && address != nullptr && writeCounts[op] != 0) {
            std::memcpy(address, writes[op], writeCounts[op]);
        } else if (op == FAKE_AGENT_DEVICE_QUERY && address != nullptr) {
            // Unscripted, the query names the empty device, as the agent service always
            // writes an identifier: no uninitialised byte travels on to the device service.
            static_cast<char*>(address)[0] = '\0';
        }
        if (ValidOp(op)) status = statuses[op];
    }
    // Outside the lock, so that hooks of calls on other threads run at the same time.
    if (const FakeHook h = hook) h(&call, address);
    return status;
}

} // extern "C"
