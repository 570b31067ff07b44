#pragma once
// The four most recently opened or saved checkbooks, newest first.

#include <QStringList>

class CRecentFileList
{
public:
    static constexpr int kSize = 4;

    const QStringList& Files() const { return m_files; }
    void SetFiles(const QStringList& files);

    // Moves the file to the front (adding it when new); the oldest drops off.
    void Add(const QString& path);
    void Remove(const QString& path);

private:
    QStringList m_files;
};

// The menu text of entry index: "&1 " and the path, shortened to fit.
QString RecentFileMenuText(int index, const QString& path);
