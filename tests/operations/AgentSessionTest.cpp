// Agent sign-in and sign-out: the order of the calls, where a refusal stops them, what
// reaches each service, and the device identifier handed from the agent service to the
// device service.
#include <cstring>
#include <string>

#include "OperationFixture.h"

namespace {

using orvtest::JournalText;

class AgentSessionTest : public orvtest::PreparedOperations {};

TEST_F(AgentSessionTest, RefusedUntilPrepared) {
    orvtest::ResetBindingsAndFakes();
    EXPECT_EQ(ORV_LoginAgent(1, 2, 3, 4, 5), ORV_E_NOT_PREPARED);
    EXPECT_EQ(ORV_LogoutAgent(1), ORV_E_NOT_PREPARED);
    EXPECT_EQ(FakeCallCount(), 0) << JournalText();
}

struct LoginCase {
    const char* name;
    ORV_STATUS deviceSignIn, agentSignIn;
    ORV_STATUS result;
    const char* calls;
};

const LoginCase kLoginCases[] = {
    {"both succeed", 0, 0, 0, "DeviceSignIn AgentSignIn"},
    {"device refuses", 1701, 0, 1701, "DeviceSignIn"},
    {"agent refuses, device stays signed in", 0, -5, -5, "DeviceSignIn AgentSignIn"},
    {"device returns the library's own code", ORV_E_NOT_PREPARED, 0, ORV_E_NOT_PREPARED,
     "DeviceSignIn"},
};

TEST_F(AgentSessionTest, LoginOrderAndRefusals) {
    for (const LoginCase& c : kLoginCases) {
        FakeReset();
        FakeSetStatus(FAKE_DEVICE_SIGN_IN, c.deviceSignIn);
        FakeSetStatus(FAKE_AGENT_SIGN_IN, c.agentSignIn);
        EXPECT_EQ(ORV_LoginAgent(11, 22, 33, 44, 55), c.result) << c.name;
        EXPECT_EQ(CallNames(), c.calls) << c.name;
    }
}

TEST_F(AgentSessionTest, LoginPassesEveryValueUnchanged) {
    const ORV_VALUE agent = 0x80000001u, device = 0xFFFFFFFFu;
    ASSERT_EQ(ORV_LoginAgent(agent, device, 0, 0x12345678u, 7), 0);
    EXPECT_EQ(JournalText(), "DeviceSignIn(" + std::to_string(device) + ")\nAgentSignIn(" +
                                 std::to_string(agent) + "," + std::to_string(device) +
                                 ",0,305419896,7)\n");
    ExpectHandlesByLibrary();
}

struct LogoutCase {
    const char* name;
    ORV_STATUS query, agentSignOut, deviceSignOut;
    ORV_STATUS result;
    const char* calls;
};

const LogoutCase kLogoutCases[] = {
    {"all succeed", 0, 0, 0, 0, "AgentDeviceQuery AgentSignOut DeviceSignOut"},
    {"query refused", 6, 0, 0, 6, "AgentDeviceQuery"},
    {"agent sign-out refused", 0, 7, 0, 7, "AgentDeviceQuery AgentSignOut"},
    {"device sign-out refused after the agent left", 0, 0, 8, 8,
     "AgentDeviceQuery AgentSignOut DeviceSignOut"},
};

TEST_F(AgentSessionTest, LogoutOrderAndRefusals) {
    for (const LogoutCase& c : kLogoutCases) {
        FakeReset();
        FakeSetStatus(FAKE_AGENT_DEVICE_QUERY, c.query);
        FakeSetStatus(FAKE_AGENT_SIGN_OUT, c.agentSignOut);
        FakeSetStatus(FAKE_DEVICE_SIGN_OUT, c.deviceSignOut);
        EXPECT_EQ(ORV_LogoutAgent(4242), c.result) << c.name;
        EXPECT_EQ(CallNames(), c.calls) << c.name;
        for (int i = 0; i < FakeCallCount() && i < 2; ++i)
            EXPECT_EQ(FakeCallAt(i)->values[0], 4242u) << c.name << ": agent value";
    }
    ExpectHandlesByLibrary();
}

struct DeviceIdCase {
    const char* name;
    unsigned char written[16]; // what the agent service writes into the buffer
    const char* received;      // what the device service then receives
};

const DeviceIdCase kDeviceIdCases[] = {
    {"short identifier", {'D', 'E', 'V', '-', '4', '2', 0}, "DEV-42"},
    {"fifteen characters",
     {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0', '1', '2', '3', '4', '5', 0},
     "123456789012345"},
    {"sixteen characters, no terminator",
     {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N', 'O', 'P'},
     "ABCDEFGHIJKLMNO"},
    {"8-bit characters", {0xC4, 0xD6, 0xDC, 0xFF, 0}, "\xC4\xD6\xDC\xFF"},
};

TEST_F(AgentSessionTest, DeviceIdentifierReachesTheDeviceService) {
    for (const DeviceIdCase& c : kDeviceIdCases) {
        FakeReset();
        FakeSetWrite(FAKE_AGENT_DEVICE_QUERY, c.written, sizeof c.written);
        ASSERT_EQ(ORV_LogoutAgent(9), 0) << c.name;
        ASSERT_EQ(FakeCallCount(), 3) << c.name;
        const FakeCall* query = FakeCallAt(0);
        const FakeCall* signOut = FakeCallAt(2);
        EXPECT_EQ(signOut->address, query->address) << c.name << ": the same 16-byte buffer";
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(signOut->bytes)), c.received) << c.name;
    }
}

} // namespace
