#include "StatementExport.h"

#include "Cp1252.h"
#include "Csv.h"
#include "Money.h"
#include "Qif.h"
#include "Records.h"
#include "StatementImport.h"

#include <algorithm>

namespace
{
std::string Utf8(const std::string& bytes)
{
    return Cp1252ToUtf8(bytes);
}

// A text cell a spreadsheet would run as a formula gets a quote in front,
// which keeps it text; the CSV reader drops the quote again.
std::string TextCell(const std::string& bytes)
{
    std::string text = Utf8(bytes);
    if (!text.empty() && std::string("=+-@\t\r").find(text[0]) != std::string::npos)
        text.insert(0, 1, '\'');
    return text;
}

// What QIF programs write first: the opening balance as a cleared transfer
// from the account itself, the day before the account's earliest entry.
QifRecord OpeningBalance(const CAccount& account)
{
    CTime day = CTime(Clock::Now());
    if (!account.m_transactions.empty()) {
        const auto earliest = std::min_element(
            account.m_transactions.begin(), account.m_transactions.end(),
            [](const auto& a, const auto& b) { return a->m_date.GetTime() < b->m_date.GetTime(); });
        const CTime first = (*earliest)->m_date;
        // By the calendar, not by 86,400 seconds, which miss a day at DST.
        day = CTime(first.GetYear(), first.GetMonth(), first.GetDay() - 1, 0, 0, 0);
    }
    QifRecord record;
    record.date = day.Format("%m/%d/%Y");
    record.amount = Money::Format(account.m_dOpeningBalance);
    record.payee = kQifOpeningBalance;
    record.category = "[" + Utf8(account.m_strName) + "]";
    record.cleared = "X";
    return record;
}
}  // namespace

ExportResult ExportCsv(const std::vector<const CAccount*>& accounts)
{
    ExportResult result;
    result.text = CsvRow({"Account", "Date", "Check Number", "Description", "Category", "Amount", "Fee", "Cleared",
                          "Void"});
    for (const CAccount* account : accounts) {
        for (const auto& t : account->m_transactions) {
            result.text += CsvRow({TextCell(account->m_strName), t->m_date.Format("%Y-%m-%d"),
                                   TextCell(t->m_strCheckNumber), TextCell(t->m_strDescription),
                                   TextCell(t->m_strCategory), Money::Format(t->m_dAmount),
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
        result.text += QifRecordText(OpeningBalance(*account));
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
