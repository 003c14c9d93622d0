// The native benchmark suite, over the stand-ins and fakes: each export against the
// client operations called directly, ORV_Prepare against its parts, and the profile
// reader stand-in as its file grows. Prints Google Benchmark's report, then the figures
// as Markdown tables.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "BenchFiles.h"
#include "TestEnvironment.h"
#include "Forwarding.h"
#include "Platform.h"
#include "Preparation.h"
#include "Report.h"

using namespace orvbench;

namespace {

// Profile file sizes: tenfold steps from 1 KB to 10 MB.
const std::vector<std::int64_t> kProfileSizes = {1000, 10000, 100000, 1000000, 10000000};

// Every round and read of every run of a benchmark (repetitions included), for the
// tables at the end: with --benchmark_repetitions and random interleaving, the medians
// span the whole run instead of one stretch of the machine's load.
std::vector<std::vector<Round>> forwardingRounds;
std::vector<double> prepareParts, prepareExport, prepareRatios;
std::vector<std::vector<double>> profileReads(kProfileSizes.size());
std::vector<NamedComparison> forwarding;
struct PrepareFigures {
    double partsNs, exportNs, ratio;
} prepare = {0, 0, 0};
std::vector<double> profileNs(kProfileSizes.size(), 0);

std::string SampleName(std::int64_t bytes) {
    return "profile-" + std::to_string(bytes) + ".ini";
}

std::string SamplePath(std::int64_t bytes) {
    return orvtest::InConfigDirectory(SampleName(bytes).c_str());
}

// The thread's CPU time: a read of a large file outlasts a time slice, and on a shared
// machine the wall-clock time of long reads would grow with the others' load.
double ThreadCpuNs() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e9 + static_cast<double>(t.tv_nsec);
}

// What reading the clock twice costs by itself, taken off every timed read.
double ClockPairNs() {
    static const double cost = [] {
        std::vector<double> pairs;
        for (int i = 0; i < 1001; ++i) {
            const double start = ThreadCpuNs();
            pairs.push_back(ThreadCpuNs() - start);
        }
        return Median(pairs);
    }();
    return cost;
}

double Seconds(double ns) {
    return ns / 1e9;
}

void Forwarding(benchmark::State& state, std::size_t index) {
    const ForwardingCase& c = ForwardingCases()[index];
    if (!PrepareLibrary()) {
        state.SkipWithError("preparation failed");
        return;
    }
    std::vector<Round> rounds;
    for (auto _ : state) {
        const Round r = RunRound(c, static_cast<int>(rounds.size()), kBatch);
        rounds.push_back(r);
        state.SetIterationTime(Seconds((r.direct + r.viaExport + r.withCopy) * kBatch));
    }
    std::vector<Round>& pool = forwardingRounds[index];
    pool.insert(pool.end(), rounds.begin(), rounds.end());
    forwarding[index] = {c.name, Summarise(pool)};
    const Comparison s = Summarise(rounds);
    state.counters["direct_ns"] = s.directNs;
    if (s.withCopyNs > 0) state.counters["direct_copy_ns"] = s.withCopyNs;
    state.counters["export_ns"] = s.exportNs;
    state.counters["ratio"] = TargetRatio(s);
}

void Prepare(benchmark::State& state) {
    std::vector<double> parts, viaExport, ratios;
    for (auto _ : state) {
        const PrepareRound r = RunPrepareRound(static_cast<int>(parts.size()));
        parts.push_back(r.partsNs);
        viaExport.push_back(r.exportNs);
        ratios.push_back(r.exportNs / r.partsNs);
        state.SetIterationTime(Seconds(r.partsNs + r.exportNs));
    }
    state.counters["parts_us"] = Median(parts) / 1000;
    state.counters["export_us"] = Median(viaExport) / 1000;
    state.counters["ratio"] = Median(ratios);
    prepareParts.insert(prepareParts.end(), parts.begin(), parts.end());
    prepareExport.insert(prepareExport.end(), viaExport.begin(), viaExport.end());
    prepareRatios.insert(prepareRatios.end(), ratios.begin(), ratios.end());
    prepare = {Median(prepareParts), Median(prepareExport), Median(prepareRatios)};
}

