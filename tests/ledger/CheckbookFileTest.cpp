// The checkbook file: exact bytes, tolerant reading, damaged input and
// saving that never loses the previous file.
#include "AppValues.h"
#include "Archive.h"
#include "CheckbookFile.h"
#include "PasswordHash.h"
#include "QuilletDoc.h"
#include "TestClock.h"
#include "TextTransform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <random>

#include <dirent.h>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
std::string Hex(const std::string& hex)
{
    std::string digits;
    for (char c : hex)
        if (c != ' ')
            digits.push_back(c);
    std::string out;
    for (size_t i = 0; i + 1 < digits.size(); i += 2)
        out.push_back(char(std::stoi(digits.substr(i, 2), nullptr, 16)));
    return out;
}

std::string Text(const std::string& s)
{
    std::string out;
    ArchiveWriter(out).WriteText(s);
    return out;
}

std::string Int(int32_t v)
{
    std::string out;
    ArchiveWriter(out).WriteInt32(v);
    return out;
}

std::string DefaultTail()
{
    return Hex("0c 43 61 74 65 67 6f 72 79 4e 61 6d 65 08 53 68 6f 77 20 41 6c 6c"
               "0d 6e 75 6d 43 61 74 65 67 6f 72 69 65 73 0a 00 00 00"
               "0b 6e 75 6d 43 61 74 53 74 61 72 74 01 00 00 00"
               "0b 6e 75 6d 4c 6f 6f 6b 62 61 63 6b b4 00 00 00"
               "0c 75 70 63 6f 6d 69 6e 67 44 61 79 73 14 00 00 00"
               "0b 45 4e 44 5f 4f 46 5f 44 41 54 41");
}

bool Accept(const std::string&) { return true; }

// A document that uses every field, every section and awkward values.
void FillDocument(CQuilletDoc& doc)
{
    doc.AddAccount("Main", "12345", 100.0, "Ann Owner", "First Bank", "123-45-6789");
    doc.AddAccount("Zebra9 \xE9pargne", "", -0.0, "", "", "");
    doc.AddEntry("Main", CTime(int64_t(946684800)), "101", "Rent", "Mortgage", 50.25, 0.0, 0, 1, 0, 2);
    doc.AddEntry("Main", CTime(int64_t(-5)), "", "Fee \x80", "Bank Charges", 0.1, 1.5, 0, 0, 1, 10);
    doc.AddEntry("Zebra9 \xE9pargne", CTime(int64_t(2147483647)), "x", std::string(300, 'q'), "", 4e-320, 0.0,
                 1, 1, 0, 0);
    doc.AddRecurring("Main", 1200.0, CTime(int64_t(946684800)), "Rent", "Mortgage", "Monthly", "12", 3);
    doc.m_recurring.back()->m_nPeriodsDone = 4;
    doc.m_pCategoryList->AddCategory("Zz last", 7);
    doc.ClearDayChartAccounts();
    doc.SetDayChartAccount(0, "Main");
    doc.SetDayChartAccount(3, "Zebra9 \xE9pargne");
}

