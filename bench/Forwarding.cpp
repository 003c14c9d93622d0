#include "Forwarding.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ClientLibraries.h"
#include "FakeClients.h"
#include "Orvane.h"

namespace orvbench {

namespace {

// The handles the library passes on, learnt once per preparation.
struct Handles {
    RPC_BINDING_HANDLE routing;
    RPC_BINDING_HANDLE agent;
    RPC_BINDING_HANDLE device;
} handles;

constexpr ORV_VALUE kAgent = 4201, kDevice = 7001, kExtra1 = 1, kExtra2 = 2, kExtra3 = 3;
constexpr ORV_VALUE kValue1 = 11, kValue2 = 22, kValue3 = 33;
const char kDeviceText[] = "dev-7001";
ORV_SKILL_RECORD skill;
ORV_RESOURCE_REQUEST request;

// Every status lands here, so no call can be dropped; all must stay 0.
volatile ORV_STATUS sink;
volatile ORV_STATUS failed;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "bench: %s\n", what);
    std::exit(2);
}

// The direct side: what a host would write to call the client libraries itself.

ORV_STATUS LoginDirect() {
    const ORV_STATUS status = DeviceSignIn(handles.device, kDevice);
    if (status != 0) return status;
    return AgentSignIn(handles.agent, kAgent, kDevice, kExtra1, kExtra2, kExtra3);
}

ORV_STATUS LogoutDirect() {
    char device[kDeviceIdSize];
    ORV_STATUS status = AgentDeviceQuery(handles.agent, kAgent, device);
    if (status != 0) return status;
    status = AgentSignOut(handles.agent, kAgent);
    if (status != 0) return status;
    return DeviceSignOut(handles.device, device);
}

using SkillStep = ORV_STATUS(ORV_CLIENT_CALL*)(RPC_BINDING_HANDLE, ORV_SKILL_RECORD*);

// The agent step gets `agentRecord`: the host's record, or a copy of it.
inline ORV_STATUS ChangeSkill(SkillStep routingStep, SkillStep agentStep, SkillStep routingUndo,
                              ORV_SKILL_RECORD* agentRecord) {
    const ORV_STATUS routed = routingStep(handles.routing, &skill);
    if (routed != 0) return routed;
    const ORV_STATUS agentStatus = agentStep(handles.agent, agentRecord);
    if (agentStatus != 0) routingUndo(handles.routing, &skill);
    return agentStatus;
}

ORV_STATUS AddSkillDirect() {
    return ChangeSkill(RoutingSkillAdd, AgentSkillAdd, RoutingSkillRemove, &skill);
}
ORV_STATUS RemoveSkillDirect() {
    return ChangeSkill(RoutingSkillRemove, AgentSkillRemove, RoutingSkillAdd, &skill);
}
ORV_STATUS AddSkillDirectWithCopy() {
    ORV_SKILL_RECORD copy;
    std::memcpy(&copy, &skill, sizeof copy);
    return ChangeSkill(RoutingSkillAdd, AgentSkillAdd, RoutingSkillRemove, &copy);
}
ORV_STATUS RemoveSkillDirectWithCopy() {
    ORV_SKILL_RECORD copy;
    std::memcpy(&copy, &skill, sizeof copy);
    return ChangeSkill(RoutingSkillRemove, AgentSkillRemove, RoutingSkillAdd, &copy);
}

ORV_STATUS ResourceDirect() {
    return RoutingResourceRequest(handles.routing, kValue1, request, kValue2);
}
ORV_STATUS FetchDirect() {
    return RoutingTargetFetch(handles.routing, kValue1, kValue2, 0);
}
ORV_STATUS FetchExDirect() {
    return RoutingTargetFetch(handles.routing, kValue1, kValue2, kValue3);
}

// The export side, with the same arguments.

ORV_STATUS LoginExport() {
    return ORV_LoginAgent(kAgent, kDevice, kExtra1, kExtra2, kExtra3);
}
ORV_STATUS LogoutExport() {
    return ORV_LogoutAgent(kAgent);
}
ORV_STATUS AddSkillExport() {
    return ORV_AddSkill(&skill);
}
ORV_STATUS RemoveSkillExport() {
    return ORV_RemoveSkill(&skill);
}
ORV_STATUS ResourceExport() {
    return ORV_RequestResource(kValue1, request, kValue2);
}
ORV_STATUS FetchExport() {
    return ORV_FetchTarget(kValue1, kValue2);
}
ORV_STATUS FetchExExport() {
    return ORV_FetchTargetEx(kValue1, kValue2, kValue3);
}

// One loop shape for both sides; the call is inlined into it, so the direct side is a
// host calling the client libraries itself and the export side a host calling the export.
template <ORV_STATUS (*Call)()> void Repeat(int calls) {
    for (int i = 0; i < calls; ++i) {
        const ORV_STATUS status = Call();
        sink = status;
        if (status != 0) failed = status;
    }
}

} // namespace

