// Preparing the bindings: which parts the string binding is composed from, what each
// failure leaves behind, and that operations are served exactly when the routing handle
// exists.
#include <string>

#include <gtest/gtest.h>

#include "Platform.h"
#include "TestEnvironment.h"

#ifndef _WIN32
#include "rpc/RpcStandin.h"
#endif

namespace {

using orvtest::RemoveConfigFile;
using orvtest::WriteConfigFile;

constexpr char kIni[] = "QOR_Commucation.ini";

class PrepareTest : public testing::Test {
  protected:
    void SetUp() override {
        RemoveConfigFile(kIni);
        orvtest::ResetBindingsAndFakes();
    }
    void TearDown() override {
        RemoveConfigFile(kIni);
        orvtest::ResetBindingsAndFakes();
    }

    // The routing handle an operation hands on, or null when the operation was refused.
    static void* RoutingHandleInUse() {
        FakeReset();
        if (ORV_FetchTarget(1, 2) == ORV_E_NOT_PREPARED) return nullptr;
        return FakeCallCount() == 1 ? FakeCallAt(0)->handle : nullptr;
    }
};

// Configuration files by what they make of the binding.
const std::string kNoHttpProxyKey = "[RPC]\nprotseq=ncacn_http\nQORServer=qor-main\n"
                                    "UseEndPoint=yes\nEndPoint=5152\n";
const std::string kUnrecognisedProtseq = "[RPC]\nprotseq=ncacn_np\nQORServer=qor-main\n"
                                         "UseEndPoint=no\n[ncacn_http]\nUseHttpProxy=no\n"
                                         "RpcProxy=rpc-gate\n";
const std::string kHttpWithoutRpcProxy = "[RPC]\nprotseq=ncacn_http\nQORServer=qor-main\n"
                                         "UseEndPoint=yes\nEndPoint=5153\n[ncacn_http]\n"
                                         "UseHttpProxy=no\n";

struct BindingCase {
    const char* name;
    const std::string* file; // null: no configuration file
    const char* address;
    ORV_STATUS result;
    // The composed parts "protseq|address|endpoint|options", "<null>" for an absent part.
    const char* parts;
    // The string binding the handles are made from.
    const char* text;
};

const std::string kTcp = orvtest::kTcpConfig;
const std::string kHttp = orvtest::kHttpConfig;

const BindingCase kBindingCases[] = {
    {"no file, no address", nullptr, nullptr, ORV_E_CONFIG, nullptr, nullptr},
    {"no file, empty address", nullptr, "", ORV_E_CONFIG, nullptr, nullptr},
    {"no file, address given", nullptr, "host-b", 0, "ncacn_ip_tcp|host-b||<null>",
     "ncacn_ip_tcp:host-b"},
    {"tcp", &kTcp, nullptr, 0, "ncacn_ip_tcp|qor-main|5150|<null>", "ncacn_ip_tcp:qor-main[5150]"},
    {"tcp, empty address", &kTcp, "", 0, "ncacn_ip_tcp|qor-main|5150|<null>",
     "ncacn_ip_tcp:qor-main[5150]"},
    {"tcp, address given", &kTcp, "host-b", 0, "ncacn_ip_tcp|host-b|5150|<null>",
     "ncacn_ip_tcp:host-b[5150]"},
    {"http", &kHttp, nullptr, 0,
     "ncacn_http|qor-main|5151|HttpProxy=web-proxy:8080,RpcProxy=rpc-gate:443", nullptr},
    {"http, address given", &kHttp, "host-b", 0,
     "ncacn_http|host-b|5151|HttpProxy=web-proxy:8080,RpcProxy=rpc-gate:443", nullptr},
    {"unrecognised protseq", &kUnrecognisedProtseq, nullptr, 0, "ncacn_ip_tcp|qor-main||<null>",
     "ncacn_ip_tcp:qor-main"},
    {"load fails after the endpoint, no address", &kNoHttpProxyKey, nullptr, ORV_E_CONFIG, nullptr,
     nullptr},
    {"load fails after the endpoint, address given", &kNoHttpProxyKey, "host-b", 0,
     "ncacn_ip_tcp|host-b|5152|<null>", "ncacn_ip_tcp:host-b[5152]"},
    {"http load fails at RpcProxy, address given", &kHttpWithoutRpcProxy, "host-b", 0,
     "ncacn_ip_tcp|host-b|5153|<null>", "ncacn_ip_tcp:host-b[5153]"},
};

#ifndef _WIN32
std::string PartText(const standin::rpc::Call::Part& part) {
    return part.isNull ? "<null>" : part.text;
}

std::string LastComposedParts() {
    for (auto it = standin::rpc::Journal().rbegin(); it != standin::rpc::Journal().rend(); ++it)
        if (it->op == standin::rpc::Op::Compose)
            return (it->uuid.isNull ? "" : "uuid!") + PartText(it->protseq) + "|" +
                   PartText(it->address) + "|" + PartText(it->endpoint) + "|" +
                   PartText(it->options);
    return "<no compose>";
}
#endif

TEST_F(PrepareTest, ChoiceOfBindingParts) {
    for (const BindingCase& c : kBindingCases) {
        orvtest::ResetBindingsAndFakes();
        if (c.file != nullptr) {
            WriteConfigFile(kIni, *c.file);
        } else {
            RemoveConfigFile(kIni);
        }
        EXPECT_EQ(ORV_Prepare(c.address, 0xdeadbeef), c.result) << c.name;
        void* routing = RoutingHandleInUse();
#ifndef _WIN32
        if (c.parts == nullptr) {
            EXPECT_EQ(standin::rpc::Journal().size(), 0u) << c.name << ": no runtime call";
        } else {
            EXPECT_EQ(LastComposedParts(), c.parts) << c.name;
        }
#endif
        if (c.result != 0) {
            EXPECT_EQ(routing, nullptr) << c.name << ": an operation was served";
            continue;
        }
        ASSERT_NE(routing, nullptr) << c.name << ": no operation served";
        // The runtime's own reading of the binding; options are not part of it everywhere.
        if (c.text != nullptr) {
            EXPECT_EQ(orvtest::BindingText(routing), c.text) << c.name;
        }
    }
}

TEST_F(PrepareTest, ConfigFailureKeepsTheEarlierPreparation) {
    WriteConfigFile(kIni, orvtest::kTcpConfig);
    ASSERT_EQ(ORV_Prepare(nullptr, 0), 0);
    void* before = RoutingHandleInUse();
    ASSERT_NE(before, nullptr);

    RemoveConfigFile(kIni);
    EXPECT_EQ(ORV_Prepare(nullptr, 0), ORV_E_CONFIG);
    EXPECT_EQ(RoutingHandleInUse(), before);
    EXPECT_EQ(orvtest::BindingText(before), "ncacn_ip_tcp:qor-main[5150]");
}

TEST_F(PrepareTest, EveryPreparationReadsTheFileAnew) {
    WriteConfigFile(kIni, orvtest::kTcpConfig);
    ASSERT_EQ(ORV_Prepare(nullptr, 0), 0);
    ASSERT_EQ(ORV_Discard(), 0);
    std::string changed = orvtest::kTcpConfig;
    changed.replace(changed.find("qor-main"), 8, "qor-spare");
    WriteConfigFile(kIni, changed);
    ASSERT_EQ(ORV_Prepare(nullptr, 0), 0);
    EXPECT_EQ(orvtest::BindingText(RoutingHandleInUse()), "ncacn_ip_tcp:qor-spare[5150]");
}

TEST_F(PrepareTest, SecondPreparationReplacesWithoutReleasing) {
#ifndef _WIN32
    const int handlesBefore = standin::rpc::LiveHandles();
    const int stringsBefore = standin::rpc::LiveStrings();
#endif
    ASSERT_EQ(ORV_Prepare("host-a", 0), 0);
    void* first = RoutingHandleInUse();
    ASSERT_EQ(ORV_Prepare("host-b", 0), 0);
    void* second = RoutingHandleInUse();
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_EQ(orvtest::BindingText(second), "ncacn_ip_tcp:host-b");
    // The first preparation's handle is still a live binding: nothing released it.
    EXPECT_EQ(orvtest::BindingText(first), "ncacn_ip_tcp:host-a");
#ifndef _WIN32
    EXPECT_EQ(standin::rpc::LiveHandles() - handlesBefore, 6);
    EXPECT_EQ(standin::rpc::LiveStrings() - stringsBefore, 2);
    EXPECT_EQ(standin::rpc::CountCalls(standin::rpc::Op::BindingFree), 0);
#endif
}

TEST_F(PrepareTest, HandlesAreMadeInOrderFromOneStringBinding) {
    ASSERT_EQ(ORV_Prepare("host-a", 0), 0);
    // Each service gets a handle of its own.
    FakeReset();
    ASSERT_EQ(ORV_LoginAgent(1, 2, 3, 4, 5), 0);
    ASSERT_EQ(ORV_FetchTarget(1, 2), 0);
    ASSERT_EQ(FakeCallCount(), 3);
    void* device = FakeCallAt(0)->handle;
    void* agent = FakeCallAt(1)->handle;
    void* routing = FakeCallAt(2)->handle;
    EXPECT_NE(routing, agent);
    EXPECT_NE(routing, device);
    EXPECT_NE(agent, device);
    for (void* h : {routing, agent, device})
        EXPECT_EQ(orvtest::BindingText(h), "ncacn_ip_tcp:host-a");
    orvtest::Handles made;
    if (orvtest::LastPreparedHandles(&made)) {
        EXPECT_EQ(routing, made.routing);
        EXPECT_EQ(agent, made.agent);
        EXPECT_EQ(device, made.device);
    }
}

#ifndef _WIN32
using standin::rpc::Op;

// A runtime failure at each step of a preparation: the result, what stays, which
// operations are then served. The login and skill operations refuse when a handle they
// would pass on is missing; the routing operations need the routing handle alone.
struct FaultCase {
    const char* name;
    Op op;
    int nth;
    int composes, binds; // runtime calls made
    int liveStrings, liveHandles;
    bool routingServed, skillServed, loginServed;
};

const FaultCase kFaultCases[] = {
    {"compose fails", Op::Compose, 1, 1, 0, 0, 0, false, false, false},
    {"routing handle fails", Op::FromString, 1, 1, 1, 1, 0, false, false, false},
    {"agent handle fails", Op::FromString, 2, 1, 2, 1, 1, true, false, false},
    {"device handle fails", Op::FromString, 3, 1, 3, 1, 2, true, true, false},
};

TEST_F(PrepareTest, RuntimeFailureAtEachStep) {
    for (const FaultCase& c : kFaultCases) {
        orvtest::ResetBindingsAndFakes();
        const int stringsBefore = standin::rpc::LiveStrings();
        const int handlesBefore = standin::rpc::LiveHandles();
        standin::rpc::FailCall(c.op, c.nth, RPC_S_OUT_OF_MEMORY);
        EXPECT_EQ(ORV_Prepare("host-a", 0), ORV_E_BINDING) << c.name;
        EXPECT_EQ(standin::rpc::CountCalls(Op::Compose), c.composes) << c.name;
        EXPECT_EQ(standin::rpc::CountCalls(Op::FromString), c.binds) << c.name;
        EXPECT_EQ(
            standin::rpc::CountCalls(Op::StringFree) + standin::rpc::CountCalls(Op::BindingFree), 0)
            << c.name << ": a failed preparation releases nothing";
        EXPECT_EQ(standin::rpc::LiveStrings() - stringsBefore, c.liveStrings) << c.name;
        EXPECT_EQ(standin::rpc::LiveHandles() - handlesBefore, c.liveHandles) << c.name;

        ORV_SKILL_RECORD skill = {};
        FakeReset();
        const bool routingServed = ORV_FetchTargetEx(1, 2, 3) != ORV_E_NOT_PREPARED;
        const bool skillServed = ORV_AddSkill(&skill) != ORV_E_NOT_PREPARED;
        const bool loginServed = ORV_LoginAgent(1, 2, 3, 4, 5) != ORV_E_NOT_PREPARED &&
                                 ORV_LogoutAgent(1) != ORV_E_NOT_PREPARED;
        EXPECT_EQ(routingServed, c.routingServed) << c.name;
        EXPECT_EQ(skillServed, c.skillServed) << c.name;
        EXPECT_EQ(loginServed, c.loginServed) << c.name;
        for (int i = 0; i < FakeCallCount(); ++i)
            EXPECT_NE(FakeCallAt(i)->handle, nullptr)
                << c.name << ": " << FakeOpName(FakeCallAt(i)->op) << " got a null handle";
    }
}

TEST_F(PrepareTest, AgentFailureKeepsTheEarlierDeviceHandle) {
    ASSERT_EQ(ORV_Prepare("host-a", 0), 0);
    orvtest::Handles first;
    ASSERT_TRUE(orvtest::LastPreparedHandles(&first));
    standin::rpc::FailCall(Op::FromString, 2, RPC_S_OUT_OF_MEMORY);
    EXPECT_EQ(ORV_Prepare("host-b", 0), ORV_E_BINDING);
    // New string binding and routing handle, the earlier agent and device handles.
    FakeReset();
    ASSERT_EQ(ORV_LoginAgent(1, 2, 3, 4, 5), 0);
    EXPECT_EQ(FakeCallAt(0)->handle, first.device);
    EXPECT_EQ(FakeCallAt(1)->handle, first.agent);
    EXPECT_EQ(orvtest::BindingText(RoutingHandleInUse()), "ncacn_ip_tcp:host-b");
}
#endif

} // namespace
