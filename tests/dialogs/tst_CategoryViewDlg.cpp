#include "CategoryViewDlg.h"
#include "DialogTestSupport.h"
#include "QuilletDoc.h"

#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QtTest>

class TestCategoryViewDlg : public QObject
{
    Q_OBJECT
private slots:
    void init() { FixClock(); }
    void cleanup() { Clock::Set({}); }

    void opensOnCurrentSettings();
    void shrinkingMaximumPullsStartIn();
    void onlyMovedSlidersChangeTheirTexts();
    void okWithoutChangesKeepsSettingsButRebuildsTotals();
    void cancelChangesNothing();
    void accountViewShowsAccountsButStaysDisabled();
};

namespace
{
QSlider* Slider(QDialog& dialog, const char* name)
{
    return dialog.findChild<QSlider*>(QLatin1String(name));
}

// Drags with the keyboard, as a user would on a focused slider.
void PressKeys(QSlider* slider, Qt::Key key, int times)
{
    slider->setFocus();
    for (int i = 0; i < times; ++i)
        QTest::keyClick(slider, key);
}
}

void TestCategoryViewDlg::opensOnCurrentSettings()
{
    g_nLookback = 90;
    g_nNumCategories = 12;
    g_nStartCategories = 3;
    CQuilletDoc doc;
    CCategoryViewDlg dialog(&doc);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Category View Settings"));
    QCOMPARE(dialog.LookbackText(), QStringLiteral("90"));
    QCOMPARE(dialog.NumCategoriesText(), QStringLiteral("12"));
    QCOMPARE(dialog.StartCategoriesText(), QStringLiteral("3"));
    QCOMPARE(Slider(dialog, "lookbackSlider")->maximum(), 365);
    QCOMPARE(Slider(dialog, "numCategoriesSlider")->maximum(), 30);
    QCOMPARE(Slider(dialog, "startCategoriesSlider")->maximum(), 12);
    QCOMPARE(Slider(dialog, "startCategoriesSlider")->value(), 3);
}

void TestCategoryViewDlg::shrinkingMaximumPullsStartIn()
{
    g_nNumCategories = 10;
    g_nStartCategories = 7;
    CQuilletDoc doc;
    CCategoryViewDlg dialog(&doc);
    dialog.show();
    QSlider* maximum = Slider(dialog, "numCategoriesSlider");
    PressKeys(maximum, Qt::Key_Left, 6);
    QCOMPARE(maximum->value(), 4);
    QCOMPARE(dialog.NumCategoriesText(), QStringLiteral("4"));
    QCOMPARE(dialog.StartCategoriesText(), QStringLiteral("4"));
    QCOMPARE(Slider(dialog, "startCategoriesSlider")->maximum(), 4);

    // Widening again does not push the start back out.
    PressKeys(maximum, Qt::Key_Right, 10);
    QCOMPARE(dialog.NumCategoriesText(), QStringLiteral("14"));
    QCOMPARE(dialog.StartCategoriesText(), QStringLiteral("4"));

    ClickButton(&dialog, QStringLiteral("OK"));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(g_nNumCategories, 14);
    QCOMPARE(g_nStartCategories, 4);
}

void TestCategoryViewDlg::onlyMovedSlidersChangeTheirTexts()
{
    // A stored value the slider cannot show stays as it is until moved.
    g_nLookback = 500;
    CQuilletDoc doc;
    CCategoryViewDlg dialog(&doc);
    dialog.show();
    QCOMPARE(dialog.LookbackText(), QStringLiteral("500"));
    QCOMPARE(Slider(dialog, "lookbackSlider")->value(), 365);
    PressKeys(Slider(dialog, "lookbackSlider"), Qt::Key_Home, 1);
    QCOMPARE(dialog.LookbackText(), QStringLiteral("1"));
    PressKeys(Slider(dialog, "lookbackSlider"), Qt::Key_PageUp, 1);
    QCOMPARE(dialog.LookbackText(), QStringLiteral("31"));
}

void TestCategoryViewDlg::okWithoutChangesKeepsSettingsButRebuildsTotals()
{
    CQuilletDoc doc;
    doc.AddAccount("Checking", "1", 100.0, "", "", "");
    // Within the year, so the entry enters the totals at once, but older
    // than the 180-day lookback, so a rebuild drops it again.
    doc.AddEntry("Checking", CTime(kTestNow - 200 * CTime::kDay), "", "Old bill", "Cable", 40.0, 0.0, 0, 0, 0, 0);
    doc.AddEntry("Checking", CTime(kTestNow - 2 * CTime::kDay), "", "New bill", "Water", 25.0, 0.0, 0, 0, 0, 0);
    doc.SetModifiedFlag(false);
    QVERIFY(doc.m_pCategoryTotals && doc.m_pCategoryTotals->next);

    CCategoryViewDlg dialog(&doc);
    dialog.show();
    ClickButton(&dialog, QStringLiteral("OK"));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(g_nLookback, 180);
    QCOMPARE(g_nNumCategories, 10);
    QCOMPARE(g_nStartCategories, 1);
    QVERIFY(doc.m_pCategoryTotals);
    QCOMPARE(doc.m_pCategoryTotals->name, std::string("Water"));
    QVERIFY(!doc.m_pCategoryTotals->next);
    QVERIFY(!doc.IsModified());
}

void TestCategoryViewDlg::cancelChangesNothing()
{
    CQuilletDoc doc;
    doc.AddAccount("Checking", "1", 100.0, "", "", "");
    doc.AddEntry("Checking", CTime(kTestNow - 200 * CTime::kDay), "", "Old bill", "Cable", 40.0, 0.0, 0, 0, 0, 0);
    CCategoryViewDlg dialog(&doc);
    dialog.show();
    PressKeys(Slider(dialog, "lookbackSlider"), Qt::Key_End, 1);
    PressKeys(Slider(dialog, "numCategoriesSlider"), Qt::Key_Home, 1);
    ClickButton(&dialog, QStringLiteral("Cancel"));
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(g_nLookback, 180);
    QCOMPARE(g_nNumCategories, 10);
    QCOMPARE(g_nStartCategories, 1);
    QVERIFY(doc.m_pCategoryTotals);  // not rebuilt: the old entry is still counted
    QCOMPARE(doc.m_pCategoryTotals->name, std::string("Cable"));
}

void TestCategoryViewDlg::accountViewShowsAccountsButStaysDisabled()
{
    CQuilletDoc doc;
    doc.AddAccount("Checking", "1", 100.0, "", "", "");
    doc.AddAccount("Savings", "2", 100.0, "", "", "");
    g_strCategoryAccount = "Savings";
    CCategoryViewDlg dialog(&doc);
    auto* accountView = dialog.findChild<QComboBox*>(QStringLiteral("accountView"));
    QCOMPARE(accountView->count(), 3);
    QCOMPARE(accountView->itemText(0), QStringLiteral("All Accounts"));
    QCOMPARE(accountView->currentText(), QStringLiteral("Savings"));
    QVERIFY(!accountView->isEnabled());
    g_strCategoryAccount = AppValues::kShowAll;
}

QTEST_MAIN(TestCategoryViewDlg)
#include "tst_CategoryViewDlg.moc"
