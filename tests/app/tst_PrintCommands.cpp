// The print commands: --print-to-pdf without a display, the window's print
// commands on the application's one printer, and --print.
#include "AppTestSupport.h"

#include "../view/PdfTools.h"

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTimer>
#include <QtTest>

namespace
{
struct Run
{
    int status = -1;
    QString said;  // the program's own lines on stderr, Qt's warnings aside
};

// The program itself, as a script would run it: no display at all.
Run RunQuillet(const QStringList& arguments, const QString& password = QString())
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "QUILLET_PASSWORD"})
        env.remove(QString::fromLatin1(name));
    if (!password.isNull())
        env.insert("QUILLET_PASSWORD", password);
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QUILLET_PROGRAM), arguments);
    Run run;
    if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit)
        run.status = process.exitCode();
    const QStringList lines = QString::fromLocal8Bit(process.readAllStandardError()).split('\n');
    run.said = lines.filter(QRegularExpression("^quillet:")).join('\n');
    return run;
}
}

class PrintCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!PdfTools::Available())
            QSKIP("poppler-utils (pdfinfo, pdftotext, pdftoppm) are not installed");
    }

    void printToPdfWithoutDisplay()
    {
        AppHarness h;
        const QString good = h.Path("Home.ql1"), damaged = h.Path("Broken.ql1"), secret = h.Path("Secret.ql1");
        const QString pdf = h.Path("out.pdf");
        h.WriteCheckbook(good, "Checking");
        h.WriteCheckbook(secret, "Hidden", 20, "abJnggxhB/yWI");  // "password"
        WriteFileBytes(damaged, "this is no checkbook at all, just some text.");
        const QByteArray checkbook = ReadFileBytes(good);

        Run run = RunQuillet({"--print-to-pdf", pdf, good});
        QVERIFY2(run.status == 0 && run.said.isEmpty(), qPrintable(run.said));
        QCOMPARE(PdfTools::Pages(pdf), 1);
        const QString text = PdfTools::Text(pdf);
        QVERIFY2(text.contains("Home.ql1") && text.contains("Checking") && text.contains("250.00"), qPrintable(text));
        QVERIFY(text.contains(QRegularExpression("\\b\\d\\d/\\d\\d/\\d{4}\\b")));

        // Each failure says why, ends with 2 and writes over nothing.
        WriteFileBytes(pdf, "an earlier export");
        const struct
        {
            QStringList arguments;
            QString password, says;
        } failures[] = {
            {{"--print-to-pdf", pdf, h.Path("Missing.ql1")}, {}, "Missing.ql1"},
            {{"--print-to-pdf", pdf, damaged}, {}, "damaged"},
            {{"--print-to-pdf", pdf}, {}, "--print-to-pdf OUT.pdf FILE.ql1"},
            // A checkbook named as the PDF is never written over.
            {{"--print-to-pdf", good, good}, {}, "Home.ql1"},
            {{"--print-to-pdf", h.Path("no such folder/out.pdf"), good}, {}, "Cannot write"},
            // No terminal to ask on and no password given: no waiting for one.
            {{"--print-to-pdf", pdf, secret}, {}, "QUILLET_PASSWORD"},
            {{"--print-to-pdf", pdf, secret}, "wrong", "Secret.ql1"},
        };
        for (const auto& failure : failures) {
            run = RunQuillet(failure.arguments, failure.password);
            QCOMPARE(run.status, 2);
            QVERIFY2(run.said.contains(failure.says), qPrintable(run.said));
            QCOMPARE(ReadFileBytes(pdf), QByteArray("an earlier export"));
            QCOMPARE(ReadFileBytes(good), checkbook);
        }
        run = RunQuillet({"--print-to-pdf", pdf, secret}, "password");
        QVERIFY2(run.status == 0, qPrintable(run.said));
        QVERIFY(PdfTools::Text(pdf).contains("Hidden"));
    }

    void printCommandsOfTheWindow()
    {
        AppHarness h;
        QVERIFY(h.Start());
        int pages = -1;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->printer(), &h.app->Printer());
            pages = dialog->findChild<QPrintPreviewWidget*>()->pageCount();
            if (qEnvironmentVariableIsSet("QUILLET_SAVE_PNG")) {
                dialog->resize(900, 1000);
                QCoreApplication::processEvents();
                dialog->grab().save(qEnvironmentVariable("QUILLET_SAVE_PNG") + "/print-preview.png");
            }
            dialog->reject();
        });
        h.Trigger(ID_FILE_PRINT_PREVIEW);
        QCOMPARE(pages, 1);

        QStringList suggestions;
        QString answer = h.Path("new.pdf");
        h.Frame().SetPdfPathDialog([&](QWidget*, const QString& suggested) {
            suggestions << suggested;
            return answer;
        });
        // Export PDF of a new checkbook: "Untitled", offered in the home folder.
        h.Trigger(ID_FILE_EXPORT_PDF);
        QCOMPARE(suggestions.value(0), QDir(QDir::homePath()).filePath("Untitled.pdf"));
        QCOMPARE(PdfTools::Pages(answer), 1);
        QVERIFY(PdfTools::Text(answer).contains("Untitled"));
        // An opened one: named after it, beside it.
        const QString file = h.Path("Home.ql1");
        h.WriteCheckbook(file, "Savings");
        QVERIFY(h.app->Session().OpenDocumentFile(file));
        answer = h.Path("home copy.pdf");
        h.Trigger(ID_FILE_EXPORT_PDF);
        QCOMPARE(suggestions.value(1), h.Path("Home.pdf"));
        QVERIFY(PdfTools::Text(answer).contains("Savings"));
        // Cancelled: nothing said; a folder that is not there: the user is told.
        answer.clear();
        h.Trigger(ID_FILE_EXPORT_PDF);
        QVERIFY(h.messages.isEmpty());
        answer = h.Path("gone/x.pdf");
        h.Trigger(ID_FILE_EXPORT_PDF);
        QCOMPARE(h.messages.size(), 1);
        QVERIFY2(h.messages[0].startsWith("Cannot write") && h.messages[0].contains("x.pdf"),
                 qPrintable(h.messages[0]));

        // The page setup of the one printer shapes the exported page too.
        h.app->Printer().setPageOrientation(QPageLayout::Landscape);
        QVERIFY(h.Frame().ExportPdf(h.Path("wide.pdf")));
        const QSizeF size = PdfTools::PageSize(h.Path("wide.pdf"));
        QVERIFY(size.width() > size.height());

        // Nothing to print on: said so, and nothing printed.
        h.app->Printer().setOutputFormat(QPrinter::PdfFormat);
        h.app->Printer().setOutputFileName(QString());
        QVERIFY(!h.Frame().OnFilePrintDirect());
        QCOMPARE(h.messages.size(), 2);
        QVERIFY(h.messages[1].startsWith("There is no printer to print on."));
    }

    // A file without settings at its end prints with the stored ones, or
    // the defaults, exactly as the window would show it. --print FILE (or
    // -p FILE) prints the file's page and ends.
    void printingTakesTheSettingsStore()
    {
        const CTime now(2026, 12, 6, 12, 0, 0);
        Clock::Set([now] { return int64_t(now.GetTime()); });
        for (const QString& option : {QString("--print-to-pdf"), QString("--print"), QString("-p")}) {
            const bool stored = option == "--print-to-pdf";
            AppHarness h;
            const QString file = h.Path("Home.ql1"), pdf = h.Path("page.pdf");
            CQuilletDoc doc;
            doc.AddAccount("Checking", "1", 250.0, "", "", "");
            doc.AddRecurring("Checking", 40.0, now + 10 * CTime::kDay, "Gym membership", "", "Monthly", "Forever", 0);
            std::string image = WriteCheckbook(doc);
            image.erase(image.find("\x0c" "CategoryName"));
            WriteFileBytes(file, QByteArray::fromStdString(image + "\x0b" "END_OF_DATA"));
            if (stored) {
                h.Store()->setValue("Settings/UpcomingDays", 30);
                h.Store()->setValue("Settings/Lookback", 60);
            }
            g_nUpcomingDays = g_nLookback = g_nNumCategories = g_nStartCategories = 0;  // as at start-up

            if (stored) {
                QVERIFY(!h.Start({option, pdf, file}));
            } else {
                h.Make().Printer().setOutputFileName(pdf);
                QVERIFY(!h.Start({option, file}));
            }
            QCOMPARE(h.app->ExitCode(), 0);
            QVERIFY2(h.messages.isEmpty(), qPrintable(h.messages.join('\n')));
            QCOMPARE(std::make_tuple(g_nUpcomingDays, g_nLookback, g_nNumCategories, g_nStartCategories),
                     stored ? std::make_tuple(30, 60, 10, 1) : std::make_tuple(20, 180, 10, 1));
            QCOMPARE(PdfTools::Pages(pdf), 1);
            const QString text = PdfTools::Text(pdf);
            QVERIFY2(text.contains("Home.ql1") && text.contains("Gym membership"), qPrintable(text));  // due in 10 days
            if (stored)
                continue;
            QVERIFY(!h.Frame().isVisible());

            // Two copies on a printer that makes none itself: the page twice.
            h.app->Printer().setCopyCount(2);
            QVERIFY(h.Frame().OnFilePrintDirect());
            QCOMPARE(PdfTools::Pages(pdf), 2);
            h.app->ExitInstance();  // a run that only printed keeps the user's settings
            QVERIFY(!h.Store()->childGroups().contains("Settings"));
        }
        Clock::Set(nullptr);
    }
};

QTEST_MAIN(PrintCommandsTest)
#include "tst_PrintCommands.moc"
