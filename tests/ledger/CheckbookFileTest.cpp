// The checkbook file: exact bytes, tolerant reading, damaged input and
// saving that never loses the previous file.
#include "AppValues.h"
#include "Archive.h"
#include "CheckbookFile.h"
#include "PasswordHash.h"
#include "QuilletDoc.h"
#include "TempFolderTest.h"
#include "TextTransform.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <tuple>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
std::string Hex(const std::string& hex)
{
    std::string digits, out;
    for (char c : hex)
        if (c != ' ')
            digits += c;
    for (size_t i = 0; i + 1 < digits.size(); i += 2)
        out += char(std::stoi(digits.substr(i, 2), nullptr, 16));
    return out;
}

std::string Text(const std::string& s) { std::string out; ArchiveWriter(out).WriteText(s); return out; }
std::string Int(int32_t v) { std::string out; ArchiveWriter(out).WriteInt32(v); return out; }

const std::string kDefaultTail = Hex("0c 43 61 74 65 67 6f 72 79 4e 61 6d 65 08 53 68 6f 77 20 41 6c 6c"
                                     "0d 6e 75 6d 43 61 74 65 67 6f 72 69 65 73 0a 00 00 00"
                                     "0b 6e 75 6d 43 61 74 53 74 61 72 74 01 00 00 00"
                                     "0b 6e 75 6d 4c 6f 6f 6b 62 61 63 6b b4 00 00 00"
                                     "0c 75 70 63 6f 6d 69 6e 67 44 61 79 73 14 00 00 00"
                                     "0b 45 4e 44 5f 4f 46 5f 44 41 54 41");

bool Accept(const std::string&) { return true; }

// A document that uses every field, every section and awkward values.
void FillDocument(CQuilletDoc& doc, CTime now)
{
    doc.AddAccount("Main", "12345", 100.0, "Ann Owner", "First Bank", "123-45-6789");
    doc.AddAccount("Zebra9 \xE9pargne", "", -0.0, "", "", "");
    doc.AddEntry("Main", CTime(int64_t(946684800)), "101", "Rent", "Mortgage", 50.25, 0.0, 0, 1, 0, 2);
    doc.AddEntry("Main", CTime(int64_t(-5)), "", "Fee \x80", "Bank Charges", 0.1, 1.5, 0, 0, 1, 10);
    doc.AddEntry("Main", now - CTime::kDay, "", "Shop", "Food", 20.0, 1.0, 0, 1, 0, 0);
    doc.AddEntry("Zebra9 \xE9pargne", CTime(int64_t(2147483647)), "x", std::string(300, 'q'), "", 4e-320, 0.0,
                 1, 1, 0, 0);
    doc.AddRecurring("Main", 1200.0, CTime(int64_t(946684800)), "Rent", "Mortgage", "Monthly", "12", 3);
    doc.m_recurring.back()->m_nPeriodsDone = 4;
    doc.m_pCategoryList->AddCategory("Zz last", 7);
    doc.ClearDayChartAccounts();
    doc.SetDayChartAccount(0, "Main");
    doc.SetDayChartAccount(3, "Zebra9 \xE9pargne");
}

// Every stored field of the ledger, doubles to the bit, one line a record.
std::string Describe(const CQuilletDoc& doc)
{
    std::ostringstream o;
    o << std::hexfloat;
    for (const auto& a : doc.m_accounts) {
        o << a->m_strName << '|' << a->m_strNumber << '|' << a->m_strOwner << '|' << a->m_strTaxId << '|'
          << a->m_strInstitution << '|' << a->m_dOpeningBalance << '|' << a->m_dBalance << '|'
          << a->m_dClearedBalance << '\n';
        for (const auto& t : a->m_transactions)
            o << ' ' << t->m_date.GetTime() << '|' << t->m_strCheckNumber << '|' << t->m_strDescription << '|'
              << t->m_strCategory << '|' << t->m_dAmount << '|' << t->m_dFee << '|' << t->m_bCleared << '|'
              << t->m_bVoid << '|' << t->m_nFlag << '\n';
    }
    for (const auto& r : doc.m_recurring)
        o << r->m_strAccount << '|' << r->m_dAmount << '|' << r->m_nextDate.GetTime() << '|' << r->m_strDescription
          << '|' << r->m_strCategory << '|' << r->m_strFrequency << '|' << r->m_strPeriods << '|'
          << r->m_nPeriodsDone << '|' << r->m_nFlag << '\n';
    for (const auto& c : doc.m_pCategoryList->m_categories)
        o << c->m_strName << '|' << c->m_nFlag << ';';
    return o.str();
}

