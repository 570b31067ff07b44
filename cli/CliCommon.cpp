#include "CliCommon.h"

#include "CheckbookFile.h"
#include "Cp1252.h"
#include "FileLock.h"
#include "Money.h"
#include "PasswordHash.h"
#include "QuilletDoc.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Cli
{
std::optional<std::string> ParsedArgs::Value(const std::string& option) const
{
    const auto it = values.find(option);
    if (it == values.end())
        return std::nullopt;
    return it->second;
}

int UsageError(std::ostream& err, const std::string& problem, const char* usage)
{
    err << "quillet-cli: " << problem << "\n" << usage;
    return BadUsage;
}

bool ParseArgs(const std::vector<std::string>& args, const OptionSpec& options, const char* usage, ParsedArgs& parsed,
               std::ostream& err)
{
    auto known = [](const std::vector<std::string>& list, const std::string& name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg == "-" || arg.size() < 2 || arg[0] != '-') {
            parsed.operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        if (name == "--help" || name == "-h" || known(options.flags, name)) {
            if (equals != std::string::npos) {
                UsageError(err, name + " takes no value.", usage);
                return false;
            }
            parsed.flags.insert(name == "-h" ? "--help" : name);
        } else if (name == "--password" || name == "--passphrase" || known(options.valued, name)) {
            std::string value;
            if (equals != std::string::npos) {
                value = arg.substr(equals + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                UsageError(err, name + " needs a value.", usage);
                return false;
            }
            parsed.values[name] = value;
        } else {
            UsageError(err, "unknown option " + name + ".", usage);
            return false;
        }
    }
    return true;
}

std::optional<int> StartCommand(const std::vector<std::string>& args, const OptionSpec& options, const char* usage,
                                size_t operands, const char* operandProblem, ParsedArgs& parsed, const Io& io)
{
    if (!ParseArgs(args, options, usage, parsed, io.err))
        return BadUsage;
    if (parsed.Has("--help")) {
        io.out << usage;
        return Success;
    }
    if (parsed.operands.size() != operands)
        return UsageError(io.err, operandProblem, usage);
    return std::nullopt;
}

std::string BaseName(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FormatFromName(const std::string& path)
{
    const std::string name = BaseName(path);
    const size_t dot = name.find_last_of('.');
    std::string ending = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    for (char& c : ending)
        if (c >= 'A' && c <= 'Z')
            c = char(c + ('a' - 'A'));
    return ending;
}

int ReadCheckbookImage(const std::string& path, FileKeys& keys, const Io& io, std::string& image)
{
    const std::string name = BaseName(path);
    FileError error;
    if (!ReadCheckbookBytes(path, image, error)) {
        io.err << error.message << "\n";
        return FileProblem;
    }
    bool noPassphrase = false;
    const PassphrasePrompt prompt = [&](const std::string& fileName, const PassphraseAttempt& attempt) {
        std::optional<std::string> typed = keys.passphrase ? keys.passphrase : io.env.passphraseVariable;
        if (!typed && io.env.askPassphrase)
            typed = io.env.askPassphrase("Passphrase for " + fileName + ": ");
        if (!typed) {
            noPassphrase = true;
            return SealStatus::NoPassphrase;
        }
        return attempt(CSecret::Take(*typed));
    };
    if (UnsealCheckbook(image, name, prompt, keys.sealKey, error))
        return Success;
    if (noPassphrase)
        io.err << "The file \"" << name
               << "\" is encrypted; give its passphrase with --passphrase or QUILLET_PASSPHRASE.\n";
    else
        io.err << error.message << "\n";
    return error.kind == FileError::PassphraseRefused ? PasswordProblem : FileProblem;
}

namespace
{
// Whether the file at path starts as an encrypted checkbook does. One that
// cannot be read is taken as plain: reading it then says why it cannot.
bool StartsSealed(const std::string& path)
{
    FileError error;
    const int fd = OpenRegularFile(path, error);
    if (fd < 0)
        return false;
    char head[64];
    const ssize_t got = ::read(fd, head, sizeof head);
    ::close(fd);
    return got > 0 && IsSealedImage(std::string(head, size_t(got)));
}
}  // namespace

int LoadCheckbook(const std::string& path, FileKeys keys, const Io& io, CQuilletDoc& doc, std::string* version,
                  FileKeys* opened)
{
    const std::string name = BaseName(path);
    // An encrypted checkbook is opened whole; a plain one is read as it
    // goes, so that one of millions of entries needs memory for its records
    // and not for a copy of the file as well.
    const bool sealed = StartsSealed(path);
    std::string bytes;
    if (sealed) {
        if (const int status = ReadCheckbookImage(path, keys, io, bytes))
            return status;
    } else {
        keys.sealKey.reset();
    }
    if (opened)
        *opened = keys;

    FileError error;
    const std::optional<std::string> password = keys.password;
    bool noPassword = false;
    const PasswordPrompt prompt = [&](const std::string& storedHash) {
        std::optional<std::string> typed = password ? password : io.env.passwordVariable;
        if (!typed && io.env.askPassword)
            typed = io.env.askPassword(name);
        if (!typed) {
            noPassword = true;
            return false;
        }
        if (opened)
            opened->password = typed;
        return CheckPassword(storedHash, PasswordBytes(*typed));
    };

    bool read = false;
    if (!sealed) {
        read = ReadCheckbookFile(doc, path, prompt, error, version);
    } else if (bytes.empty()) {  // a file of zero bytes is an empty checkbook
        read = true;
    } else {
        if (version)
            ReadCheckbookVersion(bytes, *version);
        read = ReadCheckbook(doc, bytes, prompt, error, name);
    }
    if (read)
        return Success;
    if (error.kind != FileError::AccessDenied) {
        io.err << error.message << "\n";
        return FileProblem;
    }
    if (noPassword)
        io.err << "The file \"" << name
               << "\" is protected by a password; give it with --password or QUILLET_PASSWORD.\n";
    else
        io.err << error.message << "\n";
    return PasswordProblem;
}

int LockCheckbook(const std::string& path, const Io& io, CFileLock& lock)
{
    FileError error;
    if (lock.Acquire(path, io.env.lockWaitMs, error))
        return Success;
    io.err << error.message << "\n";
    return FileProblem;
}

int LoadCheckbookToChange(const std::string& path, FileKeys keys, const Io& io, CQuilletDoc& doc, CFileLock& lock,
                          FileKeys* opened)
{
    FileKeys first;
    if (const int status = LoadCheckbook(path, keys, io, doc, nullptr, &first))
        return status;
    if (const int status = LockCheckbook(path, io, lock))
        return status;
    return LoadCheckbook(path, first, io, doc, nullptr, opened);
}

int SaveCheckbook(const CQuilletDoc& doc, const std::string& path, const Io& io, const std::string* version,
                  const SealKeyPtr& key)
{
    return SaveImage(version ? WriteCheckbook(doc, *version) : WriteCheckbook(doc), path, io, {key, key});
}

int SaveImage(const std::string& image, const std::string& path, const Io& io, const SealKeys& keys)
{
    FileError error;
    SaveOutcome outcome;
    const bool saved = ::SaveCheckbookImage(path, image, keys, error, &outcome);
    if (!outcome.backupProblem.empty())
        io.err << outcome.backupProblem << "\n";
    if (!saved) {
        io.err << error.message << "\n";
        return FileProblem;
    }
    return Success;
}

CAccount* RequireAccount(CQuilletDoc& doc, const std::string& name, const std::string& path, std::ostream& err)
{
    std::string bytes, bad;
    if (Utf8ToCp1252(name, bytes, bad))
        if (CAccount* account = doc.FindAccount(bytes))
            return account;
    err << "The checkbook \"" << BaseName(path) << "\" has no account \"" << Printable(name) << "\".";
    if (doc.m_accounts.empty()) {
        err << " It has no accounts at all.\n";
        return nullptr;
    }
    err << " Its accounts:";
    for (size_t i = 0; i < doc.m_accounts.size(); ++i)
        err << (i ? ", \"" : " \"") << Printable(Utf8(doc.m_accounts[i]->m_strName)) << "\"";
    err << ".\n";
    return nullptr;
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& problem)
{
    if (path == "-") {
        bytes.assign(std::istreambuf_iterator<char>(std::cin), {});
        return true;
    }
    const std::string name = BaseName(path);
    struct stat info = {};
    if (::stat(path.c_str(), &info) != 0) {
        problem = "The file \"" + name + "\" could not be found.";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!S_ISREG(info.st_mode) || !in) {
        problem = "The file \"" + name + "\" could not be read.";
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), {});
    if (in.bad()) {
        problem = "The file \"" + name + "\" could not be read.";
        return false;
    }
    return true;
}

bool SameFile(const std::string& a, const std::string& b)
{
    struct stat first = {}, second = {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string& problem)
{
    FileError error;
    if (::WriteFileAtomically(path, bytes, error))
        return true;
    problem = error.message;
    return false;
}

std::string Money(double value)
{
    return ::Money::Format(value);
}

double MoneyValue(double value)
{
    if (!std::isfinite(value))
        return value;  // JSON has no such number: it is written as null
    const std::string text = Money(value);
    double shown = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), shown);
    return shown + 0.0;
}

bool DaysOption(const ParsedArgs& parsed, const char* usage, std::ostream& err, std::optional<int>& days)
{
    const auto text = parsed.Value("--days");
    if (!text)
        return true;
    if (text->empty() || text->size() > 5 || text->find_first_not_of("0123456789") != std::string::npos) {
        UsageError(err, "--days takes a whole number of days from 0 to 99999.", usage);
        return false;
    }
    days = std::stoi(*text);
    return true;
}

void WarnLeftOut(std::ostream& err, int count, const std::string& what)
{
    if (count <= 0)
        return;
    err << "Warning: " << count << (count == 1 ? " " + what + " is" : " " + what + "s are")
        << " not a number (a damaged or hand-made file) and left out of the totals.\n";
}

std::string IsoDate(CTime date)
{
    return date.Format("%Y-%m-%d");
}

std::string Utf8(const std::string& bytes)
{
    return Cp1252ToUtf8(bytes);
}

std::string PathText(const std::string& path)
{
    return FindNonUtf8(path) == std::string::npos ? path : Cp1252ToUtf8(path);
}

std::string Printable(const std::string& utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        const bool c1 = c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0;
        if (c < 0x20 || c == 0x7F) {
            out.push_back('?');
        } else if (c1) {
            out.push_back('?');
            ++i;
        } else {
            out.push_back(char(c));
        }
    }
    return out;
}

