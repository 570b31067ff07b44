#pragma once
// Shared pieces of the dialog tests: a fixed clock, the message seam turned
// into a list of shown messages, a small checkbook, and a user's clicks.

#include "AppValues.h"
#include "CheckbookFile.h"
#include "DocHistory.h"
#include "QuilletDoc.h"
#include "Time.h"
#include "UserMessage.h"
#include "XListCtrl.h"

#include <QAbstractButton>
#include <QDialog>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

// Records every message box instead of showing it. Answers OK, or `answer`
// to questions.
class MessageLog
{
public:
    MessageLog()
    {
        UserMessage::SetHandler([this](const UserMessage::Shown& shown) {
            texts << shown.text;
            icons << shown.icon;
            m_lastTitle = shown.title;
            return shown.buttons == UserMessage::Buttons::Ok ? UserMessage::Answer::Ok : answer;
        });
    }
    ~MessageLog() { UserMessage::SetHandler({}); }

    int count() const { return int(texts.size()); }
    QString lastText() const { return texts.isEmpty() ? QString() : texts.last(); }
    QString lastTitle() const { return m_lastTitle; }

    // True when every box so far was a plain one, without an icon.
    bool allPlain() const { return std::all_of(icons.begin(), icons.end(), [](UserMessage::Icon i) { return i == UserMessage::Icon::None; }); }

    QStringList texts;
    QList<UserMessage::Icon> icons;
    UserMessage::Answer answer = UserMessage::Answer::No;

private:
    QString m_lastTitle;
};

// Noon on 15 June 2024, New York time.
inline constexpr int64_t kTestNow = 1718467200;

inline void FixClock()
{
    Clock::Set([] { return kTestNow; });
    AppValues::ResetToDefaults();
}

template <class T>
T* Find(QObject* dialog, const char* name)
{
    T* child = dialog->findChild<T*>(QLatin1String(name));
    if (!child)
        qFatal("no child %s", name);
    return child;
}

inline void ClickButton(QWidget* dialog, const QString& text)
{
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
        if (button->text() == text) {
            QVERIFY2(button->isEnabled(), qPrintable(u"button \"%1\" is disabled"_s.arg(text)));
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    QFAIL(qPrintable(u"no button \"%1\""_s.arg(text)));
}

// Clicks a check box on its box: its centre may lie past the label.
inline void ClickCheckBox(QWidget* box)
{
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2));
}

inline void ClickCell(CXListCtrl* list, int row, int column = 0, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QRect cell;
    QVERIFY2(list->GetSubItemRect(row, column, CXListCtrl::AreaBounds, cell), "no such cell");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, cell.center());
}

