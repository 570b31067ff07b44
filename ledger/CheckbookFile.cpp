#include "CheckbookFile.h"

#include "AppValues.h"
#include "Archive.h"
#include "QuilletDoc.h"
#include "TextTransform.h"

#include <algorithm>
#include <string_view>

#include <unistd.h>

namespace
{
const char kBeginAccount[] = "KEY_BA";
const char kEndAccount[] = "KEY_EA";
const char kBeginTransaction[] = "KEY_BT";
const char kBeginRecurring[] = "KEY_BR";
const char kCategoriesBegin[] = "KEY_CLS";
const char kCategoriesEnd[] = "KEY_CLE";
const char kDayChartBegin[] = "KEY_DCB";
const char kDayChartEnd[] = "KEY_DCE";
const char kPassword[] = "Copyright";
const char kCategoryName[] = "CategoryName";
const char kNumCategories[] = "numCategories";
const char kNumCatStart[] = "numCatStart";
const char kNumLookback[] = "numLookback";
const char kUpcomingDays[] = "upcomingDays";
const char kEndOfData[] = "END_OF_DATA";
const char kCleared[] = "clr";
const char kNotCleared[] = "nclr";

// ---------------------------------------------------------------- writing

class LedgerWriter
{
public:
    LedgerWriter(std::string& out, bool scramble) : m_archive(out), m_scramble(scramble) {}

    ArchiveWriter& Plain() { return m_archive; }
    // Ledger texts are scrambled on a copy; the records stay as they are.
    void Ledger(const std::string& text)
    {
        if (m_scramble)
            m_archive.WriteText(ScrambleText(text));
        else
            m_archive.WriteText(text);
    }

    void Transaction(const CTransaction& t)
    {
        m_archive.WriteText(kBeginTransaction);
        m_archive.WriteTime(t.m_date);
        Ledger(t.m_strCheckNumber);
        Ledger(t.m_strDescription);
        Ledger(t.m_strCategory);
        m_archive.WriteDouble(t.m_dAmount);
        m_archive.WriteInt32(t.m_bVoid);
        m_archive.WriteInt32(t.m_nFlag);
        m_archive.WriteText(t.m_bCleared ? kCleared : kNotCleared);
        m_archive.WriteDouble(t.m_dFee);
    }

    void Account(const CAccount& a)
    {
        m_archive.WriteText(kBeginAccount);
        Ledger(a.m_strName);
        Ledger(a.m_strNumber);
        Ledger(a.m_strOwner);
        Ledger(a.m_strTaxId);
        m_archive.WriteDouble(a.m_dOpeningBalance);
        for (const auto& t : a.m_transactions)
            Transaction(*t);
        m_archive.WriteText(kEndAccount);
    }

    void Recurring(const CRecurringTransaction& r)
    {
        m_archive.WriteText(kBeginRecurring);
        Ledger(r.m_strAccount);
        m_archive.WriteDouble(r.m_dAmount);
        m_archive.WriteTime(r.m_nextDate);
        Ledger(r.m_strDescription);
        Ledger(r.m_strCategory);
        m_archive.WriteText(r.m_strFrequency);
        m_archive.WriteText(r.m_strPeriods);
        m_archive.WriteInt32(r.m_nPeriodsDone);
        m_archive.WriteInt32(r.m_nFlag);
    }

private:
    ArchiveWriter m_archive;
    bool m_scramble;
};

// Room enough for the whole image, so that it is written in one piece
// instead of being moved as it grows: a record's fixed items take less
// than the allowance here, its texts what they hold.
size_t ImageRoom(const CQuilletDoc& doc, const std::string& version)
{
    constexpr size_t kRecord = 64;
    size_t room = 1024 + version.size() + g_strPasswordHash.size() + g_strCategoryAccount.size();
    for (const auto& account : doc.m_accounts) {
        room += kRecord + account->m_strName.size() + account->m_strNumber.size() + account->m_strOwner.size() +
                account->m_strTaxId.size();
        for (const auto& t : account->m_transactions)
            room += kRecord + t->m_strCheckNumber.size() + t->m_strDescription.size() + t->m_strCategory.size();
    }
    for (const auto& r : doc.m_recurring)
        room += 2 * kRecord + r->m_strAccount.size() + r->m_strDescription.size() + r->m_strCategory.size() +
                r->m_strFrequency.size() + r->m_strPeriods.size();
    if (doc.m_pCategoryList)
        for (const auto& category : doc.m_pCategoryList->m_categories)
            room += kRecord + category->m_strName.size();
    for (const std::string& name : doc.m_dayChartAccounts)
        room += kRecord + name.size();
    return room;
}

// ---------------------------------------------------------------- reading

// The application-wide values a file carries; taken over only once the
// whole file has been read, so a damaged file changes none of them.
struct FileSettings
{
    std::string categoryAccount = g_strCategoryAccount;
    int32_t numCategories = g_nNumCategories;
    int32_t startCategories = g_nStartCategories;
    int32_t lookback = g_nLookback;
    int32_t upcomingDays = g_nUpcomingDays;
    std::string passwordHash;
};

enum class ReadResult { Ok, Damaged, Denied };

class LedgerReader
{
public:
    explicit LedgerReader(const std::string& bytes) : m_archive(bytes) {}
    explicit LedgerReader(int fd) : m_archive(fd) {}