void ExpectSameLedger(const CQuilletDoc& a, const CQuilletDoc& b)
{
    ASSERT_EQ(a.m_accounts.size(), b.m_accounts.size());
    for (size_t i = 0; i < a.m_accounts.size(); ++i) {
        const CAccount& x = *a.m_accounts[i];
        const CAccount& y = *b.m_accounts[i];
        EXPECT_EQ(x.m_strName, y.m_strName);
        EXPECT_EQ(x.m_strNumber, y.m_strNumber);
        EXPECT_EQ(x.m_strOwner, y.m_strOwner);
        EXPECT_EQ(x.m_strTaxId, y.m_strTaxId);
        EXPECT_EQ(y.m_strInstitution, "");
        EXPECT_EQ(std::memcmp(&x.m_dOpeningBalance, &y.m_dOpeningBalance, sizeof(double)), 0);
        EXPECT_EQ(x.m_dBalance, y.m_dBalance);
        EXPECT_EQ(x.m_dClearedBalance, y.m_dClearedBalance);
        ASSERT_EQ(x.m_transactions.size(), y.m_transactions.size());
        for (size_t k = 0; k < x.m_transactions.size(); ++k) {
            const CTransaction& s = *x.m_transactions[k];
            const CTransaction& t = *y.m_transactions[k];
            EXPECT_EQ(s.m_date, t.m_date);
            EXPECT_EQ(s.m_strCheckNumber, t.m_strCheckNumber);
            EXPECT_EQ(s.m_strDescription, t.m_strDescription);
            EXPECT_EQ(s.m_strCategory, t.m_strCategory);
            EXPECT_EQ(std::memcmp(&s.m_dAmount, &t.m_dAmount, sizeof(double)), 0);
            EXPECT_EQ(std::memcmp(&s.m_dFee, &t.m_dFee, sizeof(double)), 0);
            EXPECT_EQ(s.m_bCleared, t.m_bCleared);
            EXPECT_EQ(s.m_bVoid, t.m_bVoid);
            EXPECT_EQ(s.m_nFlag, t.m_nFlag);
        }
    }
    ASSERT_EQ(a.m_recurring.size(), b.m_recurring.size());
    for (size_t i = 0; i < a.m_recurring.size(); ++i) {
        const CRecurringTransaction& r = *a.m_recurring[i];
        const CRecurringTransaction& s = *b.m_recurring[i];
        EXPECT_EQ(r.m_strAccount, s.m_strAccount);
        EXPECT_EQ(r.m_dAmount, s.m_dAmount);
        EXPECT_EQ(r.m_nextDate, s.m_nextDate);
        EXPECT_EQ(r.m_strDescription, s.m_strDescription);
        EXPECT_EQ(r.m_strCategory, s.m_strCategory);
        EXPECT_EQ(r.m_strFrequency, s.m_strFrequency);
        EXPECT_EQ(r.m_strPeriods, s.m_strPeriods);
        EXPECT_EQ(r.m_nPeriodsDone, s.m_nPeriodsDone);
        EXPECT_EQ(r.m_nFlag, s.m_nFlag);
    }
    ASSERT_EQ(a.m_pCategoryList->m_categories.size(), b.m_pCategoryList->m_categories.size());
    for (size_t i = 0; i < a.m_pCategoryList->m_categories.size(); ++i) {
        EXPECT_EQ(a.m_pCategoryList->m_categories[i]->m_strName, b.m_pCategoryList->m_categories[i]->m_strName);
        EXPECT_EQ(a.m_pCategoryList->m_categories[i]->m_nFlag, b.m_pCategoryList->m_categories[i]->m_nFlag);
    }
}

bool IsEmptyDocument(const CQuilletDoc& doc)
{
    return doc.m_accounts.empty() && doc.m_recurring.empty() && !doc.IsDayChartSet() &&
           doc.m_pCategoryList->m_categories.size() == CCategoryList().m_categories.size() && !doc.IsModified();
}
}  // namespace

class CheckbookFileTest : public FixedClockTest
{
};

TEST_F(CheckbookFileTest, WorkedExamplesComeOutByteForByte)
{
    CQuilletDoc doc;
    doc.AddAccount("Main", "12345", 100.0, "", "Some Bank", "");
    doc.AddEntry("Main", CTime(int64_t(946684800)), "101", "Rent", "Mortgage", 50.25, 0.0, 0, 1, 0, 2);
    doc.m_pCategoryList->RemoveAll();
    doc.m_pCategoryList->AddCategory("Cash", 5);

    const std::string head = Hex(
        "0f 56 65 72 73 69 6f 6e 20 31 2e 30 2e 30 2e 30"
        "06 4b 45 59 5f 42 41"
        "04 4d 61 69 6e  05 31 32 33 34 35  00  00"
        "00 00 00 00 00 00 59 40"
        "06 4b 45 59 5f 42 54  80 43 6d 38"
        "03 31 30 31  04 52 65 6e 74  08 4d 6f 72 74 67 61 67 65"
        "00 00 00 00 00 20 49 c0"
        "00 00 00 00  02 00 00 00"
        "03 63 6c 72  00 00 00 00 00 00 00 00"
        "06 4b 45 59 5f 45 41");
    const std::string tail = Hex(
        "07 4b 45 59 5f 43 4c 53  04 43 61 73 68  05 00 00 00  07 4b 45 59 5f 43 4c 45") + DefaultTail();
    EXPECT_EQ(WriteCheckbook(doc), head + tail);

    // An empty category list is still written as a section.
    CQuilletDoc empty;
    empty.m_pCategoryList->RemoveAll();
    EXPECT_EQ(WriteCheckbook(empty), Text("Version 1.0.0.0") + Text("KEY_CLS") + Text("KEY_CLE") + DefaultTail());
}

