// The statement readers on statements written here: CSV quoting, dates and
// amounts as banks write them, OFX in both its forms, and the plan that
// leaves out what the register already holds.
#include "Csv.h"
#include "Money.h"
#include "QuilletDoc.h"
#include "StatementExport.h"
#include "StatementImport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
TEST(CsvTest, QuotingSurvivesTheTrip)
{
    const std::vector<std::string> fields = {"plain", "a,b", "say \"hi\"", "two\nlines", "", " padded "};
    const std::string row = CsvRow(fields);
    EXPECT_EQ(row, "plain,\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\",, padded \r\n");

    std::vector<TextProblem> problems;
    const std::vector<CsvRecord> records = ParseCsv(row + "\n" + CsvRow({"next"}), problems);
    ASSERT_TRUE(problems.empty());
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].fields, fields);
    EXPECT_EQ(records[1].line, 4);  // the quoted line break and the blank line count

    // A stray quote inside an unquoted field is kept; bad quoting is named
    // by line, and reading goes on after it.
    const std::vector<CsvRecord> mixed =
        ParseCsv("a,12\" pipe\r\n\"x\"y,2\nok,3\n\"open,4\nmore\n", problems);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].line, 2);
    EXPECT_EQ(problems[1].line, 4);
    ASSERT_EQ(mixed.size(), 2u);
    EXPECT_EQ(mixed[0].fields[1], "12\" pipe");
    EXPECT_EQ(mixed[1].line, 3);
}

TEST(StatementTest, DatesAndAmountsAsBanksWriteThem)
{
    int y = 0, m = 0, d = 0;
    struct DateCase { const char* text; DateOrder order; int y, m, d; };
    for (const DateCase& c : {DateCase{"2026-12-01", DateOrder::YearMonthDay, 2026, 12, 1},
                              DateCase{"20261201", DateOrder::YearMonthDay, 2026, 12, 1},
                              DateCase{"2026-12-01T23:59:00", DateOrder::YearMonthDay, 2026, 12, 1},
                              DateCase{" 1/ 5'03", DateOrder::MonthDayYear, 2003, 1, 5},
                              DateCase{"12/31/1999", DateOrder::MonthDayYear, 1999, 12, 31},
                              DateCase{"29.02.2024", DateOrder::DayMonthYear, 2024, 2, 29}}) {
        EXPECT_TRUE(ParseStatementDate(c.text, c.order, y, m, d)) << c.text;
        EXPECT_EQ(y * 10000 + m * 100 + d, c.y * 10000 + c.m * 100 + c.d) << c.text;
    }
    for (const char* bad : {"2026-02-29", "2026-13-01", "2026-12", "12/01/2026", "2038-06-01", "yesterday", "",
                            "2026-12-01x"}) {
        y = m = d = 0;
        EXPECT_FALSE(ParseStatementDate(bad, DateOrder::YearMonthDay, y, m, d)) << bad;
        EXPECT_EQ(y * 10000 + m * 100 + d, 0) << bad;  // nothing half-read that could be shown as a date
    }

    double v = 0;
    struct AmountCase { const char* text; double value; };
    for (const AmountCase& c : {AmountCase{"-12.34", -12.34}, AmountCase{"+5", 5}, AmountCase{"$1,234.50", 1234.5},
                                AmountCase{"-$7", -7}, AmountCase{"(7.00)", -7}, AmountCase{".5", 0.5},
                                AmountCase{"0.005", 0.01}, AmountCase{"-0.00", 0}}) {
        EXPECT_TRUE(ParseStatementAmount(c.text, v)) << c.text;
        EXPECT_DOUBLE_EQ(v, c.value) << c.text;
    }
    EXPECT_FALSE(std::signbit(v));
    for (const char* bad : {"12,34", "1,23,456.00", "12.", "1.2.3", "--1", "12x", "", "-", "nan", "1e5", "2e12",
                            "1,234,5678"})
        EXPECT_FALSE(ParseStatementAmount(bad, v)) << bad;
}

