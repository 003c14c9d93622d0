// Control of the native RPC runtime stand-in: a journal of every call, live objects,
// failure injection at any chosen call, and double-release detection. Strings look like
// the runtime's own: "protseq:address[endpoint,options]".
#pragma once

#include <string>
#include <vector>

#include "win32/win32_standin.h"

namespace standin::rpc {

enum class Op { Compose, FromString, StringFree, BindingFree };

struct Call {
    Op op;
    RPC_STATUS result;
    // Compose: the five parts; a part passed as null is recorded with isNull set.
    struct Part {
        bool isNull;
        std::string text;
    } uuid, protseq, address, endpoint, options;
    std::string text;   // the text bound or freed
    const void* target; // the variable whose address the runtime received
    const void* value;  // what that variable held on entry (StringFree, BindingFree)
    const void* made;   // the string or handle made (Compose, FromString)
};

// Forgets the journal, the scripted failures and the release mode; live objects stay.
void Reset();
// The nth call of op from now on (1 = the next one) fails with status; the receiving
// variable is left as it was, or set to leave when that is not null.
void FailCall(Op op, int nth, RPC_STATUS status, void* leave = nullptr);
// False imitates a runtime whose RpcStringFreeA frees the text but leaves the pointer.
void SetClearStringOnFree(bool clear);

const std::vector<Call>& Journal();
int CountCalls(Op op);
int LiveStrings();
int LiveHandles();
// Releases of something that is not live (freed before, or never made).
int BadReleases();
// The text a live handle was made from; empty when the handle is not live.
std::string TextOf(RPC_BINDING_HANDLE handle);

} // namespace standin::rpc
