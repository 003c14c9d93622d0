// The main of every test program. On Windows a crash must end the program with a
// non-zero code and a message, never a hang or a silent exit; natively the profile
// reader's Windows directory is a fresh temporary directory. The last line is the
// summary the test runner looks for.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>

#include "ImportPatch.h"

static LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
    std::fprintf(stderr, "unhandled exception 0x%08lx\n",
                 static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode));
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

static bool UnderWine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

static void WINAPI IgnoreDebugString(LPCSTR) {}

// GoogleTest passes every failure and skip to OutputDebugStringA, which raises an exception,
// and keeps a thread blocked in a wait from the first one on. Under Wine on an emulated
// 32-bit CPU, that exception with that thread alive brings the whole program down, so the
// first failure hid all the others. Under Wine this program's own import of the function is
// pointed at a no-op.
static void SilenceDebugStrings() {
    orvtest::PatchImport(GetModuleHandleA(nullptr), "kernel32.dll", "OutputDebugStringA",
                         reinterpret_cast<void*>(&IgnoreDebugString));
}
#else
#include <unistd.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    SetUnhandledExceptionFilter(ReportCrash);
    if (UnderWine()) SilenceDebugStrings();
#else
    char dir[] = "/tmp/orvane-windir-XXXXXX";
    if (mkdtemp(dir) == nullptr) return 2;
    setenv("ORVANE_WINDIR", dir, 1);
#endif
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    const testing::UnitTest& unit = *testing::UnitTest::GetInstance();
#ifndef _WIN32
    std::system((std::string("rm -rf ") + dir).c_str());
#endif
    std::printf("%d passed, %d failed\n", unit.successful_test_count(), unit.failed_test_count());
    std::fflush(stdout);
    return result;
}
