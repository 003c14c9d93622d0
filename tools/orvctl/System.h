// What orvctl needs from the operating system, in one place: loading a library at run
// time, and where the configuration file lies.
#pragma once

#include <string>

namespace orvctl {

using ExportedFunction = void (*)();

// The library's file name when --dll is not given: found as a host would find it.
extern const char kDefaultLibrary[];

// Loads a library; null with the system's reason in *error when that fails. A name with
// a directory is loaded from there, and its own dependencies are looked for beside it
// first (so a directory can hold Orvane.dll together with a set of client libraries).
void* OpenLibrary(const std::string& path, std::string* error);
// The export of that name, or null.
ExportedFunction FindExport(void* library, const char* name);

// PATH taken against the current directory, as the profile reader needs it: a name
// without a full path would otherwise mean a file in the Windows directory.
std::string AbsolutePath(const std::string& path);
// The full path of a file name without a directory, as the profile reader resolves it:
// the Windows directory (natively $ORVANE_WINDIR, else the current directory).
std::string ConfigPath(const char* name);

} // namespace orvctl
