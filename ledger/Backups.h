#pragma once
// Before a save replaces a checkbook, the version it replaces is kept as
// a backup: "Budget.ql1" keeps "Budget.ql1.backups/Budget_2025-01-31_14-05-09.ql1"
// and the like, a few of the most recent ones. The names sort by time and
// each backup is a checkbook that opens like any other.

#include <functional>
#include <string>
#include <vector>

constexpr int kKeptBackups = 3;

// The folder the backups of the file at target are kept in.
std::string BackupFolder(const std::string& target);

// The backups of target, oldest first.
std::vector<std::string> ListBackups(const std::string& target);

// The bytes a backup keeps of the version it replaces, given that
// version's bytes (an encrypted checkbook keeps its backups encrypted).
// Empty: the version as it is.
using BackupContents = std::function<std::string(const std::string& replaced)>;

// Keeps the file now at target as its newest backup, then removes the
// oldest beyond limit. Nothing is kept when the file already holds next
// (a save that changes nothing). made is the backup's path; false with a
// sentence in problem when none could be made.
bool KeepBackup(const std::string& target, const std::string& next, int limit, std::string& made,
                std::string& problem, const BackupContents& contents = {});
