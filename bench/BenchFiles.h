// Files the benchmarks read: the configuration file and profile files of chosen sizes,
// written where the profile reader looks for a name without a directory.
#pragma once

#include <cstddef>
#include <string>

namespace orvbench {

// The Windows directory, or natively $ORVANE_WINDIR (else the current directory).
std::string WindowsDirectory();
std::string InWindowsDirectory(const char* name);

// Writes text byte for byte and makes the profile reader forget any copy it keeps.
void WriteTextFile(const std::string& path, const std::string& text);

// A profile file of close to `bytes` bytes (never less than one section): numbered
// sections of ten keys, then section "target" with key "key" = "found" as its last line,
// so that a reader looking for it goes through the whole file. The same bytes on every
// platform, so the native and the Windows programs read identical files.
std::string MakeSampleProfile(std::size_t bytes);
constexpr char kSampleSection[] = "target";
constexpr char kSampleKey[] = "key";
constexpr char kSampleValue[] = "found";

} // namespace orvbench
