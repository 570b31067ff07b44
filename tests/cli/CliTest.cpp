// quillet-cli: JSON that carries every field, pack(dump F) == F, and the
// exit status for each kind of failure.
#include "AppValues.h"
#include "CheckbookFile.h"
#include "CheckbookJson.h"
#include "CliFixture.h"
#include "Cp1252.h"
#include "PasswordHash.h"
#include "QuilletDoc.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>

#include <unistd.h>

namespace
{
using Result = CliResult;

class CliTest : public CliFixture
{
protected:
    // A checkbook file as the program writes it, with awkward contents.
    std::string WriteSample(const std::string& name, const std::string& hash)
    {
        AppValues::ResetToDefaults();
        g_strPasswordHash = hash;
        g_strCategoryAccount = "Caf\xE9";
        g_nLookback = 31;
        CQuilletDoc doc;
        doc.AddAccount("Caf\xE9 \x80\x81", "12345", -0.0, "Ann", "Bank", "1-2");
        doc.AddAccount("Empty", "", 1e300, "", "", "");
        doc.AddEntry("Caf\xE9 \x80\x81", CTime(int64_t(946684800)), "101", "Rent \x9F\xFF", "Mortgage", 50.25, 0.1,
                     0, 1, 0, 2);
        doc.AddEntry("Caf\xE9 \x80\x81", CTime(int64_t(-1)), "", "Odd", "", 0.0, 0.0, 1, 0, 1, 10);
        doc.m_accounts[0]->m_transactions.back()->m_dAmount = std::numeric_limits<double>::quiet_NaN();
        doc.m_accounts[0]->m_transactions.back()->m_dFee = 4.9406564584124654e-324;
        doc.AddRecurring("Empty", 0.1 + 0.2, CTime(int64_t(0)), "Gym", "Health", "Monthly", "Forever", 3);
        doc.m_pCategoryList->AddCategory("\xC4pfel", 9);
        doc.ClearDayChartAccounts();
        doc.SetDayChartAccount(1, "Empty");
        const std::string path = Path(name);
        FileError error;
        EXPECT_TRUE(SaveCheckbookFile(doc, path, error)) << error.message;
        AppValues::ResetToDefaults();
        return path;
    }
};
}  // namespace

TEST_F(CliTest, DumpWrittenEntryByEntryIsTheWholeTreeToTheByte)
{
    // Texts that quote the very key the entries are placed by, accounts
    // with and without entries, values that are no number.
    const std::string trap = "\"transactions\": []\n\t";
    CQuilletDoc doc;
    std::ostringstream empty;
    WriteCheckbookJson(empty, doc, "Version 1");
    EXPECT_EQ(empty.str(), CheckbookToJson(doc, "Version 1").dump(2));

    doc.AddAccount(trap, "1", 1.5, "", "", "");
    doc.AddAccount("None", "", 0.0, trap, "", "");
    doc.AddAccount("Caf\xE9", "2", -0.0, "", "", "");
    for (int i = 0; i < 3; ++i) {
        doc.AddEntry(trap, CTime(int64_t(1000 * i)), trap, "Rent " + trap, trap, 10.0 + i, 0.5, i % 2, 1, 0, i);
        doc.AddEntry("Caf\xE9", CTime(int64_t(-1)), "", "\x80\x9F\xFF", "", 0.0, 0.0, 1, 0, 1, 10);
    }
    doc.m_accounts[2]->m_transactions.back()->m_dAmount = std::numeric_limits<double>::infinity();
    doc.AddRecurring(trap, 5.0, CTime(int64_t(0)), trap, trap, "Monthly", "Forever", 0);
    std::ostringstream out;
    WriteCheckbookJson(out, doc, trap);
    EXPECT_EQ(out.str(), CheckbookToJson(doc, trap).dump(2));
}