// Statements come from outside: every prefix of a valid one, and noise,
// must be read or refused without a crash (the sanitizer run checks this).
TEST(StatementTest, CutAndScrambledStatementsAreRefusedCleanly)
{
    const std::string csv = "Date,Amount,Description,Check Number\r\n2026-12-01,\"-1,234.50\",\"A \"\"b\"\"\nc\",7\r\n";
    const std::string qif = "!Type:Bank\nD12/01'26\nT-1.00\nPA\nSx\n$-1\nSBank Fee\n$-0.5\n^\n";
    for (size_t n = 0; n <= csv.size(); ++n)
        ReadCsvStatement(csv.substr(0, n), CsvColumns());
    for (size_t n = 0; n <= qif.size(); ++n)
        ReadQifStatement(qif.substr(0, n), DateOrder::MonthDayYear);
    static const char kAlphabet[] = "\"\r\n,;!^DTPNLCS$0123456789-./' x\xC3\xA9\xFF";
    unsigned seed = 7;
    for (int round = 0; round < 300; ++round) {
        std::string noise;
        for (int i = 0; i < 60; ++i) {
            seed = seed * 1103515245u + 12345u;
            noise.push_back(kAlphabet[(seed >> 16) % (sizeof kAlphabet - 1)]);
        }
        ReadCsvStatement(noise, CsvColumns());
        ReadQifStatement("!Type:Bank\n" + noise, DateOrder::DayMonthYear);
    }
    const Statement read = ReadCsvStatement(csv, CsvColumns());
    EXPECT_EQ(read.Entries().size(), 1u);
    EXPECT_TRUE(read.problems.empty());
}

struct OfxLine
{
    const char* type;
    const char* posted;
    const char* amount;
    const char* fitId;
    const char* name;
    const char* memo = "";
    const char* check = "";
};

// A bank statement as a bank's download writes it: SGML with its header
// and unclosed elements, or XML.
std::string Ofx(bool xml, const std::vector<OfxLine>& lines, const char* account = "987654321")
{
    auto element = [xml](const char* tag, const std::string& value) {
        return "<" + std::string(tag) + ">" + value + (xml ? "</" + std::string(tag) + ">" : std::string()) + "\n";
    };
    std::string text = xml ? "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
                             "<?OFX OFXHEADER=\"200\" VERSION=\"211\" SECURITY=\"NONE\" OLDFILEUID=\"NONE\" "
                             "NEWFILEUID=\"NONE\"?>\n"
                           : "OFXHEADER:100\nDATA:OFXSGML\nVERSION:102\nSECURITY:NONE\nENCODING:UTF-8\n"
                             "CHARSET:NONE\nCOMPRESSION:NONE\nOLDFILEUID:NONE\nNEWFILEUID:NONE\n\n";
    text += "<OFX>\n<SIGNONMSGSRSV1><SONRS><STATUS>" + element("CODE", "0") + element("SEVERITY", "INFO") +
            "</STATUS>" + element("DTSERVER", "20261206120000") + element("LANGUAGE", "ENG") +
            "</SONRS></SIGNONMSGSRSV1>\n<BANKMSGSRSV1><STMTTRNRS>" + element("TRNUID", "1") + "<STATUS>" +
            element("CODE", "0") + element("SEVERITY", "INFO") + "</STATUS>\n<STMTRS>" + element("CURDEF", "USD") +
            "<BANKACCTFROM>" + element("BANKID", "121000248") + element("ACCTID", account) +
            element("ACCTTYPE", "CHECKING") + "</BANKACCTFROM>\n<BANKTRANLIST>" + element("DTSTART", "20261101") +
            element("DTEND", "20261130");
    for (const OfxLine& l : lines) {
        text += "<STMTTRN>\n" + element("TRNTYPE", l.type) + element("DTPOSTED", l.posted) +
                element("TRNAMT", l.amount) + element("FITID", l.fitId);
        if (*l.check)
            text += element("CHECKNUM", l.check);
        text += element("NAME", l.name);
        if (*l.memo)
            text += element("MEMO", l.memo);
        text += "</STMTTRN>\n";
    }
    text += "</BANKTRANLIST><LEDGERBAL>" + element("BALAMT", "100.00") + element("DTASOF", "20261130") +
            "</LEDGERBAL></STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>\n";
    return text;
}

// One file holding the statements of both.
std::string TwoStatements(std::string first, const std::string& second)
{
    const size_t from = second.find("<STMTTRNRS>");
    const size_t to = second.find("</STMTTRNRS>") + 12;
    first.insert(first.find("</BANKMSGSRSV1>"), second.substr(from, to - from));
    return first;
}

