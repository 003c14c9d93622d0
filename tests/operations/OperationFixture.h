// A prepared library over the fakes, with the journal cleared, for every operation test.
#pragma once

#include <gtest/gtest.h>

#include "TestEnvironment.h"

namespace orvtest {

class PreparedOperations : public testing::Test {
  protected:
    void SetUp() override {
        ResetBindingsAndFakes();
        ASSERT_EQ(ORV_Prepare("host-a", 0), 0);
        known = LastPreparedHandles(&handles);
        FakeReset();
    }
    void TearDown() override { ResetBindingsAndFakes(); }

    // Checks that every journaled call of a library got that library's handle: the exact
    // handle where the runtime tells which one it made, else one handle per library.
    void ExpectHandlesByLibrary() {
        void* seen[3] = {};
        for (int i = 0; i < FakeCallCount(); ++i) {
            const FakeCall* call = FakeCallAt(i);
            const int library = call->op <= FAKE_ROUTING_TARGET_FETCH ? 0
                                : call->op <= FAKE_AGENT_SKILL_REMOVE ? 1
                                                                      : 2;
            void* expected[3] = {handles.routing, handles.agent, handles.device};
            if (known) {
                EXPECT_EQ(call->handle, expected[library]) << FakeOpName(call->op);
            } else {
                EXPECT_NE(call->handle, nullptr) << FakeOpName(call->op);
                if (seen[library] == nullptr) seen[library] = call->handle;
                EXPECT_EQ(call->handle, seen[library]) << FakeOpName(call->op);
            }
        }
        for (int a = 0; a < 3; ++a)
            for (int b = a + 1; b < 3; ++b)
                if (seen[a] != nullptr && seen[b] != nullptr) {
                    EXPECT_NE(seen[a], seen[b]) << "libraries share a handle";
                }
    }

    // The operation names of the journal, in order: "DeviceSignIn AgentSignIn".
    static std::string CallNames() {
        std::string names;
        for (int i = 0; i < FakeCallCount(); ++i) {
            if (i != 0) names += " ";
            names += FakeOpName(FakeCallAt(i)->op);
        }
        return names;
    }

    Handles handles = {};
    bool known = false;
};

} // namespace orvtest
