#pragma once
// The four most recently opened or saved checkbooks, newest first.

#include <QStringList>

#include <utility>
#include <vector>

class CRecentFileList
{
public:
    static constexpr int kSize = 4;

    const QStringList& Files() const { return m_files; }
    void SetFiles(const QStringList& files);

    // Moves the file to the front (adding it when new); the oldest drops off.
    void Add(const QString& path);
    void Remove(const QString& path);

    // The list as it is to be stored when stored holds what other windows
    // wrote since SetFiles: this list's additions and removals since then,
    // applied on top of stored.
    QStringList MergedInto(const QStringList& stored) const;

private:
    void Note(bool added, const QString& normalizedPath);

    QStringList m_files;
    // What changed since SetFiles, oldest first, one entry per file.
    std::vector<std::pair<bool, QString>> m_changes;
};

// The menu text of entry index: "&1 " and the path, shortened to fit.
QString RecentFileMenuText(int index, const QString& path);