TEST_F(CheckbookFileTest, TextLengthPrefixes)
{
    struct Case { size_t length; std::string prefix; };
    for (const Case& c : {Case{0, Hex("00")}, Case{254, Hex("fe")}, Case{255, Hex("ff ff 00")},
                          Case{65533, Hex("ff fd ff")}, Case{65534, Hex("ff ff ff fe ff 00 00")},
                          Case{70000, Hex("ff ff ff 70 11 01 00")}}) {
        const std::string text(c.length, 'x');
        const std::string item = Text(text);
        EXPECT_EQ(item.substr(0, c.prefix.size()), c.prefix) << c.length;
        EXPECT_EQ(item.size(), c.prefix.size() + c.length);
        ArchiveReader in(item);
        std::string back;
        EXPECT_TRUE(in.ReadText(back));
        EXPECT_EQ(back, text);
        EXPECT_EQ(in.Remaining(), 0u);
    }
    // Longer prefixes than needed are read all the same.
    const std::string wideItem = Hex("ff ff ff 02 00 00 00 6f 6b");
    ArchiveReader wide(wideItem);
    std::string back;
    EXPECT_TRUE(wide.ReadText(back));
    EXPECT_EQ(back, "ok");
}

TEST_F(CheckbookFileTest, ArchiveRefusesLengthsBeyondTheData)
{
    for (const std::string& bad : {Hex("05 61 62"), Hex("ff"), Hex("ff 10"), Hex("ff 00 10 61"),
                                   Hex("ff ff ff"), Hex("ff ff ff ff ff ff ff"), Hex("ff ff ff ff ff ff 7f 61")}) {
        ArchiveReader in(bad);
        std::string text = "old";
        EXPECT_FALSE(in.ReadText(text));
        EXPECT_TRUE(text.empty());
        EXPECT_TRUE(in.Failed());
        int32_t value = 9;
        EXPECT_FALSE(in.ReadInt32(value));  // stays failed
    }
    const std::string shortItem = Hex("01 02 03");
    ArchiveReader shortNumber(shortItem);
    int32_t value = 0;
    EXPECT_FALSE(shortNumber.ReadInt32(value));
}

TEST_F(CheckbookFileTest, TextTransformation)
{
    EXPECT_EQ(ScrambleText("abc"), "cdb");
    EXPECT_EQ(UnscrambleText("cdb"), "abc");
    EXPECT_EQ(ScrambleText("Zebra9"), "sb0Afc");
    EXPECT_EQ(UnscrambleText("sb0Afc"), "Zebra9");
    EXPECT_EQ(ScrambleText(""), "");
    EXPECT_EQ(ScrambleText("z"), "a");
    EXPECT_EQ(ScrambleText("\x80\xff-"), "\xff-\x80");  // other bytes only rotate

    std::mt19937 random(7);
    for (size_t length = 0; length < 64; ++length) {
        std::string text;
        for (size_t i = 0; i < length; ++i)
            text.push_back(char(random() & 0xFF));
        EXPECT_EQ(UnscrambleText(ScrambleText(text)), text);
    }
}

