// register: one account's entries with the register editor's columns and
// its running "Available" balance.
#include "BalanceRule.h"
#include "CheckbookJson.h"
#include "Commands.h"
#include "QuilletDoc.h"

#include <cmath>

namespace Cli
{
namespace
{
const char kUsage[] =
    "Usage: quillet-cli register [--json] [--password PW] [--passphrase PP] FILE.ql1 ACCOUNT\n"
    "Lists the account's entries in register order: date, check number,\n"
    "description [category], payment, cleared mark, fee, deposit and the\n"
    "\"Available\" balance after the entry in date order. Void entries are marked\n"
    "and count in no balance.\n";
}  // namespace

int RunRegister(const std::vector<std::string>& args, const Io& io)
{
    ParsedArgs parsed;
    if (const auto done = StartCommand(args, {{"--json"}, {}}, kUsage, 2,
                                       "register takes a checkbook file and an account name.", parsed, io))
        return *done;

    const std::string& path = parsed.operands[0];
    CQuilletDoc doc;
    if (const int status = LoadCheckbook(path, parsed.Keys(), io, doc))
        return status;
    CAccount* account = RequireAccount(doc, parsed.operands[1], path, io.err);
    if (!account)
        return BadUsage;

    const double balance = account->RecomputeBalances(0);
    const double cleared = account->RecomputeBalances(1);
    const double bankBalance = doc.GetBankBalance(*account, 1);
    // The register editor's "Available": the balance after each entry in
    // date order, whatever order the entries were typed in.
    const std::vector<double> available = RunningBalances(*account);
    int leftOut = 0;
    if (!account->m_strNumber.empty())
        for (const auto& other : doc.m_accounts)
            if (other->m_strNumber == account->m_strNumber && !std::isfinite(other->m_dClearedBalance))
                ++leftOut;
    WarnLeftOut(io.err, leftOut, "cleared balance");

    if (parsed.Has("--json")) {
        Json json = Json::object();
        json["account"] = Utf8(account->m_strName);
        json["number"] = Utf8(account->m_strNumber);
        json["openingBalance"] = MoneyValue(account->m_dOpeningBalance);
        Json entries = Json::array();
        for (size_t i = 0; i < account->m_transactions.size(); ++i) {
            const CTransaction& t = *account->m_transactions[i];
            Json item = Json::object();
            item["date"] = IsoDate(t.m_date);
            item["checkNumber"] = Utf8(t.m_strCheckNumber);
            item["description"] = Utf8(t.m_strDescription);
            item["category"] = Utf8(t.m_strCategory);
            item["amount"] = MoneyValue(t.m_dAmount);
            item["fee"] = MoneyValue(t.m_dFee);
            item["cleared"] = t.m_bCleared != 0;
            item["void"] = t.m_bVoid != 0;
            item["flag"] = t.m_nFlag;
            item["available"] = MoneyValue(available[i]);
            entries.push_back(std::move(item));
        }
        json["entries"] = std::move(entries);
        json["balance"] = MoneyValue(balance);
        json["clearedBalance"] = MoneyValue(cleared);
        json["bankBalance"] = MoneyValue(bankBalance);
        io.out << json.dump(2) << "\n";
        return Success;
    }

    io.out << "Account : " << Printable(Utf8(account->m_strName));
    if (!account->m_strNumber.empty())
        io.out << " (" << Printable(Utf8(account->m_strNumber)) << ")";
    io.out << "\n\n";
    TextTable table{{"Date", TextTable::Left}, {"Check #", TextTable::Left}, {"Description", TextTable::Left},
                    {"Amount", TextTable::Right}, {"C", TextTable::Left}, {"Fee", TextTable::Right},
                    {"Deposit", TextTable::Right}, {"Available", TextTable::Right}, {"Void", TextTable::Left}};
    table.AddRow({"", "", "Opening Balance", "", "", "", "", Money(account->m_dOpeningBalance), ""});
    for (size_t i = 0; i < account->m_transactions.size(); ++i) {
        const CTransaction& t = *account->m_transactions[i];
        const double a = t.m_dAmount;
        table.AddRow({t.m_date.Format("%m/%d/%y"), Utf8(t.m_strCheckNumber),
                      Utf8(t.m_strDescription + " [ " + t.m_strCategory + " ]"), a < 0 ? Money(-a) : "",
                      t.m_bCleared ? "x" : "", t.m_dFee != 0 ? Money(t.m_dFee) : "", a >= 0 ? Money(a) : "",
                      Money(available[i]), t.m_bVoid ? "void" : ""});
    }
    table.Print(io.out);
    io.out << "\nBalance: " << Money(balance) << "   Cleared: " << Money(cleared)
           << "   Bank Balance: " << Money(bankBalance) << "\n";
    return Success;
}
}  // namespace Cli
