#include "StatementExport.h"

#include "Cp1252.h"
#include "Csv.h"
#include "Money.h"
#include "Qif.h"
#include "Records.h"

namespace
{
std::string Utf8(const std::string& bytes)
{
    return Cp1252ToUtf8(bytes);
}
}  // namespace

ExportResult ExportCsv(const std::vector<const CAccount*>& accounts)
{
    ExportResult result;
    result.text = CsvRow({"Account", "Date", "Check Number", "Description", "Category", "Amount", "Fee", "Cleared",
                          "Void"});
    for (const CAccount* account : accounts) {
        for (const auto& t : account->m_transactions) {
            result.text += CsvRow({Utf8(account->m_strName), t->m_date.Format("%Y-%m-%d"), Utf8(t->m_strCheckNumber),
                                   Utf8(t->m_strDescription), Utf8(t->m_strCategory), Money::Format(t->m_dAmount),
                                   Money::Format(t->m_dFee), t->m_bCleared ? "yes" : "no", t->m_bVoid ? "yes" : "no"});
            ++result.entries;
        }
    }
    return result;
}

ExportResult ExportQif(const std::vector<const CAccount*>& accounts)
{
    ExportResult result;
    if (accounts.size() != 1)
        result.text = "!Option:AutoSwitch\n";
    for (const CAccount* account : accounts) {
        result.text += accounts.size() == 1 ? std::string("!Type:Bank\n") : QifAccountHeader(Utf8(account->m_strName));
        for (const auto& t : account->m_transactions) {
            if (t->m_bVoid) {
                ++result.voidSkipped;
                continue;
            }
            QifRecord record;
            record.date = t->m_date.Format("%m/%d/%Y");
            record.amount = Money::Format(t->m_dAmount - t->m_dFee);
            record.number = Utf8(t->m_strCheckNumber);
            record.payee = Utf8(t->m_strDescription);
            record.category = Utf8(t->m_strCategory);
            record.cleared = t->m_bCleared ? "X" : "";
            if (t->m_dFee != 0) {
                record.splits.push_back({record.category, Money::Format(t->m_dAmount)});
                record.splits.push_back({"Bank Fee", Money::Format(-t->m_dFee)});
            }
            result.text += QifRecordText(record);
            ++result.entries;
        }
    }
    if (accounts.size() != 1)
        result.text += "!Clear:AutoSwitch\n";
    return result;
}
