#pragma once
// The field every date is typed into. It shows MM/DD/YYYY and reads a
// date typed whole in that form ("11/20/2026", also "11/20/26" and
// "1/5/2026"), wherever the cursor stands. Up and "+" step it a day later,
// Down and "-" a day earlier; Alt+Down or F4 opens a calendar. What is read
// back is always the date the field shows: a text that names no date is
// refused with a message, never guessed at.

#include <QDate>
#include <QLineEdit>

class CDateField : public QLineEdit
{
    Q_OBJECT
public:
    explicit CDateField(QWidget* parent = nullptr);

    // The date the text names; an invalid QDate when it names none or one
    // outside the dates a CTime holds.
    QDate date() const { return Parse(text()); }
    // Shows the date as MM/DD/YYYY (nothing for an invalid date).
    void setDate(const QDate& date);

    // The field's date. When the text names none, tells the user
    // "<fieldName>: Invalid Value.\n..." with the form and range expected,
    // gives the field the focus with its text selected and returns false.
    bool ReadDate(const QString& fieldName, QDate& date);

    // "M/D/YYYY" or "M/D/YY" (two-digit years 00-68 are 2000-2068, 69-99 are
    // 1969-1999), blanks around allowed; an impossible or out-of-range date
    // gives an invalid QDate.
    static QDate Parse(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Step(int days);
    void ShowCalendar();
};
