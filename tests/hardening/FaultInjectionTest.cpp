// Runtime failures at every step of making and of releasing the bindings, each followed by
// every operation and a further prepare and discard: the statuses the library documents,
// no client call with a null or released handle, and nothing released twice.
#include <string>

#include <gtest/gtest.h>

#include "FakeClients.h"
#include "HardeningSupport.h"
#include "TestEnvironment.h"
#include "rpc/RpcStandin.h"

namespace {

namespace rpc = standin::rpc;
using hardening::kIni;
using rpc::Op;

constexpr RPC_STATUS kFailure = RPC_S_OUT_OF_MEMORY;

// What a binding state serves. Every operation needs the routing handle; the skill ones
// also pass the agent handle, sign-in and sign-out the agent and device handles, and an
// operation whose handle is missing is refused rather than hand a client library null.
enum Served { kNothing, kRoutingOnly, kAllButSignInOut, kEverything };

bool IsServed(Served served, int operation) {
    switch (served) {
    case kNothing:
        return false;
    case kRoutingOnly:
        return operation >= hardening::kRequestResource;
    case kAllButSignInOut:
        return operation >= hardening::kAddSkill;
    default:
        return true;
    }
}

int LiveObjects() {
    return rpc::LiveStrings() + rpc::LiveHandles();
}

int Releases() {
    return rpc::CountCalls(Op::StringFree) + rpc::CountCalls(Op::BindingFree);
}

class FaultInjectionTest : public testing::Test {
  protected:
    void SetUp() override {
        orvtest::WriteConfigFile(kIni, orvtest::kTcpConfig);
        Clean();
    }
    void TearDown() override {
        Clean();
        orvtest::RemoveConfigFile(kIni);
    }
    // No scripted failure left over, the bindings empty, the journals cleared.
    static void Clean() {
        rpc::Reset();
        orvtest::ResetBindingsAndFakes();
    }

