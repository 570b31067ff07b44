#include "CategoryViewDlg.h"

#include "AppValues.h"
#include "DialogFields.h"
#include "DocChanges.h"
#include "DocHistory.h"
#include "QuilletDoc.h"
#include "TextCodec.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace
{
QSlider* MakeSlider(QWidget* parent, const char* name, int minimum, int maximum, int pageStep)
{
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(QLatin1String(name));
    slider->setTickPosition(QSlider::NoTicks);
    slider->setRange(minimum, maximum);
    slider->setPageStep(pageStep);
    return slider;
}

QLabel* MakeValueText(QWidget* parent, const char* name, int value)
{
    auto* label = new QLabel(QString::number(value), parent);
    label->setObjectName(QLatin1String(name));
    // Wide enough for "365" so the slider does not jump as the text grows.
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QGroupBox* MakeGroup(QWidget* parent, const QString& title, QSlider* slider, QLabel* value,
                     const QString& unit = QString())
{
    auto* group = new QGroupBox(title, parent);
    auto* row = new QHBoxLayout(group);
    row->addWidget(slider, 1);
    row->addWidget(value);
    auto* unitLabel = new QLabel(unit, group);
    // Keep the three value texts in one column, with or without a unit.
    unitLabel->setMinimumWidth(unitLabel->fontMetrics().horizontalAdvance(QStringLiteral("Days")));
    row->addWidget(unitLabel);
    return group;
}

// The text as the value it was written from; every text here is written
// with "%d", so it always reads back.
int TextValue(const QLabel* label)
{
    return label->text().toInt();
}
}

CCategoryViewDlg::CCategoryViewDlg(CDocHistory& history, QWidget* parent)
    : QDialog(parent), m_history(history), m_pDoc(&history.Document())
{
    setWindowTitle(QStringLiteral("Category View Settings"));

    auto* intro = new QLabel(QStringLiteral("These settings control the look of your category pie chart ."), this);
    intro->setWordWrap(true);

    // Shown for information only: the chart is always drawn, and the account
    // filter comes with the file.
    auto* showChart = new QCheckBox(QStringLiteral("Show Category Chart"), this);
    showChart->setObjectName(QStringLiteral("showChart"));
    showChart->setChecked(true);
    showChart->setEnabled(false);

    auto* accountView = new QComboBox(this);
    accountView->setObjectName(QStringLiteral("accountView"));
    accountView->addItem(QStringLiteral("All Accounts"));
    {
        std::string names;
        m_pDoc->GetAccountNames(names);
        for (const std::string& name : GetListFields(names)) {
            if (name.empty())
                break;
            accountView->addItem(FromBytes(name));
            if (name == g_strCategoryAccount)
                accountView->setCurrentIndex(accountView->count() - 1);
        }
    }
    accountView->setEnabled(false);
    auto* accountLabel = new QLabel(QStringLiteral("Account View"), this);
    accountLabel->setBuddy(accountView);
    accountLabel->setEnabled(false);

    m_lookbackText = MakeValueText(this, "lookbackText", g_nLookback);
    m_numCategoriesText = MakeValueText(this, "numCategoriesText", g_nNumCategories);
    m_startCategoriesText = MakeValueText(this, "startCategoriesText", g_nStartCategories);

    m_lookbackSlider = MakeSlider(this, "lookbackSlider", 1, 365, 30);
    m_numCategoriesSlider = MakeSlider(this, "numCategoriesSlider", 1, 30, 5);
    m_lookbackSlider->setValue(TextValue(m_lookbackText));
    m_numCategoriesSlider->setValue(TextValue(m_numCategoriesText));
    m_startCategoriesSlider = MakeSlider(this, "startCategoriesSlider", 1, m_numCategoriesSlider->value(), 5);
    m_startCategoriesSlider->setValue(TextValue(m_startCategoriesText));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CCategoryViewDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CCategoryViewDlg::reject);

    auto* accountRow = new QHBoxLayout;
    accountRow->addWidget(accountLabel);
    accountRow->addWidget(accountView, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(showChart);
    layout->addLayout(accountRow);
    layout->addWidget(MakeGroup(this, QStringLiteral("Lookback"), m_lookbackSlider, m_lookbackText,
                                QStringLiteral("Days")));
    layout->addWidget(MakeGroup(this, QStringLiteral("Maximum Categories"), m_numCategoriesSlider,
                                m_numCategoriesText));
    layout->addWidget(MakeGroup(this, QStringLiteral("Category Start"), m_startCategoriesSlider,
                                m_startCategoriesText));
    layout->addWidget(buttons);
    setMinimumWidth(DialogFields::FontUnits(this, 73, 0).width());

    for (QSlider* slider : {m_lookbackSlider, m_numCategoriesSlider, m_startCategoriesSlider})
        connect(slider, &QSlider::valueChanged, this, &CCategoryViewDlg::OnSliderMoved);
    m_lookbackSlider->setFocus();
    m_history.AddKeys(this);
}

QString CCategoryViewDlg::LookbackText() const
{
    return m_lookbackText->text();
}

QString CCategoryViewDlg::NumCategoriesText() const
{
    return m_numCategoriesText->text();
}

QString CCategoryViewDlg::StartCategoriesText() const
{
    return m_startCategoriesText->text();
}

void CCategoryViewDlg::OnSliderMoved()
{
    // Narrowing the start slider's range moves it, which comes back here.
    if (m_bUpdating)
        return;
    m_bUpdating = true;
    m_lookbackText->setText(QString::number(m_lookbackSlider->value()));
    m_numCategoriesText->setText(QString::number(m_numCategoriesSlider->value()));
    // The first category shown can never lie past the last one shown.
    m_startCategoriesSlider->setRange(1, m_numCategoriesSlider->value());
    m_startCategoriesText->setText(QString::number(m_startCategoriesSlider->value()));
    m_bUpdating = false;
}

void CCategoryViewDlg::accept()
{
    ViewSettings settings = ViewSettings::Of(*m_pDoc);
    settings.numCategories = TextValue(m_numCategoriesText);
    settings.lookback = TextValue(m_lookbackText);
    settings.startCategories = TextValue(m_startCategoriesText);
    m_history.Apply(std::make_unique<CViewSettingsChange>("Change Category View Settings", settings));
    // Even unchanged settings rebuild: the totals may have drifted from the
    // window through entries added since the last rebuild.
    m_pDoc->RebuildCategoryTotals();
    QDialog::accept();
}
