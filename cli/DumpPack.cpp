// dump: a checkbook as JSON; pack: such JSON back into a checkbook file.
#include "CheckbookFile.h"
#include "CheckbookJson.h"
#include "Commands.h"
#include "FileLock.h"
#include "QuilletDoc.h"

#include <iostream>
#include <iterator>

namespace Cli
{
namespace
{
const char kDumpUsage[] =
    "Usage: quillet-cli dump [--password PW] [--passphrase PP] FILE.ql1\n"
    "Writes the checkbook as JSON on standard output.\n";
const char kPackUsage[] =
    "Usage: quillet-cli pack [--passphrase PP] JSON OUT.ql1\n"
    "Writes a checkbook file from JSON as dump writes it (\"-\" reads it from\n"
    "standard input). Every field dump writes must be there, except the\n"
    "balances, which are worked out; a file OUT replaces is kept among its\n"
    "backups. An encrypted OUT stays encrypted under its passphrase, which is\n"
    "asked for as when it is read.\n";

// The key of the file at path when it is an encrypted checkbook: pack
// writes it encrypted again rather than leave a plain file in its place.
// A file that is not encrypted (or not there) has none.
int KeyOfExisting(const std::string& path, FileKeys& keys, const Io& io)
{
    std::string bytes;
    FileError error;
    if (!ReadCheckbookBytes(path, bytes, error) || !IsSealedImage(bytes)) {
        keys.sealKey.reset();
        return Success;
    }
    return ReadCheckbookImage(path, keys, io, bytes);
}
}  // namespace

int RunDump(const std::vector<std::string>& args, const Io& io)
{
    ParsedArgs parsed;
    if (const auto done = StartCommand(args, {}, kDumpUsage, 1,
                                       "dump takes one checkbook file.", parsed, io))
        return *done;

    const std::string& path = parsed.operands[0];
    CQuilletDoc doc;
    std::string version;
    if (const int status = LoadCheckbook(path, parsed.Keys(), io, doc, &version))
        return status;

    WriteCheckbookJson(io.out, doc, version);
    io.out << "\n";
    io.out.flush();
    if (!io.out) {
        io.err << "The checkbook \"" << BaseName(path) << "\" could not be written to standard output.\n";
        return FileProblem;
    }
    return Success;
}

int RunPack(const std::vector<std::string>& args, const Io& io)
{
    ParsedArgs parsed;
    if (const auto done = StartCommand(args, {}, kPackUsage, 2,
                                       "pack takes a JSON file and the checkbook file to write.", parsed, io))
        return *done;
    if (parsed.Password())
        return UsageError(io.err, "pack takes no password; the JSON carries the password hash.", kPackUsage);

    const std::string& jsonPath = parsed.operands[0];
    const std::string& outPath = parsed.operands[1];
    const std::string name = jsonPath == "-" ? std::string("standard input") : "\"" + BaseName(jsonPath) + "\"";
    std::string text;
    if (jsonPath == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), {});
    } else {
        FileError error;
        if (!ReadCheckbookBytes(jsonPath, text, error)) {
            // The reader's wording speaks of checkbooks; this file is JSON.
            if (error.kind == FileError::Damaged)
                io.err << "The file " << name << " is not a readable file.\n";
            else
                io.err << error.message << "\n";
            return FileProblem;
        }
    }

    Json json;
    try {
        json = Json::parse(text);
    } catch (const Json::exception& e) {
        std::string what = e.what();
        const size_t bracket = what.find("] ");
        if (what.compare(0, 1, "[") == 0 && bracket != std::string::npos)
            what = what.substr(bracket + 2);
        io.err << "The file " << name << " is not valid JSON (" << what << ").\n";
        return FileProblem;
    }

    CQuilletDoc doc;
    std::string version, problem;
    if (!CheckbookFromJson(json, doc, version, problem)) {
        io.err << "The file " << name << " does not describe a checkbook: " << problem << ".\n";
        return FileProblem;
    }
    // Asked for before the lock is taken, and checked again under it.
    FileKeys keys = parsed.Keys();
    if (const int status = KeyOfExisting(outPath, keys, io))
        return status;
    if (keys.passphrase && !keys.sealKey)
        return UsageError(io.err,
                          "OUT is not encrypted; --passphrase only opens an encrypted one. Encrypt the new file "
                          "with quillet-cli encrypt.",
                          kPackUsage);
    CFileLock lock;
    if (const int status = LockCheckbook(outPath, io, lock))
        return status;
    if (const int status = KeyOfExisting(outPath, keys, io))
        return status;
    return SaveCheckbook(doc, outPath, io, &version, keys.sealKey);
}
}  // namespace Cli
