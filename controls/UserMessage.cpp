#include "UserMessage.h"

#include <QApplication>
#include <QAbstractButton>
#include <QMessageBox>

namespace
{
UserMessage::Handler& CurrentHandler()
{
    static UserMessage::Handler handler;
    return handler;
}

QMessageBox::StandardButtons ToStandard(UserMessage::Buttons buttons)
{
    switch (buttons) {
    case UserMessage::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case UserMessage::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case UserMessage::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case UserMessage::Buttons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon ToStandard(UserMessage::Icon icon)
{
    switch (icon) {
    case UserMessage::Icon::None:
        return QMessageBox::NoIcon;
    case UserMessage::Icon::Warning:
        return QMessageBox::Warning;
    case UserMessage::Icon::Error:
        return QMessageBox::Critical;
    case UserMessage::Icon::Question:
        return QMessageBox::Question;
    case UserMessage::Icon::Information:
        break;
    }
    return QMessageBox::Information;
}
}

void UserMessage::SetHandler(Handler handler)
{
    CurrentHandler() = std::move(handler);
}

UserMessage::Answer UserMessage::Show(QWidget* parent, const QString& text, Buttons buttons, Icon icon,
                                      const QString& title, const QStringList& buttonTexts,
                                      std::optional<Answer> defaultAnswer)
{
    const Shown shown{title.isEmpty() ? QApplication::applicationName() : title, text, buttons, icon, buttonTexts,
                      defaultAnswer};
    if (CurrentHandler())
        return CurrentHandler()(shown);

    QMessageBox box(ToStandard(icon), shown.title, text, ToStandard(buttons), parent);
    const QMessageBox::StandardButton order[] = {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    int next = 0;
    for (QMessageBox::StandardButton standard : order) {
        if (QAbstractButton* button = box.button(standard); button && next < buttonTexts.size())
            button->setText(buttonTexts[next++]);
    }
    if (defaultAnswer) {
        const QMessageBox::StandardButton standard = *defaultAnswer == Answer::Yes ? QMessageBox::Yes
                                                     : *defaultAnswer == Answer::No ? QMessageBox::No
                                                     : *defaultAnswer == Answer::Cancel ? QMessageBox::Cancel
                                                                                         : QMessageBox::Ok;
        box.setDefaultButton(standard);
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        break;
    }
    return buttons == Buttons::Ok ? Answer::Ok : (buttons == Buttons::OkCancel ? Answer::Ok : Answer::Cancel);
}
