#include "DialogFields.h"

#include "Money.h"
#include "Records.h"
#include "UserMessage.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPixmap>
#include <QWidget>

#include <charconv>
#include <string>

namespace
{
// The text without surrounding blanks and without one leading "+", as
// bytes; from_chars takes neither and never looks at the user's locale.
bool PrepareDigits(const QString& text, std::string& digits)
{
    QString trimmed = text.trimmed();
    if (trimmed.startsWith(QLatin1Char('+'))) {
        trimmed.remove(0, 1);
        if (trimmed.startsWith(QLatin1Char('-')) || trimmed.startsWith(QLatin1Char('+')))
            return false;
    }
    if (trimmed.isEmpty())
        return false;
    digits = trimmed.toStdString();
    return true;
}

void FocusField(QLineEdit* edit)
{
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}
}

std::optional<double> DialogFields::ParseMoney(const QString& text)
{
    return Money::Parse(text.toStdString());
}

std::optional<int> DialogFields::ParseInteger(const QString& text)
{
    std::string digits;
    if (!PrepareDigits(text, digits))
        return std::nullopt;
    int value = 0;
    const char* end = digits.data() + digits.size();
    const auto result = std::from_chars(digits.data(), end, value);
    if (result.ec != std::errc() || result.ptr != end)
        return std::nullopt;
    return value;
}

bool DialogFields::ReadMoney(QLineEdit* edit, const QString& fieldName, double& value)
{
    const std::optional<double> parsed = ParseMoney(edit->text());
    if (!parsed) {
        UserMessage::Show(edit->window(), fieldName + QStringLiteral(": Invalid Value.\nPlease enter a number."));
        FocusField(edit);
        return false;
    }
    value = *parsed;
    return true;
}

bool DialogFields::ReadInteger(QLineEdit* edit, const QString& fieldName, int& value)
{
    const std::optional<int> parsed = ParseInteger(edit->text());
    if (!parsed) {
        UserMessage::Show(edit->window(),
                          fieldName + QStringLiteral(": Invalid Value.\nPlease enter a whole number."));
        FocusField(edit);
        return false;
    }
    value = *parsed;
    return true;
}

QString DialogFields::FormatNumber(double value)
{
    return QString::number(value, 'g', 15);
}

QColor DialogFields::FlagColor(int flag)
{
    const uint32_t rgb = GetFlagColor(flag);
    return QColor(int((rgb >> 16) & 0xFF), int((rgb >> 8) & 0xFF), int(rgb & 0xFF));
}

void DialogFields::FillFlagCombo(QComboBox* combo)
{
    combo->clear();
    for (int flag = 0; flag < kFlagCount; ++flag) {
        QPixmap swatch(12, 12);
        swatch.fill(FlagColor(flag));
        combo->addItem(QIcon(swatch), QString::number(flag));
    }
}

QDate DialogFields::ToQDate(CTime time)
{
    return QDate(time.GetYear(), time.GetMonth(), time.GetDay());
}

CTime DialogFields::FromQDate(const QDate& date, CTime timeOfDay)
{
    return CTime(date.year(), date.month(), date.day(), timeOfDay.GetHour(), timeOfDay.GetMinute(),
                 timeOfDay.GetSecond());
}

QSize DialogFields::FontUnits(const QWidget* widget, int characters, int lines)
{
    const QFontMetrics metrics = widget->fontMetrics();
    return QSize(metrics.averageCharWidth() * characters, metrics.lineSpacing() * lines);
}

void DialogFields::SetMinimumCharacters(QWidget* field, int characters)
{
    field->setMinimumWidth(field->fontMetrics().averageCharWidth() * characters);
}

QDate DialogFields::MinimumDate()
{
    return QDate(1901, 12, 15);
}

QDate DialogFields::MaximumDate()
{
    return QDate(2038, 1, 17);
}
