// Windows only: points one module's import of a function at a replacement, so a test can
// see, or quieten, what that module calls in a system DLL.
#pragma once

#ifdef _WIN32
#include <windows.h>

namespace orvtest {

// Rewrites module's import slot for function (imported by name from dll) to replacement;
// returns what the slot held, or null when the module has no such import.
void* PatchImport(HMODULE module, const char* dll, const char* function, void* replacement);

} // namespace orvtest
#endif
