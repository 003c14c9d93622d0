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

static LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
    std::fprintf(stderr, "unhandled exception 0x%08lx\n",
                 static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode));
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}
#else
#include <unistd.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    SetUnhandledExceptionFilter(ReportCrash);
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