    ArchiveReader& Plain() { return m_archive; }
    void SetScramble(bool scramble) { m_scramble = scramble; }
    void Ledger(std::string& text)
    {
        m_archive.ReadText(text);
        if (m_scramble)
            text = UnscrambleText(text);
    }
    // A token that could not be read comes back empty, which matches no
    // marker and so ends every loop of the reader. It looks into the file's
    // bytes, which outlive the reader.
    std::string_view Token()
    {
        std::string_view token;
        m_archive.ReadToken(token);
        return token;
    }

    // Reads from the item after the leading marker.
    void Transaction(CTransaction& t)
    {
        m_archive.ReadTime(t.m_date);
        Ledger(t.m_strCheckNumber);
        Ledger(t.m_strDescription);
        Ledger(t.m_strCategory);
        m_archive.ReadDouble(t.m_dAmount);
        int32_t value = 0;
        m_archive.ReadInt32(value);
        t.m_bVoid = value;
        m_archive.ReadInt32(value);
        t.m_nFlag = value;
        t.m_bCleared = Token() == kCleared ? 1 : 0;
        m_archive.ReadDouble(t.m_dFee);
    }

    // The account's four texts and opening balance, then its register up
    // to the first token that is not a transaction marker.
    void Account(CAccount& a)
    {
        Ledger(a.m_strName);
        Ledger(a.m_strNumber);
        Ledger(a.m_strOwner);
        Ledger(a.m_strTaxId);
        m_archive.ReadDouble(a.m_dOpeningBalance);
        while (!m_archive.Failed() && Token() == kBeginTransaction) {
            auto t = std::make_unique<CTransaction>();
            Transaction(*t);
            a.m_transactions.push_back(std::move(t));
        }
    }