const std::vector<OfxLine> kNovember = {
    {"CHECK", "20261102120000[-5:EST]", "-45.00", "N1", "City Water &amp; Power", "", "1001"},
    {"POS", "20261103", "-12.5", "N2", "Caf\xC3\xA9 Luna", "Card 4411"},
    {"DIRECTDEP", "20261130235959.000[+9:JST]", "2000", "N3", "ACME PAYROLL", "ACME PAYROLL"},
    {"DEBIT", "20261104", "-3,75", "N4", "Parking"},
};

TEST(OfxTest, BothFormsGiveTheSameEntries)
{
    for (const bool xml : {false, true}) {
        SCOPED_TRACE(xml ? "XML" : "SGML");
        const Statement s = ReadOfxStatement(Ofx(xml, kNovember));
        ASSERT_TRUE(s.fileProblems.empty()) << s.fileProblems.front();
        EXPECT_TRUE(s.problems.empty());
        EXPECT_EQ(s.accountId, "987654321");
        const std::vector<StatementEntry> e = s.Entries();
        ASSERT_EQ(e.size(), 4u);
        EXPECT_EQ(e[0].checkNumber, "1001");
        EXPECT_EQ(e[0].description, "City Water & Power");
        EXPECT_EQ(e[0].amount, -45.0);
        EXPECT_EQ(e[0].fitId, "N1");
        EXPECT_EQ(e[1].description, "Caf\xE9 Luna - Card 4411");  // the ledger's code page
        EXPECT_EQ(e[1].amount, -12.5);
        EXPECT_EQ(e[1].checkNumber, "");  // the FITID is never shown as a check number
        // The bank's day, whatever the zone of the time after it.
        EXPECT_EQ(e[2].year * 10000 + e[2].month * 100 + e[2].day, 20261130);
        EXPECT_EQ(e[2].description, "ACME PAYROLL");  // a memo that says the name again is not repeated
        EXPECT_EQ(e[2].amount, 2000.0);
        EXPECT_EQ(e[3].amount, -3.75);  // a decimal comma
        // Lines count from the top of the file, for the messages.
        EXPECT_LT(e[0].line, e[1].line);
        EXPECT_GT(e[0].line, 1);
    }
}

TEST(OfxTest, Utf8BytesAreReadAsUtf8WhateverTheHeaderSays)
{
    // Banks often declare USASCII/1252 and send UTF-8 all the same; bytes
    // that are no UTF-8 are read in the declared Windows-1252.
    auto declared1252 = [](std::string text) {
        for (const auto& [from, to] : {std::pair<std::string, std::string>{"ENCODING:UTF-8\nCHARSET:NONE",
                                                                          "ENCODING:USASCII\nCHARSET:1252"},
                                      {"encoding=\"UTF-8\"", "encoding=\"windows-1252\""}})
            if (const size_t at = text.find(from); at != std::string::npos)
                text.replace(at, from.size(), to);
        return text;
    };
    for (const bool xml : {false, true}) {
        SCOPED_TRACE(xml ? "XML" : "SGML");
        const std::vector<OfxLine> utf8 = {
            {"POS", "20261103", "-12.50", "E1", "Caf\xC3\xA9 \xE2\x82\xAC" "5", "Stra\xC3\x9F" "e"}};
        const std::vector<OfxLine> cp1252 = {
            {"POS", "20261103", "-12.50", "E1", "Caf\xE9 \x80" "5", "Stra\xDF" "e"}};
        for (const std::string& file :
             {declared1252(Ofx(xml, utf8)), declared1252(Ofx(xml, cp1252)), Ofx(xml, utf8)}) {
            const Statement s = ReadOfxStatement(file);
            ASSERT_TRUE(s.fileProblems.empty()) << s.fileProblems.front();
            ASSERT_EQ(s.Entries().size(), 1u);
            EXPECT_EQ(s.Entries()[0].description, "Caf\xE9 \x80" "5 - Stra\xDF" "e");
        }
    }
}