TEST_F(CheckbookFileTest, RoundTripKeepsEveryFieldButTheInstitution)
{
    for (const bool protect : {false, true}) {
        SCOPED_TRACE(protect);
        AppValues::ResetToDefaults();
        g_strPasswordHash = protect ? CryptPassword("secret", "ab") : "";
        g_strCategoryAccount = "Main";
        g_nNumCategories = 7;
        g_nStartCategories = 3;
        g_nLookback = 30;
        g_nUpcomingDays = 45;
        CQuilletDoc source;
        FillDocument(source);
        const std::string image = WriteCheckbook(source);

        AppValues::ResetToDefaults();
        CQuilletDoc loaded;
        loaded.SetModifiedFlag(true);
        std::string askedWith;
        FileError error;
        ASSERT_TRUE(ReadCheckbook(loaded, image, [&](const std::string& hash) {
            askedWith = hash;
            return HashPassword(hash, "secret") == hash;
        }, error, "book.ql1"));
        EXPECT_EQ(error.kind, FileError::None);
        EXPECT_EQ(askedWith, protect ? CryptPassword("secret", "ab") : "");
        EXPECT_EQ(g_strPasswordHash, askedWith);
        EXPECT_EQ(g_strCategoryAccount, "Main");
        EXPECT_EQ(g_nNumCategories, 7);
        EXPECT_EQ(g_nStartCategories, 3);
        EXPECT_EQ(g_nLookback, 30);
        EXPECT_EQ(g_nUpcomingDays, 45);
        EXPECT_FALSE(loaded.IsModified());

        for (auto& account : source.m_accounts)
            account->RecomputeBalances(0);
        ExpectSameLedger(source, loaded);
        // Day-chart names close up: positions 0 and 3 come back as 0 and 1.
        std::string name;
        EXPECT_TRUE(loaded.GetDayChartAccount(0, name));
        EXPECT_EQ(name, "Main");
        EXPECT_TRUE(loaded.GetDayChartAccount(1, name));
        EXPECT_EQ(name, "Zebra9 \xE9pargne");
        EXPECT_FALSE(loaded.GetDayChartAccount(3, name));
        EXPECT_EQ(WriteCheckbook(loaded), image);
    }
}

TEST_F(CheckbookFileTest, ProtectedFilesScrambleOnlyLedgerTexts)
{
    g_strPasswordHash = CryptPassword("pw", "ab");
    CQuilletDoc doc;
    doc.m_pCategoryList->AddCategory("Catname", 1);
    doc.AddAccount("Zebra9", "Number1", 0.0, "Owner", "", "TaxId");
    doc.AddEntry("Zebra9", CTime(int64_t(0)), "Check7", "Potatoes", "Food", 1.0, 0.0, 0, 0, 0, 0);
    doc.AddRecurring("Zebra9", 5.0, CTime(int64_t(0)), "Premium", "Auto", "Weekly", "Forever", 0);
    doc.SetDayChartAccount(0, "Zebra9");
    g_strCategoryAccount = "Zebra9";
    const std::string image = WriteCheckbook(doc);

    const std::string head = Text("Version 1.0.0.0") + Text("Copyright") + Text(g_strPasswordHash);
    EXPECT_EQ(image.substr(0, head.size()), head);
    for (const char* hidden : {"Number1", "Owner", "TaxId", "Check7", "Potatoes", "Premium"})
        EXPECT_EQ(image.find(hidden), std::string::npos) << hidden;
    EXPECT_NE(image.find(Text("sb0Afc")), std::string::npos);
    EXPECT_NE(image.find(Text("Catname")), std::string::npos);
    EXPECT_NE(image.find(Text("Weekly")), std::string::npos);
    EXPECT_NE(image.find(Text("Forever")), std::string::npos);
    EXPECT_NE(image.find(Text("KEY_DCB") + Text("Zebra9") + Text("KEY_DCE")), std::string::npos);
    EXPECT_NE(image.find(Text("CategoryName") + Text("Zebra9")), std::string::npos);
    // The records themselves are left as they were.
    EXPECT_EQ(doc.m_accounts[0]->m_strName, "Zebra9");
}