namespace
{
// Terminal columns of a UTF-8 text, one per character.
size_t Width(const std::string& utf8)
{
    size_t width = 0;
    for (char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++width;
    return width;
}
}  // namespace

TextTable::TextTable(std::initializer_list<std::pair<const char*, Align>> columns)
{
    for (const auto& column : columns)
        AddColumn(column.first, column.second);
}

void TextTable::AddColumn(const std::string& heading, Align align)
{
    m_headings.push_back(heading);
    m_aligns.push_back(align);
}

void TextTable::AddRow(std::vector<std::string> cells)
{
    cells.resize(m_headings.size());
    for (std::string& cell : cells)
        cell = Printable(cell);
    m_rows.push_back(std::move(cells));
}

void TextTable::Print(std::ostream& out) const
{
    std::vector<size_t> widths(m_headings.size());
    for (size_t c = 0; c < m_headings.size(); ++c) {
        widths[c] = Width(m_headings[c]);
        for (const auto& row : m_rows)
            widths[c] = std::max(widths[c], Width(row[c]));
    }
    auto printRow = [&](const std::vector<std::string>& cells) {
        std::string line;
        for (size_t c = 0; c < cells.size(); ++c) {
            const std::string pad(widths[c] - Width(cells[c]), ' ');
            if (c > 0)
                line += "  ";
            line += m_aligns[c] == Right ? pad + cells[c] : cells[c] + pad;
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << "\n";
    };
    printRow(m_headings);
    std::vector<std::string> rule;
    for (size_t width : widths)
        rule.push_back(std::string(width, '-'));
    printRow(rule);
    for (const auto& row : m_rows)
        printRow(row);
}
}  // namespace Cli
