#include "StatementImport.h"

#include "Cp1252.h"
#include "Money.h"
#include "QuilletDoc.h"
#include "Qif.h"
#include "StatementText.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <map>
#include <set>
#include <tuple>

namespace StatementText
{
std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = char(c + ('a' - 'A'));
    return text;
}

std::string NormalizeSpaces(const std::string& text)
{
    std::string out;
    bool space = false;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            space = !out.empty();
            continue;
        }
        if (space)
            out += ' ';
        space = false;
        out += c;
    }
    return out;
}

std::string LedgerText(const std::string& utf8, bool trim)
{
    std::string text = trim ? NormalizeSpaces(utf8) : utf8;
    for (char& c : text)
        if (c == '\n' || c == '\r' || c == '\t')
            c = ' ';
    return Utf8ToCp1252Lossy(text);
}

std::string AsUtf8(const std::string& bytes)
{
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        return bytes.substr(3);
    return FindNonUtf8(bytes) == std::string::npos ? bytes : Cp1252ToUtf8(bytes);
}
}  // namespace StatementText

namespace
{
using namespace StatementText;

bool IsLeap(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : days[month - 1];
}

bool ParseFlag(const std::string& text, bool& value)
{
    const std::string t = Lower(NormalizeSpaces(text));
    if (t.empty() || t == "no" || t == "n" || t == "false" || t == "0") {
        value = false;
        return true;
    }
    if (t == "yes" || t == "y" || t == "true" || t == "1" || t == "x" || t == "c" || t == "*" || t == "r") {
        value = true;
        return true;
    }
    return false;
}

bool ReadDate(const std::string& text, DateOrder order, StatementLine& line)
{
    StatementEntry& entry = line.entry;
    if (ParseStatementDate(text, order, entry.year, entry.month, entry.day))
        return true;
    line.writtenDate = NormalizeSpaces(text);
    line.problems.push_back("the date \"" + line.writtenDate + "\" cannot be read");
    return false;
}

bool ReadAmount(const std::string& text, const char* what, double& value, std::vector<std::string>& problems)
{
    if (ParseStatementAmount(text, value))
        return true;
    problems.push_back(std::string("the ") + what + " \"" + NormalizeSpaces(text) + "\" is not an amount");
    return false;
}

// Spreadsheet-safe CSV cells come back as they were written: a quote put
// before a leading formula character is dropped again.
std::string UnguardedCell(const std::string& cell)
{
    if (cell.size() >= 2 && cell[0] == '\'' && std::string("=+-@\t\r").find(cell[1]) != std::string::npos)
        return cell.substr(1);
    return cell;
}

// A line's problems, each also in the command line's list.
void AddLine(Statement& statement, StatementLine line, std::vector<TextProblem>& problems)
{
    for (const std::string& p : line.problems)
        problems.push_back({line.entry.line, p});
    statement.lines.push_back(std::move(line));
}

void RefuseWhole(Statement& statement, int line, const std::string& problem)
{
    statement.problems.push_back({line, problem});
    statement.fileProblems.push_back(problem);
}
}  // namespace

std::vector<StatementEntry> Statement::Entries() const
{
    std::vector<StatementEntry> entries;
    for (const StatementLine& line : lines)
        if (line.Readable())
            entries.push_back(line.entry);
    return entries;
}

bool ParseDateOrder(const std::string& text, DateOrder& order)
{
    if (text == "ymd")
        order = DateOrder::YearMonthDay;
    else if (text == "mdy")
        order = DateOrder::MonthDayYear;
    else if (text == "dmy")
        order = DateOrder::DayMonthYear;
    else
        return false;
    return true;
}

