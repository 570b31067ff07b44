#pragma once
// What went wrong with a file, in one sentence for the user.

#include <string>

struct FileError
{
    enum Kind
    {
        None,
        NotFound,      // the file does not exist or cannot be opened
        Damaged,       // truncated, or not a checkbook at all
        AccessDenied,  // the password was refused or the prompt cancelled
        PassphraseRefused,  // an encrypted file's passphrase was wrong or not given
        WriteFailed,   // the file could not be written; the old one is untouched
        Locked,        // another program is changing the file right now
    };
    Kind kind = None;
    std::string message;  // one plain sentence naming the file, for the user
};

// The error of that kind with its sentence; err is the errno behind it.
FileError MakeFileError(FileError::Kind kind, const std::string& fileName, int err = 0);

// The last part of a path.
std::string FileBaseName(const std::string& path);

// strerror's text, lower-cased at the start, to sit inside a sentence.
std::string ErrorReason(int err);
