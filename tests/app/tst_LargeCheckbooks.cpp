// Checkbooks far larger than a person types, as imports and scripts make
// them: 100,000 accounts, 100,000 recurring transactions. The window opens
// them, fills its dashboard and prints it in about the time it takes to
// read them. Not timed: a walk over the accounts or the schedule for every
// row turns this into a hang that the suite's time limit makes plain.
#include "AppTestSupport.h"

#include "../ledger/LargeBooks.h"
#include "../view/PdfTools.h"
#include "XListCtrl.h"

#include <QtTest>

namespace
{
using LargeBooks::kMany;
using LargeBooks::Name;

// The dashboard as the window first paints it.
CXListCtrl* PaintedList(AppHarness& h, const char* name)
{
    QWidget* view = h.Frame().findChild<CXListCtrl*>(name)->parentWidget();
    view->grab();
    return h.Frame().findChild<CXListCtrl*>(name);
}
}

class LargeCheckbooksTest : public QObject
{
    Q_OBJECT

private slots:
    // Noon on 15 June 2026: the due dates below stay within one year.
    void init() { Clock::Set([] { return int64_t(CTime(2026, 6, 15, 12, 0, 0).GetTime()); }); }
    void cleanup() { Clock::Set(nullptr); }

    void hundredThousandAccountsShowAndPrint()
    {
        AppHarness h;
        CQuilletDoc doc;
        for (int i = 0; i < kMany; ++i)
            doc.AddAccount(Name(i), "N-" + std::to_string(i / 2), i % 3, "", "", "");
        const QString file = h.Path("Accounts.ql1");
        FileError error;
        QVERIFY2(SaveCheckbookFile(doc, file.toStdString(), error), error.message.c_str());

        QVERIFY(h.Start({file}));
        CXListCtrl* accounts = PaintedList(h, "AccountList");
        QCOMPARE(accounts->GetItemCount(), kMany + 1);  // and the total
        QCOMPARE(accounts->GetItemText(0, 0), QStringLiteral("  Account 000000"));
        QCOMPARE(accounts->GetItemText(kMany - 1, 0), QStringLiteral("  Account 099999"));
        QCOMPARE(accounts->GetItemText(kMany, 1), QStringLiteral("Total: $99999.00  "));

        // One page: the first accounts are on it, the rest are cut off.
        if (!PdfTools::Available())
            QSKIP("poppler-utils are not installed");
        const QString pdf = h.Path("accounts.pdf");
        QVERIFY(h.Frame().ExportPdf(pdf));
        QCOMPARE(PdfTools::Pages(pdf), 1);
        const QString text = PdfTools::Text(pdf);
        QVERIFY2(text.contains("Account 000000"), qPrintable(text.left(400)));
        QVERIFY(!text.contains("Account 099999"));
    }

    void hundredThousandRecurringTransactionsShowWhatIsDue()
    {
        AppHarness h;
        const CTime now = CTime::GetCurrentTime();
        CQuilletDoc doc;
        const int due = LargeBooks::AddManyRecurring(doc, now);  // the default window is 20 days
        const QString file = h.Path("Recurring.ql1");
        FileError error;
        QVERIFY2(SaveCheckbookFile(doc, file.toStdString(), error), error.message.c_str());

        QVERIFY(h.Start({file}));
        CXListCtrl* recurring = PaintedList(h, "RecurringList");
        QCOMPARE(recurring->GetItemCount(), due);
        // By date, the earliest first: the most overdue, in list order.
        QCOMPARE(recurring->GetItemText(0, 1), QStringLiteral(" Bill 0"));
        QCOMPARE(recurring->GetItemText(1, 1), QStringLiteral(" Bill 80"));
    }
};

QTEST_MAIN(LargeCheckbooksTest)
#include "tst_LargeCheckbooks.moc"
