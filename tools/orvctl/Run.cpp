// orvctl run: loads the library at run time and calls its exports step by step, printing
// each call and its status. Every argument, file and export is checked before the first
// call, so that a mistake of the operator never leaves a session half made.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "Commands.h"
#include "Orvane.h"
#include "System.h"
#include "Text.h"

namespace orvctl {

namespace {

enum class Op { Prepare, Discard, Login, Logout, AddSkill, RemoveSkill, Request, Fetch };

struct StepKind {
    const char* name;
    Op op;
    std::size_t minArgs, maxArgs;
    const char* usage;
};

const StepKind kStepKinds[] = {
    {"prepare", Op::Prepare, 0, 1, "prepare [ADDR]"},
    {"discard", Op::Discard, 0, 0, "discard"},
    {"login", Op::Login, 5, 5, "login AGENT DEVICE X1 X2 X3"},
    {"logout", Op::Logout, 1, 1, "logout AGENT"},
    {"add-skill", Op::AddSkill, 1, 1, "add-skill FILE"},
    {"remove-skill", Op::RemoveSkill, 1, 1, "remove-skill FILE"},
    {"request", Op::Request, 3, 3, "request V1 BLOCKFILE V2"},
    {"fetch", Op::Fetch, 2, 3, "fetch V1 V2 [V3]"},
};

const StepKind* FindStepKind(const std::string& word) {
    for (const StepKind& k : kStepKinds)
        if (word == k.name) return &k;
    return nullptr;
}

// A value argument (ORV_VALUE): a number, or buf:N, the address of N zero bytes that the call
// may fill and that are shown after it.
struct Value {
    ORV_VALUE number = 0;
    std::vector<unsigned char> buffer; // empty unless buf:N

    ORV_VALUE Pass() {
        return buffer.empty() ? number : reinterpret_cast<ORV_VALUE>(buffer.data());
    }
};

struct Step {
    const StepKind* kind;
    std::string where;                // "step 'login'" or "FILE:4", for messages
    std::vector<std::string> args;    // as written
    std::vector<Value> values;        // one per argument; unused for texts and files
    std::vector<unsigned char> bytes; // the skill record or the request block
};

struct Failure {
    std::string message;
};

bool ParseNumber(const std::string& text, ORV_VALUE* value) {
    if (text.empty()) return false;
    const bool negative = text[0] == '-';
    const char* digits = text.c_str() + (negative ? 1 : 0);
    if (*digits < '0' || *digits > '9') return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long long v = std::strtoull(digits, &end, 0);
    if (errno != 0 || *end != '\0' || v > static_cast<ORV_VALUE>(-1)) return false;
    // A negative number is passed as its two's complement, as a host written in C would.
    *value = negative ? static_cast<ORV_VALUE>(0 - v) : static_cast<ORV_VALUE>(v);
    return true;
}

Value ParseValue(const std::string& text) {
    Value v;
    constexpr unsigned long kMaxBuffer = 65536;
    if (text.compare(0, 4, "buf:") == 0) {
        char* end = nullptr;
        const unsigned long n = std::strtoul(text.c_str() + 4, &end, 10);
        if (text.size() > 4 && *end == '\0' && n >= 1 && n <= kMaxBuffer) {
            v.buffer.assign(n, 0);
            return v;
        }
    } else if (ParseNumber(text, &v.number)) {
        return v;
    }
    throw Failure{"'" + text + "' is no value: give a number or buf:N (N from 1 to 65536)"};
}

// A record file: at most size bytes, padded with zero bytes to size.
std::vector<unsigned char> ReadRecord(const std::string& path, std::size_t size, const char* what) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Failure{"cannot read " + path};
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    if (bytes.size() > size)
        throw Failure{path + " has " + std::to_string(bytes.size()) + " bytes; " + what + " has " +
                      std::to_string(size)};
    bytes.resize(size, 0);
    return bytes;
}

Step MakeStep(const StepKind& kind, std::vector<std::string> args, const std::string& where) {
    if (args.size() < kind.minArgs || args.size() > kind.maxArgs)
        throw Failure{where + ": usage: " + kind.usage};
    Step step{&kind, where, std::move(args), {}, {}};
    step.values.resize(step.args.size());
    for (std::size_t i = 0; i < step.args.size(); ++i) {
        const std::string& a = step.args[i];
        const bool isFile = ((kind.op == Op::AddSkill || kind.op == Op::RemoveSkill) && i == 0) ||
                            (kind.op == Op::Request && i == 1);
        if (kind.op == Op::Prepare) continue; // the address is a text
        if (!isFile) {
            step.values[i] = ParseValue(a);
        } else if (kind.op == Op::Request) {
            step.bytes = ReadRecord(a, ORV_RESOURCE_REQUEST_SIZE, "a resource request block");
        } else {
            step.bytes = ReadRecord(a, ORV_SKILL_RECORD_SIZE, "a skill record");
        }
    }
    return step;
}

// Steps on the command line: a word that names a step begins the next one.
void AddArgumentSteps(int argc, char** argv, int first, std::vector<Step>* steps) {
    for (int i = first; i < argc;) {
        const StepKind* kind = FindStepKind(argv[i]);
        const std::string where = "step '" + std::string(argv[i]) + "'";
        if (kind == nullptr) throw Failure{"'" + std::string(argv[i]) + "' is no step"};
        std::vector<std::string> args;
        for (++i; i < argc && FindStepKind(argv[i]) == nullptr; ++i)
            args.push_back(argv[i]);
        steps->push_back(MakeStep(*kind, std::move(args), where));
    }
}

// A script: one step a line, its words separated by blanks; '#' begins a comment.
void AddScriptSteps(const std::string& path, std::vector<Step>* steps) {
    std::ifstream in(path);
    if (!in) throw Failure{"cannot read " + path};
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        std::istringstream words(line.substr(0, line.find('#')));
        std::vector<std::string> w;
        for (std::string word; words >> word;)
            w.push_back(word);
        if (w.empty()) continue;
        const std::string where = path + ":" + std::to_string(number);
        const StepKind* kind = FindStepKind(w[0]);
        if (kind == nullptr) throw Failure{where + ": '" + w[0] + "' is no step"};
        steps->push_back(MakeStep(*kind, std::vector<std::string>(w.begin() + 1, w.end()), where));
    }
}

