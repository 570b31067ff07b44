#pragma once
// The frame the two record editors share: their list on top, "Add" /
// "Delete" / "OK" down the left, and a group box of labelled fields.

#include <QString>

class CXListCtrl;
class QDialog;
class QGridLayout;
class QGroupBox;
class QPushButton;
class QWidget;

struct RecordEditorFrame
{
    CXListCtrl* list = nullptr;
    QPushButton* addButton = nullptr;
    QPushButton* deleteButton = nullptr;
    QPushButton* okButton = nullptr;
    QGroupBox* group = nullptr;
    QGridLayout* fields = nullptr;

    // A label with its buddy field at grid row, pair column.
    void AddField(int row, int column, const QString& label, QWidget* field) const;
};

// Builds the frame into dialog; the caller fills group and fields, then
// calls FinishRecordEditor.
RecordEditorFrame MakeRecordEditorFrame(QDialog* dialog, const QString& listName, const QString& addText,
                                        const QString& deleteText, const QString& groupTitle);
// Lays the frame out, the field columns stretching.
void FinishRecordEditor(QDialog* dialog, const RecordEditorFrame& frame);
