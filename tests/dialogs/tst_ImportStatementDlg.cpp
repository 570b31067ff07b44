#include "DialogTestSupport.h"
#include "ImportStatementDlg.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
QString Status(const CXListCtrl* list, int row)
{
    return list->GetItemText(row, CImportStatementDlg::ColStatus).trimmed();
}

bool Ticked(const CXListCtrl* list, int row)
{
    return list->GetCheckState(row, CImportStatementDlg::ColImport) == 1;
}

int RowOfDescription(const CXListCtrl* list, const QString& description)
{
    for (int row = 0; row < list->GetItemCount(); ++row)
        if (list->GetItemText(row, CImportStatementDlg::ColDescription).trimmed() == description)
            return row;
    return -1;
}

// Writes a statement into dir and gives its path.
QString WriteStatement(const QTemporaryDir& dir, const char* name, const char* bytes)
{
    QFile file(dir.filePath(QLatin1String(name)));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) < 0)
        qFatal("cannot write %s", name);
    return file.fileName();
}

QStringList Descriptions(const CAccount* account)
{
    QStringList descriptions;
    for (const auto& t : account->m_transactions)
        descriptions << QString::fromLatin1(t->m_strDescription.c_str());
    return descriptions;
}

// A download of account 222 as banks send it: SGML, one FITID twice.
const char kDownload[] =
    "OFXHEADER:100\nDATA:OFXSGML\nVERSION:102\nSECURITY:NONE\nENCODING:USASCII\nCHARSET:1252\n"
    "COMPRESSION:NONE\nOLDFILEUID:NONE\nNEWFILEUID:NONE\n\n"
    "<OFX><BANKMSGSRSV1><STMTTRNRS><TRNUID>1<STMTRS><CURDEF>USD\n"
    "<BANKACCTFROM><BANKID>5<ACCTID>000-222<ACCTTYPE>CHECKING</BANKACCTFROM>\n"
    "<BANKTRANLIST><DTSTART>20240601<DTEND>20240630\n"
    "<STMTTRN><TRNTYPE>CHECK<DTPOSTED>20240610<TRNAMT>-80.00<FITID>T1<CHECKNUM>2001<NAME>Hotel Deposit</STMTTRN>\n"
    "<STMTTRN><TRNTYPE>POS<DTPOSTED>20240611<TRNAMT>-15.25<FITID>T2<NAME>Airport Taxi With A Name Banks "
    "Love To Make Very Long<MEMO>Card 4411 Terminal 7</STMTTRN>\n"
    "<STMTTRN><TRNTYPE>POS<DTPOSTED>20240611<TRNAMT>-15.25<FITID>T2<NAME>Airport Taxi With A Name Banks "
    "Love To Make Very Long<MEMO>Card 4411 Terminal 7</STMTTRN>\n"
    "<STMTTRN><TRNTYPE>CREDIT<DTPOSTED>20240612<TRNAMT>250.00<FITID>T3<NAME>Refund</STMTTRN>\n"
    "</BANKTRANLIST></STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>\n";
}  // namespace

class TestImportStatementDlg : public QObject
{
    Q_OBJECT
private slots:
    void init() { FixClock(); }