    // Runs every operation: served ones reach the fakes (which answer 0) with live handles
    // only, refused ones return ORV_E_NOT_PREPARED and call nothing.
    static void ExpectOperations(Served served, const std::string& row, const char* when) {
        for (int op = 0; op < hardening::kOperationCount; ++op) {
            FakeReset();
            const ORV_STATUS status = hardening::RunOperation(op);
            const std::string where = row + ", " + when + ": " + hardening::OperationName(op);
            if (IsServed(served, op)) {
                EXPECT_EQ(status, 0) << where;
                EXPECT_GT(FakeCallCount(), 0) << where;
            } else {
                EXPECT_EQ(status, ORV_E_NOT_PREPARED) << where;
                EXPECT_EQ(FakeCallCount(), 0) << where;
            }
            EXPECT_EQ(hardening::CallsWithDeadHandles(), "") << where;
        }
        FakeReset();
    }
};

struct PrepareFault {
    const char* step;
    Op op;
    int nth;
    Served servedFromEmpty; // what the partly prepared state serves when nothing was before
    int replaced;           // members of an earlier preparation it replaces without release
};

const PrepareFault kPrepareFaults[] = {
    {"compose", Op::Compose, 1, kNothing, 0},
    {"routing handle", Op::FromString, 1, kNothing, 1},
    {"agent handle", Op::FromString, 2, kRoutingOnly, 2},
    {"device handle", Op::FromString, 3, kAllButSignInOut, 3},
};

TEST_F(FaultInjectionTest, EveryFailingStepOfPrepare) {
    for (const PrepareFault& f : kPrepareFaults) {
        for (const bool preparedBefore : {false, true}) {
            const std::string row = std::string("prepare fails at the ") + f.step +
                                    (preparedBefore ? ", prepared before" : ", from empty");
            Clean();
            const int bad = rpc::BadReleases();
            const int live = LiveObjects();
            if (preparedBefore) {
                ASSERT_EQ(ORV_Prepare(nullptr, 0), 0) << row;
            }

            rpc::FailCall(f.op, f.nth, kFailure);
            const int releases = Releases();
            EXPECT_EQ(ORV_Prepare(nullptr, 0), ORV_E_BINDING) << row;
            EXPECT_EQ(Releases(), releases) << row << ": a failed preparation releases nothing";
            // Members an earlier preparation left stay in use where this one made none.
            ExpectOperations(preparedBefore ? kEverything : f.servedFromEmpty, row,
                             "after the failed prepare");

            // From empty the release of a missing handle fails; from prepared, every member
            // holds a live object, new or earlier.
            EXPECT_EQ(ORV_Discard(), preparedBefore ? 0 : 1) << row;
            ExpectOperations(kNothing, row, "after the discard");

            EXPECT_EQ(ORV_Prepare(nullptr, 0), 0) << row << ": a further prepare";
            ExpectOperations(kEverything, row, "after a further prepare");
            EXPECT_EQ(ORV_Discard(), 0) << row << ": a further discard";

            EXPECT_EQ(rpc::BadReleases(), bad) << row << ": something was released twice";
            EXPECT_EQ(LiveObjects() - live, preparedBefore ? f.replaced : 0)
                << row << ": objects left allocated";
        }
    }
}

struct DiscardFault {
    const char* step;
    Op op;
    int nth;
    Served served;     // what the partly released state still serves
    int secondDiscard; // the result of a discard right after
    int stranded;      // handles left live when the routing handle is already gone
};

const DiscardFault kDiscardFaults[] = {
    {"string binding", Op::StringFree, 1, kEverything, 0, 0},
    {"routing handle", Op::BindingFree, 1, kEverything, 0, 0},
    {"agent handle", Op::BindingFree, 2, kNothing, 1, 2},
    {"device handle", Op::BindingFree, 3, kNothing, 1, 1},
};

TEST_F(FaultInjectionTest, EveryFailingStepOfDiscard) {
    for (const DiscardFault& f : kDiscardFaults) {
        // Some runtimes free the string binding but leave the pointer in the variable.
        for (const bool runtimeClearsString : {true, false}) {
            const std::string row =
                std::string("discard fails at the ") + f.step +
                (runtimeClearsString ? "" : ", runtime leaves the freed string pointer");
            Clean();
            const int bad = rpc::BadReleases();
            const int live = LiveObjects();
            rpc::SetClearStringOnFree(runtimeClearsString);
            ASSERT_EQ(ORV_Prepare(nullptr, 0), 0) << row;

            rpc::FailCall(f.op, f.nth, kFailure);
            EXPECT_EQ(ORV_Discard(), 1) << row;
            ExpectOperations(f.served, row, "after the failed discard");

            EXPECT_EQ(ORV_Discard(), f.secondDiscard) << row << ": a second discard";
            ExpectOperations(kNothing, row, "after the second discard");

            EXPECT_EQ(ORV_Prepare(nullptr, 0), 0) << row << ": a further prepare";
            ExpectOperations(kEverything, row, "after a further prepare");
            EXPECT_EQ(ORV_Discard(), 0) << row << ": a further discard";
            EXPECT_EQ(ORV_Discard(), 1) << row << ": a discard with nothing prepared";

            EXPECT_EQ(rpc::BadReleases(), bad) << row << ": something was released twice";
            EXPECT_EQ(LiveObjects() - live, f.stranded) << row << ": objects left allocated";
        }
    }
}

// A configuration that fails to load, with an address given, still binds; each runtime
// failure on that road gives ORV_E_BINDING as well, never the runtime's own status.
TEST_F(FaultInjectionTest, RuntimeStatusNeverReachesTheHost) {
    orvtest::RemoveConfigFile(kIni);
    for (const PrepareFault& f : kPrepareFaults) {
        for (const RPC_STATUS status : {RPC_S_OUT_OF_MEMORY, RPC_S_INVALID_STRING_BINDING,
                                        RPC_S_PROTSEQ_NOT_SUPPORTED, RPC_STATUS{-1}}) {
            const std::string row = std::string("no file, address given, ") + f.step +
                                    " fails with " + std::to_string(status);
            Clean();
            const int bad = rpc::BadReleases();
            rpc::FailCall(f.op, f.nth, status);
            EXPECT_EQ(ORV_Prepare("host-b", 0), ORV_E_BINDING) << row;
            ORV_Discard();
            EXPECT_EQ(ORV_Prepare("host-b", 0), 0) << row;
            EXPECT_EQ(ORV_Discard(), 0) << row;
            EXPECT_EQ(rpc::BadReleases(), bad) << row;
        }
    }
}

} // namespace
