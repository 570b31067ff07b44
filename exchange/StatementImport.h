#pragma once
// Bank statements (CSV or QIF) read into entries for one account, and the
// plan of what to add: entries already in the register are left out.

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

    CTime Date() const { return CTime(year, month, day, 0, 0, 0); }
};

enum class DateOrder { YearMonthDay, MonthDayYear, DayMonthYear };
// "ymd", "mdy" or "dmy".
bool ParseDateOrder(const std::string& text, DateOrder& order);
// Three numbers with any of " /-.'" between them (or eight digits in a
// row), in the given order; a time after the date is passed over. Two-digit
// years below 70 are this century's. False for a day the month lacks and
// for dates the checkbook cannot hold (1902 to 2037).
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

// Both readers take UTF-8 text, or Windows-1252 when it is not UTF-8.
// Every line that cannot be read is a
// problem; with any problem the entries are not to be used.
std::vector<StatementEntry> ReadCsvStatement(const std::string& text, const CsvColumns& columns,
                                             std::vector<TextProblem>& problems);
std::vector<StatementEntry> ReadQifStatement(const std::string& text, DateOrder order,
                                             std::vector<TextProblem>& problems);

struct ImportPlan
{
    struct Skipped
    {
        StatementEntry entry;
        std::string reason;
    };
    std::vector<StatementEntry> added;
    std::vector<Skipped> skipped;
};

// An entry is already in the register when an entry there has the same
// transaction id (a check number with a digit in it), or the same date,
// net amount (amount less fee) and description. Each register entry
// stands for one statement entry only, so two equal purchases on one day
// are both added the first time, and neither the second.
ImportPlan PlanImport(const CAccount& account, const std::vector<StatementEntry>& entries);

// Appends the planned entries through the register's own entry operation.
void ApplyImport(CQuilletDoc& doc, const std::string& account, const ImportPlan& plan);
