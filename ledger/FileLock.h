#pragma once
// The lock every writer of a checkbook holds while it reads, changes and
// writes the file (the command line) or while it saves it (the window),
// so that two writers never silently lose each other's changes. It is
// advisory: it binds the programs that take it.

#include "FileError.h"

#include <string>

class CFileLock
{
public:
    CFileLock() = default;
    ~CFileLock() { Release(); }
    CFileLock(const CFileLock&) = delete;
    CFileLock& operator=(const CFileLock&) = delete;

    // Takes the lock of the file at path (links followed), waiting up to
    // waitMs for another holder to let go; a Locked error after that.
    bool Acquire(const std::string& path, int waitMs, FileError& error);
    void Release();
    bool Held() const { return m_fd >= 0; }

    // The lock file beside the file a save through path writes.
    static std::string LockPath(const std::string& path);

private:
    int m_fd = -1;
    std::string m_path;
};