std::string DayChart(const CQuilletDoc& doc)
{
    std::string out, name;
    for (int i = 0; i < 5; ++i)
        out += (doc.GetDayChartAccount(i, name) ? name : "-") + ",";
    return out;
}

bool IsEmptyDocument(const CQuilletDoc& doc)
{
    return doc.m_accounts.empty() && doc.m_recurring.empty() && !doc.IsDayChartSet() &&
           doc.m_pCategoryList->m_categories.size() == CCategoryList().m_categories.size() && !doc.IsModified();
}
}  // namespace

using CheckbookFileTest = FixedClockTest;

TEST_F(CheckbookFileTest, WorkedExamplesComeOutByteForByte)
{
    CQuilletDoc doc;
    doc.AddAccount("Main", "12345", 100.0, "", "Some Bank", "");
    doc.AddEntry("Main", CTime(int64_t(946684800)), "101", "Rent", "Mortgage", 50.25, 0.0, 0, 1, 0, 2);
    doc.m_pCategoryList->RemoveAll();
    doc.m_pCategoryList->AddCategory("Cash", 5);
    EXPECT_EQ(WriteCheckbook(doc), Hex("0f 56 65 72 73 69 6f 6e 20 31 2e 30 2e 30 2e 30"
                                       "06 4b 45 59 5f 42 41"
                                       "04 4d 61 69 6e  05 31 32 33 34 35  00  00"
                                       "00 00 00 00 00 00 59 40"
                                       "06 4b 45 59 5f 42 54  80 43 6d 38"
                                       "03 31 30 31  04 52 65 6e 74  08 4d 6f 72 74 67 61 67 65"
                                       "00 00 00 00 00 20 49 c0"
                                       "00 00 00 00  02 00 00 00"
                                       "03 63 6c 72  00 00 00 00 00 00 00 00"
                                       "06 4b 45 59 5f 45 41"
                                       "07 4b 45 59 5f 43 4c 53  04 43 61 73 68  05 00 00 00"
                                       "07 4b 45 59 5f 43 4c 45") +
                                       kDefaultTail);

    // An empty category list is still written as a section.
    doc.DeleteContents();
    doc.m_pCategoryList->RemoveAll();
    EXPECT_EQ(WriteCheckbook(doc), Text("Version 1.0.0.0") + Text("KEY_CLS") + Text("KEY_CLE") + kDefaultTail);
}

TEST_F(CheckbookFileTest, TextLengthPrefixesAndImpossibleLengths)
{
    struct Case { size_t length; std::string prefix; };
    for (const Case& c : {Case{0, Hex("00")}, Case{254, Hex("fe")}, Case{255, Hex("ff ff 00")},
                          Case{65533, Hex("ff fd ff")}, Case{65534, Hex("ff ff ff fe ff 00 00")},
                          Case{70000, Hex("ff ff ff 70 11 01 00")}}) {
        const std::string text(c.length, 'x');
        const std::string item = Text(text);
        EXPECT_EQ(item, c.prefix + text) << c.length;
        ArchiveReader in(item);
        std::string back;
        EXPECT_TRUE(in.ReadText(back) && back == text && in.Remaining() == 0) << c.length;
    }
    // Longer prefixes than needed are read all the same.
    const std::string wide = Hex("ff ff ff 02 00 00 00 6f 6b");
    std::string text;
    EXPECT_TRUE(ArchiveReader(wide).ReadText(text) && text == "ok");
    // Lengths past the data fail, leave nothing, and the reader stays failed.
    for (const std::string& bad : {Hex("05 61 62"), Hex("ff"), Hex("ff 10"), Hex("ff 00 10 61"),
                                   Hex("ff ff ff"), Hex("ff ff ff ff ff ff ff"), Hex("ff ff ff ff ff ff 7f 61")}) {
        ArchiveReader in(bad);
        int32_t value = 9;
        EXPECT_FALSE(in.ReadText(text) || in.ReadInt32(value));
        EXPECT_EQ(text, "");
    }
}

