// Counts the heap allocations made on the calling thread between Begin and End. Those made
// inside the platform's stand-ins (the profile reader and the RPC runtime, which allocate
// for their own purposes, the string binding among them) are left out unless asked for:
// they are the platform's, not the library's. Natively this program replaces malloc and
// operator new; under a sanitizer, which owns the allocator, its allocation hook counts.
#pragma once

namespace alloc {

void Begin(bool countPlatform = false);
long End();

} // namespace alloc
