/* A host built the way of the MSVC tools (clang in MSVC mode, lld-link, /SAFESEH on
   32-bit), linking Orvane.lib. No C runtime: the entry point's result is the exit code,
   0 when every call answered as expected, else the number of the first that did not. */
#include "Orvane.h"

static ORV_RESOURCE_REQUEST request;

int start(void) {
    if (ORV_FetchTarget(1, 2) != ORV_E_NOT_PREPARED) return 1;
    if (ORV_RequestResource(1, request, 2) != ORV_E_NOT_PREPARED) return 2;
    if (ORV_Prepare("127.0.0.1", 0) != 0) return 3;
    if (ORV_Discard() != 0) return 4;
    return 0;
}