bool ParseStatementDate(const std::string& raw, DateOrder order, int& year, int& month, int& day)
{
    const std::string text = NormalizeSpaces(raw);
    std::vector<std::string> groups;
    size_t i = 0;
    while (i < text.size() && groups.size() < 3) {
        if (std::string(" /-.'").find(text[i]) != std::string::npos) {
            if (groups.empty())
                return false;
            ++i;
            continue;
        }
        if (text[i] < '0' || text[i] > '9')
            break;
        std::string digits;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            digits += text[i++];
        groups.push_back(digits);
    }
    // A time may follow: "2026-12-01T10:00" or "12/01/2026 10:00".
    if (groups.empty() || (i < text.size() && text[i] != 'T' && text[i] != ' '))
        return false;
    if (groups.size() == 1 && groups[0].size() == 8 && order == DateOrder::YearMonthDay)
        groups = {groups[0].substr(0, 4), groups[0].substr(4, 2), groups[0].substr(6, 2)};
    if (groups.size() != 3)
        return false;
    for (const std::string& g : groups)
        if (g.size() > 4)
            return false;
    const size_t y = order == DateOrder::YearMonthDay ? 0 : 2;
    const size_t m = order == DateOrder::DayMonthYear ? 1 : order == DateOrder::MonthDayYear ? 0 : 1;
    const size_t d = order == DateOrder::DayMonthYear ? 0 : order == DateOrder::MonthDayYear ? 1 : 2;
    if (groups[m].size() > 2 || groups[d].size() > 2 || groups[y].size() == 3)
        return false;
    int readYear = std::atoi(groups[y].c_str());
    if (groups[y].size() <= 2)
        readYear += readYear < 70 ? 2000 : 1900;
    const int readMonth = std::atoi(groups[m].c_str());
    const int readDay = std::atoi(groups[d].c_str());
    if (readYear < 1902 || readYear > 2037 || readMonth < 1 || readMonth > 12 || readDay < 1 ||
        readDay > DaysInMonth(readYear, readMonth))
        return false;
    // The last days of 2037's range lie past what a 32-bit time holds.
    const CTime date(readYear, readMonth, readDay, 0, 0, 0);
    if (date.GetYear() != readYear || date.GetMonth() != readMonth || date.GetDay() != readDay)
        return false;
    year = readYear;
    month = readMonth;
    day = readDay;
    return true;
}

bool ParseStatementAmount(const std::string& raw, double& value)
{
    std::string t = NormalizeSpaces(raw);
    bool negative = false;
    if (t.size() >= 2 && t.front() == '(' && t.back() == ')') {
        negative = true;
        t = t.substr(1, t.size() - 2);
    }
    bool signSeen = false;
    bool dollarSeen = false;
    size_t i = 0;
    while (i < t.size() && (t[i] == '-' || t[i] == '+' || t[i] == '$')) {
        if (t[i] == '$') {
            if (dollarSeen)
                return false;
            dollarSeen = true;
        } else {
            if (signSeen)
                return false;
            signSeen = true;
            negative = negative != (t[i] == '-');
        }
        ++i;
    }
    // What is left is unsigned money as typed: digits, grouping commas in
    // their places, a point. A point with no digit after it is refused.
    const std::string number = t.substr(i);
    if (number.empty() || number.back() == '.' || number.find_first_of("0123456789") == std::string::npos)
        return false;
    const std::optional<double> read = Money::Parse(number);
    if (!read || number[0] == '+' || number[0] == '-' || number[0] == ' ')
        return false;
    value = negative ? -*read + 0.0 : *read;
    return true;
}

std::vector<std::string> CsvFirstRecord(const std::string& source)
{
    std::vector<TextProblem> problems;
    const std::vector<CsvRecord> records = ParseCsv(AsUtf8(source), problems);
    return records.empty() ? std::vector<std::string>() : records.front().fields;
}

