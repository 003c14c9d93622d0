// What the configuration file says about reaching the services, for one preparation.
#pragma once

#include <cstdint>

namespace orv {

enum class TransportKind : std::int32_t { Http = 0, Tcp = 1, Unrecognised = -1 };

constexpr int kTextSize = 256; // 255 characters and the terminator

// "HttpProxy=" + 255 + "," + "RpcProxy=" + 255: the longest composition of options,
// held whole so that no proxy name is ever cut.
constexpr int kOptionsSize = 10 + 255 + 1 + 9 + 255 + 1;

// A plain record; it starts all zero (transport Http, flags 0, texts empty) and
// LoadSettings relies on that start state.
struct ConnectionSettings {
    TransportKind transport;
    std::uint8_t useEndPoint;
    std::uint8_t useHttpProxy;
    char server[kTextSize];
    char endPoint[kTextSize];
    char options[kOptionsSize];
};

} // namespace orv