TEST_F(CliTest, PackOfDumpGivesTheSameFile)
{
    for (const std::string& hash : {std::string(), CryptPassword("pw", "ab")}) {
        SCOPED_TRACE(hash);
        const std::string file = WriteSample("sample.ql1", hash);
        const Result dump = Run({"dump", "--password", "pw", file});
        ASSERT_EQ(dump.status, 0) << dump.err;
        EXPECT_EQ(dump.err, "");
        Put(Path("sample.json"), dump.out);
        const Result pack = Run({"pack", Path("sample.json"), Path("again.ql1")});
        ASSERT_EQ(pack.status, 0) << pack.err;
        EXPECT_EQ(Contents(Path("again.ql1")), Contents(file));
    }

    // Another version text, as an older file may carry, comes back too.
    const std::string file = WriteSample("old.ql1", "");
    std::string bytes = Contents(file);
    bytes.replace(0, 16, std::string("\x0bVersion 0.9", 12));
    Put(file, bytes);
    const Result dump = Run({"dump", file});
    ASSERT_EQ(dump.status, 0) << dump.err;
    EXPECT_EQ(nlohmann::json::parse(dump.out)["version"], "Version 0.9");
    Put(Path("old.json"), dump.out);
    ASSERT_EQ(Run({"pack", Path("old.json"), Path("again.ql1")}).status, 0);
    EXPECT_EQ(Contents(Path("again.ql1")), bytes);
}

TEST_F(CliTest, DumpCarriesEveryFieldUnderItsKey)
{
    const Result dump = Run({"dump", WriteSample("sample.ql1", "")});
    ASSERT_EQ(dump.status, 0) << dump.err;
    const nlohmann::ordered_json json = nlohmann::ordered_json::parse(dump.out);

    auto keys = [](const nlohmann::ordered_json& object) {
        std::string names;
        for (auto it = object.begin(); it != object.end(); ++it)
            names += it.key() + " ";
        return names;
    };
    EXPECT_EQ(keys(json), "version passwordHash accounts recurring categories dayChart settings ");
    const auto& account = json["accounts"][0];
    EXPECT_EQ(keys(account), "name number owner taxId openingBalance balance clearedBalance transactions ");
    EXPECT_EQ(keys(account["transactions"][0]), "date checkNumber description category amount void flag cleared fee ");
    EXPECT_EQ(keys(json["recurring"][0]),
              "account amount nextDate description category frequency periods periodsDone flag ");
    EXPECT_EQ(keys(json["categories"][0]), "name flag ");
    EXPECT_EQ(keys(json["settings"]), "categoryAccount numCategories startCategories lookback upcomingDays ");

    EXPECT_EQ(account["name"], "Caf\u00e9 \u20ac\u0081");
    EXPECT_EQ(account["transactions"][0]["description"], "Rent \u0178\u00ff");
    EXPECT_EQ(account["transactions"][0]["date"], 946684800);
    EXPECT_EQ(account["transactions"][0]["cleared"], true);
    EXPECT_EQ(account["transactions"][1]["void"], 1);
    EXPECT_EQ(account["transactions"][1]["amount"], "NaN");
    EXPECT_EQ(account["transactions"][1]["date"], -1);
    EXPECT_DOUBLE_EQ(account["balance"].get<double>(), -50.35);
    EXPECT_DOUBLE_EQ(account["clearedBalance"].get<double>(), -50.35);
    EXPECT_EQ(json["recurring"][0]["amount"].get<double>(), 0.1 + 0.2);  // every bit
    EXPECT_EQ(json["dayChart"], nlohmann::ordered_json::parse(R"(["Empty","","","",""])"));
    EXPECT_EQ(json["settings"]["categoryAccount"], "Caf\u00e9");
    EXPECT_EQ(json["settings"]["lookback"], 31);

    // Without a day-chart selection the key is null.
    CQuilletDoc plain;
    FileError error;
    ASSERT_TRUE(SaveCheckbookFile(plain, Path("plain.ql1"), error));
    const Result plainDump = Run({"dump", Path("plain.ql1")});
    EXPECT_TRUE(nlohmann::json::parse(plainDump.out)["dayChart"].is_null());

    // A file of zero bytes is an empty checkbook.
    Put(Path("zero.ql1"), "");
    const Result zero = Run({"dump", Path("zero.ql1")});
    ASSERT_EQ(zero.status, 0);
    EXPECT_TRUE(nlohmann::json::parse(zero.out)["accounts"].empty());
}

