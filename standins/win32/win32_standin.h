// Linux stand-ins for the few Windows interfaces Orvane uses: the profile reader and
// five RPC runtime operations. Types and contracts are written from what Orvane expects
// of them, not taken from any platform header. Linked only into native builds.
#pragma once

#include <cstdint>

using DWORD = std::uint32_t;
using LPCSTR = const char*;
using LPSTR = char*;
using RPC_STATUS = std::int32_t;
using RPC_CSTR = unsigned char*;
using RPC_BINDING_HANDLE = void*;
struct UUID;

constexpr RPC_STATUS RPC_S_OK = 0;
constexpr RPC_STATUS RPC_S_OUT_OF_MEMORY = 14;
constexpr RPC_STATUS RPC_S_INVALID_ARG = 87;
constexpr RPC_STATUS RPC_S_INVALID_STRING_BINDING = 1700;
constexpr RPC_STATUS RPC_S_INVALID_BINDING = 1702;
constexpr RPC_STATUS RPC_S_PROTSEQ_NOT_SUPPORTED = 1703;

#define WINAPI
#define RPC_ENTRY

extern "C" {

// Copies the value of key in section of file into buffer (at most size - 1 characters,
// always terminated), or def when the file, section or key is absent; returns the count
// copied. Section and key match without regard to case. A file name without a directory
// is looked for in $ORVANE_WINDIR, else in the current directory.
DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR def, LPSTR buffer, DWORD size,
                               LPCSTR file);

RPC_STATUS RpcStringBindingComposeA(RPC_CSTR objUuid, RPC_CSTR protseq, RPC_CSTR networkAddr,
                                    RPC_CSTR endpoint, RPC_CSTR options, RPC_CSTR* stringBinding);
RPC_STATUS RpcBindingFromStringBindingA(RPC_CSTR stringBinding, RPC_BINDING_HANDLE* binding);
RPC_STATUS RpcStringFreeA(RPC_CSTR* string);
RPC_STATUS RpcBindingFree(RPC_BINDING_HANDLE* binding);
// Gives back the string binding a handle was made from; for tests, as on Windows.
RPC_STATUS RpcBindingToStringBindingA(RPC_BINDING_HANDLE binding, RPC_CSTR* stringBinding);
}
