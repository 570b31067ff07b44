// The encrypted container: what opens, what is refused and how, and what
// an encrypted save leaves on the disk.
#include "../ledger/TempFolderTest.h"

#include "FileAccess.h"
#include "QuilletDoc.h"
#include "SealedCheckbook.h"

#include <sodium.h>

#include <gtest/gtest.h>

#include <cstring>

namespace
{
const char kName[] = "Checking at Harbor Bank";
const char kDescription[] = "Rent to Landlord";
constexpr double kAmount = 1234.56;

std::string Image(const std::string& description = kDescription)
{
    AppValues::ResetToDefaults();
    CQuilletDoc doc;
    doc.AddAccount(kName, "1001-77", 250.0, "", "", "");
    doc.AddEntry(kName, CTime(2026, 12, 1, 0, 0, 0), "101", description, "Housing", kAmount, 0.0, 0, 1, 0, 2);
    return WriteCheckbook(doc);
}

SealKeyPtr MakeKey(std::string passphrase)
{
    SealKeyPtr key;
    EXPECT_EQ(CSealKey::Make(CSecret::Take(passphrase), key), SealStatus::Ok);
    return key;
}

// Answers the passphrase question with one passphrase, counting the asks.
PassphrasePrompt Answer(const std::string& passphrase, int* asked)
{
    return [passphrase, asked](const std::string&, const PassphraseAttempt& attempt) {
        ++*asked;
        std::string copy = passphrase;
        return attempt(CSecret::Take(copy));
    };
}

// What a tamperer who knows the layout does after a change: a checksum
// that fits again.
void FixChecksum(std::string& sealed)
{
    const size_t summed = sealed.size() - 16;
    crypto_generichash(reinterpret_cast<unsigned char*>(&sealed[summed]), 16,
                       reinterpret_cast<const unsigned char*>(sealed.data()), summed, nullptr, 0);
}

bool Contains(const std::string& bytes, const std::string& part)
{
    return bytes.find(part) != std::string::npos;
}

std::string AmountBytes(double value)
{
    std::string bytes(sizeof value, '\0');
    std::memcpy(&bytes[0], &value, sizeof value);
    return bytes;
}

// Opens sealed into a document that already holds an account, as the
// window opens a file over the open one.
FileError OpenOver(const std::string& sealed, const PassphrasePrompt& prompt, CQuilletDoc& doc)
{
    doc.AddAccount("Open before", "", 1.0, "", "", "");
    std::string bytes = sealed;
    SealKeyPtr key;
    FileError error;
    if (UnsealCheckbook(bytes, "Budget.ql1", prompt, key, error))
        LoadCheckbookImage(doc, bytes, [](const std::string&) { return true; }, error, "Budget.ql1");
    return error;
}
}  // namespace

TEST(SealedFileTest, SealedImagesOpenToTheSameBytesAndShowNothingOfThem)
{
    const std::string image = Image();
    ASSERT_TRUE(Contains(image, kName) && Contains(image, AmountBytes(-kAmount)));
    const SealKeyPtr key = MakeKey("correct horse");
    const std::string first = SealImage(image, *key), second = SealImage(image, *key);
    EXPECT_TRUE(IsSealedImage(first));
    EXPECT_FALSE(IsSealedImage(image));
    EXPECT_NE(first, second);  // a fresh nonce each time
    for (const std::string& part : {std::string(kName), std::string("Landlord"), std::string("Housing"),
                                    std::string("1001-77"), AmountBytes(-kAmount), AmountBytes(250.0)})
        EXPECT_FALSE(Contains(second, part)) << part;

    std::string bytes = second;
    SealKeyPtr opened;
    FileError error;
    int asked = 0;
    ASSERT_TRUE(UnsealCheckbook(bytes, "Budget.ql1", Answer("correct horse", &asked), opened, error)) << error.message;
    EXPECT_EQ(bytes, image);
    EXPECT_EQ(asked, 1);
    ASSERT_TRUE(opened && opened->Fits(first));
    // The key at hand opens without asking; a plain file needs none.
    bytes = first;
    SealKeyPtr given = key;
    EXPECT_TRUE(UnsealCheckbook(bytes, "Budget.ql1", nullptr, given, error));
    EXPECT_EQ(bytes, image);
    bytes = image;
    EXPECT_TRUE(UnsealCheckbook(bytes, "Budget.ql1", nullptr, given, error));
    EXPECT_EQ(bytes, image);
    EXPECT_FALSE(given);
    // Another key of the same passphrase has another salt.
    EXPECT_FALSE(MakeKey("correct horse")->Fits(first));
}

TEST(SealedFileTest, CutShortOrChangedFilesAreRefusedWithoutAsking)
{
    const std::string sealed = SealImage(Image(), *MakeKey("correct horse"));
    int asked = 0;
    const PassphrasePrompt prompt = Answer("correct horse", &asked);
    // Shorter than the magic it is no encrypted file, and the checkbook
    // reader refuses it; from there on the container does.
    for (size_t size = 1; size < sealed.size(); ++size) {
        CQuilletDoc doc;
        const FileError error = OpenOver(sealed.substr(0, size), prompt, doc);
        ASSERT_EQ(error.kind, FileError::Damaged) << size;
        EXPECT_TRUE(doc.FindAccount("Open before")) << size;
        if (size >= 8) {
            EXPECT_EQ(error.message.rfind("The file \"Budget.ql1\" is encrypted, but it has been cut short", 0), 0u)
                << error.message;
        }
    }
    for (size_t at = 0; at < sealed.size(); ++at) {
        for (unsigned char bit : {0x01, 0x80}) {
            std::string changed = sealed;
            changed[at] = char(changed[at] ^ bit);
            CQuilletDoc doc;
            const FileError error = OpenOver(changed, prompt, doc);
            ASSERT_NE(error.kind, FileError::None) << at;
            EXPECT_FALSE(error.message.empty());
            EXPECT_TRUE(doc.FindAccount("Open before") && !doc.FindAccount(kName)) << at;
        }
    }
    EXPECT_EQ(asked, 0);
}