    void Recurring(CRecurringTransaction& r)
    {
        Ledger(r.m_strAccount);
        m_archive.ReadDouble(r.m_dAmount);
        m_archive.ReadTime(r.m_nextDate);
        Ledger(r.m_strDescription);
        Ledger(r.m_strCategory);
        m_archive.ReadText(r.m_strFrequency);
        m_archive.ReadText(r.m_strPeriods);
        int32_t value = 0;
        m_archive.ReadInt32(value);
        r.m_nPeriodsDone = value;
        m_archive.ReadInt32(value);
        r.m_nFlag = value;
    }

private:
    ArchiveReader m_archive;
    bool m_scramble = false;
};

ReadResult ReadDocument(CQuilletDoc& doc, LedgerReader& in, const PasswordPrompt& prompt, FileSettings& settings,
                        std::string& version)
{
    ArchiveReader& archive = in.Plain();
    archive.ReadText(version);  // any version reads the same way

    std::string_view token = in.Token();
    if (token == kPassword) {
        std::string storedHash;
        if (!archive.ReadText(storedHash))
            return ReadResult::Damaged;
        if (!prompt || !prompt(storedHash))
            return ReadResult::Denied;
        settings.passwordHash = storedHash;
        in.SetScramble(!storedHash.empty());
        token = in.Token();
    }

    while (!archive.Failed() && token == kBeginAccount) {
        auto account = std::make_unique<CAccount>();
        in.Account(*account);
        doc.m_accounts.push_back(std::move(account));
        token = in.Token();
    }

    while (!archive.Failed() && token == kBeginRecurring) {
        auto recurring = std::make_unique<CRecurringTransaction>();
        in.Recurring(*recurring);
        doc.m_recurring.push_back(std::move(recurring));
        token = in.Token();
    }

    if (!archive.Failed() && token == kCategoriesBegin) {
        std::vector<CCategory> categories;
        for (std::string_view name = in.Token(); !archive.Failed() && name != kCategoriesEnd; name = in.Token()) {
            CCategory& category = categories.emplace_back(std::string(name), 0);  // before the next read
            archive.ReadInt32(category.m_nFlag);
        }
        doc.m_pCategoryList->SetCategories(std::move(categories));
        token = in.Token();
    }

    if (!archive.Failed() && token == kDayChartBegin) {
        doc.ClearDayChartAccounts();
        int position = 0;
        for (std::string_view name = in.Token(); !archive.Failed() && name != kDayChartEnd; name = in.Token()) {
            doc.SetDayChartAccount(position, std::string(name));
            position = std::min(position + 1, 5);  // past the fifth every name is dropped
        }
        token = in.Token();
    }

    while (!archive.Failed() && token != kEndOfData) {
        if (token == kCategoryName)
            archive.ReadText(settings.categoryAccount);
        else if (token == kNumCategories)
            archive.ReadInt32(settings.numCategories);
        else if (token == kNumCatStart)
            archive.ReadInt32(settings.startCategories);
        else if (token == kNumLookback)
            archive.ReadInt32(settings.lookback);
        else if (token == kUpcomingDays)
            archive.ReadInt32(settings.upcomingDays);
        token = in.Token();
    }

    return archive.Failed() ? ReadResult::Damaged : ReadResult::Ok;
}

}  // namespace

std::string WriteCheckbook(const CQuilletDoc& doc)
{
    return WriteCheckbook(doc, g_strVersion);
}

std::string WriteCheckbook(const CQuilletDoc& doc, const std::string& version)
{
    std::string out;
    out.reserve(ImageRoom(doc, version));
    LedgerWriter writer(out, !g_strPasswordHash.empty());
    ArchiveWriter& plain = writer.Plain();

    plain.WriteText(version);
    if (!g_strPasswordHash.empty()) {
        plain.WriteText(kPassword);
        plain.WriteText(g_strPasswordHash);
    }
    for (const auto& account : doc.m_accounts)
        writer.Account(*account);
    for (const auto& recurring : doc.m_recurring)
        writer.Recurring(*recurring);

    plain.WriteText(kCategoriesBegin);
    if (doc.m_pCategoryList) {
        for (const auto& category : doc.m_pCategoryList->m_categories) {
            plain.WriteText(category->m_strName);
            plain.WriteInt32(category->m_nFlag);
        }
    }
    plain.WriteText(kCategoriesEnd);

    if (doc.IsDayChartSet()) {
        plain.WriteText(kDayChartBegin);
        for (const std::string& name : doc.m_dayChartAccounts)
            if (!name.empty())
                plain.WriteText(name);
        plain.WriteText(kDayChartEnd);
    }

    plain.WriteText(kCategoryName);
    plain.WriteText(g_strCategoryAccount);
    plain.WriteText(kNumCategories);
    plain.WriteInt32(g_nNumCategories);
    plain.WriteText(kNumCatStart);
    plain.WriteInt32(g_nStartCategories);
    plain.WriteText(kNumLookback);
    plain.WriteInt32(g_nLookback);
    plain.WriteText(kUpcomingDays);
    plain.WriteInt32(g_nUpcomingDays);
    plain.WriteText(kEndOfData);
    return out;
}

