// export and import: CSV quoting, QIF round trips, duplicates left out,
// and nothing written when a statement line cannot be read.
#include "CheckbookFile.h"
#include "CliFixture.h"
#include "QuilletDoc.h"

#include <nlohmann/json.hpp>

namespace
{
using nlohmann::json;

class ImportExportTest : public CliFixture
{
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        SetNow(CTime(2026, 12, 6, 12, 0, 0));
    }

    std::string Book(const std::string& name, bool withEntries)
    {
        CQuilletDoc doc;
        doc.AddAccount("Checking", "1", 100.0, "", "", "");
        doc.AddAccount("Savings", "2", 0.0, "", "", "");
        if (withEntries) {
            const CTime day(2026, 11, 30, 0, 0, 0);
            doc.AddEntry("Checking", day, "1001", "Caf\xE9, \"Au Lait\"", "Groceries", 4.5, 0.0, 0, 1, 0, 1);
            doc.AddEntry("Checking", day, "", "Wire\nout", " Deposit-Other", 40.0, 1.25, 0, 0, 0, 0);
            doc.AddEntry("Checking", day + CTime::kDay, "", "Salary", " Deposit-Salary", 2000.0, 0.0, 1, 1, 0, 6);
            doc.AddEntry("Checking", day + CTime::kDay, "", "Torn check", "", 9.0, 0.0, 0, 0, 1, 0);
        }
        FileError error;
        EXPECT_TRUE(SaveCheckbookFile(doc, Path(name), error)) << error.message;
        return Path(name);
    }

    json Register(const std::string& file, const std::string& account)
    {
        const CliResult r = Run({"register", "--json", file, account});
        EXPECT_EQ(r.status, 0) << r.err;
        return json::parse(r.out);
    }
};

TEST_F(ImportExportTest, CsvExportQuotesAndSignsAsRfc4180Wants)
{
    const std::string file = Book("book.ql1", true);
    const CliResult r = Run({"export", "--format", "csv", "--account", "Checking", file});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "Account,Date,Check Number,Description,Category,Amount,Fee,Cleared,Void\r\n"
              "Checking,2026-11-30,1001,\"Caf\u00e9, \"\"Au Lait\"\"\",Groceries,-4.50,0.00,yes,no\r\n"
              "Checking,2026-11-30,,\"Wire\nout\", Deposit-Other,-40.00,1.25,no,no\r\n"
              "Checking,2026-12-01,,Salary, Deposit-Salary,2000.00,0.00,yes,no\r\n"
              "Checking,2026-12-01,,Torn check,,-9.00,0.00,no,yes\r\n");

    // To a file, with a summary; a folder that is not there is a file problem.
    const CliResult toFile = Run({"export", file, "-o", Path("out.csv"), "--json"});
    ASSERT_EQ(toFile.status, 0) << toFile.err;
    EXPECT_EQ(json::parse(toFile.out)["entries"], 4);
    EXPECT_EQ(Contents(Path("out.csv")).substr(0, 8), "Account,");
    EXPECT_EQ(Run({"export", file, "-o", Path("no/such.csv")}).status, Cli::FileProblem);
    // A file name that is not UTF-8 still gives valid JSON.
    const CliResult latin1 = Run({"export", file, "-o", Path("caf\xE9.csv"), "--json"});
    ASSERT_EQ(latin1.status, 0) << latin1.err;
    EXPECT_NE(json::parse(latin1.out)["file"].get<std::string>().find("caf\u00e9.csv"), std::string::npos);
    EXPECT_EQ(Run({"export", file}).status, Cli::BadUsage);  // no format to go by
    const std::string kept = Contents(file);
    EXPECT_EQ(Run({"export", file, "--format", "csv", "-o", m_dir + "/./book.ql1"}).status, Cli::BadUsage);
    EXPECT_EQ(Contents(file), kept);
}

