#include "DayChartDlg.h"
#include "DialogTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

namespace
{
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

class TestDayChartDlg : public QObject
{
    Q_OBJECT
private slots:
    void init() { FixClock(); }
    void cleanup() { Clock::Set({}); }

    void twoAccountsCloseLinesFourAndFive()
    {
        CQuilletDoc doc;
        AddAccounts(doc, 2);
        CDayChartDlg dialog(&doc);
        for (int line = 1; line <= 5; ++line) {
            QCOMPARE(Check(dialog, line)->isEnabled(), line <= 3);
            QCOMPARE(Combo(dialog, line)->isEnabled(), line <= 3);
            QVERIFY(!Check(dialog, line)->isChecked());
        }
    }

    void storedSelectionLoadsAndLineBoxesOpenLists()
    {
        CQuilletDoc doc;
        AddAccounts(doc, 3);
        doc.SetDayChartAccount(0, "Visa");
        doc.SetDayChartAccount(1, "Gone");  // an account deleted since
        CDayChartDlg dialog(&doc);
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
        QCOMPARE(doc.m_dayChartAccounts[0], std::string("Visa"));
        QCOMPARE(doc.m_dayChartAccounts[1], std::string());
        QCOMPARE(doc.m_dayChartAccounts[2], std::string("Savings"));
        QVERIFY(doc.IsModified());
    }

    void uncheckingEverythingStoresEmptyNames()
    {
        CQuilletDoc doc;
        AddAccounts(doc, 5);
        for (int i = 0; i < 5; ++i)
            doc.SetDayChartAccount(i, doc.GetAccount(i)->m_strName);
        {
            CDayChartDlg dialog(&doc);
            Show(dialog);
            for (int line = 1; line <= 5; ++line) {
                QCOMPARE(Combo(dialog, line)->currentIndex(), line - 1);
                ClickCheckBox(Check(dialog, line));
                QVERIFY(!Combo(dialog, line)->isEnabled());
            }
            ClickButton(&dialog, u"OK"_s);
        }
        QVERIFY(doc.IsDayChartSet());
        for (const std::string& name : doc.m_dayChartAccounts)
            QVERIFY(name.empty());
        CDayChartDlg reopened(&doc);
        for (int line = 1; line <= 5; ++line)
            QVERIFY(!Check(reopened, line)->isChecked() && !Combo(reopened, line)->isEnabled());
    }

    void lookbackTakesOnlyWholeNumbers()
    {
        MessageLog messages;
        CQuilletDoc doc;
        AddAccounts(doc, 1);
        CDayChartDlg dialog(&doc);
        Show(dialog);
        auto* lookback = Find<QLineEdit>(&dialog, "lookbackEdit");
        QCOMPARE(lookback->text(), u"180"_s);
        RetypeText(lookback, u"30 days"_s);
        ClickButton(&dialog, u"OK"_s);
        QCOMPARE(messages.lastText(), u"Lookback: Invalid Value.\nPlease enter a whole number."_s);
        QVERIFY(dialog.isVisible());
        QVERIFY(!doc.IsDayChartSet());

        // No range is enforced here; Cancel keeps the old value.
        RetypeText(lookback, u"-5"_s);
        ClickButton(&dialog, u"Cancel"_s);
        QCOMPARE(g_nLookback, 180);
        CDayChartDlg again(&doc);
        Show(again);
        RetypeText(Find<QLineEdit>(&again, "lookbackEdit"), u"-5"_s);
        ClickButton(&again, u"OK"_s);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(g_nLookback, -5);
    }
};

QTEST_MAIN(TestDayChartDlg)
#include "tst_DayChartDlg.moc"
