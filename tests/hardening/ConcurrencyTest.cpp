// Operations from eight threads at once against the fakes. Each call must reach its service
// with its own arguments and its own buffers: the fakes' hook checks every call on the
// thread that made it, writes into the buffers it receives and yields, so that a device
// buffer or skill copy shared between calls would hand one thread's bytes to another.
#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "ClientLibraries.h"
#include "FakeClients.h"
#include "HardeningSupport.h"
#include "TestEnvironment.h"
#include "rpc/RpcStandin.h"

namespace {

constexpr int kThreads = 8;
constexpr int kRounds = 300;
constexpr ORV_STATUS kAgentRefusal = 0x5150; // the agent service refuses every skill removal

struct Prepared {
    void* routing;
    void* agent;
    void* device;
} prepared;

// Who is calling: set by each worker before every export call, read by the hook.
thread_local int tThread = -1;
thread_local int tRound = 0;
thread_local ORV_SKILL_RECORD* tSkill = nullptr; // the host's record of the call under way
thread_local const void* tDeviceBuffer = nullptr;
thread_local std::vector<int> tOps; // the client operations reached, in order
thread_local std::vector<std::string> tErrors;

// A value no other thread or round passes: thread, round and argument position.
ORV_VALUE Tag(int thread, int round, int slot) {
    return static_cast<ORV_VALUE>((thread + 1) << 24 | round << 4 | slot);
}

ORV_VALUE Tag(int slot) {
    return Tag(tThread, tRound, slot);
}

void Pattern(unsigned char* bytes, std::size_t count, unsigned char salt) {
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<unsigned char>(tThread * 31 + tRound * 7 + salt + i);
}

bool HasPattern(const unsigned char* bytes, std::size_t count, unsigned char salt) {
    unsigned char expected[ORV_SKILL_RECORD_SIZE];
    Pattern(expected, count, salt);
    return std::memcmp(bytes, expected, count) == 0;
}

constexpr unsigned char kHostSalt = 1, kRoutingSalt = 2, kAgentSalt = 3, kRequestSalt = 4;

// The device identifier the agent service names for this thread and round: all 16 bytes
// filled, so the device service must get its first 15 characters.
void DeviceId(char* id) {
    char text[32];
    std::snprintf(text, sizeof text, "dev%02d-%05d-xxxxxxx", tThread, tRound);
    std::memcpy(id, text, kDeviceIdSize);
}

void Fail(const FakeCall* call, const char* what) {
    tErrors.push_back("thread " + std::to_string(tThread) + " round " + std::to_string(tRound) +
                      ", " + FakeOpName(call->op) + ": " + what);
}

void Expect(bool ok, const FakeCall* call, const char* what) {
    if (!ok) Fail(call, what);
}

bool ValuesAre(const FakeCall* call, std::initializer_list<ORV_VALUE> values) {
    if (call->valueCount != static_cast<int>(values.size())) return false;
    int i = 0;
    for (const ORV_VALUE v : values)
        if (call->values[i++] != v) return false;
    return true;
}

void CheckCall(const FakeCall* call, void* address) {
    tOps.push_back(call->op);
    switch (call->op) {
    case FAKE_DEVICE_SIGN_IN:
        Expect(call->handle == prepared.device, call, "not the device handle");
        Expect(ValuesAre(call, {Tag(1)}), call, "another call's device");
        break;
    case FAKE_AGENT_SIGN_IN:
        Expect(call->handle == prepared.agent, call, "not the agent handle");
        Expect(ValuesAre(call, {Tag(0), Tag(1), Tag(2), Tag(3), Tag(4)}), call,
               "another call's values");
        break;
    case FAKE_AGENT_DEVICE_QUERY:
        Expect(call->handle == prepared.agent, call, "not the agent handle");
        Expect(ValuesAre(call, {Tag(0)}), call, "another call's agent");
        DeviceId(static_cast<char*>(address));
        tDeviceBuffer = address;
        std::this_thread::yield();
        break;
    case FAKE_AGENT_SIGN_OUT:
        Expect(ValuesAre(call, {Tag(0)}), call, "another call's agent");
        std::this_thread::yield();
        break;
    case FAKE_DEVICE_SIGN_OUT: {
        Expect(call->handle == prepared.device, call, "not the device handle");
        Expect(call->address == tDeviceBuffer, call, "not the buffer the query filled");
        char id[kDeviceIdSize];
        DeviceId(id);
        id[kDeviceIdSize - 1] = '\0';
        Expect(call->byteCount == kDeviceIdSize && std::memcmp(call->bytes, id, kDeviceIdSize) == 0,
               call, "not this call's device identifier");
        break;
    }
    case FAKE_ROUTING_SKILL_ADD:
    case FAKE_ROUTING_SKILL_REMOVE:
        Expect(call->handle == prepared.routing, call, "not the routing handle");
        Expect(address == tSkill, call, "not the host's own record");
        // The routing service writes into the host's record; the agent step must not see it.
        Pattern(static_cast<unsigned char*>(address), ORV_SKILL_RECORD_SIZE, kRoutingSalt);
        std::this_thread::yield();
        break;
    case FAKE_AGENT_SKILL_ADD:
    case FAKE_AGENT_SKILL_REMOVE:
        Expect(call->handle == prepared.agent, call, "not the agent handle");
        Expect(address != tSkill, call, "the host's record instead of a copy");
        Expect(HasPattern(call->bytes, ORV_SKILL_RECORD_SIZE, kHostSalt), call,
               "the copy does not hold this call's record as it was on entry");
        // What the agent service writes into the copy must never reach the host's record.
        Pattern(static_cast<unsigned char*>(address), ORV_SKILL_RECORD_SIZE, kAgentSalt);
        std::this_thread::yield();
        break;
    case FAKE_ROUTING_RESOURCE:
        Expect(call->handle == prepared.routing, call, "not the routing handle");
        Expect(ValuesAre(call, {Tag(0), Tag(1)}), call, "another call's values");
        Expect(HasPattern(call->bytes, ORV_RESOURCE_REQUEST_SIZE, kRequestSalt), call,
               "another call's request block");
        break;
    case FAKE_ROUTING_TARGET_FETCH:
        Expect(call->handle == prepared.routing, call, "not the routing handle");
        Expect(ValuesAre(call, {Tag(0), Tag(1), Tag(2)}) || ValuesAre(call, {Tag(0), Tag(1), 0}),
               call, "another call's values");
        break;
    default:
        Fail(call, "unexpected operation");
    }
}

void ExpectStatus(ORV_STATUS status, ORV_STATUS expected, const char* what) {
    if (status != expected)
        tErrors.push_back("thread " + std::to_string(tThread) + " round " + std::to_string(tRound) +
                          ", " + what + " returned " + std::to_string(status));
}

// One round: every operation once, with values and buffers of this thread and round.
void Round() {
    ExpectStatus(ORV_LoginAgent(Tag(0), Tag(1), Tag(2), Tag(3), Tag(4)), 0, "ORV_LoginAgent");
    ExpectStatus(ORV_LogoutAgent(Tag(0)), 0, "ORV_LogoutAgent");

    ORV_SKILL_RECORD skill;
    tSkill = &skill;
    Pattern(skill.bytes, sizeof skill, kHostSalt);
    ExpectStatus(ORV_AddSkill(&skill), 0, "ORV_AddSkill");
    if (!HasPattern(skill.bytes, sizeof skill, kRoutingSalt))
        tErrors.push_back("ORV_AddSkill: the host's record is not as the routing service left it");
    Pattern(skill.bytes, sizeof skill, kHostSalt);
    ExpectStatus(ORV_RemoveSkill(&skill), kAgentRefusal, "ORV_RemoveSkill");
    if (!HasPattern(skill.bytes, sizeof skill, kRoutingSalt))
        tErrors.push_back(
            "ORV_RemoveSkill: the host's record is not as the routing service left it");

    ORV_RESOURCE_REQUEST request;
    Pattern(request.bytes, sizeof request, kRequestSalt);
    ExpectStatus(ORV_RequestResource(Tag(0), request, Tag(1)), 0, "ORV_RequestResource");
    ExpectStatus(ORV_FetchTarget(Tag(0), Tag(1)), 0, "ORV_FetchTarget");
    ExpectStatus(ORV_FetchTargetEx(Tag(0), Tag(1), Tag(2)), 0, "ORV_FetchTargetEx");
}

// The client operations one round reaches, in order (the removal's refusal brings the undo).
const std::vector<int> kRoundOps = {
    FAKE_DEVICE_SIGN_IN,      FAKE_AGENT_SIGN_IN,        FAKE_AGENT_DEVICE_QUERY,
    FAKE_AGENT_SIGN_OUT,      FAKE_DEVICE_SIGN_OUT,      FAKE_ROUTING_SKILL_ADD,
    FAKE_AGENT_SKILL_ADD,     FAKE_ROUTING_SKILL_REMOVE, FAKE_AGENT_SKILL_REMOVE,
    FAKE_ROUTING_SKILL_ADD,   FAKE_ROUTING_RESOURCE,     FAKE_ROUTING_TARGET_FETCH,
    FAKE_ROUTING_TARGET_FETCH};

TEST(Concurrency, EightThreadsEachGetTheirOwnArgumentsAndBuffers) {
    orvtest::ResetBindingsAndFakes();
    ASSERT_EQ(ORV_Prepare("host-a", 0), 0);
    const auto& journal = standin::rpc::Journal();
    ASSERT_EQ(journal.size(), 4u);
    prepared = {const_cast<void*>(journal[1].made), const_cast<void*>(journal[2].made),
                const_cast<void*>(journal[3].made)};
    FakeReset();
    FakeSetStatus(FAKE_AGENT_SKILL_REMOVE, kAgentRefusal);
    FakeSetHook(CheckCall);

    std::atomic<int> ready{0};
    std::mutex resultLock;
    std::vector<std::string> errors;
    std::vector<std::thread> workers;
    for (int t = 0; t < kThreads; ++t) {
        workers.emplace_back([&, t] {
            tThread = t;
            // All threads start their rounds together.
            ready.fetch_add(1);
            while (ready.load() < kThreads)
                std::this_thread::yield();
            for (tRound = 0; tRound < kRounds; ++tRound) {
                tOps.clear();
                Round();
                if (tOps != kRoundOps)
                    tErrors.push_back("thread " + std::to_string(t) + " round " +
                                      std::to_string(tRound) +
                                      ": the client operations reached differ from one round's");
            }
            const std::lock_guard<std::mutex> guard(resultLock);
            errors.insert(errors.end(), tErrors.begin(), tErrors.end());
        });
    }
    for (std::thread& w : workers)
        w.join();
    FakeReset();

    if (!errors.empty()) ADD_FAILURE() << errors.size() << " faults, the first: " << errors[0];
    EXPECT_EQ(ORV_Discard(), 0);
}

} // namespace
