#include "ConfigReader.h"
#include "Text.h"

namespace orv {

int ConfigReader::LoadSettings(ConnectionSettings* settings) {
    char scratch[kTextSize];
    const std::int32_t capacity = kTextSize;

    if (ReadProtseq(scratch, &capacity) != 0) return -1;
    // Only the start of the configured text matters, and the text itself is not kept.
    settings->transport = TransportKind::Unrecognised;
    if (PrefixEqualsIgnoreCase(scratch, "ncacn_http", 10)) {
        settings->transport = TransportKind::Http;
    } else if (PrefixEqualsIgnoreCase(scratch, "ncacn_ip_tcp", 12)) {
        settings->transport = TransportKind::Tcp;
    }

    if (ReadServer(settings->server, &capacity) != 0) return -1;

    if (ReadUseEndPoint(&settings->useEndPoint) != 0) return -1;
    if (settings->useEndPoint == 1) {
        if (ReadEndPoint(scratch, &capacity) != 0) return -1;
        settings->endPoint[0] = '\0';
        AppendText(settings->endPoint, sizeof settings->endPoint, scratch);
    }

    if (ReadUseHttpProxy(&settings->useHttpProxy) != 0) return -1;
    settings->options[0] = '\0';
    if (settings->useHttpProxy == 1) {
        if (ReadHttpProxy(scratch, &capacity) != 0) return -1;
        AppendText(settings->options, sizeof settings->options, "HttpProxy=");
        AppendText(settings->options, sizeof settings->options, scratch);
    }

    // Read in every configuration, TCP included: a missing RpcProxy fails the load.
    if (ReadRpcProxy(scratch, &capacity) != 0) return -1;
    if (settings->options[0] != '\0') AppendText(settings->options, sizeof settings->options, ",");
    AppendText(settings->options, sizeof settings->options, "RpcProxy=");
    AppendText(settings->options, sizeof settings->options, scratch);
    return 0;
}

} // namespace orv
