#include "CategoryViewDlg.h"
#include "DialogTestSupport.h"

#include <QSlider>
#include <QtTest>

namespace
{
// Moves a slider with the keyboard, as a user would.
void PressKeys(QDialog& dialog, const char* slider, Qt::Key key, int times = 1)
{
    auto* widget = Find<QSlider>(&dialog, slider);
    widget->setFocus();
    for (int i = 0; i < times; ++i)
        QTest::keyClick(widget, key);
}
}

class TestCategoryViewDlg : public QObject
{
    Q_OBJECT
private slots:
    void init() { FixClock(); }
    void cleanup() { Clock::Set({}); }

    void shrinkingMaximumPullsStartIn()
    {
        g_nStartCategories = 7;
        g_nLookback = 500;  // set by the day chart's dialog, beyond the slider
        CQuilletDoc doc;
        CCategoryViewDlg dialog(&doc);
        Show(dialog);
        QCOMPARE(dialog.LookbackText(), u"500"_s);
        PressKeys(dialog, "numCategoriesSlider", Qt::Key_Left, 6);
        QCOMPARE(dialog.NumCategoriesText(), u"4"_s);
        QCOMPARE(dialog.StartCategoriesText(), u"4"_s);
        // Widening again does not push the start back out.
        PressKeys(dialog, "numCategoriesSlider", Qt::Key_Right, 10);
        QCOMPARE(dialog.StartCategoriesText(), u"4"_s);
        PressKeys(dialog, "lookbackSlider", Qt::Key_Home);
        PressKeys(dialog, "lookbackSlider", Qt::Key_PageUp);
        QCOMPARE(dialog.LookbackText(), u"31"_s);
        ClickButton(&dialog, u"OK"_s);
        QCOMPARE(g_nNumCategories, 14);
        QCOMPARE(g_nStartCategories, 4);
        QCOMPARE(g_nLookback, 31);
    }

    void okRebuildsTotalsEvenUnchangedCancelKeepsAll()
    {
        CQuilletDoc doc;
        doc.AddAccount("Checking", "1", 100.0, "", "", "");
        // Within the year, so the entry enters the totals at once, but older
        // than the 180-day lookback, so a rebuild drops it again.
        doc.AddEntry("Checking", CTime(kTestNow - 200 * CTime::kDay), "", "Old bill", "Cable", 40.0, 0.0, 0, 0, 0, 0);
        doc.SetModifiedFlag(false);
        {
            CCategoryViewDlg dialog(&doc);
            Show(dialog);
            PressKeys(dialog, "lookbackSlider", Qt::Key_End);
            PressKeys(dialog, "numCategoriesSlider", Qt::Key_Home);
            ClickButton(&dialog, u"Cancel"_s);
        }
        QCOMPARE(g_nLookback, 180);
        QCOMPARE(g_nNumCategories, 10);
        QVERIFY(doc.m_pCategoryTotals);

        CCategoryViewDlg dialog(&doc);
        Show(dialog);
        ClickButton(&dialog, u"OK"_s);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(g_nLookback, 180);
        QCOMPARE(g_nNumCategories, 10);
        QCOMPARE(g_nStartCategories, 1);
        QVERIFY(!doc.m_pCategoryTotals);
        QVERIFY(!doc.IsModified());
    }
};

QTEST_MAIN(TestCategoryViewDlg)
#include "tst_CategoryViewDlg.moc"
