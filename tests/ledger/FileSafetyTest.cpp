// Saving never loses a file: killed saves, backups, links, the writers'
// lock, changes made by another program, and failed opens.
#include "AppValues.h"
#include "CheckbookFile.h"
#include "FileLock.h"
#include "PasswordHash.h"
#include "QuilletDoc.h"
#include "TempFolderTest.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
namespace fs = std::filesystem;

class FileSafetyTest : public TempFolderTest
{
protected:
    // Every name in the folder, sorted.
    std::vector<std::string> Names(const std::string& folder) const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    static void SetAge(const std::string& path, int seconds)
    {
        const timespec times[2] = {{::time(nullptr) - seconds, 0}, {::time(nullptr) - seconds, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
    }
    // A checkbook whose accounts are named "A0".."A<n-1>".
    static void Fill(CQuilletDoc& doc, int accounts)
    {
        doc.OnNewDocument();
        for (int i = 0; i < accounts; ++i)
            doc.AddAccount("A" + std::to_string(i), "", double(i), "", "", "");
    }
    size_t AccountsIn(const std::string& path)
    {
        CQuilletDoc doc;
        FileError error;
        EXPECT_TRUE(LoadCheckbookFile(doc, path, nullptr, error)) << error.message;
        return doc.m_accounts.size();
    }

    FileError error;
};

TEST_F(FileSafetyTest, AKilledSaveLeavesNothingOnceTheNextSaveRuns)
{
    const std::string path = Path("book.ql1");
    CQuilletDoc doc;
    Fill(doc, 1);
    ASSERT_TRUE(SaveCheckbookFile(doc, path, error));
    const std::string before = Contents(path);
    for (int i = 0; i < 3000; ++i)
        doc.AddEntry("A0", CTime(int64_t(i)), "", "An entry", "Food", 1.0, 0.0, 0, 0, 0, 0);

    // The system kills the saving process once the file passes 4 KiB.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const struct rlimit noCore = {0, 0}, small = {4096, 4096};
        ::setrlimit(RLIMIT_CORE, &noCore);
        ::setrlimit(RLIMIT_FSIZE, &small);
        std::signal(SIGXFSZ, SIG_DFL);
        SaveCheckbookFile(doc, path, error);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
    EXPECT_EQ(Contents(path), before);
    std::vector<std::string> names = Names(m_dir);
    ASSERT_EQ(names.size(), 2u);
    const std::string killed = Path(names[0]);
    ASSERT_EQ(names[0].rfind(".book.ql1.", 0), 0u) << names[0];
    EXPECT_EQ(fs::file_size(killed), 4096u);

    // A minute on it is stale; one just begun by another writer, other
    // names and files of other programs stay.
    SetAge(killed, 61);
    for (const char* name : {".book.ql1.Young1", ".book.ql1.tooLong1", ".book.ql1.lock", ".other.ql1.Old123"})
        Put(Path(name), "x");
    SetAge(Path(".book.ql1.tooLong1"), 3600);
    SetAge(Path(".other.ql1.Old123"), 3600);
    fs::create_symlink("book.ql1", Path(".book.ql1.Link12"));
    SetAge(Path(".book.ql1.Link12"), 3600);

    doc.AddAccount("B", "", 0.0, "", "", "");
    ASSERT_TRUE(SaveCheckbookFile(doc, path, error)) << error.message;
    names = Names(m_dir);
    EXPECT_EQ(names, (std::vector<std::string>{".book.ql1.Link12", ".book.ql1.Young1", ".book.ql1.lock",
                                               ".book.ql1.tooLong1", ".other.ql1.Old123", "book.ql1",
                                               "book.ql1.backups"}));
    EXPECT_EQ(AccountsIn(path), 2u);
}

TEST_F(FileSafetyTest, BackupsKeepTheLastVersionsInTheOrderOfTheSaves)
{
    const std::string path = Path("Budget.ql1");
    CQuilletDoc doc;
    Fill(doc, 1);
    SaveOutcome outcome;
    ASSERT_TRUE(SaveCheckbookFile(doc, path, error, &outcome));
    EXPECT_EQ(outcome.backup, "");  // nothing replaced, nothing kept
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);

    // All in one second of a fixed clock, so the names must make their
    // own order.
    for (int accounts = 2; accounts <= 9; ++accounts) {
        SCOPED_TRACE(accounts);
        Fill(doc, accounts);
        ASSERT_TRUE(SaveCheckbookFile(doc, path, error, &outcome)) << error.message;
        EXPECT_EQ(outcome.backupProblem, "");
        const std::vector<std::string> backups = ListBackups(path);
        ASSERT_EQ(backups.size(), size_t(std::min(accounts - 1, kKeptBackups)));
        EXPECT_EQ(backups.back(), outcome.backup);
        // The newest backup opens as the version just replaced, the oldest
        // as the one before the limit.
        EXPECT_EQ(AccountsIn(backups.back()), size_t(accounts - 1));
        EXPECT_EQ(AccountsIn(backups.front()), size_t(accounts - backups.size()));
        EXPECT_EQ(fs::status(backups.back()).permissions(), fs::perms(0600));
    }
    EXPECT_EQ(FileBaseName(ListBackups(path).front()), "Budget_2026-12-06_12-00-05.ql1");
    EXPECT_EQ(FileBaseName(ListBackups(path).back()), "Budget_2026-12-06_12-00-07.ql1");

    // Saving what the file already holds keeps no copy of it; the user's own
    // files in the folder are never counted or removed.
    Put(BackupFolder(path) + "/notes.txt", "mine");
    Put(BackupFolder(path) + "/Budget_old.ql1", "mine");
    const std::vector<std::string> before = ListBackups(path);
    ASSERT_TRUE(SaveCheckbookFile(doc, path, error, &outcome));
    EXPECT_EQ(outcome.backup, "");
    EXPECT_EQ(ListBackups(path), before);
    Fill(doc, 1);
    ASSERT_TRUE(SaveCheckbookFile(doc, path, error, &outcome));
    EXPECT_EQ(Names(BackupFolder(path)).size(), size_t(kKeptBackups + 2));

    // A backup that cannot be made never stops the save, and says why.
    fs::remove_all(BackupFolder(path));
    Put(BackupFolder(path), "a file where the folder goes");
    Fill(doc, 4);
    ASSERT_TRUE(SaveCheckbookFile(doc, path, error, &outcome)) << error.message;
    EXPECT_EQ(AccountsIn(path), 4u);
    EXPECT_EQ(outcome.backupProblem.rfind("The previous version of \"Budget.ql1\" could not be kept as a backup. ", 0),
              0u)
        << outcome.backupProblem;
}

TEST_F(FileSafetyTest, SavingThroughLinksWritesTheFileTheyName)
{
    CQuilletDoc doc;
    Fill(doc, 1);
    ASSERT_EQ(::mkdir(Path("real").c_str(), 0700), 0);
    // Dangling, relative, through a second link.
    fs::create_symlink("real/book.ql1", Path("second.ql1"));
    fs::create_symlink("second.ql1", Path("first.ql1"));
    ASSERT_TRUE(SaveCheckbookFile(doc, Path("first.ql1"), error)) << error.message;
    EXPECT_TRUE(fs::is_symlink(Path("first.ql1")));
    EXPECT_TRUE(fs::is_symlink(Path("second.ql1")));
    EXPECT_EQ(AccountsIn(Path("real/book.ql1")), 1u);

    // Once it exists, its backups and its lock sit beside the file itself.
    Fill(doc, 2);
    ASSERT_TRUE(SaveCheckbookFile(doc, Path("first.ql1"), error));
    EXPECT_EQ(ListBackups(Path("real/book.ql1")).size(), 1u);
    EXPECT_EQ(CFileLock::LockPath(Path("first.ql1")), Path("real/.book.ql1.lock"));
    EXPECT_TRUE(fs::is_symlink(Path("first.ql1")));

    // A circle of links is refused; nothing is written.
    fs::create_symlink("loop2.ql1", Path("loop1.ql1"));
    fs::create_symlink("loop1.ql1", Path("loop2.ql1"));
    EXPECT_FALSE(SaveCheckbookFile(doc, Path("loop1.ql1"), error));
    EXPECT_EQ(error.message, "The file \"loop1.ql1\" could not be saved: too many levels of symbolic links.");
    EXPECT_TRUE(fs::is_symlink(Path("loop1.ql1")));
}

// Writers that each add one to a number in the file under the lock.
TEST_F(FileSafetyTest, TheLockLetsConcurrentWritersAllLand)
{
    const std::string path = Path("count.ql1");
    Put(path, "0");
    constexpr int kWriters = 4, kRounds = 25;
    std::vector<pid_t> children;
    for (int w = 0; w < kWriters; ++w) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int round = 0; round < kRounds; ++round) {
                CFileLock lock;
                FileError failed;
                std::string text;
                if (!lock.Acquire(path, 30000, failed) || !ReadWholeFile(path, text, failed))
                    ::_exit(1);
                if (!SaveFileImage(path, std::to_string(std::stoi(text) + 1), failed, nullptr, 0))
                    ::_exit(2);
            }
            ::_exit(0);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = -1;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    EXPECT_EQ(Contents(path), std::to_string(kWriters * kRounds));
    EXPECT_EQ(Names(m_dir), std::vector<std::string>{"count.ql1"});  // no lock file left behind

