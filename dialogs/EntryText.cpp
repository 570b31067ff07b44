#include "EntryText.h"

#include "DialogFields.h"
#include "Money.h"
#include "TextCodec.h"
#include "UserMessage.h"

#include <QLineEdit>

#include <cmath>

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

bool ParseMoney(const QString& text, double& value)
{
    const std::optional<double> read = DialogFields::ParseNumber(text);
    // Beyond the bound, cents would no longer be exact in a double.
    if (!read || std::fabs(*read) > 1e12)
        return false;
    value = std::round(*read * 100.0) / 100.0 + 0.0;
    return true;
}

bool ReadMoney(QLineEdit* edit, const QString& fieldName, double& value)
{
    if (ParseMoney(edit->text(), value))
        return true;
    UserMessage::Show(edit->window(), fieldName + QStringLiteral(": Invalid Value.\nPlease enter a number."),
                      UserMessage::Buttons::Ok, UserMessage::Icon::Warning);
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    return false;
}
