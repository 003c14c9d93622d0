// Adding and removing a skill: routing step, agent step, and the undo when the agent
// service refuses; the agent service works on a copy of the host's record.
#include <cstring>
#include <string>

#include "OperationFixture.h"

namespace {

using SkillExport = ORV_STATUS(ORV_CALL*)(ORV_SKILL_RECORD*);

struct SkillExportRow {
    const char* name;
    SkillExport call;
    int routingStep, agentStep, undo;
};

const SkillExportRow kExports[] = {
    {"ORV_AddSkill", ORV_AddSkill, FAKE_ROUTING_SKILL_ADD, FAKE_AGENT_SKILL_ADD,
     FAKE_ROUTING_SKILL_REMOVE},
    {"ORV_RemoveSkill", ORV_RemoveSkill, FAKE_ROUTING_SKILL_REMOVE, FAKE_AGENT_SKILL_REMOVE,
     FAKE_ROUTING_SKILL_ADD},
};

class SkillAssignmentTest : public orvtest::PreparedOperations {
  protected:
    void SetUp() override {
        PreparedOperations::SetUp();
        orvtest::FillPattern(skill.bytes, sizeof skill.bytes, 0x40);
        std::memcpy(&original, &skill, sizeof skill);
    }
    ORV_SKILL_RECORD skill;
    ORV_SKILL_RECORD original;
};

TEST_F(SkillAssignmentTest, RefusedUntilPrepared) {
    orvtest::ResetBindingsAndFakes();
    for (const SkillExportRow& e : kExports)
        EXPECT_EQ(e.call(&skill), ORV_E_NOT_PREPARED) << e.name;
    EXPECT_EQ(FakeCallCount(), 0) << orvtest::JournalText();
}

struct StepCase {
    const char* name;
    ORV_STATUS routing, agent, undo;
    ORV_STATUS result;
    int calls; // routing step, agent step, undo: how many of them are made
};

const StepCase kStepCases[] = {
    {"both succeed", 0, 0, 0, 0, 2},
    {"routing refuses", 31, 0, 0, 31, 1},
    {"agent refuses, undo succeeds", 0, 32, 0, 32, 3},
    {"agent refuses, undo fails too", 0, 33, 99, 33, 3},
    {"agent returns the library's own code", 0, ORV_E_NOT_PREPARED, 0, ORV_E_NOT_PREPARED, 3},
};

TEST_F(SkillAssignmentTest, StepsAndUndoForBothExports) {
    for (const SkillExportRow& e : kExports) {
        for (const StepCase& c : kStepCases) {
            FakeReset();
            FakeSetStatus(e.routingStep, c.routing);
            FakeSetStatus(e.agentStep, c.agent);
            FakeSetStatus(e.undo, c.undo);
            EXPECT_EQ(e.call(&skill), c.result) << e.name << ", " << c.name;
            const int order[] = {e.routingStep, e.agentStep, e.undo};
            ASSERT_EQ(FakeCallCount(), c.calls) << e.name << ", " << c.name;
            for (int i = 0; i < c.calls; ++i) {
                EXPECT_EQ(FakeCallAt(i)->op, order[i])
                    << e.name << ", " << c.name << ", call " << i;
                // Routing calls get the host's record, the agent call a copy of its own.
                if (order[i] == e.agentStep) {
                    EXPECT_NE(FakeCallAt(i)->address, &skill) << e.name << ", " << c.name;
                } else {
                    EXPECT_EQ(FakeCallAt(i)->address, &skill) << e.name << ", " << c.name;
                }
            }
            ExpectHandlesByLibrary();
        }
    }
}

TEST_F(SkillAssignmentTest, AgentSeesTheRecordAsItWasOnEntry) {
    unsigned char routingWrites[ORV_SKILL_RECORD_SIZE], agentWrites[ORV_SKILL_RECORD_SIZE];
    std::memset(routingWrites, 0xEE, sizeof routingWrites);
    std::memset(agentWrites, 0xAA, sizeof agentWrites);
    for (const SkillExportRow& e : kExports) {
        FakeReset();
        std::memcpy(&skill, &original, sizeof skill);
        FakeSetWrite(e.routingStep, routingWrites, sizeof routingWrites);
        FakeSetWrite(e.agentStep, agentWrites, sizeof agentWrites);
        FakeSetStatus(e.agentStep, 5);
        EXPECT_EQ(e.call(&skill), 5) << e.name;
        ASSERT_EQ(FakeCallCount(), 3) << e.name;
        EXPECT_EQ(std::memcmp(FakeCallAt(0)->bytes, &original, sizeof original), 0)
            << e.name << ": routing step";
        EXPECT_EQ(std::memcmp(FakeCallAt(1)->bytes, &original, sizeof original), 0)
            << e.name << ": agent step saw what the routing step wrote";
        EXPECT_EQ(std::memcmp(FakeCallAt(2)->bytes, routingWrites, sizeof routingWrites), 0)
            << e.name << ": the undo gets the host's record as the routing step left it";
        EXPECT_EQ(std::memcmp(&skill, routingWrites, sizeof skill), 0)
            << e.name << ": the agent's writes reached the host's record";
    }
}

TEST_F(SkillAssignmentTest, NullRecordIsRefusedWithoutACall) {
    for (const SkillExportRow& e : kExports) {
        EXPECT_EQ(e.call(nullptr), ORV_E_INVALID_ARG) << e.name;
    }
    EXPECT_EQ(FakeCallCount(), 0) << orvtest::JournalText();
}

} // namespace
