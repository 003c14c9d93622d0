// The figures as Markdown tables, printed alike by every benchmark program so that
// scripts/bench can put them side by side.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "Forwarding.h"

namespace orvbench {

using NamedComparison = std::pair<std::string, Comparison>;

// One row per export: the limit, the export, their ratio and whether the target holds.
void PrintForwardingTable(const std::vector<NamedComparison>& rows);

// ORV_Prepare against its parts; medians in microseconds.
void PrintPrepareTable(double partsNs, double exportNs, double ratio);

const char* Verdict(bool met);

} // namespace orvbench
