// The seven operations set against their physical limit: the same client operations
// called by the host itself, with the same handles and arguments, in the same order.
// Shared by the native benchmark suite, the Windows benchmark program and the
// instruction-count probe, so that all three measure exactly the same calls.
#pragma once

#include <vector>

namespace orvbench {

// Calls per timed batch. The fakes' journal (4096 rows) is emptied before every batch
// and one call journals at most three rows, so every call pays the same journaling.
constexpr int kBatch = 1000;

// Makes `calls` calls of one side of a comparison.
using Batch = void (*)(int calls);

struct ForwardingCase {
    const char* name;     // the export's name
    Batch direct;         // the client operations called directly
    Batch viaExport;      // the export
    Batch directWithCopy; // direct plus the 192-byte record copy the export makes, or null
    int rowsPerCall;      // client calls one call makes, as the fakes journal them
};

const std::vector<ForwardingCase>& ForwardingCases();

// Prepares the library from the configuration file and learns, from the fakes'
// journal, the handles it passes on. False when either step fails.
bool PrepareLibrary();

// The routing handle the library passes on, as learnt by PrepareLibrary.
void* LibraryRoutingHandle();

// Empties the fakes' journal and scripts the device text the agent service answers.
void ResetFakes();

// Runs one batch after resetting the fakes (untimed); nanoseconds per call. Aborts the
// program when a call failed or the fakes did not see every client call: a measurement
// of calls that were refused would be meaningless.
double TimeBatch(const ForwardingCase& c, Batch batch, int calls);

// Nanoseconds per call of each side, from batches run back to back.
struct Round {
    double direct;
    double viaExport;
    double withCopy; // 0 when the case has no copy
};
// The order of the batches alternates with the round's parity, so neither side always
// runs on the caches the other left, and the stack's placement moves from round to
// round, so that the figures hold over layouts rather than for one.
Round RunRound(const ForwardingCase& c, int roundIndex, int calls);

struct Comparison {
    double directNs;
    double exportNs;
    double withCopyNs;  // 0 when the case has no copy
    double ratio;       // export / direct
    double ratioVsCopy; // export / (direct + copy), 0 when the case has no copy
    double extraNs;     // export - limit, the limit being direct + copy where there is a copy
};
// Medians over the rounds; the ratios and the extra time are medians of per-round
// figures, so that load that changes between rounds cancels out.
Comparison Summarise(const std::vector<Round>& rounds);

double Median(std::vector<double> values);

// The target of every comparison: export / limit <= 1.05, where the limit of the two
// skill operations includes the copy.
constexpr double kTargetRatio = 1.05;
double TargetRatio(const Comparison& c);

} // namespace orvbench