const std::vector<ForwardingCase>& ForwardingCases() {
    static const std::vector<ForwardingCase> cases = {
        {"ORV_LoginAgent", Repeat<LoginDirect>, Repeat<LoginExport>, nullptr, 2},
        {"ORV_LogoutAgent", Repeat<LogoutDirect>, Repeat<LogoutExport>, nullptr, 3},
        {"ORV_AddSkill", Repeat<AddSkillDirect>, Repeat<AddSkillExport>,
         Repeat<AddSkillDirectWithCopy>, 2},
        {"ORV_RemoveSkill", Repeat<RemoveSkillDirect>, Repeat<RemoveSkillExport>,
         Repeat<RemoveSkillDirectWithCopy>, 2},
        {"ORV_RequestResource", Repeat<ResourceDirect>, Repeat<ResourceExport>, nullptr, 1},
        {"ORV_FetchTarget", Repeat<FetchDirect>, Repeat<FetchExport>, nullptr, 1},
        {"ORV_FetchTargetEx", Repeat<FetchExDirect>, Repeat<FetchExExport>, nullptr, 1},
    };
    return cases;
}

bool PrepareLibrary() {
    for (int i = 0; i < ORV_SKILL_RECORD_SIZE; ++i)
        skill.bytes[i] = static_cast<unsigned char>(i);
    for (int i = 0; i < ORV_RESOURCE_REQUEST_SIZE; ++i)
        request.bytes[i] = static_cast<unsigned char>(255 - i);
    ORV_Discard();
    if (ORV_Prepare(nullptr, 0) != 0) return false;

    ResetFakes();
    if (ORV_LoginAgent(kAgent, kDevice, kExtra1, kExtra2, kExtra3) != 0) return false;
    if (ORV_FetchTargetEx(kValue1, kValue2, kValue3) != 0) return false;
    const FakeCall* deviceCall = FakeCallAt(0);
    const FakeCall* agentCall = FakeCallAt(1);
    const FakeCall* routingCall = FakeCallAt(2);
    if (FakeCallCount() != 3 || deviceCall->op != FAKE_DEVICE_SIGN_IN ||
        agentCall->op != FAKE_AGENT_SIGN_IN || routingCall->op != FAKE_ROUTING_TARGET_FETCH)
        return false;
    handles = {routingCall->handle, agentCall->handle, deviceCall->handle};
    return handles.routing != nullptr && handles.agent != nullptr && handles.device != nullptr;
}

void* LibraryRoutingHandle() {
    return handles.routing;
}

void ResetFakes() {
    FakeReset();
    FakeSetWrite(FAKE_AGENT_DEVICE_QUERY, kDeviceText, sizeof kDeviceText);
}

double TimeBatch(const ForwardingCase& c, Batch batch, int calls) {
    ResetFakes();
    failed = 0;
    const auto start = std::chrono::steady_clock::now();
    batch(calls);
    const auto stop = std::chrono::steady_clock::now();
    if (failed != 0) Fail(c.name);
    if (FakeCallCount() != calls * c.rowsPerCall) Fail("a client call went missing");
    return std::chrono::duration<double, std::nano>(stop - start).count() / calls;
}

namespace {

// Runs one batch with the stack moved down by `shift` bytes. Where the stack lies
// against the journal and the globals decides store-forwarding and 4K aliasing stalls;
// one fixed layout can favour either side by several per cent, and which one changes
// from process to process with the stack's random placement.
double TimeBatchAt(const ForwardingCase& c, Batch batch, int calls, int shift) {
    volatile char* pad = static_cast<volatile char*>(__builtin_alloca(shift + 1));
    pad[0] = 0;
    return TimeBatch(c, batch, calls);
}

} // namespace

Round RunRound(const ForwardingCase& c, int roundIndex, int calls) {
    Round r{0, 0, 0};
    // Every 16-byte offset within a page in turn, each in both orders.
    const int shift = (roundIndex / 2 * 16) % 4096;
    struct Side {
        Batch batch;
        double* ns;
    } sides[3] = {
        {c.direct, &r.direct}, {c.directWithCopy, &r.withCopy}, {c.viaExport, &r.viaExport}};
    if (roundIndex % 2 != 0) std::reverse(std::begin(sides), std::end(sides));
    for (const Side& side : sides)
        if (side.batch != nullptr) *side.ns = TimeBatchAt(c, side.batch, calls, shift);
    return r;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

Comparison Summarise(const std::vector<Round>& rounds) {
    std::vector<double> direct, viaExport, withCopy, ratio, ratioVsCopy, extra;
    for (const Round& r : rounds) {
        direct.push_back(r.direct);
        viaExport.push_back(r.viaExport);
        ratio.push_back(r.viaExport / r.direct);
        if (r.withCopy > 0) {
            withCopy.push_back(r.withCopy);
            ratioVsCopy.push_back(r.viaExport / r.withCopy);
        }
        extra.push_back(r.viaExport - (r.withCopy > 0 ? r.withCopy : r.direct));
    }
    return {Median(direct), Median(viaExport),   Median(withCopy),
            Median(ratio),  Median(ratioVsCopy), Median(extra)};
}

double TargetRatio(const Comparison& c) {
    return c.ratioVsCopy > 0 ? c.ratioVsCopy : c.ratio;
}

} // namespace orvbench