    // A holder that does not let go: the next one gives up with a clear
    // sentence, and gets the lock once it is free.
    CFileLock holder;
    ASSERT_TRUE(holder.Acquire(path, 0, error));
    CFileLock waiter;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(waiter.Acquire(path, 100, error));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    EXPECT_EQ(error.kind, FileError::Locked);
    EXPECT_EQ(error.message, "The file \"count.ql1\" is being changed by another program; nothing was written. "
                             "Try again when it has finished.");
    std::thread release([&holder] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        holder.Release();
    });
    EXPECT_TRUE(waiter.Acquire(path, 10000, error)) << error.message;
    release.join();

    // A folder that is not there.
    EXPECT_FALSE(CFileLock().Acquire(Path("gone/book.ql1"), 0, error));
    EXPECT_EQ(error.message, "The file \"book.ql1\" could not be saved: no such file or directory.");
}

TEST_F(FileSafetyTest, ChangesByAnotherProgramAreToldFromTouches)
{
    const std::string path = Path("book.ql1");
    CQuilletDoc doc;
    Fill(doc, 1);
    SaveOutcome saved;
    ASSERT_TRUE(SaveCheckbookFile(doc, path, error, &saved));
    EXPECT_FALSE(FileChangedSince(path, saved.stamp));
    FileStamp read;
    ASSERT_TRUE(LoadCheckbookFile(doc, path, nullptr, error, &read));
    EXPECT_FALSE(FileChangedSince(path, read));

    // The same bytes, touched or written anew: no change.
    SetAge(path, 300);
    EXPECT_FALSE(FileChangedSince(path, read));
    ASSERT_TRUE(WriteFileAtomically(path, Contents(path), error));
    EXPECT_FALSE(FileChangedSince(path, read));

    // Other bytes, even of the same size and time.
    std::string bytes = Contents(path);
    bytes[bytes.size() - 20] ^= 1;
    struct stat before = {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    Put(path, bytes);
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    EXPECT_TRUE(FileChangedSince(path, read));

    // A file that is gone loses nothing when saved again; nor does one
    // never read.
    fs::remove(path);
    EXPECT_FALSE(FileChangedSince(path, read));
    EXPECT_FALSE(FileChangedSince(Path("other.ql1"), FileStamp()));
}

TEST_F(FileSafetyTest, AFailedOpenLeavesTheOpenDocumentAndItsValues)
{
    g_strPasswordHash = CryptPassword("mine", "ab");
    g_nLookback = 12;
    CQuilletDoc doc;
    Fill(doc, 2);
    doc.SetModifiedFlag(true);
    const std::string good = WriteCheckbook(doc);

    Put(Path("cut.ql1"), good.substr(0, good.size() / 2));
    for (const std::string& path : {Path("missing.ql1"), Path("cut.ql1"), m_dir}) {
        SCOPED_TRACE(path);
        FileStamp stamp;
        EXPECT_FALSE(LoadCheckbookFile(doc, path, [](const std::string&) { return true; }, error, &stamp));
        EXPECT_EQ(doc.m_accounts.size(), 2u);
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(g_strPasswordHash, CryptPassword("mine", "ab"));
        EXPECT_EQ(g_nLookback, 12);
        EXPECT_FALSE(stamp.known);
    }

    // A refused password reads nothing either, and leaves no password.
    Put(Path("locked.ql1"), good);
    EXPECT_FALSE(LoadCheckbookFile(doc, Path("locked.ql1"), [](const std::string&) { return false; }, error));
    EXPECT_EQ(error.kind, FileError::AccessDenied);
    EXPECT_EQ(doc.m_accounts.size(), 2u);
    EXPECT_EQ(g_strPasswordHash, "");
}
}  // namespace
