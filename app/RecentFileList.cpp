#include "RecentFileList.h"

#include <QDir>
#include <QFileInfo>

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
}

void CRecentFileList::Remove(const QString& path)
{
    m_files.removeAll(Normalized(path));
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
