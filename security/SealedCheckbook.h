#pragma once
// Checkbook files that may be encrypted, as the window and the command line
// read and write them: the encryption wraps the file's bytes, and the
// checkbook format inside stays what it is.

#include "CheckbookFile.h"
#include "SealedFile.h"

#include <functional>
#include <string>

// Tries one passphrase on the file being opened: Ok when it opened it,
// WrongPassphrase when another may, anything else when none will.
using PassphraseAttempt = std::function<SealStatus(const CSecret& passphrase)>;
// Asks for the passphrase of the encrypted file fileName and tries what
// the user gives until attempt says other than WrongPassphrase or the user
// gives up. Returns attempt's last answer, NoPassphrase when none was given.
using PassphrasePrompt = std::function<SealStatus(const std::string& fileName, const PassphraseAttempt& attempt)>;

// The error a failed opening of fileName reports.
FileError SealError(SealStatus status, const std::string& fileName);

// Turns the bytes of a checkbook file into the plain image inside. A plain
// file stays as it is and key becomes null. An encrypted one is checked
// first (a damaged file asks for nothing), then opened with key when that
// is its key, or else with a passphrase from prompt; key becomes the key
// it opened with. False with the reason in error, bytes then empty.
bool UnsealCheckbook(std::string& bytes, const std::string& fileName, const PassphrasePrompt& prompt,
                     SealKeyPtr& key, FileError& error);

// LoadCheckbookFile for a file that may be encrypted; key becomes the key
// it opened with (null for a plain file).
bool OpenCheckbookFile(CQuilletDoc& doc, const std::string& path, const PassphrasePrompt& passphrasePrompt,
                       const PasswordPrompt& passwordPrompt, FileError& error, FileStamp* stamp, SealKeyPtr& key);

// How a save writes the file: encrypted under key, or plain when key is
// null. earlier is the key the file had when it was read or last saved:
// its backups are brought under the new key when it changes.
struct SealKeys
{
    SealKeyPtr key;
    SealKeyPtr earlier;
};

// SaveFileImage of a plain image, encrypted under keys.key when given. An
// encrypted save leaves no plain copy beside the file: the version it
// replaces and the older backups are kept encrypted under the same key. A
// save that changes nothing writes the file's own bytes again, so it keeps
// no backup of itself.
bool SaveCheckbookImage(const std::string& path, const std::string& image, const SealKeys& keys, FileError& error,
                        SaveOutcome* outcome = nullptr);
