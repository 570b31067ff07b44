// Random checkbooks against the balance rule. Every expected figure is
// worked out here in whole cents from the generated entries themselves, and
// every expected date from the C library's UTC calendar: the day chart's
// balance for today, the category totals, the bank balances, the register's
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

int DayKey(int64_t seconds)
{
    const time_t t = time_t(seconds);
    struct tm local = {};
    localtime_r(&t, &local);
    return (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday;
}

QString Cents(int64_t cents)
{
    const int64_t whole = std::llabs(cents) / 100;
    const int64_t rest = std::llabs(cents) % 100;
    return QString::fromLatin1(cents < 0 ? "-" : "") + QString::number(whole) + u'.' +
           QStringLiteral("%1").arg(rest, 2, 10, QLatin1Char('0'));
}

bool Near(double value, int64_t cents)
{
    return std::fabs(value - double(cents) / 100.0) < 1e-6;
}

struct Account
{
    std::string name;
    std::string number;
    int64_t opening = 0;
};

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

// Sets the zone for one block and puts the tests' own zone back.
struct ZoneGuard
{
    explicit ZoneGuard(const char* zone)
    {
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneGuard()
    {
        setenv("TZ", "America/New_York", 1);
        tzset();
    }
};

class Scenario
{
public:
    explicit Scenario(unsigned seed) : m_random(seed) {}

    QStringList problems;

    void Run()
    {
        Generate();
        CheckCategoryTotals(QStringLiteral("as entered"));
        m_doc.RebuildCategoryTotals();
        CheckCategoryTotals(QStringLiteral("rebuilt"));
        CheckDayChart();
        CheckBankBalances();
        for (size_t a = 0; a < m_accounts.size(); ++a)
            CheckRegister(a);
        CheckDaySteps();
    }

private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    bool Chance(int percent) { return Pick(1, 100) <= percent; }
    void Check(bool ok, const QString& what)
    {
        if (!ok)
            problems << what;
    }

    void Generate()
    {
        const char* names[] = {"Checking", "Savings", "Cash", "Visa"};
        const char* numbers[] = {"", "111", "222"};
        for (const char* name : names) {
            Account account{name, numbers[Pick(0, 2)], int64_t(Pick(-50000, 500000))};
            m_doc.AddAccount(account.name, account.number, double(account.opening) / 100.0, "", "", "");
            m_accounts.push_back(account);
        }
        g_nLookback = std::vector<int>{30, 45, 60, 180}[size_t(Pick(0, 3))];
        g_strCategoryAccount = Chance(50) ? std::string(AppValues::kShowAll) : m_accounts[size_t(Pick(0, 3))].name;

        const char* categories[] = {"", "Food", "Rent", "Fuel", "Electricity", " Deposit-Salary"};
        const int count = Pick(10, 80);
        for (int i = 0; i < count; ++i) {
            Entry e;
            e.account = size_t(Pick(0, 3));
            // Any day from ten weeks back, across the autumn clock change, to
            // ten days ahead, often close to midnight.
            const time_t now = time_t(kNow);
            struct tm when = {};
            localtime_r(&now, &when);
            when.tm_mday += Pick(-70, 10);
            when.tm_hour = std::vector<int>{0, 0, 1, 9, 12, 17, 23, 23}[size_t(Pick(0, 7))];
            when.tm_min = Pick(0, 59);
            when.tm_isdst = -1;
            e.time = int64_t(mktime(&when));
            e.cents = Chance(10) ? 0 : Pick(1, 300000);
            if (Chance(30))
                e.cents = -e.cents;
            e.fee = Chance(25) || e.cents == 0 ? Pick(1, 5000) : 0;
            e.cleared = Chance(50);
            e.isVoid = Chance(15);
            e.category = categories[Pick(0, 5)];
            // The register takes a magnitude and a deposit flag.
            e.record = m_doc.AddEntry(m_accounts[e.account].name, CTime(e.time), "", "Entry " + std::to_string(i),
                                      e.category, double(std::llabs(e.cents)) / 100.0, double(e.fee) / 100.0,
                                      e.cents > 0, e.cleared, e.isVoid, 0);
            m_entries.push_back(e);
        }
    }

    std::vector<const Entry*> EntriesOf(size_t account) const
    {
        std::vector<const Entry*> list;
        for (const Entry& e : m_entries)
            if (e.account == account)
                list.push_back(&e);
        return list;
    }

    int64_t Balance(size_t account, bool clearedOnly) const
    {
        int64_t cents = m_accounts[account].opening;
        for (const Entry* e : EntriesOf(account))
            if (!clearedOnly || e->cleared)
                cents += e->Change();
        return cents;
    }

    int64_t BankBalance(size_t account) const
    {
        const std::string& number = m_accounts[account].number;
        if (number.empty())
            return Balance(account, true);
        int64_t cents = 0;
        for (size_t a = 0; a < m_accounts.size(); ++a)
            if (m_accounts[a].number == number)
                cents += Balance(a, true);
        return cents;
    }

    void CheckCategoryTotals(const QString& when)
    {
        std::map<std::string, int64_t> expected;
        for (const Entry& e : m_entries) {
            const bool shown = g_strCategoryAccount == AppValues::kShowAll ||
                               m_accounts[e.account].name == g_strCategoryAccount;
            if (shown && !e.isVoid && !e.category.empty() && e.time + int64_t(g_nLookback) * 86400 >= kNow)
                expected[e.category] += e.cents;
        }
        std::map<std::string, double> actual;
        for (const CATTOTAL_NODE* n = m_doc.m_pCategoryTotals.get(); n; n = n->next.get())
            actual[n->name] = n->total;
        Check(actual.size() == expected.size(), u"category totals %1: %2 categories, expected %3"_s.arg(when)
                                                    .arg(actual.size())
                                                    .arg(expected.size()));
        for (const auto& [name, cents] : expected)
            Check(actual.count(name) && Near(actual[name], cents),
                  u"category %1 %2: %3, expected %4"_s.arg(QString::fromStdString(name), when)
                      .arg(actual[name], 0, 'f', 2)
                      .arg(Cents(cents)));
    }

    void CheckDayChart()
    {
        for (size_t a = 0; a < m_accounts.size(); ++a)
            m_doc.SetDayChartAccount(int(a), m_accounts[a].name);
        const DayChartData chart = BuildDayChart(m_doc, g_nLookback, 100, 290);
        Check(chart.series.size() == m_accounts.size(), u"day chart: %1 lines"_s.arg(chart.series.size()));
        if (chart.series.size() != m_accounts.size())
            return;

        // The balances that existed in the window: before it, after every
        // moment with entries, and today's, by the end of today.
        const int today = DayKey(kNow);
        const int64_t start = kNow - int64_t(g_nLookback) * 86400;
        int64_t low = INT64_MAX;
        int64_t high = INT64_MIN;
        std::vector<int64_t> todays;
        for (size_t a = 0; a < m_accounts.size(); ++a) {
            std::vector<int64_t> seen;
            int64_t before = m_accounts[a].opening;
            int64_t byToday = m_accounts[a].opening;
            for (const Entry* e : EntriesOf(a)) {
                if (e->time < start)
                    before += e->Change();
                if (DayKey(e->time) <= today)
                    byToday += e->Change();
            }
            seen.push_back(before);
            seen.push_back(byToday);
            for (const Entry* e : EntriesOf(a)) {
                if (e->isVoid || e->time < start || DayKey(e->time) > today)
                    continue;
                int64_t after = m_accounts[a].opening;
                for (const Entry* other : EntriesOf(a))
                    if (other->time <= e->time)
                        after += other->Change();
                seen.push_back(after);
            }
            low = std::min(low, *std::min_element(seen.begin(), seen.end()));
            high = std::max(high, *std::max_element(seen.begin(), seen.end()));
            todays.push_back(byToday);
        }
        Check(Near(chart.low, low) && Near(chart.high, high),
              u"day chart range %1..%2, expected %3..%4"_s.arg(chart.low, 0, 'f', 2)
                  .arg(chart.high, 0, 'f', 2)
                  .arg(Cents(low), Cents(high)));
        for (size_t a = 0; a < m_accounts.size(); ++a) {
            const CAccountSSL& line = *chart.series[a];
            Check(Near(line.m_dBalance, todays[a]), u"day chart %1 today: %2, expected %3"_s
                                                        .arg(QString::fromStdString(m_accounts[a].name))
                                                        .arg(line.m_dBalance, 0, 'f', 2)
                                                        .arg(Cents(todays[a])));
            const int height = high == low ? 50 : int(double(todays[a] - low) / double(high - low) * 100.0);
            Check(std::abs(line.m_nColumnY[289] - height) <= 1,
                  u"day chart %1: last column at %2, expected %3"_s.arg(QString::fromStdString(m_accounts[a].name))
                      .arg(line.m_nColumnY[289])
                      .arg(height));
        }
    }

    void CheckBankBalances()
    {
        for (size_t a = 0; a < m_accounts.size(); ++a)
            Check(Near(m_doc.GetBankBalance(*m_doc.FindAccount(m_accounts[a].name), 1), BankBalance(a)),
                  u"bank balance of %1"_s.arg(QString::fromStdString(m_accounts[a].name)));
        for (const auto& account : m_doc.m_accounts)
            account->RecomputeBalances(0);
        std::unique_ptr<BALANCE_NODE> summary = m_doc.BuildBalanceSummary();
        for (const BALANCE_NODE* node = summary.get(); node; node = node->next.get()) {
            if (node->groupIndex >= 0) {
                Check(node->groupIndex == 0 || !node->number.empty(), u"an account without a number is grouped"_s);
                continue;
            }
            Check(!node->number.empty(), u"a summary of accounts without a number"_s);
            size_t member = 0;
            while (member < m_accounts.size() && m_accounts[member].number != node->number)
                ++member;
            Check(member < m_accounts.size() && Near(node->cleared, BankBalance(member)),
                  u"summary of number %1: %2"_s.arg(QString::fromStdString(node->number)).arg(node->cleared));
        }
    }

    void CheckRegister(size_t a)
    {
        const QString name = QString::fromStdString(m_accounts[a].name);
        // Date order, one day's entries in the order they were entered.
        std::vector<const Entry*> byDate = EntriesOf(a);
        std::stable_sort(byDate.begin(), byDate.end(),
                         [](const Entry* x, const Entry* y) { return DayKey(x->time) < DayKey(y->time); });
        std::map<quintptr, QString> available;
        int64_t running = m_accounts[a].opening;
        for (const Entry* e : byDate) {
            running += e->Change();
            available[reinterpret_cast<quintptr>(e->record)] = Cents(running) + (e->isVoid ? "" : " ");
        }
        const quintptr latest = byDate.empty() ? 0 : reinterpret_cast<quintptr>(byDate.back()->record);

        CRegisterDlg dialog(&m_doc, m_accounts[a].name);
        Check(dialog.findChild<QLabel*>(u"bankBalance"_s)->text() == Cents(BankBalance(a)),
              u"register %1: bank balance %2, expected %3"_s.arg(name,
                                                                 dialog.findChild<QLabel*>(u"bankBalance"_s)->text(),
                                                                 Cents(BankBalance(a))));
        CXListCtrl* list = dialog.List();
        for (int column = 0; column < CRegisterDlg::ColumnCount; ++column) {
            for (int order : {CXListCtrl::SortAscending, CXListCtrl::SortDescending}) {
                list->SortColumn(column, order);
                const QString sort = u"register %1 sorted on %2/%3"_s.arg(name).arg(column).arg(order);
                Check(list->GetItemData(0) == 0, sort + u": opening row not first"_s);
                for (int row = 1; row < list->GetItemCount(); ++row) {
                    const quintptr entry = list->GetItemData(row);
                    const QString shown = list->GetItemText(row, CRegisterDlg::ColAvailable);
                    Check(available.count(entry) && shown == available[entry],
                          sort + u": row %1 shows %2, expected %3"_s.arg(row).arg(shown, available[entry]));
                    if (entry == latest)
                        Check(shown.trimmed() == Cents(Balance(a, false)), sort + u": latest row is not the balance"_s);
                }
            }
        }
    }

    // Daily, weekly and bi-weekly steps from random starts keep the time of
    // day and land on the calendar date so many days on.
    void CheckDaySteps()
    {
        const std::pair<const char*, int> frequencies[] = {{"Daily", 1}, {"Weekly", 7}, {"Bi-Weekly", 14}};
        for (const char* zone : {"America/New_York", "Europe/Berlin", "Australia/Sydney"}) {
            ZoneGuard guard(zone);
            for (int start = 0; start < 4; ++start) {
                struct tm first = {};
                first.tm_year = Pick(2000, 2035) - 1900;
                first.tm_mon = Pick(0, 11);
                first.tm_mday = Pick(1, 28);
                // Not 02:00-02:59, which some days of these zones skip.
                first.tm_hour = std::vector<int>{0, 0, 1, 3, 8, 12, 22, 23}[size_t(Pick(0, 7))];
                first.tm_min = Pick(0, 59);
                first.tm_sec = Pick(0, 59);
                first.tm_isdst = -1;
                struct tm wanted = first;
                const time_t begin = mktime(&wanted);
                const auto& [frequency, days] = frequencies[Pick(0, 2)];
                // The calendar, without zones: noon UTC of the first day.
                struct tm noon = {};
                noon.tm_year = first.tm_year;
                noon.tm_mon = first.tm_mon;
                noon.tm_mday = first.tm_mday;
                noon.tm_hour = 12;
                const time_t firstNoon = timegm(&noon);

                CRecurringTransaction record("A", 1.0, CTime(int64_t(begin)), "", "", frequency, "Forever", 0);
                for (int step = 1; step <= 40; ++step) {
                    CQuilletDoc::AdvanceNextDate(record);
                    const time_t expectedNoon = firstNoon + time_t(step) * days * 86400;
                    struct tm expected = {};
                    gmtime_r(&expectedNoon, &expected);
                    const time_t landed = record.m_nextDate.GetTime();
                    struct tm got = {};
                    localtime_r(&landed, &got);
                    const bool ok = got.tm_year == expected.tm_year && got.tm_mon == expected.tm_mon &&
                                    got.tm_mday == expected.tm_mday && got.tm_hour == first.tm_hour &&
                                    got.tm_min == first.tm_min && got.tm_sec == first.tm_sec;
                    Check(ok, u"%1 %2 step %3 from %4-%5-%6 %7:%8: landed on %9"_s.arg(zone, frequency)
                                  .arg(step)
                                  .arg(first.tm_year + 1900)
                                  .arg(first.tm_mon + 1)
                                  .arg(first.tm_mday)
                                  .arg(first.tm_hour)
                                  .arg(first.tm_min)
                                  .arg(QString::fromLatin1(asctime(&got)).trimmed()));
                    if (!ok)
                        break;
                }
            }
        }
    }

    std::mt19937 m_random;
    CQuilletDoc m_doc;
    std::vector<Account> m_accounts;
    std::vector<Entry> m_entries;
};
}  // namespace

class TestBalanceInvariants : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        Clock::Set([] { return kNow; });
        AppValues::ResetToDefaults();
    }
    void cleanup()
    {
        Clock::Set(nullptr);
        AppValues::ResetToDefaults();
    }

    void randomRegistersKeepEveryNumberToTheBalanceRule()
    {
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
