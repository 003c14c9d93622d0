#include "RpcStandin.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

namespace standin::rpc {

namespace {

struct Failure {
    Op op;
    int remaining;
    RPC_STATUS status;
    void* leave;
};

struct Handle {
    std::string text;
};

struct State {
    std::vector<Call> journal;
    std::vector<Failure> failures;
    std::set<const void*> strings;
    std::set<const void*> handles;
    int badReleases = 0;
    bool clearStringOnFree = true;
};

State& state() {
    // Never destroyed: what the runtime holds at exit stays reachable through it, as a real
    // runtime's live bindings do until the process ends, so leak checkers see no leak there.
    static State& s = *new State;
    return s;
}

// Counts the call against the scripted failures; the status to fail with, or RPC_S_OK.
RPC_STATUS Scripted(Op op, void** leave) {
    RPC_STATUS result = RPC_S_OK;
    for (Failure& f : state().failures) {
        if (f.op != op || f.remaining <= 0) continue;
        if (--f.remaining == 0) {
            result = f.status;
            *leave = f.leave;
        }
    }
    return result;
}

Call::Part PartOf(RPC_CSTR text) {
    if (text == nullptr) return {true, {}};
    return {false, reinterpret_cast<const char*>(text)};
}

Call NewCall(Op op) {
    Call c{};
    c.op = op;
    return c;
}

RPC_CSTR NewString(const std::string& text) {
    char* copy = static_cast<char*>(std::malloc(text.size() + 1));
    std::memcpy(copy, text.c_str(), text.size() + 1);
    state().strings.insert(copy);
    return reinterpret_cast<RPC_CSTR>(copy);
}

} // namespace

void Reset() {
    state().journal.clear();
    state().failures.clear();
    state().clearStringOnFree = true;
}

void FailCall(Op op, int nth, RPC_STATUS status, void* leave) {
    state().failures.push_back({op, nth, status, leave});
}

void SetClearStringOnFree(bool clear) {
    state().clearStringOnFree = clear;
}

const std::vector<Call>& Journal() {
    return state().journal;
}

int CountCalls(Op op) {
    int n = 0;
    for (const Call& c : state().journal)
        n += c.op == op;
    return n;
}

int LiveStrings() {
    return static_cast<int>(state().strings.size());
}
int LiveHandles() {
    return static_cast<int>(state().handles.size());
}
int BadReleases() {
    return state().badReleases;
}

std::string TextOf(RPC_BINDING_HANDLE handle) {
    if (state().handles.count(handle) == 0) return {};
    return static_cast<Handle*>(handle)->text;
}

} // namespace standin::rpc

using namespace standin::rpc;

extern "C" RPC_STATUS RpcStringBindingComposeA(RPC_CSTR objUuid, RPC_CSTR protseq,
                                               RPC_CSTR networkAddr, RPC_CSTR endpoint,
                                               RPC_CSTR options, RPC_CSTR* stringBinding) {
    Call c = NewCall(Op::Compose);
    c.uuid = PartOf(objUuid);
    c.protseq = PartOf(protseq);
    c.address = PartOf(networkAddr);
    c.endpoint = PartOf(endpoint);
    c.options = PartOf(options);
    c.target = stringBinding;
    void* leave = nullptr;
    c.result = Scripted(Op::Compose, &leave);
    if (c.result != RPC_S_OK) {
        if (leave != nullptr) *stringBinding = static_cast<RPC_CSTR>(leave);
    } else {
        std::string text;
        if (!c.uuid.isNull && !c.uuid.text.empty()) text += c.uuid.text + "@";
        text += c.protseq.text + ":" + c.address.text;
        if (!c.endpoint.text.empty() || !c.options.text.empty()) {
            text += "[" + c.endpoint.text;
            if (!c.options.text.empty()) text += "," + c.options.text;
            text += "]";
        }
        c.text = text;
        *stringBinding = NewString(text);
        c.made = *stringBinding;
    }
    state().journal.push_back(c);
    return c.result;
}

extern "C" RPC_STATUS RpcBindingFromStringBindingA(RPC_CSTR stringBinding,
                                                   RPC_BINDING_HANDLE* binding) {
    Call c = NewCall(Op::FromString);
    c.target = binding;
    void* leave = nullptr;
    c.result = Scripted(Op::FromString, &leave);
    if (c.result == RPC_S_OK) {
        const char* text = reinterpret_cast<const char*>(stringBinding);
        const bool known = text != nullptr && (std::strncmp(text, "ncacn_ip_tcp:", 13) == 0 ||
                                               std::strncmp(text, "ncacn_http:", 11) == 0);
        c.result = known ? RPC_S_OK : RPC_S_INVALID_STRING_BINDING;
    }
    if (c.result == RPC_S_OK) {
        c.text = reinterpret_cast<const char*>(stringBinding);
        Handle* h = new Handle{c.text};
        state().handles.insert(h);
        *binding = h;
        c.made = h;
    } else if (leave != nullptr) {
        *binding = leave;
    }
    state().journal.push_back(c);
    return c.result;
}

extern "C" RPC_STATUS RpcStringFreeA(RPC_CSTR* string) {
    Call c = NewCall(Op::StringFree);
    c.target = string;
    c.value = *string;
    void* leave = nullptr;
    c.result = Scripted(Op::StringFree, &leave);
    if (c.result == RPC_S_OK && *string != nullptr) {
        if (state().strings.erase(*string) == 1) {
            c.text = reinterpret_cast<const char*>(*string);
            std::free(*string);
            if (state().clearStringOnFree) *string = nullptr;
        } else {
            ++state().badReleases;
            c.result = RPC_S_INVALID_ARG;
        }
    } else if (c.result != RPC_S_OK && leave != nullptr) {
        *string = static_cast<RPC_CSTR>(leave);
    }
    state().journal.push_back(c);
    return c.result;
}

extern "C" RPC_STATUS RpcBindingFree(RPC_BINDING_HANDLE* binding) {
    Call c = NewCall(Op::BindingFree);
    c.target = binding;
    c.value = *binding;
    void* leave = nullptr;
    c.result = Scripted(Op::BindingFree, &leave);
    if (c.result == RPC_S_OK) {
        if (*binding == nullptr) {
            c.result = RPC_S_INVALID_BINDING; // as the runtime answers for a null handle
        } else if (state().handles.erase(*binding) == 1) {
            Handle* h = static_cast<Handle*>(*binding);
            c.text = h->text;
            delete h;
            *binding = nullptr;
        } else {
            ++state().badReleases;
            c.result = RPC_S_INVALID_BINDING;
        }
    } else if (leave != nullptr) {
        *binding = leave;
    }
    state().journal.push_back(c);
    return c.result;
}

extern "C" RPC_STATUS RpcBindingToStringBindingA(RPC_BINDING_HANDLE binding,
                                                 RPC_CSTR* stringBinding) {
    if (state().handles.count(binding) == 0) return RPC_S_INVALID_BINDING;
    *stringBinding = NewString(static_cast<Handle*>(binding)->text);
    return RPC_S_OK;
}
