#include "Report.h"

#include <cstdio>

namespace orvbench {

const char* Verdict(bool met) {
    return met ? "yes" : "NO";
}

void PrintForwardingTable(const std::vector<NamedComparison>& rows) {
    std::printf("| export | direct ns/call | direct + 192-byte copy ns/call | export ns/call | "
                "extra ns/call | export / limit | target | met |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---|---|\n");
    for (const NamedComparison& row : rows) {
        const Comparison& c = row.second;
        char withCopy[32] = "-";
        if (c.withCopyNs > 0) std::snprintf(withCopy, sizeof withCopy, "%.1f", c.withCopyNs);
        const double ratio = TargetRatio(c);
        std::printf("| %s | %.1f | %s | %.1f | %+.1f | %.3f | <= %.2f%s | %s |\n",
                    row.first.c_str(), c.directNs, withCopy, c.exportNs, c.extraNs, ratio,
                    kTargetRatio, c.withCopyNs > 0 ? " of direct + copy" : "",
                    Verdict(ratio <= kTargetRatio));
    }
}

void PrintPrepareTable(double partsNs, double exportNs, double ratio) {
    std::printf("| preparation | parts called directly us | ORV_Prepare us | ratio | target | "
                "met |\n");
    std::printf("|---|---:|---:|---:|---|---|\n");
    std::printf("| 7 profile reads, compose, 3 binds | %.2f | %.2f | %.3f | <= %.2f | %s |\n",
                partsNs / 1000, exportNs / 1000, ratio, kTargetRatio,
                Verdict(ratio <= kTargetRatio));
}

} // namespace orvbench
