// The model behind the stand-in platform's eleven operations; see Model.h and the sample
// model file in samples/ for what it holds.
#include "Model.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

// The statuses for wrong sequences; the model file may give each another value.
enum Status {
    kOk = -1,
    kUnknownAgent,
    kUnknownDevice,
    kDeviceSignedIn,
    kDeviceSignedOut,
    kAgentSignedIn,
    kAgentSignedOut,
    kSkillPresent,
    kSkillAbsent,
    kRequestPending,
    kRequestUnknown,
    kNoTarget,
    kBadArgument,
    kNoModel,
    kStatusCount
};

struct StatusDefault {
    const char* name;
    ORV_STATUS value;
};

const StatusDefault kStatusDefaults[kStatusCount] = {
    {"unknown-agent", 1101},     {"unknown-device", 1102},  {"device-signed-in", 1103},
    {"device-signed-out", 1104}, {"agent-signed-in", 1105}, {"agent-signed-out", 1106},
    {"skill-present", 1107},     {"skill-absent", 1108},    {"request-pending", 1109},
    {"request-unknown", 1110},   {"no-target", 1111},       {"bad-argument", 1112},
    {"no-model", 1199},
};

using Skill = std::pair<ORV_VALUE, std::string>; // agent, skill name

struct Model {
    std::string error; // why the model file could not be used; then every call fails
    bool trace = false;
    ORV_STATUS statuses[kStatusCount];
    std::map<ORV_VALUE, std::string> devices;               // device number -> identifier
    std::set<ORV_VALUE> devicesSignedIn;                    // at the device service
    std::set<ORV_VALUE> agents;                             // known to the agent service
    std::map<ORV_VALUE, ORV_VALUE> agentsSignedIn;          // agent -> its device
    std::set<Skill> routingSkills, agentSkills;             // each service keeps its own
    std::map<std::string, std::deque<std::string>> targets; // per skill, in order
    std::map<ORV_VALUE, std::string> requests;              // pending: number -> skill
};

bool ParseValue(const std::string& word, ORV_VALUE* value) {
    if (word.empty() || word[0] == '-') return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long long v = std::strtoull(word.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || v > static_cast<ORV_VALUE>(-1)) return false;
    *value = static_cast<ORV_VALUE>(v);
    return true;
}

