#include "BindingParts.h"

namespace orv {

bool ChooseBindingParts(const ConnectionSettings& settings, bool loaded, const char* networkAddress,
                        BindingParts* parts) {
    const bool addressGiven = networkAddress != nullptr && networkAddress[0] != '\0';
    if (!loaded && !addressGiven) return false;
    // After a failed load only the endpoint counts: the binding is plain TCP.
    const bool http = loaded && settings.transport == TransportKind::Http;
    parts->protseq = http ? "ncacn_http" : "ncacn_ip_tcp";
    parts->address = addressGiven ? networkAddress : settings.server;
    parts->endPoint = settings.endPoint;
    parts->options = http ? settings.options : nullptr;
    return true;
}

} // namespace orv
