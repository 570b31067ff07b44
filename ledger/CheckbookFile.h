#pragma once
// Reading and writing checkbook files (.ql1).

#include <functional>
#include <string>

class CQuilletDoc;

struct FileError
{
    enum Kind
    {
        None,
        NotFound,      // the file does not exist or cannot be opened
        Damaged,       // truncated, or not a checkbook at all
        AccessDenied,  // the password was refused or the prompt cancelled
        WriteFailed,   // the file could not be written; the old one is untouched
    };
    Kind kind = None;
    std::string message;  // one plain sentence naming the file, for the user
};

// Asked with the stored hash when a protected file is read; answers whether
// the user gave the right password.
using PasswordPrompt = std::function<bool(const std::string& storedHash)>;

// The whole file image of a document (texts transformed when
// g_strPasswordHash is set).
std::string WriteCheckbook(const CQuilletDoc& doc);

// Reads a file image into a cleared document. On failure the document is
// cleared again and error says why. Sets the application-wide values the
// file carries.
bool ReadCheckbook(CQuilletDoc& doc, const std::string& bytes, const PasswordPrompt& prompt,
                   FileError& error, const std::string& fileName = std::string());

// Files: load clears the document first; a file of zero bytes opens as an
// empty checkbook. Save writes a temporary file beside the target, flushes
// it and renames it over the old one, keeping its permissions.
bool LoadCheckbookFile(CQuilletDoc& doc, const std::string& path, const PasswordPrompt& prompt,
                       FileError& error);
bool SaveCheckbookFile(const CQuilletDoc& doc, const std::string& path, FileError& error);

// The whole of a regular file, as the loader reads it; anything else (a
// folder, a pipe, a device) is refused as not a checkbook.
bool ReadCheckbookBytes(const std::string& path, std::string& bytes, FileError& error);
// The version text a file image starts with; false when it has none.
bool ReadCheckbookVersion(const std::string& bytes, std::string& version);