// A status as a signed 32-bit value, written either way: -5, 1101, 0x8007000E.
bool ParseStatus(const std::string& word, ORV_STATUS* status) {
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(word.c_str(), &end, 0);
    if (word.empty() || errno != 0 || *end != '\0' || v < INT32_MIN || v > UINT32_MAX) return false;
    *status = static_cast<ORV_STATUS>(static_cast<std::uint32_t>(v));
    return true;
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

// One line of the model file; an empty result means it was understood.
std::string ApplyLine(Model& m, const std::vector<std::string>& w) {
    const std::string& what = w[0];
    const auto want = [&](std::size_t n) {
        return w.size() == n ? std::string() : what + " takes " + std::to_string(n - 1) + " words";
    };
    ORV_VALUE a = 0, b = 0;
    if (what == "trace") {
        if (!want(1).empty()) return want(1);
        m.trace = true;
    } else if (what == "device") {
        if (!want(3).empty()) return want(3);
        if (!ParseValue(w[1], &a)) return "bad device number '" + w[1] + "'";
        if (w[2].size() > 16) return "a device identifier has at most 16 characters";
        m.devices[a] = w[2];
    } else if (what == "agent") {
        if (!want(2).empty()) return want(2);
        if (!ParseValue(w[1], &a)) return "bad agent number '" + w[1] + "'";
        m.agents.insert(a);
    } else if (what == "signed-in") {
        if (!want(3).empty()) return want(3);
        if (!ParseValue(w[1], &a) || m.agents.count(a) == 0) return "unknown agent '" + w[1] + "'";
        if (!ParseValue(w[2], &b) || m.devices.count(b) == 0)
            return "unknown device '" + w[2] + "'";
        m.agentsSignedIn[a] = b;
        m.devicesSignedIn.insert(b);
    } else if (what == "skill") {
        if (!want(3).empty()) return want(3);
        if (!ParseValue(w[1], &a) || m.agents.count(a) == 0) return "unknown agent '" + w[1] + "'";
        m.routingSkills.insert({a, w[2]});
        m.agentSkills.insert({a, w[2]});
    } else if (what == "target") {
        if (!want(3).empty()) return want(3);
        m.targets[w[1]].push_back(w[2]);
    } else if (what == "status") {
        if (!want(3).empty()) return want(3);
        for (int s = 0; s < kStatusCount; ++s) {
            if (w[1] != kStatusDefaults[s].name) continue;
            if (!ParseStatus(w[2], &m.statuses[s])) return "bad status value '" + w[2] + "'";
            return {};
        }
        return "unknown status name '" + w[1] + "'";
    } else {
        return "unknown line '" + what + "'";
    }
    return {};
}

void Load(Model& m) {
    for (int s = 0; s < kStatusCount; ++s)
        m.statuses[s] = kStatusDefaults[s].value;
    const char* env = std::getenv("ORVANE_PLATFORM_MODEL");
    const std::string path = env != nullptr && *env != '\0' ? env : "platform.model";
    std::ifstream in(path);
    if (!in) {
        m.error = "cannot read the model file " + path;
    } else {
        std::string line;
        for (int number = 1; m.error.empty() && std::getline(in, line); ++number) {
            const std::size_t hash = line.find('#');
            const std::vector<std::string> w = Words(line.substr(0, hash));
            if (w.empty()) continue;
            const std::string problem = ApplyLine(m, w);
            if (!problem.empty()) m.error = path + ":" + std::to_string(number) + ": " + problem;
        }
    }
    // Said once, so that a host's developer sees why every call fails.
    if (!m.error.empty()) std::fprintf(stderr, "stand-in platform: %s\n", m.error.c_str());
}

Model& TheModel() {
    static Model model;
    static bool loaded = false;
    if (!loaded) {
        loaded = true;
        Load(model);
    }
    return model;
}

ORV_STATUS Finish(Model& m, const std::string& call, Status s) {
    const ORV_STATUS status = s == kOk ? 0 : m.statuses[s];
    if (m.trace) {
        std::fprintf(stderr, "  platform: %s = %ld%s%s\n", call.c_str(), static_cast<long>(status),
                     s == kOk ? "" : " ", s == kOk ? "" : kStatusDefaults[s].name);
        std::fflush(stderr);
    }
    return status;
}

std::string TextOf(const unsigned char* bytes, std::size_t size) {
    const void* zero = std::memchr(bytes, 0, size);
    return std::string(reinterpret_cast<const char*>(bytes),
                       zero ? static_cast<const unsigned char*>(zero) - bytes : size);
}

bool ReadSkill(const ORV_SKILL_RECORD* record, Skill* skill) {
    if (record == nullptr) return false;
    const std::vector<std::string> w = Words(TextOf(record->bytes, sizeof record->bytes));
    if (w.size() != 2 || !ParseValue(w[0], &skill->first)) return false;
    skill->second = w[1];
    return true;
}

std::string Describe(const Skill& skill) {
    return std::to_string(static_cast<unsigned long long>(skill.first)) + " " + skill.second;
}

std::string Number(ORV_VALUE v) {
    return std::to_string(static_cast<unsigned long long>(v));
}

// Adds (or, with add false, removes) a skill at one service.
ORV_STATUS ChangeSkill(const char* op, const void* binding, const ORV_SKILL_RECORD* record,
                       std::set<Skill>& skills, bool add, bool agentService) {
    Model& m = TheModel();
    Skill skill;
    if (!m.error.empty()) return Finish(m, op, kNoModel);
    if (binding == nullptr || !ReadSkill(record, &skill)) return Finish(m, op, kBadArgument);
    const std::string call = std::string(op) + "(" + Describe(skill) + ")";
    if (agentService && m.agents.count(skill.first) == 0) return Finish(m, call, kUnknownAgent);
    if (add && !skills.insert(skill).second) return Finish(m, call, kSkillPresent);
    if (!add && skills.erase(skill) == 0) return Finish(m, call, kSkillAbsent);
    return Finish(m, call, kOk);
}

} // namespace

