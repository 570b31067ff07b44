#pragma once
// What every sub-command of quillet-cli shares: its options, reading a
// (possibly protected) checkbook, money and date texts, aligned tables.

#include "Cli.h"
#include "SealedCheckbook.h"
#include "Time.h"

#include <initializer_list>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

class CAccount;
class CFileLock;
class CQuilletDoc;

namespace Cli
{
struct Io
{
    std::ostream& out;
    std::ostream& err;
    const Environment& env;
};

// What opens a checkbook: the password and passphrase the command line
// gave and, once it has been read, the password typed and the key of an
// encrypted file, which open it again (a second read under the lock) and
// encrypt it when it is saved.
struct FileKeys
{
    std::optional<std::string> password;
    std::optional<std::string> passphrase;
    SealKeyPtr sealKey;
};

// A sub-command's options: --help (-h), --password and --passphrase are
// always known.
struct OptionSpec
{
    std::vector<std::string> flags;   // take no value
    std::vector<std::string> valued;  // take one value: "--x V", "--x=V", "-o V"
};

struct ParsedArgs
{
    std::set<std::string> flags;
    std::map<std::string, std::string> values;
    std::vector<std::string> operands;

    bool Has(const std::string& flag) const { return flags.count(flag) != 0; }
    std::optional<std::string> Value(const std::string& option) const;
    std::optional<std::string> Password() const { return Value("--password"); }
    FileKeys Keys() const { return {Password(), Value("--passphrase"), nullptr}; }
};

// Usage problem: says it, then the command's usage; BadUsage.
int UsageError(std::ostream& err, const std::string& problem, const char* usage);
// False (after UsageError) when the arguments do not fit the options given.
bool ParseArgs(const std::vector<std::string>& args, const OptionSpec& options, const char* usage, ParsedArgs& parsed,
               std::ostream& err);

// The start every command shares: parse the arguments, answer --help,
// check the number of operands. A status to end with, or none to go on.
std::optional<int> StartCommand(const std::vector<std::string>& args, const OptionSpec& options, const char* usage,
                                size_t operands, const char* operandProblem, ParsedArgs& parsed, const Io& io);

std::string BaseName(const std::string& path);
// The format a file name's ending names ("csv", "qif"), in small letters;
// what the user gets when --format is left out.
std::string FormatFromName(const std::string& path);

// The plain image of the checkbook file at path: an encrypted one is opened
// with keys.sealKey when that is its key, or else with the passphrase from
// the option, QUILLET_PASSPHRASE or the terminal, in that order; keys.sealKey
// becomes the key it opened with. Success, or the status after the reason
// has been written to err.
int ReadCheckbookImage(const std::string& path, FileKeys& keys, const Io& io, std::string& image);

// Reads the checkbook at path (ReadCheckbookImage), asking for its
// password through the option, QUILLET_PASSWORD or the terminal, in that
// order. opened, when given, gets what opened it. Success, or the status
// after the reason has been written to err.
int LoadCheckbook(const std::string& path, FileKeys keys, const Io& io, CQuilletDoc& doc,
                  std::string* version = nullptr, FileKeys* opened = nullptr);

// Commands that change a checkbook take its lock before they read it and
// keep it until it is written, so that two of them (or one and the
// window's save) never lose each other's changes. Success, or the status
// after the reason has been written to err.
int LockCheckbook(const std::string& path, const Io& io, CFileLock& lock);
// LoadCheckbook for a command that writes the file back: the password is
// asked for first, then the lock is taken and the file read under it, so
// that nobody waits on the lock while the user types.
int LoadCheckbookToChange(const std::string& path, FileKeys keys, const Io& io, CQuilletDoc& doc, CFileLock& lock,
                          FileKeys* opened = nullptr);
// Writes a checkbook file image, encrypted under key when one is given, keeping the
// version it replaces among the file's backups; a backup that could not
// be made is said on err, the save stands. Success, or the status after
// the reason.
int SaveImage(const std::string& image, const std::string& path, const Io& io, const SealKeys& keys);
// SaveImage of the document, with version at its head if given.
int SaveCheckbook(const CQuilletDoc& doc, const std::string& path, const Io& io, const std::string* version = nullptr,
                  const SealKeyPtr& key = nullptr);

// The account named on the command line (UTF-8); null, after saying which
// accounts there are, when the checkbook has none of that name.
CAccount* RequireAccount(CQuilletDoc& doc, const std::string& name, const std::string& path, std::ostream& err);

// The whole of a regular file, or of standard input for "-". False with a
// sentence in problem.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& problem);

// Whether two paths name one existing file (links and "./" included).
bool SameFile(const std::string& a, const std::string& b);

// Writes bytes to a temporary file beside path and renames it over path,
// so a reader never sees half a file. False with a sentence in problem.
bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string& problem);

// Money as the program shows it everywhere: "%.2f" with a point whatever
// the locale, 0.00 for a negative zero, a marker for NaN and infinities.
std::string Money(double value);
// The value as Money shows it, as a number for JSON; NaN and infinities
// stay as they are, which JSON writes as null.
double MoneyValue(double value);

// The --days option: days stays empty when it is not given; false, after
// UsageError, when it is not a whole number from 0 to 99999.
bool DaysOption(const ParsedArgs& parsed, const char* usage, std::ostream& err, std::optional<int>& days);
// Says on err that `count` values (each a `what`, such as "balance") are
// not numbers and are left out of the totals; nothing when count is 0.
void WarnLeftOut(std::ostream& err, int count, const std::string& what);
std::string IsoDate(CTime date);  // "2026-12-06", local date

// Ledger bytes (Windows-1252) as UTF-8 for the terminal and JSON.
std::string Utf8(const std::string& bytes);
// A path as given, for JSON, which holds UTF-8 only: a name in another
// encoding is read as Windows-1252 rather than refused.
std::string PathText(const std::string& path);

// Columns aligned for a terminal; cells are UTF-8. Control characters a
// file may hold are shown as "?" so they cannot drive the terminal.
class TextTable
{
public:
    enum Align { Left, Right };
    TextTable() = default;
    TextTable(std::initializer_list<std::pair<const char*, Align>> columns);
    void AddColumn(const std::string& heading, Align align);
    void AddRow(std::vector<std::string> cells);
    void Print(std::ostream& out) const;

private:
    std::vector<std::string> m_headings;
    std::vector<Align> m_aligns;
    std::vector<std::vector<std::string>> m_rows;
};

std::string Printable(const std::string& utf8);
}  // namespace Cli
