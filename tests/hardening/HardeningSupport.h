// What the hardening tests share: the seven operations with fixed arguments, and a check
// that no client library was handed a handle the runtime does not hold live.
#pragma once

#include <string>

#include "Orvane.h"

namespace hardening {

constexpr char kIni[] = "QOR_Commucation.ini";

// The path the library's configuration file name resolves to.
std::string IniPath();

enum Operation {
    kLoginAgent,
    kLogoutAgent,
    kAddSkill,
    kRemoveSkill,
    kRequestResource,
    kFetchTarget,
    kFetchTargetEx,
    kOperationCount
};

const char* OperationName(int operation);
// Runs one operation once with fixed arguments and returns its status.
ORV_STATUS RunOperation(int operation);

// The client calls journaled since the last FakeReset whose binding handle was null or not
// live in the runtime, one name each; empty when every call got a live handle.
std::string CallsWithDeadHandles();

} // namespace hardening