TEST_F(CheckbookFileTest, TextTransformation)
{
    // Unscrambling is checked by the round trip of every byte below.
    EXPECT_EQ(ScrambleText("abc"), "cdb");
    EXPECT_EQ(ScrambleText("Zebra9"), "sb0Afc");
    EXPECT_EQ(ScrambleText("z"), "a");
    EXPECT_EQ(ScrambleText("\x80\xff-"), "\xff-\x80");  // other bytes only rotate
    std::string every;
    for (int b = 255; b >= 0; --b)
        every += char(b);
    EXPECT_EQ(UnscrambleText(ScrambleText(every)), every);
}

TEST_F(CheckbookFileTest, RoundTripKeepsEveryFieldButTheInstitution)
{
    for (const bool protect : {false, true}) {
        SCOPED_TRACE(protect);
        AppValues::ResetToDefaults();
        g_strPasswordHash = protect ? CryptPassword("secret", "ab") : "";
        const auto settings = std::make_tuple("Main", 7, 3, 30, 45);
        std::tie(g_strCategoryAccount, g_nNumCategories, g_nStartCategories, g_nLookback, g_nUpcomingDays) = settings;
        CQuilletDoc source;
        FillDocument(source, Now());
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
        EXPECT_EQ(std::tie(g_strCategoryAccount, g_nNumCategories, g_nStartCategories, g_nLookback, g_nUpcomingDays),
                  settings);
        EXPECT_FALSE(loaded.IsModified());

        // Balances are recomputed and the totals rebuilt under the loaded
        // lookback and account filter: only yesterday's shopping counts.
        for (auto& account : source.m_accounts) {
            account->RecomputeBalances(0);
            account->m_strInstitution.clear();
        }
        EXPECT_EQ(Describe(loaded), Describe(source));
        ASSERT_NE(loaded.m_pCategoryTotals, nullptr);
        EXPECT_EQ(loaded.m_pCategoryTotals->name, "Food");
        EXPECT_DOUBLE_EQ(loaded.m_pCategoryTotals->total, -20.0);
        EXPECT_EQ(loaded.m_pCategoryTotals->next, nullptr);
        EXPECT_EQ(DayChart(loaded), "Main,Zebra9 \xE9pargne,-,-,-,");  // names at 0 and 3 close up
        EXPECT_EQ(WriteCheckbook(loaded), image);
    }
}

