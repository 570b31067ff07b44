// Random checkbooks against the balance rule. Every expected figure is
// worked out here in whole cents from the generated entries, every expected
// date from the C library's UTC calendar: the day chart's balance for today
// and its range, the category totals, the bank balances, the register's
// "Available" column in every sort order, and the dates that the recurring
// schedule's day steps land on in three time zones.
#include "DayChart.h"
#include "DialogTestSupport.h"
#include "RegisterDlg.h"

#include <QLabel>
#include <QtTest>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <map>
#include <random>

namespace
{
// Noon of 10 November 2026 in New York, nine days after the clocks went back.
constexpr int64_t kNow = 1794330000;

struct tm Local(int64_t seconds)
{
    const time_t t = time_t(seconds);
    struct tm local = {};
    localtime_r(&t, &local);
    return local;
}

int DayKey(int64_t seconds)
{
    const struct tm local = Local(seconds);
    return (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday;
}

QString Cents(int64_t cents)
{
    return QString::asprintf("%s%lld.%02lld", cents < 0 ? "-" : "", std::llabs(cents) / 100, std::llabs(cents) % 100);
}

bool Near(double value, int64_t cents)
{
    return std::fabs(value - double(cents) / 100.0) < 1e-6;
}

struct Entry
{
    size_t account = 0;
    int64_t time = 0;
    int64_t cents = 0;  // signed as stored: payments below zero
    int64_t fee = 0;
    bool cleared = false;
    bool isVoid = false;
    std::string category;
    const CTransaction* record = nullptr;

    int64_t Change() const { return isVoid ? 0 : cents - fee; }
};

class Scenario
{
public:
    explicit Scenario(unsigned seed) : m_random(seed) {}

    void Run()
    {
        Generate();
        CheckCategoryTotals("as entered");
        m_doc.RebuildCategoryTotals();
        CheckCategoryTotals("rebuilt");
        CheckDayChart();
        for (size_t a = 0; a < m_names.size(); ++a)
            CheckRegister(a);
        CheckDaySteps();
    }

    QStringList problems;

private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    template <class T>
    T PickOf(std::initializer_list<T> list) { return *(list.begin() + Pick(0, int(list.size()) - 1)); }
    void Check(bool ok, const QString& what)
    {
        if (!ok)
            problems << what;
    }

    void Generate()
    {
        for (const char* name : {"Checking", "Savings", "Cash", "Visa"}) {
            m_names.push_back(name);
            m_numbers.push_back(PickOf<const char*>({"", "111", "222"}));
            m_opening.push_back(Pick(-50000, 500000));
            m_doc.AddAccount(name, m_numbers.back(), double(m_opening.back()) / 100.0, "", "", "");
        }
        g_nLookback = PickOf({30, 45, 60, 180});
        g_strCategoryAccount = Pick(0, 1) ? std::string(AppValues::kShowAll) : m_names[size_t(Pick(0, 3))];

        for (int i = Pick(10, 80); i > 0; --i) {
            Entry e;
            e.account = size_t(Pick(0, 3));
            // Any day from ten weeks back, across the autumn clock change, to
            // ten days ahead, often close to midnight.
            struct tm when = Local(kNow);
            when.tm_mday += Pick(-70, 10);
            when.tm_hour = PickOf({0, 0, 1, 9, 12, 17, 23, 23});
            when.tm_min = Pick(0, 59);
            when.tm_isdst = -1;
            e.time = int64_t(mktime(&when));
            e.cents = Pick(0, 9) == 0 ? 0 : Pick(1, 300000) * PickOf({-1, -1, 1});
            e.fee = Pick(0, 3) == 0 || e.cents == 0 ? Pick(1, 5000) : 0;
            e.cleared = Pick(0, 1);
            e.isVoid = Pick(0, 6) == 0;
            e.category = PickOf<const char*>({"", "Food", "Rent", "Fuel", "Electricity", " Deposit-Salary"});
            // The register takes a magnitude and a deposit flag.
            e.record = m_doc.AddEntry(m_names[e.account], CTime(e.time), "", "Entry", e.category,
                                      double(std::llabs(e.cents)) / 100.0, double(e.fee) / 100.0, e.cents > 0,
                                      e.cleared, e.isVoid, 0);
            m_entries.push_back(e);
        }
    }

    // The balance of the entries that pass the test (all, when none given).
    template <class Test>
    int64_t Balance(size_t account, Test counts) const
    {
        int64_t cents = m_opening[account];
        for (const Entry& e : m_entries)
            if (e.account == account && counts(e))
                cents += e.Change();
        return cents;
    }

    int64_t BankBalance(size_t account) const
    {
        const auto cleared = [](const Entry& e) { return e.cleared; };
        if (m_numbers[account].empty())
            return Balance(account, cleared);
        int64_t cents = 0;
        for (size_t a = 0; a < m_names.size(); ++a)
            if (m_numbers[a] == m_numbers[account])
                cents += Balance(a, cleared);
        return cents;
    }

    void CheckCategoryTotals(const char* when)
    {
        std::map<std::string, int64_t> expected;
        for (const Entry& e : m_entries)
            if ((g_strCategoryAccount == AppValues::kShowAll || m_names[e.account] == g_strCategoryAccount) &&
                !e.isVoid && !e.category.empty() && e.time + int64_t(g_nLookback) * 86400 >= kNow)
                expected[e.category] += e.cents;
        std::map<std::string, double> actual;
        for (const CATTOTAL_NODE* n = m_doc.m_pCategoryTotals.get(); n; n = n->next.get())
            actual[n->name] = n->total;
        Check(actual.size() == expected.size(), QString::asprintf("category totals %s: %zu categories, expected %zu",
                                                                  when, actual.size(), expected.size()));
        for (const auto& [name, cents] : expected)
            Check(Near(actual[name], cents), QString::asprintf("category %s %s: %.2f, expected %s", name.c_str(),
                                                               when, actual[name], qPrintable(Cents(cents))));
    }

    void CheckDayChart()
    {
        for (size_t a = 0; a < m_names.size(); ++a)
            m_doc.SetDayChartAccount(int(a), m_names[a]);
        const DayChartData chart = BuildDayChart(m_doc, g_nLookback, 100, 290);
        Check(chart.series.size() == m_names.size(), QStringLiteral("day chart: a line is missing"));
        if (chart.series.size() != m_names.size())
            return;

        // The balances that existed in the window: before it, after every
        // moment with entries, and by the end of today.
        const int today = DayKey(kNow);
        const int64_t start = kNow - int64_t(g_nLookback) * 86400;
        std::vector<int64_t> byToday;
        std::vector<int64_t> seen;
        for (size_t a = 0; a < m_names.size(); ++a) {
            byToday.push_back(Balance(a, [today](const Entry& e) { return DayKey(e.time) <= today; }));
            seen.push_back(byToday.back());
            seen.push_back(Balance(a, [start](const Entry& e) { return e.time < start; }));
            for (const Entry& e : m_entries)
                if (e.account == a && !e.isVoid && e.time >= start && DayKey(e.time) <= today)
                    seen.push_back(Balance(a, [&e](const Entry& other) { return other.time <= e.time; }));
        }
        const int64_t low = *std::min_element(seen.begin(), seen.end());
        const int64_t high = *std::max_element(seen.begin(), seen.end());
        Check(Near(chart.low, low) && Near(chart.high, high),
              QString::asprintf("day chart range %.2f..%.2f, expected %s..%s", chart.low, chart.high,
                                qPrintable(Cents(low)), qPrintable(Cents(high))));
        for (size_t a = 0; a < m_names.size(); ++a) {
            const CAccountSSL& line = *chart.series[a];
            const int height = high == low ? 50 : int(double(byToday[a] - low) / double(high - low) * 100.0);
            Check(Near(line.m_dBalance, byToday[a]) && std::abs(line.m_nColumnY[289] - height) <= 1,
                  QString::asprintf("day chart %s today: %.2f at height %d, expected %s at %d", m_names[a].c_str(),
                                    line.m_dBalance, line.m_nColumnY[289], qPrintable(Cents(byToday[a])), height));
        }
    }

    void CheckRegister(size_t a)
    {
        // Date order, one day's entries in the order they were entered.
        std::vector<const Entry*> byDate;
        for (const Entry& e : m_entries)
            if (e.account == a)
                byDate.push_back(&e);
        std::stable_sort(byDate.begin(), byDate.end(),
                         [](const Entry* x, const Entry* y) { return DayKey(x->time) < DayKey(y->time); });
        std::map<quintptr, QString> available;
        int64_t running = m_opening[a];
        for (const Entry* e : byDate) {
            running += e->Change();
            available[reinterpret_cast<quintptr>(e->record)] = Cents(running) + (e->isVoid ? "" : " ");
        }
        const quintptr latest = byDate.empty() ? 0 : reinterpret_cast<quintptr>(byDate.back()->record);
        const QString balance = Cents(Balance(a, [](const Entry&) { return true; }));

        const char* name = m_names[a].c_str();
        Check(Near(m_doc.GetBankBalance(*m_doc.FindAccount(m_names[a]), 1), BankBalance(a)),
              QString::asprintf("bank balance of %s", name));
        CDocHistory history(m_doc);
        CRegisterDlg dialog(history, m_names[a]);
        const QString bank = dialog.findChild<QLabel*>(u"bankBalance"_s)->text();
        Check(bank == Cents(BankBalance(a)), QString::asprintf("register %s: bank balance %s, expected %s", name,
                                                               qPrintable(bank), qPrintable(Cents(BankBalance(a)))));
        CXListCtrl* list = dialog.List();
        for (int column = 0; column < CRegisterDlg::ColumnCount; ++column) {
            for (int order : {CXListCtrl::SortAscending, CXListCtrl::SortDescending}) {
                list->SortColumn(column, order);
                const QString sort = QString::asprintf("register %s sorted on %d/%d: ", name, column, order);
                Check(list->GetItemData(0) == 0, sort + "the opening row is not first");
                for (int row = 1; row < list->GetItemCount(); ++row) {
                    const quintptr entry = list->GetItemData(row);
                    const QString shown = list->GetItemText(row, CRegisterDlg::ColAvailable);
                    Check(shown == available[entry], sort + u"row %1 shows %2, expected %3"_s.arg(row).arg(
                                                                shown, available[entry]));
                    Check(entry != latest || shown.trimmed() == balance, sort + "the latest row is not the balance");
                }
            }
        }
    }

    // Daily, weekly and bi-weekly steps from random starts keep the time of
    // day and land on the calendar date so many days on.
    void CheckDaySteps()
    {
        for (const char* zone : {"Europe/Berlin", "Australia/Sydney", "America/New_York"}) {
            setenv("TZ", zone, 1);  // New York, the tests' own zone, comes last
            tzset();
            for (int start = 0; start < 4; ++start) {
                struct tm first = {};
                first.tm_year = Pick(2000, 2035) - 1900;
                first.tm_mon = Pick(0, 11);
                first.tm_mday = Pick(1, 28);
                // Not 02:00-02:59, which some days of these zones skip.
                first.tm_hour = PickOf({0, 0, 1, 3, 8, 12, 22, 23});
                first.tm_min = Pick(0, 59);
                first.tm_sec = Pick(0, 59);
                first.tm_isdst = -1;
                struct tm made = first;
                const auto [frequency, days] = PickOf<std::pair<const char*, int>>(
                    {{"Daily", 1}, {"Weekly", 7}, {"Bi-Weekly", 14}});
                CRecurringTransaction record("A", 1.0, CTime(int64_t(mktime(&made))), "", "", frequency, "Forever",
                                             0);
                // The calendar without zones: noon UTC of the first day, on.
                struct tm noon = first;
                noon.tm_hour = 12;
                const time_t firstNoon = timegm(&noon);
                for (int step = 1; step <= 40; ++step) {
                    CQuilletDoc::AdvanceNextDate(record);
                    const time_t expectedNoon = firstNoon + time_t(step) * days * 86400;
                    struct tm expected = {};
                    gmtime_r(&expectedNoon, &expected);
                    const struct tm got = Local(record.m_nextDate.GetTime());
                    const bool ok = got.tm_year == expected.tm_year && got.tm_mon == expected.tm_mon &&
                                    got.tm_mday == expected.tm_mday && got.tm_hour == first.tm_hour &&
                                    got.tm_min == first.tm_min && got.tm_sec == first.tm_sec;
                    Check(ok, QString::asprintf("%s %s step %d from %04d-%02d-%02d %02d:%02d landed on %s", zone,
                                                frequency, step, first.tm_year + 1900, first.tm_mon + 1,
                                                first.tm_mday, first.tm_hour, first.tm_min,
                                                record.m_nextDate.Format("%Y-%m-%d %H:%M").c_str()));
                    if (!ok)
                        break;
                }
            }
        }
    }

    std::mt19937 m_random;
    CQuilletDoc m_doc;
    std::vector<std::string> m_names;
    std::vector<std::string> m_numbers;
    std::vector<int64_t> m_opening;
    std::vector<Entry> m_entries;
};
}  // namespace

class TestBalanceInvariants : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        Clock::Set(nullptr);
        AppValues::ResetToDefaults();
    }

    void randomRegistersKeepEveryNumberToTheBalanceRule()
    {
        Clock::Set([] { return kNow; });
        for (unsigned seed = 1; seed <= 25; ++seed) {
            AppValues::ResetToDefaults();
            Scenario scenario(seed);
            scenario.Run();
            if (!scenario.problems.isEmpty())
                QFAIL(qPrintable(u"seed %1: %2"_s.arg(seed).arg(scenario.problems.mid(0, 5).join(u"\n  "_s))));
        }
    }
};

QTEST_MAIN(TestBalanceInvariants)
#include "tst_BalanceInvariants.moc"
