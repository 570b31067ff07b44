#include "DayChartDlg.h"
#include "DialogTestSupport.h"
#include "QuilletDoc.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

class TestDayChartDlg : public QObject
{
    Q_OBJECT
private slots:
    void init() { FixClock(); }
    void cleanup() { Clock::Set({}); }

    void twoAccountsCloseLinesFourAndFive();
    void storedSelectionLoadsAndLineBoxesOpenLists();
    void uncheckingEverythingStoresEmptyNames();
    void lookbackTakesOnlyWholeNumbers();
};

namespace
{
QCheckBox* Check(QDialog& dialog, int line)
{
    return dialog.findChild<QCheckBox*>(QStringLiteral("lineCheck%1").arg(line));
}

QComboBox* List(QDialog& dialog, int line)
{
    return dialog.findChild<QComboBox*>(QStringLiteral("lineAccount%1").arg(line));
}

void AddAccounts(CQuilletDoc& doc, int count)
{
    const char* names[] = {"Checking", "Savings", "Visa", "Brokerage", "Cash Box"};
    for (int i = 0; i < count; ++i)
        doc.AddAccount(names[i], std::to_string(i), 10.0, "", "", "");
}
}

void TestDayChartDlg::twoAccountsCloseLinesFourAndFive()
{
    CQuilletDoc doc;
    AddAccounts(doc, 2);
    CDayChartDlg dialog(&doc);
    for (int line = 1; line <= 5; ++line) {
        QCOMPARE(Check(dialog, line)->isEnabled(), line <= 3);
        QCOMPARE(List(dialog, line)->isEnabled(), line <= 3);
        QVERIFY(!Check(dialog, line)->isChecked());
        QCOMPARE(List(dialog, line)->currentIndex(), -1);
    }
}

void TestDayChartDlg::storedSelectionLoadsAndLineBoxesOpenLists()
{
    CQuilletDoc doc;
    AddAccounts(doc, 3);
    doc.SetDayChartAccount(0, "Visa");
    doc.SetDayChartAccount(1, "Gone");  // an account deleted since
    CDayChartDlg dialog(&doc);
    dialog.show();
    QCOMPARE(List(dialog, 1)->currentText(), QStringLiteral("Visa"));
    QVERIFY(Check(dialog, 2)->isChecked());
    QCOMPARE(List(dialog, 2)->currentIndex(), -1);
    QVERIFY(!Check(dialog, 3)->isChecked());
    QVERIFY(!List(dialog, 3)->isEnabled());

    ClickCheckBox(Check(dialog, 3));
    QVERIFY(List(dialog, 3)->isEnabled());
    List(dialog, 3)->setFocus();
    QTest::keyClick(List(dialog, 3), Qt::Key_Down);
    QTest::keyClick(List(dialog, 3), Qt::Key_Down);
    ClickButton(&dialog, QStringLiteral("OK"));
    QCOMPARE(doc.m_dayChartAccounts[0], std::string("Visa"));
    QCOMPARE(doc.m_dayChartAccounts[1], std::string());
    QCOMPARE(doc.m_dayChartAccounts[2], std::string("Savings"));
    QVERIFY(doc.IsModified());
}

void TestDayChartDlg::uncheckingEverythingStoresEmptyNames()
{
    CQuilletDoc doc;
    AddAccounts(doc, 5);
    for (int i = 0; i < 5; ++i)
        doc.SetDayChartAccount(i, doc.GetAccount(i)->m_strName);
    {
        CDayChartDlg dialog(&doc);
        dialog.show();
        for (int line = 1; line <= 5; ++line) {
            QCOMPARE(List(dialog, line)->currentIndex(), line - 1);
            ClickCheckBox(Check(dialog, line));
            QVERIFY(!List(dialog, line)->isEnabled());
        }
        ClickButton(&dialog, QStringLiteral("OK"));
    }
    QVERIFY(doc.IsDayChartSet());
    for (const std::string& name : doc.m_dayChartAccounts)
        QVERIFY(name.empty());
    CDayChartDlg reopened(&doc);
    for (int line = 1; line <= 5; ++line)
        QVERIFY(!Check(reopened, line)->isChecked() && !List(reopened, line)->isEnabled());
}

void TestDayChartDlg::lookbackTakesOnlyWholeNumbers()
{
    MessageLog messages;
    CQuilletDoc doc;
    AddAccounts(doc, 1);
    CDayChartDlg dialog(&doc);
    dialog.show();
    auto* lookback = dialog.findChild<QLineEdit*>(QStringLiteral("lookbackEdit"));
    QCOMPARE(lookback->text(), QStringLiteral("180"));
    RetypeText(lookback, QStringLiteral("30 days"));
    ClickButton(&dialog, QStringLiteral("OK"));
    QCOMPARE(messages.lastText(), QStringLiteral("Lookback: Invalid Value.\nPlease enter a whole number."));
    QVERIFY(dialog.isVisible());
    QVERIFY(!doc.IsDayChartSet());

    // No range is enforced here; Cancel keeps the old value.
    RetypeText(lookback, QStringLiteral("-5"));
    ClickButton(&dialog, QStringLiteral("Cancel"));
    QCOMPARE(g_nLookback, 180);
    CDayChartDlg again(&doc);
    again.show();
    RetypeText(again.findChild<QLineEdit*>(QStringLiteral("lookbackEdit")), QStringLiteral("-5"));
    ClickButton(&again, QStringLiteral("OK"));
    QCOMPARE(messages.count(), 1);
    QCOMPARE(g_nLookback, -5);
}

QTEST_MAIN(TestDayChartDlg)
#include "tst_DayChartDlg.moc"
