#pragma once
// "Category View Settings": the lookback, how many categories the pie chart
// shows and from which one on. Writes the application-wide values on OK and
// rebuilds the document's category totals; Cancel changes nothing. The file
// carries the values, so a change is a step of the history like any other.

#include <QDialog>

class CDocHistory;
class CQuilletDoc;
class QLabel;
class QSlider;

class CCategoryViewDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CCategoryViewDlg(CDocHistory& history, QWidget* parent = nullptr);

    // The value texts beside the sliders: they start as the current
    // settings and change only when a slider moves.
    QString LookbackText() const;
    QString NumCategoriesText() const;
    QString StartCategoriesText() const;

public slots:
    void accept() override;

private:
    void OnSliderMoved();

    CDocHistory& m_history;
    CQuilletDoc* m_pDoc;
    QSlider* m_lookbackSlider;
    QSlider* m_numCategoriesSlider;
    QSlider* m_startCategoriesSlider;
    QLabel* m_lookbackText;
    QLabel* m_numCategoriesText;
    QLabel* m_startCategoriesText;
    bool m_bUpdating = false;
};