    void csvPreviewFollowsTheColumnChoiceAndImportsTheTickedLines()
    {
        SampleBook book;
        book.doc.SetModifiedFlag(false);
        QTemporaryDir dir;
        // Headings no reader knows, and dates month first.
        const QString path = WriteStatement(dir, "june.csv",
                                            "When,What,Sum\n"
                                            "06/01/2024,Groceries Market,-20.50\n"
                                            "06/10/2024,Coffee Shop,-4.25\n"
                                            "06/12/2024,Broken,12.3x\n"
                                            "06/14/2024,Bookshop,-18.00\n");

        MessageLog messages;
        CImportStatementDlg dialog(book.history, path);
        QVERIFY(dialog.IsReadable());
        Show(dialog);
        CXListCtrl* list = dialog.List();
        QCOMPARE(dialog.Format(), u"csv"_s);
        QCOMPARE(list->GetItemCount(), 0);
        QCOMPARE(Find<QLabel>(&dialog, "source")->text(), u"Statement"_s);
        QCOMPARE(Find<QLabel>(&dialog, "summary")->text(),
                 u"Choose the column that holds the date, the amount, the description."_s);
        QVERIFY(!Find<QPushButton>(&dialog, "import")->isEnabled());

        // Columns by number (item 0 is "automatic"); the date order that
        // reads the dates is found, and another one can be chosen.
        Choose(Find<QComboBox>(&dialog, "dateColumn"), 1);
        Choose(Find<QComboBox>(&dialog, "amountColumn"), 3);
        Choose(Find<QComboBox>(&dialog, "descriptionColumn"), 2);
        QCOMPARE(list->GetItemCount(), 4);
        QCOMPARE(Find<QComboBox>(&dialog, "dateOrder")->currentText(), u"Month-day-year"_s);
        QCOMPARE(Find<QLabel>(&dialog, "source")->text(), u"Statement of 4 lines"_s);
        // Read year first, no date can be made of the numbers: the line is
        // refused as written, its amount still shown, no date made up.
        Choose(Find<QComboBox>(&dialog, "dateOrder"), 0);
        QCOMPARE(RowText(list, 1), uR"(| 06/10/2024|| Coffee Shop|-4.25 | the date "06/10/2024" cannot be read)"_s);
        QVERIFY(!Ticked(list, 1) && !list->GetEnabled(1));
        Choose(Find<QComboBox>(&dialog, "dateOrder"), 1);
        QCOMPARE(RowText(list, 1), u"| 06/10/24|| Coffee Shop|-4.25 | new"_s);
        // Groceries less its 0.50 fee is what the bank moved.
        QCOMPARE(Status(list, 0), u"already in the register"_s);
        QCOMPARE(Status(list, 2), uR"(the amount "12.3x" is not an amount)"_s);
        QCOMPARE(Status(list, 3), u"new"_s);
        QVERIFY(!Ticked(list, 0) && Ticked(list, 1) && !Ticked(list, 2) && Ticked(list, 3));
        QVERIFY(list->GetEnabled(0));  // may be ticked by someone who knows better
        QVERIFY(!list->GetEnabled(2));  // never
        QCOMPARE(list->GetCell(0, CImportStatementDlg::ColStatus)->crText, QColor(128, 128, 128));
        QCOMPARE(Find<QLabel>(&dialog, "summary")->text(),
                 u"4 lines: 2 new, 1 already in the register, 1 that cannot be read."_s);

        // Sorted by description, the coffee is unticked by its own row.
        ClickHeading(list, CImportStatementDlg::ColDescription);
        const int coffee = RowOfDescription(list, u"Coffee Shop"_s);
        QCOMPARE(coffee, 2);
        ClickCell(list, coffee, CImportStatementDlg::ColImport);
        QVERIFY(!Ticked(list, coffee));
        ClickCell(list, RowOfDescription(list, u"Broken"_s), CImportStatementDlg::ColImport);
        ClickButton(&dialog, u"&Import"_s);

        QCOMPARE(messages.lastText(), uR"(Added 1 entry to "Checking"; 3 lines left out.)"_s);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const CAccount* checking = book.doc.FindAccount("Checking");
        QCOMPARE(Descriptions(checking).last(), u"Bookshop"_s);
        QCOMPARE(checking->m_transactions.size(), size_t(4));
        QCOMPARE(checking->m_transactions.back()->m_dAmount, -18.0);
        QCOMPARE(checking->m_transactions.back()->m_date.GetDay(), 14);
        QVERIFY(book.doc.IsModified());
    }

