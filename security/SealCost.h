#pragma once
// How costly a passphrase is made to guess: the work and memory of the
// Argon2id derivation of the key of an encrypted checkbook.
//
// The values are chosen when a program is linked: the programs link
// quillet_seal_cost, whose cost is libsodium's "moderate" one (about a
// second and 256 MiB) and which refuses files that name less. The test
// programs build the same unit with QUILLET_TEST_SEAL_COST, for a cost of
// a millisecond; the real programs refuse what they write.

#include <cstdint>

struct SealCost
{
    uint32_t passes = 0;     // crypto_pwhash's opslimit
    uint32_t memoryKiB = 0;  // crypto_pwhash's memlimit, in KiB
};

// The cost new keys are derived at.
SealCost SealWriteCost();
// The least and the most a file may name to be opened: less would make
// its passphrase cheap to guess, more would let a file made to harm take
// the machine's memory or time.
SealCost SealCostFloor();
SealCost SealCostCeiling();
