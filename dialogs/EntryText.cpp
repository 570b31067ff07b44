#include "EntryText.h"

#include "Money.h"
#include "TextCodec.h"

QString FormatMoney(double value, bool trailingSpace)
{
    QString text = QString::fromStdString(Money::Format(value));
    if (trailingSpace)
        text += QLatin1Char(' ');
    return text;
}

QString FormatEntryDate(CTime date)
{
    return FromBytes(date.Format(" %m/%d/%y"));
}
