// Load and save speed of generated checkbooks: entries spread over ten
// accounts. Reports MB/s (of the file image) and entries/s; the rates
// should hold steady from 10,000 to 1,000,000 entries.
#include "AppValues.h"
#include "CheckbookFile.h"
#include "QuilletDoc.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include <unistd.h>

namespace
{
constexpr int kAccounts = 10;

std::unique_ptr<CQuilletDoc> Generate(int entries)
{
    auto doc = std::make_unique<CQuilletDoc>();
    for (int a = 0; a < kAccounts; ++a)
        doc->AddAccount("Account " + std::to_string(a), "10-" + std::to_string(1000 + a), 1000.0 * a,
                        "Pat Example", "", "123-45-6789");
    const char* descriptions[] = {"Grocery Store", "Gas Station", "Paycheck", "Electric Company", "Coffee"};
    const auto& categories = doc->m_pCategoryList->m_categories;
    const int64_t start = 1600000000;
    for (int i = 0; i < entries; ++i) {
        CAccount& account = *doc->m_accounts[size_t(i % kAccounts)];
        account.m_transactions.push_back(std::make_unique<CTransaction>(
            CTime(start + int64_t(i) * 300), i % 7 == 0 ? std::to_string(1000 + i) : std::string(),
            descriptions[i % 5], categories[size_t(i) % categories.size()]->m_strName,
            (i % 5 == 2 ? 1500.0 : -12.34) - (i % 100) * 0.01, i % 3 != 0, i % 50 == 0 ? 2.5 : 0.0, i % 97 == 0,
            i % 11));
    }
    for (auto& account : doc->m_accounts)
        account->RecomputeBalances(0);
    for (int r = 0; r < 20; ++r)
        doc->AddRecurring("Account " + std::to_string(r % kAccounts), 50.0 + r, CTime(start), "Bill", "Utilities",
                          "Monthly", "Forever", r % 11);
    return doc;
}

const CQuilletDoc& Sample(int entries)
{
    static std::map<int, std::unique_ptr<CQuilletDoc>> samples;
    auto& doc = samples[entries];
    if (!doc)
        doc = Generate(entries);
    return *doc;
}

std::string TempPath()
{
    return "/tmp/quillet-bench-" + std::to_string(::getpid()) + ".ql1";
}

void Report(benchmark::State& state, size_t bytes)
{
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
    state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
    state.counters["file_MB"] = double(bytes) / 1e6;
}

void Setup(bool protect)
{
    AppValues::ResetToDefaults();
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

// Through the disk: the save includes its fsync and rename.
void BM_SaveFile(benchmark::State& state)
{
    Setup(false);
    const CQuilletDoc& doc = Sample(int(state.range(0)));
    const std::string path = TempPath();
    for (auto _ : state) {
        FileError error;
        if (!SaveCheckbookFile(doc, path, error))
            state.SkipWithError(error.message.c_str());
    }
    Report(state, WriteCheckbook(doc).size());
    std::remove(path.c_str());
}

void BM_LoadFile(benchmark::State& state)
{
    Setup(false);
    const CQuilletDoc& source = Sample(int(state.range(0)));
    const std::string path = TempPath();
    FileError error;
    SaveCheckbookFile(source, path, error);
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<CQuilletDoc>();
        state.ResumeTiming();
        if (!LoadCheckbookFile(*doc, path, nullptr, error))
            state.SkipWithError(error.message.c_str());
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    Report(state, WriteCheckbook(source).size());
    std::remove(path.c_str());
}

void Sizes(benchmark::internal::Benchmark* b)
{
    for (int protect : {0, 1})
        for (int entries : {10000, 100000, 1000000})
            b->Args({entries, protect});
    b->ArgNames({"entries", "protected"})->Unit(benchmark::kMillisecond);
}

void FileSizes(benchmark::internal::Benchmark* b)
{
    for (int entries : {10000, 100000, 1000000})
        b->Args({entries});
    b->ArgNames({"entries"})->Unit(benchmark::kMillisecond);
}
}  // namespace

BENCHMARK(BM_Write)->Apply(Sizes);
BENCHMARK(BM_Read)->Apply(Sizes);
BENCHMARK(BM_SaveFile)->Apply(FileSizes);
BENCHMARK(BM_LoadFile)->Apply(FileSizes);

BENCHMARK_MAIN();
