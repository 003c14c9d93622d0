// orvctl: the host kit's command-line tool for Orvane.
#include <cstdio>
#include <string>

#include "Commands.h"

namespace {

const char kUsage[] =
    "usage: orvctl check [--ini PATH] [--server ADDR] [--json]\n"
    "       orvctl run [--dll PATH] [--script FILE] [STEP...]\n"
    "\n"
    "check  reads the configuration through the library's own reader (the Windows\n"
    "       directory's QOR_Commucation.ini, or PATH) and shows every key with its value\n"
    "       and result, the first read that fails the load, the transport and the string\n"
    "       binding that ORV_Prepare would compose for ADDR (or the configured server).\n"
    "       Exit 0 when ORV_Prepare would get past the configuration, 1 when not.\n"
    "run    loads the library (PATH, else Orvane.dll as a host finds it) and calls its\n"
    "       exports, one step after another; each call is printed with its status.\n"
    "       Steps (on the command line, or one a line in FILE):\n"
    "         prepare [ADDR]                discard\n"
    "         login AGENT DEVICE X1 X2 X3   logout AGENT\n"
    "         add-skill FILE                remove-skill FILE   (a skill record, <= 192 bytes)\n"
    "         request V1 BLOCKFILE V2       (a resource request block, <= 80 bytes)\n"
    "         fetch V1 V2 [V3]              (ORV_FetchTarget, or ORV_FetchTargetEx with V3)\n"
    "       A value is a number (decimal or 0x hex) or buf:N, the address of N zero bytes\n"
    "       that are shown after the call. Exit 0 when every call returned 0, 1 when not.\n"
    "Errors of the tool itself (arguments, files, library, exports) exit with 2.\n";

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "check") return orvctl::Check(argc - 2, argv + 2);
    if (command == "run") return orvctl::Run(argc - 2, argv + 2);
    if (command == "help" || command == "--help" || command == "-h") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    std::fputs(kUsage, stderr);
    return orvctl::kToolError;
}
