#include "EntryText.h"

#include "TextCodec.h"

QString FormatMoney(double value, bool trailingSpace)
{
    // QString::number is free of the process locale, unlike printf, so the
    // point is always a point.
    QString text = QString::number(value, 'f', 2);
    if (text == QLatin1String("-0.00"))
        text = QStringLiteral("0.00");
    if (trailingSpace)
        text += QLatin1Char(' ');
    return text;
}

QString FormatEntryDate(CTime date)
{
    return FromBytes(date.Format(" %m/%d/%y"));
}
