// Commands that write a checkbook: concurrent runs all land, a held lock
// makes them wait or fail loudly, backups, pack's refusals, and the
// password bytes the window uses.
#include "AppValues.h"
#include "CheckbookFile.h"
#include "CliFixture.h"
#include "FileLock.h"
#include "PasswordHash.h"
#include "QuilletDoc.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <filesystem>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace
{
using nlohmann::json;

class WritingTest : public CliFixture
{
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        SetNow(CTime(2026, 12, 6, 12, 0, 0));
    }

    std::string Book(const std::string& name, const std::string& hash = std::string())
    {
        CQuilletDoc doc;
        doc.AddAccount("Checking", "1", 100.0, "", "", "");
        g_strPasswordHash = hash;
        FileError error;
        EXPECT_TRUE(SaveCheckbookFile(doc, Path(name), error)) << error.message;
        AppValues::ResetToDefaults();
        return Path(name);
    }
    std::string Statement(const std::string& name, const std::string& description)
    {
        Put(Path(name), "Date,Amount,Description\n2026-12-01,-12.50," + description + "\n");
        return Path(name);
    }
    std::vector<std::string> Descriptions(const std::string& book)
    {
        const CliResult r = Run({"register", "--json", book, "Checking"});
        EXPECT_EQ(r.status, 0) << r.err;
        std::vector<std::string> names;
        const json parsed = json::parse(r.out);
        for (const auto& entry : parsed["entries"])
            names.push_back(entry["description"]);
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(WritingTest, ConcurrentImportsAllLand)
{
    const std::string book = Book("home.ql1");
    constexpr int kRounds = 5, kRunners = 3;
    std::vector<std::string> expected;
    for (int round = 0; round < kRounds; ++round) {
        // The runners start together once the gate opens.
        int gate[2];
        ASSERT_EQ(::pipe(gate), 0);
        std::vector<pid_t> runners;
        for (int r = 0; r < kRunners; ++r) {
            const std::string description = "Run " + std::to_string(round) + "." + std::to_string(r);
            const std::string source = Statement("s" + std::to_string(r) + ".csv", description);
            expected.push_back(description);
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                ::close(gate[1]);
                char c;
                while (::read(gate[0], &c, 1) > 0) {
                }
                const CliResult result = Run({"import", "--account", "Checking", book, source});
                ::_exit(result.status == 0 && result.out.find("Added 1 entry") != std::string::npos ? 0 : 1);
            }
            runners.push_back(child);
        }
        ::close(gate[0]);
        ::close(gate[1]);
        for (pid_t child : runners) {
            int status = -1;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "round " << round;
        }
        std::sort(expected.begin(), expected.end());
        ASSERT_EQ(Descriptions(book), expected) << "round " << round;
    }
}

TEST_F(WritingTest, AHeldLockMakesAWriterWaitOrFailLoudly)
{
    const std::string book = Book("home.ql1");
    const std::string source = Statement("s.csv", "Coffee");
    const std::string before = Contents(book);
    CFileLock window;
    FileError error;
    ASSERT_TRUE(window.Acquire(book, 0, error));

    Cli::Environment env;
    env.lockWaitMs = 100;
    CliResult r = Run({"import", "--account", "Checking", book, source}, env);
    EXPECT_EQ(r.status, Cli::FileProblem);
    EXPECT_EQ(r.err, "The file \"home.ql1\" is being changed by another program; nothing was written. "
                     "Try again when it has finished.\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(Contents(book), before);
    Put(Path("copy.json"), Run({"dump", book}).out);
    EXPECT_EQ(Run({"pack", Path("copy.json"), book}, env).status, Cli::FileProblem);
    // Reading needs no lock.
    EXPECT_EQ(Run({"import", "--dry-run", "--account", "Checking", book, source}, env).status, 0);

    // Let go while the import waits: it lands.
    env.lockWaitMs = 10000;
    std::thread release([&window] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        window.Release();
    });
    r = Run({"import", "--account", "Checking", book, source}, env);
    release.join();
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Descriptions(book), std::vector<std::string>{"Coffee"});
}