TEST(SealedFileTest, ATampererWhoFixesTheChecksumIsStillFound)
{
    const std::string image = Image();
    const SealKeyPtr key = MakeKey("correct horse");
    const std::string sealed = SealImage(image, *key);
    int asked = 0;
    const auto open = [&](std::string bytes) {
        CQuilletDoc doc;
        FileError error = OpenOver(bytes, Answer("correct horse", &asked), doc);
        EXPECT_FALSE(doc.FindAccount(kName));
        return error.message;
    };
    const auto changedAt = [&](size_t at) {
        std::string bytes = sealed;
        bytes[at] = char(bytes[at] ^ 0x04);
        FixChecksum(bytes);
        return bytes;
    };
    const std::string damaged = "The file \"Budget.ql1\" is encrypted, but it has been cut short or changed";
    // The contents, the nonce and the passphrase check: the passphrase is
    // right, so the file was changed.
    for (size_t at : {size_t(80), sealed.size() - 20, size_t(50), size_t(40)})
        EXPECT_EQ(open(changedAt(at)).rfind(damaged, 0), 0u) << at;
    // The salt: another key, which no passphrase can tell from a wrong one.
    EXPECT_EQ(open(changedAt(20)), "The passphrase for \"Budget.ql1\" is not correct.");
    // Key settings the program does not accept are refused before any work.
    std::string weak = sealed;
    weak[9] = 0;  // no passes
    FixChecksum(weak);
    std::string costly = sealed;
    costly[16] = char(0x40);  // 1 TiB
    FixChecksum(costly);
    for (const std::string& bytes : {weak, costly})
        EXPECT_EQ(CheckSealedImage(bytes), SealStatus::UnusualCost);
    std::string later = sealed;
    later[8] = 2;
    EXPECT_EQ(CheckSealedImage(later), SealStatus::NewerFormat);
    EXPECT_EQ(asked, 5);
}

class SealedSaveTest : public TempFolderTest
{
protected:
    void Save(const std::string& image, const SealKeys& keys)
    {
        FileError error;
        SaveOutcome outcome;
        ASSERT_TRUE(SaveCheckbookImage(m_file, image, keys, error, &outcome)) << error.message;
        EXPECT_EQ(outcome.backupProblem, "");
        m_now += 60;
    }
    std::vector<std::string> Backups() const
    {
        std::vector<std::string> contents;
        for (const std::string& backup : ListBackups(m_file))
            contents.push_back(Contents(backup));
        return contents;
    }
    // The plain image inside bytes, under key.
    static std::string Inside(const std::string& bytes, const CSealKey& key)
    {
        std::string image;
        EXPECT_EQ(OpenSealedImage(bytes, key, image), SealStatus::Ok);
        return image;
    }

    void SetUp() override
    {
        TempFolderTest::SetUp();
        m_file = Path("Budget.ql1");
        Clock::Set([this] { return m_now; });
    }

    std::string m_file;
    int64_t m_now = 1765000000;
};

TEST_F(SealedSaveTest, EncryptedSavesLeaveNoPlainCopyBeside)
{
    const std::vector<std::string> plain = {Image("first"), Image("second"), Image("third")};
    for (const std::string& image : plain)
        Save(image, {});
    ASSERT_EQ(Backups(), (std::vector<std::string>{plain[0], plain[1]}));

    // Turned on: the file and every backup are encrypted, and hold what
    // they held.
    const SealKeyPtr key = MakeKey("correct horse");
    const std::string fourth = Image("fourth");
    Save(fourth, {key, nullptr});
    const std::string written = Contents(m_file);
    EXPECT_EQ(Inside(written, *key), fourth);
    std::vector<std::string> backups = Backups();
    ASSERT_EQ(backups.size(), 3u);
    for (size_t i = 0; i < backups.size(); ++i) {
        EXPECT_FALSE(Contains(backups[i], kName)) << i;
        EXPECT_EQ(Inside(backups[i], *key), plain[i]);
    }

    // Saving what the file holds rewrites its bytes and keeps no backup.
    Save(fourth, {key, key});
    EXPECT_EQ(Contents(m_file), written);
    EXPECT_EQ(Backups(), backups);

    // A new passphrase brings the backups under the new key.
    const SealKeyPtr next = MakeKey("battery staple");
    Save(fourth, {next, key});
    backups = Backups();
    ASSERT_EQ(backups.size(), 3u);
    EXPECT_EQ(Inside(backups[0], *next), plain[1]);
    EXPECT_EQ(Inside(backups[1], *next), plain[2]);
    EXPECT_EQ(Inside(backups[2], *next), fourth);

    // Turned off: the file is plain again, its last encrypted version kept.
    Save(fourth, {nullptr, next});
    EXPECT_EQ(Contents(m_file), fourth);
    EXPECT_TRUE(next->Fits(Backups().back()));
    EXPECT_EQ(Inside(Backups().back(), *next), fourth);
}
