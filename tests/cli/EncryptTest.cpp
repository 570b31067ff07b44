// encrypt and decrypt, and every other command on an encrypted file.
#include "CheckbookFile.h"
#include "CliFixture.h"
#include "QuilletDoc.h"
#include "SealedFile.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>

namespace
{
using nlohmann::json;

class EncryptTest : public CliFixture
{
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        SetNow(CTime(2026, 12, 6, 12, 0, 0));
    }

    std::string Book(const std::string& name)
    {
        CQuilletDoc doc;
        doc.AddAccount("Checking", "1001", 100.0, "", "", "");
        doc.AddEntry("Checking", CTime(2026, 12, 1, 0, 0, 0), "101", "Rent to Landlord", "Housing", 1234.56, 0.0, 0,
                     1, 0, 0);
        FileError error;
        EXPECT_TRUE(SaveCheckbookFile(doc, Path(name), error)) << error.message;
        AppValues::ResetToDefaults();
        return Path(name);
    }
    static bool Encrypted(const std::string& path) { return IsSealedImage(Contents(path)); }
    std::vector<std::string> BackupContents(const std::string& path)
    {
        std::vector<std::string> contents;
        for (const std::string& backup : ListBackups(path))
            contents.push_back(Contents(backup));
        return contents;
    }
};

TEST_F(EncryptTest, EncryptedFilesShowNothingAndDecryptToTheSameBytes)
{
    const std::string file = Book("Budget.ql1");
    const std::string original = Contents(file);

    CliResult r = Run({"encrypt", "--passphrase", "correct horse", file});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "The checkbook \"Budget.ql1\" is encrypted. Keep its passphrase safe: without it nobody can "
                     "open the file.\n");
    const std::string sealed = Contents(file);
    EXPECT_TRUE(IsSealedImage(sealed));
    // The version it replaced is kept, encrypted as well (what the
    // container hides is the sealed-file tests' to show).
    ASSERT_EQ(BackupContents(file).size(), 1u);
    for (const std::string& bytes : {sealed, BackupContents(file)[0]})
        EXPECT_EQ(bytes.find("Landlord"), std::string::npos);

    // Every reader: no passphrase or a wrong one is status 3; the option,
    // the variable and the terminal all open it.
    Put(Path("s.csv"), "Date,Amount,Description\n2026-12-02,-4.50,Coffee\n");
    const std::vector<std::vector<std::string>> readers = {
        {"balances", file}, {"register", file, "Checking"}, {"due", file}, {"categories", file},
        {"export", "--format", "csv", file}, {"dump", file}, {"import", "--dry-run", "--account", "Checking", file,
                                                                Path("s.csv")}};
    Cli::Environment env;
    std::vector<std::string> asked;
    for (const auto& args : readers) {
        SCOPED_TRACE(args[0]);
        r = Run(args, env);
        EXPECT_EQ(r.status, Cli::PasswordProblem);
        EXPECT_EQ(r.err, "The file \"Budget.ql1\" is encrypted; give its passphrase with --passphrase or "
                         "QUILLET_PASSPHRASE.\n");
        std::vector<std::string> wrong = args;
        wrong.insert(wrong.begin() + 1, "--passphrase=Correct horse");
        r = Run(wrong, env);
        EXPECT_EQ(r.status, Cli::PasswordProblem);
        EXPECT_EQ(r.err, "The passphrase for \"Budget.ql1\" is not correct.\n");
        wrong[1] = "--passphrase=correct horse";
        EXPECT_EQ(Run(wrong, env).status, 0);
    }
    env.passphraseVariable = "correct horse";
    EXPECT_EQ(Run({"balances", file}, env).status, 0);
    env.passphraseVariable.reset();
    env.askPassphrase = [&asked](const std::string& question) {
        asked.push_back(question);
        return std::optional<std::string>("correct horse");
    };
    EXPECT_EQ(Run({"balances", file}, env).status, 0);
    EXPECT_EQ(asked, std::vector<std::string>{"Passphrase for Budget.ql1: "});
    EXPECT_EQ(Contents(file), sealed);

    r = Run({"decrypt", file}, env);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Contents(file), original);
    EXPECT_TRUE(IsSealedImage(BackupContents(file).back()));

    // Typed twice on the terminal; two that differ change nothing.
    std::vector<std::string> typed = {"battery staple", "battery stapel", "battery staple", "battery staple"};
    env.askPassphrase = [&](const std::string& question) {
        asked.push_back(question);
        std::optional<std::string> answer = typed.front();
        typed.erase(typed.begin());
        return answer;
    };
    asked.clear();
    r = Run({"encrypt", file}, env);
    EXPECT_EQ(r.status, Cli::PasswordProblem);
    EXPECT_EQ(r.err, "The two passphrases differ; \"Budget.ql1\" is unchanged.\n");
    EXPECT_EQ(Contents(file), original);
    ASSERT_EQ(Run({"encrypt", file}, env).status, 0);
    EXPECT_EQ(asked, (std::vector<std::string>{"New passphrase for Budget.ql1: ", "Type it again: ",
                                               "New passphrase for Budget.ql1: ", "Type it again: "}));

    // Commands that write keep it encrypted under the same passphrase.
    env.askPassphrase = nullptr;
    env.passphraseVariable = "battery staple";
    ASSERT_EQ(Run({"import", "--account", "Checking", file, Path("s.csv")}, env).status, 0);
    EXPECT_TRUE(Encrypted(file));
    r = Run({"dump", file}, env);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(json::parse(r.out)["accounts"][0]["transactions"].back()["description"], "Coffee");
    const std::string imported = Contents(file);
    Put(Path("dump.json"), r.out);
    EXPECT_EQ(Run({"pack", Path("dump.json"), file}).status, Cli::PasswordProblem);
    // What dump wrote packs back into the very bytes of the file.
    ASSERT_EQ(Run({"pack", Path("dump.json"), file}, env).status, 0);
    EXPECT_EQ(Contents(file), imported);
    r = Run({"pack", "--passphrase", "x", Path("dump.json"), Path("new.ql1")});
    EXPECT_EQ(r.status, Cli::BadUsage);
    EXPECT_FALSE(std::ifstream(Path("new.ql1")).good());
}