TEST_F(CheckbookFileTest, RefusedPasswordLoadsNothing)
{
    g_strPasswordHash = CryptPassword("right", "xy");
    CQuilletDoc source;
    FillDocument(source);
    g_nLookback = 99;
    const std::string image = WriteCheckbook(source);

    for (const bool withPrompt : {true, false}) {
        AppValues::ResetToDefaults();
        g_strPasswordHash = "zzold";
        CQuilletDoc doc;
        doc.AddAccount("Before", "", 0.0, "", "", "");
        int asked = 0;
        PasswordPrompt prompt;
        if (withPrompt)
            prompt = [&](const std::string& hash) { ++asked; return HashPassword(hash, "wrong") == hash; };
        FileError error;
        EXPECT_FALSE(ReadCheckbook(doc, image, prompt, error, "secret.ql1"));
        EXPECT_EQ(error.kind, FileError::AccessDenied);
        EXPECT_NE(error.message.find("\"secret.ql1\""), std::string::npos);
        EXPECT_NE(error.message.find("denied"), std::string::npos);
        EXPECT_EQ(asked, withPrompt ? 1 : 0);
        EXPECT_TRUE(IsEmptyDocument(doc));
        EXPECT_EQ(g_strPasswordHash, "");
        EXPECT_EQ(g_nLookback, AppValues::kDefaultLookback);
    }
}

TEST_F(CheckbookFileTest, TolerantReading)
{
    const std::string version = Text("Anything at all");
    const std::string end = Text("END_OF_DATA");
    FileError error;

    // Nothing but the version and the end: an empty document with the
    // default categories, and the settings as they were.
    g_nLookback = 77;
    CQuilletDoc doc;
    ASSERT_TRUE(ReadCheckbook(doc, version + end, Accept, error));
    EXPECT_TRUE(IsEmptyDocument(doc));
    EXPECT_EQ(g_nLookback, 77);

    // Tail keys repeated (last wins), out of order, unknown (skipped without
    // a value), one missing; an unknown token in place of a section marker
    // lands in the tail loop.
    const std::string tail = Text("KEY_BZ") + Text("upcomingDays") + Int(5) + Text("mystery") + Text("numLookback") +
                             Int(10) + Text("upcomingDays") + Int(6) + Text("CategoryName") + Text("Main");
    ASSERT_TRUE(ReadCheckbook(doc, version + tail + end, Accept, error));
    EXPECT_EQ(g_nUpcomingDays, 6);
    EXPECT_EQ(g_nLookback, 10);
    EXPECT_EQ(g_strCategoryAccount, "Main");
    EXPECT_EQ(g_nNumCategories, AppValues::kDefaultNumCategories);

    // Categories arrive unsorted and repeated: sorted, the first flag wins.
    // Transactions: only "clr" means cleared. Day chart: more than five
    // names, the rest dropped.
    const std::string transaction = Text("KEY_BT") + Int(0) + Text("") + Text("d") + Text("c") + std::string(8, '\0') +
                                    Int(1) + Int(4);
    std::string file = version + Text("KEY_BA") + Text("A") + Text("") + Text("") + Text("") + std::string(8, '\0') +
                       transaction + Text("clr") + std::string(8, '\0') + transaction + Text("nclr") +
                       std::string(8, '\0') + transaction + Text("CLR") + std::string(8, '\0') + Text("KEY_EA");
    file += Text("KEY_CLS") + Text("b") + Int(1) + Text("a") + Int(2) + Text("b") + Int(3) + Text("KEY_CLE");
    file += Text("KEY_DCB");
    for (const char* name : {"n0", "n1", "n2", "n3", "n4", "n5", "n6"})
        file += Text(name);
    file += Text("KEY_DCE") + end;
    ASSERT_TRUE(ReadCheckbook(doc, file, Accept, error));
    ASSERT_EQ(doc.m_accounts.size(), 1u);
    const auto& register_ = doc.m_accounts[0]->m_transactions;
    ASSERT_EQ(register_.size(), 3u);
    EXPECT_EQ(register_[0]->m_bCleared, 1);
    EXPECT_EQ(register_[1]->m_bCleared, 0);
    EXPECT_EQ(register_[2]->m_bCleared, 0);
    EXPECT_EQ(register_[0]->m_bVoid, 1);
    EXPECT_EQ(register_[0]->m_nFlag, 4);
    const auto& categories = doc.m_pCategoryList->m_categories;
    ASSERT_EQ(categories.size(), 2u);
    EXPECT_EQ(categories[0]->m_strName, "a");
    EXPECT_EQ(categories[1]->m_strName, "b");
    EXPECT_EQ(categories[1]->m_nFlag, 1);
    std::string name;
    EXPECT_TRUE(doc.GetDayChartAccount(4, name));
    EXPECT_EQ(name, "n4");

    // An empty day-chart pair leaves the selection unset.
    ASSERT_TRUE(ReadCheckbook(doc, version + Text("KEY_DCB") + Text("KEY_DCE") + end, Accept, error));
    EXPECT_FALSE(doc.IsDayChartSet());

    // Bytes after the end are not looked at.
    EXPECT_TRUE(ReadCheckbook(doc, version + end + "junk", Accept, error));
}

