#include "FakeClients.h"

#include <cstring>

namespace {

FakeCall journal[FAKE_MAX_CALLS];
int journalCount = 0;
ORV_STATUS statuses[FAKE_OP_COUNT];
unsigned char writes[FAKE_OP_COUNT][FAKE_MAX_BYTES];
size_t writeCounts[FAKE_OP_COUNT];

bool ValidOp(int op) { return op >= 0 && op < FAKE_OP_COUNT; }

} // namespace

extern "C" {

void FakeReset(void) {
    journalCount = 0;
    std::memset(statuses, 0, sizeof statuses);
    std::memset(writeCounts, 0, sizeof writeCounts);
}

void FakeSetStatus(int op, ORV_STATUS status) {
    if (ValidOp(op)) statuses[op] = status;
}

void FakeSetWrite(int op, const void* bytes, size_t count) {
    if (!ValidOp(op)) return;
    if (count > FAKE_MAX_BYTES) count = FAKE_MAX_BYTES;
    std::memcpy(writes[op], bytes, count);
    writeCounts[op] = count;
}

int FakeCallCount(void) { return journalCount; }

const FakeCall* FakeCallAt(int i) {
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
    if (journalCount < FAKE_MAX_CALLS) {
        FakeCall& call = journal[journalCount++];
        std::memset(&call, 0, sizeof call);
        call.op = op;
        call.handle = handle;
        for (int i = 0; i < valueCount && i < 5; ++i) call.values[i] = values[i];
        call.valueCount = valueCount;
        call.address = address;
        if (byteCount > FAKE_MAX_BYTES) byteCount = FAKE_MAX_BYTES;
        if (bytes != nullptr) std::memcpy(call.bytes, bytes, byteCount);
        call.byteCount = byteCount;
    }
    if (ValidOp(op) && address != nullptr && writeCounts[op] != 0)
        std::memcpy(address, writes[op], writeCounts[op]);
    return ValidOp(op) ? statuses[op] : -1;
}

} // extern "C"
