// encrypt and decrypt: a checkbook file encrypted with a passphrase, or
// stored plain again, in place. The checkbook inside stays byte for byte
// what it was.
#include "CheckbookFile.h"
#include "Commands.h"
#include "FileLock.h"
#include "QuilletDoc.h"

namespace Cli
{
namespace
{
const char kEncryptUsage[] =
    "Usage: quillet-cli encrypt [--passphrase PP] FILE.ql1\n"
    "Encrypts the checkbook with a passphrase. From then on Quillet and\n"
    "quillet-cli open it only with the passphrase, and the file shows nothing\n"
    "of what it holds. The passphrase comes from --passphrase (which other\n"
    "users of the computer can see in the list of running programs), from\n"
    "QUILLET_PASSPHRASE, or is asked twice on the terminal. Nobody can open the\n"
    "file without it, so keep it safe. The plain versions kept as backups are\n"
    "encrypted too. A password the checkbook has stays as it is.\n";
const char kDecryptUsage[] =
    "Usage: quillet-cli decrypt [--passphrase PP] FILE.ql1\n"
    "Stores the encrypted checkbook without encryption again: anyone who has\n"
    "the file can then read it. The encrypted version it replaces is kept\n"
    "among its backups.\n";

// Whether image is a checkbook the program reads. Its password does not
// matter: the structure is checked all the same.
bool IsCheckbook(const std::string& image, const std::string& name, const Io& io)
{
    CQuilletDoc doc;
    FileError error;
    if (image.empty() || ReadCheckbook(doc, image, [](const std::string&) { return true; }, error, name))
        return true;
    io.err << error.message << "\n";
    return false;
}

// The new passphrase: from the option, the variable, or typed twice.
int NewPassphrase(const FileKeys& keys, const std::string& name, const Io& io, CSecret& passphrase)
{
    std::optional<std::string> given = keys.passphrase ? keys.passphrase : io.env.passphraseVariable;
    if (!given && io.env.askPassphrase) {
        given = io.env.askPassphrase("New passphrase for " + name + ": ");
        if (given) {
            std::optional<std::string> again = io.env.askPassphrase("Type it again: ");
            const bool same = again && *again == *given;
            if (again)
                WipeString(*again);
            if (!same) {
                WipeString(*given);
                io.err << "The two passphrases differ; \"" << name << "\" is unchanged.\n";
                return PasswordProblem;
            }
        }
    }
    if (!given) {
        io.err << "Give the new passphrase of \"" << name << "\" with --passphrase or QUILLET_PASSPHRASE.\n";
        return PasswordProblem;
    }
    if (given->empty()) {
        io.err << "An empty passphrase would protect nothing; \"" << name << "\" is unchanged.\n";
        return PasswordProblem;
    }
    passphrase = CSecret::Take(*given);
    return Success;
}

int Refuse(const Io& io, const std::string& sentence)
{
    io.err << sentence << "\n";
    return BadUsage;
}

// What both commands share: the arguments, and the file read once before
// the lock is taken (so nobody waits on it while the user types).
std::optional<int> Start(const std::vector<std::string>& args, const char* usage, const char* command,
                         ParsedArgs& parsed, std::string& bytes, const Io& io)
{
    if (const auto done = StartCommand(args, {}, usage, 1, (std::string(command) + " takes one checkbook file.").c_str(),
                                       parsed, io))
        return done;
    if (parsed.Password())
        return UsageError(io.err, std::string(command) + " takes no password; the checkbook's password stays as it is.",
                          usage);
    FileError error;
    if (!ReadCheckbookBytes(parsed.operands[0], bytes, error)) {
        io.err << error.message << "\n";
        return FileProblem;
    }
    return std::nullopt;
}
}  // namespace

int RunEncrypt(const std::vector<std::string>& args, const Io& io)
{
    ParsedArgs parsed;
    std::string bytes;
    if (const auto done = Start(args, kEncryptUsage, "encrypt", parsed, bytes, io))
        return *done;
    const std::string& path = parsed.operands[0];
    const std::string name = BaseName(path);
    const auto refuseEncrypted = [&] {
        return Refuse(io, "The checkbook \"" + name +
                              "\" is encrypted already. Its passphrase can be changed in Quillet (File, "
                              "Encryption...).");
    };
    if (IsSealedImage(bytes))
        return refuseEncrypted();
    if (!IsCheckbook(bytes, name, io))
        return FileProblem;

    CSecret passphrase;
    if (const int status = NewPassphrase(parsed.Keys(), name, io, passphrase))
        return status;
    SealKeyPtr key;
    const SealStatus made = CSealKey::Make(passphrase, key);
    passphrase = CSecret();
    if (made != SealStatus::Ok) {
        io.err << SealError(made, name).message << "\n";
        return FileProblem;
    }

    CFileLock lock;
    if (const int status = LockCheckbook(path, io, lock))
        return status;
    FileError error;
    if (!ReadCheckbookBytes(path, bytes, error)) {
        io.err << error.message << "\n";
        return FileProblem;
    }
    if (IsSealedImage(bytes))
        return refuseEncrypted();
    if (!IsCheckbook(bytes, name, io))
        return FileProblem;
    if (const int status = SaveImage(bytes, path, io, {key, nullptr}))
        return status;
    io.out << "The checkbook \"" << name
           << "\" is encrypted. Keep its passphrase safe: without it nobody can open the file.\n";
    return Success;
}

int RunDecrypt(const std::vector<std::string>& args, const Io& io)
{
    ParsedArgs parsed;
    std::string bytes;
    if (const auto done = Start(args, kDecryptUsage, "decrypt", parsed, bytes, io))
        return *done;
    const std::string& path = parsed.operands[0];
    const std::string name = BaseName(path);
    if (!IsSealedImage(bytes))
        return Refuse(io, "The checkbook \"" + name + "\" is not encrypted.");

    FileKeys keys = parsed.Keys();
    std::string image;
    if (const int status = ReadCheckbookImage(path, keys, io, image))
        return status;
    CFileLock lock;
    if (const int status = LockCheckbook(path, io, lock))
        return status;
    // The key at hand opens it again without asking, unless it was changed.
    if (const int status = ReadCheckbookImage(path, keys, io, image))
        return status;
    if (!keys.sealKey)
        return Refuse(io, "The checkbook \"" + name + "\" is not encrypted.");
    if (!IsCheckbook(image, name, io))
        return FileProblem;
    if (const int status = SaveImage(image, path, io, {nullptr, keys.sealKey}))
        return status;
    io.out << "The checkbook \"" << name
           << "\" is stored without encryption now: anyone who has the file can read it.\n";
    return Success;
}
}  // namespace Cli
