// The DLL's entry point, reached without any C runtime start-up: it reports success for
// every reason and does no work, so loading, unloading and thread events never touch the
// bindings.
#ifdef _WIN32
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE /*module*/, DWORD /*reason*/, LPVOID /*reserved*/) {
    return TRUE;
}
#endif
