#include "CategoriesDlg.h"

#include "DialogFields.h"
#include "DocChanges.h"
#include "DocHistory.h"
#include "ListColumns.h"
#include "ListKeyboard.h"
#include "QuilletDoc.h"
#include "RowRecords.h"
#include "TextCodec.h"
#include "UserMessage.h"
#include "XListCtrl.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CCategoriesDlg::CCategoriesDlg(CDocHistory& history, QWidget* parent)
    : QDialog(parent), m_history(history), m_pDoc(&history.Document())
{
    setWindowTitle(QStringLiteral("Define Categories"));

    auto* intro = new QLabel(QStringLiteral("Define the list of categories"), this);

    m_list = new CXListCtrl(this);
    m_list->setObjectName(QStringLiteral("categoryList"));
    m_list->SetSingleSelection(true);
    m_list->SetShowSelectionAlways(true);
    m_list->SetFullRowSelect(true);
    m_list->setMinimumSize(DialogFields::FontUnits(m_list, 40, 16));
    InsertListColumns(m_list, {
                                  {QStringLiteral("Category"), Qt::AlignHCenter, 13, 16, 19},
                                  {QStringLiteral("Flag"), Qt::AlignHCenter, 3, 16},
                              });

    auto* group = new QGroupBox(QStringLiteral("Entry Controls"), this);
    m_nameEdit = new QLineEdit(group);
    m_nameEdit->setObjectName(QStringLiteral("nameEdit"));
    DialogFields::SetMinimumCharacters(m_nameEdit, 20);
    m_flagCombo = new QComboBox(group);
    m_flagCombo->setObjectName(QStringLiteral("flagCombo"));
    DialogFields::FillFlagCombo(m_flagCombo);
    // A category always has a flag of the palette; "0" is the plain row.
    m_flagCombo->setCurrentIndex(0);
    auto* insertButton = new QPushButton(QStringLiteral("Insert"), group);
    auto* modifyButton = new QPushButton(QStringLiteral("Modify"), group);
    auto* deleteButton = new QPushButton(QStringLiteral("Delete"), group);
    modifyButton->setToolTip(QStringLiteral("Give the selected category the chosen flag"));

    auto* nameLabel = new QLabel(QStringLiteral("Category"), group);
    nameLabel->setBuddy(m_nameEdit);
    auto* flagLabel = new QLabel(QStringLiteral("Flag"), group);
    flagLabel->setBuddy(m_flagCombo);
    auto* fields = new QGridLayout(group);
    fields->addWidget(nameLabel, 0, 0);
    fields->addWidget(m_nameEdit, 0, 1);
    fields->addWidget(flagLabel, 1, 0);
    fields->addWidget(m_flagCombo, 1, 1);
    auto* actions = new QHBoxLayout;
    actions->addWidget(insertButton);
    actions->addWidget(modifyButton);
    actions->addWidget(deleteButton);
    fields->addLayout(actions, 2, 0, 1, 2);
    fields->setColumnStretch(1, 1);

    auto* okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setDefault(true);

    auto* right = new QVBoxLayout;
    right->addWidget(group);
    right->addStretch(1);
    right->addWidget(okButton, 0, Qt::AlignRight);

    auto* body = new QHBoxLayout;
    body->addWidget(m_list, 1);
    body->addLayout(right);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(body, 1);
    resize(DialogFields::FontUnits(this, 93, 31));

    QWidget* order[] = {m_list, m_nameEdit, m_flagCombo, insertButton, modifyButton, deleteButton, okButton};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(insertButton, &QPushButton::clicked, this, &CCategoriesDlg::OnInsert);
    connect(modifyButton, &QPushButton::clicked, this, &CCategoriesDlg::OnModify);
    connect(deleteButton, &QPushButton::clicked, this, &CCategoriesDlg::OnDelete);
    connect(okButton, &QPushButton::clicked, this, &CCategoriesDlg::accept);
    connect(m_list, &CXListCtrl::itemClicked, this, [this] { LoadRow(m_list->GetNextSelected(-1)); });
    OnRowWalkedTo(m_list, [this](int row) { LoadRow(row); });

    FillList();
    m_nameEdit->setFocus();

    m_history.AddKeys(this);
    connect(&m_history, &CDocHistory::DocumentChanged, this, &CCategoriesDlg::OnDocumentChanged);
}