namespace
{
// Reads the document from in, and on failure leaves a new, empty one.
bool ReadFrom(CQuilletDoc& doc, LedgerReader& in, const PasswordPrompt& prompt, FileError& error,
              const std::string& fileName, std::string& version)
{
    error = FileError();
    doc.DeleteContents();

    FileSettings settings;
    const ReadResult result = ReadDocument(doc, in, prompt, settings, version);
    if (result != ReadResult::Ok) {
        // Nothing of a damaged or refused file stays: a new, empty document.
        doc.OnNewDocument();
        const bool denied = result == ReadResult::Denied;
        // A refused file leaves a document without a password.
        if (denied)
            g_strPasswordHash.clear();
        // A file that could not be read is reported as such, not as damaged.
        const int readError = in.Plain().ReadError();
        error = readError != 0 ? MakeFileError(FileError::NotFound, fileName, readError)
                               : MakeFileError(denied ? FileError::AccessDenied : FileError::Damaged, fileName);
        return false;
    }

    g_strPasswordHash = settings.passwordHash;
    g_strCategoryAccount = settings.categoryAccount;
    g_nNumCategories = settings.numCategories;
    g_nStartCategories = settings.startCategories;
    g_nLookback = settings.lookback;
    g_nUpcomingDays = settings.upcomingDays;

    for (const auto& account : doc.m_accounts)
        account->RecomputeBalances(0);
    doc.RebuildCategoryTotals();
    doc.SetModifiedFlag(false);
    return true;
}
}  // namespace

bool ReadCheckbook(CQuilletDoc& doc, const std::string& bytes, const PasswordPrompt& prompt, FileError& error,
                   const std::string& fileName)
{
    LedgerReader in(bytes);
    std::string version;
    return ReadFrom(doc, in, prompt, error, fileName, version);
}

bool ReadCheckbookFile(CQuilletDoc& doc, const std::string& path, const PasswordPrompt& prompt, FileError& error,
                       std::string* version)
{
    error = FileError();
    const std::string name = FileBaseName(path);
    const int fd = OpenRegularFile(path, error);
    if (fd < 0)
        return false;
    LedgerReader in(fd);
    bool read = true;
    if (in.Plain().AtEnd()) {
        // A file of zero bytes is an empty checkbook, unless it could not
        // be read at all.
        if (const int err = in.Plain().ReadError()) {
            error = MakeFileError(FileError::NotFound, name, err);
            read = false;
        }
    } else {
        std::string text;
        read = ReadFrom(doc, in, prompt, error, name, text);
        if (version)
            *version = text;
    }
    ::close(fd);
    return read;
}

bool LoadCheckbookFile(CQuilletDoc& doc, const std::string& path, const PasswordPrompt& prompt, FileError& error,
                       FileStamp* stamp)
{
    error = FileError();
    std::string bytes;
    FileStamp read;
    if (!ReadWholeFile(path, bytes, error, &read) || !LoadCheckbookImage(doc, bytes, prompt, error, FileBaseName(path)))
        return false;
    if (stamp)
        *stamp = read;
    return true;
}

bool LoadCheckbookImage(CQuilletDoc& doc, const std::string& bytes, const PasswordPrompt& prompt, FileError& error,
                        const std::string& fileName)
{
    error = FileError();
    CQuilletDoc fresh;
    // An empty file is a new checkbook; it carries no settings to take.
    if (!bytes.empty() && !ReadCheckbook(fresh, bytes, prompt, error, fileName))
        return false;
    doc.TakeContents(fresh);
    doc.SetModifiedFlag(false);
    return true;
}

bool SaveFileImage(const std::string& path, const std::string& image, FileError& error, SaveOutcome* outcome,
                   int backups, const BackupContents& contents)
{
    SaveOutcome local;
    SaveOutcome& out = outcome ? *outcome : local;
    out = SaveOutcome();
    CAtomicFile file(path);
    if (!file.Write(image, error))
        return false;
    // Only once the new version is safely on disk: a failed save keeps no
    // copy of a file it left alone.
    if (backups > 0 && file.Replaces())
        KeepBackup(file.Target(), image, backups, out.backup, out.backupProblem, contents);
    if (!file.Commit(error))
        return false;
    out.stamp = file.Stamp();
    return true;
}

bool SaveCheckbookFile(const CQuilletDoc& doc, const std::string& path, FileError& error, SaveOutcome* outcome,
                       int backups)
{
    return SaveFileImage(path, WriteCheckbook(doc), error, outcome, backups);
}

bool ReadCheckbookBytes(const std::string& path, std::string& bytes, FileError& error)
{
    return ReadWholeFile(path, bytes, error);
}

bool ReadCheckbookVersion(const std::string& bytes, std::string& version)
{
    ArchiveReader in(bytes);
    return in.ReadText(version);
}