struct Exports {
    decltype(&ORV_Prepare) prepare;
    decltype(&ORV_Discard) discard;
    decltype(&ORV_LoginAgent) login;
    decltype(&ORV_LogoutAgent) logout;
    decltype(&ORV_AddSkill) addSkill;
    decltype(&ORV_RemoveSkill) removeSkill;
    decltype(&ORV_RequestResource) request;
    decltype(&ORV_FetchTarget) fetch;
    decltype(&ORV_FetchTargetEx) fetchEx;
};

template <typename F> void Resolve(void* library, const std::string& path, const char* name, F* f) {
    const ExportedFunction found = FindExport(library, name);
    if (found == nullptr) throw Failure{path + " has no export " + name};
    *f = reinterpret_cast<F>(found);
}

Exports ResolveExports(void* library, const std::string& path) {
    Exports e{};
    Resolve(library, path, "ORV_Prepare", &e.prepare);
    Resolve(library, path, "ORV_Discard", &e.discard);
    Resolve(library, path, "ORV_LoginAgent", &e.login);
    Resolve(library, path, "ORV_LogoutAgent", &e.logout);
    Resolve(library, path, "ORV_AddSkill", &e.addSkill);
    Resolve(library, path, "ORV_RemoveSkill", &e.removeSkill);
    Resolve(library, path, "ORV_RequestResource", &e.request);
    Resolve(library, path, "ORV_FetchTarget", &e.fetch);
    Resolve(library, path, "ORV_FetchTargetEx", &e.fetchEx);
    return e;
}

// A status by name where the export can produce it itself (a client library's status of
// the same value cannot be told apart), else in decimal; always in hex too.
std::string StatusText(Op op, ORV_STATUS status) {
    const char* name = nullptr;
    if (op == Op::Prepare && status == ORV_E_CONFIG) name = "ORV_E_CONFIG";
    if (op == Op::Prepare && status == ORV_E_BINDING) name = "ORV_E_BINDING";
    if (op != Op::Prepare && status == static_cast<ORV_STATUS>(ORV_E_NOT_PREPARED))
        name = "ORV_E_NOT_PREPARED";
    char text[64];
    std::snprintf(text, sizeof text, "%s (0x%08lX)",
                  name != nullptr ? name : std::to_string(status).c_str(),
                  static_cast<unsigned long>(static_cast<std::uint32_t>(status)));
    return text;
}

