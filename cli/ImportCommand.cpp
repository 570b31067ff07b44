// import: a bank statement appended to one account's register, leaving out
// what the register already holds.
#include "CheckbookJson.h"
#include "Commands.h"
#include "FileLock.h"
#include "QuilletDoc.h"
#include "StatementImport.h"

namespace Cli
{
namespace
{
const char kUsage[] =
    "Usage: quillet-cli import --account NAME [--format csv|qif|ofx] [--dry-run]\n"
    "                          [--cleared] [--date-format ymd|mdy|dmy] [--no-header]\n"
    "                          [--date-col C] [--amount-col C] [--description-col C]\n"
    "                          [--check-col C] [--category-col C]\n"
    "                          [--json] [--password PW] [--passphrase PP] FILE.ql1 SOURCE\n"
    "Appends the statement's entries to the account and saves the checkbook.\n"
    "An entry already in the register (same date, amount and description, or\n"
    "the same transaction id in the check number) is skipped and reported, so\n"
    "importing one statement twice adds nothing. A line that cannot be read is\n"
    "reported with its number and nothing is written. --dry-run only shows what\n"
    "would be added; --cleared marks the added entries cleared.\n"
    "CSV (RFC 4180): columns C are numbers from 1 or header names. By default\n"
    "the headers Date, Amount (or Debit and Credit), Description (or Payee),\n"
    "Check Number and Category are used; with --no-header the columns are\n"
    "1 date, 2 amount, 3 description. Dates are ISO (ymd) unless --date-format\n"
    "says otherwise; amounts are signed with a point. QIF: !Type:Bank with\n"
    "D/T/N/P/L/C fields, dates month first unless --date-format says otherwise;\n"
    "an \"Opening Balance\" transaction is not an entry. OFX and QFX (Web\n"
    "Connect, SGML 1.x or XML 2.x), bank and credit card statements: each\n"
    "transaction's date posted, amount, name and memo, check number; a FITID\n"
    "the statement repeats is added once. SOURCE \"-\" reads standard input; the\n"
    "format is told from SOURCE's content when not given (from its ending when\n"
    "the content shows no sign of OFX or QIF). Statements are read as UTF-8, or\n"
    "as Windows-1252 when they are not UTF-8.\n";

Json EntryJson(const StatementEntry& e)
{
    Json item = Json::object();
    item["line"] = e.line;
    item["date"] = IsoDate(e.Date());
    item["checkNumber"] = Utf8(e.checkNumber);
    item["description"] = Utf8(e.description);
    item["category"] = Utf8(e.category);
    item["amount"] = MoneyValue(e.amount);
    item["fee"] = MoneyValue(e.fee);
    item["cleared"] = e.cleared;
    return item;
}

std::vector<std::string> EntryCells(const StatementEntry& e)
{
    return {std::to_string(e.line), IsoDate(e.Date()), Utf8(e.checkNumber), Utf8(e.description), Utf8(e.category),
            Money(e.amount), e.fee != 0 ? Money(e.fee) : ""};
}

TextTable EntryTable(bool withReason)
{
    TextTable table{{"Line", TextTable::Right}, {"Date", TextTable::Left}, {"Check #", TextTable::Left},
                    {"Description", TextTable::Left}, {"Category", TextTable::Left}, {"Amount", TextTable::Right},
                    {"Fee", TextTable::Right}};
    if (withReason)
        table.AddColumn("Reason", TextTable::Left);
    return table;
}

std::string Entries(size_t n)
{
    return std::to_string(n) + (n == 1 ? " entry" : " entries");
}
}  // namespace

int RunImport(const std::vector<std::string>& args, const Io& io)
{
    ParsedArgs parsed;
    const OptionSpec options{{"--json", "--dry-run", "--cleared", "--no-header"},
                          {"--account", "--format", "--date-format", "--date-col", "--amount-col",
                           "--description-col", "--check-col", "--category-col"}};
    if (const auto done = StartCommand(args, options, kUsage, 2,
                                       "import takes a checkbook file and a statement file.", parsed, io))
        return *done;
    const std::string& path = parsed.operands[0];
    const std::string& source = parsed.operands[1];
    const auto accountName = parsed.Value("--account");
    if (!accountName)
        return UsageError(io.err, "import needs --account NAME.", kUsage);
    const std::optional<std::string> givenFormat = parsed.Value("--format");
    if (givenFormat && *givenFormat != "csv" && *givenFormat != "qif" && *givenFormat != "ofx")
        return UsageError(io.err, "--format takes csv, qif or ofx.", kUsage);
    DateOrder order = DateOrder::YearMonthDay;
    if (const auto text = parsed.Value("--date-format"))
        if (!ParseDateOrder(*text, order))
            return UsageError(io.err, "--date-format takes ymd, mdy or dmy.", kUsage);
    // Checked again once the content has told the format.
    auto formatOptionProblem = [&parsed](const std::string& format) -> std::optional<std::string> {
        if (format == "csv")
            return std::nullopt;
        for (const char* option : {"--no-header", "--date-col", "--amount-col", "--description-col", "--check-col",
                                   "--category-col"})
            if (parsed.Has(option) || parsed.Value(option))
                return std::string(option) + " goes with CSV statements only.";
        if (format == "ofx" && parsed.Value("--date-format"))
            return std::string("--date-format does not go with OFX statements: their dates say their order.");
        return std::nullopt;
    };
    if (givenFormat)
        if (const auto problem = formatOptionProblem(*givenFormat))
            return UsageError(io.err, *problem, kUsage);

    // Read before the lock is taken: standard input may take its time.
    std::string text, problem;
    if (!ReadWholeFile(source, text, problem)) {
        io.err << problem << "\n";
        return FileProblem;
    }
    const bool dryRun = parsed.Has("--dry-run");
    CFileLock lock;
    CQuilletDoc doc;
    FileKeys opened;
    if (const int status = dryRun ? LoadCheckbook(path, parsed.Keys(), io, doc)
                                  : LoadCheckbookToChange(path, parsed.Keys(), io, doc, lock, &opened))
        return status;
    CAccount* account = RequireAccount(doc, *accountName, path, io.err);
    if (!account)
        return BadUsage;

    const std::string format = givenFormat.value_or(DetectStatementFormat(text, source));
    if (!givenFormat)
        if (const auto problem = formatOptionProblem(format))
            return UsageError(io.err, *problem, kUsage);
    if (!parsed.Value("--date-format") && format == "qif")
        order = DateOrder::MonthDayYear;
    Statement statement;
    if (format == "csv") {
        CsvColumns columns;
        columns.header = !parsed.Has("--no-header");
        columns.order = order;
        columns.date = parsed.Value("--date-col").value_or("");
        columns.amount = parsed.Value("--amount-col").value_or("");
        columns.description = parsed.Value("--description-col").value_or("");
        columns.checkNumber = parsed.Value("--check-col").value_or("");
        columns.category = parsed.Value("--category-col").value_or("");
        statement = ReadCsvStatement(text, columns);
    } else if (format == "qif") {
        statement = ReadQifStatement(text, order);
    } else {
        statement = ReadOfxStatement(text);
    }
    const std::vector<TextProblem>& problems = statement.problems;
    const std::string sourceName = source == "-" ? std::string("standard input") : BaseName(source);
    if (!problems.empty()) {
        for (const TextProblem& p : problems)
            io.err << sourceName << " line " << p.line << ": " << Printable(p.message) << ".\n";
        io.err << "Nothing was imported.\n";
        return FileProblem;
    }
    std::vector<StatementEntry> entries = statement.Entries();
    if (parsed.Has("--cleared"))
        for (StatementEntry& e : entries)
            e.cleared = true;

    const ImportPlan plan = PlanImport(*account, entries);
    // Applied in memory in a dry run too, so the balance shown is the one
    // the import would give.
    ApplyImport(doc, account->m_strName, plan.added);
    if (!dryRun && !plan.added.empty())
        if (const int status = SaveCheckbook(doc, path, io, nullptr, opened.sealKey))
            return status;
    lock.Release();
    const double balance = doc.GetAccountBalance(account->m_strName, 0);

    if (parsed.Has("--json")) {
        Json json = Json::object();
        json["file"] = PathText(path);
        json["account"] = Utf8(account->m_strName);
        json["source"] = PathText(source);
        json["format"] = format;
        json["dryRun"] = dryRun;
        Json added = Json::array();
        for (const StatementEntry& e : plan.added)
            added.push_back(EntryJson(e));
        Json skipped = Json::array();
        for (const ImportPlan::Skipped& s : plan.skipped) {
            Json item = EntryJson(s.entry);
            item["reason"] = s.reason;
            skipped.push_back(std::move(item));
        }
        json["added"] = std::move(added);
        json["skipped"] = std::move(skipped);
        json["balance"] = MoneyValue(balance);
        io.out << json.dump(2) << "\n";
        return Success;
    }

    const std::string accountText = "\"" + Printable(Utf8(account->m_strName)) + "\"";
    if (plan.added.empty()) {
        io.out << "Nothing to add to " << accountText << " from " << sourceName << ".\n";
    } else {
        io.out << (dryRun ? "Would add " : "Added ") << Entries(plan.added.size()) << " to " << accountText << ":\n\n";
        TextTable table = EntryTable(false);
        for (const StatementEntry& e : plan.added)
            table.AddRow(EntryCells(e));
        table.Print(io.out);
    }
    if (!plan.skipped.empty()) {
        io.out << "\nSkipped " << Entries(plan.skipped.size()) << ":\n\n";
        TextTable table = EntryTable(true);
        for (const ImportPlan::Skipped& s : plan.skipped) {
            std::vector<std::string> cells = EntryCells(s.entry);
            cells.push_back(s.reason);
            table.AddRow(std::move(cells));
        }
        table.Print(io.out);
    }
    io.out << "\n" << (dryRun && !plan.added.empty() ? "Balance after the import: " : "Balance: ") << Money(balance)
           << "\n";
    if (dryRun && !plan.added.empty())
        io.out << "Dry run: " << BaseName(path) << " is unchanged.\n";
    return Success;
}
}  // namespace Cli