TEST(OfxTest, AMalformedAmountOrDateRefusesItsTransactionOnly)
{
    const Statement s = ReadOfxStatement(Ofx(false, {kNovember[0],
                                                     {"DEBIT", "20261105", "-12.3x", "B1", "Hardware Store"},
                                                     {"DEBIT", "20261106", "1,234.5,6", "B2", "Grouped"},
                                                     {"DEBIT", "2026x106", "-1.00", "B3", "Bad Day"},
                                                     kNovember[1]}));
    ASSERT_TRUE(s.fileProblems.empty());
    ASSERT_EQ(s.lines.size(), 5u);
    EXPECT_EQ(s.Entries().size(), 2u);
    ASSERT_EQ(s.problems.size(), 3u);
    EXPECT_EQ(s.problems[0].message, "the amount \"-12.3x\" of \"Hardware Store\" (FITID B1) is not an amount");
    EXPECT_EQ(s.problems[0].line, s.lines[1].entry.line);
    EXPECT_EQ(s.problems[1].message, "the amount \"1,234.5,6\" of \"Grouped\" (FITID B2) is not an amount");
    EXPECT_EQ(s.problems[2].message, "the date \"2026x106\" of \"Bad Day\" (FITID B3) cannot be read");
    EXPECT_FALSE(s.lines[1].Readable());
    EXPECT_TRUE(s.lines[4].Readable());
}

TEST(OfxTest, WhatIsNoBankStatementIsRefusedAsAWhole)
{
    auto refusal = [](const std::string& bytes) {
        const Statement s = ReadOfxStatement(bytes);
        EXPECT_TRUE(s.lines.empty());
        return s.fileProblems.empty() ? std::string() : s.fileProblems.front();
    };
    EXPECT_EQ(refusal(""), "the file is not an OFX statement, or it is damaged");
    EXPECT_EQ(refusal("Date,Amount\n2026-12-01,3\n"), "the file is not an OFX statement, or it is damaged");
    EXPECT_EQ(refusal(Ofx(true, {})), "the statement holds no transactions");
    EXPECT_EQ(refusal(TwoStatements(Ofx(false, kNovember), Ofx(false, kNovember, "55555"))),
              "the statement holds the transactions of several accounts; download one account's");
    // Cut anywhere, a statement is read or refused, never a crash.
    const std::string whole = Ofx(false, kNovember);
    for (size_t n = 0; n < whole.size(); n += whole.size() / 23)
        ReadOfxStatement(whole.substr(0, n));
}

TEST(OfxTest, ARepeatedFitIdIsAddedOnceAndASecondDownloadAddsNothing)
{
    CQuilletDoc doc;
    doc.AddAccount("Checking", "987654321", 100.0, "", "", "");
    const CAccount& account = *doc.FindAccount("Checking");
    // The bank sent N2 twice in one statement and N3 again in a second
    // statement of the file; the two coffees are two purchases.
    std::vector<OfxLine> lines = kNovember;
    lines.push_back(kNovember[1]);
    lines.push_back({"POS", "20261110", "-3.00", "C1", "Coffee"});
    lines.push_back({"POS", "20261110", "-3.00", "C2", "Coffee"});
    const std::string file = TwoStatements(Ofx(true, lines), Ofx(true, {kNovember[2]}));
    const Statement s = ReadOfxStatement(file);
    const ImportPlan first = PlanImport(account, s.Entries());
    ASSERT_EQ(first.decisions.size(), 8u);
    EXPECT_EQ(first.added.size(), 6u);
    EXPECT_EQ(first.decisions[4], ImportPlan::RepeatedInStatement);
    // The first is named as every list shows it; a statement on one line
    // gives all its transactions the same line number.
    EXPECT_EQ(first.reasons[4], "same FITID as \"Caf\xC3\xA9 Luna - Card 4411\" of 11/03/26");
    EXPECT_EQ(first.reasons[7], "same FITID as \"ACME PAYROLL\" of 11/30/26");
    EXPECT_EQ(first.decisions[7], ImportPlan::RepeatedInStatement);
    EXPECT_EQ(ApplyImport(doc, "Checking", first.added), 6);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_NEAR(doc.GetAccountBalance("Checking", 0), 100 - 45 - 12.5 + 2000 - 3.75 - 6, 1e-9);

    // The same download again: everything is in the register already.
    const ImportPlan again = PlanImport(account, ReadOfxStatement(file).Entries());
    EXPECT_TRUE(again.added.empty());
    for (size_t i = 0; i < again.decisions.size(); ++i)
        EXPECT_NE(again.decisions[i], ImportPlan::New) << i;
    EXPECT_EQ(again.reasons[0], "same transaction id");  // check 1001
    EXPECT_EQ(again.reasons[1], "same date, amount and description");
}

