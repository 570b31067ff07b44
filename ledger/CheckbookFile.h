#pragma once
// Reading and writing checkbook files (.ql1).

#include "Backups.h"
#include "FileAccess.h"
#include "FileError.h"

#include <functional>
#include <string>

class CQuilletDoc;

// Asked with the stored hash when a protected file is read; answers whether
// the user gave the right password.
using PasswordPrompt = std::function<bool(const std::string& storedHash)>;

// The whole file image of a document (texts transformed when
// g_strPasswordHash is set).
std::string WriteCheckbook(const CQuilletDoc& doc);
// The same with another version text at its head, as a file read back
// may carry.
std::string WriteCheckbook(const CQuilletDoc& doc, const std::string& version);

// Reads a file image into a cleared document. On failure the document is
// cleared again and error says why. Sets the application-wide values the
// file carries, and only once it has been read whole; a refused password
// empties the password hash, a damaged file leaves all of them alone.
bool ReadCheckbook(CQuilletDoc& doc, const std::string& bytes, const PasswordPrompt& prompt,
                   FileError& error, const std::string& fileName = std::string());

// Reads a file image into a fresh document that replaces doc's contents
// only when the whole image was read: on failure doc stays as it was. An
// image of zero bytes opens as an empty checkbook.
bool LoadCheckbookImage(CQuilletDoc& doc, const std::string& bytes, const PasswordPrompt& prompt, FileError& error,
                        const std::string& fileName);

// LoadCheckbookImage of the file at path. stamp, when given, describes
// what was read.
bool LoadCheckbookFile(CQuilletDoc& doc, const std::string& path, const PasswordPrompt& prompt,
                       FileError& error, FileStamp* stamp = nullptr);

// What a save did besides writing the file.
struct SaveOutcome
{
    FileStamp stamp;            // of the file as written
    std::string backup;         // the copy of the version it replaced, if one was made
    std::string backupProblem;  // why no copy could be kept; the save went ahead
};

// The one way a file image reaches the disk: through a temporary file
// beside the file (links followed) that is renamed over it, keeping its
// permissions, after the version it replaces has been kept among the
// last backups. The caller holds the file's lock (FileLock.h).
// contents, when given, makes the backup's bytes from the replaced version's.
bool SaveFileImage(const std::string& path, const std::string& image, FileError& error,
                   SaveOutcome* outcome = nullptr, int backups = kKeptBackups, const BackupContents& contents = {});
// SaveFileImage of the document's file image.
bool SaveCheckbookFile(const CQuilletDoc& doc, const std::string& path, FileError& error,
                       SaveOutcome* outcome = nullptr, int backups = kKeptBackups);

// Reads the checkbook file at path as ReadCheckbook reads an image, from
// the file as it goes rather than a copy of all of it, and with the same
// failures as reading it whole first: memory for the records alone. A file
// of zero bytes is an empty checkbook and leaves doc untouched. version,
// when given, receives the version text the file starts with.
bool ReadCheckbookFile(CQuilletDoc& doc, const std::string& path, const PasswordPrompt& prompt, FileError& error,
                       std::string* version = nullptr);

// The whole of a regular file, as the loader reads it; anything else (a
// folder, a pipe, a device) is refused as not a checkbook.
bool ReadCheckbookBytes(const std::string& path, std::string& bytes, FileError& error);
// The version text a file image starts with; false when it has none.
bool ReadCheckbookVersion(const std::string& bytes, std::string& version);
