#include "DateField.h"

#include "DialogFields.h"
#include "UserMessage.h"

#include <QAction>
#include <QCalendarWidget>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QStyle>

namespace
{
const QString kShownFormat = QStringLiteral("MM/dd/yyyy");
}

CDateField::CDateField(QWidget* parent) : QLineEdit(parent)
{
    // Digits and slashes only; "+" and "-" step the date instead.
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9/ ]{0,12}")), this));
    setPlaceholderText(QStringLiteral("MM/DD/YYYY"));
    setToolTip(QStringLiteral("Type a date as MM/DD/YYYY.\nUp or + moves it a day later, Down or - a day earlier;\n"
                              "Alt+Down opens a calendar."));
    DialogFields::SetMinimumCharacters(this, 13);
    QAction* calendar = addAction(style()->standardIcon(QStyle::SP_ArrowDown), QLineEdit::TrailingPosition);
    calendar->setToolTip(QStringLiteral("Choose from a calendar"));
    connect(calendar, &QAction::triggered, this, &CDateField::ShowCalendar);
    // A date typed short is shown the long way once the user moves on, so
    // the field shows exactly the date that will be kept.
    connect(this, &QLineEdit::editingFinished, this, [this] {
        const QDate typed = date();
        if (typed.isValid() && text() != typed.toString(kShownFormat))
            setDate(typed);
    });
}

void CDateField::setDate(const QDate& date)
{
    setText(date.isValid() ? date.toString(kShownFormat) : QString());
}

QDate CDateField::Parse(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d{1,2})/(\\d{1,2})/(\\d{2}|\\d{4})\\s*$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return {};
    const int month = match.captured(1).toInt();
    const int day = match.captured(2).toInt();
    int year = match.captured(3).toInt();
    if (match.captured(3).size() == 2)
        year += year < 69 ? 2000 : 1900;
    const QDate date(year, month, day);
    if (!date.isValid() || date < DialogFields::MinimumDate() || date > DialogFields::MaximumDate())
        return {};
    return date;
}

bool CDateField::ReadDate(const QString& fieldName, QDate& date)
{
    const QDate read = this->date();
    if (read.isValid()) {
        date = read;
        return true;
    }
    UserMessage::Show(window(),
                      fieldName + QStringLiteral(": Invalid Value.\nPlease enter a date as MM/DD/YYYY, from %1 to %2.")
                                      .arg(DialogFields::MinimumDate().toString(kShownFormat),
                                           DialogFields::MaximumDate().toString(kShownFormat)));
    setFocus(Qt::OtherFocusReason);
    selectAll();
    return false;
}

void CDateField::Step(int days)
{
    const QDate shown = date();
    if (!shown.isValid())
        return;
    const QDate stepped = shown.addDays(days);
    if (stepped >= DialogFields::MinimumDate() && stepped <= DialogFields::MaximumDate())
        setDate(stepped);
}

void CDateField::keyPressEvent(QKeyEvent* event)
{
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Plus:
        if (plain) {
            Step(1);
            return;
        }
        break;
    case Qt::Key_Down:
        if (event->modifiers() & Qt::AltModifier) {
            ShowCalendar();
            return;
        }
        [[fallthrough]];
    case Qt::Key_Minus:
        if (plain) {
            Step(-1);
            return;
        }
        break;
    case Qt::Key_F4:
        ShowCalendar();
        return;
    default:
        break;
    }
    QLineEdit::keyPressEvent(event);
}

void CDateField::ShowCalendar()
{
    if (!isEnabled() || isReadOnly())
        return;
    auto* calendar = new QCalendarWidget(this);
    calendar->setWindowFlags(Qt::Popup);
    calendar->setAttribute(Qt::WA_DeleteOnClose);
    calendar->setObjectName(QStringLiteral("dateFieldCalendar"));
    calendar->setDateRange(DialogFields::MinimumDate(), DialogFields::MaximumDate());
    const QDate shown = date();
    calendar->setSelectedDate(shown.isValid() ? shown : DialogFields::ToQDate(CTime::GetCurrentTime()));
    auto choose = [this, calendar](const QDate& chosen) {
        setDate(chosen);
        calendar->close();
        setFocus(Qt::PopupFocusReason);
    };
    connect(calendar, &QCalendarWidget::clicked, this, choose);
    connect(calendar, &QCalendarWidget::activated, this, choose);
    calendar->adjustSize();
    calendar->move(mapToGlobal(QPoint(0, height())));
    calendar->show();
    calendar->setFocus(Qt::PopupFocusReason);
}
