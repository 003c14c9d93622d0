// The library's own logic allocates nothing on the heap: every export, down each of its
// paths, counted by this program's allocator with the platform stand-ins left out.
#include <cstdlib>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "AllocationCounter.h"
#include "FakeClients.h"
#include "HardeningSupport.h"
#include "TestEnvironment.h"
#include "rpc/RpcStandin.h"

namespace {

namespace rpc = standin::rpc;
using hardening::kIni;

class AllocationTest : public testing::Test {
  protected:
    void SetUp() override { orvtest::ResetBindingsAndFakes(); }
    void TearDown() override {
        rpc::Reset();
        orvtest::ResetBindingsAndFakes();
        orvtest::RemoveConfigFile(kIni);
    }
};

// The counter sees an allocation made while it counts, and the stand-ins' own, made in
// another shared object on the library's behalf, unless they are left out.
TEST_F(AllocationTest, CounterSeesAllocations) {
    static void* volatile kept;
    alloc::Begin();
    kept = std::malloc(8);
    EXPECT_EQ(alloc::End(), 1);
    std::free(kept);

    orvtest::WriteConfigFile(kIni, orvtest::kTcpConfig);
    alloc::Begin(true);
    ASSERT_EQ(ORV_Prepare(nullptr, 0), 0);
    EXPECT_GT(alloc::End(), 0) << "the stand-ins' allocations were not seen";
}

struct ExportCase {
    const char* name;
    std::function<void()> setUp; // outside the count
    std::function<ORV_STATUS()> call;
    ORV_STATUS result;
};

ORV_SKILL_RECORD skill;

void Prepared() {
    ASSERT_EQ(ORV_Prepare("host-a", 0), 0);
}

void Config(const char* text) {
    orvtest::WriteConfigFile(kIni, text);
}

const ExportCase kCases[] = {
    {"ORV_Prepare, tcp", [] { Config(orvtest::kTcpConfig); },
     [] { return ORV_Prepare(nullptr, 0); }, 0},
    {"ORV_Prepare, http", [] { Config(orvtest::kHttpConfig); },
     [] { return ORV_Prepare(nullptr, 0); }, 0},
    {"ORV_Prepare, no file", [] { orvtest::RemoveConfigFile(kIni); },
     [] { return ORV_Prepare(nullptr, 0); }, ORV_E_CONFIG},
    {"ORV_Prepare, no file, address given", [] { orvtest::RemoveConfigFile(kIni); },
     [] { return ORV_Prepare("host-b", 0); }, 0},
    {"ORV_Prepare, compose fails", [] { rpc::FailCall(rpc::Op::Compose, 1, RPC_S_OUT_OF_MEMORY); },
     [] { return ORV_Prepare("host-b", 0); }, ORV_E_BINDING},
    {"ORV_Prepare, agent handle fails",
     [] { rpc::FailCall(rpc::Op::FromString, 2, RPC_S_OUT_OF_MEMORY); },
     [] { return ORV_Prepare("host-b", 0); }, ORV_E_BINDING},
    {"ORV_Discard, prepared", Prepared, [] { return ORV_Discard(); }, 0},
    {"ORV_Discard, nothing prepared", [] {}, [] { return ORV_Discard(); }, 1},
    {"ORV_LoginAgent", Prepared, [] { return ORV_LoginAgent(1, 2, 3, 4, 5); }, 0},
    {"ORV_LoginAgent, not prepared", [] {}, [] { return ORV_LoginAgent(1, 2, 3, 4, 5); },
     ORV_E_NOT_PREPARED},
    {"ORV_LogoutAgent", Prepared, [] { return ORV_LogoutAgent(1); }, 0},
    {"ORV_LogoutAgent, device query refused",
     [] {
         Prepared();
         FakeSetStatus(FAKE_AGENT_DEVICE_QUERY, 9);
     },
     [] { return ORV_LogoutAgent(1); }, 9},
    {"ORV_AddSkill", Prepared, [] { return ORV_AddSkill(&skill); }, 0},
    {"ORV_AddSkill, agent refuses, routing undone",
     [] {
         Prepared();
         FakeSetStatus(FAKE_AGENT_SKILL_ADD, 9);
     },
     [] { return ORV_AddSkill(&skill); }, 9},
    {"ORV_RemoveSkill", Prepared, [] { return ORV_RemoveSkill(&skill); }, 0},
    {"ORV_RemoveSkill, not prepared", [] {}, [] { return ORV_RemoveSkill(&skill); },
     ORV_E_NOT_PREPARED},
    {"ORV_RequestResource", Prepared,
     [] { return ORV_RequestResource(1, ORV_RESOURCE_REQUEST{}, 2); }, 0},
    {"ORV_FetchTarget", Prepared, [] { return ORV_FetchTarget(1, 2); }, 0},
    {"ORV_FetchTargetEx", Prepared, [] { return ORV_FetchTargetEx(1, 2, 3); }, 0},
    {"ORV_FetchTargetEx, not prepared", [] {}, [] { return ORV_FetchTargetEx(1, 2, 3); },
     ORV_E_NOT_PREPARED},
};

TEST_F(AllocationTest, NoExportAllocates) {
    for (const ExportCase& c : kCases) {
        rpc::Reset();
        orvtest::ResetBindingsAndFakes();
        c.setUp();
        alloc::Begin();
        const ORV_STATUS result = c.call();
        const long allocations = alloc::End();
        EXPECT_EQ(result, c.result) << c.name;
        EXPECT_EQ(allocations, 0) << c.name;
    }
}

} // namespace