TEST_F(CheckbookFileTest, ProtectedFilesScrambleLedgerTextsAndRefuseWrongPasswords)
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
    // Category names, frequencies, day-chart names and the settings stay plain.
    for (const std::string& plain : {Text("sb0Afc"), Text("Catname"), Text("Weekly") + Text("Forever"),
                                     Text("KEY_DCB") + Text("Zebra9") + Text("KEY_DCE"),
                                     Text("CategoryName") + Text("Zebra9")})
        EXPECT_NE(image.find(plain), std::string::npos) << plain;
    EXPECT_EQ(doc.m_accounts[0]->m_strName, "Zebra9");  // the records themselves are left alone

    // A refused password, or no one to ask, loads nothing and keeps no setting.
    for (const bool withPrompt : {true, false}) {
        AppValues::ResetToDefaults();
        g_strPasswordHash = "zzold";
        doc.AddAccount("Before", "", 0.0, "", "", "");
        int asked = 0;
        PasswordPrompt prompt;
        if (withPrompt)
            prompt = [&](const std::string& hash) { ++asked; return HashPassword(hash, "wrong") == hash; };
        FileError error;
        EXPECT_FALSE(ReadCheckbook(doc, image, prompt, error, "secret.ql1"));
        EXPECT_EQ(error.message,
                  "Access to \"secret.ql1\" was denied because the password was not given correctly.");
        EXPECT_EQ(asked, withPrompt ? 1 : 0);
        EXPECT_TRUE(IsEmptyDocument(doc));
        EXPECT_EQ(g_strPasswordHash, "");
        EXPECT_EQ(g_strCategoryAccount, "Show All");
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
    ASSERT_TRUE(ReadCheckbook(doc, version + end + "junk after the end", Accept, error));
    EXPECT_TRUE(IsEmptyDocument(doc));
    EXPECT_EQ(g_nLookback, 77);

    // Tail keys repeated (last wins), unknown (skipped without a value), one
    // missing; an unknown token in place of a section marker lands in the tail.
    const std::string tail = Text("KEY_BZ") + Text("upcomingDays") + Int(5) + Text("mystery") + Text("numLookback") +
                             Int(10) + Text("upcomingDays") + Int(6) + Text("CategoryName") + Text("Main");
    ASSERT_TRUE(ReadCheckbook(doc, version + tail + end, Accept, error));
    EXPECT_EQ(std::tie(g_nUpcomingDays, g_nLookback, g_strCategoryAccount, g_nNumCategories),
              std::make_tuple(6, 10, "Main", AppValues::kDefaultNumCategories));

    // Only "clr" means cleared; categories arrive unsorted and repeated
    // (sorted, the first flag wins); past five day-chart names the rest drop.
    const std::string zero(8, '\0');
    const std::string entry = Text("KEY_BT") + Int(0) + Text("") + Text("d") + Text("c") + zero + Int(1) + Int(4);
    std::string file = version + Text("KEY_BA") + Text("A") + Text("") + Text("") + Text("") + zero + entry +
                       Text("clr") + zero + entry + Text("nclr") + zero + entry + Text("CLR") + zero + Text("KEY_EA");
    file += Text("KEY_CLS") + Text("b") + Int(1) + Text("a") + Int(2) + Text("b") + Int(3) + Text("KEY_CLE");
    file += Text("KEY_DCB");
    for (const char* name : {"n0", "n1", "n2", "n3", "n4", "n5", "n6"})
        file += Text(name);
    ASSERT_TRUE(ReadCheckbook(doc, file + Text("KEY_DCE") + end, Accept, error));
    EXPECT_EQ(Describe(doc), "A|||||0x0p+0|0x0p+0|0x0p+0\n"
                             " 0||d|c|0x0p+0|0x0p+0|1|1|4\n 0||d|c|0x0p+0|0x0p+0|0|1|4\n 0||d|c|0x0p+0|0x0p+0|0|1|4\n"
                             "a|2;b|1;");
    EXPECT_EQ(DayChart(doc), "n0,n1,n2,n3,n4,");

    // An empty day-chart pair leaves the selection unset.
    ASSERT_TRUE(ReadCheckbook(doc, version + Text("KEY_DCB") + Text("KEY_DCE") + end, Accept, error));
    EXPECT_FALSE(doc.IsDayChartSet());
}

TEST_F(CheckbookFileTest, DamagedFilesFailCleanly)
{
    g_strPasswordHash = CryptPassword("pw", "ab");
    CQuilletDoc source;
    FillDocument(source, Now());
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
        ASSERT_TRUE(error.kind == FileError::Damaged && IsEmptyDocument(doc) && g_strPasswordHash.empty() &&
                    g_nLookback == 3) << length;
    }

    // Huge length prefixes anywhere a text is expected.
    const std::string version = Text("Version 1.0.0.0");
    for (const std::string& prefix :
         {Hex("ff ff ff ff ff ff ff"), Hex("ff ff ff 00 00 00 80"), Hex("ff fe ff"), Hex("fe")}) {
        for (const std::string& file :
             {prefix, version + prefix, version + Text("Copyright") + prefix,
              version + Text("KEY_BA") + prefix + "abc", version + Text("KEY_CLS") + prefix,
              version + Text("KEY_DCB") + prefix, version + Text("CategoryName") + prefix}) {
            CQuilletDoc doc;
            FileError error;
            EXPECT_FALSE(ReadCheckbook(doc, file, Accept, error, "big.ql1"));
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
        EXPECT_TRUE(ReadCheckbook(doc, file, Accept, error) || IsEmptyDocument(doc));
    }
}

