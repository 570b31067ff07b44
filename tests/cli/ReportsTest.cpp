// balances, register and due: the numbers the program itself shows.
#include "CheckbookFile.h"
#include "CliFixture.h"
#include "PasswordHash.h"
#include "QuilletDoc.h"

#include <nlohmann/json.hpp>

#include <functional>
#include <limits>

namespace
{
using nlohmann::json;

class ReportsTest : public CliFixture
{
protected:
    std::string Write(const std::string& name, const std::function<void(CQuilletDoc&)>& fill)
    {
        CQuilletDoc doc;
        fill(doc);
        FileError error;
        EXPECT_TRUE(SaveCheckbookFile(doc, Path(name), error)) << error.message;
        AppValues::ResetToDefaults();
        return Path(name);
    }

    // Home and Boat share a number; Home has a fee, an uncleared deposit
    // and a void payment.
    static void Books(CQuilletDoc& doc)
    {
        doc.AddAccount("Home", "1", 100.0, "", "", "");
        doc.AddAccount("Car", "2", 10.0, "", "", "");
        doc.AddAccount("Boat with a name longer than thirty", "1", 5.0, "", "", "");
        doc.AddAccount("Shop", "3", 0.0, "", "", "");
        const CTime day(2026, 11, 2, 0, 0, 0);
        doc.AddEntry("Home", day, "7", "Fuel", "Auto Fuel", 30.0, 1.5, 0, 1, 0, 3);
        doc.AddEntry("Home", day, "", "Pay", " Deposit-Salary", 20.0, 0.0, 1, 0, 0, 6);
        doc.AddEntry("Home", day, "", "Boat", "", 500.0, 0.0, 0, 1, 1, 0);
    }
};

TEST_F(ReportsTest, BalancesGroupAccountsByNumberAsTheBalanceBooksDo)
{
    const std::string file = Write("books.ql1", Books);
    const CliResult r = Run({"balances", "--json", file});
    ASSERT_EQ(r.status, 0) << r.err;
    const json out = json::parse(r.out);

    // The program's own summary of the same file.
    CQuilletDoc doc;
    FileError error;
    ASSERT_TRUE(LoadCheckbookFile(doc, file, nullptr, error));
    std::unique_ptr<BALANCE_NODE> node = doc.BuildBalanceSummary();
    const json& rows = out["rows"];
    size_t i = 0;
    for (; node; node = std::move(node->next), ++i) {
        ASSERT_LT(i, rows.size());
        EXPECT_EQ(rows[i]["kind"], node->groupIndex < 0 ? "summary" : "account");
        EXPECT_EQ(rows[i]["number"], node->number);
        EXPECT_DOUBLE_EQ(rows[i]["balance"].get<double>(), node->balance);
        EXPECT_DOUBLE_EQ(rows[i]["clearedBalance"].get<double>(), node->cleared);
    }
    EXPECT_EQ(i, rows.size());

    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0]["name"], "Home");
    EXPECT_EQ(rows[0]["balance"], 88.5);
    EXPECT_EQ(rows[0]["clearedBalance"], 68.5);
    EXPECT_EQ(rows[1]["name"], "Boat with a name longer than thirty");  // whole, not cut
    EXPECT_EQ(rows[2]["name"], "Summary");
    EXPECT_EQ(rows[2]["balance"], 93.5);
    EXPECT_EQ(rows[3]["name"], "Car");
    EXPECT_EQ(out["totalBalance"], 103.5);  // each account once, summaries not again
    EXPECT_EQ(out["totalClearedBalance"], 83.5);

    const CliResult text = Run({"balances", file});
    ASSERT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("Summary                              1                 93.50         73.50\n"),
              std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("Total Balance                                         103.50         83.50\n"),
              std::string::npos)
        << text.out;

    const CliResult empty = Run({"balances", "--json", Write("empty.ql1", [](CQuilletDoc&) {})});
    EXPECT_EQ(json::parse(empty.out)["totalBalance"], 0.0);

    // Absurd balances from a damaged file are shown whole, not cut.
    const CliResult huge = Run({"balances", Write("huge.ql1", [](CQuilletDoc& doc) {
        doc.AddAccount("Big", "", 1e300, "", "", "");
    })});
    EXPECT_NE(huge.out.find("865459400540160.00  10000"), std::string::npos) << huge.out;
}

