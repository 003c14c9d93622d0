#include "HardeningSupport.h"

#include "FakeClients.h"
#include "TestEnvironment.h"
#include "rpc/RpcStandin.h"

namespace hardening {

std::string IniPath() {
    return orvtest::ConfigDirectory() + "/" + kIni;
}

const char* OperationName(int operation) {
    static const char* const names[kOperationCount] = {
        "ORV_LoginAgent",      "ORV_LogoutAgent", "ORV_AddSkill",     "ORV_RemoveSkill",
        "ORV_RequestResource", "ORV_FetchTarget", "ORV_FetchTargetEx"};
    return names[operation];
}

ORV_STATUS RunOperation(int operation) {
    ORV_SKILL_RECORD skill = {};
    ORV_RESOURCE_REQUEST request = {};
    switch (operation) {
    case kLoginAgent:
        return ORV_LoginAgent(1, 2, 3, 4, 5);
    case kLogoutAgent:
        return ORV_LogoutAgent(1);
    case kAddSkill:
        return ORV_AddSkill(&skill);
    case kRemoveSkill:
        return ORV_RemoveSkill(&skill);
    case kRequestResource:
        return ORV_RequestResource(1, request, 2);
    case kFetchTarget:
        return ORV_FetchTarget(1, 2);
    default:
        return ORV_FetchTargetEx(1, 2, 3);
    }
}

std::string CallsWithDeadHandles() {
    std::string dead;
    for (int i = 0; i < FakeCallCount(); ++i) {
        const FakeCall* call = FakeCallAt(i);
        if (call->handle == nullptr || standin::rpc::TextOf(call->handle).empty())
            dead += std::string(FakeOpName(call->op)) + " ";
    }
    return dead;
}

} // namespace hardening
