// The parts of the string binding that a preparation composes, chosen from the loaded
// settings and the caller's network address. Shared by ORV_Prepare and the diagnosis
// tool, so both always agree on what a configuration yields.
#pragma once

#include "ConnectionSettings.h"

namespace orv {

struct BindingParts {
    const char* protseq;  // "ncacn_http" or "ncacn_ip_tcp", never the configured text
    const char* address;  // the caller's address when given, else the configured server
    const char* endPoint; // always a text, possibly empty
    const char* options;  // null (absent) unless the transport is HTTP
};

// False when no binding can be made: the load failed and no address was given. A null
// or empty networkAddress means none was given. The parts point into settings and
// networkAddress.
bool ChooseBindingParts(const ConnectionSettings& settings, bool loaded, const char* networkAddress,
                        BindingParts* parts);

} // namespace orv