TEST_F(EncryptTest, RefusalsLeaveTheFileAsItWas)
{
    const std::string plain = Book("Plain.ql1");
    const std::string sealed = Book("Sealed.ql1");
    ASSERT_EQ(Run({"encrypt", "--passphrase", "pp", sealed}).status, 0);
    Put(Path("Broken.ql1"), Contents(plain).substr(0, 40));
    Put(Path("Short.ql1"), Contents(sealed).substr(0, Contents(sealed).size() - 1));
    const std::string broken = Path("Broken.ql1"), cut = Path("Short.ql1");

    Cli::Environment env;
    env.passphraseVariable = "pp";
    const struct
    {
        std::vector<std::string> args;
        int status;
        std::string says;
    } cases[] = {
        {{"encrypt", sealed}, Cli::BadUsage, "is encrypted already"},
        {{"decrypt", plain}, Cli::BadUsage, "is not encrypted"},
        {{"encrypt", "--password", "pw", plain}, Cli::BadUsage, "takes no password"},
        {{"encrypt", broken}, Cli::FileProblem, "is damaged or is not a checkbook file"},
        {{"encrypt", "--passphrase=", plain}, Cli::PasswordProblem, "An empty passphrase would protect nothing"},
        {{"decrypt", "--passphrase", "PP", sealed}, Cli::PasswordProblem, "is not correct"},
        {{"decrypt", cut}, Cli::FileProblem, "has been cut short or changed since it was saved"},
        {{"balances", cut}, Cli::FileProblem, "has been cut short or changed since it was saved"},
    };
    const std::vector<std::string> files = {plain, sealed, broken, cut};
    std::vector<std::string> before;
    for (const std::string& f : files)
        before.push_back(Contents(f));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args.back());
        const CliResult r = Run(c.args, env);
        EXPECT_EQ(r.status, c.status);
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    }
    // No source for a new passphrase at all.
    EXPECT_EQ(Run({"encrypt", plain}).status, Cli::PasswordProblem);
    for (size_t i = 0; i < files.size(); ++i)
        EXPECT_EQ(Contents(files[i]), before[i]) << files[i];
}
}  // namespace
