#include "SealedCheckbook.h"

#include "FileAccess.h"

namespace
{
// bytes, a checkbook file or one of its backups, as an encrypted file
// under keys.key keeps it: a plain one encrypted, one under the earlier
// key brought under the new one. Others (under this key already, or under
// a key not at hand) stay as they are: they are encrypted anyway.
std::string UnderKey(const std::string& bytes, const SealKeys& keys)
{
    if (!IsSealedImage(bytes))
        return SealImage(bytes, *keys.key);
    std::string image;
    if (keys.earlier && keys.earlier != keys.key && keys.earlier->Fits(bytes) &&
        OpenSealedImage(bytes, *keys.earlier, image) == SealStatus::Ok)
        return SealImage(image, *keys.key);
    return bytes;
}

// The backups made before encryption was turned on or its passphrase
// changed would otherwise still show what the checkbook held.
void SealBackups(const std::string& path, const SealKeys& keys, std::string& problem)
{
    std::string target;
    if (!ResolveSaveTarget(path, target))
        return;
    for (const std::string& backup : ListBackups(target)) {
        std::string bytes;
        FileError error;
        if (!ReadWholeFile(backup, bytes, error))
            continue;
        const std::string sealed = UnderKey(bytes, keys);
        if (sealed != bytes && !WriteFileAtomically(backup, sealed, error) && problem.empty())
            problem = "The backup \"" + FileBaseName(backup) + "\" could not be encrypted: " + error.message;
    }
}

// The file's own bytes when they already hold image under key.
bool HoldsAlready(const std::string& path, const std::string& image, const CSealKey& key, std::string& sealed)
{
    std::string current, inside;
    FileError ignored;
    if (!ReadWholeFile(path, current, ignored) || !key.Fits(current) ||
        OpenSealedImage(current, key, inside) != SealStatus::Ok || inside != image)
        return false;
    sealed.swap(current);
    return true;
}
}  // namespace

FileError SealError(SealStatus status, const std::string& fileName)
{
    const std::string file = fileName.empty() ? std::string("The file") : "The file \"" + fileName + "\"";
    FileError error;
    error.kind = FileError::Damaged;
    switch (status) {
    case SealStatus::Ok:
        return FileError();
    case SealStatus::WrongPassphrase:
        error.kind = FileError::PassphraseRefused;
        error.message = "The passphrase for " +
                        (fileName.empty() ? std::string("the file") : "\"" + fileName + "\"") + " is not correct.";
        break;
    case SealStatus::NoPassphrase:
        error.kind = FileError::PassphraseRefused;
        error.message = file + " is encrypted and was not opened: no passphrase was given.";
        break;
    case SealStatus::Damaged:
        error.message = file + " is encrypted, but it has been cut short or changed since it was saved, so "
                               "nothing of it can be read. Its backups may still open.";
        break;
    case SealStatus::NewerFormat:
        error.message = file + " is encrypted in a newer format than this version of Quillet reads.";
        break;
    case SealStatus::UnusualCost:
        error.message = file + " is encrypted with key settings Quillet does not accept (weaker, or far more "
                               "costly, than its own); nothing of it was read.";
        break;
    case SealStatus::OutOfMemory:
        error.message = "There is not enough memory to work out the key of " +
                        (fileName.empty() ? std::string("the file") : "\"" + fileName + "\"") +
                        " from its passphrase.";
        break;
    }
    return error;
}

bool UnsealCheckbook(std::string& bytes, const std::string& fileName, const PassphrasePrompt& prompt,
                     SealKeyPtr& key, FileError& error)
{
    error = FileError();
    if (!IsSealedImage(bytes)) {
        key.reset();
        return true;
    }
    std::string image;
    SealStatus status = CheckSealedImage(bytes);
    if (status == SealStatus::Ok && key && key->Fits(bytes)) {
        status = OpenSealedImage(bytes, *key, image);
    } else if (status == SealStatus::Ok) {
        SealKeyPtr opened;
        const PassphraseAttempt attempt = [&](const CSecret& passphrase) {
            SealStatus tried = CSealKey::ForImage(bytes, passphrase, opened);
            if (tried == SealStatus::Ok)
                tried = OpenSealedImage(bytes, *opened, image);
            return tried;
        };
        status = prompt ? prompt(fileName, attempt) : SealStatus::NoPassphrase;
        if (status == SealStatus::Ok && !opened)
            status = SealStatus::NoPassphrase;
        if (status == SealStatus::Ok)
            key = opened;
    }
    if (status != SealStatus::Ok) {
        bytes.clear();
        error = SealError(status, fileName);
        return false;
    }
    bytes.swap(image);
    return true;
}

bool OpenCheckbookFile(CQuilletDoc& doc, const std::string& path, const PassphrasePrompt& passphrasePrompt,
                       const PasswordPrompt& passwordPrompt, FileError& error, FileStamp* stamp, SealKeyPtr& key)
{
    error = FileError();
    const std::string name = FileBaseName(path);
    std::string bytes;
    FileStamp read;
    // Always asked: a key at hand from another file is not this one's.
    SealKeyPtr opened;
    if (!ReadWholeFile(path, bytes, error, &read) || !UnsealCheckbook(bytes, name, passphrasePrompt, opened, error) ||
        !LoadCheckbookImage(doc, bytes, passwordPrompt, error, name))
        return false;
    key = opened;
    if (stamp)
        *stamp = read;
    return true;
}

bool SaveCheckbookImage(const std::string& path, const std::string& image, const SealKeys& keys, FileError& error,
                        SaveOutcome* outcome)
{
    if (!keys.key)
        return SaveFileImage(path, image, error, outcome);
    std::string sealed;
    if (!HoldsAlready(path, image, *keys.key, sealed))
        sealed = SealImage(image, *keys.key);
    SaveOutcome local;
    SaveOutcome& out = outcome ? *outcome : local;
    const BackupContents contents = [&keys](const std::string& replaced) { return UnderKey(replaced, keys); };
    if (!SaveFileImage(path, sealed, error, &out, kKeptBackups, contents))
        return false;
    SealBackups(path, keys, out.backupProblem);
    return true;
}
