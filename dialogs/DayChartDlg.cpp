#include "DayChartDlg.h"

#include "AppValues.h"
#include "DialogFields.h"
#include "QuilletDoc.h"
#include "TextCodec.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CDayChartDlg::CDayChartDlg(CQuilletDoc* doc, QWidget* parent) : QDialog(parent), m_pDoc(doc)
{
    setWindowTitle(QStringLiteral("Day Chart Settings"));

    auto* intro = new QLabel(QStringLiteral("Select up to 5 accounts to show in the Day Chart"), this);
    intro->setWordWrap(true);

    auto* grid = new QGridLayout;
    QFont headingFont = font();
    headingFont.setBold(true);
    auto* enableHeading = new QLabel(QStringLiteral("Enable the following"), this);
    auto* nameHeading = new QLabel(QStringLiteral("Account Name"), this);
    enableHeading->setFont(headingFont);
    nameHeading->setFont(headingFont);
    grid->addWidget(enableHeading, 0, 0);
    grid->addWidget(nameHeading, 0, 1);

    // Each line's list is indexed like the document's accounts.
    std::vector<std::string> accounts;
    for (int index = 0; m_pDoc && m_pDoc->GetAccount(index); ++index)
        accounts.push_back(m_pDoc->GetAccount(index)->m_strName);

    for (int line = 0; line < kLines; ++line) {
        auto* check = new QCheckBox(QStringLiteral("Line %1").arg(line + 1), this);
        check->setObjectName(QStringLiteral("lineCheck%1").arg(line + 1));
        auto* list = new QComboBox(this);
        list->setObjectName(QStringLiteral("lineAccount%1").arg(line + 1));
        list->setMinimumContentsLength(20);
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        for (const std::string& name : accounts)
            list->addItem(FromBytes(name));
        list->setCurrentIndex(-1);
        grid->addWidget(check, line + 1, 0);
        grid->addWidget(list, line + 1, 1);
        m_lineChecks[size_t(line)] = check;
        m_lineLists[size_t(line)] = list;
        // Only the user's click opens or closes a line's list; loading the
        // selection below decides the lists itself.
        connect(check, &QCheckBox::clicked, list, &QWidget::setEnabled);
    }
    grid->setColumnStretch(1, 1);

    // With k accounts only lines 1 to k + 1 are offered.
    const int usable = int(accounts.size()) + 1;
    for (int line = usable; line < kLines; ++line) {
        m_lineChecks[size_t(line)]->setEnabled(false);
        m_lineLists[size_t(line)]->setEnabled(false);
    }

    if (m_pDoc && m_pDoc->IsDayChartSet()) {
        for (int line = 0; line < kLines; ++line) {
            std::string name;
            QCheckBox* check = m_lineChecks[size_t(line)];
            QComboBox* list = m_lineLists[size_t(line)];
            if (m_pDoc->GetDayChartAccount(line, name)) {
                check->setChecked(true);
                SelectAccount(list, name);
            } else {
                check->setChecked(false);
                list->setEnabled(false);
            }
        }
    }

    m_lookbackEdit = new QLineEdit(QString::number(g_nLookback), this);
    m_lookbackEdit->setObjectName(QStringLiteral("lookbackEdit"));
    m_lookbackEdit->setMaximumWidth(m_lookbackEdit->fontMetrics().horizontalAdvance(QStringLiteral("-0000000")));
    auto* lookbackLabel = new QLabel(QStringLiteral("Lookback:"), this);
    lookbackLabel->setBuddy(m_lookbackEdit);
    auto* lookbackRow = new QHBoxLayout;
    lookbackRow->addWidget(lookbackLabel);
    lookbackRow->addWidget(m_lookbackEdit);
    lookbackRow->addWidget(new QLabel(QStringLiteral("Days"), this));
    lookbackRow->addStretch(1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CDayChartDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDayChartDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(grid);
    layout->addLayout(lookbackRow);
    layout->addWidget(buttons);
}

void CDayChartDlg::SelectAccount(QComboBox* list, const std::string& name)
{
    // Exact byte comparison: a renamed or deleted account selects nothing.
    for (int index = 0; m_pDoc->GetAccount(index); ++index) {
        if (m_pDoc->GetAccount(index)->m_strName == name) {
            list->setCurrentIndex(index);
            return;
        }
    }
    list->setCurrentIndex(-1);
}

std::string CDayChartDlg::SelectedName(int line) const
{
    const QComboBox* list = m_lineLists[size_t(line)];
    if (!m_lineChecks[size_t(line)]->isChecked() || list->currentIndex() < 0)
        return std::string();
    const CAccount* account = m_pDoc->GetAccount(list->currentIndex());
    return account ? account->m_strName : std::string();
}

void CDayChartDlg::accept()
{
    int lookback = 0;
    if (!DialogFields::ReadInteger(m_lookbackEdit, QStringLiteral("Lookback"), lookback))
        return;
    if (m_pDoc) {
        // The selection is stored in the file: a change must not be lost
        // at exit without a question.
        bool changed = !m_pDoc->IsDayChartSet();
        for (int line = 0; line < kLines; ++line) {
            const std::string name = SelectedName(line);
            changed = changed || m_pDoc->m_dayChartAccounts[line] != name;
            m_pDoc->SetDayChartAccount(line, name);
        }
        if (changed)
            m_pDoc->SetModifiedFlag();
    }
    g_nLookback = lookback;
    QDialog::accept();
}
