// What the tests share: the configuration file in the Windows directory, a clean
// binding state around every test, and readable names for statuses and journal rows.
#pragma once

#include <cstddef>
#include <string>

#include "FakeClients.h"
#include "Orvane.h"

namespace orvtest {

// The directory a file name without a directory resolves to: the Windows directory,
// or $ORVANE_WINDIR natively (the test main points it at a fresh temporary directory).
std::string ConfigDirectory();
// The path of a file name in the configuration directory.
std::string InConfigDirectory(const char* name);
// Writes text byte for byte as the file name in the configuration directory; removes it.
void WriteConfigFile(const char* name, const std::string& text);
void RemoveConfigFile(const char* name);

// A complete TCP configuration; tests take keys out or change them.
extern const char kTcpConfig[];
// A complete HTTP configuration with both proxies.
extern const char kHttpConfig[];

// Empties the library's bindings (through a prepare on a given address and a discard),
// then clears the fakes' journal and scripts and, natively, the runtime stand-in's.
void ResetBindingsAndFakes();

// The string binding a live handle was made from, through the runtime itself.
std::string BindingText(void* handle);

// The handles the runtime made at the last preparation, in the order made (routing,
// agent, device). Known only where the runtime is the native stand-in.
struct Handles {
    void* routing;
    void* agent;
    void* device;
};
bool LastPreparedHandles(Handles* handles);

// An 80-byte block or 192-byte record filled with a pattern that no two offsets share.
void FillPattern(unsigned char* bytes, std::size_t count, unsigned char seed);

// Calls made since the last reset, one line each: "AgentSignIn(h=1 42,7,1,2,3)".
std::string JournalText();

} // namespace orvtest
