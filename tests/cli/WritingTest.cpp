// Commands that write a checkbook: concurrent runs all land, a held lock
// makes them wait or fail loudly; and stored hashes nobody can match.
#include "AppValues.h"
#include "CheckbookFile.h"
#include "CliFixture.h"
#include "FileLock.h"
#include "PasswordHash.h"
#include "QuilletDoc.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
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

// A stored hash no password can have opens for nobody, as in the window.
TEST_F(WritingTest, ADamagedStoredHashOpensForNoPassword)
{
    const std::string hash = CryptPassword("caf\xE9", "Qz");
    const std::string bytes = Contents(Book("locked.ql1", hash));
    const size_t at = bytes.find(hash);
    ASSERT_NE(at, std::string::npos);
    for (const std::string& stored : {std::string(1, '\0'), std::string("\x02Qz"), std::string("\x0d*0bad-hash-!!")}) {
        Put(Path("odd.ql1"), std::string(bytes).replace(at - 1, hash.size() + 1, stored));
        for (const char* typed : {"", "caf\xC3\xA9", "anything"}) {
            const CliResult r = Run({"dump", "--password", typed, Path("odd.ql1")});
            EXPECT_EQ(r.status, Cli::PasswordProblem) << typed;
            EXPECT_EQ(r.out, "");
        }
    }
}
}  // namespace
