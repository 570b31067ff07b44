#include "BenchSamples.h"

#include "AppValues.h"
#include "CheckbookFile.h"
#include "QuilletDoc.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <iterator>
#include <map>

namespace BenchSamples
{
namespace
{
constexpr int kEntryAccounts = 5;

const char* const kDescriptions[] = {
    "Grocery Store",      "Gas Station",        "Paycheck",        "Electric Company of the Valley",
    "Coffee",             "Mortgage Payment",   "Water Utility",   "Transfer to Savings Account",
    "Pharmacy",           "Restaurant",         "Book Shop",       "Hardware and Garden Supplies",
};
const char* const kFrequencies[] = {"Monthly", "Weekly", "Yearly", "Bi-Weekly", "Quarterly", "Daily"};

std::string AccountName(int index)
{
    char name[32];
    std::snprintf(name, sizeof name, "Account %06d", index);
    return name;
}

std::string Folder()
{
    static const std::string folder = [] {
        char pattern[] = "/tmp/quillet-bench-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        const std::string path = made ? made : "/tmp";
        if (made)
            std::atexit([] { std::filesystem::remove_all(Folder()); });
        return path;
    }();
    return folder;
}

std::string SavedOnce(const std::string& name, const std::function<std::unique_ptr<CQuilletDoc>()>& make)
{
    static std::map<std::string, std::string> saved;
    auto it = saved.find(name);
    if (it != saved.end())
        return it->second;
    const std::string path = ScratchPath(name + ".ql1");
    FileError error;
    if (!SaveCheckbookFile(*make(), path, error)) {
        std::fprintf(stderr, "bench: %s\n", error.message.c_str());
        std::exit(1);
    }
    return saved[name] = path;
}
}  // namespace

void Prepare()
{
    ::setenv("TZ", "America/New_York", 1);
    ::tzset();
    Clock::Set([] { return kNow; });
    AppValues::ResetToDefaults();
}

const char* FirstAccount()
{
    static const std::string name = AccountName(0);
    return name.c_str();
}

std::unique_ptr<CQuilletDoc> Entries(int entries)
{
    auto doc = std::make_unique<CQuilletDoc>();
    for (int a = 0; a < kEntryAccounts; ++a)
        doc->AddAccount(AccountName(a), a < 2 ? "10-2000" : "10-200" + std::to_string(a), 500.0 * a,
                        "Pat Example", "First Bank", "123-45-6789");
    const auto& categories = doc->m_pCategoryList->m_categories;
    const int64_t span = 5 * 365 * CTime::kDay;
    const int64_t step = entries > 0 ? span / entries : 0;
    for (int i = 0; i < entries; ++i) {
        const CTime date(kNow - int64_t(entries - 1 - i) * step - 3600);
        const bool deposit = i % 10 == 3;
        const double amount = deposit ? 1500.0 + i % 13 : 5.0 + (i * 37 % 20000) / 100.0;
        const bool old = date.GetTime() < kNow - 30 * CTime::kDay;
        doc->AddEntry(AccountName(i % kEntryAccounts), date, i % 4 == 0 ? std::to_string(1000 + i) : std::string(),
                      kDescriptions[size_t(i) % std::size(kDescriptions)],
                      categories[size_t(i) * 7 % categories.size()]->m_strName, amount, i % 50 == 0 ? 2.5 : 0.0,
                      deposit, old && i % 17 != 0, i % 97 == 0, i % 11);
    }
    for (int r = 0; r < 20; ++r)
        doc->AddRecurring(AccountName(r % kEntryAccounts), 40.0 + r, CTime(kNow + (r - 5) * CTime::kDay),
                          "Bill " + std::to_string(r), "Cable", kFrequencies[r % 6], "Forever", r % 11);
    doc->SetDayChartAccount(0, AccountName(0));
    doc->SetDayChartAccount(1, AccountName(1));
    return doc;
}

std::unique_ptr<CQuilletDoc> Accounts(int accounts)
{
    auto doc = std::make_unique<CQuilletDoc>();
    for (int a = 0; a < accounts; ++a)
        doc->AddAccount(AccountName(a), "40-" + std::to_string(a - a % 2), 10.0 * (a % 100), "Pat Example", "",
                        "123-45-6789");
    return doc;
}

std::unique_ptr<CQuilletDoc> Recurring(int recurring)
{
    auto doc = std::make_unique<CQuilletDoc>();
    for (int a = 0; a < kEntryAccounts; ++a)
        doc->AddAccount(AccountName(a), "10-300" + std::to_string(a), 100.0 * a, "Pat Example", "", "");
    for (int r = 0; r < recurring; ++r)
        doc->AddRecurring(AccountName(r % kEntryAccounts), r % 9 == 0 ? -250.0 : 20.0 + r % 300,
                          CTime(kNow + int64_t(r % 80 - 20) * CTime::kDay), "Bill " + std::to_string(r), "Cable",
                          kFrequencies[r % 6], r % 3 == 0 ? "12" : "Forever", r % 11);
    return doc;
}

std::string EntriesFile(int entries)
{
    return SavedOnce("entries-" + std::to_string(entries), [entries] { return Entries(entries); });
}

std::string AccountsFile(int accounts)
{
    return SavedOnce("accounts-" + std::to_string(accounts), [accounts] { return Accounts(accounts); });
}

std::string RecurringFile(int recurring)
{
    return SavedOnce("recurring-" + std::to_string(recurring), [recurring] { return Recurring(recurring); });
}

std::string ScratchPath(const std::string& name)
{
    return Folder() + "/" + name;
}
}  // namespace BenchSamples
