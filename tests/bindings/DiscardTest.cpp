// Discarding the bindings: the order of the releases, where a failed release stops,
// that nothing is ever released twice, and the entry point doing no work.
#include <gtest/gtest.h>

#include <vector>

#include "ImportPatch.h"
#include "Platform.h"
#include "TestEnvironment.h"

#ifndef _WIN32
#include "rpc/RpcStandin.h"
#endif

namespace {

class DiscardTest : public testing::Test {
  protected:
    void SetUp() override { orvtest::ResetBindingsAndFakes(); }
    void TearDown() override { orvtest::ResetBindingsAndFakes(); }

    static bool Served() { return ORV_FetchTarget(1, 2) != ORV_E_NOT_PREPARED; }
};

TEST_F(DiscardTest, ReleasesEverythingAndEndsReadiness) {
    ASSERT_EQ(ORV_Prepare("host-a", 0), 0);
    ASSERT_TRUE(Served());
    EXPECT_EQ(ORV_Discard(), 0);
    FakeReset();
    ORV_SKILL_RECORD skill = {};
    ORV_RESOURCE_REQUEST request = {};
    const ORV_STATUS results[] = {ORV_LoginAgent(1, 2, 3, 4, 5),
                                  ORV_LogoutAgent(1),
                                  ORV_AddSkill(&skill),
                                  ORV_RemoveSkill(&skill),
                                  ORV_RequestResource(1, request, 2),
                                  ORV_FetchTarget(1, 2),
                                  ORV_FetchTargetEx(1, 2, 3)};
    for (ORV_STATUS r : results)
        EXPECT_EQ(r, ORV_E_NOT_PREPARED);
    EXPECT_EQ(FakeCallCount(), 0) << orvtest::JournalText();
    // A new preparation serves again.
    ASSERT_EQ(ORV_Prepare("host-b", 0), 0);
    EXPECT_TRUE(Served());
}

// A second discard in a row finds nothing to release: it reports the failed release
// of the absent routing handle, and never hands the runtime a text it has already freed.
TEST_F(DiscardTest, SecondDiscardReleasesNothingTwice) {
    ASSERT_EQ(ORV_Prepare("host-a", 0), 0);
    EXPECT_EQ(ORV_Discard(), 0);
    EXPECT_EQ(ORV_Discard(), 1);
    EXPECT_EQ(ORV_Discard(), 1);
    EXPECT_FALSE(Served());
    ASSERT_EQ(ORV_Prepare("host-a", 0), 0);
    EXPECT_TRUE(Served());
}

TEST_F(DiscardTest, DiscardBeforeAnyPreparationFails) {
    EXPECT_EQ(ORV_Discard(), 1);
    EXPECT_FALSE(Served());
}

#ifndef _WIN32
using standin::rpc::Op;

TEST_F(DiscardTest, ReleasesInTheOrderMade) {
    const int liveBefore = standin::rpc::LiveStrings() + standin::rpc::LiveHandles();
    ASSERT_EQ(ORV_Prepare("host-a", 0), 0);
    orvtest::Handles made;
    ASSERT_TRUE(orvtest::LastPreparedHandles(&made));
    const void* text = nullptr;
    for (const auto& call : standin::rpc::Journal())
        if (call.op == Op::Compose) text = call.made;
    standin::rpc::Reset();

    ASSERT_EQ(ORV_Discard(), 0);
    const auto& journal = standin::rpc::Journal();
    ASSERT_EQ(journal.size(), 4u);
    EXPECT_EQ(journal[0].op, Op::StringFree);
    EXPECT_EQ(journal[0].value, text);
    const void* handles[] = {made.routing, made.agent, made.device};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(journal[1 + i].op, Op::BindingFree) << "release " << i + 1;
        EXPECT_EQ(journal[1 + i].value, handles[i]) << "release " << i + 1;
    }
    EXPECT_EQ(standin::rpc::LiveStrings() + standin::rpc::LiveHandles(), liveBefore);
}

// A failed release at each step: the releases after it are not attempted, and the
// operations are served exactly while the routing handle is still there.
struct ReleaseFault {
    const char* name;
    Op op;
    int nth;
    int releasesMade; // successful releases before the failing one
    bool served;
};

const ReleaseFault kReleaseFaults[] = {
    {"string binding", Op::StringFree, 1, 0, true},
    {"routing handle", Op::BindingFree, 1, 1, true},
    {"agent handle", Op::BindingFree, 2, 2, false},
    {"device handle", Op::BindingFree, 3, 3, false},
};