inline void ClickHeading(CXListCtrl* list, int column)
{
    QHeaderView* header = list->horizontalHeader();
    const QPoint centre(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
}

// A row's cell texts joined with "|", so one comparison reads a whole row.
inline QString RowText(const CXListCtrl* list, int row)
{
    QStringList cells;
    for (int column = 0; column < list->GetColumns(); ++column)
        cells << list->GetItemText(row, column);
    return cells.join(u'|');
}

// Every row's RowText, top to bottom.
inline QStringList AllRows(const CXListCtrl* list)
{
    QStringList rows;
    for (int row = 0; row < list->GetItemCount(); ++row)
        rows << RowText(list, row);
    return rows;
}

inline int RowOfEntry(const CXListCtrl* list, const CTransaction* entry)
{
    for (int row = 0; row < list->GetItemCount(); ++row)
        if (list->GetItemData(row) == reinterpret_cast<quintptr>(entry))
            return row;
    return -1;
}

// Picks an item of a drop-down with the arrow keys, as a user would.
inline void Choose(QComboBox* combo, int index)
{
    combo->setFocus();
    while (combo->currentIndex() < index)
        QTest::keyClick(combo, Qt::Key_Down);
    while (combo->currentIndex() > index)
        QTest::keyClick(combo, Qt::Key_Up);
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

// "Checking" (number 111, opening 50.00):
//   Groceries Market  -20.00 fee 0.50, flag 3
//   Rent Payment     -100.00 void, flag 2
//   Salary June       +30.00 cleared, flag 6
// "Savings" (number 111, opening 100.00): +10.00 cleared.
// "Travel" (number 222, opening 1000.00): +200.50 cleared, -40.00.
struct SampleBook
{
    CQuilletDoc doc;
    CDocHistory history{doc};
    CTransaction* groceries;
    CTransaction* rent;
    CTransaction* salary;

    SampleBook()
    {
        doc.AddAccount("Checking", "111", 50.0, "Pat", "First Bank", "");
        doc.AddAccount("Savings", "111", 100.0, "Pat", "First Bank", "");
        doc.AddAccount("Travel", "222", 1000.0, "Pat", "Other Bank", "");
        groceries = doc.AddEntry("Checking", CTime(2024, 6, 1, 9, 30, 0), "101", "Groceries Market", "Groceries",
                                 20.0, 0.5, 0, 0, 0, 3);
        rent = doc.AddEntry("Checking", CTime(2024, 6, 3, 9, 0, 0), "102", "Rent Payment", "Mortgage", 100.0, 0.0,
                            0, 0, 1, 2);
        salary = doc.AddEntry("Checking", CTime(2024, 6, 5, 9, 0, 0), "", "Salary June", " Deposit-Salary", 30.0,
                              0.0, 1, 1, 0, 6);
        doc.AddEntry("Savings", CTime(2024, 6, 2, 9, 0, 0), "", "Interest", " Deposit-Interest", 10.0, 0.0, 1, 1, 0,
                     6);
        doc.AddEntry("Travel", CTime(2024, 6, 4, 9, 0, 0), "", "Refund", " Deposit-Other", 200.5, 0.0, 1, 1, 0, 6);
        doc.AddEntry("Travel", CTime(2024, 6, 6, 9, 0, 0), "7", "Train", "Travel", 40.0, 0.0, 0, 0, 0, 5);
        doc.SetModifiedFlag(false);
    }
};

// Shows a dialog and waits until it can take clicks.
inline void Show(QWidget& dialog)
{
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
}

// A seeded walk of random user steps. The seed is fixed, so a run repeats
// exactly; QUILLET_SEED=n walks another way. Where() names the seed and the
// step for the failure message, so a failure can be replayed.
class RandomWalk
{
public:
    explicit RandomWalk(quint32 seed)
        : m_seed(qEnvironmentVariableIsSet("QUILLET_SEED") ? quint32(qEnvironmentVariableIntValue("QUILLET_SEED"))
                                                          : seed),
          m_rng(m_seed)
    {
    }

    // 0 .. n-1; the generator's output is the same on every platform.
    int Pick(int n) { return n > 0 ? int(m_rng() % quint32(n)) : 0; }
    template <class T>
    const T& PickOf(const std::vector<T>& values)
    {
        return values[size_t(Pick(int(values.size())))];
    }
    bool Chance(int percent) { return Pick(100) < percent; }

    void Step(const QString& action)
    {
        ++m_step;
        m_action = action;
    }
    QString Where() const { return u"seed %1, step %2 (%3): "_s.arg(m_seed).arg(m_step).arg(m_action); }

private:
    quint32 m_seed;
    std::mt19937 m_rng;
    int m_step = 0;
    QString m_action;
};

// Fails the walk with its seed when problem is not empty.
#define WALK_VERIFY(walk, problem)                                                                            \
    do {                                                                                                      \
        const QString walkProblem = (problem);                                                                \
        QVERIFY2(walkProblem.isEmpty(), qPrintable((walk).Where() + walkProblem));                            \
    } while (false)

// One random gesture on a list, as a user makes it: a heading click, an
// arrow key (now and then with Shift), or a click on a row scrolled into
// view: plain, with Ctrl or Shift, or double; a third of the clicks land on
// favouredColumn when one is given.
inline void RandomListGesture(RandomWalk& walk, CXListCtrl* list, int favouredColumn = -1)
{
    const int roll = walk.Pick(10);
    if (roll == 0) {
        const int column = walk.Pick(list->GetColumns());
        walk.Step(u"heading %1"_s.arg(column));
        ClickHeading(list, column);
        return;
    }
    if (roll == 1) {
        const bool up = walk.Chance(50);
        const bool shift = walk.Chance(25);
        walk.Step(u"%1%2"_s.arg(up ? u"Up"_s : u"Down"_s, shift ? u" +Shift"_s : QString()));
        list->setFocus();
        QTest::keyClick(list, up ? Qt::Key_Up : Qt::Key_Down, shift ? Qt::ShiftModifier : Qt::NoModifier);
        return;
    }
    const int row = walk.Pick(list->GetItemCount());
    const int column = favouredColumn >= 0 && walk.Chance(33) ? favouredColumn : walk.Pick(list->GetColumns());
    const Qt::KeyboardModifiers modifiers[] = {Qt::NoModifier, Qt::NoModifier, Qt::ControlModifier,
                                               Qt::ControlModifier, Qt::ShiftModifier};
    const Qt::KeyboardModifiers modifier = modifiers[walk.Pick(5)];
    const bool twice = walk.Chance(15);
    walk.Step(u"%1click row %2 column %3%4"_s.arg(twice ? u"double "_s : QString())
                  .arg(row)
                  .arg(column)
                  .arg(modifier == Qt::ControlModifier ? u" +Ctrl"_s
                       : modifier == Qt::ShiftModifier ? u" +Shift"_s
                                                       : QString()));
    list->EnsureVisible(row);
    QRect cell;
    list->GetSubItemRect(row, column, CXListCtrl::AreaBounds, cell);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifier, cell.center());
    if (twice) {
        // The second press of a double click arrives as the double click.
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, modifier, cell.center());
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, modifier, cell.center());
    }
}

