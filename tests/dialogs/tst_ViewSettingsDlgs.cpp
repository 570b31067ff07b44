// The two view settings dialogs: category view and day chart.
#include "CategoryViewDlg.h"
#include "DayChartDlg.h"
#include "DialogTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
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

QCheckBox* Check(QDialog& dialog, int line)
{
    return dialog.findChild<QCheckBox*>(u"lineCheck%1"_s.arg(line));
}

QComboBox* Combo(QDialog& dialog, int line)
{
    return dialog.findChild<QComboBox*>(u"lineAccount%1"_s.arg(line));
}

void AddAccounts(CQuilletDoc& doc, int count)
{
    const char* names[] = {"Checking", "Savings", "Visa", "Brokerage", "Cash Box"};
    for (int i = 0; i < count; ++i)
        doc.AddAccount(names[i], std::to_string(i), 10.0, "", "", "");
}
}

class TestViewSettingsDlgs : public QObject
{
    Q_OBJECT
private slots:
    void init() { FixClock(); }

    void shrinkingMaximumPullsStartIn()
    {
        g_nStartCategories = 7;
        g_nLookback = 500;  // set by the day chart's dialog, beyond the slider
        CQuilletDoc doc;
        CDocHistory history(doc);
        CCategoryViewDlg dialog(history);
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
        CDocHistory history(doc);
        doc.AddAccount("Checking", "1", 100.0, "", "", "");
        // Voided in place after it entered the totals, so only a rebuild
        // drops it again.
        doc.AddEntry("Checking", CTime(kTestNow - 20 * CTime::kDay), "", "Old bill", "Cable", 40.0, 0.0, 0, 0, 0, 0)
            ->m_bVoid = 1;
        doc.SetModifiedFlag(false);
        {
            CCategoryViewDlg dialog(history);
            Show(dialog);
            PressKeys(dialog, "lookbackSlider", Qt::Key_End);
            PressKeys(dialog, "numCategoriesSlider", Qt::Key_Home);
            ClickButton(&dialog, u"Cancel"_s);
        }
        QCOMPARE(g_nLookback, 180);
        QCOMPARE(g_nNumCategories, 10);
        QVERIFY(doc.m_pCategoryTotals);

        CCategoryViewDlg dialog(history);
        Show(dialog);
        ClickButton(&dialog, u"OK"_s);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(g_nLookback, 180);
        QCOMPARE(g_nNumCategories, 10);
        QCOMPARE(g_nStartCategories, 1);
        QVERIFY(!doc.m_pCategoryTotals);
        QVERIFY(!doc.IsModified());
    }

    void storedSelectionLoadsAndLineBoxesOpenLists()
    {
        CQuilletDoc doc;
        CDocHistory history(doc);
        AddAccounts(doc, 3);
        doc.SetDayChartAccount(0, "Visa");
        doc.SetDayChartAccount(1, "Gone");  // an account deleted since
        {
            CDayChartDlg dialog(history);
            Show(dialog);
            QCOMPARE(Combo(dialog, 1)->currentText(), u"Visa"_s);
            QVERIFY(Check(dialog, 2)->isChecked());
            QCOMPARE(Combo(dialog, 2)->currentIndex(), -1);
            QVERIFY(!Combo(dialog, 3)->isEnabled());
            ClickCheckBox(Check(dialog, 3));
            QVERIFY(Combo(dialog, 3)->isEnabled());
            Combo(dialog, 3)->setFocus();
            QTest::keyClick(Combo(dialog, 3), Qt::Key_Down);
            QTest::keyClick(Combo(dialog, 3), Qt::Key_Down);
            ClickButton(&dialog, u"OK"_s);
        }
        QCOMPARE(doc.m_dayChartAccounts[0], std::string("Visa"));
        QCOMPARE(doc.m_dayChartAccounts[1], std::string());
        QCOMPARE(doc.m_dayChartAccounts[2], std::string("Savings"));
        QVERIFY(doc.IsModified());

        // Every line unchecked: stored as chosen, not as "never set".
        {
            CDayChartDlg dialog(history);
            Show(dialog);
            for (int line : {1, 3}) {
                ClickCheckBox(Check(dialog, line));
                QVERIFY(!Combo(dialog, line)->isEnabled());
            }
            ClickButton(&dialog, u"OK"_s);
        }
        QVERIFY(doc.IsDayChartSet());
        for (const std::string& name : doc.m_dayChartAccounts)
            QVERIFY(name.empty());
        CDayChartDlg reopened(history);
        for (int line = 1; line <= 5; ++line)
            QVERIFY(!Check(reopened, line)->isChecked() && !Combo(reopened, line)->isEnabled());
    }

    void twoAccountsCloseLinesFourAndFiveAndLookbackTakesWholeNumbers()
    {
        MessageLog messages;
        CQuilletDoc doc;
        CDocHistory history(doc);
        AddAccounts(doc, 2);
        CDayChartDlg dialog(history);
        Show(dialog);
        for (int line = 1; line <= 5; ++line) {
            QCOMPARE(Check(dialog, line)->isEnabled(), line <= 3);
            QCOMPARE(Combo(dialog, line)->isEnabled(), line <= 3);
            QVERIFY(!Check(dialog, line)->isChecked());
        }
        auto* lookback = Find<QLineEdit>(&dialog, "lookbackEdit");
        QCOMPARE(lookback->text(), u"180"_s);
        RetypeText(lookback, u"30 days"_s);
        ClickButton(&dialog, u"OK"_s);
        QCOMPARE(messages.lastText(), u"Lookback: Invalid Value.\nPlease enter a whole number."_s);
        QVERIFY(messages.allPlain());
        QVERIFY(dialog.isVisible());
        QVERIFY(!doc.IsDayChartSet());

        // No range is enforced here.
        RetypeText(lookback, u"-5"_s);
        ClickButton(&dialog, u"OK"_s);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(g_nLookback, -5);
    }
};

QTEST_MAIN(TestViewSettingsDlgs)
#include "tst_ViewSettingsDlgs.moc"