TEST_F(DiscardTest, FailedReleaseStopsTheDiscard) {
    for (const ReleaseFault& c : kReleaseFaults) {
        orvtest::ResetBindingsAndFakes();
        ASSERT_EQ(ORV_Prepare("host-a", 0), 0) << c.name;
        const int liveBefore = standin::rpc::LiveStrings() + standin::rpc::LiveHandles();
        standin::rpc::Reset();
        standin::rpc::FailCall(c.op, c.nth, RPC_S_INVALID_BINDING);
        EXPECT_EQ(ORV_Discard(), 1) << c.name;
        EXPECT_EQ(static_cast<int>(standin::rpc::Journal().size()), c.releasesMade + 1) << c.name;
        EXPECT_EQ(standin::rpc::LiveStrings() + standin::rpc::LiveHandles(),
                  liveBefore - c.releasesMade)
            << c.name;
        EXPECT_EQ(Served(), c.served) << c.name;

        // What is left is released by the next discard, once, and nothing twice.
        ORV_Discard();
        EXPECT_EQ(standin::rpc::BadReleases(), 0) << c.name;
    }
}

// Some runtimes free the text but leave its address in the variable; the library must
// still never hand that address back to the runtime.
TEST_F(DiscardTest, RuntimeThatLeavesTheFreedPointer) {
    standin::rpc::SetClearStringOnFree(false);
    const int stringsBefore = standin::rpc::LiveStrings();
    ASSERT_EQ(ORV_Prepare("host-a", 0), 0);
    EXPECT_EQ(ORV_Discard(), 0);
    EXPECT_EQ(ORV_Discard(), 1);
    EXPECT_EQ(standin::rpc::BadReleases(), 0);
    EXPECT_EQ(standin::rpc::LiveStrings(), stringsBefore);
}
#endif

#ifdef _WIN32
// What Orvane.dll hands the runtime to release, seen through its own imports.
std::vector<void*> released;
RPC_STATUS(RPC_ENTRY* realStringFree)(RPC_CSTR*) = nullptr;
RPC_STATUS(RPC_ENTRY* realBindingFree)(RPC_BINDING_HANDLE*) = nullptr;

RPC_STATUS RPC_ENTRY RecordStringFree(RPC_CSTR* text) {
    if (*text != nullptr) released.push_back(*text);
    return realStringFree(text);
}

RPC_STATUS RPC_ENTRY RecordBindingFree(RPC_BINDING_HANDLE* handle) {
    if (*handle != nullptr) released.push_back(*handle);
    return realBindingFree(handle);
}

// The runtime here may leave a freed text's address in the variable; whatever it does, the
// library must never hand the same text or handle to it twice.
TEST_F(DiscardTest, RuntimeNeverSeesTheSameReleaseTwice) {
    HMODULE orvane = GetModuleHandleA("Orvane.dll");
    realStringFree = reinterpret_cast<decltype(realStringFree)>(orvtest::PatchImport(
        orvane, "rpcrt4.dll", "RpcStringFreeA", reinterpret_cast<void*>(&RecordStringFree)));
    realBindingFree = reinterpret_cast<decltype(realBindingFree)>(orvtest::PatchImport(
        orvane, "rpcrt4.dll", "RpcBindingFree", reinterpret_cast<void*>(&RecordBindingFree)));
    ASSERT_NE(realStringFree, nullptr);
    ASSERT_NE(realBindingFree, nullptr);
    released.clear();

    ASSERT_EQ(ORV_Prepare("host-a", 0), 0);
    EXPECT_EQ(ORV_Discard(), 0);
    const std::size_t afterFirst = released.size();
    EXPECT_EQ(ORV_Discard(), 1);
    EXPECT_EQ(ORV_Discard(), 1);
    const std::size_t afterRepeats = released.size();
    ASSERT_EQ(ORV_Prepare("host-b", 0), 0);
    EXPECT_EQ(ORV_Discard(), 0);
    const std::size_t afterSecond = released.size();

    orvtest::PatchImport(orvane, "rpcrt4.dll", "RpcStringFreeA",
                         reinterpret_cast<void*>(realStringFree));
    orvtest::PatchImport(orvane, "rpcrt4.dll", "RpcBindingFree",
                         reinterpret_cast<void*>(realBindingFree));
    EXPECT_EQ(afterFirst, 4u) << "the string binding and three handles";
    EXPECT_EQ(afterRepeats, afterFirst) << "a repeated discard handed a released member over";
    EXPECT_EQ(afterSecond, afterFirst + 4) << "the next preparation's four members";
}

// Loading the library again, unloading it, and threads starting and ending all reach
// the entry point; none of them touches the bindings.
DWORD WINAPI DoNothing(LPVOID) {
    return 0;
}

TEST_F(DiscardTest, EntryPointTouchesNothing) {
    ASSERT_EQ(ORV_Prepare("host-a", 0), 0);
    HMODULE again = LoadLibraryA("Orvane.dll");
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(FreeLibrary(again));
    HANDLE thread = CreateThread(nullptr, 0, DoNothing, nullptr, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    EXPECT_TRUE(Served());
    EXPECT_EQ(ORV_Discard(), 0);
    again = LoadLibraryA("Orvane.dll");
    EXPECT_TRUE(FreeLibrary(again));
    EXPECT_FALSE(Served());
}
#endif

} // namespace