// Presses one of the dialog's buttons, picked at random (a button named
// twice comes twice as often), and says which.
inline QString PressRandomButton(RandomWalk& walk, QWidget* dialog, const std::vector<QString>& buttons)
{
    const QString button = walk.PickOf(buttons);
    walk.Step(u"press %1"_s.arg(button));
    ClickButton(dialog, button);
    return button;
}

// The values of every record of a document's list, by record.
template <class Record, class ValuesOf>
auto SnapshotOf(const std::vector<std::unique_ptr<Record>>& records, ValuesOf valuesOf)
{
    std::map<const Record*, decltype(valuesOf(std::declval<const Record&>()))> snapshot;
    for (const auto& record : records)
        snapshot[record.get()] = valuesOf(*record);
    return snapshot;
}

// The records a step removed, added and changed, from snapshots of their
// values taken before and after it.
template <class Record>
struct Changes
{
    std::vector<const Record*> removed, added, changed;
    bool None() const { return removed.empty() && added.empty() && changed.empty(); }
};

template <class Record, class Values>
Changes<Record> Compare(const std::map<const Record*, Values>& before, const std::map<const Record*, Values>& after)
{
    Changes<Record> changes;
    for (const auto& [record, values] : before)
        if (!after.count(record))
            changes.removed.push_back(record);
        else if (!(after.at(record) == values))
            changes.changed.push_back(record);
    for (const auto& [record, values] : after)
        if (!before.count(record))
            changes.added.push_back(record);
    return changes;
}

// ---- undo and redo in a walk ------------------------------------------------

// Presses one of the undo or redo keys, picked at random, on one of
// targets (a list or a field). A field with typing of its own to take back
// keeps the key; anywhere else it must move the document's history one step.
class HistoryKeys
{
public:
    explicit HistoryKeys(CDocHistory& history) : m_history(history), m_states{Bytes()} {}

    void Press(RandomWalk& walk, const std::vector<QWidget*>& targets)
    {
        QWidget* target = targets[size_t(walk.Pick(int(targets.size())))];
        if (!target->isEnabled())
            target = targets.front();
        m_undo = walk.Chance(60);
        const QList<QKeySequence> keys = m_undo ? CDocHistory::UndoKeys() : CDocHistory::RedoKeys();
        const QKeyCombination key = keys[walk.Pick(int(keys.size()))][0];
        walk.Step(u"%1 on %2"_s.arg(QKeySequence(key).toString(), target->objectName()));
        target->setFocus();
        QLineEdit* edit = qobject_cast<QLineEdit*>(target);
        if (auto* combo = qobject_cast<QComboBox*>(target))
            edit = combo->lineEdit();
        m_fieldKept = edit && (m_undo ? edit->isUndoAvailable() : edit->isRedoAvailable());
        m_moves = !m_fieldKept && (m_undo ? m_history.CanUndo() : m_history.CanRedo());
        m_indexBefore = m_history.Stack().index();
        m_movesSeen += m_moves;
        m_keepsSeen += m_fieldKept;
        QTest::keyClick(target, key.key(), key.keyboardModifiers());
    }
    // The pressed key went to the field, which changed only its own text.
    bool FieldKept() const { return m_fieldKept; }
    // At the end of a walk: one whose keys seldom moved the history, or
    // never went to a field's own typing, tested too little of either.
    QString Coverage() const
    {
        return m_movesSeen >= 10 && m_keepsSeen >= 2
                   ? QString()
                   : u"only %1 keys moved the history, %2 went to a field"_s.arg(m_movesSeen).arg(m_keepsSeen);
    }

    // After every step of a walk, the pressed key's or any other. The
    // document's bytes at each step of the history are kept: an undo or a
    // redo must bring back exactly those of its step, and no other action
    // may change the document without adding one step.
    QString Check(bool keyPressed)
    {
        const int index = m_history.Stack().index();
        const std::string now = Bytes();
        QString problem;
        if (keyPressed && index != m_indexBefore + (m_moves ? (m_undo ? -1 : 1) : 0))
            problem = m_fieldKept ? u"the key undid the document, not the field's typing"_s
                                  : u"the key did not move the history one step"_s;
        else if (keyPressed || index == m_index) {
            if (size_t(index) >= m_states.size() || m_states[size_t(index)] != now)
                problem = keyPressed ? u"undo or redo did not bring back the document of that step"_s
                                     : u"the document changed without a step in its history"_s;
        } else if (index == m_index + 1) {
            m_states.resize(size_t(index));
            m_states.push_back(now);
        } else {
            problem = u"one action made %1 steps"_s.arg(index - m_index);
        }
        m_index = index;
        return problem;
    }

private:
    std::string Bytes() const { return WriteCheckbook(m_history.Document()); }

    CDocHistory& m_history;
    std::vector<std::string> m_states;
    int m_index = 0;
    int m_indexBefore = 0;
    bool m_undo = false;
    bool m_fieldKept = false;
    bool m_moves = false;
    int m_movesSeen = 0;
    int m_keepsSeen = 0;
};