Statement ReadCsvStatement(const std::string& source, const CsvColumns& columns)
{
    Statement statement;
    const std::string text = AsUtf8(source);
    // Broken quoting makes the command line report only that; the lines it
    // spoils are shown as such, and the rest read as usual.
    std::vector<TextProblem> quoting;
    std::vector<CsvRecord> records = ParseCsv(text, quoting);
    for (const TextProblem& p : quoting) {
        StatementLine spoilt;
        spoilt.entry.line = p.line;
        spoilt.problems.push_back(p.message);
        statement.lines.push_back(std::move(spoilt));
    }
    statement.problems = quoting;
    if (records.empty()) {
        if (quoting.empty())
            RefuseWhole(statement, 1, "the statement holds no entries");
        return statement;
    }

    std::vector<std::string> headings;
    if (columns.header) {
        for (const std::string& h : records.front().fields)
            headings.push_back(Lower(NormalizeSpaces(h)));
        records.erase(records.begin());
    }
    std::vector<TextProblem> columnProblems;
    // A column by number or heading; the usual headings when not named.
    auto find = [&](const std::string& named, std::vector<const char*> usual, const char* what, bool required) {
        if (!named.empty()) {
            if (named.find_first_not_of("0123456789") == std::string::npos) {
                const long n = std::strtol(named.c_str(), nullptr, 10);
                if (n >= 1 && n <= 1000)
                    return int(n - 1);
            } else {
                for (size_t c = 0; c < headings.size(); ++c)
                    if (headings[c] == Lower(NormalizeSpaces(named)))
                        return int(c);
            }
            columnProblems.push_back(
                {1, std::string("the ") + what + " column \"" + named + "\" is not in the statement"});
            statement.missingColumns.push_back(what);
            return -1;
        }
        for (const char* name : usual)
            for (size_t c = 0; c < headings.size(); ++c)
                if (headings[c] == name)
                    return int(c);
        if (required) {
            columnProblems.push_back(
                {1, std::string("no column holds the ") + what + "; name it with --" + what + "-col"});
            statement.missingColumns.push_back(what);
        }
        return -1;
    };
    auto orDefault = [&](const std::string& named, const char* number) {
        return named.empty() && !columns.header ? std::string(number) : named;
    };
    const int dateCol = find(orDefault(columns.date, "1"),
                             {"date", "posted date", "posting date", "transaction date", "booking date"}, "date", true);
    // Some banks split the amount into a debit and a credit column.
    const bool split = columns.amount.empty() && columns.header &&
                       find("", {"amount", "transaction amount"}, "amount", false) < 0 &&
                       find("", {"debit"}, "debit", false) >= 0 && find("", {"credit"}, "credit", false) >= 0;
    const int amountCol = split ? find("", {"debit"}, "debit", true)
                                : find(orDefault(columns.amount, "2"), {"amount", "transaction amount"}, "amount", true);
    const int creditCol = split ? find("", {"credit"}, "credit", true) : -1;
    const int descriptionCol = find(orDefault(columns.description, "3"),
                                    {"description", "payee", "name", "details", "memo"}, "description", true);
    const int checkCol = find(columns.checkNumber,
                              {"check number", "check #", "check", "number", "transaction id", "id", "fitid", "reference"},
                              "check", false);
    const int categoryCol = find(columns.category, {"category"}, "category", false);
    const int feeCol = find("", {"fee"}, "fee", false);
    const int clearedCol = find("", {"cleared"}, "cleared", false);
    const int voidCol = find("", {"void"}, "void", false);
    const int accountCol = find("", {"account"}, "account", false);
    if (!columnProblems.empty()) {
        if (statement.problems.empty())
            statement.problems = columnProblems;
        statement.lines.clear();
        return statement;
    }

    std::vector<TextProblem> lineProblems;
    std::set<std::string> accounts;
    for (const CsvRecord& record : records) {
        StatementLine line;
        StatementEntry& entry = line.entry;
        std::vector<std::string>& problems = line.problems;
        entry.line = record.line;
        // Exporters often drop empty fields at the end of a line; only the
        // columns an entry cannot do without must be there.
        const int needed = std::max({dateCol, amountCol, creditCol, descriptionCol});
        if (int(record.fields.size()) <= needed) {
            problems.push_back("the line has " + std::to_string(record.fields.size()) + " fields; column " +
                               std::to_string(needed + 1) + " is needed");
            AddLine(statement, std::move(line), lineProblems);
            continue;
        }
        auto field = [&](int col) {
            return col >= 0 && size_t(col) < record.fields.size() ? record.fields[size_t(col)] : std::string();
        };
        ReadDate(field(dateCol), columns.order, line);
        if (split) {
            // Either column may be empty; a debit lowers the balance whatever its sign.
            double debit = 0.0, credit = 0.0;
            const std::string debitText = NormalizeSpaces(field(amountCol));
            const std::string creditText = NormalizeSpaces(field(creditCol));
            const bool read = (debitText.empty() || ReadAmount(debitText, "debit", debit, problems)) &
                              (creditText.empty() || ReadAmount(creditText, "credit", credit, problems));
            if (read)
                entry.amount = std::round((std::fabs(credit) - std::fabs(debit)) * 100.0) / 100.0 + 0.0;
            line.amountRead = read;
        } else {
            line.amountRead = ReadAmount(field(amountCol), "amount", entry.amount, problems);
        }
        if (feeCol >= 0 && !NormalizeSpaces(field(feeCol)).empty()) {
            if (ReadAmount(field(feeCol), "fee", entry.fee, problems) && entry.fee < 0)
                problems.push_back("the fee is below zero");
        }
        if (!ParseFlag(field(clearedCol), entry.cleared) || !ParseFlag(field(voidCol), entry.isVoid))
            problems.push_back("the cleared or void mark is neither yes nor no");
        entry.description = LedgerText(UnguardedCell(field(descriptionCol)), true);
        entry.checkNumber = LedgerText(UnguardedCell(field(checkCol)), false);
        entry.category = LedgerText(UnguardedCell(field(categoryCol)), false);
        if (entry.description.empty())
            problems.push_back("the description is empty");
        if (accountCol >= 0)
            accounts.insert(NormalizeSpaces(field(accountCol)));
        AddLine(statement, std::move(line), lineProblems);
    }
    std::stable_sort(statement.lines.begin(), statement.lines.end(),
                     [](const StatementLine& a, const StatementLine& b) { return a.entry.line < b.entry.line; });
    if (statement.problems.empty())
        statement.problems = lineProblems;
    if (accounts.size() > 1 && quoting.empty())
        RefuseWhole(statement, 1, "the statement holds the entries of several accounts; import one account's lines");
    return statement;
}