TEST_F(CheckbookFileTest, LoadRebuildsTotalsAndBalances)
{
    CQuilletDoc source;
    source.AddAccount("Main", "1", 10.0, "", "", "");
    source.AddEntry("Main", Now() - CTime::kDay, "", "Shop", "Food", 20.0, 1.0, 0, 1, 0, 0);
    source.AddEntry("Main", Now() - 400 * CTime::kDay, "", "Old", "Food", 5.0, 0.0, 0, 0, 0, 0);
    const std::string image = WriteCheckbook(source);

    CQuilletDoc doc;
    FileError error;
    ASSERT_TRUE(ReadCheckbook(doc, image, Accept, error));
    ASSERT_NE(doc.m_pCategoryTotals, nullptr);
    EXPECT_EQ(doc.m_pCategoryTotals->name, "Food");
    EXPECT_DOUBLE_EQ(doc.m_pCategoryTotals->total, -20.0);  // the old entry is outside the lookback
    EXPECT_DOUBLE_EQ(doc.m_accounts[0]->m_dBalance, 10.0 - 21.0 - 5.0);
    EXPECT_DOUBLE_EQ(doc.m_accounts[0]->m_dClearedBalance, 10.0 - 21.0);
}

TEST_F(CheckbookFileTest, DamagedFilesFailCleanly)
{
    g_strPasswordHash = CryptPassword("pw", "ab");
    CQuilletDoc source;
    FillDocument(source);
    const std::string image = WriteCheckbook(source);
    g_strPasswordHash.clear();

    // Every cut of a whole file, the empty one included.
    for (size_t length = 0; length < image.size(); ++length) {
        AppValues::ResetToDefaults();
        g_nLookback = 3;
        CQuilletDoc doc;
        doc.SetModifiedFlag(true);
        FileError error;
        ASSERT_FALSE(ReadCheckbook(doc, image.substr(0, length), Accept, error, "cut.ql1")) << length;
        ASSERT_EQ(error.kind, FileError::Damaged) << length;
        ASSERT_TRUE(IsEmptyDocument(doc)) << length;
        ASSERT_EQ(g_strPasswordHash, "") << length;
        ASSERT_EQ(g_nLookback, 3) << length;
    }

    // Huge length prefixes anywhere a text is expected.
    const std::string huge[] = {Hex("ff ff ff ff ff ff ff"), Hex("ff ff ff 00 00 00 80"), Hex("ff fe ff"), Hex("fe")};
    const std::string version = Text("Version 1.0.0.0");
    for (const std::string& prefix : huge) {
        for (const std::string& file :
             {prefix, version + prefix, version + Text("Copyright") + prefix,
              version + Text("KEY_BA") + prefix + "abc", version + Text("KEY_CLS") + prefix,
              version + Text("KEY_DCB") + prefix, version + Text("CategoryName") + prefix}) {
            CQuilletDoc doc;
            FileError error;
            EXPECT_FALSE(ReadCheckbook(doc, file, Accept, error, "big.ql1"));
            EXPECT_EQ(error.kind, FileError::Damaged);
            EXPECT_EQ(error.message, "The file \"big.ql1\" is damaged or is not a checkbook file.");
            EXPECT_TRUE(IsEmptyDocument(doc));
        }
    }

    // Random damage to a good file never crashes; it either reads or fails.
    std::mt19937 random(11);
    for (int round = 0; round < 2000; ++round) {
        std::string file = image;
        for (int k = 0; k < 3; ++k)
            file[random() % file.size()] = char(random() & 0xFF);
        CQuilletDoc doc;
        FileError error;
        if (!ReadCheckbook(doc, file, Accept, error)) {
            ASSERT_TRUE(IsEmptyDocument(doc));
        }
    }
}

