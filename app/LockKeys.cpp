#include "LockKeys.h"

#include <QDir>
#include <QFile>

namespace
{
LockKeys::Reader& CurrentReader()
{
    static LockKeys::Reader reader;
    return reader;
}

bool ReadLeds(LockKey key)
{
    const char* suffix = key == LockKey::Caps ? "capslock" : key == LockKey::Num ? "numlock" : "scrolllock";
    const QDir leds("/sys/class/leds");
    // One LED per keyboard; any keyboard with the lock on counts.
    for (const QString& name : leds.entryList({QString("*::") + suffix}, QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile brightness(leds.filePath(name + "/brightness"));
        if (brightness.open(QIODevice::ReadOnly) && brightness.readAll().trimmed().toInt() > 0)
            return true;
    }
    return false;
}
}

bool LockKeys::IsOn(LockKey key)
{
    return CurrentReader() ? CurrentReader()(key) : ReadLeds(key);
}

void LockKeys::SetReader(Reader reader)
{
    CurrentReader() = std::move(reader);
}
