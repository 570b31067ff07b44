#include "CategoryViewDlg.h"
#include "DialogTestSupport.h"
#include "QuilletDoc.h"

#include <QSlider>
#include <QtTest>

class TestCategoryViewDlg : public QObject
{
    Q_OBJECT
private slots:
    void init() { FixClock(); }
    void cleanup() { Clock::Set({}); }

    void shrinkingMaximumPullsStartIn();
    void onlyMovedSlidersChangeTheirTexts();
    void okRebuildsTotalsEvenUnchangedCancelKeepsAll();
};

namespace
{
// Moves a slider with the keyboard, as a user would.
void PressKeys(QDialog& dialog, const char* slider, Qt::Key key, int times = 1)
{
    auto* widget = dialog.findChild<QSlider*>(QLatin1String(slider));
    widget->setFocus();
    for (int i = 0; i < times; ++i)
        QTest::keyClick(widget, key);
}
}

void TestCategoryViewDlg::shrinkingMaximumPullsStartIn()
{
    g_nStartCategories = 7;
    CQuilletDoc doc;
    CCategoryViewDlg dialog(&doc);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Category View Settings"));
    QCOMPARE(dialog.NumCategoriesText(), QStringLiteral("10"));
    PressKeys(dialog, "numCategoriesSlider", Qt::Key_Left, 6);
    QCOMPARE(dialog.NumCategoriesText(), QStringLiteral("4"));
    QCOMPARE(dialog.StartCategoriesText(), QStringLiteral("4"));
    // Widening again does not push the start back out.
    PressKeys(dialog, "numCategoriesSlider", Qt::Key_Right, 10);
    QCOMPARE(dialog.StartCategoriesText(), QStringLiteral("4"));
    ClickButton(&dialog, QStringLiteral("OK"));
    QCOMPARE(g_nNumCategories, 14);
    QCOMPARE(g_nStartCategories, 4);
}

void TestCategoryViewDlg::onlyMovedSlidersChangeTheirTexts()
{
    g_nLookback = 500;  // set by the day chart's dialog, beyond the slider
    CQuilletDoc doc;
    CCategoryViewDlg dialog(&doc);
    dialog.show();
    QCOMPARE(dialog.LookbackText(), QStringLiteral("500"));
    PressKeys(dialog, "lookbackSlider", Qt::Key_Home);
    PressKeys(dialog, "lookbackSlider", Qt::Key_PageUp);
    QCOMPARE(dialog.LookbackText(), QStringLiteral("31"));
}

void TestCategoryViewDlg::okRebuildsTotalsEvenUnchangedCancelKeepsAll()
{
    CQuilletDoc doc;
    doc.AddAccount("Checking", "1", 100.0, "", "", "");
    // Within the year, so the entry enters the totals at once, but older
    // than the 180-day lookback, so a rebuild drops it again.
    doc.AddEntry("Checking", CTime(kTestNow - 200 * CTime::kDay), "", "Old bill", "Cable", 40.0, 0.0, 0, 0, 0, 0);
    doc.SetModifiedFlag(false);
    {
        CCategoryViewDlg dialog(&doc);
        dialog.show();
        PressKeys(dialog, "lookbackSlider", Qt::Key_End);
        PressKeys(dialog, "numCategoriesSlider", Qt::Key_Home);
        ClickButton(&dialog, QStringLiteral("Cancel"));
    }
    QCOMPARE(g_nLookback, 180);
    QCOMPARE(g_nNumCategories, 10);
    QVERIFY(doc.m_pCategoryTotals);

    CCategoryViewDlg dialog(&doc);
    dialog.show();
    ClickButton(&dialog, QStringLiteral("OK"));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(g_nLookback, 180);
    QCOMPARE(g_nNumCategories, 10);
    QCOMPARE(g_nStartCategories, 1);
    QVERIFY(!doc.m_pCategoryTotals);
    QVERIFY(!doc.IsModified());
}

QTEST_MAIN(TestCategoryViewDlg)
#include "tst_CategoryViewDlg.moc"
