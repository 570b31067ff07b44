#include "CheckbookFile.h"

#include "AppValues.h"
#include "Archive.h"
#include "QuilletDoc.h"
#include "TextTransform.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
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
    void Ledger(const std::string& text) { m_archive.WriteText(m_scramble ? ScrambleText(text) : text); }

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

// Sorted by bytes with repeated names dropped (the first one stays), as
// inserting them one by one would give, but in n log n: a file may hold
// any number of names.
void SetCategories(CCategoryList& list, std::vector<CCategory>& read)
{
    std::vector<size_t> order(read.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&read](size_t a, size_t b) {
        return CompareBytes(read[a].m_strName, read[b].m_strName) < 0;
    });
    list.RemoveAll();
    list.m_categories.reserve(order.size());
    for (size_t i : order) {
        if (!list.m_categories.empty() && list.m_categories.back()->m_strName == read[i].m_strName)
            continue;
        list.m_categories.push_back(std::make_unique<CCategory>(std::move(read[i].m_strName), read[i].m_nFlag));
    }
}

ReadResult ReadDocument(CQuilletDoc& doc, LedgerReader& in, const PasswordPrompt& prompt, FileSettings& settings)
{
    ArchiveReader& archive = in.Plain();
    std::string version;
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
            int32_t flag = 0;
            archive.ReadInt32(flag);
            categories.emplace_back(std::string(name), flag);
        }
        SetCategories(*doc.m_pCategoryList, categories);
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

// ---------------------------------------------------------------- messages

std::string BaseName(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string TheFile(const std::string& fileName)
{
    return fileName.empty() ? std::string("The file") : "The file \"" + fileName + "\"";
}

// strerror's text, lower-cased at the start, to sit inside a sentence.
std::string Reason(int err)
{
    std::string text = std::strerror(err);
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z' && !(text.size() > 1 && text[1] >= 'A' && text[1] <= 'Z'))
        text[0] = char(text[0] - 'A' + 'a');
    return text;
}

FileError MakeError(FileError::Kind kind, const std::string& fileName, int err = 0)
{
    FileError error;
    error.kind = kind;
    switch (kind) {
    case FileError::None:
        break;
    case FileError::NotFound:
        error.message = err == ENOENT || err == ENOTDIR
                            ? TheFile(fileName) + " could not be found."
                            : TheFile(fileName) + " could not be opened: " + Reason(err) + ".";
        break;
    case FileError::Damaged:
        error.message = TheFile(fileName) + " is damaged or is not a checkbook file.";
        break;
    case FileError::AccessDenied:
        error.message = "Access to " + (fileName.empty() ? std::string("the file") : "\"" + fileName + "\"") +
                        " was denied because the password was not given correctly.";
        break;
    case FileError::WriteFailed:
        error.message = TheFile(fileName) + " could not be saved: " + Reason(err) + ".";
        break;
    }
    return error;
}

// ---------------------------------------------------------------- files

// Reads a whole regular file. Anything else (a folder, a pipe, a device)
// is refused before reading, so that nothing can block or run forever.
bool ReadWholeFile(const std::string& path, std::string& bytes, FileError& error)
{
    error = FileError();
    const std::string name = BaseName(path);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        error = MakeError(FileError::NotFound, name, errno);
        return false;
    }
    struct stat st = {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        error = MakeError(FileError::Damaged, name);
        return false;
    }
    bytes.clear();
    bytes.reserve(size_t(st.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            error = MakeError(FileError::NotFound, name, err);
            return false;
        }
        bytes.append(buffer, size_t(n));
    }
    ::close(fd);
    return true;
}

bool WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += size_t(n);
    }
    return true;
}

mode_t NewFileMode()
{
    // umask can only be read by setting it; put it straight back.
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return 0666 & ~mask;
}

// Writes beside the target and renames over it, so the old file is either
// untouched or wholly replaced, never half written.
bool WriteFileAtomically(const std::string& path, const std::string& bytes, FileError& error)
{
    const std::string name = BaseName(path);
    std::string target = path;
    struct stat st = {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        // Replace the file the link points to, not the link itself.
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            target = resolved;
            std::free(resolved);
        }
    }

    mode_t mode = NewFileMode();
    bool exists = false;
    if (::stat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            error = MakeError(FileError::WriteFailed, name, EISDIR);
            return false;
        }
        // Renaming would replace a file the user has made read-only; refuse
        // as writing it in place would.
        if (::access(target.c_str(), W_OK) != 0) {
            error = MakeError(FileError::WriteFailed, name, errno);
            return false;
        }
        exists = true;
        mode = st.st_mode & 07777;
    }

    const size_t slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temp = (slash == std::string::npos ? std::string() : folder) + "." + base + ".XXXXXX";

    const int fd = ::mkostemp(&temp[0], O_CLOEXEC);
    if (fd < 0) {
        error = MakeError(FileError::WriteFailed, name, errno);
        return false;
    }
    int err = 0;
    if (!WriteAll(fd, bytes) || ::fchmod(fd, mode) != 0 || ::fsync(fd) != 0)
        err = errno;
    if (exists && err == 0 && (st.st_uid != ::geteuid() || st.st_gid != ::getegid())) {
        if (::fchown(fd, st.st_uid, st.st_gid) != 0) {
            // Only the administrator may keep another user's ownership;
            // otherwise the file becomes the saver's, like any new file.
        }
    }
    if (::close(fd) != 0 && err == 0)
        err = errno;
    if (err == 0 && ::rename(temp.c_str(), target.c_str()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(temp.c_str());
        error = MakeError(FileError::WriteFailed, name, err);
        return false;
    }

    // Make the rename itself durable.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}
}  // namespace

std::string WriteCheckbook(const CQuilletDoc& doc)
{
    std::string out;
    LedgerWriter writer(out, !g_strPasswordHash.empty());
    ArchiveWriter& plain = writer.Plain();

    plain.WriteText(g_strVersion);
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

bool ReadCheckbook(CQuilletDoc& doc, const std::string& bytes, const PasswordPrompt& prompt, FileError& error,
                   const std::string& fileName)
{
    error = FileError();
    doc.DeleteContents();
    g_strPasswordHash.clear();

    FileSettings settings;
    LedgerReader in(bytes);
    const ReadResult result = ReadDocument(doc, in, prompt, settings);
    if (result != ReadResult::Ok) {
        // Nothing of a damaged or refused file stays: a new, empty document.
        doc.OnNewDocument();
        error = MakeError(result == ReadResult::Denied ? FileError::AccessDenied : FileError::Damaged, fileName);
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

bool LoadCheckbookFile(CQuilletDoc& doc, const std::string& path, const PasswordPrompt& prompt, FileError& error)
{
    error = FileError();
    doc.DeleteContents();
    std::string bytes;
    if (!ReadWholeFile(path, bytes, error)) {
        doc.OnNewDocument();
        return false;
    }
    if (bytes.empty()) {
        // An empty file is a new checkbook; it carries no settings to take.
        doc.SetModifiedFlag(false);
        return true;
    }
    return ReadCheckbook(doc, bytes, prompt, error, BaseName(path));
}

bool SaveCheckbookFile(const CQuilletDoc& doc, const std::string& path, FileError& error)
{
    error = FileError();
    return WriteFileAtomically(path, WriteCheckbook(doc), error);
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
