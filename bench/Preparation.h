// ORV_Prepare set against its parts called directly on the same configuration file:
// the seven profile reads, the compose of the string binding and the three binds.
#pragma once

namespace orvbench {

// Writes the configuration that makes a preparation read all seven keys: HTTP, with an
// endpoint and both proxies.
void WriteFullConfig();

struct PrepareRound {
    double partsNs;
    double exportNs;
};

// One preparation by hand from the same file, kept until ReleaseParts; false on failure.
bool PrepareByParts();
void ReleaseParts();

// Times one preparation each way, in an order that alternates with the round's parity;
// what each made is released afterwards, untimed. Aborts when either side fails.
PrepareRound RunPrepareRound(int roundIndex);

} // namespace orvbench