TEST(FormatTest, TheContentTellsTheFormat)
{
    EXPECT_EQ(DetectStatementFormat(Ofx(false, kNovember)), "ofx");
    EXPECT_EQ(DetectStatementFormat(Ofx(true, kNovember)), "ofx");
    EXPECT_EQ(DetectStatementFormat("\xEF\xBB\xBF\r\n!Type:Bank\nD1/1/26\n"), "qif");
    EXPECT_EQ(DetectStatementFormat("Date,Amount,Description\n"), "csv");
    EXPECT_EQ(DetectStatementFormat(""), "csv");
}
TEST(ExportTest, QifAmountsAddUpToTheBalanceAndReadBackWithoutTheOpening)
{
    CQuilletDoc doc;
    doc.AddAccount("Checking", "1", 250.25, "", "", "");
    doc.AddEntry("Checking", CTime(2026, 12, 3, 0, 0, 0), "", "Rent", "Mortgage", 40.0, 1.5, 0, 1, 0, 0);
    doc.AddEntry("Checking", CTime(2026, 3, 9, 0, 0, 0), "", "Back-dated", "", 100.0, 0.0, 1, 0, 0, 0);
    doc.AddEntry("Checking", CTime(2026, 12, 4, 0, 0, 0), "", "Torn", "", 500.0, 0.0, 0, 0, 1, 0);
    const CAccount* account = doc.FindAccount("Checking");
    const ExportResult r = ExportQif({account});
    // The day before the earliest entry, across the spring's clock change.
    EXPECT_EQ(r.text.rfind("!Type:Bank\nD03/08/2026\nT250.25\nPOpening Balance\nL[Checking]\nCX\n^\n", 0), 0u)
        << r.text;
    double sum = 0;
    for (size_t at = r.text.find("\nT"); at != std::string::npos; at = r.text.find("\nT", at + 1))
        sum += *Money::Parse(r.text.substr(at + 2, r.text.find('\n', at + 1) - at - 2));
    EXPECT_NEAR(sum, doc.GetAccountBalance("Checking", 0), 1e-9);

    const Statement back = ReadQifStatement(r.text, DateOrder::MonthDayYear);
    EXPECT_TRUE(back.problems.empty());
    ASSERT_EQ(back.Entries().size(), 2u);
    EXPECT_EQ(back.Entries()[0].description, "Rent");
}

TEST(ExportTest, CsvTextCellsNeverRunAsFormulas)
{
    CQuilletDoc doc;
    doc.AddAccount("@Home", "1", 0.0, "", "", "");
    doc.AddEntry("@Home", CTime(2026, 12, 1, 0, 0, 0), "-7", "=HYPERLINK(\"http://x\",\"pay\")", "+Cat", 4.5, 0.0,
                 0, 0, 0, 0);
    doc.AddEntry("@Home", CTime(2026, 12, 1, 0, 0, 0), "", "\tTabbed", " Deposit-Other", 2.0, 0.0, 1, 0, 0, 0);
    const ExportResult r = ExportCsv({doc.FindAccount("@Home")});
    EXPECT_NE(r.text.find("'@Home,2026-12-01,'-7,\"'=HYPERLINK(\"\"http://x\"\",\"\"pay\"\")\",'+Cat,-4.50,0.00,"),
              std::string::npos)
        << r.text;
    EXPECT_NE(r.text.find(",'\tTabbed, Deposit-Other,2.00,"), std::string::npos);  // a leading blank is harmless

    // Read back, the cells are what was written.
    CsvColumns columns;
    const Statement back = ReadCsvStatement(r.text, columns);
    ASSERT_EQ(back.Entries().size(), 2u) << back.problems.size();
    EXPECT_EQ(back.Entries()[0].checkNumber, "-7");
    EXPECT_EQ(back.Entries()[0].description, "=HYPERLINK(\"http://x\",\"pay\")");
    EXPECT_EQ(back.Entries()[0].category, "+Cat");
}
}  // namespace
