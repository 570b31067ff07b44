#include "FileAccess.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <functional>
#include <string_view>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// mkstemp's six random characters follow this.
std::string TemporaryPrefix(const std::string& base)
{
    return "." + base + ".";
}
constexpr size_t kRandomPart = 6;
constexpr time_t kStaleAfterSeconds = 60;

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// The folder as a prefix to put before a name ("" for the current one).
std::string FolderPrefix(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

FileStamp MakeStamp(const struct stat& st, const std::string& bytes)
{
    FileStamp stamp;
    stamp.known = true;
    stamp.device = uint64_t(st.st_dev);
    stamp.inode = uint64_t(st.st_ino);
    stamp.size = int64_t(st.st_size);
    stamp.modifiedNs = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp.changedNs = int64_t(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    stamp.hash = HashBytes(bytes);
    return stamp;
}

bool WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += size_t(n);
    }
    return true;
}

mode_t NewFileMode()
{
    // umask can only be read by setting it; put it straight back.
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return 0666 & ~mask;
}

bool IsRandomPart(const char* text)
{
    for (size_t i = 0; i < kRandomPart; ++i) {
        const char c = text[i];
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return false;
    }
    return text[kRandomPart] == '\0';
}
}  // namespace

uint64_t HashBytes(const std::string& bytes)
{
    // Enough to tell one version of a file from another, eight bytes a
    // step: a file may hold millions of entries.
    return uint64_t(std::hash<std::string_view>()(bytes));
}

int OpenRegularFile(const std::string& path, FileError& error, struct stat* info)
{
    error = FileError();
    const std::string name = FileBaseName(path);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        error = MakeFileError(FileError::NotFound, name, errno);
        return -1;
    }
    struct stat st = {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        error = MakeFileError(FileError::Damaged, name);
        return -1;
    }
    if (info)
        *info = st;
    return fd;
}

bool ReadWholeFile(const std::string& path, std::string& bytes, FileError& error, FileStamp* stamp)
{
    const std::string name = FileBaseName(path);
    struct stat st = {};
    const int fd = OpenRegularFile(path, error, &st);
    if (fd < 0)
        return false;
    bytes.clear();
    bytes.reserve(size_t(st.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            error = MakeFileError(FileError::NotFound, name, err);
            return false;
        }
        bytes.append(buffer, size_t(n));
    }
    if (stamp)
        *stamp = MakeStamp(st, bytes);
    ::close(fd);
    return true;
}

bool FileChangedSince(const std::string& path, const FileStamp& stamp)
{
    struct stat st = {};
    if (!stamp.known || ::stat(path.c_str(), &st) != 0)
        return false;
    const FileStamp now = MakeStamp(st, std::string());
    if (now.device == stamp.device && now.inode == stamp.inode && now.size == stamp.size &&
        now.modifiedNs == stamp.modifiedNs && now.changedNs == stamp.changedNs)
        return false;
    // Touched or rewritten: only other bytes are a change.
    std::string bytes;
    FileError error;
    if (!ReadWholeFile(path, bytes, error))
        return true;
    return int64_t(bytes.size()) != stamp.size || HashBytes(bytes) != stamp.hash;
}

bool ResolveSaveTarget(const std::string& path, std::string& target)
{
    target = path;
    // As many links as the system itself follows.
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st = {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        std::vector<char> link(size_t(st.st_size > 0 ? st.st_size : 256) + 1);
        ssize_t n = 0;
        while ((n = ::readlink(target.c_str(), link.data(), link.size())) >= ssize_t(link.size()))
            link.resize(link.size() * 2);
        if (n <= 0)
            return true;  // gone meanwhile: saving makes it anew
        const std::string to(link.data(), size_t(n));
        target = to[0] == '/' ? to : FolderPrefix(target) + to;
    }
    errno = ELOOP;
    return false;
}

void RemoveStaleTemporaryFiles(const std::string& target)
{
    const std::string prefix = TemporaryPrefix(FileBaseName(target));
    DIR* dir = ::opendir(FolderOf(target).c_str());
    if (!dir)
        return;
    const time_t now = ::time(nullptr);
    const uid_t me = ::geteuid();
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (std::strncmp(name, prefix.c_str(), prefix.size()) != 0 || !IsRandomPart(name + prefix.size()))
            continue;
        struct stat st = {};
        if (::fstatat(::dirfd(dir), name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISREG(st.st_mode) && st.st_uid == me && now - st.st_mtime > kStaleAfterSeconds)
            ::unlinkat(::dirfd(dir), name, 0);
    }
    ::closedir(dir);
}

CAtomicFile::CAtomicFile(const std::string& path) : m_name(FileBaseName(path)), m_target(path) {}

CAtomicFile::~CAtomicFile()
{
    if (!m_temp.empty())
        ::unlink(m_temp.c_str());
}

bool CAtomicFile::Write(const std::string& bytes, FileError& error, int mode)
{
    error = FileError();
    if (!ResolveSaveTarget(m_target, m_target)) {
        error = MakeFileError(FileError::WriteFailed, m_name, errno);
        return false;
    }

    mode_t fileMode = NewFileMode();
    struct stat st = {};
    m_replaces = false;
    if (::stat(m_target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            error = MakeFileError(FileError::WriteFailed, m_name, EISDIR);
            return false;
        }
        // Renaming would replace a file the user has made read-only; refuse
        // as writing it in place would.
        if (::access(m_target.c_str(), W_OK) != 0) {
            error = MakeFileError(FileError::WriteFailed, m_name, errno);
            return false;
        }
        m_replaces = true;
        fileMode = st.st_mode & 07777;
    }
    if (mode >= 0)
        fileMode = mode_t(mode) & 07777;

    RemoveStaleTemporaryFiles(m_target);
    std::string temp = FolderPrefix(m_target) + TemporaryPrefix(FileBaseName(m_target)) + "XXXXXX";
    const int fd = ::mkostemp(&temp[0], O_CLOEXEC);
    if (fd < 0) {
        error = MakeFileError(FileError::WriteFailed, m_name, errno);
        return false;
    }
    m_temp = temp;

    int err = 0;
    if (!WriteAll(fd, bytes) || ::fchmod(fd, fileMode) != 0 || ::fsync(fd) != 0)
        err = errno;
    if (m_replaces && err == 0 && (st.st_uid != ::geteuid() || st.st_gid != ::getegid())) {
        if (::fchown(fd, st.st_uid, st.st_gid) != 0) {
            // Only the administrator may keep another user's ownership;
            // otherwise the file becomes the saver's, like any new file.
        }
    }
    struct stat written = {};
    if (err == 0 && ::fstat(fd, &written) == 0)
        m_stamp = MakeStamp(written, bytes);
    if (::close(fd) != 0 && err == 0)
        err = errno;
    if (err != 0) {
        error = MakeFileError(FileError::WriteFailed, m_name, err);
        ::unlink(m_temp.c_str());
        m_temp.clear();
        return false;
    }
    return true;
}

bool CAtomicFile::Commit(FileError& error)
{
    error = FileError();
    if (m_temp.empty() || ::rename(m_temp.c_str(), m_target.c_str()) != 0) {
        error = MakeFileError(FileError::WriteFailed, m_name, m_temp.empty() ? EINVAL : errno);
        return false;
    }
    m_temp.clear();

    // Make the rename itself durable.
    const int dir = ::open(FolderOf(m_target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes, FileError& error, int mode)
{
    CAtomicFile file(path);
    return file.Write(bytes, error, mode) && file.Commit(error);
}