// ------------------------------------------------------------------ files

class CheckbookFileOnDiskTest : public CheckbookFileTest
{
protected:
    void SetUp() override
    {
        CheckbookFileTest::SetUp();
        char pattern[] = "/tmp/quillet-file-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }
    void TearDown() override
    {
        ::chmod(m_dir.c_str(), 0700);
        std::system(("rm -rf '" + m_dir + "'").c_str());
        CheckbookFileTest::TearDown();
    }

    std::string Path(const std::string& name) const { return m_dir + "/" + name; }
    static std::string Contents(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void Put(const std::string& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    size_t CountEntries() const
    {
        size_t n = 0;
        if (DIR* d = ::opendir(m_dir.c_str())) {
            while (dirent* e = ::readdir(d))
                n += std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0;
            ::closedir(d);
        }
        return n;
    }

    std::string m_dir;
};

TEST_F(CheckbookFileOnDiskTest, SaveAndLoad)
{
    CQuilletDoc source;
    FillDocument(source);
    FileError error;
    const std::string path = Path("book.ql1");
    ASSERT_TRUE(SaveCheckbookFile(source, path, error)) << error.message;
    EXPECT_EQ(Contents(path), WriteCheckbook(source));
    EXPECT_EQ(CountEntries(), 1u);  // no temporary file left behind

    // An existing file keeps its permissions when saved over.
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    source.AddAccount("More", "", 0.0, "", "", "");
    ASSERT_TRUE(SaveCheckbookFile(source, path, error));
    struct stat st = {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // Saving through a link replaces the linked file and keeps the link.
    const std::string link = Path("link.ql1");
    ASSERT_EQ(::symlink(path.c_str(), link.c_str()), 0);
    source.AddAccount("Third", "", 0.0, "", "", "");
    ASSERT_TRUE(SaveCheckbookFile(source, link, error));
    struct stat lst = {};
    ASSERT_EQ(::lstat(link.c_str(), &lst), 0);
    EXPECT_TRUE(S_ISLNK(lst.st_mode));
    EXPECT_EQ(Contents(path), WriteCheckbook(source));

    CQuilletDoc loaded;
    loaded.SetModifiedFlag(true);
    ASSERT_TRUE(LoadCheckbookFile(loaded, path, Accept, error)) << error.message;
    EXPECT_EQ(loaded.m_accounts.size(), 4u);
    EXPECT_FALSE(loaded.IsModified());
}

TEST_F(CheckbookFileOnDiskTest, OpenErrorsNameTheFile)
{
    CQuilletDoc doc;
    FileError error;
    EXPECT_FALSE(LoadCheckbookFile(doc, Path("missing.ql1"), Accept, error));
    EXPECT_EQ(error.kind, FileError::NotFound);
    EXPECT_EQ(error.message, "The file \"missing.ql1\" could not be found.");
    EXPECT_TRUE(IsEmptyDocument(doc));

    // A folder, a pipe with no writer: refused at once, never waited on.
    EXPECT_FALSE(LoadCheckbookFile(doc, m_dir, Accept, error));
    EXPECT_EQ(error.kind, FileError::Damaged);
    ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
    EXPECT_FALSE(LoadCheckbookFile(doc, Path("pipe"), Accept, error));
    EXPECT_EQ(error.kind, FileError::Damaged);

    Put(Path("notes.txt"), "Dear diary, today I balanced my checkbook.\n");
    EXPECT_FALSE(LoadCheckbookFile(doc, Path("notes.txt"), Accept, error));
    EXPECT_EQ(error.message, "The file \"notes.txt\" is damaged or is not a checkbook file.");
}

TEST_F(CheckbookFileOnDiskTest, ZeroByteFileOpensAsEmptyCheckbook)
{
    Put(Path("empty.ql1"), "");
    g_nLookback = 12;
    g_strCategoryAccount = "Main";
    CQuilletDoc doc;
    doc.AddAccount("Old", "", 0.0, "", "", "");
    doc.SetModifiedFlag(true);
    FileError error;
    ASSERT_TRUE(LoadCheckbookFile(doc, Path("empty.ql1"), nullptr, error));
    EXPECT_EQ(error.kind, FileError::None);
    EXPECT_TRUE(IsEmptyDocument(doc));
    EXPECT_EQ(g_nLookback, 12);
    EXPECT_EQ(g_strCategoryAccount, "Main");
}

TEST_F(CheckbookFileOnDiskTest, FailedSaveLeavesTheOldFileAlone)
{
    CQuilletDoc old;
    old.AddAccount("Old", "", 0.0, "", "", "");
    const std::string path = Path("book.ql1");
    FileError error;
    ASSERT_TRUE(SaveCheckbookFile(old, path, error));
    const std::string before = Contents(path);

    CQuilletDoc big;
    big.AddAccount("Big", "", 0.0, "", "", "");
    for (int i = 0; i < 2000; ++i)
        big.AddEntry("Big", CTime(int64_t(i)), "", "An entry", "Food", 1.0, 0.0, 0, 0, 0, 0);

    // A full disk, made with a file size limit (which binds root too).
    struct rlimit saved = {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved_ok = SaveCheckbookFile(big, path, error);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(saved_ok);
    EXPECT_EQ(error.kind, FileError::WriteFailed);
    EXPECT_EQ(error.message, "The file \"book.ql1\" could not be saved: file too large.");
    EXPECT_EQ(Contents(path), before);
    EXPECT_EQ(CountEntries(), 1u);

    // A folder that is not there, or is a file.
    EXPECT_FALSE(SaveCheckbookFile(big, Path("nowhere/book.ql1"), error));
    EXPECT_EQ(error.kind, FileError::WriteFailed);
    EXPECT_FALSE(SaveCheckbookFile(big, path + "/book.ql1", error));
    EXPECT_EQ(Contents(path), before);
    // A folder in the way of the file.
    ASSERT_EQ(::mkdir(Path("dir.ql1").c_str(), 0700), 0);
    EXPECT_FALSE(SaveCheckbookFile(big, Path("dir.ql1"), error));
    EXPECT_NE(error.message.find("\"dir.ql1\""), std::string::npos);
}

TEST_F(CheckbookFileOnDiskTest, ReadOnlyFileOrFolderRefusesTheSave)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root, where file and folder permissions are not enforced";
    CQuilletDoc doc;
    const std::string path = Path("book.ql1");
    FileError error;
    ASSERT_TRUE(SaveCheckbookFile(doc, path, error));
    const std::string before = Contents(path);
    doc.AddAccount("New", "", 0.0, "", "", "");

    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_FALSE(SaveCheckbookFile(doc, path, error));
    EXPECT_EQ(error.message, "The file \"book.ql1\" could not be saved: permission denied.");
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);

    ASSERT_EQ(::chmod(m_dir.c_str(), 0500), 0);
    EXPECT_FALSE(SaveCheckbookFile(doc, path, error));
    EXPECT_EQ(error.kind, FileError::WriteFailed);
    EXPECT_EQ(Contents(path), before);
}