TEST_F(ReportsTest, RegisterRunsTheBalanceOverFeesAndVoidEntries)
{
    const std::string file = Write("reg.ql1", [](CQuilletDoc& doc) {
        doc.AddAccount("Checking", "9", 50.0, "", "", "");
        doc.AddAccount("Twin", "9", 1.0, "", "", "");
        const CTime day(2026, 3, 4, 0, 0, 0);
        doc.AddEntry("Checking", day, "101", "Store", "Groceries", 20.0, 0.5, 0, 1, 0, 1);
        doc.AddEntry("Checking", day, "", "Rent", "Mortgage", 100.0, 0.0, 0, 0, 1, 2);
        doc.AddEntry("Checking", day + CTime::kDay, "", "Pay\x1B[2J", "", 30.0, 0.0, 1, 0, 0, 0);
        doc.AddEntry("Checking", day - CTime::kDay, "", "Late entry", "", 5.0, 0.0, 0, 0, 0, 0);
    });
    const CliResult r = Run({"register", "--json", file, "Checking"});
    ASSERT_EQ(r.status, 0) << r.err;
    const json out = json::parse(r.out);
    std::vector<double> available;
    for (const json& entry : out["entries"])
        available.push_back(entry["available"]);
    // In register order, each the balance after the entry in date order.
    EXPECT_EQ(available, (std::vector<double>{24.5, 24.5, 54.5, 45.0}));
    EXPECT_EQ(out["entries"][1]["void"], true);
    EXPECT_EQ(out["entries"][0]["amount"], -20.0);
    EXPECT_EQ(out["entries"][0]["date"], "2026-03-04");
    EXPECT_EQ(out["balance"], 54.5);
    EXPECT_EQ(out["clearedBalance"], 29.5);
    EXPECT_EQ(out["bankBalance"], 30.5);  // the cleared balances of both accounts of number 9

    const CliResult text = Run({"register", file, "Checking"});
    ASSERT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("03/04/26  101      Store [ Groceries ]   20.00  x  0.50               24.50\n"),
              std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("Rent [ Mortgage ]    100.00                        24.50  void\n"), std::string::npos);
    EXPECT_NE(text.out.find("Opening Balance"), std::string::npos);
    // A terminal control sequence in a description is not passed on.
    EXPECT_EQ(text.out.find('\x1B'), std::string::npos);

    const CliResult unknown = Run({"register", file, "Savings"});
    EXPECT_EQ(unknown.status, Cli::BadUsage);
    EXPECT_EQ(unknown.err, "The checkbook \"reg.ql1\" has no account \"Savings\". Its accounts: \"Checking\", \"Twin\".\n");
}