// ------------------------------------------------------------------ files

namespace fs = std::filesystem;

class CheckbookFileOnDiskTest : public TempFolderTest
{
protected:
    size_t CountEntries() const { return size_t(std::distance(fs::directory_iterator(m_dir), {})); }

    FileError error;
};

TEST_F(CheckbookFileOnDiskTest, SaveAndLoad)
{
    CQuilletDoc source;
    FillDocument(source, Now());
    const std::string path = Path("book.ql1");
    ASSERT_TRUE(SaveCheckbookFile(source, path, error)) << error.message;
    EXPECT_EQ(Contents(path), WriteCheckbook(source));
    EXPECT_EQ(CountEntries(), 1u);  // no temporary file left behind

    // An existing file keeps its permissions when saved over.
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    source.AddAccount("More", "", 0.0, "", "", "");
    ASSERT_TRUE(SaveCheckbookFile(source, path, error));
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0640));

    // Saving through a link replaces the linked file and keeps the link.
    const std::string link = Path("link.ql1");
    fs::create_symlink(path, link);
    source.AddAccount("Third", "", 0.0, "", "", "");
    ASSERT_TRUE(SaveCheckbookFile(source, link, error));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Contents(path), WriteCheckbook(source));

    CQuilletDoc loaded;
    loaded.SetModifiedFlag(true);
    ASSERT_TRUE(LoadCheckbookFile(loaded, path, Accept, error)) << error.message;
    EXPECT_EQ(loaded.m_accounts.size(), 4u);
    EXPECT_FALSE(loaded.IsModified());
}

TEST_F(CheckbookFileOnDiskTest, OpeningNamesTheFileAndTakesAnEmptyOne)
{
    CQuilletDoc doc;
    EXPECT_FALSE(LoadCheckbookFile(doc, Path("missing.ql1"), Accept, error));
    EXPECT_EQ(error.kind, FileError::NotFound);
    EXPECT_EQ(error.message, "The file \"missing.ql1\" could not be found.");
    EXPECT_TRUE(IsEmptyDocument(doc));

    // A folder, a pipe with no writer: refused at once, never waited on.
    ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
    for (const std::string& path : {m_dir, Path("pipe")}) {
        EXPECT_FALSE(LoadCheckbookFile(doc, path, Accept, error));
        EXPECT_EQ(error.kind, FileError::Damaged);
    }

    // Zero bytes: an empty checkbook, the settings left as they were.
    std::ofstream(Path("empty.ql1")).close();
    g_nLookback = 12;
    doc.AddAccount("Old", "", 0.0, "", "", "");
    doc.SetModifiedFlag(true);
    ASSERT_TRUE(LoadCheckbookFile(doc, Path("empty.ql1"), nullptr, error));
    EXPECT_EQ(error.kind, FileError::None);
    EXPECT_TRUE(IsEmptyDocument(doc));
    EXPECT_EQ(g_nLookback, 12);
}

