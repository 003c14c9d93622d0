// Profile files of chosen sizes for the benchmarks to read; they are written where the
// profile reader looks for a name without a directory, with the tests' own helpers
// (TestEnvironment.h: InConfigDirectory, WriteConfigFile).
#pragma once

#include <cstddef>
#include <string>

namespace orvbench {

// A profile file of close to `bytes` bytes (never less than one section): numbered
// sections of ten keys, then section "target" with key "key" = "found" as its last line,
// so that a reader looking for it goes through the whole file. The same bytes on every
// platform, so the native and the Windows programs read identical files.
std::string MakeSampleProfile(std::size_t bytes);
constexpr char kSampleSection[] = "target";
constexpr char kSampleKey[] = "key";
constexpr char kSampleValue[] = "found";

} // namespace orvbench