TEST_F(ImportExportTest, QifExportReadBackGivesTheSameEntries)
{
    const std::string file = Book("book.ql1", true);
    const CliResult r = Run({"export", file, "--account", "Checking", "-o", Path("out.qif")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("1 void entry was left out"), std::string::npos) << r.out;
    const std::string qif = Contents(Path("out.qif"));
    EXPECT_EQ(qif.rfind("!Type:Bank\nD11/29/2026\nT100.00\nPOpening Balance\nL[Checking]\nCX\n^\n"
                        "D11/30/2026\nT-4.50\nN1001\nPCaf\u00e9, \"Au Lait\"\nLGroceries\nCX\n^\n",
                        0),
              0u)
        << qif;

    const std::string other = Book("other.ql1", false);
    const CliResult in = Run({"import", other, "--account", "Savings", Path("out.qif")});
    ASSERT_EQ(in.status, 0) << in.err;

    const json before = Register(file, "Checking")["entries"];
    const json after = Register(other, "Savings")["entries"];
    ASSERT_EQ(after.size(), 3u);
    for (size_t i = 0; i < after.size(); ++i) {
        SCOPED_TRACE(i);
        for (const char* key : {"date", "checkNumber", "category", "amount", "fee", "cleared"})
            EXPECT_EQ(after[i][key], before[i][key]) << key;
    }
    EXPECT_EQ(after[0]["description"], before[0]["description"]);
    EXPECT_EQ(after[1]["description"], "Wire out");  // one line in QIF

    // A file of several accounts names each one; importing it into one
    // account is refused rather than mixing them.
    ASSERT_EQ(Run({"export", file, "--format", "qif", "-o", Path("all.qif")}).status, 0);
    EXPECT_NE(Contents(Path("all.qif")).find("!Account\nNSavings\nTBank\n^\n!Type:Bank\n"), std::string::npos);
    const std::string kept = Contents(other);
    const CliResult mixed = Run({"import", other, "--account", "Savings", Path("all.qif")});
    EXPECT_EQ(mixed.status, Cli::FileProblem);
    EXPECT_EQ(Contents(other), kept);
}

TEST_F(ImportExportTest, TheSameStatementImportedTwiceAddsItsEntriesOnce)
{
    const std::string file = Book("book.ql1", false);
    // Two equal coffees on one day are two purchases; the id in the check
    // column matches an entry whatever its description.
    Put(Path("s.csv"),
        "\xEF\xBB\xBFPosted Date,Payee,Amount,Reference,Category\n"
        "2026-12-01,Coffee,-3.00,,Cash\n"
        "2026-12-01,Coffee,-3.00,,Cash\n"
        "2026-12-02,\"Pay, Inc.\",1500.00,TX9,\n"
        "2026-12-03,Zero,0.00,,\n");
    CliResult r = Run({"import", "--json", "--account", "Checking", file, Path("s.csv")});
    ASSERT_EQ(r.status, 0) << r.err;
    json out = json::parse(r.out);
    EXPECT_EQ(out["added"].size(), 3u);
    ASSERT_EQ(out["skipped"].size(), 1u);
    EXPECT_EQ(out["skipped"][0]["reason"], "no amount");
    EXPECT_EQ(out["balance"], 1594.0);

    const json entries = Register(file, "Checking")["entries"];
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0]["flag"], 5);  // the category's own colour
    EXPECT_EQ(entries[2]["checkNumber"], "TX9");
    EXPECT_EQ(entries[2]["description"], "Pay, Inc.");

    const std::string saved = Contents(file);
    Put(Path("again.csv"),
        "Date,Description,Amount,Check Number\n"
        "2026-12-01,Coffee,-3.00,\n"
        "2026-12-01,  Coffee ,-3,\n"
        "2026-12-05,Renamed by the bank,1500.00,TX9\n"
        "2026-12-02,\"Pay, Inc.\",1500.00,\n"
        "2026-12-01,Coffee,-3.00,\n");
    r = Run({"import", "--account", "Checking", file, Path("again.csv")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Would add"), 0u);
    // The third coffee, and a second pay: the first one is the id's.
    EXPECT_NE(r.out.find("Added 2 entries"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("same transaction id"), std::string::npos);
    EXPECT_NE(Contents(file), saved);

    const std::string twice = Contents(file);
    r = Run({"import", "--account", "Checking", file, Path("again.csv")});
    EXPECT_NE(r.out.find("Nothing to add to \"Checking\""), std::string::npos) << r.out;
    EXPECT_EQ(Contents(file), twice);
}

TEST_F(ImportExportTest, AnUnreadableLineIsNamedAndNothingIsWritten)
{
    const std::string file = Book("book.ql1", true);
    const std::string kept = Contents(file);
    const std::string readable = "Date,Amount,Description\n"
                                 "2026-12-01,-3.00,\"Fine,\nover two lines\"\n";
    const std::string badFields = "2026-12-02,12.3x,Bad amount\n"
                                  "2026-12-03,-1.00\n"
                                  "2026-02-30,-1.00,No such day\n";
    // Broken quoting stops the reading: the fields are not looked at.
    Put(Path("bad.csv"), readable + badFields + "2026-12-04,-1.00,\"Closed\" badly\n");
    const CliResult r = Run({"import", "--account", "Checking", file, Path("bad.csv")});
    EXPECT_EQ(r.status, Cli::FileProblem);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err,
              "bad.csv line 7: text follows the closing quote of a field.\n"
              "Nothing was imported.\n");
    EXPECT_EQ(Contents(file), kept);

    Put(Path("bad.csv"), readable + badFields + "2026-12-05,-1.00,\n");
    const CliResult many = Run({"import", "--account", "Checking", file, Path("bad.csv")});
    EXPECT_EQ(many.status, Cli::FileProblem);
    EXPECT_EQ(many.err,
              "bad.csv line 4: the amount \"12.3x\" is not an amount.\n"
              "bad.csv line 5: the line has 2 fields; column 3 is needed.\n"
              "bad.csv line 6: the date \"2026-02-30\" cannot be read.\n"
              "bad.csv line 7: the description is empty.\n"
              "Nothing was imported.\n");
    EXPECT_EQ(Contents(file), kept);

    Put(Path("s.csv"), "When,What,Sum\n2026-12-01,Tea,-2\n");
    EXPECT_NE(Run({"import", "--account", "Checking", file, Path("s.csv")}).err.find("--date-col"), std::string::npos);
    EXPECT_EQ(Run({"import", "--account", "Checking", file, Path("missing.csv")}).status, Cli::FileProblem);
    EXPECT_EQ(Contents(file), kept);
}

TEST_F(ImportExportTest, DryRunAndColumnOptions)
{
    const std::string file = Book("book.ql1", false);
    const std::string kept = Contents(file);
    Put(Path("s.csv"), "01/12/2026,-2.50,Tea,Drinks\n");
    const CliResult r = Run({"import", "--dry-run", "--no-header", "--date-format", "dmy", "--date-col", "1",
                             "--amount-col=2", "--description-col", "3", "--category-col", "4", "--cleared",
                             "--account", "Checking", file, Path("s.csv")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Would add 1 entry to \"Checking\":"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("2026-12-01"), std::string::npos);
    EXPECT_NE(r.out.find("Balance after the import: 97.50"), std::string::npos);
    EXPECT_EQ(Contents(file), kept);

    // Debit and credit in columns of their own.
    // The first line lacks its empty last field, as some exporters write it.
    Put(Path("split.csv"), "Date,Description,Debit,Credit,Category\n2026-12-02,Fee,2.00,\n2026-12-03,Refund,,5.25,\n");
    const CliResult split = Run({"import", "--json", "--account", "Savings", file, Path("split.csv")});
    ASSERT_EQ(split.status, 0) << split.err;
    EXPECT_EQ(json::parse(split.out)["added"][0]["amount"], -2.0);
    EXPECT_EQ(json::parse(split.out)["added"][1]["amount"], 5.25);

    // A statement in Windows-1252 rather than UTF-8 is read as such.
    Put(Path("latin1.qif"), "!Type:Bank\nD12/01/2026\nT-3.00\nPCaf\xE9 \x80\n^\n");
    ASSERT_EQ(Run({"import", "--account", "Savings", file, Path("latin1.qif")}).status, 0);
    EXPECT_EQ(Register(file, "Savings")["entries"][2]["description"], "Caf\u00e9 \u20ac");

    EXPECT_EQ(Run({"import", file, Path("s.csv")}).status, Cli::BadUsage);  // no account
    EXPECT_EQ(Run({"import", "--account", "Nope", file, Path("s.csv")}).status, Cli::BadUsage);
    EXPECT_EQ(Run({"import", "--account", "Checking", "--format", "qif", "--no-header", file, Path("s.csv")}).status,
              Cli::BadUsage);
}
TEST_F(ImportExportTest, OfxDownloadsAreToldByTheirContent)
{
    const std::string file = Book("book.ql1", false);
    auto download = [](const char* secondAmount) {
        return std::string("OFXHEADER:100\nDATA:OFXSGML\nVERSION:102\nSECURITY:NONE\nENCODING:USASCII\n"
                           "CHARSET:1252\nCOMPRESSION:NONE\nOLDFILEUID:NONE\nNEWFILEUID:NONE\n\n"
                           "<OFX><BANKMSGSRSV1><STMTTRNRS><TRNUID>1<STMTRS><CURDEF>USD\n"
                           "<BANKACCTFROM><BANKID>1<ACCTID>1<ACCTTYPE>CHECKING</BANKACCTFROM>\n"
                           "<BANKTRANLIST><DTSTART>20261101<DTEND>20261130\n"
                           "<STMTTRN><TRNTYPE>CHECK<DTPOSTED>20261102<TRNAMT>-45.00<FITID>F1<CHECKNUM>1002"
                           "<NAME>Water</STMTTRN>\n"
                           "<STMTTRN><TRNTYPE>DEP<DTPOSTED>20261103<TRNAMT>") +
               secondAmount + "<FITID>F2<NAME>Refund</STMTTRN>\n</BANKTRANLIST></STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>\n";
    };
    // A QFX file's ending says nothing the reader knows; its content does.
    Put(Path("download.qfx"), download("12.3x"));
    const std::string kept = Contents(file);
    CliResult r = Run({"import", "--account", "Checking", file, Path("download.qfx")});
    EXPECT_EQ(r.status, Cli::FileProblem);
    EXPECT_EQ(r.err, "download.qfx line 15: the amount \"12.3x\" of \"Refund\" (FITID F2) is not an amount.\n"
                     "Nothing was imported.\n");
    EXPECT_EQ(Contents(file), kept);

    Put(Path("download.txt"), download("12.30"));
    r = Run({"import", "--json", "--account", "Checking", file, Path("download.txt")});
    ASSERT_EQ(r.status, 0) << r.err;
    const json out = json::parse(r.out);
    EXPECT_EQ(out["format"], "ofx");
    EXPECT_EQ(out["added"].size(), 2u);
    EXPECT_EQ(out["added"][0]["checkNumber"], "1002");
    EXPECT_EQ(out["balance"], 100 - 45 + 12.3);
    r = Run({"import", "--format", "ofx", "--account", "Checking", file, Path("download.txt")});
    EXPECT_NE(r.out.find("Nothing to add to \"Checking\""), std::string::npos) << r.out;

    EXPECT_EQ(Run({"import", "--account", "Checking", "--date-format", "mdy", file, Path("download.txt")}).status,
              Cli::BadUsage);
    EXPECT_NE(Run({"import", "--help"}).out.find("OFX and QFX"), std::string::npos);
    // The overview of all commands names every format import reads.
    const std::string overview = Run({"--help"}).out;
    const size_t import = overview.find("\n  import ");
    ASSERT_NE(import, std::string::npos) << overview;
    const std::string importLine = overview.substr(import, overview.find('\n', import + 1) - import);
    for (const char* format : {"csv", "qif", "ofx"})
        EXPECT_NE(importLine.find(format), std::string::npos) << format << " in" << importLine;
}
}  // namespace