namespace
{
// The transaction QIF programs write first for an account's opening
// balance: a transfer from the account itself.
bool IsOpeningBalance(const QifRecord& record)
{
    const std::string category = NormalizeSpaces(record.category);
    return Lower(NormalizeSpaces(record.payee)) == Lower(kQifOpeningBalance) && category.size() >= 2 &&
           category.front() == '[' && category.back() == ']';
}
}  // namespace

Statement ReadQifStatement(const std::string& source, DateOrder order)
{
    Statement statement;
    const std::string text = AsUtf8(source);
    std::vector<std::string> accounts;
    std::vector<QifRecord> records = ParseQif(text, accounts, statement.problems);
    if (accounts.size() > 1)
        statement.problems.push_back({1, "the statement holds the entries of several accounts; export one account"});
    if (!statement.problems.empty()) {
        for (const TextProblem& p : statement.problems)
            statement.fileProblems.push_back(p.message);
        return statement;
    }
    records.erase(std::remove_if(records.begin(), records.end(), IsOpeningBalance), records.end());
    if (records.empty())
        RefuseWhole(statement, 1, "the statement holds no entries");

    for (const QifRecord& record : records) {
        StatementLine line;
        StatementEntry& entry = line.entry;
        entry.line = record.line;
        const bool dated = ReadDate(record.date, order, line);
        const bool read = ReadAmount(record.amount, "amount", entry.amount, line.problems);
        line.amountRead = read;
        // A fee is written as a last "Bank Fee" split beside the entry's own.
        if (dated && read && record.splits.size() >= 2 &&
            NormalizeSpaces(record.splits.back().category) == "Bank Fee") {
            double feeSplit = 0.0;
            if (ParseStatementAmount(record.splits.back().amount, feeSplit) && feeSplit <= 0) {
                entry.fee = -feeSplit + 0.0;
                entry.amount = std::round((entry.amount + entry.fee) * 100.0) / 100.0 + 0.0;
            }
        }
        bool cleared = false;
        entry.cleared = ParseFlag(record.cleared, cleared) && cleared;
        entry.description = LedgerText(record.payee.empty() ? record.memo : record.payee, true);
        entry.checkNumber = LedgerText(record.number, false);
        std::string category = record.category;
        if (category.empty() && !record.splits.empty())
            category = record.splits.front().category;
        entry.category = LedgerText(category, false);
        if (entry.description.empty())
            line.problems.push_back("the entry has neither payee nor memo");
        AddLine(statement, std::move(line), statement.problems);
    }
    return statement;
}

std::string DetectStatementFormat(const std::string& bytes)
{
    // What a few kilobytes from the start show, in capitals.
    std::string head = bytes.substr(0, 4096);
    for (char& c : head)
        if (c >= 'a' && c <= 'z')
            c = char(c - ('a' - 'A'));
    if (head.find("OFXHEADER") != std::string::npos || head.find("<OFX>") != std::string::npos)
        return "ofx";
    size_t start = head.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    start = head.find_first_not_of(" \t\r\n", start);
    if (start != std::string::npos && head[start] == '!')
        return "qif";
    return "csv";
}

std::string DetectStatementFormat(const std::string& bytes, const std::string& fileName)
{
    const std::string format = DetectStatementFormat(bytes);
    const size_t dot = fileName.find_last_of("./");
    const std::string ending =
        dot == std::string::npos || fileName[dot] != '.' ? std::string() : Lower(fileName.substr(dot + 1));
    if (format != "csv" || (ending != "qif" && ending != "ofx" && ending != "qfx"))
        return format;
    return ending == "qif" ? "qif" : "ofx";
}

