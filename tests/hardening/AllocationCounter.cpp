#include "AllocationCounter.h"

#include <cstddef>
#include <cstdlib>
#include <new>

#include <dlfcn.h>

#include "Platform.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define ORV_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define ORV_SANITIZED 1
#endif
#endif

#ifdef ORV_SANITIZED
#include <sanitizer/allocator_interface.h>
#endif

namespace {

// Plain thread-local values: reading them allocates nothing, even inside malloc.
thread_local bool tCounting = false;
thread_local bool tCountPlatform = false;
thread_local int tPlatformDepth = 0;
thread_local long tCount = 0;

void Note() {
    if (tCounting && (tPlatformDepth == 0 || tCountPlatform)) ++tCount;
}

struct PlatformScope {
    PlatformScope() { ++tPlatformDepth; }
    ~PlatformScope() { --tPlatformDepth; }
};

// The stand-in's own definition of a platform function: the next one after this program.
template <typename Function> Function Next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

#ifdef ORV_SANITIZED
void OnMalloc(const volatile void*, std::size_t) {
    Note();
}
void OnFree(const volatile void*) {}
[[maybe_unused]] const int installed = __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree);
#endif

} // namespace

namespace alloc {

void Begin(bool countPlatform) {
    tCount = 0;
    tCountPlatform = countPlatform;
    tCounting = true;
}

long End() {
    tCounting = false;
    return tCount;
}

} // namespace alloc

// The platform functions the library calls, put in front of the stand-ins' (this program
// exports them, so liborvane.so binds to these): what happens inside is the platform's.
extern "C" {

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR def, LPSTR buffer, DWORD size,
                               LPCSTR file) {
    PlatformScope scope;
    static const auto next = Next<decltype(&GetPrivateProfileStringA)>(__func__);
    return next(section, key, def, buffer, size, file);
}

RPC_STATUS RpcStringBindingComposeA(RPC_CSTR uuid, RPC_CSTR protseq, RPC_CSTR address,
                                    RPC_CSTR endpoint, RPC_CSTR options, RPC_CSTR* binding) {
    PlatformScope scope;
    static const auto next = Next<decltype(&RpcStringBindingComposeA)>(__func__);
    return next(uuid, protseq, address, endpoint, options, binding);
}

RPC_STATUS RpcBindingFromStringBindingA(RPC_CSTR text, RPC_BINDING_HANDLE* binding) {
    PlatformScope scope;
    static const auto next = Next<decltype(&RpcBindingFromStringBindingA)>(__func__);
    return next(text, binding);
}

RPC_STATUS RpcStringFreeA(RPC_CSTR* text) {
    PlatformScope scope;
    static const auto next = Next<decltype(&RpcStringFreeA)>(__func__);
    return next(text);
}

RPC_STATUS RpcBindingFree(RPC_BINDING_HANDLE* binding) {
    PlatformScope scope;
    static const auto next = Next<decltype(&RpcBindingFree)>(__func__);
    return next(binding);
}

} // extern "C"

#ifndef ORV_SANITIZED
// The allocator of this program: glibc's own, counted. operator new comes here through
// malloc, also when libstdc++ or another library calls it.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* block);

void* malloc(std::size_t size) noexcept {
    Note();
    return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) noexcept {
    Note();
    return __libc_calloc(count, size);
}
void* realloc(void* block, std::size_t size) noexcept {
    Note();
    return __libc_realloc(block, size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept {
    Note();
    return __libc_memalign(alignment, size);
}
void free(void* block) noexcept {
    __libc_free(block);
}
}

namespace {
void* Allocate(std::size_t size) {
    if (void* block = std::malloc(size != 0 ? size : 1)) return block;
    throw std::bad_alloc();
}
void* AllocateAligned(std::size_t size, std::align_val_t alignment) {
    const auto align = static_cast<std::size_t>(alignment);
    if (void* block = aligned_alloc(align, (size + align - 1) / align * align)) return block;
    throw std::bad_alloc();
}
} // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return AllocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return AllocateAligned(size, alignment);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete(void* block, std::align_val_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::align_val_t) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t, std::align_val_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept {
    std::free(block);
}
#endif
