#pragma once
// Whole files in and out without ever leaving a half-written one: reading
// a regular file at once, and replacing one through a temporary file
// beside it that is renamed over it once it is safely on disk.

#include "FileError.h"

#include <cstdint>
#include <string>

struct stat;

// What was read from or written to a file, to tell later whether another
// program has changed it since.
struct FileStamp
{
    bool known = false;  // nothing remembered
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t modifiedNs = 0;
    int64_t changedNs = 0;  // status change: no program can set it back
    uint64_t hash = 0;  // of the bytes
};

uint64_t HashBytes(const std::string& bytes);

// Whether the file at path now holds other bytes than those stamp was
// taken of. A file that is gone, or a stamp never taken, is no change:
// saving over it loses nothing.
bool FileChangedSince(const std::string& path, const FileStamp& stamp);

// The whole of a regular file. Anything else (a folder, a pipe, a device)
// is refused as not a checkbook before reading, so nothing can block.
bool ReadWholeFile(const std::string& path, std::string& bytes, FileError& error, FileStamp* stamp = nullptr);
// The file opened for reading, refused as ReadWholeFile refuses it: a
// descriptor for the caller to close, or -1 with error set. info, when
// given, receives the file's status.
int OpenRegularFile(const std::string& path, FileError& error, struct stat* info = nullptr);

// The file a save through path writes: path itself, or the file its
// symbolic links name, also when that file does not exist yet, so that a
// link is never replaced by a plain file. False (ELOOP) for a circle of
// links.
bool ResolveSaveTarget(const std::string& path, std::string& target);

// Removes what saves of target that were killed before they finished left
// beside it: temporary files of its name that are ours and have not been
// touched for more than a minute (a younger one may still be written).
void RemoveStaleTemporaryFiles(const std::string& target);

// One replacement of a file: Write puts the new bytes in a temporary file
// beside it and flushes them to disk; Commit renames that over the file.
// A replacement that is not committed leaves nothing behind.
class CAtomicFile
{
public:
    // path as the user named it; links are followed to the file they name.
    explicit CAtomicFile(const std::string& path);
    ~CAtomicFile();
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;

    // mode: the new file's permissions; -1 keeps those of the file it
    // replaces, or gives a new file's.
    bool Write(const std::string& bytes, FileError& error, int mode = -1);
    bool Commit(FileError& error);

    // The file that is replaced, links resolved.
    const std::string& Target() const { return m_target; }
    // Whether there is a file to replace (known after Write).
    bool Replaces() const { return m_replaces; }
    // The written file, once committed.
    const FileStamp& Stamp() const { return m_stamp; }

private:
    std::string m_name;  // for messages: the name the user gave
    std::string m_target;
    std::string m_temp;
    bool m_replaces = false;
    FileStamp m_stamp;
};

// Write and Commit at once.
bool WriteFileAtomically(const std::string& path, const std::string& bytes, FileError& error, int mode = -1);
