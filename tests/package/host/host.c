/* A host in C that links Orvane by name through the package's import library. On 32-bit
   Windows the link itself checks the header: each export is imported by its stdcall
   name, whose @N is the size of the arguments as the header declares them. */
#include <stdio.h>

#include "Orvane.h"

static int failures = 0;

static void Expect(const char* call, long got, long want) {
    printf("%s = %ld%s\n", call, got, got == want ? "" : " (unexpected)");
    if (got != want) ++failures;
}

int main(void) {
    static ORV_SKILL_RECORD skill;
    static ORV_RESOURCE_REQUEST request;
    Expect("ORV_FetchTarget(1, 2)", ORV_FetchTarget(1, 2), ORV_E_NOT_PREPARED);
    Expect("ORV_AddSkill(&skill)", ORV_AddSkill(&skill), ORV_E_NOT_PREPARED);
    Expect("ORV_RequestResource(1, request, 2)", ORV_RequestResource(1, request, 2),
           ORV_E_NOT_PREPARED);
    Expect("ORV_Prepare(\"127.0.0.1\", 0)", ORV_Prepare("127.0.0.1", 0), 0);
    Expect("ORV_Discard()", ORV_Discard(), 0);
    printf("host: %s\n", failures == 0 ? "ok" : "FAILED");
    return failures == 0 ? 0 : 1;
}
