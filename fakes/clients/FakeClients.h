// Recording fakes of the three client libraries, for tests. Every call of the eleven
// operations is journaled with its handle, values, the address it received and the
// bytes found there on entry; each operation returns its scripted status and can write
// scripted bytes into the buffer it receives. A plain C interface, so that test
// programs and the fake client DLLs share it across module boundaries on Windows.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "Orvane.h"

#ifndef FAKE_API
#ifdef _WIN32
#define FAKE_API __declspec(dllimport)
#else
#define FAKE_API
#endif
#endif

#ifdef __cplusplus
extern "C" {
#endif

enum FakeOp {
    FAKE_ROUTING_SKILL_ADD,      // routing 28
    FAKE_ROUTING_SKILL_REMOVE,   // routing 29
    FAKE_ROUTING_RESOURCE,       // routing 31
    FAKE_ROUTING_TARGET_FETCH,   // routing 32
    FAKE_AGENT_SIGN_IN,          // agent 3
    FAKE_AGENT_SIGN_OUT,         // agent 4
    FAKE_AGENT_DEVICE_QUERY,     // agent 18
    FAKE_AGENT_SKILL_ADD,        // agent 21
    FAKE_AGENT_SKILL_REMOVE,     // agent 22
    FAKE_DEVICE_SIGN_IN,         // device 27
    FAKE_DEVICE_SIGN_OUT,        // device 28
    FAKE_OP_COUNT
};

#define FAKE_MAX_BYTES 192
#define FAKE_MAX_CALLS 4096

typedef struct FakeCall {
    int op;                              /* an FakeOp */
    void* handle;                        /* the binding handle, first argument */
    ORV_VALUE values[5];                 /* the 32-bit values after the handle, in order */
    int valueCount;
    const void* address;                 /* skill record, device buffer or device text */
    unsigned char bytes[FAKE_MAX_BYTES]; /* what was found at address, or the 80-byte block */
    size_t byteCount;
} FakeCall;

/* Clears the journal, the statuses (all 0), the scripted writes and the hook. The journal is
   safe to fill from several threads at once; scripts are set while no call runs. */
FAKE_API void FakeReset(void);
FAKE_API void FakeSetStatus(int op, ORV_STATUS status);
/* The operation writes count bytes (at most 192) into the buffer it receives. Unscripted, the
   device query writes the empty identifier, and no other operation writes. */
FAKE_API void FakeSetWrite(int op, const void* bytes, size_t count);
FAKE_API int FakeCallCount(void);
/* The i-th call journaled since the last reset, or null. */
FAKE_API const FakeCall* FakeCallAt(int i);
FAKE_API const char* FakeOpName(int op);
/* Called on every call once it is journaled and its scripted write is made, in the calling
   thread and outside the journal's lock, with the journaled record and the buffer the call
   received (or null); it may write into that buffer. FakeReset removes it. */
typedef void (*FakeHook)(const FakeCall* call, void* address);
FAKE_API void FakeSetHook(FakeHook hook);

/* For the fake client libraries themselves. */
FAKE_API ORV_STATUS FakeRecord(int op, void* handle, const ORV_VALUE* values, int valueCount,
                               void* address, const void* bytes, size_t byteCount);

#ifdef __cplusplus
}
#endif
