// due: the recurring transactions the dashboard lists as due.
#include "AppValues.h"
#include "CheckbookJson.h"
#include "Commands.h"
#include "QuilletDoc.h"

#include <algorithm>
#include <cmath>

namespace Cli
{
namespace
{
const char kUsage[] =
    "Usage: quillet-cli due [--days N] [--json] [--password PW] [--passphrase PP] FILE.ql1\n"
    "Lists the recurring transactions due within N days from now (by default\n"
    "the file's upcoming-days setting), overdue ones included, by date.\n"
    "Deposit shows D for a deposit and W for a payment.\n";
}  // namespace

int RunDue(const std::vector<std::string>& args, const Io& io)
{
    ParsedArgs parsed;
    if (const auto done = StartCommand(args, {{"--json"}, {"--days"}}, kUsage, 1,
                                       "due takes one checkbook file.", parsed, io))
        return *done;
    std::optional<int> days;
    if (!DaysOption(parsed, kUsage, io.err, days))
        return BadUsage;

    CQuilletDoc doc;
    if (const int status = LoadCheckbook(parsed.operands[0], parsed.Keys(), io, doc))
        return status;
    const int window = days ? *days : g_nUpcomingDays;

    const std::vector<CRecurringTransaction*> all = doc.GetAllDueRecurring(window);
    std::vector<const CRecurringTransaction*> due(all.begin(), all.end());
    // By date: the dashboard's two-digit-year text order would put January
    // before December across a new year.
    std::stable_sort(due.begin(), due.end(), [](const CRecurringTransaction* a, const CRecurringTransaction* b) {
        return a->m_nextDate < b->m_nextDate;
    });

    if (parsed.Has("--json")) {
        Json json = Json::object();
        json["days"] = window;
        Json list = Json::array();
        for (const CRecurringTransaction* r : due) {
            Json item = Json::object();
            item["date"] = IsoDate(r->m_nextDate);
            item["description"] = Utf8(r->m_strDescription);
            item["amount"] = MoneyValue(std::fabs(r->m_dAmount));
            item["deposit"] = r->m_dAmount < 0;
            item["account"] = Utf8(r->m_strAccount);
            item["category"] = Utf8(r->m_strCategory);
            item["frequency"] = Utf8(r->m_strFrequency);
            item["periods"] = Utf8(r->m_strPeriods);
            item["periodsDone"] = r->m_nPeriodsDone;
            list.push_back(std::move(item));
        }
        json["due"] = std::move(list);
        io.out << json.dump(2) << "\n";
        return Success;
    }

    if (due.empty()) {
        io.out << "Nothing is due within " << window << (window == 1 ? " day.\n" : " days.\n");
        return Success;
    }
    io.out << "Due within " << window << (window == 1 ? " day:\n\n" : " days:\n\n");
    TextTable table{{"Date", TextTable::Left}, {"Description", TextTable::Left}, {"Amount", TextTable::Right},
                    {"Deposit", TextTable::Left}, {"Account", TextTable::Left}, {"Category", TextTable::Left},
                    {"Frequency", TextTable::Left}};
    for (const CRecurringTransaction* r : due)
        table.AddRow({r->m_nextDate.Format("%m/%d/%y"), Utf8(r->m_strDescription), Money(std::fabs(r->m_dAmount)),
                      r->m_dAmount < 0 ? "D" : "W", Utf8(r->m_strAccount), Utf8(r->m_strCategory),
                      Utf8(r->m_strFrequency)});
    table.Print(io.out);
    return Success;
}
}  // namespace Cli
