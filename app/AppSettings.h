#pragma once
// The per-user settings store: the four view settings and the recent-file
// list live under "Quillet-Orvane/Quillet".

#include <QStringList>

#include <memory>

class QSettings;

namespace AppSettings
{
std::unique_ptr<QSettings> Open();

// Missing or unreadable values give the defaults 20, 10, 1 and 180.
void ReadViewSettings(QSettings& settings);
void WriteViewSettings(QSettings& settings);

QStringList ReadRecentFiles(QSettings& settings);
void WriteRecentFiles(QSettings& settings, const QStringList& files);
}