extern "C" {

ORV_STATUS ModelRoutingSkillAdd(const void* binding, const ORV_SKILL_RECORD* skill) {
    return ChangeSkill("RoutingSkillAdd", binding, skill, TheModel().routingSkills, true, false);
}

ORV_STATUS ModelRoutingSkillRemove(const void* binding, const ORV_SKILL_RECORD* skill) {
    return ChangeSkill("RoutingSkillRemove", binding, skill, TheModel().routingSkills, false,
                       false);
}

ORV_STATUS ModelAgentSkillAdd(const void* binding, const ORV_SKILL_RECORD* skill) {
    return ChangeSkill("AgentSkillAdd", binding, skill, TheModel().agentSkills, true, true);
}

ORV_STATUS ModelAgentSkillRemove(const void* binding, const ORV_SKILL_RECORD* skill) {
    return ChangeSkill("AgentSkillRemove", binding, skill, TheModel().agentSkills, false, true);
}

ORV_STATUS ModelResourceRequest(const void* binding, ORV_VALUE value1,
                                const ORV_RESOURCE_REQUEST* request, ORV_VALUE value2) {
    Model& m = TheModel();
    const std::string skill =
        request != nullptr ? TextOf(request->bytes, sizeof request->bytes) : "";
    const std::string call =
        "RoutingResourceRequest(" + Number(value1) + ", \"" + skill + "\", " + Number(value2) + ")";
    if (!m.error.empty()) return Finish(m, call, kNoModel);
    if (binding == nullptr || Words(skill).size() != 1) return Finish(m, call, kBadArgument);
    if (!m.requests.emplace(value1, skill).second) return Finish(m, call, kRequestPending);
    return Finish(m, call, kOk);
}

ORV_STATUS ModelTargetFetch(const void* binding, ORV_VALUE value1, ORV_VALUE value2,
                            ORV_VALUE value3) {
    Model& m = TheModel();
    std::string call = "RoutingTargetFetch(" + Number(value1) + ", buffer, " + Number(value3) + ")";
    if (!m.error.empty()) return Finish(m, call, kNoModel);
    if (binding == nullptr) return Finish(m, call, kBadArgument);
    const auto request = m.requests.find(value1);
    if (request == m.requests.end()) return Finish(m, call, kRequestUnknown);
    std::deque<std::string>& queue = m.targets[request->second];
    if (queue.empty()) return Finish(m, call, kNoTarget);
    const std::string target = queue.front();
    queue.pop_front();
    m.requests.erase(request);
    if (value2 != 0) {
        char* buffer = reinterpret_cast<char*>(value2);
        const std::size_t size = value3 != 0 ? value3 : 16;
        const std::size_t n = std::min(target.size(), size - 1);
        std::memcpy(buffer, target.data(), n);
        buffer[n] = '\0';
    }
    return Finish(m, call + " -> \"" + target + "\"", kOk);
}

ORV_STATUS ModelAgentSignIn(const void* binding, ORV_VALUE agent, ORV_VALUE device,
                            ORV_VALUE extra1, ORV_VALUE extra2, ORV_VALUE extra3) {
    Model& m = TheModel();
    const std::string call = "AgentSignIn(" + Number(agent) + ", " + Number(device) + ", " +
                             Number(extra1) + ", " + Number(extra2) + ", " + Number(extra3) + ")";
    if (!m.error.empty()) return Finish(m, call, kNoModel);
    if (binding == nullptr) return Finish(m, call, kBadArgument);
    if (m.agents.count(agent) == 0) return Finish(m, call, kUnknownAgent);
    if (m.agentsSignedIn.count(agent) != 0) return Finish(m, call, kAgentSignedIn);
    if (m.devices.count(device) == 0) return Finish(m, call, kUnknownDevice);
    // The agent service asks the device service: the device must be signed in there.
    if (m.devicesSignedIn.count(device) == 0) return Finish(m, call, kDeviceSignedOut);
    for (const auto& signedIn : m.agentsSignedIn)
        if (signedIn.second == device) return Finish(m, call, kDeviceSignedIn);
    m.agentsSignedIn[agent] = device;
    return Finish(m, call, kOk);
}

ORV_STATUS ModelAgentSignOut(const void* binding, ORV_VALUE agent) {
    Model& m = TheModel();
    const std::string call = "AgentSignOut(" + Number(agent) + ")";
    if (!m.error.empty()) return Finish(m, call, kNoModel);
    if (binding == nullptr) return Finish(m, call, kBadArgument);
    if (m.agents.count(agent) == 0) return Finish(m, call, kUnknownAgent);
    if (m.agentsSignedIn.erase(agent) == 0) return Finish(m, call, kAgentSignedOut);
    return Finish(m, call, kOk);
}

ORV_STATUS ModelAgentDeviceQuery(const void* binding, ORV_VALUE agent, char* device) {
    Model& m = TheModel();
    std::string call = "AgentDeviceQuery(" + Number(agent) + ")";
    if (!m.error.empty()) return Finish(m, call, kNoModel);
    if (binding == nullptr || device == nullptr) return Finish(m, call, kBadArgument);
    if (m.agents.count(agent) == 0) return Finish(m, call, kUnknownAgent);
    const auto signedIn = m.agentsSignedIn.find(agent);
    if (signedIn == m.agentsSignedIn.end()) return Finish(m, call, kAgentSignedOut);
    // A 16-character identifier fills the buffer without a terminator, as a service may.
    const std::string& id = m.devices[signedIn->second];
    std::memset(device, 0, 16);
    std::memcpy(device, id.data(), id.size());
    return Finish(m, call + " -> \"" + id + "\"", kOk);
}

ORV_STATUS ModelDeviceSignIn(const void* binding, ORV_VALUE device) {
    Model& m = TheModel();
    const std::string call = "DeviceSignIn(" + Number(device) + ")";
    if (!m.error.empty()) return Finish(m, call, kNoModel);
    if (binding == nullptr) return Finish(m, call, kBadArgument);
    if (m.devices.count(device) == 0) return Finish(m, call, kUnknownDevice);
    if (!m.devicesSignedIn.insert(device).second) return Finish(m, call, kDeviceSignedIn);
    return Finish(m, call, kOk);
}

ORV_STATUS ModelDeviceSignOut(const void* binding, const char* device) {
    Model& m = TheModel();
    const std::string id = device != nullptr ? device : "";
    const std::string call = "DeviceSignOut(\"" + id + "\")";
    if (!m.error.empty()) return Finish(m, call, kNoModel);
    if (binding == nullptr || device == nullptr) return Finish(m, call, kBadArgument);
    for (const auto& d : m.devices) {
        if (d.second != id) continue;
        if (m.devicesSignedIn.erase(d.first) == 0) return Finish(m, call, kDeviceSignedOut);
        return Finish(m, call, kOk);
    }
    return Finish(m, call, kUnknownDevice);
}

} // extern "C"
