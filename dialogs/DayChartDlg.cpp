#include "DayChartDlg.h"

#include "AppValues.h"
#include "DialogFields.h"
#include "DocChanges.h"
#include "DocHistory.h"
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

CDayChartDlg::CDayChartDlg(CDocHistory& history, QWidget* parent)
    : QDialog(parent), m_history(history), m_pDoc(&history.Document())
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

    for (int line = 0; line < kLines; ++line) {
        auto* check = new QCheckBox(QStringLiteral("Line %1").arg(line + 1), this);
        check->setObjectName(QStringLiteral("lineCheck%1").arg(line + 1));
        auto* list = new QComboBox(this);
        list->setObjectName(QStringLiteral("lineAccount%1").arg(line + 1));
        list->setMinimumContentsLength(20);
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        grid->addWidget(check, line + 1, 0);
        grid->addWidget(list, line + 1, 1);
        m_lineChecks[size_t(line)] = check;
        m_lineLists[size_t(line)] = list;
        // Only the user's click opens or closes a line's list; loading the
        // selection below decides the lists itself.
        connect(check, &QCheckBox::clicked, list, &QWidget::setEnabled);
    }
    grid->setColumnStretch(1, 1);
    FillLists();

    if (m_pDoc->IsDayChartSet()) {
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

    m_history.AddKeys(this);
    // An undo or redo may have added or taken away accounts.
    connect(&m_history, &CDocHistory::DocumentChanged, this, [this] {
        FillLists();
        for (int line = 0; line < kLines; ++line)
            if (m_lineChecks[size_t(line)]->isEnabled())
                m_lineLists[size_t(line)]->setEnabled(m_lineChecks[size_t(line)]->isChecked());
    });
}

void CDayChartDlg::FillLists()
{
    const int count = int(m_pDoc->m_accounts.size());
    for (int line = 0; line < kLines; ++line) {
        QComboBox* list = m_lineLists[size_t(line)];
        const QVariant chosen = list->currentData();
        list->clear();
        // Each entry carries its account's name as the document holds it.
        for (int index = 0; index < count; ++index) {
            const std::string& name = m_pDoc->GetAccount(index)->m_strName;
            list->addItem(FromBytes(name), QByteArray::fromStdString(name));
        }
        list->setCurrentIndex(chosen.isValid() ? list->findData(chosen) : -1);
        // With k accounts only lines 1 to k + 1 are offered.
        if (line > count) {
            m_lineChecks[size_t(line)]->setEnabled(false);
            list->setEnabled(false);
        } else {
            m_lineChecks[size_t(line)]->setEnabled(true);
        }
    }
}

void CDayChartDlg::SelectAccount(QComboBox* list, const std::string& name)
{
    // Exact byte comparison: a renamed or deleted account selects nothing.
    list->setCurrentIndex(list->findData(QByteArray::fromStdString(name)));
}

std::string CDayChartDlg::SelectedName(int line) const
{
    const QComboBox* list = m_lineLists[size_t(line)];
    if (!m_lineChecks[size_t(line)]->isChecked() || list->currentIndex() < 0)
        return std::string();
    return list->currentData().toByteArray().toStdString();
}

void CDayChartDlg::accept()
{
    int lookback = 0;
    if (!DialogFields::ReadInteger(m_lookbackEdit, QStringLiteral("Lookback"), lookback))
        return;
    // All five lines are stored, empty ones too; the file carries them and
    // the lookback, so the change is one step that leaving asks to save.
    ViewSettings settings = ViewSettings::Of(*m_pDoc);
    settings.dayChartSet = true;
    for (int line = 0; line < kLines; ++line)
        settings.dayChartAccounts[size_t(line)] = SelectedName(line);
    settings.lookback = lookback;
    m_history.Apply(std::make_unique<CViewSettingsChange>("Change Day Chart Settings", settings));
    QDialog::accept();
}
