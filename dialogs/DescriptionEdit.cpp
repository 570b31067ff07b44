#include "DescriptionEdit.h"

#include <QKeyEvent>

CDescriptionEdit::CDescriptionEdit(QWidget* parent) : QLineEdit(parent)
{
    // textEdited, not textChanged: text put in by the program (a loaded
    // entry, the completion itself) must not start a completion.
    connect(this, &QLineEdit::textEdited, this, &CDescriptionEdit::OnTextEdited);
}

void CDescriptionEdit::keyPressEvent(QKeyEvent* event)
{
    m_bBackspace = event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete;
    QLineEdit::keyPressEvent(event);
}

void CDescriptionEdit::OnTextEdited(const QString& text)
{
    if (m_bBackspace || !m_lookup)
        return;
    QString description;
    QString category;
    int flag = -1;
    if (!m_lookup(text, description, category, flag))
        return;
    const bool completes = description != text;
    if (completes) {
        setText(description);
        // Select the part not typed, so typing on overwrites it; the caret
        // ends at the end of the text and stays in view.
        setSelection(int(text.size()), int(description.size() - text.size()));
    }
    emit Completed(category, flag, completes);
}