TEST_F(CheckbookFileOnDiskTest, ReadingAsItGoesReadsWhatTheWholeImageReads)
{
    // Protected, with many entries and a text far longer than what is read
    // at a time, so that items straddle and outgrow the window.
    g_strPasswordHash = CryptPassword("pw", "ab");
    CQuilletDoc source;
    FillDocument(source, Now());
    source.AddEntry("Main", Now(), "", std::string(200000, 'w'), "Food", 1.0, 0.0, 0, 0, 0, 0);
    for (int i = 0; i < 3000; ++i)
        source.AddEntry("Main", Now(), std::to_string(i), "Entry " + std::to_string(i), "Food", i, 0.0, 0, 1, 0, 0);
    const std::string image = WriteCheckbook(source);
    g_strPasswordHash.clear();
    const std::string path = Path("book.ql1");
    Put(path, image);

    CQuilletDoc whole, streamed;
    ASSERT_TRUE(ReadCheckbook(whole, image, Accept, error));
    std::string version;
    ASSERT_TRUE(ReadCheckbookFile(streamed, path, Accept, error, &version)) << error.message;
    EXPECT_EQ(version, "Version 1.0.0.0");
    EXPECT_EQ(WriteCheckbook(streamed), WriteCheckbook(whole));

    // Cut short anywhere, it fails as the cut image does.
    for (size_t length = 1; length < image.size(); length += 4099) {
        Put(path, image.substr(0, length));
        CQuilletDoc doc;
        ASSERT_FALSE(ReadCheckbookFile(doc, path, Accept, error)) << length;
        ASSERT_TRUE(error.kind == FileError::Damaged && IsEmptyDocument(doc)) << length;
    }

    // What cannot be read at all is refused before anything is read; zero
    // bytes are an empty checkbook and leave the document alone.
    CQuilletDoc doc;
    EXPECT_FALSE(ReadCheckbookFile(doc, Path("missing.ql1"), Accept, error));
    EXPECT_EQ(error.message, "The file \"missing.ql1\" could not be found.");
    EXPECT_FALSE(ReadCheckbookFile(doc, m_dir, Accept, error));
    EXPECT_EQ(error.kind, FileError::Damaged);
    Put(path, "");
    doc.AddAccount("Kept", "", 0.0, "", "", "");
    version = "unchanged";
    EXPECT_TRUE(ReadCheckbookFile(doc, path, Accept, error, &version));
    EXPECT_EQ(doc.m_accounts.size(), 1u);
    EXPECT_EQ(version, "unchanged");
}

TEST_F(CheckbookFileOnDiskTest, FailedSaveLeavesTheOldFileAlone)
{
    CQuilletDoc doc;
    doc.AddAccount("Old", "", 0.0, "", "", "");
    const std::string path = Path("book.ql1");
    ASSERT_TRUE(SaveCheckbookFile(doc, path, error));
    const std::string before = Contents(path);
    for (int i = 0; i < 2000; ++i)
        doc.AddEntry("Old", CTime(int64_t(i)), "", "An entry", "Food", 1.0, 0.0, 0, 0, 0, 0);

    // A full disk, made with a file size limit (which binds root too).
    struct rlimit saved = {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool savedOk = SaveCheckbookFile(doc, path, error);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(savedOk);
    EXPECT_EQ(error.message, "The file \"book.ql1\" could not be saved: file too large.");
    EXPECT_EQ(Contents(path), before);
    EXPECT_EQ(CountEntries(), 1u);

    // A folder that is not there, a file where the folder should be, a
    // folder in the way of the file.
    ASSERT_EQ(::mkdir(Path("dir.ql1").c_str(), 0700), 0);
    for (const std::string& bad : {Path("nowhere/book.ql1"), path + "/book.ql1", Path("dir.ql1")}) {
        EXPECT_FALSE(SaveCheckbookFile(doc, bad, error));
        EXPECT_EQ(error.kind, FileError::WriteFailed);
    }
    EXPECT_NE(error.message.find("\"dir.ql1\""), std::string::npos);
    EXPECT_EQ(Contents(path), before);

    // Read-only file or folder (not enforced for root).
    if (::geteuid() == 0)
        return;
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_FALSE(SaveCheckbookFile(doc, path, error));
    EXPECT_EQ(error.message, "The file \"book.ql1\" could not be saved: permission denied.");
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    ASSERT_EQ(::chmod(m_dir.c_str(), 0500), 0);
    EXPECT_FALSE(SaveCheckbookFile(doc, path, error));
    EXPECT_EQ(Contents(path), before);
}
