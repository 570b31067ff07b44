#pragma once
// Bank statements (CSV, QIF or OFX) read into entries for one account, and
// the plan of what to add: entries already in the register are left out.

#include "Csv.h"
#include "Time.h"

#include <string>
#include <vector>

class CAccount;
class CQuilletDoc;

struct StatementEntry
{
    int line = 0;  // where the entry stands in the statement
    int year = 0, month = 0, day = 0;
    double amount = 0.0;  // signed as in the register, to the cent
    double fee = 0.0;
    std::string checkNumber, description, category;  // Windows-1252, as the ledger keeps texts
    bool cleared = false;
    bool isVoid = false;
    // The bank's own id of the transaction (OFX FITID). The checkbook has
    // no place for it; it only tells repeated transactions apart.
    std::string fitId;

    CTime Date() const { return CTime(year, month, day, 0, 0, 0); }
};

// One line of a statement as a preview shows it: what could be read of
// it, and why it cannot be imported when it cannot.
struct StatementLine
{
    StatementEntry entry;
    std::vector<std::string> problems;
    // A date that cannot be read as the statement writes it (UTF-8); the
    // entry's date is then left unset (year 0).
    std::string writtenDate;
    bool amountRead = false;  // whether entry.amount holds the line's amount
    bool Readable() const { return problems.empty(); }
};

struct Statement
{
    // Every line, readable or not, in statement order.
    std::vector<StatementLine> lines;
    // Every problem in the order the command line reports them; with any,
    // it imports nothing.
    std::vector<TextProblem> problems;
    // Why no line can be shown at all (the file is no statement of this
    // format, holds nothing, or mixes accounts); empty when lines can be.
    std::vector<std::string> fileProblems;
    // CSV columns that could not be found by their headings.
    std::vector<std::string> missingColumns;
    // The bank's number of the account, when the statement carries one.
    std::string accountId;

    std::vector<StatementEntry> Entries() const;  // the readable lines'
};

enum class DateOrder { YearMonthDay, MonthDayYear, DayMonthYear };
// "ymd", "mdy" or "dmy".
bool ParseDateOrder(const std::string& text, DateOrder& order);
// Three numbers with any of " /-.'" between them (or eight digits in a
// row), in the given order; a time after the date is passed over. Two-digit
// years below 70 are this century's. False for a day the month lacks and
// for dates the checkbook cannot hold (1902 to 2037), and then year, month
// and day are left as they were.
bool ParseStatementDate(const std::string& text, DateOrder order, int& year, int& month, int& day);
// A signed amount with a point: "-12.34", "+5", "$1,234.50", "(7.00)";
// rounded to the cent. False for anything else and beyond a trillion.
bool ParseStatementAmount(const std::string& text, double& value);

// Which CSV columns hold what: a 1-based number, or a header name (any
// letter case). Empty: found by the usual header names; a statement with
// Debit and Credit columns instead of an Amount column is read as such.
struct CsvColumns
{
    bool header = true;
    std::string date, amount, description, checkNumber, category;
    DateOrder order = DateOrder::YearMonthDay;
};

// The CSV and QIF readers take UTF-8 text, or Windows-1252 when it is not
// UTF-8.
Statement ReadCsvStatement(const std::string& text, const CsvColumns& columns);
Statement ReadQifStatement(const std::string& text, DateOrder order);
// OFX and QFX, SGML (1.x) or XML (2.x), bank and credit card statements.
Statement ReadOfxStatement(const std::string& bytes);
// The first record of a CSV text (its headings, when it has them).
std::vector<std::string> CsvFirstRecord(const std::string& text);

// "ofx", "qif" or "csv", from the text itself; a text that shows no sign
// of OFX or QIF is taken as CSV.
std::string DetectStatementFormat(const std::string& bytes);
// As above, but when the text shows no sign of either, a file name ending
// in .qif, .ofx or .qfx still says which (the reader then says what is
// wrong with the file rather than reading it as CSV).
std::string DetectStatementFormat(const std::string& bytes, const std::string& fileName);

// QIF writes an account's opening balance as its first transaction; the
// readers know it by these and add it as no entry.
inline constexpr char kQifOpeningBalance[] = "Opening Balance";

struct ImportPlan
{
    enum Decision { New, InRegister, RepeatedInStatement, NoAmount };
    struct Skipped
    {
        StatementEntry entry;
        std::string reason;
    };
    // For every entry given, in order, and why it is left out.
    std::vector<Decision> decisions;
    std::vector<std::string> reasons;  // empty for New
    std::vector<StatementEntry> added;
    std::vector<Skipped> skipped;
};

// An entry is already in the register when an entry there has the same
// transaction id (a check number with a digit in it), or the same date,
// net amount (amount less fee) and description. Each register entry
// stands for one statement entry only, so two equal purchases on one day
// are both added the first time, and neither the second. An entry whose
// FITID an earlier entry of the same import carries is the same
// transaction sent twice, and is left out.
ImportPlan PlanImport(const CAccount& account, const std::vector<StatementEntry>& entries);

// The import as one change of the document: appends the entries through
// the register's own entry operation, in order. Returns how many it added.
int ApplyImport(CQuilletDoc& doc, const std::string& account, const std::vector<StatementEntry>& entries);