void StandinProfileRead(benchmark::State& state) {
    const std::int64_t bytes = state.range(0);
    std::size_t index = 0;
    while (kProfileSizes[index] != bytes)
        ++index;
    const std::string path = SamplePath(bytes);
    char value[64] = "";
    std::vector<double> reads;
    for (auto _ : state) {
        const double start = ThreadCpuNs();
        const DWORD n = GetPrivateProfileStringA(kSampleSection, kSampleKey, "", value,
                                                 sizeof value, path.c_str());
        const double stop = ThreadCpuNs();
        benchmark::DoNotOptimize(n);
        reads.push_back(std::max(0.0, stop - start - ClockPairNs()));
        state.SetIterationTime(Seconds(reads.back()));
    }
    if (std::strcmp(value, kSampleValue) != 0) {
        state.SkipWithError("the sample key was not found");
        return;
    }
    state.SetComplexityN(bytes);
    state.SetBytesProcessed(state.iterations() * bytes);
    profileReads[index].insert(profileReads[index].end(), reads.begin(), reads.end());
    profileNs[index] = Median(profileReads[index]);
}

// Times only: whether the growth is linear is judged on instruction counts
// (bench/callgrind.sh), which the caches and the machine's load do not move.
void PrintProfileTable() {
    std::printf("| file bytes | stand-in us/read (CPU) | ns per KB | growth over the previous size "
                "(10x bytes) |\n");
    std::printf("|---:|---:|---:|---:|\n");
    for (std::size_t i = 0; i < kProfileSizes.size(); ++i) {
        if (profileNs[i] == 0) continue;
        char growth[32] = "-";
        if (i > 0 && profileNs[i - 1] > 0)
            std::snprintf(growth, sizeof growth, "%.1fx", profileNs[i] / profileNs[i - 1]);
        std::printf("| %lld | %.1f | %.1f | %s |\n", static_cast<long long>(kProfileSizes[i]),
                    profileNs[i] / 1000, profileNs[i] / (kProfileSizes[i] / 1000.0), growth);
    }
}

} // namespace

int main(int argc, char** argv) {
    char dir[] = "/tmp/orvane-bench-XXXXXX";
    if (mkdtemp(dir) == nullptr) return 2;
    setenv("ORVANE_WINDIR", dir, 1);
    WriteFullConfig();
    for (std::int64_t bytes : kProfileSizes)
        orvtest::WriteConfigFile(SampleName(bytes).c_str(),
                                 MakeSampleProfile(static_cast<std::size_t>(bytes)));

    const std::vector<ForwardingCase>& cases = ForwardingCases();
    forwarding.resize(cases.size());
    forwardingRounds.resize(cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i)
        benchmark::RegisterBenchmark((std::string("Forwarding/") + cases[i].name).c_str(),
                                     Forwarding, i)
            ->UseManualTime();
    benchmark::RegisterBenchmark("Prepare/ORV_Prepare", Prepare)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
    // All sizes in one family, so that Google Benchmark fits the growth (BigO) over them.
    benchmark::internal::Benchmark* profile =
        benchmark::RegisterBenchmark("ProfileRead/StandIn", StandinProfileRead);
    for (std::int64_t bytes : kProfileSizes)
        profile->Arg(bytes);
    profile->UseManualTime()->Unit(benchmark::kMicrosecond)->Complexity(benchmark::oN);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::vector<NamedComparison> measured;
    for (const NamedComparison& row : forwarding)
        if (!row.first.empty()) measured.push_back(row);
    if (!measured.empty()) {
        std::printf("\n### Forwarding: each export against its client calls made directly\n\n");
        PrintForwardingTable(measured);
    }
    if (prepare.partsNs > 0) {
        std::printf("\n### Preparation: ORV_Prepare against its parts\n\n");
        PrintPrepareTable(prepare.partsNs, prepare.exportNs, prepare.ratio);
    }
    if (profileNs.back() > 0) {
        std::printf("\n### Profile reader stand-in: cost as the file grows\n\n");
        PrintProfileTable();
    }
    std::fflush(stdout);

    std::system((std::string("rm -rf ") + dir).c_str());
    return 0;
}
