#include "Backups.h"

#include "FileAccess.h"
#include "Time.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
const char kFolderEnding[] = ".backups";
const char kExtension[] = ".ql1";
// "_2025-01-31_14-05-09"
constexpr size_t kStampLength = 20;

// The name without its ".ql1" ending, whatever its case.
std::string Stem(const std::string& name)
{
    const size_t n = std::strlen(kExtension);
    if (name.size() > n && strcasecmp(name.c_str() + name.size() - n, kExtension) == 0)
        return name.substr(0, name.size() - n);
    return name;
}

std::string StampText(time_t when)
{
    struct tm local = {};
    char text[64] = "";
    if (::localtime_r(&when, &local))
        std::strftime(text, sizeof text, "_%Y-%m-%d_%H-%M-%S", &local);
    return text;
}

bool ParseStamp(const std::string& text, time_t& when)
{
    struct tm local = {};
    int consumed = 0;
    if (std::sscanf(text.c_str(), "_%4d-%2d-%2d_%2d-%2d-%2d%n", &local.tm_year, &local.tm_mon, &local.tm_mday,
                    &local.tm_hour, &local.tm_min, &local.tm_sec, &consumed) != 6 ||
        size_t(consumed) != kStampLength)
        return false;
    local.tm_year -= 1900;
    local.tm_mon -= 1;
    local.tm_isdst = -1;
    when = ::mktime(&local);
    return when != time_t(-1);
}

// Whether name is one of the backups of stem, and its time.
bool IsBackupName(const std::string& name, const std::string& stem, time_t& when)
{
    const size_t n = std::strlen(kExtension);
    return name.size() == stem.size() + kStampLength + n && name.compare(0, stem.size(), stem) == 0 &&
           name.compare(name.size() - n, n, kExtension) == 0 &&
           ParseStamp(name.substr(stem.size(), kStampLength), when);
}
}  // namespace

std::string BackupFolder(const std::string& target)
{
    return target + kFolderEnding;
}

std::vector<std::string> ListBackups(const std::string& target)
{
    std::vector<std::string> names;
    const std::string folder = BackupFolder(target);
    const std::string stem = Stem(FileBaseName(target));
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            time_t when = 0;
            if (IsBackupName(entry->d_name, stem, when))
                names.push_back(entry->d_name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    for (std::string& name : names)
        name = folder + "/" + name;
    return names;
}

bool KeepBackup(const std::string& target, const std::string& next, int limit, std::string& made,
                std::string& problem, const BackupContents& contents)
{
    made.clear();
    problem.clear();
    const std::string name = FileBaseName(target);
    const auto fail = [&](const std::string& why) {
        problem = "The previous version of \"" + name + "\" could not be kept as a backup. " + why;
        return false;
    };

    std::string previous;
    FileError error;
    struct stat st = {};
    if (::stat(target.c_str(), &st) != 0 || !ReadWholeFile(target, previous, error))
        return fail(error.message.empty() ? MakeFileError(FileError::NotFound, name, errno).message : error.message);
    if (previous == next)
        return true;
    if (contents)
        previous = contents(previous);

    const std::string folder = BackupFolder(target);
    if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST)
        return fail("The folder \"" + FileBaseName(folder) + "\" could not be made: " + ErrorReason(errno) + ".");

    // Named after now, but always after the newest backup there is, so
    // the names keep the order of the saves even when the clock does not.
    std::vector<std::string> backups = ListBackups(target);
    const std::string stem = Stem(name);
    time_t when = time_t(Clock::Now());
    std::string newest;
    if (!backups.empty()) {
        newest = FileBaseName(backups.back()).substr(stem.size(), kStampLength);
        time_t newestTime = 0;
        if (ParseStamp(newest, newestTime) && newestTime >= when)
            when = newestTime + 1;
    }
    std::string stamp = StampText(when);
    // A clock turned back an hour repeats local times; step past them.
    for (int step = 0; stamp <= newest && step < 7200; ++step)
        stamp = StampText(++when);
    if (stamp.size() != kStampLength || stamp <= newest)
        return fail("The clock gives no time to name it by.");

    made = folder + "/" + stem + stamp + kExtension;
    // The backup is as private as the checkbook it keeps.
    if (!WriteFileAtomically(made, previous, error, int(st.st_mode & 07777))) {
        made.clear();
        return fail(error.message);
    }

    backups.push_back(made);
    for (size_t i = 0; i + size_t(std::max(limit, 1)) < backups.size(); ++i) {
        if (::unlink(backups[i].c_str()) != 0 && errno != ENOENT)
            problem = "The oldest backup of \"" + name + "\" could not be removed: " + ErrorReason(errno) + ".";
    }
    return true;
}