std::string Join(const std::vector<std::string>& words) {
    std::string s;
    for (const std::string& w : words)
        s += (s.empty() ? "" : ", ") + w;
    return s;
}

// Makes one call and prints it with its result; true when the result is 0.
bool Call(const Exports& e, Step& s) {
    std::vector<Value>& v = s.values;
    std::string call;
    ORV_STATUS status = 0;
    ORV_SKILL_RECORD record;
    ORV_RESOURCE_REQUEST block;
    switch (s.kind->op) {
    case Op::Prepare: {
        const char* address = s.args.empty() ? nullptr : s.args[0].c_str();
        call = "ORV_Prepare(" + (address ? Quoted(address) : std::string("null")) + ", 0)";
        status = e.prepare(address, 0);
        break;
    }
    case Op::Discard: {
        const std::int32_t released = e.discard();
        std::printf("ORV_Discard() = %ld%s\n", static_cast<long>(released),
                    released == 0 ? "" : " (a release failed)");
        return released == 0;
    }
    case Op::Login:
        call = "ORV_LoginAgent(" + Join(s.args) + ")";
        status = e.login(v[0].Pass(), v[1].Pass(), v[2].Pass(), v[3].Pass(), v[4].Pass());
        break;
    case Op::Logout:
        call = "ORV_LogoutAgent(" + Join(s.args) + ")";
        status = e.logout(v[0].Pass());
        break;
    case Op::AddSkill:
    case Op::RemoveSkill: {
        const bool add = s.kind->op == Op::AddSkill;
        std::memcpy(record.bytes, s.bytes.data(), sizeof record.bytes);
        call = std::string(add ? "ORV_AddSkill(" : "ORV_RemoveSkill(") + s.args[0] + ")";
        status = add ? e.addSkill(&record) : e.removeSkill(&record);
        break;
    }
    case Op::Request:
        std::memcpy(block.bytes, s.bytes.data(), sizeof block.bytes);
        call = "ORV_RequestResource(" + Join(s.args) + ")";
        status = e.request(v[0].Pass(), block, v[2].Pass());
        break;
    case Op::Fetch:
        call = std::string(v.size() == 2 ? "ORV_FetchTarget(" : "ORV_FetchTargetEx(") +
               Join(s.args) + ")";
        status = v.size() == 2 ? e.fetch(v[0].Pass(), v[1].Pass())
                               : e.fetchEx(v[0].Pass(), v[1].Pass(), v[2].Pass());
        break;
    }
    std::string filled;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (v[i].buffer.empty()) continue;
        const std::vector<unsigned char>& b = v[i].buffer;
        const void* zero = std::memchr(b.data(), 0, b.size());
        const std::size_t n = zero ? static_cast<const unsigned char*>(zero) - b.data() : b.size();
        filled += "; " + s.args[i] + " = " + Quoted(std::string(b.begin(), b.begin() + n));
    }
    std::printf("%s = %s%s\n", call.c_str(), StatusText(s.kind->op, status).c_str(),
                filled.c_str());
    return status == 0;
}

} // namespace

int Run(int argc, char** argv) {
    std::string path = kDefaultLibrary;
    std::vector<Step> steps;
    try {
        int i = 0;
        for (; i < argc; i += 2) {
            const std::string option = argv[i];
            if (option != "--dll" && option != "--script") break;
            if (i + 1 >= argc) throw Failure{option + " needs a value"};
            if (option == "--dll") path = argv[i + 1];
            if (option == "--script") AddScriptSteps(argv[i + 1], &steps);
        }
        AddArgumentSteps(argc, argv, i, &steps);
        if (steps.empty()) throw Failure{"no steps to run"};

        std::string error;
        void* library = OpenLibrary(path, &error);
        if (library == nullptr) throw Failure{"cannot load " + path + ": " + error};
        const Exports exports = ResolveExports(library, path);

        bool allZero = true;
        for (Step& s : steps) {
            allZero = Call(exports, s) && allZero;
            std::fflush(stdout); // in order with what a client library writes meanwhile
        }
        return allZero ? 0 : kNotUsable;
    } catch (const Failure& f) {
        std::fprintf(stderr, "orvctl: run: %s\n", f.message.c_str());
        return kToolError;
    }
}

} // namespace orvctl
