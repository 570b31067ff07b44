#include "AppSettings.h"

#include "AppValues.h"

#include <QSettings>

namespace
{
const char kSection[] = "Settings";
const char kRecentSection[] = "Recent File List";
constexpr int kMaxRecentFiles = 4;

int ReadInt(QSettings& settings, const char* key, int defaultValue)
{
    bool ok = false;
    const int value = settings.value(key).toInt(&ok);
    return ok ? value : defaultValue;
}
}

std::unique_ptr<QSettings> AppSettings::Open()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, "Quillet-Orvane", "Quillet");
}

void AppSettings::ReadViewSettings(QSettings& settings)
{
    settings.beginGroup(kSection);
    g_nUpcomingDays = ReadInt(settings, "UpcomingDays", AppValues::kDefaultUpcomingDays);
    g_nNumCategories = ReadInt(settings, "NumCategories", AppValues::kDefaultNumCategories);
    g_nStartCategories = ReadInt(settings, "StartCategories", AppValues::kDefaultStartCategories);
    g_nLookback = ReadInt(settings, "Lookback", AppValues::kDefaultLookback);
    settings.endGroup();
}

void AppSettings::WriteViewSettings(QSettings& settings)
{
    settings.beginGroup(kSection);
    settings.setValue("UpcomingDays", g_nUpcomingDays);
    settings.setValue("NumCategories", g_nNumCategories);
    settings.setValue("StartCategories", g_nStartCategories);
    settings.setValue("Lookback", g_nLookback);
    settings.endGroup();
}

QStringList AppSettings::ReadRecentFiles(QSettings& settings)
{
    QStringList files;
    settings.beginGroup(kRecentSection);
    for (int i = 1; i <= kMaxRecentFiles; ++i) {
        const QString file = settings.value(QString("File%1").arg(i)).toString();
        if (!file.isEmpty())
            files << file;
    }
    settings.endGroup();
    return files;
}

void AppSettings::WriteRecentFiles(QSettings& settings, const QStringList& files)
{
    settings.beginGroup(kRecentSection);
    for (int i = 1; i <= kMaxRecentFiles; ++i) {
        const QString key = QString("File%1").arg(i);
        if (i <= files.size())
            settings.setValue(key, files[i - 1]);
        else
            settings.remove(key);
    }
    settings.endGroup();
}
