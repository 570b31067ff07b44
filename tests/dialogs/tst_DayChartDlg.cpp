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

    void fewAccountsCloseTheLastLines();
    void storedSelectionLoadsAndSaves();
    void clickingALineOpensItsList();
    void uncheckingEverythingStoresEmptyNames();
    void lookbackTakesOnlyWholeNumbers();
    void cancelKeepsEverything();
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

void TestDayChartDlg::fewAccountsCloseTheLastLines()
{
    CQuilletDoc doc;
    AddAccounts(doc, 2);
    CDayChartDlg dialog(&doc);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Day Chart Settings"));
    for (int line = 1; line <= 5; ++line) {
        const bool usable = line <= 3;
        QCOMPARE(Check(dialog, line)->isEnabled(), usable);
        QCOMPARE(List(dialog, line)->isEnabled(), usable);
        QVERIFY(!Check(dialog, line)->isChecked());
        QCOMPARE(List(dialog, line)->currentIndex(), -1);
        QCOMPARE(List(dialog, line)->count(), 2);
    }
    QCOMPARE(List(dialog, 1)->itemText(1), QStringLiteral("Savings"));

    CQuilletDoc four;
    AddAccounts(four, 4);
    CDayChartDlg all(&four);
    for (int line = 1; line <= 5; ++line)
        QVERIFY(Check(all, line)->isEnabled());
}

void TestDayChartDlg::storedSelectionLoadsAndSaves()
{
    CQuilletDoc doc;
    AddAccounts(doc, 3);
    doc.SetDayChartAccount(0, "Visa");
    doc.SetDayChartAccount(1, "Gone");  // an account deleted since
    doc.SetDayChartAccount(2, "");
    CDayChartDlg dialog(&doc);
    dialog.show();
    QVERIFY(Check(dialog, 1)->isChecked());
    QCOMPARE(List(dialog, 1)->currentText(), QStringLiteral("Visa"));
    QVERIFY(Check(dialog, 2)->isChecked());
    QCOMPARE(List(dialog, 2)->currentIndex(), -1);
    QVERIFY(!Check(dialog, 3)->isChecked());
    QVERIFY(!List(dialog, 3)->isEnabled());
    QVERIFY(Check(dialog, 3)->isEnabled());

    ClickButton(&dialog, QStringLiteral("OK"));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(doc.m_dayChartAccounts[0], std::string("Visa"));
    QCOMPARE(doc.m_dayChartAccounts[1], std::string());
    QVERIFY(doc.IsDayChartSet());
    QVERIFY(!doc.IsModified());
}

void TestDayChartDlg::clickingALineOpensItsList()
{
    CQuilletDoc doc;
    AddAccounts(doc, 3);
    doc.SetDayChartAccount(0, "");
    CDayChartDlg dialog(&doc);
    dialog.show();
    QVERIFY(!List(dialog, 2)->isEnabled());
    ClickCheckBox(Check(dialog, 2));
    QVERIFY(List(dialog, 2)->isEnabled());

    // Choose the third account with the keyboard.
    List(dialog, 2)->setFocus();
    QTest::keyClick(List(dialog, 2), Qt::Key_Down);
    QTest::keyClick(List(dialog, 2), Qt::Key_Down);
    QTest::keyClick(List(dialog, 2), Qt::Key_Down);
    QCOMPARE(List(dialog, 2)->currentText(), QStringLiteral("Visa"));

    ClickCheckBox(Check(dialog, 2));
    QVERIFY(!List(dialog, 2)->isEnabled());
    ClickCheckBox(Check(dialog, 2));
    ClickButton(&dialog, QStringLiteral("OK"));
    QCOMPARE(doc.m_dayChartAccounts[1], std::string("Visa"));
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
            QVERIFY(Check(dialog, line)->isChecked());
            QCOMPARE(List(dialog, line)->currentIndex(), line - 1);
            ClickCheckBox(Check(dialog, line));
        }
        ClickButton(&dialog, QStringLiteral("OK"));
    }
    QVERIFY(doc.IsDayChartSet());
    for (const std::string& name : doc.m_dayChartAccounts)
        QVERIFY(name.empty());

    CDayChartDlg reopened(&doc);
    for (int line = 1; line <= 5; ++line) {
        QVERIFY(!Check(reopened, line)->isChecked());
        QVERIFY(!List(reopened, line)->isEnabled());
    }
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
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastText(), QStringLiteral("Lookback: Invalid Value.\nPlease enter a whole number."));
    QVERIFY(dialog.isVisible());
    QVERIFY(!doc.IsDayChartSet());
    QCOMPARE(g_nLookback, 180);

    // No range is enforced here; the pie chart's slider keeps its own.
    RetypeText(lookback, QStringLiteral("-5"));
    ClickButton(&dialog, QStringLiteral("OK"));
    QCOMPARE(messages.count(), 1);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(g_nLookback, -5);
}

void TestDayChartDlg::cancelKeepsEverything()
{
    CQuilletDoc doc;
    AddAccounts(doc, 2);
    CDayChartDlg dialog(&doc);
    dialog.show();
    ClickCheckBox(Check(dialog, 1));
    RetypeText(dialog.findChild<QLineEdit*>(QStringLiteral("lookbackEdit")), QStringLiteral("7"));
    ClickButton(&dialog, QStringLiteral("Cancel"));
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!doc.IsDayChartSet());
    QCOMPARE(g_nLookback, 180);
}

QTEST_MAIN(TestDayChartDlg)
#include "tst_DayChartDlg.moc"