TEST_F(CliTest, ExitStatusForEachFailure)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"frobnicate"}, {"dump"}, {"dump", "a", "b"}, {"dump", "--password"},
          {"dump", "--verbose", "a"}, {"pack", "a.json"}, {"pack", "--password", "x", "a.json", "b.ql1"}}) {
        const Result r = Run(args);
        EXPECT_EQ(r.status, Cli::BadUsage);
        EXPECT_NE(r.err.find("Usage:"), std::string::npos);
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(Run({"--help"}).status, 0);

    Result r = Run({"dump", Path("missing.ql1")});
    EXPECT_EQ(r.status, Cli::FileProblem);
    EXPECT_EQ(r.err, "The file \"missing.ql1\" could not be found.\n");

    const std::string file = WriteSample("cut.ql1", "");
    Put(file, Contents(file).substr(0, 40));
    r = Run({"dump", file});
    EXPECT_EQ(r.status, Cli::FileProblem);
    EXPECT_EQ(r.err, "The file \"cut.ql1\" is damaged or is not a checkbook file.\n");
    EXPECT_EQ(r.out, "");

    // JSON that does not describe a whole checkbook writes nothing.
    const nlohmann::json sample = nlohmann::json::parse(Run({"dump", WriteSample("sample.ql1", "")}).out);
    auto with = [&sample](const char* pointer, const nlohmann::json& value) {
        nlohmann::json changed = sample;
        changed[nlohmann::json::json_pointer(pointer)] = value;
        return changed.dump();
    };
    auto without = [&sample](const char* pointer) {
        const nlohmann::json::json_pointer field(pointer);
        nlohmann::json changed = sample;
        changed[field.parent_pointer()].erase(field.back());
        return changed.dump();
    };
    struct BadJson { std::string text; const char* says; };
    for (const BadJson& bad : {
             BadJson{"{\"accounts\": [", "is not valid JSON"},
             BadJson{"[1, 2]", "the top level must be an object"},
             BadJson{"{}", "\"version\" is missing"},
             BadJson{with("/accounts/0/name", 5), "\"accounts[0].name\" must be a text"},
             BadJson{with("/accounts/0/transactions/0/date", 4294967296),
                     "\"accounts[0].transactions[0].date\" must be a whole number"},
             BadJson{with("/accounts/0/transactions/0/amount", nullptr),
                     "\"accounts[0].transactions[0].amount\" must be a number"},
             // Nothing is filled in for what the JSON leaves out.
             BadJson{without("/accounts/0/transactions/0/amount"),
                     "\"accounts[0].transactions[0].amount\" is missing"},
             BadJson{without("/recurring/0/frequency"), "\"recurring[0].frequency\" is missing"},
             BadJson{without("/settings/lookback"), "\"settings.lookback\" is missing"},
             // A hash no password gives would make a file nobody opens.
             BadJson{with("/passwordHash", "abJnggxhB/yWJ"), "\"passwordHash\" is not a traditional crypt hash"},
             BadJson{with("/recurring/0/amount", "lots"), "\"recurring[0].amount\" must be a number"},
             BadJson{with("/categories/0/name", "\u2603"), "U+2603"},
             BadJson{with("/dayChart", {"a", "b", "c", "d", "e", "f"}), "at most five"},
             BadJson{with("/settings/lookback", 1.5), "\"settings.lookback\""}}) {
        Put(Path("bad.json"), bad.text);
        r = Run({"pack", Path("bad.json"), Path("out.ql1")});
        EXPECT_EQ(r.status, Cli::FileProblem) << bad.text;
        EXPECT_NE(r.err.find("\"bad.json\""), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(bad.says), std::string::npos) << r.err;
        EXPECT_EQ(::access(Path("out.ql1").c_str(), F_OK), -1);  // nothing written
    }

    Put(Path("good.json"), sample.dump());
    r = Run({"pack", Path("good.json"), Path("no/such/folder.ql1")});
    EXPECT_EQ(r.status, Cli::FileProblem);
    EXPECT_NE(r.err.find("\"folder.ql1\" could not be saved"), std::string::npos);
}

TEST(Cp1252Test, EveryByteSurvivesTheTrip)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(char(b));
    const std::string utf8 = Cp1252ToUtf8(all);
    std::string back, bad;
    ASSERT_TRUE(Utf8ToCp1252(utf8, back, bad));
    EXPECT_EQ(back, all);
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\u20ac");

    EXPECT_FALSE(Utf8ToCp1252("\u0080", back, bad));  // a C1 control whose byte means the euro
    EXPECT_FALSE(Utf8ToCp1252("caf\xC3", back, bad));  // cut-off sequence
    EXPECT_FALSE(Utf8ToCp1252("\xC0\xAF", back, bad));  // overlong
    EXPECT_FALSE(Utf8ToCp1252("\xF0\x9F\x92\xB0", back, bad));

    // Statements: what the code page cannot hold becomes "?", as typed text does.
    EXPECT_EQ(Utf8ToCp1252Lossy("caf\u00e9 \u20ac \u2603 \xFF"), "caf\xE9 \x80 ? ?");
    EXPECT_EQ(FindNonUtf8("ok \xC3\xA9 \xC3"), 6u);
}
