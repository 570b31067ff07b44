// The ledger and the command line at scale: writing and reading file
// images, saving and loading files, and quillet-cli's balances, dump and
// due as the user runs them (open included), from 10,000 to 1,000,000
// entries and from 1,000 to 100,000 accounts or recurring transactions.
// Each rate should hold steady as the size grows tenfold.
#include "AppValues.h"
#include "BenchSamples.h"
#include "CheckbookFile.h"
#include "Cli.h"
#include "QuilletDoc.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

namespace
{
// The sample as the program holds it once the file is opened.
CQuilletDoc& Sample(int entries)
{
    static std::map<int, std::unique_ptr<CQuilletDoc>> samples;
    auto& doc = samples[entries];
    if (!doc) {
        doc = std::make_unique<CQuilletDoc>();
        FileError error;
        LoadCheckbookFile(*doc, BenchSamples::EntriesFile(entries), nullptr, error);
    }
    return *doc;
}

void Report(benchmark::State& state, size_t bytes)
{
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
    state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
    state.counters["file_MB"] = double(bytes) / 1e6;
}

void Setup(bool protect)
{
    BenchSamples::Prepare();
    g_strPasswordHash = protect ? "abJnggxhB/yWI" : "";
}

void BM_Write(benchmark::State& state)
{
    Setup(state.range(1) != 0);
    const CQuilletDoc& doc = Sample(int(state.range(0)));
    size_t bytes = 0;
    for (auto _ : state) {
        const std::string image = WriteCheckbook(doc);
        benchmark::DoNotOptimize(image.data());
        bytes = image.size();
    }
    Report(state, bytes);
}

void BM_Read(benchmark::State& state)
{
    Setup(state.range(1) != 0);
    const std::string image = WriteCheckbook(Sample(int(state.range(0))));
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<CQuilletDoc>();
        state.ResumeTiming();
        FileError error;
        if (!ReadCheckbook(*doc, image, [](const std::string&) { return true; }, error))
            state.SkipWithError(error.message.c_str());
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    Report(state, image.size());
}

// Through the disk, as after an edit: the file changed, so the save keeps
// the version it replaces as a backup, and includes every fsync and rename.
void BM_SaveFile(benchmark::State& state)
{
    Setup(false);
    CQuilletDoc& doc = Sample(int(state.range(0)));
    CTransaction& edited = *doc.m_accounts[0]->m_transactions[0];
    const std::string path = BenchSamples::ScratchPath("save.ql1");
    for (auto _ : state) {
        edited.m_bCleared = !edited.m_bCleared;
        FileError error;
        if (!SaveCheckbookFile(doc, path, error))
            state.SkipWithError(error.message.c_str());
    }
    Report(state, WriteCheckbook(doc).size());
}

// Opening a file, closing the document included.
void BM_LoadFile(benchmark::State& state)
{
    Setup(false);
    const std::string path = BenchSamples::EntriesFile(int(state.range(0)));
    for (auto _ : state) {
        CQuilletDoc doc;
        FileError error;
        if (!LoadCheckbookFile(doc, path, nullptr, error))
            state.SkipWithError(error.message.c_str());
    }
    Report(state, WriteCheckbook(Sample(int(state.range(0)))).size());
}

// Output that goes nowhere, so a command's cost is its own.
class NullBuffer : public std::streambuf
{
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

void RunCli(benchmark::State& state, const std::vector<std::string>& args)
{
    NullBuffer nothing;
    std::ostream out(&nothing);
    std::ostream err(&nothing);
    const Cli::Environment env;
    for (auto _ : state) {
        state.PauseTiming();
        BenchSamples::Prepare();
        state.ResumeTiming();
        if (Cli::Run(args, out, err, env) != Cli::Success)
            state.SkipWithError("the command failed");
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
}

void BM_CliBalances(benchmark::State& state)
{
    BenchSamples::Prepare();
    RunCli(state, {"balances", BenchSamples::EntriesFile(int(state.range(0)))});
}

void BM_CliDump(benchmark::State& state)
{
    BenchSamples::Prepare();
    RunCli(state, {"dump", BenchSamples::EntriesFile(int(state.range(0)))});
}

void BM_CliBalancesAccounts(benchmark::State& state)
{
    BenchSamples::Prepare();
    RunCli(state, {"balances", BenchSamples::AccountsFile(int(state.range(0)))});
}

void BM_CliDueRecurring(benchmark::State& state)
{
    BenchSamples::Prepare();
    RunCli(state, {"due", BenchSamples::RecurringFile(int(state.range(0)))});
}

void Protected(benchmark::internal::Benchmark* b)
{
    for (int protect : {0, 1})
        for (int entries : {10000, 100000, 1000000})
            b->Args({entries, protect});
    b->ArgNames({"entries", "protected"})->Unit(benchmark::kMillisecond);
}

void Entries(benchmark::internal::Benchmark* b)
{
    b->ArgName("entries")->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
}

void Accounts(benchmark::internal::Benchmark* b)
{
    b->ArgName("accounts")->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
}

void Recurring(benchmark::internal::Benchmark* b)
{
    b->ArgName("recurring")->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
}
}  // namespace

BENCHMARK(BM_Write)->Apply(Protected);
BENCHMARK(BM_Read)->Apply(Protected);
BENCHMARK(BM_SaveFile)->Apply(Entries);
BENCHMARK(BM_LoadFile)->Apply(Entries);
BENCHMARK(BM_CliBalances)->Apply(Entries);
BENCHMARK(BM_CliDump)->Apply(Entries);
BENCHMARK(BM_CliBalancesAccounts)->Apply(Accounts);
BENCHMARK(BM_CliDueRecurring)->Apply(Recurring);

BENCHMARK_MAIN();
