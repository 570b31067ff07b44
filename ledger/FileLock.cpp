#include "FileLock.h"

#include "FileAccess.h"

#include <cerrno>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
constexpr auto kPollInterval = std::chrono::milliseconds(20);

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}
}  // namespace

std::string CFileLock::LockPath(const std::string& path)
{
    std::string target;
    if (!ResolveSaveTarget(path, target))
        target = path;
    const size_t slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    return folder + "." + FileBaseName(target) + ".lock";
}

bool CFileLock::Acquire(const std::string& path, int waitMs, FileError& error)
{
    Release();
    error = FileError();
    const std::string name = FileBaseName(path);
    const std::string lockPath = LockPath(path);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        // Read access is all flock needs, so a shared folder's other users
        // can take the lock too; a planted link is not followed.
        const int fd = ::open(lockPath.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0) {
            error = MakeFileError(FileError::WriteFailed, name, errno);
            return false;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // The holder before us removes the file as it lets go; a lock on
            // a removed file guards nothing, so take the one that is there.
            struct stat held = {}, there = {};
            if (::fstat(fd, &held) == 0 && ::stat(lockPath.c_str(), &there) == 0 && SameFile(held, there)) {
                m_fd = fd;
                m_path = lockPath;
                return true;
            }
            ::close(fd);
            continue;
        }
        const int err = errno;
        ::close(fd);
        if (err != EWOULDBLOCK && err != EINTR) {
            error = MakeFileError(FileError::WriteFailed, name, err);
            return false;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            error = MakeFileError(FileError::Locked, name);
            return false;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
}

void CFileLock::Release()
{
    if (m_fd < 0)
        return;
    // Removed while still held, so nobody can take a lock on it that the
    // next holder would not see.
    ::unlink(m_path.c_str());
    ::close(m_fd);
    m_fd = -1;
    m_path.clear();
}
