#include "RecordEditorFrame.h"

#include "DialogFields.h"
#include "XListCtrl.h"

#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

void RecordEditorFrame::AddField(int row, int column, const QString& label, QWidget* field) const
{
    auto* caption = new QLabel(label, group);
    caption->setBuddy(field);
    fields->addWidget(caption, row, column * 2);
    fields->addWidget(field, row, column * 2 + 1);
}

RecordEditorFrame MakeRecordEditorFrame(QDialog* dialog, const QString& listName, const QString& addText,
                                        const QString& deleteText, const QString& groupTitle)
{
    RecordEditorFrame frame;
    frame.list = new CXListCtrl(dialog);
    frame.list->setObjectName(listName);
    frame.list->SetSingleSelection(true);
    frame.list->SetShowSelectionAlways(true);
    frame.list->SetFullRowSelect(true);
    frame.list->SetGridLines(true);
    frame.list->setMinimumHeight(DialogFields::FontUnits(frame.list, 0, 8).height());

    frame.addButton = new QPushButton(addText, dialog);
    frame.deleteButton = new QPushButton(deleteText, dialog);
    frame.okButton = new QPushButton(QStringLiteral("OK"), dialog);
    frame.group = new QGroupBox(groupTitle, dialog);
    frame.fields = new QGridLayout(frame.group);
    return frame;
}

void FinishRecordEditor(QDialog* dialog, const RecordEditorFrame& frame)
{
    frame.fields->setColumnStretch(1, 1);
    frame.fields->setColumnStretch(3, 1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(frame.addButton);
    buttons->addWidget(frame.deleteButton);
    buttons->addStretch(1);
    buttons->addWidget(frame.okButton);

    auto* lower = new QHBoxLayout;
    lower->addLayout(buttons);
    lower->addWidget(frame.group, 1);

    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(frame.list, 1);
    layout->addLayout(lower);
}
