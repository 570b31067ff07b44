#pragma once
// The undo history of the open checkbook. Every change a user makes goes
// through it as one step that Edit > Undo takes back and Redo makes again,
// in the main window and in the open dialogs alike. Whether the document
// differs from its file follows the history: back at the step that was
// last saved or opened, it does not. Memory only; a new or opened
// document starts with none.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUndoStack>

#include <memory>

class CDocChange;
class CQuilletDoc;
class QKeySequence;
class QWidget;

class CDocHistory : public QObject
{
    Q_OBJECT
public:
    explicit CDocHistory(CQuilletDoc& doc, QObject* parent = nullptr);
    ~CDocHistory() override;

    CQuilletDoc& Document() const { return m_doc; }
    const QUndoStack& Stack() const { return m_stack; }

    // Makes the change and keeps it as one step. False when it changed
    // nothing or was refused: then there is no step, and the change is gone.
    bool Apply(std::unique_ptr<CDocChange> change);

    bool CanUndo() const { return m_stack.canUndo(); }
    bool CanRedo() const { return m_stack.canRedo(); }
    // The name of the step Undo (Redo) would take, such as "Delete Entry".
    QString UndoName() const { return m_stack.undoText(); }
    QString RedoName() const { return m_stack.redoText(); }
    void Undo();
    void Redo();

    // The document is what its file holds now (just saved).
    void SetClean();
    // Forgets every step: a new or opened document.
    void Clear();

    // Gives a dialog the undo and redo keys. A text field that has typing of
    // its own to take back keeps them; otherwise they undo the document.
    void AddKeys(QWidget* window);
    // The same key rule for a window that has its own undo and redo
    // actions (the main window's Edit menu).
    void WatchKeys(QWidget* window);

    static QList<QKeySequence> UndoKeys();
    static QList<QKeySequence> RedoKeys();

signals:
    // A change is about to be made (not an undo or redo): the document is
    // still as it was.
    void AboutToChange();
    // An undo or redo changed the document under whoever shows it: every
    // view and open dialog refills from the document.
    void DocumentChanged();
    // What Undo and Redo would do changed.
    void StateChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnIndexChanged();

    CQuilletDoc& m_doc;
    QUndoStack m_stack;
    // Set while a change made here (not an undo or redo) moves the stack.
    bool m_bQuiet = false;
    QList<QPointer<QWidget>> m_windows;
};