void CCategoriesDlg::OnDocumentChanged()
{
    // The selected category stays selected while the list has it.
    const CCategory* selected = SelectedCategory();
    const std::string name = selected ? selected->m_strName : std::string();
    FillList();
    if (selected)
        SelectRow(FindRow(name));
}

void CCategoriesDlg::FillList()
{
    m_list->DeleteAllItems();
    m_nCategoryCount = 0;
    const QColor black(Qt::black);
    for (const auto& category : m_pDoc->m_pCategoryList->m_categories) {
        const QColor background = DialogFields::FlagColor(category->m_nFlag);
        const QString name = FromBytes(category->m_strName);
        const int row = m_list->InsertItem(m_nCategoryCount, name, black, background);
        m_list->SetItemText(row, 0, name, black, background);
        m_list->SetItemText(row, 1, QString::number(category->m_nFlag), black, background);
        SetRowRecord(m_list, row, category.get());
        ++m_nCategoryCount;
    }
    m_list->ReSort();
}

void CCategoriesDlg::SelectRow(int row)
{
    const unsigned both = CXListCtrl::StateSelected | CXListCtrl::StateFocused;
    if (m_list->SetItemState(row, both, both))
        m_list->EnsureVisible(row);
}

CCategory* CCategoriesDlg::SelectedCategory() const
{
    // The selected row's own category, wherever the sort put the row.
    CCategory* category = RowRecord<CCategory>(m_list, m_list->GetNextSelected(-1));
    return PositionOf(m_pDoc->m_pCategoryList->m_categories, category) >= 0 ? category : nullptr;
}

int CCategoriesDlg::FindRow(const std::string& name) const
{
    for (int row = 0; row < m_list->GetItemCount(); ++row) {
        const CCategory* category = RowRecord<CCategory>(m_list, row);
        if (category && category->m_strName == name)
            return row;
    }
    return -1;
}

void CCategoriesDlg::LoadRow(int row)
{
    const CCategory* category = RowRecord<CCategory>(m_list, row);
    if (PositionOf(m_pDoc->m_pCategoryList->m_categories, category) < 0)
        return;
    m_nameEdit->setText(FromBytes(category->m_strName));
    const int flag = category->m_nFlag;
    m_flagCombo->setCurrentIndex(flag >= 0 && flag < m_flagCombo->count() ? flag : 0);
}

void CCategoriesDlg::OnInsert()
{
    const std::string name = ToBytes(m_nameEdit->text());
    QString problem;
    if (name.empty())
        problem = QStringLiteral("Category: Invalid Value.\nYou must enter a category name.");
    else if (m_pDoc->m_pCategoryList->GetCategoryFlag(name) >= 0)
        problem = QStringLiteral("Category: Invalid Value.\nThe category \"%1\" already exists.")
                      .arg(m_nameEdit->text());
    if (!problem.isEmpty()) {
        UserMessage::Show(this, problem, UserMessage::Buttons::Ok);
        SelectRow(FindRow(name));
        m_nameEdit->setFocus();
        m_nameEdit->selectAll();
        return;
    }
    const int flag = std::max(m_flagCombo->currentIndex(), 0);
    m_history.Apply(std::make_unique<CInsertCategoryChange>(name, flag));
    FillList();
    SelectRow(FindRow(name));
}

void CCategoriesDlg::OnModify()
{
    CCategory* category = SelectedCategory();
    if (!category)
        return;
    const int flag = std::max(m_flagCombo->currentIndex(), 0);
    m_history.Apply(
        std::make_unique<CModifyCategoryChange>(PositionOf(m_pDoc->m_pCategoryList->m_categories, category), flag));
    FillList();
    SelectRow(RowOfRecord(m_list, category));
}

void CCategoriesDlg::OnDelete()
{
    // Exactly the category shown selected; with none, nothing.
    const int row = m_list->GetNextSelected(-1);
    const int position = PositionOf(m_pDoc->m_pCategoryList->m_categories, SelectedCategory());
    if (position >= 0) {
        m_list->DeleteItem(row);
        --m_nCategoryCount;
        m_history.Apply(std::make_unique<CDeleteCategoryChange>(position));
        m_list->selectionModel()->clearSelection();
    }
}
