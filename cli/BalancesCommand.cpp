// balances: the balance books: every account's balance and bank balance,
// accounts sharing a number grouped with a summary row, and the totals.
#include "BalanceRule.h"
#include "CheckbookJson.h"
#include "Commands.h"
#include "QuilletDoc.h"

#include <map>

namespace Cli
{
namespace
{
const char kUsage[] =
    "Usage: quillet-cli balances [--json] [--password PW] [--passphrase PP] FILE.ql1\n"
    "Lists every account with its number, balance and bank (cleared) balance.\n"
    "Accounts that share a number stand together, followed by a \"Summary\" row\n"
    "with the group's sums; an account without a number has its own bank\n"
    "balance. The last row holds the totals of all accounts.\n";

struct Row
{
    const CAccount* account = nullptr;  // none for a summary row
    const BALANCE_NODE* node = nullptr;
};

// The summary keeps names and numbers cut to the width of its nodes; the
// account behind each account row gives them whole. Its rows keep list
// order within a group, so the accounts of one cut name and number come
// in list order, one per row.
std::vector<Row> SummaryRows(const CQuilletDoc& doc, const BALANCE_NODE* head)
{
    using Key = std::pair<std::string, std::string>;
    struct Accounts
    {
        std::vector<const CAccount*> inOrder;
        size_t next = 0;
    };
    std::map<Key, Accounts> unused;
    for (const auto& account : doc.m_accounts)
        unused[Key(CutText(account->m_strName, BALANCE_NODE::kNameMax),
                   CutText(account->m_strNumber, BALANCE_NODE::kNumberMax))]
            .inOrder.push_back(account.get());
    std::vector<Row> rows;
    for (const BALANCE_NODE* node = head; node; node = node->next.get()) {
        Row row;
        row.node = node;
        if (node->groupIndex >= 0) {
            auto it = unused.find(Key(node->name, node->number));
            if (it != unused.end() && it->second.next < it->second.inOrder.size())
                row.account = it->second.inOrder[it->second.next++];
        }
        rows.push_back(row);
    }
    return rows;
}
}  // namespace

int RunBalances(const std::vector<std::string>& args, const Io& io)
{
    ParsedArgs parsed;
    if (const auto done = StartCommand(args, {{"--json"}, {}}, kUsage, 1,
                                       "balances takes one checkbook file.", parsed, io))
        return *done;

    CQuilletDoc doc;
    if (const int status = LoadCheckbook(parsed.operands[0], parsed.Keys(), io, doc))
        return status;
    for (const auto& account : doc.m_accounts)
        account->RecomputeBalances(0);
    std::unique_ptr<BALANCE_NODE> summary = doc.BuildBalanceSummary();
    const std::vector<Row> rows = SummaryRows(doc, summary.get());

    FiniteSum total;
    FiniteSum totalCleared;
    for (const Row& row : rows) {
        if (row.node->groupIndex >= 0) {
            total.Add(row.node->balance);
            totalCleared.Add(row.node->cleared);
        }
    }
    WarnLeftOut(io.err, total.leftOut + totalCleared.leftOut, "balance");
    const double totalBalance = total.sum;

    if (parsed.Has("--json")) {
        Json json = Json::object();
        Json list = Json::array();
        for (const Row& row : rows) {
            const bool isSummary = row.node->groupIndex < 0;
            Json item = Json::object();
            item["kind"] = isSummary ? "summary" : "account";
            item["name"] = Utf8(row.account ? row.account->m_strName : row.node->name);
            item["number"] = Utf8(row.account ? row.account->m_strNumber : row.node->number);
            item["balance"] = MoneyValue(row.node->balance);
            item["clearedBalance"] = MoneyValue(row.node->cleared);
            list.push_back(std::move(item));
        }
        json["rows"] = std::move(list);
        json["totalBalance"] = MoneyValue(totalBalance);
        json["totalClearedBalance"] = MoneyValue(totalCleared.sum);
        io.out << json.dump(2) << "\n";
    } else {
        TextTable table{{"Account Name", TextTable::Left}, {"Account Number", TextTable::Left},
                        {"Balance", TextTable::Right}, {"Bank Balance", TextTable::Right}};
        for (const Row& row : rows)
            table.AddRow({Utf8(row.account ? row.account->m_strName : row.node->name),
                          Utf8(row.account ? row.account->m_strNumber : row.node->number), Money(row.node->balance),
                          Money(row.node->cleared)});
        table.AddRow({"Total Balance", "", Money(totalBalance), Money(totalCleared.sum)});
        table.Print(io.out);
    }
    CQuilletDoc::FreeBalanceSummary(summary);
    return Success;
}
}  // namespace Cli
