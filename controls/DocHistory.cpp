#include "DocHistory.h"

#include "DocChanges.h"
#include "QuilletDoc.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QUndoCommand>
#include <QWidget>

namespace
{
// One step of the history: the change, made already when it is pushed.
class CDocCommand : public QUndoCommand
{
public:
    CDocCommand(CQuilletDoc& doc, std::unique_ptr<CDocChange> change)
        : QUndoCommand(QString::fromStdString(change->Name())), m_doc(doc), m_change(std::move(change))
    {
    }

    void undo() override { m_change->Undo(m_doc); }
    void redo() override
    {
        // The stack redoes a step as it takes it; this one is done already.
        if (m_bDone) {
            m_bDone = false;
            return;
        }
        m_change->Redo(m_doc);
    }

private:
    CQuilletDoc& m_doc;
    std::unique_ptr<CDocChange> m_change;
    bool m_bDone = true;
};

bool Matches(const QKeyEvent* event, const QList<QKeySequence>& keys)
{
    const QKeySequence pressed(event->keyCombination());
    return keys.contains(pressed);
}

// Whether the focused field has typing of its own to undo (or redo).
bool FieldTakesKey(QWidget* widget, bool undo)
{
    QLineEdit* edit = qobject_cast<QLineEdit*>(widget);
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        edit = combo->lineEdit();
    if (edit)
        return !edit->isReadOnly() && (undo ? edit->isUndoAvailable() : edit->isRedoAvailable());
    if (auto* text = qobject_cast<QTextEdit*>(widget))
        return !text->isReadOnly() && (undo ? text->document()->isUndoAvailable() : text->document()->isRedoAvailable());
    if (auto* text = qobject_cast<QPlainTextEdit*>(widget))
        return !text->isReadOnly() && (undo ? text->document()->isUndoAvailable() : text->document()->isRedoAvailable());
    return false;
}
}

CDocHistory::CDocHistory(CQuilletDoc& doc, QObject* parent) : QObject(parent), m_doc(doc)
{
    connect(&m_stack, &QUndoStack::indexChanged, this, &CDocHistory::OnIndexChanged);
    connect(&m_stack, &QUndoStack::cleanChanged, this, [this](bool clean) { m_doc.SetModifiedFlag(!clean); });
    if (qApp)
        qApp->installEventFilter(this);
}

CDocHistory::~CDocHistory()
{
    // The steps hold records taken out of the document; they go first,
    // with nobody told any more.
    disconnect(&m_stack, nullptr, this, nullptr);
    m_stack.clear();
}

bool CDocHistory::Apply(std::unique_ptr<CDocChange> change)
{
    if (!change)
        return false;
    emit AboutToChange();
    if (!change->Do(m_doc))
        return false;
    m_bQuiet = true;
    m_stack.push(new CDocCommand(m_doc, std::move(change)));
    m_bQuiet = false;
    return true;
}

void CDocHistory::Undo()
{
    if (m_stack.canUndo())
        m_stack.undo();
}

void CDocHistory::Redo()
{
    if (m_stack.canRedo())
        m_stack.redo();
}

void CDocHistory::SetClean()
{
    m_stack.setClean();
    m_doc.SetModifiedFlag(false);
}

void CDocHistory::Clear()
{
    m_bQuiet = true;
    m_stack.clear();
    m_bQuiet = false;
    m_doc.SetModifiedFlag(false);
    emit StateChanged();
}

void CDocHistory::OnIndexChanged()
{
    // At the saved step the document is its file again; anywhere else it
    // differs from it.
    m_doc.SetModifiedFlag(!m_stack.isClean());
    if (!m_bQuiet)
        emit DocumentChanged();
    emit StateChanged();
}

QList<QKeySequence> CDocHistory::UndoKeys()
{
    return {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)};
}

QList<QKeySequence> CDocHistory::RedoKeys()
{
    return {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
}

void CDocHistory::AddKeys(QWidget* window)
{
    auto* undo = new QAction(window);
    undo->setObjectName(QStringLiteral("undoKeys"));
    undo->setShortcuts(UndoKeys());
    auto* redo = new QAction(window);
    redo->setObjectName(QStringLiteral("redoKeys"));
    redo->setShortcuts(RedoKeys());
    window->addAction(undo);
    window->addAction(redo);
    connect(undo, &QAction::triggered, this, &CDocHistory::Undo);
    connect(redo, &QAction::triggered, this, &CDocHistory::Redo);
    auto update = [this, undo, redo] {
        undo->setEnabled(CanUndo());
        redo->setEnabled(CanRedo());
    };
    connect(this, &CDocHistory::StateChanged, undo, update);
    update();
    WatchKeys(window);
}

void CDocHistory::WatchKeys(QWidget* window)
{
    m_windows.removeAll(nullptr);
    if (!m_windows.contains(window))
        m_windows << window;
}

bool CDocHistory::eventFilter(QObject* watched, QEvent* event)
{
    // A text field claims Ctrl+Z for its own typing before any shortcut is
    // looked at. When it has none to take back, the claim is turned down
    // here, so the key reaches the window's Undo and the document's last
    // step is undone.
    if (event->type() != QEvent::ShortcutOverride)
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const bool undo = Matches(key, UndoKeys());
    const bool redo = !undo && Matches(key, RedoKeys());
    auto* widget = qobject_cast<QWidget*>(watched);
    if ((!undo && !redo) || !widget || !m_windows.contains(widget->window()))
        return QObject::eventFilter(watched, event);
    if ((undo ? CanUndo() : CanRedo()) && !FieldTakesKey(widget, undo)) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
