#pragma once
// "Day Chart Settings": up to five accounts drawn as lines in the day chart,
// and the lookback. OK stores the five names in the document's day-chart
// selection and the lookback in the application-wide setting, as one step
// of the history; Cancel changes nothing.

#include <QDialog>

#include <array>

class CDocHistory;
class CQuilletDoc;
class QCheckBox;
class QComboBox;
class QLineEdit;

class CDayChartDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kLines = 5;

    explicit CDayChartDlg(CDocHistory& history, QWidget* parent = nullptr);

public slots:
    void accept() override;

private:
    // Each line's list holds the document's accounts; what a line has
    // chosen stays chosen while the document has it.
    void FillLists();
    void SelectAccount(QComboBox* list, const std::string& name);
    // The account name of a line's list entry, as the document holds it.
    std::string SelectedName(int line) const;

    CDocHistory& m_history;
    CQuilletDoc* m_pDoc;
    std::array<QCheckBox*, kLines> m_lineChecks{};
    std::array<QComboBox*, kLines> m_lineLists{};
    QLineEdit* m_lookbackEdit;
};