namespace
{
struct EntryKey
{
    int year, month, day;
    long long cents;
    std::string description;
    bool operator<(const EntryKey& o) const
    {
        return std::tie(year, month, day, cents, description) <
               std::tie(o.year, o.month, o.day, o.cents, o.description);
    }
};

long long Cents(double value)
{
    // A damaged file may hold amounts that are no number at all.
    if (!std::isfinite(value) || std::fabs(value) > 1e15)
        return std::numeric_limits<long long>::min();
    return std::llround(value * 100.0);
}

bool IsTransactionId(const std::string& checkNumber)
{
    return checkNumber.find_first_of("0123456789") != std::string::npos;
}
}  // namespace

ImportPlan PlanImport(const CAccount& account, const std::vector<StatementEntry>& entries)
{
    // The register's entries by transaction id and by date, amount and
    // description, so each statement line is matched at once however long
    // the register is. Each key's entries stand in register order; the
    // first unused one is taken.
    struct Matches
    {
        std::vector<size_t> entries;
        size_t next = 0;
    };
    std::vector<bool> used(account.m_transactions.size(), false);
    std::map<std::string, std::vector<size_t>> ids;
    std::map<EntryKey, Matches> keys;
    for (size_t i = 0; i < account.m_transactions.size(); ++i) {
        const CTransaction& t = *account.m_transactions[i];
        if (IsTransactionId(t.m_strCheckNumber))
            ids[t.m_strCheckNumber].push_back(i);
        keys[{t.m_date.GetYear(), t.m_date.GetMonth(), t.m_date.GetDay(), Cents(t.m_dAmount - t.m_dFee),
              NormalizeSpaces(t.m_strDescription)}]
            .entries.push_back(i);
    }

    ImportPlan plan;
    auto skip = [&plan](const StatementEntry& entry, ImportPlan::Decision decision, const std::string& reason) {
        plan.decisions.push_back(decision);
        plan.reasons.push_back(reason);
        plan.skipped.push_back({entry, reason});
    };
    std::map<std::string, const StatementEntry*> fitIdFirst;
    for (const StatementEntry& entry : entries) {
        if (!entry.fitId.empty()) {
            const auto first = fitIdFirst.emplace(entry.fitId, &entry);
            if (!first.second) {
                // The first named as the lists show it: a file's line
                // number reads as a count of statement lines, and a
                // statement written on one line gives all the same one.
                const StatementEntry& other = *first.first->second;
                skip(entry, ImportPlan::RepeatedInStatement,
                     "same FITID as \"" + Cp1252ToUtf8(other.description) + "\" of " +
                         other.Date().Format("%m/%d/%y"));
                continue;
            }
        }
        const std::string id = IsTransactionId(entry.checkNumber) ? entry.checkNumber : std::string();
        if (const auto known = id.empty() ? ids.end() : ids.find(id); known != ids.end()) {
            // Every entry of that id is spoken for; once is enough.
            for (size_t i : known->second)
                used[i] = true;
            known->second.clear();
            skip(entry, ImportPlan::InRegister, "same transaction id");
            continue;
        }
        bool found = false;
        const auto match = keys.find({entry.year, entry.month, entry.day, Cents(entry.amount - entry.fee),
                                      NormalizeSpaces(entry.description)});
        if (match != keys.end()) {
            Matches& m = match->second;
            while (m.next < m.entries.size() && used[m.entries[m.next]])
                ++m.next;
            if (m.next < m.entries.size()) {
                used[m.entries[m.next++]] = true;
                found = true;
            }
        }
        if (found) {
            skip(entry, ImportPlan::InRegister, "same date, amount and description");
            continue;
        }
        if (entry.amount == 0 && entry.fee == 0) {
            skip(entry, ImportPlan::NoAmount, "no amount");
            continue;
        }
        if (!id.empty())
            ids.try_emplace(id);  // a later line of the same id is in the register by then
        plan.decisions.push_back(ImportPlan::New);
        plan.reasons.emplace_back();
        plan.added.push_back(entry);
    }
    return plan;
}

int ApplyImport(CQuilletDoc& doc, const std::string& account, const std::vector<StatementEntry>& entries)
{
    CAccount* target = doc.FindAccount(account);
    if (!target)
        return 0;
    for (const StatementEntry& e : entries) {
        // The category's own flag colour, as the register editor proposes it.
        const int flag = doc.m_pCategoryList->GetCategoryFlag(e.category);
        doc.AddEntryTo(target, e.Date(), e.checkNumber, e.description, e.category, std::fabs(e.amount), e.fee,
                     e.amount >= 0 ? 1 : 0, e.cleared ? 1 : 0, e.isVoid ? 1 : 0, flag >= 0 ? flag : 0);
    }
    return int(entries.size());
}
