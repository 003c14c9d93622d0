/*
 * Orvane.h - the host's view of Orvane.dll.
 *
 * Nine stdcall exports, by undecorated name and fixed ordinal. Call ORV_Prepare
 * before any operation and ORV_Discard after the last one; never run either of
 * the two at the same time as another export. Every other export returns 0, a
 * status of Orvane's own (below) or a client library's status passed through
 * unchanged. The library keeps no data beyond the bindings, logs nothing and
 * writes through no argument itself: what a buffer receives, a service wrote.
 */
#ifndef ORVANE_H
#define ORVANE_H

#include <stdint.h>

/* The calling convention: stdcall on 32-bit Windows, the platform's own elsewhere. */
#if defined(_WIN32) && !defined(_WIN64)
#define ORV_CALL __stdcall
#else
#define ORV_CALL
#endif

/* Hosts import the functions from the DLL; the library defines ORV_API itself. */
#ifndef ORV_API
#if defined(_WIN32)
#define ORV_API __declspec(dllimport)
#else
#define ORV_API
#endif
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Status codes of Orvane's own; 0 is success. */
#define ORV_E_CONFIG 2                /* unusable configuration and no network address */
#define ORV_E_BINDING 0x08000001      /* composing or binding through the RPC runtime failed */
#define ORV_E_NOT_PREPARED 0x03640014 /* no bindings prepared for this operation */
#define ORV_E_INVALID_ARG 87          /* null skill record (ERROR_INVALID_PARAMETER) */

typedef int32_t ORV_STATUS;

/* An opaque argument forwarded unchanged: 32 bits in the i686 product,
   pointer-wide on 64-bit builds so that an address survives the trip. */
typedef uintptr_t ORV_VALUE;

/* The skill record, passed by address; its layout belongs to the services. */
#define ORV_SKILL_RECORD_SIZE 192
typedef struct ORV_SKILL_RECORD {
    unsigned char bytes[ORV_SKILL_RECORD_SIZE];
} ORV_SKILL_RECORD;

/* The resource request block, passed by value; its layout belongs to the routing service. */
#define ORV_RESOURCE_REQUEST_SIZE 80
typedef struct ORV_RESOURCE_REQUEST {
    unsigned char bytes[ORV_RESOURCE_REQUEST_SIZE];
} ORV_RESOURCE_REQUEST;

/* 1. Reads "QOR_Commucation.ini" (Windows directory) and binds to the routing, agent and
      device services. networkAddress, when neither null nor empty, replaces the configured
      server. Returns 0, ORV_E_CONFIG or ORV_E_BINDING; a failure releases nothing. */
ORV_API ORV_STATUS ORV_CALL ORV_Prepare(const char* networkAddress, ORV_VALUE reserved);

/* 2. Releases the string binding and the three handles in the order made; stops at the
      first failed release. Returns 0 when all four succeeded, else 1 (not a status code). */
ORV_API int32_t ORV_CALL ORV_Discard(void);

/* 3. Signs device in at the device service, then agent at the agent service. A refused
      agent sign-in leaves the device signed in. */
ORV_API ORV_STATUS ORV_CALL ORV_LoginAgent(ORV_VALUE agent, ORV_VALUE device, ORV_VALUE extra1,
                                           ORV_VALUE extra2, ORV_VALUE extra3);

/* 4. Asks the agent service for the agent's device, signs the agent out, then the device
      (its identifier cut to 15 characters). */
ORV_API ORV_STATUS ORV_CALL ORV_LogoutAgent(ORV_VALUE agent);

/* 5. Adds the skill at the routing service, then at the agent service; when the agent
      service refuses, removes it again at the routing service and returns the refusal.
      The agent service gets a copy of the record; a null skill gives ORV_E_INVALID_ARG. */
ORV_API ORV_STATUS ORV_CALL ORV_AddSkill(ORV_SKILL_RECORD* skill);

/* 6. The mirror of ORV_AddSkill: removes, and adds back at routing on an agent refusal;
      a null skill gives ORV_E_INVALID_ARG. */
ORV_API ORV_STATUS ORV_CALL ORV_RemoveSkill(ORV_SKILL_RECORD* skill);

/* 7. Hands the routing service a resource request; the 80-byte block travels by value. */
ORV_API ORV_STATUS ORV_CALL ORV_RequestResource(ORV_VALUE value1, ORV_RESOURCE_REQUEST request,
                                                ORV_VALUE value2);

/* 8. Fetches a routing target: the same routing call as ORV_FetchTargetEx(value1, value2, 0). */
ORV_API ORV_STATUS ORV_CALL ORV_FetchTarget(ORV_VALUE value1, ORV_VALUE value2);

/* 9. Fetches a routing target with a third value. */
ORV_API ORV_STATUS ORV_CALL ORV_FetchTargetEx(ORV_VALUE value1, ORV_VALUE value2, ORV_VALUE value3);

#ifdef __cplusplus
}
#endif

#endif /* ORVANE_H */
