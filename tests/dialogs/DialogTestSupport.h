#pragma once
// Shared pieces of the dialog tests: a fixed clock, the message seam turned
// into a list of shown messages, and finding buttons by their text.

#include "AppValues.h"
#include "Time.h"
#include "UserMessage.h"
#include "XListCtrl.h"

#include <QAbstractButton>
#include <QDialog>
#include <QList>
#include <QTest>
#include <QWidget>

// Records every message box instead of showing it. Answers OK, or the
// answer set for questions.
class MessageLog
{
public:
    MessageLog()
    {
        UserMessage::SetHandler([this](const UserMessage::Shown& shown) {
            m_shown.append(shown);
            return shown.buttons == UserMessage::Buttons::Ok ? UserMessage::Answer::Ok : m_answer;
        });
    }
    void answerQuestionsWith(UserMessage::Answer answer) { m_answer = answer; }
    ~MessageLog() { UserMessage::SetHandler({}); }
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    int count() const { return int(m_shown.size()); }
    QString lastText() const { return m_shown.isEmpty() ? QString() : m_shown.last().text; }
    QString lastTitle() const { return m_shown.isEmpty() ? QString() : m_shown.last().title; }
    void clear() { m_shown.clear(); }

private:
    QList<UserMessage::Shown> m_shown;
    UserMessage::Answer m_answer = UserMessage::Answer::No;
};

// Noon on 15 June 2024, New York time.
inline constexpr int64_t kTestNow = 1718467200;

inline void FixClock()
{
    Clock::Set([] { return kTestNow; });
    AppValues::ResetToDefaults();
}

inline QAbstractButton* FindButton(QWidget* dialog, const QString& text)
{
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

inline void ClickButton(QWidget* dialog, const QString& text)
{
    QAbstractButton* button = FindButton(dialog, text);
    QVERIFY2(button, qPrintable(QStringLiteral("no button \"%1\"").arg(text)));
    QVERIFY2(button->isEnabled(), qPrintable(QStringLiteral("button \"%1\" is disabled").arg(text)));
    QTest::mouseClick(button, Qt::LeftButton);
}

// Clicks a check box on its box: its centre may lie past the label.
inline void ClickCheckBox(QWidget* box)
{
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2));
}

// Clicks a row of a grid list, in its first column.
inline void ClickRow(CXListCtrl* list, int row)
{
    QRect cell;
    QVERIFY2(list->GetSubItemRect(row, 0, CXListCtrl::AreaBounds, cell), "no such row");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
}

// The texts of one row, column by column.
inline QStringList RowTexts(const CXListCtrl* list, int row)
{
    QStringList texts;
    for (int column = 0; column < list->GetColumns(); ++column)
        texts << list->GetItemText(row, column);
    return texts;
}

// Replaces the text of an edit the way a user does: select all, type.
template <class Edit>
void RetypeText(Edit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    if (!text.isEmpty())
        QTest::keyClicks(edit, text);
}
