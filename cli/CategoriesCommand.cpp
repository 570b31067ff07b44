// categories: spending by category over the last days, the totals the
// dashboard's pie draws.
#include "AppValues.h"
#include "CheckbookJson.h"
#include "Commands.h"
#include "QuilletDoc.h"

#include <cmath>

namespace Cli
{
namespace
{
const char kUsage[] =
    "Usage: quillet-cli categories [--days N] [--account NAME] [--json]\n"
    "                              [--password PW] [--passphrase PP] FILE.ql1\n"
    "Lists the spending per category over the last N days (by default the file's\n"
    "lookback setting), largest first, with its share and the total: the sums the\n"
    "dashboard's pie draws. Void entries and fees are not counted; a category\n"
    "whose deposits outweigh its payments spent nothing. --account NAME counts one\n"
    "account (\"Show All\" every account); by default the file's Category View\n"
    "setting decides.\n";

// "42.5%": the share in tenths of a percent, without the C library's locale.
std::string Share(double spending, double total)
{
    const long long tenths = total > 0.0 ? std::llround(spending / total * 1000.0) : 0;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + "%";
}
}  // namespace

int RunCategories(const std::vector<std::string>& args, const Io& io)
{
    ParsedArgs parsed;
    if (const auto done = StartCommand(args, {{"--json"}, {"--days", "--account"}}, kUsage, 1,
                                       "categories takes one checkbook file.", parsed, io))
        return *done;
    std::optional<int> days;
    if (!DaysOption(parsed, kUsage, io.err, days))
        return BadUsage;

    const std::string& path = parsed.operands[0];
    CQuilletDoc doc;
    if (const int status = LoadCheckbook(path, parsed.Keys(), io, doc))
        return status;
    if (days)
        g_nLookback = *days;
    if (const auto name = parsed.Value("--account")) {
        if (*name == AppValues::kShowAll) {
            g_strCategoryAccount = AppValues::kShowAll;
        } else {
            const CAccount* account = RequireAccount(doc, *name, path, io.err);
            if (!account)
                return BadUsage;
            g_strCategoryAccount = account->m_strName;
        }
    }

    WarnLeftOut(io.err, doc.RebuildCategoryTotals(), "entry amount");
    const CATTOTAL_NODE* first = doc.SortCategoryTotals();
    const double total = first ? first->spendingSum : 0.0;
    const bool all = g_strCategoryAccount == AppValues::kShowAll;
    const CTime since(Clock::Now() - int64_t(g_nLookback) * CTime::kDay);

    if (parsed.Has("--json")) {
        Json json = Json::object();
        json["days"] = g_nLookback;
        json["since"] = IsoDate(since);
        json["account"] = all ? Json(nullptr) : Json(Utf8(g_strCategoryAccount));
        Json list = Json::array();
        for (const CATTOTAL_NODE* node = first; node && node->Spending() > 0.0; node = node->next.get()) {
            Json item = Json::object();
            item["category"] = Utf8(node->name);
            item["spending"] = MoneyValue(node->Spending());
            list.push_back(std::move(item));
        }
        json["categories"] = std::move(list);
        json["totalSpending"] = MoneyValue(total);
        io.out << json.dump(2) << "\n";
        return Success;
    }

    const std::string window = "the last " + std::to_string(g_nLookback) + (g_nLookback == 1 ? " day" : " days") +
                               " (since " + since.Format("%m/%d/%y") + "), " +
                               (all ? std::string("all accounts") : "account \"" + Utf8(g_strCategoryAccount) + "\"");
    if (!(total > 0.0)) {
        io.out << "No spending in " << Printable(window) << ".\n";
        return Success;
    }
    io.out << "Spending in " << Printable(window) << ":\n\n";
    TextTable table{{"Category", TextTable::Left}, {"Spending", TextTable::Right}, {"Share", TextTable::Right}};
    for (const CATTOTAL_NODE* node = first; node && node->Spending() > 0.0; node = node->next.get())
        table.AddRow({Utf8(node->name), Money(node->Spending()), Share(node->Spending(), total)});
    table.AddRow({"Total", Money(total), Share(total, total)});
    table.Print(io.out);
    return Success;
}
}  // namespace Cli
