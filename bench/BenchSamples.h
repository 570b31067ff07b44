#pragma once
// Generated checkbooks for the benchmarks: the same documents for every
// run, built through the document's own interface and saved as files in
// a temporary folder that goes away with the process.

#include <memory>
#include <string>

class CQuilletDoc;

namespace BenchSamples
{
// Noon on 15 January 2027, New York time: every sample is dated against
// it and the clock is fixed to it, so due lists and windows never drift.
constexpr int64_t kNow = 1800032400;

// Fixed zone, fixed clock, default application-wide values.
void Prepare();

// entries spread over five accounts (two of them sharing a bank number),
// dated over the five years up to now, in date order; twenty recurring
// transactions.
std::unique_ptr<CQuilletDoc> Entries(int entries);
// accounts without entries; every second pair shares a number.
std::unique_ptr<CQuilletDoc> Accounts(int accounts);
// recurring transactions on five accounts, about half of them due.
std::unique_ptr<CQuilletDoc> Recurring(int recurring);

// The name of the first account of every sample, the one with most
// entries.
const char* FirstAccount();

// The document saved once per process under a name for kind and size;
// the path of the file.
std::string EntriesFile(int entries);
std::string AccountsFile(int accounts);
std::string RecurringFile(int recurring);

// A scratch path in the temporary folder.
std::string ScratchPath(const std::string& name);
}
