#include "RecentFileList.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace
{
QString Normalized(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}
}

void CRecentFileList::SetFiles(const QStringList& files)
{
    m_files.clear();
    for (auto it = files.crbegin(); it != files.crend(); ++it)
        Add(*it);
    m_changes.clear();
}

void CRecentFileList::Add(const QString& path)
{
    if (path.isEmpty())
        return;
    const QString normalized = Normalized(path);
    m_files.removeAll(normalized);
    m_files.prepend(normalized);
    while (m_files.size() > kSize)
        m_files.removeLast();
    Note(true, normalized);
}

void CRecentFileList::Remove(const QString& path)
{
    const QString normalized = Normalized(path);
    m_files.removeAll(normalized);
    Note(false, normalized);
}

void CRecentFileList::Note(bool added, const QString& normalizedPath)
{
    // Only the last change of a file counts, so the record stays as short
    // as the number of files touched.
    m_changes.erase(std::remove_if(m_changes.begin(), m_changes.end(),
                                   [&](const auto& change) { return change.second == normalizedPath; }),
                    m_changes.end());
    m_changes.emplace_back(added, normalizedPath);
}

QStringList CRecentFileList::MergedInto(const QStringList& stored) const
{
    CRecentFileList merged;
    merged.SetFiles(stored);
    for (const auto& [added, path] : m_changes) {
        if (added)
            merged.Add(path);
        else
            merged.Remove(path);
    }
    return merged.Files();
}

QString RecentFileMenuText(int index, const QString& path)
{
    QString shown = QDir::toNativeSeparators(path);
    const QString home = QDir::toNativeSeparators(QDir::homePath());
    if (!home.isEmpty() && shown.startsWith(home + QDir::separator()))
        shown = "~" + shown.mid(home.size());
    // Long paths keep their start and the file name: that is what tells
    // two checkbooks apart.
    constexpr int kMaxShown = 48;
    if (shown.size() > kMaxShown) {
        const QString name = QFileInfo(path).fileName();
        const int keep = qMax(0, kMaxShown - int(name.size()) - 4);
        shown = shown.left(keep) + QString("...") + QDir::separator() + name;
    }
    shown.replace("&", "&&");
    return QString("&%1 %2").arg(index + 1).arg(shown);
}
