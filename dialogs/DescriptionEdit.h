#pragma once
// The register editor's description field: completes what the user types
// from remembered entries, and leaves a completion alone once the user
// has deleted it.

#include <QLineEdit>

#include <functional>

class CDescriptionEdit : public QLineEdit
{
    Q_OBJECT
public:
    // Finds a remembered entry for the typed text: its description,
    // category and flag. False when there is none.
    using Lookup = std::function<bool(const QString& typed, QString& description, QString& category, int& flag)>;

    explicit CDescriptionEdit(QWidget* parent = nullptr);
    void SetLookup(Lookup lookup) { m_lookup = std::move(lookup); }

signals:
    // A remembered entry matched what was typed. descriptionCompleted is
    // false when the typed text already was the whole description.
    void Completed(const QString& category, int flag, bool descriptionCompleted);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnTextEdited(const QString& text);

    Lookup m_lookup;
    // The last key deleted text: completing now would bring back what the
    // user just removed.
    bool m_bBackspace = false;
};
