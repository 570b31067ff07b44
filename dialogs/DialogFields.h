#pragma once
// Small helpers the editing dialogs share: reading numbers typed into edit
// fields (with a message that names the field when the text is no number),
// showing numbers the way the fields show them, the flag colour selector and
// the date picker's conversion to and from CTime.

#include "Time.h"

#include <QColor>
#include <QDate>
#include <QSize>
#include <QString>

#include <optional>

class QComboBox;
class QLineEdit;
class QWidget;

namespace DialogFields
{
// Typed money, read the one way every field reads it (Money::Parse: a
// sign, grouping commas, cents, whatever the locale); nothing when the
// text is no amount or beyond the limit.
std::optional<double> ParseMoney(const QString& text);
// A whole number: surrounding blanks and one "+" allowed, within an int.
std::optional<int> ParseInteger(const QString& text);

// Reads the edit as money (or a whole number). When it holds none, tells
// the user "<fieldName>: Invalid Value.\nPlease enter a number." (or "... a
// whole number."), puts the keyboard focus back into the edit with its text
// selected and returns false; value is then left untouched.
bool ReadMoney(QLineEdit* edit, const QString& fieldName, double& value);
bool ReadInteger(QLineEdit* edit, const QString& fieldName, int& value);

// How an edit shows a number: up to 15 significant digits, no exponent for
// ordinary amounts, no trailing zeros ("0", "50", "1234.5").
QString FormatNumber(double value);

// The flag selector: entries "0" .. "10", each with a swatch of its row
// colour; the entry index is the flag.
void FillFlagCombo(QComboBox* combo);
QColor FlagColor(int flag);

// Date picker values. The picker shows only the date; the time of day of
// the value it was loaded from is kept, so an unchanged date gives back the
// very same CTime.
QDate ToQDate(CTime time);
CTime FromQDate(const QDate& date, CTime timeOfDay);
// A size in average characters and lines of the widget's font, so dialogs
// and fields open as roomy at a large font as at a small one.
QSize FontUnits(const QWidget* widget, int characters, int lines);
// Keeps an edit at least this many characters wide.
void SetMinimumCharacters(QWidget* field, int characters);

// The dates a 32-bit CTime can hold with room for any time of day.
QDate MinimumDate();
QDate MaximumDate();
}