    void ofxGoesToItsAccountAndASecondImportFindsEveryLineThere()
    {
        SampleBook book;
        const QStringList before = Descriptions(book.doc.FindAccount("Travel"));
        const double balance = book.doc.GetAccountBalance("Travel", 0);
        QTemporaryDir dir;
        const QString path = WriteStatement(dir, "download.qfx", kDownload);

        MessageLog messages;
        {
            CImportStatementDlg dialog(book.history, path);
            QVERIFY(dialog.IsReadable());
            Show(dialog);
            // "000-222" is the number the checkbook keeps as "222".
            QCOMPARE(Find<QComboBox>(&dialog, "account")->currentText(), u"Travel"_s);
            QVERIFY(Find<QComboBox>(&dialog, "dateOrder")->isHidden());
            CXListCtrl* list = dialog.List();
            QCOMPARE(list->GetItemCount(), 4);
            QCOMPARE(RowText(list, 0), u"| 06/10/24|2001| Hotel Deposit|-80.00 | new"_s);
            // The list cuts a long description; the line's detail shows it whole.
            ClickCell(list, 1, CImportStatementDlg::ColAmount);
            QCOMPARE(Find<QLabel>(&dialog, "detail")->text(),
                     u"Line 15: Airport Taxi With A Name Banks Love To Make Very Long - Card 4411 Terminal 7 \u2014 new"_s);
            QCOMPARE(Status(list, 2), u"same FITID as \"Airport Taxi With A Name Banks Love To Make Very Long - "
                                      u"Card 4411 Terminal 7\" of 06/11/24"_s);
            QVERIFY(!Ticked(list, 2) && !list->GetEnabled(2));

            // Cancel changes nothing.
            ClickButton(&dialog, u"Cancel"_s);
            QCOMPARE(Descriptions(book.doc.FindAccount("Travel")), before);
            QVERIFY(!book.doc.IsModified());
        }
        {
            CImportStatementDlg dialog(book.history, path);
            Show(dialog);
            ClickButton(&dialog, u"&Import"_s);
            QCOMPARE(messages.lastText(), uR"(Added 3 entries to "Travel"; 1 line left out.)"_s);
            QCOMPARE(Descriptions(book.doc.FindAccount("Travel")),
                     before + QStringList({u"Hotel Deposit"_s,
                                           u"Airport Taxi With A Name Banks Love To Make Very Long - Card 4411 Terminal 7"_s,
                                           u"Refund"_s}));
            QCOMPARE(book.doc.GetAccountBalance("Travel", 0), balance - 80 - 15.25 + 250);
            QVERIFY(book.doc.IsModified());
        }
        {
            // The statement downloaded again: every line is there already.
            CImportStatementDlg dialog(book.history, path);
            Show(dialog);
            CXListCtrl* list = dialog.List();
            for (int row : {0, 1, 3}) {
                QCOMPARE(Status(list, row), u"already in the register"_s);
                QVERIFY(!Ticked(list, row));
            }
            QVERIFY(!Find<QPushButton>(&dialog, "import")->isEnabled());
            QCOMPARE(Find<QLabel>(&dialog, "summary")->text(),
                     u"4 lines: 3 already in the register, 1 left out."_s);

            // The import is one step: undone with the dialog open, its
            // lines are new again and can be imported once more.
            QCOMPARE(book.history.UndoName(), u"Import Statement"_s);
            QTest::keyClick(list, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(Descriptions(book.doc.FindAccount("Travel")), before);
            QCOMPARE(book.doc.GetAccountBalance("Travel", 0), balance);
            for (int row : {0, 1, 3}) {
                QCOMPARE(Status(list, row), u"new"_s);
                QVERIFY(Ticked(list, row));
            }
            QVERIFY(Find<QPushButton>(&dialog, "import")->isEnabled());
        }
    }

    void aFileThatCannotBeReadIsNamedAndNothingOpens()
    {
        SampleBook book;
        QTemporaryDir dir;
        MessageLog messages;
        QVERIFY(!CImportStatementDlg::ImportFile(book.history, dir.filePath("gone.ofx"), nullptr));
        QVERIFY(messages.lastText().startsWith(uR"(The statement "gone.ofx" could not be read ()"_s));

        const QString page = WriteStatement(dir, "page.ofx", "<html><body>Your session has expired</body></html>\n");
        QVERIFY(!CImportStatementDlg::ImportFile(book.history, page, nullptr));
        QCOMPARE(messages.lastText(), uR"(The statement "page.ofx" cannot be imported: the file is not an OFX )"
                                      uR"(statement, or it is damaged.)"_s);

        CQuilletDoc empty;
        CDocHistory emptyHistory(empty);
        QVERIFY(!CImportStatementDlg::ImportFile(emptyHistory, page, nullptr));
        QCOMPARE(messages.lastText(), uR"(There is no account to import "page.ofx" into. Add the account first.)"_s);
        QVERIFY(messages.allPlain());
    }
};

QTEST_MAIN(TestImportStatementDlg)
#include "tst_ImportStatementDlg.moc"
