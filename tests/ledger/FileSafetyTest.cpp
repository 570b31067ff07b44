// Saving never loses a file: killed saves, backups, links, and changes
// made by another program.
#include "CheckbookFile.h"
#include "FileLock.h"
#include "QuilletDoc.h"
#include "TempFolderTest.h"

#include <gtest/gtest.h>

#include <csignal>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>

namespace
{
namespace fs = std::filesystem;

class FileSafetyTest : public TempFolderTest
{
protected:
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
    ASSERT_EQ(names[0].rfind(".book.ql1.", 0), 0u) << names[0];

    // A minute on it is stale. One just begun by another writer stays, and
    // so do other names, links and other files' temporaries.
    SetAge(Path(names[0]), 61);
    for (const char* name : {".book.ql1.Young1", ".book.ql1.tooLong1", ".other.ql1.Old123"})
        Put(Path(name), "x");
    fs::create_symlink("book.ql1", Path(".book.ql1.Link12"));
    for (const char* name : {".book.ql1.tooLong1", ".other.ql1.Old123", ".book.ql1.Link12"})
        SetAge(Path(name), 3600);

    doc.AddAccount("B", "", 0.0, "", "", "");
    ASSERT_TRUE(SaveCheckbookFile(doc, path, error)) << error.message;
    EXPECT_EQ(Names(m_dir), (std::vector<std::string>{".book.ql1.Link12", ".book.ql1.Young1", ".book.ql1.tooLong1",
                                                      ".other.ql1.Old123", "book.ql1", "book.ql1.backups"}));
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

    // All in one second of a fixed clock: the names make their own order.
    for (int accounts = 2; accounts <= 9; ++accounts) {
        SCOPED_TRACE(accounts);
        Fill(doc, accounts);
        ASSERT_TRUE(SaveCheckbookFile(doc, path, error, &outcome)) << error.message;
        const std::vector<std::string> backups = ListBackups(path);
        ASSERT_EQ(backups.size(), size_t(std::min(accounts - 1, kKeptBackups)));
        EXPECT_EQ(backups.back(), outcome.backup);
        // The newest opens as the version just replaced, the oldest as the
        // one the limit reaches back to; both as private as the checkbook.
        EXPECT_EQ(AccountsIn(backups.back()), size_t(accounts - 1));
        EXPECT_EQ(AccountsIn(backups.front()), size_t(accounts - backups.size()));
        EXPECT_EQ(fs::status(backups.back()).permissions(), fs::perms(0600));
    }
    EXPECT_EQ(FileBaseName(ListBackups(path).back()), "Budget_2026-12-06_12-00-07.ql1");

    // Saving what the file already holds keeps no copy; the user's own files
    // in the folder are never counted or removed.
    Put(BackupFolder(path) + "/Budget_old.ql1", "mine");
    ASSERT_TRUE(SaveCheckbookFile(doc, path, error, &outcome));
    EXPECT_EQ(outcome.backup, "");
    Fill(doc, 1);
    ASSERT_TRUE(SaveCheckbookFile(doc, path, error, &outcome));
    EXPECT_EQ(Names(BackupFolder(path)).size(), size_t(kKeptBackups + 1));

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
    Fill(doc, 2);
    ASSERT_TRUE(SaveCheckbookFile(doc, Path("first.ql1"), error));
    EXPECT_TRUE(fs::is_symlink(Path("first.ql1")) && fs::is_symlink(Path("second.ql1")));
    EXPECT_EQ(AccountsIn(Path("real/book.ql1")), 2u);
    // Its backups and its lock sit beside the file itself.
    EXPECT_EQ(ListBackups(Path("real/book.ql1")).size(), 1u);
    EXPECT_EQ(CFileLock::LockPath(Path("first.ql1")), Path("real/.book.ql1.lock"));

    // A circle of links is refused; nothing is written.
    fs::create_symlink("loop2.ql1", Path("loop1.ql1"));
    fs::create_symlink("loop1.ql1", Path("loop2.ql1"));
    EXPECT_FALSE(SaveCheckbookFile(doc, Path("loop1.ql1"), error));
    EXPECT_EQ(error.message, "The file \"loop1.ql1\" could not be saved: too many levels of symbolic links.");
    EXPECT_TRUE(fs::is_symlink(Path("loop1.ql1")));
}

TEST_F(FileSafetyTest, OnlyOtherBytesCountAsAChangeByAnotherProgram)
{
    const std::string path = Path("book.ql1");
    Put(path, "first");
    std::string bytes;
    FileStamp read;
    ASSERT_TRUE(ReadWholeFile(path, bytes, error, &read));
    SetAge(path, 300);
    ASSERT_TRUE(WriteFileAtomically(path, "first", error));  // touched, written anew: the same bytes
    EXPECT_FALSE(FileChangedSince(path, read));
    Put(path, "fir5t");
    EXPECT_TRUE(FileChangedSince(path, read));
    fs::remove(path);  // saved again, a file that is gone loses nothing
    EXPECT_FALSE(FileChangedSince(path, read));
}
}  // namespace