TEST_F(WritingTest, WritesKeepTheReplacedVersionAsABackup)
{
    const std::string book = Book("home.ql1");
    const std::string first = Contents(book);
    ASSERT_EQ(Run({"import", "--account", "Checking", book, Statement("a.csv", "Tea")}).status, 0);
    const std::vector<std::string> backups = ListBackups(book);
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(Contents(backups[0]), first);

    // A backup that cannot be kept is said, and the import stands.
    const std::string second = Contents(book);
    std::filesystem::remove_all(BackupFolder(book));
    Put(BackupFolder(book), "in the way");
    const CliResult r = Run({"import", "--account", "Checking", book, Statement("b.csv", "Cake")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err.rfind("The previous version of \"home.ql1\" could not be kept as a backup. ", 0), 0u) << r.err;
    EXPECT_EQ(Descriptions(book), (std::vector<std::string>{"Cake", "Tea"}));

    // pack over a checkbook keeps it too.
    std::filesystem::remove(BackupFolder(book));
    const std::string third = Contents(book);
    Put(Path("empty.json"), Run({"dump", Book("empty.ql1")}).out);
    ASSERT_EQ(Run({"pack", Path("empty.json"), book}).status, 0);
    ASSERT_EQ(ListBackups(book).size(), 1u);
    EXPECT_EQ(Contents(ListBackups(book)[0]), third);
    EXPECT_NE(third, second);
}

TEST_F(WritingTest, PackWritesOnlyWhatTheJsonSays)
{
    const CliResult dumped = Run({"dump", Book("home.ql1")});
    ASSERT_EQ(dumped.status, 0);
    const json whole = json::parse(dumped.out);
    json withEntry = whole;
    withEntry["accounts"][0]["transactions"] = json::parse(
        R"([{"date": 0, "checkNumber": "", "description": "d", "category": "", "amount": 1.5, "void": 0,
             "flag": 0, "cleared": false, "fee": 0}])");
    withEntry["recurring"] = json::parse(
        R"([{"account": "Checking", "amount": 1, "nextDate": 0, "description": "", "category": "",
             "frequency": "Every blue moon", "periods": "", "periodsDone": 0, "flag": 0}])");
    Put(Path("entry.json"), withEntry.dump());
    const CliResult packed = Run({"pack", Path("entry.json"), Path("entry.ql1")});
    ASSERT_EQ(packed.status, 0) << packed.err;

    struct Change
    {
        json::json_pointer where;
        json value;  // null: the field is taken out
        const char* says;
    };
    for (const Change& change : {
             Change{json::json_pointer("/accounts/0/transactions/0/amount"), nullptr,
                    "\"accounts[0].transactions[0].amount\" is missing"},
             Change{json::json_pointer("/recurring/0/frequency"), nullptr, "\"recurring[0].frequency\" is missing"},
             Change{json::json_pointer("/settings/lookback"), nullptr, "\"settings.lookback\" is missing"},
             Change{json::json_pointer("/version"), nullptr, "\"version\" is missing"},
             Change{json::json_pointer("/dayChart"), nullptr, "\"dayChart\" is missing"},
             Change{json::json_pointer("/passwordHash"), "abc", "\"passwordHash\" is not a traditional crypt hash"},
             Change{json::json_pointer("/passwordHash"), "abJnggxhB/yWJ", "\"passwordHash\""},
         }) {
        json broken = withEntry;
        if (change.value.is_null())
            broken[change.where.parent_pointer()].erase(change.where.back());
        else
            broken[change.where] = change.value;
        Put(Path("bad.json"), broken.dump());
        const CliResult r = Run({"pack", Path("bad.json"), Path("out.ql1")});
        EXPECT_EQ(r.status, Cli::FileProblem) << change.says;
        EXPECT_NE(r.err.find(change.says), std::string::npos) << r.err;
        EXPECT_EQ(::access(Path("out.ql1").c_str(), F_OK), -1);  // nothing written
    }

    // What a file holds comes back byte for byte: an odd frequency, an
    // old version text, a password hash.
    const std::string entry = Contents(Path("entry.ql1"));
    std::string old = entry;
    old.replace(0, 16, std::string("\x0bVersion 0.9", 12));
    for (const std::string& bytes : {entry, old}) {
        Put(Path("odd.ql1"), bytes);
        Put(Path("odd.json"), Run({"dump", Path("odd.ql1")}).out);
        ASSERT_EQ(Run({"pack", Path("odd.json"), Path("again.ql1")}).status, 0);
        EXPECT_EQ(Contents(Path("again.ql1")), bytes);
    }
}

TEST_F(WritingTest, PasswordsHashFromTheBytesTheWindowUses)
{
    // "café" as the window hashes it: Windows-1252.
    const std::string book = Book("locked.ql1", CryptPassword("caf\xE9", "Qz"));
    Cli::Environment env;
    EXPECT_EQ(Run({"dump", "--password", "caf\xC3\xA9", book}, env).status, 0);
    env.passwordVariable = "caf\xC3\xA9";
    EXPECT_EQ(Run({"dump", book}, env).status, 0);
    env.passwordVariable = "cafe";
    EXPECT_EQ(Run({"dump", book}, env).status, Cli::PasswordProblem);

    // A stored hash no password can have opens for nobody, as in the window.
    std::string bytes = Contents(book);
    const std::string hashItem = std::string(1, '\x0d') + CryptPassword("caf\xE9", "Qz");
    const size_t at = bytes.find(hashItem);
    ASSERT_NE(at, std::string::npos);
    for (const std::string& stored : {std::string(1, '\0'), std::string("\x02Qz"), std::string("\x0d*0bad-hash-!!")}) {
        Put(Path("odd.ql1"), std::string(bytes).replace(at, hashItem.size(), stored));
        for (const char* typed : {"", "caf\xC3\xA9", "anything"}) {
            const CliResult r = Run({"dump", "--password", typed, Path("odd.ql1")});
            EXPECT_EQ(r.status, Cli::PasswordProblem) << typed;
            EXPECT_EQ(r.out, "");
        }
    }
}
}  // namespace
