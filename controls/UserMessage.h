#pragma once
// Every message box of the program goes through here, so tests can answer
// them without a modal box blocking.

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace UserMessage
{
enum class Buttons
{
    Ok,
    OkCancel,
    YesNo,
    YesNoCancel,
};

enum class Icon
{
    None,  // a plain box, as the editors report what was typed wrong
    Information,
    Warning,
    Error,
    Question,
};

enum class Answer
{
    Ok,
    Cancel,
    Yes,
    No,
};

// Shows a modal message box; the title defaults to the application name.
// buttonTexts, when given, label the buttons in their order (Yes, No,
// Cancel) where the standard words would not say what they do; Enter
// gives defaultAnswer when one is given (the safe one, where the other
// loses data).
Answer Show(QWidget* parent, const QString& text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
            const QString& title = QString(), const QStringList& buttonTexts = {},
            std::optional<Answer> defaultAnswer = std::nullopt);

struct Shown
{
    QString title;
    QString text;
    Buttons buttons;
    Icon icon;
    QStringList buttonTexts;
    std::optional<Answer> defaultAnswer;
};

// Replaces the box; an empty handler restores it.
using Handler = std::function<Answer(const Shown&)>;
void SetHandler(Handler handler);
}