TEST_F(ReportsTest, DueListsWhatFallsInsideTheWindowByDate)
{
    const CTime now(2026, 12, 20, 12, 0, 0);
    SetNow(now);
    const std::string file = Write("due.ql1", [&](CQuilletDoc& doc) {
        g_nUpcomingDays = 20;
        doc.AddAccount("A", "", 0.0, "", "", "");
        doc.AddRecurring("A", 12.5, now + 20 * CTime::kDay, "Edge", "", "Monthly", "Forever", 0);
        doc.AddRecurring("A", 1.0, now + 20 * CTime::kDay + 1, "Past the edge", "", "Monthly", "Forever", 0);
        doc.AddRecurring("A", -300.0, now - 10 * CTime::kDay, "Overdue", "", "Monthly", "Forever", 0);
        doc.AddRecurring("A", 4.0, now, "Now", "", "Weekly", "3", 0);
    });

    CliResult r = Run({"due", "--json", file});
    ASSERT_EQ(r.status, 0) << r.err;
    json out = json::parse(r.out);
    EXPECT_EQ(out["days"], 20);  // the file's setting
    std::vector<std::string> names;
    for (const json& item : out["due"])
        names.push_back(item["description"]);
    // Chronological, across the new year: 12/10/26, 12/20/26, 01/09/27.
    EXPECT_EQ(names, (std::vector<std::string>{"Overdue", "Now", "Edge"}));
    EXPECT_EQ(out["due"][0]["deposit"], true);
    EXPECT_EQ(out["due"][0]["amount"], 300.0);

    r = Run({"due", "--days", "0", file});
    ASSERT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("12/10/26  Overdue      300.00  D        A                  Monthly\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("12/20/26  Now            4.00  W        A                  Weekly\n"), std::string::npos);
    EXPECT_EQ(r.out.find("Edge"), std::string::npos);

    SetNow(now - 30 * CTime::kDay);
    r = Run({"due", "--days=5", file});
    EXPECT_EQ(r.out, "Nothing is due within 5 days.\n");

    for (const char* bad : {"-1", "x", "", "100000"})
        EXPECT_EQ(Run({"due", "--days", bad, file}).status, Cli::BadUsage) << bad;
}

TEST_F(ReportsTest, CategoriesListTheSpendingThePieDraws)
{
    const CTime now(2026, 12, 6, 12, 0, 0);
    SetNow(now);
    const auto ago = [&](int days) { return now - int64_t(days) * CTime::kDay; };
    const std::string file = Write("spend.ql1", [&](CQuilletDoc& doc) {
        g_nLookback = 90;
        g_strCategoryAccount = "Checking";
        doc.AddAccount("Checking", "1", 0.0, "", "", "");
        doc.AddAccount("Visa", "2", 0.0, "", "", "");
        doc.AddEntry("Checking", ago(10), "", "Rent", "Mortgage", 1200.0, 0.0, 0, 0, 0, 0);
        doc.AddEntry("Checking", ago(5), "", "Market", "Groceries", 80.25, 0.0, 0, 0, 0, 0);
        doc.AddEntry("Checking", ago(4), "", "Market", "Groceries", 19.75, 2.0, 0, 0, 0, 0);  // the fee is no groceries
        doc.AddEntry("Checking", ago(4), "", "Market", "Groceries", 10.0, 0.0, 1, 0, 0, 0);   // a refund
        doc.AddEntry("Checking", ago(3), "", "Power", "Electricity", 80.0, 0.0, 0, 0, 1, 0);  // void
        doc.AddEntry("Checking", ago(2), "", "Pay", " Deposit-Salary", 3000.0, 0.0, 1, 0, 0, 0);
        doc.AddEntry("Checking", ago(100), "", "Fuel", "Auto Fuel", 45.0, 0.0, 0, 0, 0, 0);
        doc.AddEntry("Visa", ago(2), "", "Fuel", "Auto Fuel", 60.0, 0.0, 0, 0, 0, 0);
        doc.AddEntry("Visa", ago(1), "", "Diner", "Dining", 30.5, 0.0, 0, 0, 0, 0);
    });
    const auto report = [&](std::vector<std::string> options) {
        options.insert(options.begin(), "categories");
        options.push_back("--json");
        options.push_back(file);
        const CliResult r = Run(options);
        EXPECT_EQ(r.status, 0) << r.err;
        std::string rows;
        const json out = json::parse(r.out);
        for (const json& item : out["categories"])
            rows += item["category"].get<std::string>() + "=" + item["spending"].dump() + " ";
        return rows + "total=" + out["totalSpending"].dump();
    };
    // The file's own settings: 90 days of Checking.
    EXPECT_EQ(report({}), "Mortgage=1200.0 Groceries=90.0 total=1290.0");
    EXPECT_EQ(report({"--account", "Show All"}), "Mortgage=1200.0 Groceries=90.0 Auto Fuel=60.0 Dining=30.5 total=1380.5");
    EXPECT_EQ(report({"--account=Visa", "--days", "120"}), "Auto Fuel=60.0 Dining=30.5 total=90.5");
    EXPECT_EQ(report({"--days", "120"}), "Mortgage=1200.0 Groceries=90.0 Auto Fuel=45.0 total=1335.0");

    // The pie's own totals of the same file agree.
    CQuilletDoc doc;
    FileError error;
    ASSERT_TRUE(LoadCheckbookFile(doc, file, nullptr, error));
    std::string pie;
    for (const CATTOTAL_NODE* n = doc.SortCategoryTotals(); n && n->Spending() > 0; n = n->next.get())
        pie += n->name + "=" + json(n->Spending()).dump() + " ";
    EXPECT_EQ(pie + "total=" + json(doc.m_pCategoryTotals->spendingSum).dump(), report({}));

    const CliResult text = Run({"categories", "--account", "Show All", file});
    ASSERT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("Spending in the last 90 days (since 09/07/26), all accounts:\n"), std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("Mortgage    1200.00   86.9%\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("Total       1380.50  100.0%\n"), std::string::npos) << text.out;
    EXPECT_EQ(Run({"categories", "--days", "0", file}).out, "No spending in the last 0 days (since 12/06/26), "
                                                            "account \"Checking\".\n");

    const CliResult unknown = Run({"categories", "--account", "Savings", file});
    EXPECT_EQ(unknown.status, Cli::BadUsage);
    EXPECT_NE(unknown.err.find("has no account \"Savings\""), std::string::npos);
    EXPECT_EQ(Run({"categories", "--days", "-3", file}).status, Cli::BadUsage);
    EXPECT_EQ(Run({"categories", Path("missing.ql1")}).status, Cli::FileProblem);
}

TEST_F(ReportsTest, ValuesNoPersonTypedAreMarkedAndLeftOutOfTotals)
{
    SetNow(CTime(2026, 12, 6, 12, 0, 0));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::string file = Write("odd.ql1", [&](CQuilletDoc& doc) {
        doc.AddAccount("Good", "", 100.0, "", "", "");
        doc.AddAccount("Odd", "", 0.0, "", "", "");
        doc.AddEntry("Good", CTime(Clock::Now()), "", "Market", "Food", 20.0, 0.0, 0, 1, 0, 0);
        doc.AddEntry("Good", CTime(Clock::Now()), "", "Market", "Food", 5.0, 0.0, 0, 1, 0, 0)->m_dAmount = nan;
        doc.AddEntry("Odd", CTime(Clock::Now()), "", "Gift", "", 1.0, 0.0, 1, 0, 0, 0)->m_dFee = -inf;
        doc.m_accounts[1]->m_dOpeningBalance = inf;
    });

    const CliResult balances = Run({"balances", file});
    ASSERT_EQ(balances.status, 0);
    EXPECT_NE(balances.out.find("Odd                            invalid       invalid\n"), std::string::npos) << balances.out;
    EXPECT_NE(balances.out.find("Good                           invalid       invalid\n"), std::string::npos);
    EXPECT_NE(balances.out.find("Total Balance                     0.00          0.00\n"), std::string::npos);
    EXPECT_EQ(balances.err, "Warning: 4 balances are not a number (a damaged or hand-made file) and left out "
                            "of the totals.\n");
    const json out = json::parse(Run({"balances", "--json", file}).out);
    EXPECT_TRUE(out["rows"][1]["balance"].is_null());

    const CliResult spending = Run({"categories", file});
    EXPECT_NE(spending.out.find("Food         20.00  100.0%\n"), std::string::npos) << spending.out;
    EXPECT_EQ(spending.err, "Warning: 1 entry amount is not a number (a damaged or hand-made file) and left out "
                            "of the totals.\n");

    // The values stay as stored: the register shows the marker, and a
    // dump packs back into the same bytes.
    EXPECT_NE(Run({"register", file, "Good"}).out.find("invalid"), std::string::npos);
    const CliResult dump = Run({"dump", file});
    Put(Path("odd.json"), dump.out);
    ASSERT_EQ(Run({"pack", Path("odd.json"), Path("again.ql1")}).status, 0);
    EXPECT_EQ(Contents(Path("again.ql1")), Contents(file));
}

TEST_F(ReportsTest, EveryCommandAsksForThePasswordOfAProtectedFile)
{
    const std::string open = Write("open.ql1", Books);
    const std::string file = Write("locked.ql1", [](CQuilletDoc& doc) {
        g_strPasswordHash = CryptPassword("right", "ab");
        Books(doc);
    });
    Put(Path("s.csv"), "Date,Amount,Description\n2026-12-01,-1.00,Coffee\n");
    const std::vector<std::vector<std::string>> commands = {
        {"dump", file},
        {"balances", file},
        {"register", file, "Home"},
        {"due", file},
        {"categories", file},
        {"export", "--format", "csv", file},
        {"import", "--account", "Home", file, Path("s.csv")},
    };
    Cli::Environment env;
    for (const auto& args : commands) {
        SCOPED_TRACE(args[0]);
        const CliResult none = Run(args, env);
        EXPECT_EQ(none.status, Cli::PasswordProblem);
        EXPECT_EQ(none.out, "");
        EXPECT_EQ(none.err, "The file \"locked.ql1\" is protected by a password; give it with --password or "
                            "QUILLET_PASSWORD.\n");
        std::vector<std::string> wrong = args;
        wrong.insert(wrong.begin() + 1, "--password=wrong");
        const CliResult refused = Run(wrong, env);
        EXPECT_EQ(refused.status, Cli::PasswordProblem);
        EXPECT_NE(refused.err.find("\"locked.ql1\" was denied"), std::string::npos) << refused.err;
    }
    std::string askedFor;
    env.askPassword = [&](const std::string& name) {
        askedFor = name;
        return std::optional<std::string>("right");
    };
    for (const auto& args : commands)
        EXPECT_EQ(Run(args, env).status, 0) << args[0];
    EXPECT_EQ(askedFor, "locked.ql1");

    // The import saved the file under the same password; the variable
    // gives it too, and a typed option wins over it.
    EXPECT_EQ(Run({"balances", file}).status, Cli::PasswordProblem);
    env.askPassword = nullptr;
    env.passwordVariable = "right";
    EXPECT_EQ(Run({"dump", "--password", "wrong", file}, env).status, Cli::PasswordProblem);
    const CliResult r = Run({"register", "--json", file, "Home"}, env);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(json::parse(r.out)["entries"].back()["description"], "Coffee");

    // An unprotected file never asks.
    askedFor.clear();
    env.passwordVariable.reset();
    env.askPassword = [&](const std::string& name) { askedFor = name; return std::optional<std::string>(); };
    EXPECT_EQ(Run({"dump", open}, env).status, 0);
    EXPECT_EQ(askedFor, "");
}

TEST_F(ReportsTest, EachCommandExplainsItself)
{
    for (const char* command :
         {"dump", "pack", "balances", "register", "due", "categories", "export", "import", "encrypt", "decrypt"}) {
        const CliResult help = Run({command, "--help"});
        EXPECT_EQ(help.status, 0) << command;
        EXPECT_EQ(help.out.rfind(std::string("Usage: quillet-cli ") + command, 0), 0u) << help.out;
        EXPECT_EQ(Run({"help", command}).out, help.out);
        const CliResult wrong = Run({command, "--no-such-option"});
        EXPECT_EQ(wrong.status, Cli::BadUsage);
        EXPECT_NE(wrong.err.find("unknown option --no-such-option"), std::string::npos);
    }
}
}  // namespace
