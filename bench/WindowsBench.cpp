// The Windows benchmark program, run under wine64 from the x86_64 build (it builds for
// i686 too): each export against the same client calls made directly, ORV_Prepare
// against its parts, and the real GetPrivateProfileStringA against the stand-in's reader
// on the same files. No Windows build of Google Benchmark comes in a package, so the
// timing loop is its own: rounds of back-to-back batches, medians of per-round ratios.
//   orv_bench_win [--brief]      --brief: a few rounds only, as a smoke run
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "BenchFiles.h"
#include "TestEnvironment.h"
#include "Forwarding.h"
#include "Preparation.h"
#include "Report.h"

extern "C" std::uint32_t StandinGetPrivateProfileStringA(const char* section, const char* key,
                                                         const char* def, char* buffer,
                                                         std::uint32_t size, const char* file);

using namespace orvbench;

namespace {

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
    std::fprintf(stderr, "unhandled exception 0x%08lx\n",
                 static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode));
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "bench: %s\n", what);
    std::exit(2);
}

// One read of the sample key with the stand-in's reader or the real one.
double TimeRead(bool standin, const std::string& path) {
    char value[64] = "";
    const auto start = std::chrono::steady_clock::now();
    if (standin)
        StandinGetPrivateProfileStringA(kSampleSection, kSampleKey, "", value, sizeof value,
                                        path.c_str());
    else
        GetPrivateProfileStringA(kSampleSection, kSampleKey, "", value, sizeof value, path.c_str());
    const auto stop = std::chrono::steady_clock::now();
    if (std::strcmp(value, kSampleValue) != 0) Fail("the sample key was not found");
    return std::chrono::duration<double, std::nano>(stop - start).count();
}

struct ProfileFigures {
    std::size_t bytes;
    double standinNs;   // the stand-in's reader, median
    double realNs;      // GetPrivateProfileStringA, repeated reads of an unchanged file
    double realFirstNs; // GetPrivateProfileStringA, the first read after the file changed
    double ratio;       // median of per-round stand-in / real
};

const std::size_t kProfileSizes[] = {1000, 10000, 100000, 1000000, 10000000};

std::string SampleName(std::size_t bytes) {
    return "orv-bench-profile-" + std::to_string(bytes) + ".ini";
}

std::string SamplePath(std::size_t bytes) {
    return orvtest::InConfigDirectory(SampleName(bytes).c_str());
}

ProfileFigures MeasureProfile(std::size_t bytes, bool brief) {
    const std::string path = SamplePath(bytes);

    std::vector<double> first;
    for (int i = 0; i < (brief ? 1 : 3); ++i) {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str()); // drops its copy
        first.push_back(TimeRead(false, path));
    }
    // Fewer rounds as the file grows: about 30 MB read by each side, 5 rounds at least.
    const int rounds =
        brief ? 2 : static_cast<int>(std::clamp<std::size_t>(30000000 / bytes, 5, 500));
    std::vector<double> standinNs, realNs, ratios;
    for (int i = 0; i < rounds; ++i) {
        const bool standinFirst = i % 2 == 0;
        const double a = TimeRead(standinFirst, path);
        const double b = TimeRead(!standinFirst, path);
        standinNs.push_back(standinFirst ? a : b);
        realNs.push_back(standinFirst ? b : a);
        ratios.push_back(standinNs.back() / realNs.back());
    }
    DeleteFileA(path.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
    return {bytes, Median(standinNs), Median(realNs), Median(first), Median(ratios)};
}

void PrintProfileTable(const std::vector<ProfileFigures>& rows) {
    std::printf("| file bytes | stand-in's reader us/read | GetPrivateProfileStringA us/read | "
                "GetPrivateProfileStringA us, first read after a change | stand-in / real | "
                "stand-in growth (10x bytes) |\n");
    std::printf("|---:|---:|---:|---:|---:|---:|\n");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ProfileFigures& r = rows[i];
        char growth[32] = "-";
        if (i > 0)
            std::snprintf(growth, sizeof growth, "%.1fx", r.standinNs / rows[i - 1].standinNs);
        std::printf("| %zu | %.1f | %.1f | %.1f | %.2f | %s |\n", r.bytes, r.standinNs / 1000,
                    r.realNs / 1000, r.realFirstNs / 1000, r.ratio, growth);
    }
}

} // namespace

int main(int argc, char** argv) {
    SetUnhandledExceptionFilter(ReportCrash);
    const bool brief = argc > 1 && std::strcmp(argv[1], "--brief") == 0;

    WriteFullConfig();
    // Wine parses a profile file anew on every read while the file is younger than about
    // two seconds (repeat reads then cost as much as first reads): the sample files are
    // written first and read only once they are older than that.
    for (std::size_t bytes : kProfileSizes)
        orvtest::WriteConfigFile(SampleName(bytes).c_str(), MakeSampleProfile(bytes));
    const auto written = std::chrono::steady_clock::now();

    if (!PrepareLibrary()) Fail("preparation failed");
    // Round after round over all the cases, so that each case's rounds span the whole
    // phase rather than one stretch of the machine's load.
    const std::vector<ForwardingCase>& cases = ForwardingCases();
    std::vector<std::vector<Round>> rounds(cases.size());
    for (int i = 0; i < (brief ? 4 : 2048); ++i)
        for (std::size_t c = 0; c < cases.size(); ++c)
            rounds[c].push_back(RunRound(cases[c], i, kBatch));
    std::vector<NamedComparison> forwarding;
    for (std::size_t c = 0; c < cases.size(); ++c)
        forwarding.emplace_back(cases[c].name, Summarise(rounds[c]));

    std::vector<double> parts, viaExport, ratios;
    for (int i = 0; i < (brief ? 4 : 1000); ++i) {
        const PrepareRound r = RunPrepareRound(i);
        parts.push_back(r.partsNs);
        viaExport.push_back(r.exportNs);
        ratios.push_back(r.exportNs / r.partsNs);
    }

    const auto age = std::chrono::steady_clock::now() - written;
    if (!brief && age < std::chrono::seconds(3))
        Sleep(static_cast<DWORD>(
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::seconds(3) - age)
                .count()));
    std::vector<ProfileFigures> profile;
    for (std::size_t bytes : kProfileSizes)
        profile.push_back(MeasureProfile(bytes, brief));

    std::printf("\n### Forwarding: each export against its client calls made directly\n\n");
    PrintForwardingTable(forwarding);
    std::printf("\n### Preparation: ORV_Prepare against its parts\n\n");
    PrintPrepareTable(Median(parts), Median(viaExport), Median(ratios));
    std::printf(
        "\n### Profile reader: the stand-in's against GetPrivateProfileStringA, same files\n\n");
    PrintProfileTable(profile);
    std::fflush(stdout);
    return 0;
}
